// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text the lobby window shows, in one place, so that the language layer can bind them.
// The window's control captions start as designed; the status lines and the refusals are the
// window's own.

#include <QString>
#include <QStringList>

namespace LobbyTexts {

inline QString Caption = "Connect To NetGame Server";
inline QString Id = "ID";
inline QString ServerSpecs = "NetGame Server Specifications";
inline QString Name = "Name/Nickname";
inline QString Region = "Country/Region";
inline QString Skill = "Skill";
inline QString ByAddress = "IP Address";
inline QString ByHost = "Host";
inline QString Port = "Port";
inline QString Password = "Password (if server protected)";
inline QString Chat = "Chat:";
inline QString Players = "Players' List:";
inline QString Status = "Status:";
inline QString Connect = "Connect";
inline QString Disconnect = "Disconnect";
inline QString GetList = "Get List";
inline QString Create = "Create Game";
inline QString Join = "Join Game";
inline QString Say = "Say";
inline QString Clear = "Clear";
inline QString DefaultName = "Player1";
inline QString DefaultRegion = "Nowhereland";
inline QStringList Skills = {"Newbie", "Intermediate", "Experienced", "Master", "Grand Master"};

// The checks before connecting, and the join without a row.
inline QString ErrorCaption = "Error";
inline QString NeedName = "You must enter your name:";
inline QString NeedRegion = "You must enter your country/region:";
inline QString NeedSkill = "You must enter your skill:";
inline QString NeedPlayer = "You must select a player.";
inline QString OldRow = "This row is from an earlier visit to the server. Press Get List and "
                        "choose the player again.";
inline QString BadPort = "Port 65536 is not a TCP port. Choose a port from 1 to 65535.";
// %1: what was typed.
inline QString BadAddress = "\"%1\" is not an IP address. Type the server's address as four "
                            "numbers with dots (such as 192.168.1.20), or choose Host for a "
                            "host name.";
inline QString NeedHost = "Type the server's host name.";

// Status lines.
inline QString Connecting = "Connecting...";
inline QString Connected = "Connected.";
inline QString Disconnected = "Disconnected from NetGame Server.";
// %1: the error's number, %2: the system's reason.
inline QString ConnectionError = "Connection Error %1 (%2)";
inline QString ErrorPrefix = "Error: ";
inline QString Kicked = "You were kicked from the server for ";
inline QString Banned = "You are banned from this server.";
inline QString Flooded = "The server sent too much too fast; the connection was closed.";
// %1: what the server sent in place of the opponent's address.
inline QString BadJoin = "The server sent \"%1\" as an opponent's address; no game was started.";
inline QString UnaskedJoin = "The server offered a game that was not asked for; no game was "
                             "started.";

} // namespace LobbyTexts
