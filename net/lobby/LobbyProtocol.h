// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lobby's messages. As in the direct NetGame, a message is one piece of 8-bit text written
// in one send, with no terminator: a three-letter tag, one character the receiver skips, then
// the payload. Client to server: "jns" (identify), "gtl" (get list), "prt" (part), "ctg w"
// (create game), "jng N" (join row N), "msg <<name>> text" (chat). Server to client: "err",
// "kck", "bnd", "lst", "msg", "inf", "djn". Everything here works on bytes; turning them into
// text for the screen is the window's business.

#include <QByteArray>
#include <QList>

#include <optional>

namespace LobbyProtocol {

inline constexpr quint16 DefaultPort = 2469;
// The longest message either side accepts; a longer one is a misbehaving peer.
inline constexpr qsizetype MaxMessage = 4096;

enum class TTag {
    Err,
    Kick,
    Banned,
    List,
    Msg,
    Info,
    Join,
    Identify,
    GetList,
    Part,
    Create,
    JoinGame,
    Unknown
};

struct TMessage {
    TTag Tag = TTag::Unknown;
    QByteArray Payload; // from the fifth byte on
};

// tag = bytes 1-3, payload = byte 5 to the end; byte 4 is skipped unchecked.
TMessage ParseMessage(const QByteArray& bytes);

// --- Client to server.
// "jns " and the four fields, each in double quotes, separated by single commas, unescaped.
QByteArray FormatIdentify(const QByteArray& password, const QByteArray& name,
                          const QByteArray& region, const QByteArray& skill);
QByteArray FormatGetList();
QByteArray FormatPart();
QByteArray FormatCreate();
QByteArray FormatJoin(int row);
// "msg <<" name ">> " text.
QByteArray FormatSay(const QByteArray& name, const QByteArray& text);

// --- Server to client.
QByteArray FormatError(const QByteArray& text);
QByteArray FormatKick(const QByteArray& reason);
QByteArray FormatBanned();
// "lst " and the fields, each quoted (a quote inside doubled), separated by commas.
QByteArray FormatListRow(const QList<QByteArray>& fields);
QByteArray FormatChat(const QByteArray& line);
QByteArray FormatInfo(const QByteArray& text);
QByteArray FormatJoined(const QByteArray& address);

// Splits a comma list: blanks (codes 1 to 32) before a field are skipped; a field that starts
// with a double quote runs to the closing quote, two quotes inside standing for one; any
// other field runs to the next comma or blank; a comma after a field is skipped with the
// blanks after it; an empty field between two commas counts.
QList<QByteArray> SplitFields(const QByteArray& payload);
// The "lst" row as the players' list shows it: fields 1 to 4 joined by two spaces. Fewer than
// four fields give nothing.
std::optional<QByteArray> ListRow(const QByteArray& payload);

// --- What the server reads from a client.
struct TIdentity {
    QByteArray Password, Name, Region, Skill;
};
// The identify payload as a client writes it: four fields between quotes. A name that itself
// holds the separator '","' cannot be told apart from two fields; the password is then taken
// as the first part, skill and region as the last two and the name as everything between.
std::optional<TIdentity> ParseIdentify(const QByteArray& payload);
// Whether ParseIdentify gives this password back whole. One that holds '","', or ends in '",',
// runs into the name field, so no player could ever enter it.
bool PasswordCanBeEntered(const QByteArray& password);
// The text of a chat payload: what follows the first ">> " after a leading "<<"; a payload
// without that frame is all text.
QByteArray ChatText(const QByteArray& payload);
// The row number of a "jng" payload; nothing for anything but a plain decimal number.
std::optional<int> JoinRow(const QByteArray& payload);

// Splits what one read from a client delivered into messages. A client writes each message
// in one send, but two quick sends can arrive in one read; the short fixed messages ("gtl",
// "prt", "ctg w", "jng N") are recognised at the front and cut off, and whatever is left is
// one message.
QList<QByteArray> SplitClientRead(const QByteArray& read);

// Splits what one read from the server delivered. The client takes each read as one message,
// and a server paces its messages so that they arrive apart; but a busy client can still find
// several players' list rows in one read. A read that starts with a "lst" row is cut after
// each quoted field that is followed directly by a server tag ("lst ", "inf " ...), which no
// row of quoted fields holds; any other read is one message.
QList<QByteArray> SplitServerRead(const QByteArray& read);

// Drops control characters (codes below 32 and 127) and cuts to `max` bytes, never inside a
// UTF-8 sequence.
QByteArray CleanBytes(const QByteArray& bytes, qsizetype max);

} // namespace LobbyProtocol
