// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TNetConnection: the sockets of a direct NetGame. It owns the listener `ss1` (the server,
// who plays White) and the client socket `cs1` (the client, who plays Black), talks to one
// peer at a time and reports everything as signals. Nothing here blocks, shows a window or
// knows about the board: the sockets run on the user-interface thread's event loop.
//
// Received messages are reported one per turn of the event loop, so that the window handles
// its own input between them however many the peer sends at once. While some wait their turn
// no more is read from the socket: what the peer sends meanwhile stays in the system's
// buffers, which a peer cannot make grow.

#include "net/NetReceiveBuffer.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>

class QTcpServer;
class QTcpSocket;

class TNetConnection : public QObject {
    Q_OBJECT
public:
    enum class TRole { None, Server, Client };

    explicit TNetConnection(QObject* parent = nullptr);
    ~TNetConnection() override;

    // The port to listen on and to connect to, 2468 unless changed. Only tests and tools
    // change it, so that parallel runs never collide; the program itself has no way to.
    quint16 Port() const { return Port_; }
    void SetPort(quint16 port) { Port_ = port; }

    // Listens on every local address, IPv4 and IPv6. On failure answers false with the
    // system's reason, and whether the port was already taken.
    bool Listen(QString* reason = nullptr, bool* portInUse = nullptr);
    // Starts connecting to a dotted IPv4 address, an IPv6 address or a host name (looked up
    // without blocking). The outcome arrives as connected() or failed().
    void ConnectTo(const QString& host);
    // Closes the listener, the peer's connection and any connection attempt in progress. Raises
    // no signal: the caller knows.
    void Close();
    // One message, in one write. False when there is no peer.
    bool Send(const QByteArray& message);
    // Whether more from the peer is waiting to be reported: messages received and not yet
    // reported, or bytes not yet read.
    bool MoreWaiting() const;
    // Ends the connection at once, dropping whatever of the peer's is still waiting; closed()
    // follows.
    void DropPeer();

    // Server from Listen until Close; Client from ConnectTo until Close.
    TRole Role() const { return Role_; }
    bool IsListening() const;
    bool IsConnected() const;
    bool IsConnecting() const;
    // The peer's address, an IPv4 address in its dotted form even when it came in over the
    // IPv6 listener; null without a peer.
    QHostAddress PeerAddress() const;
    // How long the link must stay quiet before a text message in progress counts as complete.
    static constexpr int QuietMs = 100;

signals:
    void listening();
    void connected();
    void moveReceived(const QByteArray& position);
    void nameReceived(const QByteArray& name);
    void chatReceived(const QByteArray& line);
    // The peer sent more than 64 KiB without one complete message and has been dropped;
    // closed() follows.
    void peerFlooded(qsizetype bytes);
    // The peer's connection ended, by the peer or by the network (never by Close).
    void closed();
    // A connection attempt failed or could not be made; the reason is the system's.
    void failed(const QString& reason);

private:
    void OnNewConnection();
    void Adopt(QTcpSocket* socket);
    void OnReadyRead();
    void OnQuiet();
    void Queue(std::vector<NetProtocol::TNetMessage> messages);
    void OnDrain();
    void Report(const NetProtocol::TNetMessage& m);
    void OnPeerGone();
    void Finish();
    void OnClientError();

    quint16 Port_ = NetProtocol::DefaultPort;
    TRole Role_ = TRole::None;
    QPointer<QTcpServer> ss1;
    QPointer<QTcpSocket> cs1;
    QPointer<QTcpSocket> Peer_; // connection 0 on the server, cs1 on the client
    TNetReceiveBuffer Buffer_;
    QTimer Quiet_;
    std::deque<NetProtocol::TNetMessage> Inbox_;
    QTimer Drain_;
    // The peer's connection has ended; closed() is reported once the inbox is empty.
    bool Gone_ = false;
};
