// SPDX-License-Identifier: GPL-3.0-or-later
// One main window as the NetGame server against a raw socket peer written here from the wire
// format: split and joined messages, garbage, floods, hostile names, impossible moves, a long
// game played as fast as the socket takes it, and a long game sent in one write.
#include "net/NetProtocol.h"
#include "net/PeerMove.h"
#include "netui/OpInfo.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/net/NetTestKit.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>

#include <cstdio>
#include <memory>

using namespace NetProtocol;

namespace {

struct TRawPeer {
    QTcpSocket Socket;
    QByteArray Received;
    TRawPeer() {
        QObject::connect(&Socket, &QTcpSocket::readyRead, [this] { Received += Socket.readAll(); });
        Socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }
    void Send(const QByteArray& bytes) {
        Socket.write(bytes);
        Socket.flush();
    }
    // Each byte in a write of its own, given to the network before the next.
    void SendBytewise(const QByteArray& bytes) {
        for (char c : bytes) {
            Send(QByteArray(1, c));
            QCoreApplication::processEvents();
        }
    }
};

// A legal game of `plies` half-moves that neither ends nor repeats a placement three times,
// as placements after each half-move.
std::vector<std::string> RandomGame(int plies, quint32 seed) {
    for (;; ++seed) {
        QRandomGenerator rng(seed);
        TChessGame game;
        std::vector<std::string> out;
        while (static_cast<int>(out.size()) < plies) {
            const auto moves = game.LegalMoves();
            std::vector<std::pair<Square, Square>> ok;
            for (const auto& m : moves) {
                TChessGame probe = game.Detached();
                if (probe.MakeMove(m.first, m.second) && !probe.LegalMoves().empty())
                    ok.push_back(m);
            }
            if (ok.empty())
                break;
            const auto& m = ok[rng.bounded(static_cast<quint32>(ok.size()))];
            game.MakeMove(m.first, m.second);
            out.push_back(game.Position());
        }
        if (static_cast<int>(out.size()) == plies)
            return out;
    }
}

std::string After(const std::string& position, const char* fromTo) {
    TChessGame g;
    g.SetPosition(position);
    const Square from = ParseSquare(std::string(fromTo, 2));
    g.SetWhiteToMove(g.ColourAt(from) == PieceColour::White);
    if (!g.MakeMove(from, ParseSquare(std::string(fromTo + 2, 2))))
        return {};
    return g.Position();
}

} // namespace

class TestNetGamePeer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void splitAndJoinedMessages();
    void garbageLeavesTheGameStanding();
    void floodIsCutOff();
    void richTextNameStaysText();
    void impossibleMoveIsPlaced();
    void quickSuccessionLosesNothing();
    void moveFloodIsRefused();
    void moveInsideTextIsText();
    void lastWordsBeforeClosing();
    void endlessChatKeepsTheLatestLines();

private:
    std::unique_ptr<TTestFolder> Folder_;
    std::unique_ptr<TfrmCorvina> W_;
    std::unique_ptr<TRawPeer> Peer_;
};

void TestNetGamePeer::init() {
    Folder_ = std::make_unique<TTestFolder>();
    QVERIFY(Folder_->Prepare({}, {{"Default", DefaultProfile}}));
    W_ = std::make_unique<TfrmCorvina>();
    W_->show();
    const quint16 port = FreePort();
    StartNet(*W_, port, "Host", false);
    QCOMPARE(ChatLines(*W_), QStringList({"[Chat Messages]", "Listening...",
                                          "Awaiting for connection (listening)...."}));
    Peer_ = std::make_unique<TRawPeer>();
    Peer_->Socket.connectToHost(QHostAddress::LocalHost, port);
    QTRY_COMPARE(W_->NetGame()->State(), TNetGame::TState::Playing);
    QTRY_COMPARE(Peer_->Received, QByteArray("inf Host"));
    Peer_->Received.clear();
}

void TestNetGamePeer::cleanup() {
    Peer_.reset();
    W_.reset();
    Folder_.reset();
}

