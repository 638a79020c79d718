// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/lobby/LobbyText.h"

#include "common/TextFile.h"

#include <QByteArrayView>

#include <algorithm>

namespace LobbyText {

bool IsUtf8(const QByteArray& message) {
    return QByteArrayView(message).isValidUtf8();
}

QString Decode(const QByteArray& field, bool utf8) {
    return utf8 ? QString::fromUtf8(field) : DecodeCp1252(field);
}

QString Clean(const QByteArray& field, bool utf8, qsizetype max) {
    QString out;
    for (QChar c : Decode(field, utf8)) {
        const QChar::Category k = c.category();
        if (k != QChar::Other_Control && k != QChar::Separator_Line &&
            k != QChar::Separator_Paragraph)
            out.append(c);
    }
    if (out.size() > max)
        out.truncate(out.at(max).isLowSurrogate() ? max - 1 : max);
    return out;
}

QString NormalName(const QString& name) {
    QString kept;
    for (QChar c : name) {
        const QChar::Category k = c.category();
        if (k != QChar::Other_Control && k != QChar::Other_Format)
            kept.append(c);
    }
    // Composed after the drop, as a dropped character may have stood between a letter and its
    // accent; simplified() then takes every blank QChar::isSpace() knows, the Unicode ones too.
    return kept.normalized(QString::NormalizationForm_C).simplified();
}

QString NameKey(const QString& name) {
    return NormalName(name).toCaseFolded();
}

QByteArray Encode(const QByteArray& utf8Message) {
    if (std::all_of(utf8Message.begin(), utf8Message.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return utf8Message; // plain ASCII reads the same both ways
    const QString text = QString::fromUtf8(utf8Message);
    return EncodeCp1252(text).value_or(utf8Message);
}

} // namespace LobbyText
