// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text the NetGame shows to the user, in one place, so that the language layer can bind
// them. Texts that go on the wire are not here: they belong to NetProtocol.

#include <QString>

namespace NetTexts {

// The start dialog.
inline QString StartCaption = "Start NetGame";
inline QString NameLabel = "Your Name:";
inline QString AddressLabel = "Server Address:";
inline QString ConnectionType = "Connection Type";
inline QString AsServer = "As a server (Listen)";
inline QString AsClient = "As a client (Connect)";
inline QString Help = "Help";
inline QString Start = "Start";
inline QString Cancel = "Cancel";
inline QString DefaultName = "Player1";
inline QString DefaultAddress = "127.0.0.1";

// The opponent info dialog.
inline QString OpInfoCaption = "Opponent Info";
inline QString OpName = "Name";
inline QString OpHost = "Remote Host";
inline QString OpAddress = "Remote IP";
inline QString OpCountry = "Country/Region";
inline QString OpSkill = "Skill";
inline QString Close = "Close";

// The chat log.
inline QString ChatHeader = "[Chat Messages]";
inline QString Listening = "Listening...";
inline QString Awaiting = "Awaiting for connection (listening)....";
inline QString Connecting = "Attemping to connect to ";
// %1: bytes received without one complete message.
inline QString PeerFlooded =
    "The opponent sent %1 bytes without one complete message; the connection was closed.";
// Moves the opponent sent while it was our turn. PeerTooFast, %1: how many.
inline QString MoveRefused = "The opponent sent a move while it was your turn; it was not played.";
inline QString PeerTooFast = "The opponent sent %1 moves while it was your turn; the connection "
                             "was closed.";

// Message boxes.
inline QString Disconnected = "Opponent disconnected!";
inline QString ConnectionFailed = "Connection failed!";
inline QString ErrorCaption = "Error";
inline QString HelpFailed = "Could not execute the help file";
// %1: the port number, %2: the system's reason.
inline QString PortInUse = "Port %1 is already in use; no NetGame can listen on it.\n%2";
inline QString ListenFailed = "Could not listen on port %1.\n%2";
inline QString NoAddress = "Enter the server's address: a dotted IPv4 address, an IPv6 "
                           "address or a host name.";

} // namespace NetTexts
