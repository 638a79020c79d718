// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/server/LobbyServer.h"

#include "net/lobby/LobbyProtocol.h"

#include <QDateTime>
#include <QTcpServer>

#include <sys/socket.h>

using namespace LobbyProtocol;

namespace {

// Longest name, region and skill kept; a client's own limit is 25 characters.
constexpr qsizetype MaxField = 100;
constexpr qsizetype MaxChat = 1000;

const char* StateText(TPlayerState s) {
    switch (s) {
    case TPlayerState::Waiting:
        return "waiting for an opponent";
    case TPlayerState::Playing:
        return "playing";
    case TPlayerState::Lobby:
        break;
    }
    return "in the lobby";
}

} // namespace

TLobbyServer::TLobbyServer(TLobbyOptions options, QObject* parent)
    : QObject(parent), Options_(std::move(options)) {
    Clock_.start();
    PumpTimer_.setInterval(std::max(1, Options_.PaceMs / 2));
    connect(&PumpTimer_, &QTimer::timeout, this, &TLobbyServer::Pump);
    SweepTimer_.setInterval(1000);
    connect(&SweepTimer_, &QTimer::timeout, this, &TLobbyServer::Sweep);
}

TLobbyServer::~TLobbyServer() {
    for (auto& [id, peer] : Peers_)
        if (QTcpSocket* s = peer->Socket()) {
            s->disconnect(this);
            s->abort();
        }
}

bool TLobbyServer::Start(QString* error) {
    if (!Options_.BanFile.isEmpty()) {
        QString why;
        if (!Bans_.Load(Options_.BanFile, &why)) {
            *error = QString("cannot read the ban file %1: %2").arg(Options_.BanFile, why);
            return false;
        }
        if (Bans_.BadLines() > 0)
            Log(QString("ban file %1: %2 lines are no address and were skipped")
                    .arg(Options_.BanFile)
                    .arg(Bans_.BadLines()));
    }
    Listener_ = new QTcpServer(this);
    Listener_->setListenBacklogSize(1024);
    Listener_->setMaxPendingConnections(1024);
    if (!Listener_->listen(QHostAddress::Any, Options_.Port)) {
        *error = QString("cannot listen on port %1: %2")
                     .arg(Options_.Port)
                     .arg(Listener_->errorString());
        return false;
    }
    connect(Listener_, &QTcpServer::newConnection, this, &TLobbyServer::OnNewConnection);
    SweepTimer_.start();
    Log(QString("listening on port %1%2, at most %3 clients, %4 banned addresses")
            .arg(Port())
            .arg(Options_.Password.isEmpty() ? "" : ", password protected")
            .arg(Options_.MaxClients)
            .arg(Bans_.Size()));
    return true;
}

quint16 TLobbyServer::Port() const {
    return Listener_ ? Listener_->serverPort() : 0;
}

void TLobbyServer::Log(const QString& line) {
    if (OnLog)
        OnLog(QDateTime::currentDateTime().toString(Qt::ISODate) + ' ' + line);
}

QString TLobbyServer::Who(const TLobbyPeer& peer) {
    const QString id = QString("#%1 %2").arg(peer.Id()).arg(peer.Endpoint());
    return peer.Identified ? QString::fromUtf8(peer.Name) + " (" + id + ")" : id;
}

TLobbyPeer* TLobbyServer::Find(quint64 id) {
    const auto it = Peers_.find(id);
    return it == Peers_.end() || it->second->Closing ? nullptr : it->second.get();
}

TLobbyPeer* TLobbyServer::FindByName(const QByteArray& name) {
    for (auto& [id, peer] : Peers_)
        if (peer->Identified && !peer->Closing &&
            peer->Name.compare(name, Qt::CaseInsensitive) == 0)
            return peer.get();
    return nullptr;
}

// ---------------------------------------------------------------- connections

void TLobbyServer::OnNewConnection() {
    while (QTcpSocket* socket = Listener_->nextPendingConnection()) {
        const quint64 id = NextId_++;
        auto peer = std::make_unique<TLobbyPeer>(id, socket);
        TLobbyPeer& p = *peer;
        Peers_.emplace(id, std::move(peer));
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // A small system buffer lets a client that stops reading show up in Unsent() soon.
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 64 * 1024);
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { OnReadyRead(id); });
        // A write that fails (the client has gone) ends the connection at once, from inside
        // the write, while the server may be in the middle of a list or a broadcast that
        // holds this very client: it is taken away only once that work is done.
        connect(
            socket, &QTcpSocket::disconnected, this, [this, id] { Drop(id, "left"); },
            Qt::QueuedConnection);
        Log("connect " + Who(p));
        if (Bans_.Contains(p.Address())) {
            SendAndClose(p, FormatBanned(), "banned address");
        } else if (static_cast<int>(Peers_.size()) > Options_.MaxClients) {
            SendAndClose(p,
                         FormatError(QByteArray("The lobby is full (") +
                                     QByteArray::number(Options_.MaxClients) +
                                     " players). Try again later."),
                         "lobby full");
        }
    }
}

