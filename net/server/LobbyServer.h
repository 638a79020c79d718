// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TLobbyServer: the lobby. Players identify, list each other, chat, create a game and join
// one; the server answers a join with the creator's address so the two play directly. It
// guards itself against clients that misbehave: oversized messages, floods, clients that never
// identify, never say anything or never read, and one address that opens connection after
// connection.

#include "net/server/BanList.h"
#include "net/server/LobbyPeer.h"
#include "net/server/TokenBucket.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <QHash>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

class QTcpServer;

struct TLobbyOptions {
    quint16 Port = 2469;
    QString Password; // empty: anyone may enter
    QString BanFile;  // empty: bans last until the server stops
    int MaxClients = 1000;
    int MaxPerAddress = 8;          // connections at once from one address
    qint64 IdleMs = 30 * 60 * 1000; // an identified client silent this long is closed; 0: never
    int PaceMs = 20;                // least time between two messages to the same client
    int IdentifyTimeoutMs = 30000;  // an unidentified connection is closed after this
    qint64 MaxUnsent = 256 * 1024;  // a client that leaves this much untaken is dropped
    int MaxRows = 20000;            // list rows remembered per client for "jng"
};

class TLobbyServer : public QObject {
public:
    explicit TLobbyServer(TLobbyOptions options, QObject* parent = nullptr);
    ~TLobbyServer() override;

    // Loads the ban file and starts listening on every local address. False with a reason.
    bool Start(QString* error);
    quint16 Port() const;
    // One line per connect, identify, game created, join and leave, and the answers of the
    // admin commands.
    std::function<void(const QString& line)> OnLog;

    // An admin command as typed on standard input: "list", "say TEXT", "kick NAME REASON", "kick #N
    // REASON" (N as "list" shows it), "ban ADDRESS", "help". Answers go to the log.
    void Admin(const QString& line);

    int Connections() const { return static_cast<int>(Peers_.size()); }

private:
    void OnNewConnection();
    void OnReadyRead(quint64 id);
    void Handle(TLobbyPeer& peer, const QByteArray& message);
    void Identify(TLobbyPeer& peer, const QByteArray& payload);
    void GetList(TLobbyPeer& peer);
    void CreateGame(TLobbyPeer& peer);
    void JoinGame(TLobbyPeer& peer, const QByteArray& payload);
    void Chat(TLobbyPeer& peer, const QByteArray& payload);

    // A message built in UTF-8, encoded for the wire as a whole.
    void Send(TLobbyPeer& peer, const QByteArray& message);
    void Broadcast(const QByteArray& message);
    // Bytes already encoded for the wire.
    void Queue(TLobbyPeer& peer, const QByteArray& wire);
    // Sends the message, then closes once it is out.
    void SendAndClose(TLobbyPeer& peer, const QByteArray& message, const QString& why);
    void Drop(quint64 id, const QString& why);
    // Clients with something to send are woken when the pace lets their next message go, and
    // no others: Due_ holds them by that time.
    void Service(TLobbyPeer& peer, qint64 nowMs);
    void Schedule(TLobbyPeer& peer, qint64 atMs);
    void Unschedule(TLobbyPeer& peer);
    void Arm();
    void Wake();
    void Sweep();
    TLobbyPeer* Find(quint64 id);
    TLobbyPeer* FindByName(const QString& name);
    void Log(const QString& line);
    static QString Who(const TLobbyPeer& peer);

    static constexpr qsizetype MaxChat = 1000; // longest chat line relayed, in characters

    TLobbyOptions Options_;
    QTcpServer* Listener_ = nullptr;
    TBanList Bans_;
    // Ordered by id, which is the order of arrival: the players' list keeps that order.
    std::map<quint64, std::unique_ptr<TLobbyPeer>> Peers_;
    quint64 NextId_ = 1;
    QElapsedTimer Clock_;
    std::set<std::pair<qint64, quint64>> Due_;
    QTimer PumpTimer_;
    QTimer SweepTimer_;
    QHash<QHostAddress, int> PerAddress_;
    // Chat lines the whole lobby may say: every client receives every line, and one message
    // per pace at most, so the lobby together says no more than 60 % of that, keeping the rest
    // for lists and answers. None when there is no pace.
    std::optional<TTokenBucket> ChatBudget_;
    int Refused_ = 0; // chat lines refused over the budget since the last sweep
    int Skipped_ = 0; // deliveries of chat lines skipped at a full queue since the last sweep
};
