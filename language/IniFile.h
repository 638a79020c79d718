// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TIniFile: a profile (INI) file held in memory, as the language list and the language files
// are read. A line "[name]" opens a section; a line "key = value" gives a value in the section
// it stands in. Section and key names are compared without regard to case; a value is the text
// after the first "=" with the blanks around it removed, cut to MaxValueLength characters.
// Lines before the first section, lines without "=" and lines starting with ";" (comments) give
// nothing. Where a section or a key stands twice, the first one answers.
//
// Reading never fails: a missing or unreadable file reads as an empty one, so every lookup gives
// its default.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QByteArray;

class TIniFile {
public:
    struct TSection {
        QString Name;
        QList<QPair<QString, QString>> Values; // key and value, in file order
    };

    // Values are read into a buffer of 2048 characters, one of which ends the text.
    static constexpr qsizetype MaxValueLength = 2047;

    TIniFile() = default;
    static TIniFile FromLines(const QStringList& lines);
    // Bytes as they stand in a file: UTF-8 where they are valid UTF-8, else Windows-1252.
    static TIniFile FromBytes(const QByteArray& bytes);
    static TIniFile Load(const QString& path);

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Every section name in file order.
    QStringList SectionNames() const;
    const QList<TSection>& Sections() const { return Sections_; }

private:
    const TSection* FindSection(const QString& name) const;

    QList<TSection> Sections_;
};