void TLobbyServer::Drop(quint64 id, const QString& why) {
    const auto it = Peers_.find(id);
    if (it == Peers_.end())
        return;
    std::unique_ptr<TLobbyPeer> peer = std::move(it->second);
    Peers_.erase(it);
    Log("leave " + Who(*peer) + ": " + why);
    if (QTcpSocket* s = peer->Socket()) {
        s->disconnect(this);
        s->abort();
        s->deleteLater();
    }
}

void TLobbyServer::SendAndClose(TLobbyPeer& peer, const QByteArray& message, const QString& why) {
    peer.Closing = true;
    peer.ClosingAtMs = Clock_.elapsed();
    Send(peer, message);
    Log("closing " + Who(peer) + ": " + why);
}

void TLobbyServer::Send(TLobbyPeer& peer, const QByteArray& message) {
    peer.Queue(message);
    peer.Pump(Clock_.elapsed(), Options_.PaceMs);
    if ((peer.Queued() > 0 || peer.Closing) && !PumpTimer_.isActive())
        PumpTimer_.start();
}

void TLobbyServer::Broadcast(const QByteArray& message) {
    // A lobby that talks faster than the pace lets lines out fills every queue alike. A client
    // whose queue is that full misses the line; it is not to blame and stays.
    for (auto& [id, peer] : Peers_)
        if (peer->Identified && !peer->Closing && peer->QueuedBytes() <= Options_.MaxUnsent / 2)
            Send(*peer, message);
}

void TLobbyServer::Pump() {
    const qint64 now = Clock_.elapsed();
    bool more = false;
    std::vector<quint64> done;
    for (auto& [id, peer] : Peers_) {
        if (peer->Pump(now, Options_.PaceMs)) {
            more = true;
        } else if (peer->Closing && !peer->HalfClosed) {
            // The parting message is out of our hands once the system has taken it. Closing
            // only our sending side lets the client read it: a full close while the client
            // still sends would reset the connection and destroy the message unread. The
            // client closes when it sees the end; Sweep ends those that do not.
            if (peer->Unsent() == 0 && peer->Socket()) {
                ::shutdown(static_cast<int>(peer->Socket()->socketDescriptor()), SHUT_WR);
                peer->HalfClosed = true;
            } else {
                more = true;
            }
        }
        // Only what the system has not taken counts against the client: what waits in the
        // queue waits for the pace, not for the client.
        if (peer->Unsent() > Options_.MaxUnsent && !peer->Closing) {
            done.push_back(id);
            Log("dropping " + Who(*peer) + ": it does not read what it is sent");
        }
    }
    for (quint64 id : done)
        Drop(id, "too slow to read");
    if (!more)
        PumpTimer_.stop();
    else if (!PumpTimer_.isActive())
        PumpTimer_.start();
}

void TLobbyServer::Sweep() {
    std::vector<std::pair<quint64, QString>> late;
    const qint64 now = Clock_.elapsed();
    for (auto& [id, peer] : Peers_) {
        if (!peer->Identified && !peer->Closing &&
            peer->Since.elapsed() > Options_.IdentifyTimeoutMs)
            late.emplace_back(id, "did not identify in time");
        // A parting message that cannot be delivered within seconds is given up.
        if (peer->Closing && now - peer->ClosingAtMs > 5000)
            late.emplace_back(id, "closed by the server");
    }
    for (const auto& [id, why] : late)
        Drop(id, why);
    Pump();
}

// ---------------------------------------------------------------- messages

void TLobbyServer::OnReadyRead(quint64 id) {
    TLobbyPeer* peer = Find(id);
    if (!peer) {
        // A closing connection: what it still says is not heard.
        if (const auto it = Peers_.find(id); it != Peers_.end() && it->second->Socket())
            it->second->Socket()->readAll();
        return;
    }
    const QByteArray read = peer->Socket()->read(MaxMessage + 1);
    if (read.size() > MaxMessage) {
        SendAndClose(*peer, FormatKick("sending a message over 4 KiB"), "oversized message");
        return;
    }
    for (const QByteArray& message : SplitClientRead(read)) {
        if (!peer->Spend(Clock_.elapsed())) {
            SendAndClose(*peer, FormatKick("flooding the lobby (more than 20 messages a second)"),
                         "flooding");
            return;
        }
        Handle(*peer, message);
        peer = Find(id);
        if (!peer)
            return;
    }
    // More may already wait in the socket's buffer beyond what one read took.
    if (peer->Socket()->bytesAvailable() > 0)
        QTimer::singleShot(0, this, [this, id] { OnReadyRead(id); });
}

void TLobbyServer::Handle(TLobbyPeer& peer, const QByteArray& message) {
    const TMessage m = ParseMessage(message);
    if (m.Tag == TTag::Identify) {
        Identify(peer, m.Payload);
        return;
    }
    if (m.Tag == TTag::Part) {
        Drop(peer.Id(), "parted");
        return;
    }
    const bool known = m.Tag == TTag::GetList || m.Tag == TTag::Create || m.Tag == TTag::JoinGame ||
                       m.Tag == TTag::Msg;
    if (!known)
        return; // unknown tags are ignored
    if (!peer.Identified) {
        Send(peer, FormatError("Identify first."));
        return;
    }
    switch (m.Tag) {
    case TTag::GetList:
        GetList(peer);
        break;
    case TTag::Create:
        CreateGame(peer);
        break;
    case TTag::JoinGame:
        JoinGame(peer, m.Payload);
        break;
    default:
        Chat(peer, m.Payload);
        break;
    }
}

