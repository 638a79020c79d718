// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/server/LobbyServer.h"

#include "net/lobby/LobbyProtocol.h"
#include "net/lobby/LobbyText.h"

#include <QDateTime>
#include <QTcpServer>

#include <sys/socket.h>

using namespace LobbyProtocol;

namespace {

// Longest name, region and skill kept, in characters; a client's own limit is 25.
constexpr qsizetype MaxField = 100;

} // namespace

TLobbyServer::TLobbyServer(TLobbyOptions options, QObject* parent)
    : QObject(parent), Options_(std::move(options)) {
    Clock_.start();
    PumpTimer_.setSingleShot(true);
    PumpTimer_.setTimerType(Qt::PreciseTimer);
    connect(&PumpTimer_, &QTimer::timeout, this, &TLobbyServer::Wake);
    if (Options_.PaceMs > 0)
        ChatBudget_.emplace(600.0 / Options_.PaceMs, std::max(1.0, 600.0 / Options_.PaceMs));
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
    Log(QString("listening on port %1%2, at most %3 clients, %4 from one address, %5 banned "
                "addresses; idle clients closed after %6; chat at most %7 lines a second")
            .arg(Port())
            .arg(Options_.Password.isEmpty() ? "" : ", password protected")
            .arg(Options_.MaxClients)
            .arg(Options_.MaxPerAddress)
            .arg(Bans_.Size())
            .arg(Options_.IdleMs > 0 ? QString("%1 s").arg(Options_.IdleMs / 1000.0) : "never")
            .arg(ChatBudget_ ? QString::number(ChatBudget_->Rate()) : "any number of"));
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
    return peer.Identified ? peer.Name + " (" + id + ")" : id;
}

TLobbyPeer* TLobbyServer::Find(quint64 id) {
    const auto it = Peers_.find(id);
    return it == Peers_.end() || it->second->Closing ? nullptr : it->second.get();
}

TLobbyPeer* TLobbyServer::FindByName(const QString& name) {
    const QString key = LobbyText::NameKey(name);
    for (auto& [id, peer] : Peers_)
        if (peer->Identified && !peer->Closing && peer->Key == key)
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
        p.HeardAtMs = Clock_.elapsed();
        const int fromThere = ++PerAddress_[p.Address()];
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
        } else if (fromThere > Options_.MaxPerAddress) {
            SendAndClose(p,
                         FormatError("Too many connections from your address (" +
                                     QByteArray::number(Options_.MaxPerAddress) + ")."),
                         "too many connections from " + p.Address().toString());
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
    Unschedule(*peer);
    if (const auto n = PerAddress_.find(peer->Address()); n != PerAddress_.end() && --*n <= 0)
        PerAddress_.erase(n);
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
    Queue(peer, LobbyText::Encode(message));
}

void TLobbyServer::Queue(TLobbyPeer& peer, const QByteArray& wire) {
    peer.Queue(wire);
    if (peer.DueAtMs < 0)
        Service(peer, Clock_.elapsed());
}

void TLobbyServer::Broadcast(const QByteArray& message) {
    const QByteArray wire = LobbyText::Encode(message);
    // A lobby that talks faster than the pace lets lines out fills every queue alike. A client
    // whose queue is that full misses the line; it is not to blame and stays.
    for (auto& [id, peer] : Peers_) {
        if (!peer->Identified || peer->Closing)
            continue;
        if (peer->QueuedBytes() <= Options_.MaxUnsent / 2)
            Queue(*peer, wire);
        else
            ++Skipped_;
    }
}

void TLobbyServer::Service(TLobbyPeer& peer, qint64 nowMs) {
    if (peer.Pump(nowMs, Options_.PaceMs)) {
        Schedule(peer, peer.NextAtMs(Options_.PaceMs));
    } else if (peer.Closing && !peer.HalfClosed && peer.Socket()) {
        // The parting message is out of our hands once the system has taken it. Closing
        // only our sending side lets the client read it: a full close while the client
        // still sends would reset the connection and destroy the message unread. The
        // client closes when it sees the end; Sweep ends those that do not.
        if (peer.Unsent() == 0) {
            ::shutdown(static_cast<int>(peer.Socket()->socketDescriptor()), SHUT_WR);
            peer.HalfClosed = true;
        } else {
            Schedule(peer, nowMs + std::max(Options_.PaceMs, 10));
        }
    }
}

void TLobbyServer::Schedule(TLobbyPeer& peer, qint64 atMs) {
    Unschedule(peer);
    peer.DueAtMs = atMs;
    Due_.emplace(atMs, peer.Id());
    if (Due_.begin()->second == peer.Id())
        Arm();
}

void TLobbyServer::Unschedule(TLobbyPeer& peer) {
    if (peer.DueAtMs >= 0)
        Due_.erase({peer.DueAtMs, peer.Id()});
    peer.DueAtMs = -1;
}

void TLobbyServer::Arm() {
    if (Due_.empty()) {
        PumpTimer_.stop();
        return;
    }
    const int wait = static_cast<int>(std::max<qint64>(0, Due_.begin()->first - Clock_.elapsed()));
    if (!PumpTimer_.isActive() || PumpTimer_.remainingTime() > wait)
        PumpTimer_.start(wait);
}

