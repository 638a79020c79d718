// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The NetGame wire format. Every message is one piece of 8-bit text written in one send, with
// no terminator and no length prefix: a three-letter tag ("inf", "mov", "txt"), one space that
// the receiver skips without looking at it, then the payload. "mov" carries the 64-character
// position string, "inf" the sender's name, "txt" one chat line. Pure functions, no sockets.

#include <QByteArray>
#include <QString>

#include <string>

namespace NetProtocol {

inline constexpr quint16 DefaultPort = 2468;
inline constexpr qsizetype PositionSize = 64;
inline constexpr qsizetype MoveMessageSize = 4 + PositionSize; // "mov " and the squares
inline constexpr qsizetype MaxPending = 64 * 1024;             // bytes without one complete message
inline constexpr qsizetype MaxNameLength = 64;
inline constexpr qsizetype MaxChatLength = 1000;
// The chat area keeps this many lines, the oldest dropped: a peer may talk without end.
inline constexpr int MaxChatLines = 2000;

enum class TNetTag { Move, Info, Text, Unknown };

struct TNetMessage {
    TNetTag Tag = TNetTag::Unknown;
    QByteArray Payload; // the bytes from the fifth on
};

// "mov " and exactly 64 characters: a shorter position is padded with blanks, a longer one cut.
QByteArray FormatMove(const std::string& position);
// "inf " and the name; "txt " and the chat line. Text goes out in Windows-1252, the 8-bit
// format older copies read, unless it holds a character that format lacks: then in UTF-8.
QByteArray FormatInfo(const QString& name);
QByteArray FormatChat(const QString& line);

// One message as the peer wrote it: tag = first three bytes, payload = from the fifth byte on.
TNetMessage ParseMessage(const QByteArray& bytes);
TNetTag TagOf(const QByteArray& threeBytes);

// The 64 squares of a "mov" payload as the board reads a position string; missing squares
// are blank.
std::string MovePosition(const QByteArray& payload);
// Text of an "inf" or "txt" payload for the screen: decoded (UTF-8 when valid, Windows-1252
// otherwise), control characters dropped, cut to `maxLength` characters.
QString CleanText(const QByteArray& payload, qsizetype maxLength);
QString CleanText(const QString& text, qsizetype maxLength);
QByteArray EncodeText(const QString& text);

// Whether bytes[at...] hold "mov " and 64 position characters (piece letters or blanks).
// Answers Yes, No, or Maybe when the bytes present agree but fewer than 68 are there.
enum class TShape { Yes, No, Maybe };
TShape MoveShapeAt(const QByteArray& bytes, qsizetype at);

} // namespace NetProtocol
