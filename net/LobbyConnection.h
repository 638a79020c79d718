// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TLobbyConnection: the lobby window's socket `ct`. It connects to the lobby server by address
// or by host name (looked up without blocking), sends each message in one write, and hands on
// the messages of each read: one read is one message, as the lobby's format has no delimiter,
// except players' list rows that arrived together (LobbyProtocol::SplitServerRead). A server
// that floods is dropped. No widgets here: the window shows what the signals report.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QTcpSocket;

class TLobbyConnection : public QObject {
    Q_OBJECT
public:
    explicit TLobbyConnection(QObject* parent = nullptr);
    ~TLobbyConnection() override;

    // Starts connecting; the outcome arrives as connected() or failed(). A connection or an
    // attempt already under way is closed first, without a signal.
    void ConnectTo(const QString& host, quint16 port);
    // Closes without raising closed(): the caller knows.
    void Close();
    bool Send(const QByteArray& message);
    bool IsConnected() const;
    bool IsConnecting() const;

    // A server that sends more than this many messages in one second, or one read over
    // MaxRead bytes, is flooding.
    static constexpr int MaxPerSecond = 200;
    static constexpr qint64 MaxRead = 64 * 1024;

signals:
    void connected();
    void messageReceived(const QByteArray& message);
    // The server closed the connection, or the network did.
    void closed();
    // A socket error: its number and the system's reason. The socket is closed.
    void failed(int code, const QString& reason);
    void flooded();

private:
    void OnReadyRead();
    void OnError();

    QPointer<QTcpSocket> ct;
    QElapsedTimer Window_;
    int InWindow_ = 0;
};
