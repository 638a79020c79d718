// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text on the lobby's wire. Clients send 8-bit text: our window Windows-1252 when the whole
// message fits it, else UTF-8; older clients Windows-1252 only. So a message is read with the
// program's one rule (UTF-8 when the whole message is valid UTF-8, else Windows-1252) before
// anything is compared, logged or relayed, and every message goes out encoded one way as a
// whole, by the same rule the other way round.

#include <QByteArray>
#include <QString>

namespace LobbyText {

// Whether a client's message is read as UTF-8: all of it, or none of it.
bool IsUtf8(const QByteArray& message);
// One field of such a message as text, exactly as sent.
QString Decode(const QByteArray& field, bool utf8);
// The same, with control characters and line or paragraph separators dropped, cut to `max`
// characters (never between the two halves of a surrogate pair).
QString Clean(const QByteArray& field, bool utf8, qsizetype max);
// A player's name in its one form, used to tell players apart, to kick and to list: Unicode
// NFC; controls and format characters (zero-width space, bidirectional overrides such as
// U+202E) dropped; every run of blanks (the no-break space and the other Unicode spaces
// included) one plain space, and none at either end.
QString NormalName(const QString& name);
// What two names are compared by: the normal form, case folded.
QString NameKey(const QString& name);
// A message built as UTF-8 (the Format* functions of LobbyProtocol with UTF-8 fields), as
// it goes on the wire: Windows-1252 when all of it fits, else UTF-8.
QByteArray Encode(const QByteArray& utf8Message);

} // namespace LobbyText
