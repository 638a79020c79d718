// SPDX-License-Identifier: GPL-3.0-or-later
// One main window as the NetGame server against a raw socket peer written here from the wire
// format: split and joined messages, garbage, floods, hostile names, impossible moves, and
// a long game sent as fast as the socket takes it.
#include "net/NetProtocol.h"
#include "net/OpInfo.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/net/NetTestKit.h"

#include <QListWidget>
#include <QRandomGenerator>
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

    // A chat line, a move and another chat line in one write.
    QVERIFY(PlayMoves(w, {"g1f3"}));
    const std::string p3 = w.Board()->Position();
    QTRY_COMPARE(Peer_->Received, "mov " + QByteArray::fromStdString(p3));
    const std::string p4 = After(p3, "b8c6");
    Peer_->Send(FormatChat("Rawpeer: one") + FormatMove(p4) + FormatChat("Rawpeer: two"));
    QTRY_COMPARE(ChatLines(w).mid(1), QStringList({"Rawpeer: one", "Rawpeer: two"}));
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
    QTRY_COMPARE(w.Player2(), QString(64, 'n'));
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
    std::string odd = p;
    odd[0] = 'x';
    odd[63] = '#';
    Peer_->Send(FormatMove(odd));
    odd[0] = ' ';
    odd[63] = ' ';
    QTRY_COMPARE(w.Board()->Position(), odd);
    QVERIFY(!w.Board()->WhiteToMove());
    QCOMPARE(w.NetGame()->State(), TNetGame::TState::Playing);
}

void TestNetGamePeer::quickSuccessionLosesNothing() {
    TfrmCorvina& w = *W_;
    const int count = 200;
    const std::vector<std::string> game = RandomGame(count, 15);
    // Both sides' half-moves come from the peer here: each must be played as a half-move.
    for (int i = 0; i < count; ++i) {
        Peer_->Socket.write(FormatMove(game[i]));
        Peer_->Socket.write(FormatChat(QString("Rawpeer: line %1").arg(i + 1, 3, 10, QChar('0'))));
    }
    // And the window says 200 lines back as fast as it can.
    for (int i = 0; i < count; ++i) {
        Ctl<QLineEdit>(w, "txtmsg")->setText(QString("line %1").arg(i + 1, 3, 10, QChar('0')));
        Ctl<QPushButton>(w, "cmdSay")->click();
    }
    QTRY_COMPARE_WITH_TIMEOUT(w.NetGame()->Counts().ChatsReceived, count, CORVINA_TRY_MS);
    QTRY_COMPARE_WITH_TIMEOUT(w.NetGame()->Counts().MovesReceived, count, CORVINA_TRY_MS);
    QCOMPARE(w.NetGame()->Counts().MovesPlayed, count);
    QCOMPARE(w.Board()->Position(), game.back());
    QCOMPARE(MoveLines(w).size(), count);
    QStringList expected;
    for (int i = 0; i < count; ++i)
        expected << QString("Rawpeer: line %1").arg(i + 1, 3, 10, QChar('0'));
    QStringList shown;
    for (const QString& l : ChatLines(w))
        if (l.startsWith("Rawpeer: "))
            shown << l;
    QCOMPARE(shown, expected);

    QByteArray wire;
    for (int i = 0; i < count; ++i)
        wire += FormatChat(QString("Host: line %1").arg(i + 1, 3, 10, QChar('0')));
    QTRY_COMPARE_WITH_TIMEOUT(Peer_->Received.size(), wire.size(), CORVINA_TRY_MS);
    QCOMPARE(Peer_->Received, wire); // nothing sent back for the peer's own moves
    std::printf("quick succession: peer -> window: %d moves and %d chat lines sent, %d and %d "
                "received, %d lost; window -> peer: %d chat lines sent, %lld bytes of %lld "
                "received, %d lost\n",
                count, count, w.NetGame()->Counts().MovesPlayed,
                w.NetGame()->Counts().ChatsReceived,
                2 * count - w.NetGame()->Counts().MovesPlayed - w.NetGame()->Counts().ChatsReceived,
                w.NetGame()->Counts().ChatsSent, static_cast<long long>(Peer_->Received.size()),
                static_cast<long long>(wire.size()), count - w.NetGame()->Counts().ChatsSent);
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

// A peer that chats without end, each line ended by a move so that no line runs into the next:
// the chat shows the latest lines and no more.
void TestNetGamePeer::endlessChatKeepsTheLatestLines() {
    TfrmCorvina& w = *W_;
    const QByteArray here = FormatMove(w.Board()->Position());
    const int lines = MaxChatLines + 300;
    QByteArray all;
    for (int i = 0; i < lines; ++i)
        all += FormatChat(QString("Rawpeer: %1").arg(i)) + here;
    Peer_->Send(all);
    QTRY_COMPARE_WITH_TIMEOUT(w.NetGame()->Counts().ChatsReceived, lines, CORVINA_TRY_MS);
    const QStringList shown = ChatLines(w);
    QVERIFY2(shown.size() <= MaxChatLines, qPrintable(QString::number(shown.size())));
    QCOMPARE(shown.last(), QString("Rawpeer: %1").arg(lines - 1));
    QCOMPARE(w.NetGame()->State(), TNetGame::TState::Playing);
}

QTEST_MAIN(TestNetGamePeer)
#include "tst_netgame_peer.moc"
