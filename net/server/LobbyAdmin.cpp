// SPDX-License-Identifier: GPL-3.0-or-later
// The admin's commands, typed on the server's standard input.
#include "net/server/LobbyServer.h"

#include "net/lobby/LobbyProtocol.h"
#include "net/lobby/LobbyText.h"

using namespace LobbyProtocol;

void TLobbyServer::Admin(const QString& input) {
    const QString line = input.trimmed();
    const QString command = line.section(' ', 0, 0).toLower();
    const QString rest = line.section(' ', 1).trimmed();
    if (line.isEmpty())
        return;
    if (command == "list") {
        int n = 0;
        for (auto& [id, p] : Peers_) {
            ++n;
            Log(QString("  %1 %2").arg(Who(*p),
                                       p->Identified ? StateText(p->State) : "not identified"));
        }
        Log(QString("%1 connections").arg(n));
    } else if (command == "say" && !rest.isEmpty()) {
        Broadcast(FormatInfo(LobbyText::Clean(rest.toUtf8(), true, MaxChat).toUtf8()));
        Log("said: " + rest);
    } else if (command == "kick" && !rest.isEmpty()) {
        // "#N" is connection N of "list", for a name no keyboard can type. Names may hold
        // spaces: the longest name of a player that the words after "kick" begin with is the
        // one meant, and what follows it is the reason.
        TLobbyPeer* p = nullptr;
        QString reason;
        if (rest.startsWith('#')) {
            bool number = false;
            const quint64 id = rest.section(' ', 0, 0).mid(1).toULongLong(&number);
            p = number ? Find(id) : nullptr;
            reason = rest.section(' ', 1).trimmed();
        }
        for (qsizetype end = rest.size(); end > 0 && !p; end = rest.lastIndexOf(' ', end - 1)) {
            p = FindByName(rest.left(end));
            reason = rest.mid(end).trimmed();
        }
        if (!p) {
            Log("kick: nobody is called " + rest.section(' ', 0, 0));
            return;
        }
        SendAndClose(*p, FormatKick(reason.isEmpty() ? "no reason given" : reason.toUtf8()),
                     "kicked: " + reason);
    } else if (command == "ban" && !rest.isEmpty()) {
        QString why;
        if (!Bans_.Add(rest, &why)) {
            Log("ban: " + why);
            return;
        }
        Log("banned " + rest);
        if (!why.isEmpty())
            Log("ban: the ban file cannot keep it, so it lasts until the server stops (" + why +
                ")");
        for (auto& [id, p] : Peers_)
            if (!p->Closing && Bans_.Contains(p->Address()))
                SendAndClose(*p, FormatBanned(), "banned");
    } else {
        Log("commands: list | say TEXT | kick NAME REASON | kick #N REASON | ban ADDRESS");
    }
}
