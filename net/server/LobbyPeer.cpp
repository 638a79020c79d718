// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/server/LobbyPeer.h"

#include "net/server/BanList.h"

TLobbyPeer::TLobbyPeer(quint64 id, QTcpSocket* socket)
    : Id_(id), Socket_(socket), Address_(TBanList::Normal(socket->peerAddress())),
      Port_(socket->peerPort()) {
    Since.start();
}

QString TLobbyPeer::Endpoint() const {
    const QString a = Address_.toString();
    return (Address_.protocol() == QAbstractSocket::IPv6Protocol ? "[" + a + "]" : a) + ':' +
           QString::number(Port_);
}

void TLobbyPeer::Queue(const QByteArray& message) {
    Out_.push_back(message);
    QueuedBytes_ += message.size();
}

bool TLobbyPeer::Pump(qint64 nowMs, int paceMs) {
    // A connection that has ended (a failed write ends it) takes nothing more.
    if (Out_.empty() || !Socket_ || Socket_->state() != QAbstractSocket::ConnectedState)
        return false;
    if (nowMs - LastSentMs_ >= paceMs) {
        Socket_->write(Out_.front());
        Socket_->flush();
        QueuedBytes_ -= Out_.front().size();
        Out_.pop_front();
        LastSentMs_ = nowMs;
    }
    return !Out_.empty();
}

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