void TestNetGamePeer::splitAndJoinedMessages() {
    TfrmCorvina& w = *W_;
    Peer_->SendBytewise("inf Rawpeer");
    QTRY_COMPARE(Ctl<QLabel>(w, "Player2")->text(), QString("Rawpeer"));

    QVERIFY(PlayMoves(w, {"e2e4"}));
    const std::string p1 = w.Board()->Position();
    QTRY_COMPARE(Peer_->Received, "mov " + QByteArray::fromStdString(p1));
    QVERIFY(!w.Board()->isEnabled());

    // Black's answer, one byte per write.
    const std::string p2 = After(p1, "e7e5");
    Peer_->Received.clear();
    Peer_->SendBytewise(FormatMove(p2));
    QTRY_COMPARE(w.Board()->Position(), p2);
    QVERIFY(w.Board()->isEnabled());
    QVERIFY(w.Board()->WhiteToMove());

    // A move and a chat line right after it in one write.
    QVERIFY(PlayMoves(w, {"g1f3"}));
    const std::string p3 = w.Board()->Position();
    QTRY_COMPARE(Peer_->Received, "mov " + QByteArray::fromStdString(p3));
    const std::string p4 = After(p3, "b8c6");
    Peer_->Send(FormatMove(p4) + FormatChat("Rawpeer: one"));
    QTRY_COMPARE(ChatLines(w).mid(1), QStringList({"Rawpeer: one"}));
    QCOMPARE(w.Board()->Position(), p4);
    QCOMPARE(MoveLines(w),
             QStringList({"1. E2-E4", "              E7-E5", "2. G1-F3", "              B8-C6"}));
    QCOMPARE(w.NetGame()->Counts().MovesPlayed, 2);
}

void TestNetGamePeer::garbageLeavesTheGameStanding() {
    TfrmCorvina& w = *W_;
    QRandomGenerator rng(6);
    QByteArray junk(3000, Qt::Uninitialized);
    for (char& c : junk)
        c = static_cast<char>(rng.bounded(256));
    junk[0] = '\xff';
    const std::string before = w.Board()->Position();
    Peer_->Send(junk);
    Peer_->Send(junk.left(100));
    QTest::qWait(3 * TNetConnection::QuietMs);
    Peer_->Send(FormatChat("Rawpeer: still here"));
    QTRY_COMPARE(ChatLines(w).last(), QString("Rawpeer: still here"));
    QCOMPARE(w.NetGame()->State(), TNetGame::TState::Playing);
    QCOMPARE(w.Board()->Position(), before);
    QVERIFY(OpenBox(w) == nullptr);
    // The game goes on.
    QVERIFY(PlayMoves(w, {"d2d4"}));
    QTRY_VERIFY(Peer_->Received.startsWith("mov "));
}

void TestNetGamePeer::floodIsCutOff() {
    TfrmCorvina& w = *W_;
    const qsizetype total = 1024 * 1024;
    QByteArray flood = "txt ";
    flood.append(QByteArray(total - 4, 'A'));
    Peer_->Send(flood);
    QTRY_COMPARE(w.NetGame()->State(), TNetGame::TState::Idle);
    const QString line = ChatLines(w).last();
    QVERIFY2(line.startsWith("The opponent sent ") && line.contains("without one complete message"),
             qPrintable(line));
    const qsizetype held = line.section(' ', 3, 3).toLongLong();
    QVERIFY(held > MaxPending && held <= 2 * MaxPending);
    QMessageBox* box = OpenBox(w);
    QVERIFY(box);
    QCOMPARE(box->text(), QString("Opponent disconnected!"));
    QCOMPARE(box->detailedText(), line);
    QCOMPARE(TakeBoxes(w).size(), 1);
    QTRY_COMPARE(Peer_->Socket.state(), QAbstractSocket::UnconnectedState);
    const auto shown = Ctl<QPlainTextEdit>(w, "chatlog")->toPlainText().count('A');
    std::printf("flood: %lld bytes sent; connection closed with %lld bytes held (limit %lld); "
                "%lld characters of it shown\n",
                static_cast<long long>(total), static_cast<long long>(held),
                static_cast<long long>(MaxPending), static_cast<long long>(shown));
    QCOMPARE(shown, 0);
}

