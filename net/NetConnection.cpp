// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/NetConnection.h"

#include <QTcpServer>
#include <QTcpSocket>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

using namespace NetProtocol;

namespace {

// Keep-alive, tuned where the system allows it so that a peer that vanishes without closing
// (cable pulled, machine off) is noticed within about two minutes: quiet for 60 s, then six
// probes 10 s apart.
void KeepAlive(QTcpSocket* socket) {
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
#ifdef Q_OS_LINUX
    const auto fd = static_cast<int>(socket->socketDescriptor());
    if (fd < 0)
        return;
    const int idle = 60;
    const int interval = 10;
    const int count = 6;
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
#endif
}

void Discard(QTcpSocket* socket) {
    if (!socket)
        return;
    socket->disconnect();
    socket->abort();
    socket->deleteLater();
}

} // namespace

TNetConnection::TNetConnection(QObject* parent) : QObject(parent) {
    Quiet_.setSingleShot(true);
    Quiet_.setInterval(QuietMs);
    connect(&Quiet_, &QTimer::timeout, this, &TNetConnection::OnQuiet);
    Drain_.setSingleShot(true);
    Drain_.setInterval(0);
    connect(&Drain_, &QTimer::timeout, this, &TNetConnection::OnDrain);
}

TNetConnection::~TNetConnection() {
    // The sockets are children and die with this object; they must not call back into it.
    Close();
}

bool TNetConnection::IsListening() const {
    return ss1 && ss1->isListening();
}

bool TNetConnection::IsConnected() const {
    return Peer_ && Peer_->state() == QAbstractSocket::ConnectedState;
}

bool TNetConnection::IsConnecting() const {
    return cs1 && !Peer_ && cs1->state() != QAbstractSocket::UnconnectedState;
}

QHostAddress TNetConnection::PeerAddress() const {
    if (!Peer_)
        return {};
    const QHostAddress a = Peer_->peerAddress();
    bool mapped = false;
    const quint32 v4 = a.toIPv4Address(&mapped);
    return mapped ? QHostAddress(v4) : a;
}

bool TNetConnection::Listen(QString* reason, bool* portInUse) {
    Close();
    Role_ = TRole::Server;
    ss1 = new QTcpServer(this);
    connect(ss1, &QTcpServer::newConnection, this, &TNetConnection::OnNewConnection);
    connect(ss1, &QTcpServer::acceptError, this, [this] { emit failed(ss1->errorString()); });
    if (!ss1->listen(QHostAddress::Any, Port_)) {
        if (reason)
            *reason = ss1->errorString();
        if (portInUse)
            *portInUse = ss1->serverError() == QAbstractSocket::AddressInUseError;
        delete ss1;
        return false;
    }
    emit listening();
    return true;
}

void TNetConnection::ConnectTo(const QString& host) {
    Close();
    Role_ = TRole::Client;
    cs1 = new QTcpSocket(this);
    connect(cs1, &QTcpSocket::connected, this, [this] {
        Adopt(cs1);
        emit connected();
    });
    connect(cs1, &QTcpSocket::errorOccurred, this, &TNetConnection::OnClientError);
    cs1->connectToHost(host, Port_);
}

void TNetConnection::OnClientError() {
    // Errors of an established connection end in disconnected(); only a failed attempt
    // is reported here, and only once.
    if (!cs1 || Peer_)
        return;
    const QString reason = cs1->errorString();
    Discard(cs1);
    cs1 = nullptr;
    emit failed(reason);
}

void TNetConnection::OnNewConnection() {
    while (ss1 && ss1->hasPendingConnections()) {
        QTcpSocket* socket = ss1->nextPendingConnection();
        if (Peer_) {
            // One game per listener: a further client is closed at once, the game goes on.
            Discard(socket);
            continue;
        }
        Adopt(socket);
        emit connected();
    }
}

void TNetConnection::Adopt(QTcpSocket* socket) {
    Peer_ = socket;
    Buffer_ = TNetReceiveBuffer();
    Inbox_.clear();
    Gone_ = false;
    // The socket reads no more from the system than the receive buffer may hold, so a flood
    // is cut off before it takes memory.
    socket->setReadBufferSize(MaxPending);
    KeepAlive(socket);
    connect(socket, &QTcpSocket::readyRead, this, &TNetConnection::OnReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &TNetConnection::OnPeerGone);
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] {
        // A broken connection (keep-alive gave up, reset): close it so that disconnected()
        // follows. The peer closing normally arrives as disconnected() anyway.
        if (socket == Peer_ && socket->error() != QAbstractSocket::RemoteHostClosedError)
            socket->abort();
    });
}

