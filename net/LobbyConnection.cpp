// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/LobbyConnection.h"

#include "net/lobby/LobbyProtocol.h"

#include <QTcpSocket>

TLobbyConnection::TLobbyConnection(QObject* parent) : QObject(parent) {}

TLobbyConnection::~TLobbyConnection() {
    Close();
}

void TLobbyConnection::ConnectTo(const QString& host, quint16 port) {
    Close();
    ct = new QTcpSocket(this);
    QTcpSocket* s = ct;
    s->setReadBufferSize(MaxRead + 1);
    connect(s, &QTcpSocket::connected, this, [this] {
        Window_.start();
        InWindow_ = 0;
        emit connected();
    });
    connect(s, &QTcpSocket::readyRead, this, &TLobbyConnection::OnReadyRead);
    connect(s, &QTcpSocket::errorOccurred, this, &TLobbyConnection::OnError);
    connect(s, &QTcpSocket::disconnected, this, [this, s] {
        if (s != ct)
            return;
        ct = nullptr;
        s->deleteLater();
        emit closed();
    });
    // A host name is looked up in the background; the window keeps running meanwhile.
    s->connectToHost(host, port);
}

void TLobbyConnection::Close() {
    if (QTcpSocket* s = ct) {
        ct = nullptr;
        s->disconnect(this);
        s->abort();
        s->deleteLater();
    }
}

bool TLobbyConnection::Send(const QByteArray& message) {
    if (!IsConnected())
        return false;
    ct->write(message);
    ct->flush();
    return true;
}

bool TLobbyConnection::IsConnected() const {
    return ct && ct->state() == QAbstractSocket::ConnectedState;
}

bool TLobbyConnection::IsConnecting() const {
    return ct && (ct->state() == QAbstractSocket::HostLookupState ||
                  ct->state() == QAbstractSocket::ConnectingState);
}

void TLobbyConnection::OnReadyRead() {
    QPointer<QTcpSocket> s = ct;
    if (!s)
        return;
    const QByteArray read = s->readAll();
    if (read.isEmpty())
        return;
    if (Window_.elapsed() >= 1000) {
        Window_.restart();
        InWindow_ = 0;
    }
    // Messages count, not reads: a busy window reads many at once.
    const QList<QByteArray> messages = LobbyProtocol::SplitServerRead(read);
    InWindow_ += static_cast<int>(messages.size());
    if (InWindow_ > MaxPerSecond || read.size() > MaxRead) {
        Close();
        emit flooded();
        return;
    }
    for (const QByteArray& message : messages) {
        if (!ct || ct != s)
            return; // a handler closed the connection: the rest is for nobody
        emit messageReceived(message);
    }
}

void TLobbyConnection::OnError() {
    QTcpSocket* s = ct;
    if (!s)
        return;
    // The server closing its end is a disconnection, not an error: closed() reports it.
    if (s->error() == QAbstractSocket::RemoteHostClosedError)
        return;
    const int code = static_cast<int>(s->error());
    const QString reason = s->errorString();
    Close();
    emit failed(code, reason);
}