void TestNetGamePeer::richTextNameStaysText() {
    TfrmCorvina& w = *W_;
    const int right = Ctl<QLabel>(w, "Player2")->geometry().right();
    const QString name = "<img src=\"x.png\"><a href=\"http://x\">Click</a>";
    Peer_->Send(FormatInfo(name) + "\x01\x02");
    QTRY_COMPARE(Ctl<QLabel>(w, "Player2")->text(), name);
    QCOMPARE(Ctl<QLabel>(w, "Player2")->textFormat(), Qt::PlainText);
    QCOMPARE(Ctl<QLabel>(w, "Player2")->geometry().right(), right);
    Peer_->Send(FormatChat("<b>bold</b>\x07"));
    QTRY_COMPARE(ChatLines(w).last(), QString("<b>bold</b>"));
    Ctl<QAction>(w, "mnuOpInfo")->trigger();
    QCOMPARE(w.NetGame()->OpInfoDialog().txtName->text(), name);
    QCOMPARE(w.NetGame()->OpInfoDialog().txtIP->text(), QString("127.0.0.1"));
    w.NetGame()->OpInfoDialog().close();

    // A name longer than 64 characters is cut there; the label shows what fits beside the board.
    Peer_->Send(FormatInfo(QString(200, 'n')));
    QTRY_COMPARE(w.Hook().Player2(), QString(64, 'n'));
    QVERIFY(Ctl<QLabel>(w, "Player2")->geometry().left() >= w.Board()->geometry().left());
}

void TestNetGamePeer::impossibleMoveIsPlaced() {
    TfrmCorvina& w = *W_;
    QVERIFY(PlayMoves(w, {"e2e4"}));
    QTRY_VERIFY(Peer_->Received.startsWith("mov "));
    // Two black half-moves at once is no single legal half-move: the placement is taken as
    // it is, the side to move flips, and the lists are left alone.
    std::string p = After(After(w.Board()->Position(), "e7e5"), "g1f3");
    p = After(p, "d7d5");
    const int events = Ctl<QListWidget>(w, "events")->count();
    Peer_->Send(FormatMove(p));
    QTRY_COMPARE(w.Board()->Position(), p);
    QVERIFY(w.Board()->WhiteToMove());
    QVERIFY(w.Board()->isEnabled());
    QCOMPARE(MoveLines(w).size(), 1);
    QCOMPARE(Ctl<QListWidget>(w, "events")->count(), events);
    QCOMPARE(w.NetGame()->Counts().MovesPlayed, 0);

    // Letters the board does not know become empty squares.
    QVERIFY(PlayMoves(w, {"b1c3"}));
    p = w.Board()->Position();
    std::string odd = p;
    odd[0] = 'x';
    odd[63] = '#';
    Peer_->Send(FormatMove(odd));
    odd[0] = ' ';
    odd[63] = ' ';
    QTRY_COMPARE(w.Board()->Position(), odd);
    QVERIFY(w.Board()->WhiteToMove());
    QCOMPARE(w.NetGame()->State(), TNetGame::TState::Playing);
}

