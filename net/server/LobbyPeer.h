// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One connection to the lobby server: the socket, who is behind it once identified, the rows
// of the players' list it has been sent, what still waits to go out, and how fast it talks.

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>

#include "net/server/TokenBucket.h"

#include <deque>
#include <vector>

enum class TPlayerState { Lobby, Waiting, Playing };
// As the players' list and the log say it: "in the lobby", "waiting for an opponent", "playing".
const char* StateText(TPlayerState s);

class TLobbyPeer {
public:
    TLobbyPeer(quint64 id, QTcpSocket* socket);

    quint64 Id() const { return Id_; }
    QTcpSocket* Socket() const { return Socket_; }
    QHostAddress Address() const { return Address_; }
    QString Endpoint() const; // address:port, for the log

    bool Identified = false;
    QString Name, Region, Skill;
    QString Key; // the name as players are told apart by (LobbyText::NameKey)
    TPlayerState State = TPlayerState::Lobby;
    QElapsedTimer Since;            // from the connection on
    qint64 HeardAtMs = 0;           // when its last message came (server clock)
    qint64 SlowDownAtMs = -1000000; // when it was last told the lobby's chat is full
    qint64 DueAtMs = -1;            // when the server next wakes it to send; -1: nothing waits
    // The players sent as "lst" rows, in order; "jng N" names entry N.
    std::vector<quint64> Rows;
    bool Closing = false; // closes once its queue is out
    qint64 ClosingAtMs = 0;
    bool HalfClosed = false; // our sending side is closed; waiting for the client to close

    // --- Sending. The lobby's messages have no delimiter and the client takes each read as
    // one message, so two messages to the same client go out at least PaceMs apart.
    void Queue(const QByteArray& message);
    // Bytes waiting here and in the socket: what the client has not taken yet.
    qint64 Backlog() const { return QueuedBytes_ + Unsent(); }
    // Bytes waiting here for their turn.
    qint64 QueuedBytes() const { return QueuedBytes_; }
    // Writes the next message if the pace allows; answers whether more wait.
    bool Pump(qint64 nowMs, int paceMs);
    // When the pace lets the next message go.
    qint64 NextAtMs(int paceMs) const { return LastSentMs_ + paceMs; }
    qsizetype Queued() const { return static_cast<qsizetype>(Out_.size()); }
    // Bytes handed to the socket but not yet taken by the system.
    qint64 Unsent() const { return Socket_ ? Socket_->bytesToWrite() : 0; }

    // --- Receiving: 40 messages at once, 20 a second. False when the client sent more.
    bool Spend(qint64 nowMs) { return Received_.Spend(nowMs); }

private:
    quint64 Id_;
    QPointer<QTcpSocket> Socket_;
    QHostAddress Address_;
    quint16 Port_;
    std::deque<QByteArray> Out_;
    qint64 QueuedBytes_ = 0;
    qint64 LastSentMs_ = -1000000;
    TTokenBucket Received_{20.0, 40.0};
};
