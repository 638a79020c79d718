// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text the lobby window shows, in one place. Its controls start with these captions, and a
// language file replaces them on the controls by name (language/LanguageTable); the status
// lines and the refusals stay English, since the language files have no keys for them.

#include <QString>
#include <QStringList>

namespace LobbyTexts {

inline const QString Caption = "Connect To NetGame Server";
inline const QString Id = "ID";
inline const QString ServerSpecs = "NetGame Server Specifications";
inline const QString Name = "Name/Nickname";
inline const QString Region = "Country/Region";
inline const QString Skill = "Skill";
inline const QString ByAddress = "IP Address";
inline const QString ByHost = "Host";
inline const QString Port = "Port";
inline const QString Password = "Password (if server protected)";
inline const QString Chat = "Chat:";
inline const QString Players = "Players' List:";
inline const QString Status = "Status:";
inline const QString Connect = "Connect";
inline const QString Disconnect = "Disconnect";
inline const QString GetList = "Get List";
inline const QString Create = "Create Game";
inline const QString Join = "Join Game";
inline const QString Say = "Say";
inline const QString Clear = "Clear";
inline const QString DefaultName = "Player1";
inline const QString DefaultRegion = "Nowhereland";
inline const QStringList Skills = {"Newbie", "Intermediate", "Experienced", "Master",
                                   "Grand Master"};

// The checks before connecting, and the join without a row.
inline const QString ErrorCaption = "Error";
inline const QString NeedName = "You must enter your name:";
inline const QString NeedRegion = "You must enter your country/region:";
inline const QString NeedSkill = "You must enter your skill:";
inline const QString NeedPlayer = "You must select a player.";
inline const QString OldRow = "This row is from an earlier visit to the server. Press Get List and "
                              "choose the player again.";
inline const QString BadPort = "Port 65536 is not a TCP port. Choose a port from 1 to 65535.";
// %1: what was typed.
inline const QString BadAddress = "\"%1\" is not an IP address. Type the server's address as four "
                                  "numbers with dots (such as 192.168.1.20), or choose Host for a "
                                  "host name.";
inline const QString NeedHost = "Type the server's host name.";

// Status lines.
inline const QString Connecting = "Connecting...";
inline const QString Connected = "Connected.";
inline const QString Disconnected = "Disconnected from NetGame Server.";
// %1: the error's number, %2: the system's reason.
inline const QString ConnectionError = "Connection Error %1 (%2)";
inline const QString ErrorPrefix = "Error: ";
inline const QString Kicked = "You were kicked from the server for ";
inline const QString Banned = "You are banned from this server.";
inline const QString Flooded = "The server sent too much too fast; the connection was closed.";
// %1: what the server sent in place of the opponent's address.
inline const QString BadJoin =
    "The server sent \"%1\" as an opponent's address; no game was started.";
inline const QString UnaskedJoin = "The server offered a game that was not asked for; no game was "
                                   "started.";

} // namespace LobbyTexts