// A peer playing as a copy of ours does, as fast as the socket takes it: its half-move and a
// chat line in one write right after ours arrives, while the window says a line of its own
// after each. Every move is played and every line arrives.
void TestNetGamePeer::quickSuccessionLosesNothing() {
    TfrmCorvina& w = *W_;
    w.Board()->SetAnimateMoves(false);
    const int count = 120;
    const std::vector<std::string> game = RandomGame(count, 15);
    QByteArray wire;
    auto line = [](int i) { return QString("line %1").arg(i, 3, 10, QChar('0')); };
    for (int i = 0; i < count; i += 2) {
        const auto ours = FindPeerMove(*w.Board(), game[i]);
        QVERIFY(ours && !ours->Promotion);
        QVERIFY(w.Board()->PlayUserMove(ours->From, ours->To));
        wire += FormatMove(game[i]);
        QTRY_COMPARE(Peer_->Received.size(), wire.size());
        Peer_->Send(FormatMove(game[i + 1]) + FormatChat("Rawpeer: " + line(i)));
        QTRY_COMPARE(w.NetGame()->Counts().MovesPlayed, i / 2 + 1);
        Ctl<QLineEdit>(w, "txtmsg")->setText(line(i));
        Ctl<QPushButton>(w, "cmdSay")->click();
        wire += FormatChat("Host: " + line(i));
    }
    QTRY_COMPARE(w.NetGame()->Counts().ChatsReceived, count / 2);
    QCOMPARE(w.NetGame()->Counts().MovesRefused, 0);
    QCOMPARE(w.Board()->Position(), game.back());
    QCOMPARE(MoveLines(w).size(), count);
    QStringList host, peer;
    for (int i = 0; i < count; i += 2) {
        host << "Host: " + line(i);
        peer << "Rawpeer: " + line(i);
    }
    const QStringList shown = ChatLines(w);
    QCOMPARE(shown.filter(QRegularExpression("^Host: ")), host);
    QCOMPARE(shown.filter(QRegularExpression("^Rawpeer: ")), peer);
    QTRY_COMPARE(Peer_->Received.size(), wire.size());
    QCOMPARE(Peer_->Received, wire); // nothing sent back for the peer's own moves
}

// The attack of a whole long game, both colours, in one write: the window handles its input
// between the messages, plays the one move that was the peer's turn, refuses the rest, says
// so, and closes the connection as the peer goes on.
void TestNetGamePeer::moveFloodIsRefused() {
    TfrmCorvina& w = *W_;
    const int count = 204;
    const std::vector<std::string> game = RandomGame(count, 15);
    const auto first = FindPeerMove(*w.Board(), game[0]);
    QVERIFY(first && PlayMoves(w, {QString::fromStdString(SquareName(first->From) +
                                                          SquareName(first->To))}));
    QTRY_VERIFY(Peer_->Received.startsWith("mov "));
    QByteArray flood;
    for (int i = 1; i < count; ++i)
        flood += FormatMove(game[i]);

    // The user's input that arrives while the flood is handled: a chat line typed and a menu
    // item chosen, posted as the window's first flood message is handled.
    TNetConnection& link = w.NetGame()->Connection();
    QElapsedTimer clock;
    int chatAt = -1, menuAt = -1;
    qint64 chatMs = -1, menuMs = -1;
    QPushButton* say = Ctl<QPushButton>(w, "cmdSay");
    QAction* opInfo = Ctl<QAction>(w, "mnuOpInfo");
    connect(say, &QPushButton::clicked, this, [&] {
        chatAt = w.NetGame()->Counts().MovesReceived;
        chatMs = clock.elapsed();
    });
    connect(opInfo, &QAction::triggered, this, [&] {
        menuAt = w.NetGame()->Counts().MovesReceived;
        menuMs = clock.elapsed();
    });
    const auto posted = connect(&link, &TNetConnection::moveReceived, this, [&] {
        if (clock.isValid())
            return;
        clock.start();
        Ctl<QLineEdit>(w, "txtmsg")->setText("hello?");
        QMetaObject::invokeMethod(say, &QPushButton::click, Qt::QueuedConnection);
        QMetaObject::invokeMethod(opInfo, &QAction::trigger, Qt::QueuedConnection);
    });
    Peer_->Send(flood);
    QTRY_COMPARE(w.NetGame()->State(), TNetGame::TState::Idle);
    disconnect(posted);
    const TNetGame::TCounts counts = w.NetGame()->Counts();
    std::printf("move flood: %d half-moves in one write of %lld bytes; %d handled (%d played, %d "
                "refused) before the connection was closed; the chat line was handled %lld ms "
                "and the menu item %lld ms after being posted, at flood messages %d and %d\n",
                count - 1, static_cast<long long>(flood.size()), counts.MovesReceived,
                counts.MovesPlayed, counts.MovesRefused, static_cast<long long>(chatMs),
                static_cast<long long>(menuMs), chatAt, menuAt);
    // The input came between the flood's messages, not after them.
    QVERIFY(chatAt >= 1 && chatAt < counts.MovesReceived);
    QVERIFY(menuAt >= 1 && menuAt < counts.MovesReceived);
    QCOMPARE(counts.MovesPlayed, 1);
    QCOMPARE(counts.MovesRefused, TNetGame::MaxRefusedMoves);
    const QStringList chat = ChatLines(w);
    QCOMPARE(chat.count("The opponent sent a move while it was your turn; it was not played."), 1);
    QVERIFY(chat.contains("Host: hello?"));
    const QString closing = QString("The opponent sent %1 moves while it was your turn; the "
                                    "connection was closed.")
                                .arg(TNetGame::MaxRefusedMoves);
    QCOMPARE(chat.last(), closing);
    QMessageBox* box = OpenBox(w);
    QVERIFY(box);
    QCOMPARE(box->text(), QString("Opponent disconnected!"));
    QCOMPARE(box->detailedText(), closing);
    TakeBoxes(w);
    w.NetGame()->OpInfoDialog().close();
    QTRY_COMPARE(Peer_->Socket.state(), QAbstractSocket::UnconnectedState);
}