void TLobbyServer::Wake() {
    const qint64 now = Clock_.elapsed();
    std::vector<quint64> slow;
    while (!Due_.empty() && Due_.begin()->first <= now) {
        const quint64 id = Due_.begin()->second;
        Due_.erase(Due_.begin());
        const auto it = Peers_.find(id);
        if (it == Peers_.end())
            continue;
        TLobbyPeer& peer = *it->second;
        peer.DueAtMs = -1;
        Service(peer, now);
        // Only what the system has not taken counts against the client: what waits in the
        // queue waits for the pace, not for the client.
        if (peer.Unsent() > Options_.MaxUnsent && !peer.Closing)
            slow.push_back(id);
    }
    for (quint64 id : slow)
        if (const TLobbyPeer* peer = Find(id)) {
            Log("dropping " + Who(*peer) + ": it does not read what it is sent");
            Drop(id, "too slow to read");
        }
    Arm();
}

void TLobbyServer::Sweep() {
    std::vector<std::pair<quint64, QString>> late;
    const qint64 now = Clock_.elapsed();
    std::vector<quint64> idle, slow;
    for (auto& [id, peer] : Peers_) {
        if (!peer->Identified && !peer->Closing &&
            peer->Since.elapsed() > Options_.IdentifyTimeoutMs)
            late.emplace_back(id, "did not identify in time");
        if (peer->Identified && !peer->Closing && Options_.IdleMs > 0 &&
            now - peer->HeardAtMs > Options_.IdleMs)
            idle.push_back(id);
        if (peer->Unsent() > Options_.MaxUnsent && !peer->Closing)
            slow.push_back(id);
        // A parting message that cannot be delivered within seconds is given up.
        if (peer->Closing && now - peer->ClosingAtMs > 5000)
            late.emplace_back(id, "closed by the server");
    }
    for (const auto& [id, why] : late)
        Drop(id, why);
    for (quint64 id : idle)
        if (TLobbyPeer* peer = Find(id))
            SendAndClose(*peer,
                         FormatError("You have been idle too long; connect again to come back."),
                         QString("idle for %1 s").arg((now - peer->HeardAtMs) / 1000));
    for (quint64 id : slow)
        if (const TLobbyPeer* peer = Find(id)) {
            Log("dropping " + Who(*peer) + ": it does not read what it is sent");
            Drop(id, "too slow to read");
        }
    if (Refused_ > 0 || Skipped_ > 0)
        Log(QString("chat: %1 lines refused over the lobby's budget, %2 deliveries skipped at "
                    "full queues")
                .arg(Refused_)
                .arg(Skipped_));
    Refused_ = Skipped_ = 0;
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
    peer->HeardAtMs = Clock_.elapsed();
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
        Send(peer, FormatError("You are already in the lobby as " + peer.Name.toUtf8() + '.'));
        return;
    }
    const std::optional<TIdentity> id = ParseIdentify(payload);
    if (!id) {
        SendAndClose(peer, FormatError("Your identification could not be read."), "bad jns");
        return;
    }
    // One message is one encoding: every field is read the way the whole message reads.
    const bool utf8 = LobbyText::IsUtf8(payload);
    if (!Options_.Password.isEmpty() &&
        LobbyText::Decode(id->Password, utf8).normalized(QString::NormalizationForm_C) !=
            Options_.Password.normalized(QString::NormalizationForm_C)) {
        SendAndClose(peer, FormatError("Wrong password: this lobby is protected."),
                     "wrong password");
        return;
    }
    if (Bans_.Contains(peer.Address())) {
        SendAndClose(peer, FormatBanned(), "banned address");
        return;
    }
    const QString name = LobbyText::NormalName(LobbyText::Clean(id->Name, utf8, MaxField));
    if (name.isEmpty()) {
        Send(peer, FormatError("You must give a name."));
        return;
    }
    if (FindByName(name)) {
        Send(peer,
             FormatError("The name " + name.toUtf8() + " is already in use here; choose another."));
        return;
    }
    peer.Identified = true;
    peer.Name = name;
    peer.Key = LobbyText::NameKey(name);
    peer.Region = LobbyText::Clean(id->Region, utf8, MaxField);
    peer.Skill = LobbyText::Clean(id->Skill, utf8, MaxField);
    Log("identify " + Who(peer) + " from " + peer.Region + ", " + peer.Skill);
    int others = 0;
    for (auto& [pid, p] : Peers_)
        others += p->Identified && !p->Closing && p.get() != &peer;
    Send(peer,
         FormatInfo("Welcome to the lobby, " + name.toUtf8() + ". " + QByteArray::number(others) +
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
        Send(peer, FormatListRow({p->Name.toUtf8(), p->Region.toUtf8(), p->Skill.toUtf8(),
                                  StateText(p->State)}));
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
        Send(peer, FormatError(creator->Name.toUtf8() + " is not waiting for an opponent."));
        return;
    }
    creator->State = TPlayerState::Playing;
    peer.State = TPlayerState::Playing;
    Log("join " + Who(peer) + " joins " + Who(*creator));
    Send(peer, FormatJoined(creator->Address().toString().toLatin1()));
    Send(*creator, FormatInfo(peer.Name.toUtf8() + " is joining your game."));
}

void TLobbyServer::Chat(TLobbyPeer& peer, const QByteArray& payload) {
    // Over the budget the line goes to nobody, and its sender is told (once a second at
    // most, as the telling itself costs the sender's own pace); listeners never lose it.
    const qint64 now = Clock_.elapsed();
    if (ChatBudget_ && !ChatBudget_->Spend(now)) {
        ++Refused_;
        if (now - peer.SlowDownAtMs >= 1000) {
            peer.SlowDownAtMs = now;
            Send(peer, FormatInfo("Slow down: the lobby is busy."));
        }
        return;
    }
    const QString text = LobbyText::Clean(ChatText(payload), LobbyText::IsUtf8(payload), MaxChat);
    Broadcast(FormatChat("<<" + peer.Name.toUtf8() + ">> " + text.toUtf8()));
}
