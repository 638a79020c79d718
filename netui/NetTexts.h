// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text the NetGame shows to the user, in one place. The dialogs' controls start with these
// captions, and a language file replaces them on the controls by name (language/LanguageTable);
// the chat lines and the messages stay English, since the language files have no keys for them.
// Texts that go on the wire are not here: they belong to NetProtocol.

#include <QString>

namespace NetTexts {

// The start dialog.
inline const QString StartCaption = "Start NetGame";
inline const QString NameLabel = "Your Name:";
inline const QString AddressLabel = "Server Address:";
inline const QString ConnectionType = "Connection Type";
inline const QString AsServer = "As a server (Listen)";
inline const QString AsClient = "As a client (Connect)";
inline const QString Help = "Help";
inline const QString Start = "Start";
inline const QString Cancel = "Cancel";
inline const QString DefaultName = "Player1";
inline const QString DefaultAddress = "127.0.0.1";

// The opponent info dialog.
inline const QString OpInfoCaption = "Opponent Info";
inline const QString OpName = "Name";
inline const QString OpHost = "Remote Host";
inline const QString OpAddress = "Remote IP";
inline const QString OpCountry = "Country/Region";
inline const QString OpSkill = "Skill";
inline const QString Close = "Close";

// The chat log.
inline const QString ChatHeader = "[Chat Messages]";
inline const QString Listening = "Listening...";
inline const QString Awaiting = "Awaiting for connection (listening)....";
inline const QString Connecting = "Attemping to connect to ";
// %1: bytes received without one complete message.
inline const QString PeerFlooded =
    "The opponent sent %1 bytes without one complete message; the connection was closed.";
// Moves the opponent sent while it was our turn. PeerTooFast, %1: how many.
inline const QString MoveRefused =
    "The opponent sent a move while it was your turn; it was not played.";
inline const QString PeerTooFast =
    "The opponent sent %1 moves while it was your turn; the connection "
    "was closed.";

// Message boxes.
inline const QString Disconnected = "Opponent disconnected!";
inline const QString ConnectionFailed = "Connection failed!";
inline const QString ErrorCaption = "Error";
inline const QString HelpFailed = "Could not execute the help file";
// %1: the port number, %2: the system's reason.
inline const QString PortInUse = "Port %1 is already in use; no NetGame can listen on it.\n%2";
inline const QString ListenFailed = "Could not listen on port %1.\n%2";
inline const QString NoAddress = "Enter the server's address: a dotted IPv4 address, an IPv6 "
                                 "address or a host name.";

} // namespace NetTexts