void TLobbyServer::Identify(TLobbyPeer& peer, const QByteArray& payload) {
    if (peer.Identified) {
        Send(peer, FormatError("You are already in the lobby as " + peer.Name + '.'));
        return;
    }
    const std::optional<TIdentity> id = ParseIdentify(payload);
    if (!id) {
        SendAndClose(peer, FormatError("Your identification could not be read."), "bad jns");
        return;
    }
    if (!Options_.Password.isEmpty() && id->Password != Options_.Password) {
        SendAndClose(peer, FormatError("Wrong password: this lobby is protected."),
                     "wrong password");
        return;
    }
    if (Bans_.Contains(peer.Address())) {
        SendAndClose(peer, FormatBanned(), "banned address");
        return;
    }
    const QByteArray name = CleanBytes(id->Name, MaxField).trimmed();
    if (name.isEmpty()) {
        Send(peer, FormatError("You must give a name."));
        return;
    }
    if (FindByName(name)) {
        Send(peer, FormatError("The name " + name + " is already in use here; choose another."));
        return;
    }
    peer.Identified = true;
    peer.Name = name;
    peer.Region = CleanBytes(id->Region, MaxField);
    peer.Skill = CleanBytes(id->Skill, MaxField);
    Log("identify " + Who(peer) + " from " + QString::fromUtf8(peer.Region) + ", " +
        QString::fromUtf8(peer.Skill));
    int others = 0;
    for (auto& [pid, p] : Peers_)
        others += p->Identified && !p->Closing && p.get() != &peer;
    Send(peer, FormatInfo("Welcome to the lobby, " + name + ". " + QByteArray::number(others) +
                          (others == 1 ? " other player is here." : " other players are here.")));
}

void TLobbyServer::GetList(TLobbyPeer& peer) {
    if (peer.Queued() > 0) {
        Send(peer, FormatError("Your list is still on its way."));
        return;
    }
    for (auto& [id, p] : Peers_) {
        if (!p->Identified || p->Closing)
            continue;
        if (static_cast<int>(peer.Rows.size()) >= Options_.MaxRows) {
            Send(peer, FormatError("Your players' list is full; connect again for a new one."));
            return;
        }
        peer.Rows.push_back(id);
        Send(peer, FormatListRow({p->Name, p->Region, p->Skill, StateText(p->State)}));
    }
}

void TLobbyServer::CreateGame(TLobbyPeer& peer) {
    peer.State = TPlayerState::Waiting;
    Log("game created by " + Who(peer));
    Send(peer, FormatInfo("You are waiting for an opponent."));
}

void TLobbyServer::JoinGame(TLobbyPeer& peer, const QByteArray& payload) {
    const std::optional<int> row = JoinRow(payload);
    if (!row || *row >= static_cast<int>(peer.Rows.size())) {
        Send(peer, FormatError("There is no such row in your players' list."));
        return;
    }
    const quint64 target = peer.Rows[static_cast<size_t>(*row)];
    TLobbyPeer* creator = Find(target);
    if (creator == &peer) {
        Send(peer, FormatError("You cannot join your own game."));
        return;
    }
    if (!creator || !creator->Identified) {
        Send(peer, FormatError("That player has left the lobby."));
        return;
    }
    if (creator->State != TPlayerState::Waiting) {
        Send(peer, FormatError(creator->Name + " is not waiting for an opponent."));
        return;
    }
    creator->State = TPlayerState::Playing;
    peer.State = TPlayerState::Playing;
    Log("join " + Who(peer) + " joins " + Who(*creator));
    Send(peer, FormatJoined(creator->Address().toString().toLatin1()));
    Send(*creator, FormatInfo(peer.Name + " is joining your game."));
}

void TLobbyServer::Chat(TLobbyPeer& peer, const QByteArray& payload) {
    const QByteArray text = CleanBytes(ChatText(payload), MaxChat);
    Broadcast(FormatChat("<<" + peer.Name + ">> " + text));
}

// ---------------------------------------------------------------- admin

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
        Broadcast(FormatInfo(CleanBytes(rest.toUtf8(), MaxChat)));
        Log("said: " + rest);
    } else if (command == "kick" && !rest.isEmpty()) {
        // Names may hold spaces: the longest name of a player that the words after "kick"
        // begin with is the one meant, and what follows it is the reason.
        TLobbyPeer* p = nullptr;
        QString reason;
        for (qsizetype end = rest.size(); end > 0 && !p; end = rest.lastIndexOf(' ', end - 1)) {
            p = FindByName(rest.left(end).trimmed().toUtf8());
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
        Log("commands: list | say TEXT | kick NAME REASON | ban ADDRESS");
    }
}