void TNetConnection::OnReadyRead() {
    // While received messages wait their turn nothing more is read; OnDrain reads on.
    if (!Peer_ || Gone_ || !Inbox_.empty())
        return;
    Queue(Buffer_.Feed(Peer_->readAll()));
    if (Buffer_.Overflowed()) {
        const QPointer<QTcpSocket> peer = Peer_;
        emit peerFlooded(Buffer_.OverflowSize());
        if (peer == Peer_)
            DropPeer();
        return;
    }
    if (Buffer_.Pending() > 0)
        Quiet_.start();
    else
        Quiet_.stop();
}

void TNetConnection::OnQuiet() {
    // Bytes not yet read mean the link has not gone quiet; they are read once the inbox
    // is empty, and the wait starts again from there.
    if (!Peer_ || Gone_ || !Inbox_.empty() || Peer_->bytesAvailable() > 0)
        return;
    Queue(Buffer_.Flush());
}

void TNetConnection::Queue(std::vector<TNetMessage> messages) {
    for (TNetMessage& m : messages)
        Inbox_.push_back(std::move(m));
    if (!Inbox_.empty())
        Drain_.start();
}

bool TNetConnection::MoreWaiting() const {
    return !Inbox_.empty() || (Peer_ && !Gone_ && Peer_->bytesAvailable() > 0);
}

void TNetConnection::OnDrain() {
    if (!Peer_)
        return;
    if (!Inbox_.empty()) {
        const TNetMessage m = std::move(Inbox_.front());
        Inbox_.pop_front();
        const QPointer<QTcpSocket> peer = Peer_;
        Report(m);
        if (!peer || peer != Peer_)
            return; // a handler ended the game: the rest is for nobody
        if (!Inbox_.empty()) {
            Drain_.start();
            return;
        }
    }
    if (Gone_)
        Finish();
    else if (Peer_->bytesAvailable() > 0)
        OnReadyRead();
    else if (Buffer_.Pending() > 0 && !Quiet_.isActive())
        Quiet_.start();
}

void TNetConnection::Report(const TNetMessage& m) {
    switch (m.Tag) {
    case TNetTag::Move:
        emit moveReceived(m.Payload);
        break;
    case TNetTag::Info:
        emit nameReceived(m.Payload);
        break;
    case TNetTag::Text:
        emit chatReceived(m.Payload);
        break;
    case TNetTag::Unknown:
        break;
    }
}

void TNetConnection::OnPeerGone() {
    if (!Peer_ || sender() != Peer_)
        return;
    Quiet_.stop();
    if (!Gone_) {
        // The end of the connection ends a text message still waiting for the link to go
        // quiet: a peer that says its last line and closes at once is heard. What it sent
        // before is reported first, in its turn, and closed() after it.
        Gone_ = true;
        if (Peer_->bytesAvailable() > 0)
            Queue(Buffer_.Feed(Peer_->readAll()));
        Queue(Buffer_.Flush());
    }
    if (Inbox_.empty())
        Finish();
    else
        Drain_.start();
}

void TNetConnection::Finish() {
    QTcpSocket* gone = Peer_;
    Peer_ = nullptr;
    if (gone == cs1)
        cs1 = nullptr;
    Quiet_.stop();
    Drain_.stop();
    Inbox_.clear();
    Buffer_.Clear();
    Gone_ = false;
    Discard(gone);
    emit closed();
}

void TNetConnection::DropPeer() {
    Quiet_.stop();
    Drain_.stop();
    Inbox_.clear();
    Buffer_.Clear();
    if (!Peer_)
        return;
    Gone_ = true; // nothing more of the peer's is read
    if (Peer_->state() == QAbstractSocket::UnconnectedState)
        Finish();
    else
        Peer_->abort(); // disconnected() follows at once and reports closed()
}

bool TNetConnection::Send(const QByteArray& message) {
    if (!IsConnected())
        return false;
    return Peer_->write(message) == message.size();
}

void TNetConnection::Close() {
    Quiet_.stop();
    Drain_.stop();
    Inbox_.clear();
    Gone_ = false;
    Buffer_.Clear();
    if (Peer_ && Peer_ != cs1)
        Discard(Peer_);
    Peer_ = nullptr;
    Discard(cs1);
    cs1 = nullptr;
    if (ss1) {
        ss1->disconnect(this);
        ss1->close();
        ss1->deleteLater();
        ss1 = nullptr;
    }
    Role_ = TRole::None;
}
