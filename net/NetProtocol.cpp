// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/NetProtocol.h"

#include "chess/Square.h"

#include "common/TextFile.h"

namespace NetProtocol {

namespace {

bool IsPositionChar(char c) {
    return c == ' ' || ColourOfLetter(c) != PieceColour::Empty;
}

bool Dropped(QChar c) {
    const QChar::Category k = c.category();
    return k == QChar::Other_Control || k == QChar::Separator_Line ||
           k == QChar::Separator_Paragraph;
}

} // namespace

QByteArray EncodeText(const QString& text) {
    // Windows-1252 when every character has a byte there, else UTF-8.
    if (const auto bytes = EncodeCp1252(text))
        return *bytes;
    return text.toUtf8();
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
