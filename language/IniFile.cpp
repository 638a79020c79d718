// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/IniFile.h"

#include "common/TextFile.h"

#include <QByteArray>

TIniFile TIniFile::FromLines(const QStringList& lines) {
    TIniFile file;
    TSection* current = nullptr;
    for (const QString& line : lines) {
        const QString text = line.trimmed();
        if (text.isEmpty() || text.startsWith(u';'))
            continue;
        if (text.startsWith(u'[')) {
            // The name ends at the last "]"; a line that never closes its bracket is no
            // section and leaves the current one open.
            const qsizetype close = text.lastIndexOf(u']');
            if (close > 0) {
                file.Sections_.append({text.mid(1, close - 1).trimmed(), {}});
                current = &file.Sections_.last();
            }
            continue;
        }
        const qsizetype equals = text.indexOf(u'=');
        if (!current || equals < 0)
            continue;
        const QString key = text.left(equals).trimmed();
        if (key.isEmpty())
            continue;
        QString value = text.mid(equals + 1).trimmed();
        if (value.size() > MaxValueLength) {
            value.truncate(MaxValueLength);
            // Half a surrogate pair is no character.
            if (value.back().isHighSurrogate())
                value.chop(1);
        }
        current->Values.append({key, value});
    }
    return file;
}

TIniFile TIniFile::FromBytes(const QByteArray& bytes) {
    return FromLines(DecodeTextLines(bytes));
}

TIniFile TIniFile::Load(const QString& path) {
    QStringList lines;
    if (!ReadTextLines(path, lines))
        return {};
    return FromLines(lines);
}

const TIniFile::TSection* TIniFile::FindSection(const QString& name) const {
    for (const TSection& section : Sections_) {
        if (section.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const TSection* found = FindSection(section);
    if (!found)
        return def;
    for (const auto& [name, value] : found->Values) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
    }
    return def;
}

QStringList TIniFile::SectionNames() const {
    QStringList names;
    for (const TSection& section : Sections_)
        names.append(section.Name);
    return names;
}