// A chat line and a name that hold "mov " and a whole placement are text, not moves.
void TestNetGamePeer::moveInsideTextIsText() {
    TfrmCorvina& w = *W_;
    const std::string before = w.Board()->Position();
    const QByteArray move = FormatMove(After(before, "e2e4"));
    const QString line = "Rawpeer: try " + QString::fromLatin1(move) + " now";
    Peer_->Send(FormatChat(line));
    QTRY_COMPARE(ChatLines(w).last(), line);
    Peer_->Send(FormatInfo(QString::fromLatin1(move)));
    QTRY_COMPARE(w.Hook().Player2(), QString::fromLatin1(move).left(MaxNameLength));
    QCOMPARE(w.NetGame()->Counts().MovesReceived, 0);
    QCOMPARE(w.Board()->Position(), before);
    QVERIFY(w.Board()->WhiteToMove());
}

// A peer that says goodbye and closes at once: its last line and its name arrive with the
// end of the connection, before the link could go quiet, and are still shown.
void TestNetGamePeer::lastWordsBeforeClosing() {
    TfrmCorvina& w = *W_;
    Peer_->Send(FormatInfo("Leaver"));
    QTRY_COMPARE(w.NetGame()->Counts().NamesReceived, 1);
    Peer_->Send(FormatChat("Leaver: good game"));
    Peer_->Socket.disconnectFromHost();
    QTRY_COMPARE(w.NetGame()->State(), TNetGame::TState::Idle);
    QCOMPARE(ChatLines(w).last(), QString("Leaver: good game"));
    QCOMPARE(TakeBoxes(w), QStringList{"Opponent disconnected!"});
}

// A peer that chats without end, one line per write: the chat shows the latest lines and no
// more. (Lines that happen to share a read are one message, as the format has it.)
void TestNetGamePeer::endlessChatKeepsTheLatestLines() {
    TfrmCorvina& w = *W_;
    const int target = MaxChatLines + 300;
    int sent = 0;
    while (w.NetGame()->Counts().ChatsReceived < target && sent < 10 * target) {
        Peer_->Send(FormatChat(QString("Rawpeer: %1").arg(sent++)));
        QCoreApplication::processEvents();
    }
    const QString last = QString("Rawpeer: %1").arg(sent - 1);
    QTRY_VERIFY(ChatLines(w).last().endsWith(last));
    const QStringList shown = ChatLines(w);
    QVERIFY2(shown.size() <= MaxChatLines, qPrintable(QString::number(shown.size())));
    QCOMPARE(w.NetGame()->State(), TNetGame::TState::Playing);
}

QTEST_MAIN(TestNetGamePeer)
#include "tst_netgame_peer.moc"
