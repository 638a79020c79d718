// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/NetProtocol.h"

#include "board/Square.h"

#include "app/core/TextFile.h"

#include <QHash>

namespace NetProtocol {

namespace {

bool IsPositionChar(char c) {
    return c == ' ' || ColourOfLetter(c) != PieceColour::Empty;
}

// The characters Windows-1252 puts on bytes 0x80..0x9F, taken from the program's own decoder.
const QHash<char16_t, char>& HighCp1252() {
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int b = 0x80; b <= 0x9F; ++b) {
            const QString s = DecodeText(QByteArray(1, static_cast<char>(b)));
            if (s.size() == 1)
                t.insert(s.at(0).unicode(), static_cast<char>(b));
        }
        return t;
    }();
    return table;
}

bool Dropped(QChar c) {
    const QChar::Category k = c.category();
    return k == QChar::Other_Control || k == QChar::Separator_Line ||
           k == QChar::Separator_Paragraph;
}

} // namespace

QByteArray EncodeText(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(static_cast<char>(u));
            continue;
        }
        const auto it = HighCp1252().constFind(u);
        if (it == HighCp1252().constEnd() || u < 0xA0)
            return text.toUtf8();
        out.append(it.value());
    }
    return out;
}

QByteArray FormatMove(const std::string& position) {
    QByteArray out("mov ");
    out.append(position.data(), static_cast<qsizetype>(std::min<size_t>(position.size(), 64)));
    while (out.size() < MoveMessageSize)
        out.append(' ');
    return out;
}

QByteArray FormatInfo(const QString& name) {
    return "inf " + EncodeText(name);
}

QByteArray FormatChat(const QString& line) {
    return "txt " + EncodeText(line);
}

TNetTag TagOf(const QByteArray& threeBytes) {
    if (threeBytes == "mov")
        return TNetTag::Move;
    if (threeBytes == "inf")
        return TNetTag::Info;
    if (threeBytes == "txt")
        return TNetTag::Text;
    return TNetTag::Unknown;
}

TNetMessage ParseMessage(const QByteArray& bytes) {
    TNetMessage m;
    m.Tag = TagOf(bytes.left(3));
    if (bytes.size() > 4)
        m.Payload = bytes.mid(4);
    return m;
}

std::string MovePosition(const QByteArray& payload) {
    std::string position(static_cast<size_t>(PositionSize), ' ');
    for (qsizetype i = 0; i < std::min(payload.size(), PositionSize); ++i)
        position[static_cast<size_t>(i)] = payload[i];
    return position;
}

QString CleanText(const QString& text, qsizetype maxLength) {
    QString out;
    out.reserve(std::min(text.size(), maxLength));
    for (QChar c : text) {
        if (out.size() >= maxLength)
            break;
        if (!Dropped(c))
            out.append(c);
    }
    // A cut must not leave half of a surrogate pair behind.
    if (!out.isEmpty() && out.back().isHighSurrogate())
        out.chop(1);
    return out;
}

QString CleanText(const QByteArray& payload, qsizetype maxLength) {
    return CleanText(DecodeText(payload), maxLength);
}

TShape MoveShapeAt(const QByteArray& bytes, qsizetype at) {
    static const char tag[] = "mov ";
    const qsizetype end = std::min(bytes.size(), at + MoveMessageSize);
    for (qsizetype i = at; i < end; ++i) {
        const char c = bytes[i];
        const bool ok = i - at < 4 ? c == tag[i - at] : IsPositionChar(c);
        if (!ok)
            return TShape::No;
    }
    return end - at == MoveMessageSize ? TShape::Yes : TShape::Maybe;
}

} // namespace NetProtocol
