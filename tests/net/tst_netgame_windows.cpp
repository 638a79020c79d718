// SPDX-License-Identifier: GPL-3.0-or-later
// Two main windows in one process playing a NetGame over real loopback sockets: connection,
// names, a whole game to mate with chat both ways, ending from either side, commands that
// would change the board asking to end the game first, the peer vanishing, failures, and
// what the windows show at every stage.
#include "app/ProgramTexts.h"
#include "netui/OpInfo.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/net/NetTestKit.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QTcpSocket>

#include <memory>

namespace {} // namespace

class TestNetGameWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void connectionAndNames();
    void wholeGameToMate();
    void endFromServer();
    void endFromClient();
    void commandsAskToEndTheGame();
    void peerVanishes();
    void extraConnectionRefused();
    void failedConnect();
    void portInUse();
    void waitingServerAndCancelledAttempt();
    void ipv6AndHostNames();

private:
    // Server and client connected and greeted.
    void Connect(const QString& address = "127.0.0.1");
    std::unique_ptr<TTestFolder> Folder_;
    std::unique_ptr<TfrmCorvina> S_; // listens, plays White
    std::unique_ptr<TfrmCorvina> C_; // connects, plays Black
    quint16 Port_ = 0;
    int IdleHeight_ = 0;
};

void TestNetGameWindows::init() {
    Folder_ = std::make_unique<TTestFolder>();
    QVERIFY(Folder_->Prepare({}, {{"Default", DefaultProfile}}));
    S_ = std::make_unique<TfrmCorvina>();
    C_ = std::make_unique<TfrmCorvina>();
    S_->show();
    C_->show();
    IdleHeight_ = S_->height();
    Port_ = FreePort();
    QVERIFY(Port_ != 0);
}

void TestNetGameWindows::cleanup() {
    C_.reset();
    S_.reset();
    Folder_.reset();
}

void TestNetGameWindows::Connect(const QString& address) {
    StartNet(*S_, Port_, "Alice", false);
    StartNet(*C_, Port_, "Bob", true, address);
    QTRY_COMPARE(S_->NetGame()->State(), TNetGame::TState::Playing);
    QTRY_COMPARE(C_->NetGame()->State(), TNetGame::TState::Playing);
    QTRY_COMPARE(Ctl<QLabel>(*S_, "Player2")->text(), QString("Bob"));
    QTRY_COMPARE(Ctl<QLabel>(*C_, "Player1")->text(), QString("Alice"));
}

void TestNetGameWindows::connectionAndNames() {
    TfrmCorvina& s = *S_;
    TfrmCorvina& c = *C_;
    // The server's Player2 grows to the left: its right edge stays over the board's.
    const int right = Ctl<QLabel>(s, "Player2")->geometry().right();
    QVERIFY(PlayMoves(s, {"e2e4"})); // a game against the engine before the NetGame
    StartNet(s, Port_, "Alice", false);
    QCOMPARE(s.height(), IdleHeight_ + 150);
    QVERIFY(!Ctl<QAction>(s, "mnuStartNetGame")->isEnabled());
    QVERIFY(Ctl<QAction>(s, "mnuEndNetGame")->isEnabled() &&
            Ctl<QAction>(s, "mnuOpInfo")->isEnabled());
    QCOMPARE(s.NetGame()->State(), TNetGame::TState::Waiting);
    StartNet(c, Port_, "Bob the Builder", true);
    QCOMPARE(ChatLines(c), QStringList({"[Chat Messages]", "Attemping to connect to 127.0.0.1"}));
    QVERIFY(!c.NetGame()->StartDialog().isVisible());
    QTRY_COMPARE(Ctl<QLabel>(s, "Player2")->text(), QString("Bob the Builder"));
    QTRY_COMPARE(Ctl<QLabel>(c, "Player1")->text(), QString("Alice"));
    QCOMPARE(Ctl<QLabel>(s, "Player2")->geometry().right(), right);
    QVERIFY(Ctl<QLabel>(s, "Player2")->width() > 60);
    QCOMPARE(Ctl<QLabel>(s, "Player1")->text(), QString("Alice"));
    QCOMPARE(Ctl<QLabel>(c, "Player2")->text(), QString("Bob the Builder"));
    for (TfrmCorvina* w : {&s, &c}) {
        QCOMPARE(ChatLines(*w), QStringList({"[Chat Messages]"}));
        QVERIFY(w->Hook().NetGameActive());
        QVERIFY(w->Board()->CustomEngine());
        QCOMPARE(w->Board()->Position(), std::string(StartPosition));
        QVERIFY(MoveLines(*w).isEmpty());
        QCOMPARE(w->height(), IdleHeight_ + 150);
        QVERIFY(!Ctl<QAction>(*w, "mnuPrevious")->isEnabled() &&
                !Ctl<QAction>(*w, "mnuNext")->isEnabled() &&
                !Ctl<QAction>(*w, "mnuGoToMove")->isEnabled());
        QVERIFY(Ctl<QPushButton>(*w, "cmdSay")->isDefault());
        QVERIFY(OpenBox(*w) == nullptr);
    }
    QVERIFY(!s.Board()->ComputerPlaysWhite() && s.Board()->ComputerPlaysBlack());
    QVERIFY(c.Board()->ComputerPlaysWhite() && !c.Board()->ComputerPlaysBlack());
    // The client plays Black: its board turns, and its check mark says so.
    QVERIFY(c.Board()->WhiteOnTop() && Ctl<QAction>(c, "mnuWOT")->isChecked());
    QVERIFY(!s.Board()->WhiteOnTop() && !Ctl<QAction>(s, "mnuWOT")->isChecked());
    QVERIFY(s.Board()->isEnabled());
    QVERIFY(!c.Board()->isEnabled()); // White moves first

    Ctl<QAction>(c, "mnuOpInfo")->trigger();
    TfrmOpInfo& info = c.NetGame()->OpInfoDialog();
    QCOMPARE(info.txtName->text(), QString("Alice"));
    QCOMPARE(info.txtIP->text(), QString("127.0.0.1"));
    QVERIFY(info.isVisible());
    info.cmdClose->click();
}

void TestNetGameWindows::wholeGameToMate() {
    Connect();
    TfrmCorvina& s = *S_;
    TfrmCorvina& c = *C_;
    // Castling on the way and a mate at the end.
    const QStringList moves = {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "d7d6", "e1g1", "c8g4",
                               "b1c3", "g7g6", "f3e5", "g4d1", "c4f7", "e8e7", "c3d5"};
    for (int i = 0; i < moves.size(); ++i) {
        TfrmCorvina& mover = i % 2 == 0 ? s : c;
        TfrmCorvina& other = i % 2 == 0 ? c : s;
        QVERIFY2(mover.Board()->isEnabled(), qPrintable(moves[i]));
        QVERIFY(PlayMoves(mover, {moves[i]}));
        QVERIFY(!mover.Board()->isEnabled());
        QTRY_COMPARE(other.Board()->Position(), mover.Board()->Position());
        QVERIFY(other.Board()->isEnabled());
        QCOMPARE(other.Board()->WhiteToMove(), mover.Board()->WhiteToMove());
        if (i == 3) {
            Ctl<QLineEdit>(c, "txtmsg")->setText("hi Alice");
            QTest::keyClick(Ctl<QLineEdit>(c, "txtmsg"), Qt::Key_Return);
            Ctl<QLineEdit>(s, "txtmsg")->setText("hello Bob");
            Ctl<QPushButton>(s, "cmdSay")->click();
            // A move written right behind a chat line can share its read and then stays
            // text; a person takes longer than that between the two.
            QTRY_COMPARE(ChatLines(s).size(), 3);
            QTRY_COMPARE(ChatLines(c).size(), 3);
        }
    }
    QTRY_COMPARE(ChatLines(s).size(), 3);
    QTRY_COMPARE(ChatLines(c).size(), 3);
    // Each side shows its own line at once and the other's when it arrives.
    QCOMPARE(ChatLines(s), QStringList({"[Chat Messages]", "Alice: hello Bob", "Bob: hi Alice"}));
    QCOMPARE(ChatLines(c), QStringList({"[Chat Messages]", "Bob: hi Alice", "Alice: hello Bob"}));

    // Both sides hold the whole game, with the events of every half-move.
    QCOMPARE(MoveLines(s).size(), moves.size());
    QCOMPARE(MoveLines(s), MoveLines(c));
    QCOMPARE(MoveLines(s).at(6), QString("4. E1-G1"));
    QCOMPARE(ListTexts(s, "events"), ListTexts(c, "events"));
    QCOMPARE(ListTexts(s, "events").mid(0, 2), QStringList({"Mate!!!", "Check!"}));
    QVERIFY(ListTexts(s, "events").contains("Castle!"));
    QCOMPARE(Ctl<QLabel>(s, "wp")->text(), Ctl<QLabel>(c, "wp")->text());
    QCOMPARE(Ctl<QLabel>(s, "bp")->text(), Ctl<QLabel>(c, "bp")->text());
    QCOMPARE(Ctl<QListWidget>(s, "black")->item(0)->text(), QString("2 Pawns"));
    QCOMPARE(Ctl<QListWidget>(c, "black")->item(0)->text(), QString("2 Pawns"));
    QCOMPARE(Ctl<QListWidget>(c, "white")->item(4)->text(), QString("1 Queens"));
    QCOMPARE(Ctl<QListWidget>(s, "white")->item(4)->text(), QString("1 Queens"));
    // One "mov" per half-move, castling included; every received one played as a half-move.
    QCOMPARE(s.NetGame()->Counts().MovesSent, 8);
    QCOMPARE(c.NetGame()->Counts().MovesSent, 7);
    QCOMPARE(c.NetGame()->Counts().MovesPlayed, 8);
    QCOMPARE(s.NetGame()->Counts().MovesPlayed, 7);
    QVERIFY(c.Board()->GameOver());
}

// The opponent leaves in the middle of a game: the game stays on both boards with its move
// list and events, unlinked, and can be saved; only the side that stayed is told.
void TestNetGameWindows::endFromServer() {
    Connect();
    TfrmCorvina& s = *S_;
    TfrmCorvina& c = *C_;
    QVERIFY(PlayMoves(s, {"e2e4"}));
    QTRY_VERIFY(c.Board()->isEnabled());
    QVERIFY(PlayMoves(c, {"d7d5"}));
    QTRY_VERIFY(s.Board()->isEnabled());
    QVERIFY(PlayMoves(s, {"e4d5"}));
    QTRY_COMPARE(c.Board()->Position(), s.Board()->Position());
    const std::string position = s.Board()->Position();
    const QStringList moves = MoveLines(s);
    QCOMPARE(moves.size(), 3);
    Ctl<QAction>(s, "mnuEndNetGame")->trigger();
    QTRY_COMPARE(c.NetGame()->State(), TNetGame::TState::Idle);
    QCOMPARE(TakeBoxes(c), QStringList({"Opponent disconnected!"}));
    QVERIFY(TakeBoxes(s).isEmpty());
    for (TfrmCorvina* w : {&s, &c}) {
        QCOMPARE(w->NetGame()->State(), TNetGame::TState::Idle);
        QVERIFY(!w->Hook().NetGameActive());
        QCOMPARE(w->height(), IdleHeight_);
        QVERIFY(Ctl<QAction>(*w, "mnuStartNetGame")->isEnabled());
        QVERIFY(!Ctl<QAction>(*w, "mnuEndNetGame")->isEnabled() &&
                !Ctl<QAction>(*w, "mnuOpInfo")->isEnabled());
        QVERIFY(Ctl<QAction>(*w, "mnuPrevious")->isEnabled() &&
                Ctl<QAction>(*w, "mnuNext")->isEnabled() &&
                Ctl<QAction>(*w, "mnuGoToMove")->isEnabled());
        QVERIFY(!w->Board()->CustomEngine());
        QVERIFY(!w->Board()->ComputerPlaysBlack() && !w->Board()->ComputerPlaysWhite());
        QVERIFY(!w->Board()->WhiteOnTop()); // turned back once the game is over
        QCOMPARE(w->Board()->Position(), position);
        QCOMPARE(MoveLines(*w), moves);
        QCOMPARE(ListTexts(*w, "black")[0], QString("1 Pawns"));
        QVERIFY(w->Board()->isEnabled());
        QVERIFY(!Ctl<QPushButton>(*w, "cmdSay")->isDefault());
    }
    QCOMPARE(Ctl<QLabel>(c, "Player1")->text(), QString("Alice"));
    QCOMPARE(Ctl<QLabel>(c, "Player2")->text(), QString("Bob"));
    // The game is the client's to keep: saved, it loads back whole.
    QVERIFY(c.Hook().SaveGameTo(Folder_->Dir.filePath("net.cvg")));
    const QStringList tail = {QString::fromStdString(position), "Alice", "Bob", "false", "false"};
    QCOMPARE(Folder_->Read("net.cvg"), moves + tail);
    QVERIFY(c.Hook().LoadGameFrom(Folder_->Dir.filePath("net.cvg")));
    QVERIFY(!c.Board()->WhiteToMove());
    c.Hook().Trigger("mnuPrevious");
    QCOMPARE(MoveLines(c), moves.mid(0, 2));
    QVERIFY(Folder_->Errors.isEmpty());
}

// The side that ends the game is not told its opponent left; a new game clears the old one's
// names and events.
void TestNetGameWindows::endFromClient() {
    Connect();
    TfrmCorvina& s = *S_;
    TfrmCorvina& c = *C_;
    QVERIFY(PlayMoves(s, {"e2e4"}));
    QTRY_VERIFY(c.Board()->isEnabled());
    QVERIFY(PlayMoves(c, {"f7f6"}));
    QTRY_VERIFY(s.Board()->isEnabled());
    QVERIFY(PlayMoves(s, {"d1h5"}));
    QTRY_COMPARE(ListTexts(c, "events"), QStringList{"Check!"});
    Ctl<QAction>(c, "mnuEndNetGame")->trigger();
    QVERIFY(TakeBoxes(c).isEmpty());
    QCOMPARE(c.NetGame()->State(), TNetGame::TState::Idle);
    QTRY_COMPARE(s.NetGame()->State(), TNetGame::TState::Idle);
    QCOMPARE(TakeBoxes(s), QStringList({"Opponent disconnected!"}));
    QCOMPARE(s.height(), IdleHeight_);
    QCOMPARE(ListTexts(s, "events"), QStringList{"Check!"});
    // A second End NetGame does nothing: the menu item is off.
    c.NetGame()->mnuEndGameClick();
    QVERIFY(TakeBoxes(c).isEmpty());
    // And a new game can start at once on the same port, without the old one's events.
    StartNet(s, Port_, "Carol", false);
    QCOMPARE(ListTexts(s, "events"), QStringList{"Check!"});
    QCOMPARE(Ctl<QLabel>(s, "Player2")->text(), QString("Bob"));
    StartNet(c, Port_, "Dave", true);
    QTRY_COMPARE(Ctl<QLabel>(s, "Player2")->text(), QString("Dave"));
    QTRY_COMPARE(Ctl<QLabel>(c, "Player1")->text(), QString("Carol"));
    for (TfrmCorvina* w : {&s, &c}) {
        QVERIFY(ListTexts(*w, "events").isEmpty());
        QVERIFY(MoveLines(*w).isEmpty());
        QCOMPARE(w->Board()->Position(), std::string(StartPosition));
    }
}

// New Game, Load Game, Load PGN, Paste FEN and Challenges! would change the board under a
// NetGame: each asks first. No leaves the game as it is; Yes ends it as End NetGame does, and
// the command goes on.
void TestNetGameWindows::commandsAskToEndTheGame() {
    Connect();
    TfrmCorvina& s = *S_;
    TfrmCorvina& c = *C_;
    QVERIFY(PlayMoves(s, {"e2e4"}));
    QTRY_COMPARE(c.Board()->Position(), s.Board()->Position());
    QStringList asked;
    bool yes = false;
    SetQuestionHandler([&](const QString&, const QString& text) {
        asked << text;
        return yes;
    });
    for (const char* item : {"mnuNew", "mnuLoad", "mnuLoadPGN", "mnuPasteFEN", "mnuChallenges"})
        Ctl<QAction>(c, item)->trigger();
    QCOMPARE(asked, QStringList(5, "End the network game?"));
    QCOMPARE(c.NetGame()->State(), TNetGame::TState::Playing);
    QVERIFY(c.Board()->CustomEngine() && c.Board()->ComputerPlaysWhite());
    QVERIFY(!c.Hook().ChallengeMode());
    QVERIFY(PlayMoves(c, {"e7e5"}));
    QTRY_COMPARE(s.Board()->Position(), c.Board()->Position());

    yes = true;
    const QString fen = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
    QApplication::clipboard()->setText(fen);
    Ctl<QAction>(c, "mnuPasteFEN")->trigger();
    QCOMPARE(asked.size(), 6);
    QCOMPARE(c.NetGame()->State(), TNetGame::TState::Idle);
    QTRY_COMPARE(s.NetGame()->State(), TNetGame::TState::Idle);
    QVERIFY(TakeBoxes(c).isEmpty());
    QCOMPARE(TakeBoxes(s), QStringList{"Opponent disconnected!"});
    QVERIFY(!c.Board()->CustomEngine());
    QVERIFY2(c.Hook().CurrentFen().startsWith("4k3/8/8/8/8/8/4P3/4K3 w"),
             qPrintable(c.Hook().CurrentFen()));
    SetQuestionHandler({});
}

void TestNetGameWindows::peerVanishes() {
    Connect();
    TfrmCorvina& s = *S_;
    QVERIFY(PlayMoves(s, {"g1f3"}));
    C_.reset(); // the client's program goes away in the middle of the game
    QTRY_COMPARE(s.NetGame()->State(), TNetGame::TState::Idle);
    QCOMPARE(TakeBoxes(s), QStringList({"Opponent disconnected!"}));
    QVERIFY(!s.Board()->CustomEngine());
    QCOMPARE(MoveLines(s), QStringList{"1. G1-F3"});
    QCOMPARE(s.Board()->At(Square::F3), 'N');
}

void TestNetGameWindows::extraConnectionRefused() {
    Connect();
    TfrmCorvina& s = *S_;
    TfrmCorvina& c = *C_;
    QTcpSocket intruder;
    QByteArray got;
    connect(&intruder, &QTcpSocket::readyRead, [&] { got += intruder.readAll(); });
    intruder.connectToHost(QHostAddress::LocalHost, Port_);
    QTRY_COMPARE(intruder.state(), QAbstractSocket::UnconnectedState);
    QVERIFY(got.isEmpty());
    QVERIFY(PlayMoves(s, {"c2c4"}));
    QTRY_COMPARE(c.Board()->Position(), s.Board()->Position());
    QCOMPARE(Ctl<QLabel>(s, "Player2")->text(), QString("Bob"));
    QCOMPARE(s.NetGame()->State(), TNetGame::TState::Playing);
}

void TestNetGameWindows::failedConnect() {
    TfrmCorvina& c = *C_;
    StartNet(c, Port_, "Bob", true); // nobody listens there
    QTRY_VERIFY(OpenBox(c) != nullptr);
    QMessageBox* box = OpenBox(c);
    QCOMPARE(box->text(), QString("Connection failed!"));
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
    QVERIFY(!box->detailedText().isEmpty()); // the system's reason
    QTest::qWait(200);
    QCOMPARE(TakeBoxes(c).size(), 1); // one box, not two
    QCOMPARE(c.NetGame()->State(), TNetGame::TState::Waiting);
    QCOMPARE(c.height(), IdleHeight_ + 150);
    QVERIFY(Ctl<QAction>(c, "mnuEndNetGame")->isEnabled());
    Ctl<QAction>(c, "mnuEndNetGame")->trigger();
    QCOMPARE(c.NetGame()->State(), TNetGame::TState::Idle);
    QCOMPARE(c.height(), IdleHeight_);
    QVERIFY(TakeBoxes(c).isEmpty());
}

void TestNetGameWindows::portInUse() {
    QTcpServer squatter;
    QVERIFY(squatter.listen(QHostAddress::Any, Port_));
    TfrmCorvina& s = *S_;
    StartNet(s, Port_, "Alice", false);
    const QStringList boxes = TakeBoxes(s);
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].contains(QString("Port %1").arg(Port_)), qPrintable(boxes[0]));
    // The dialog stays open; the window shows the Waiting marks.
    QVERIFY(s.NetGame()->StartDialog().isVisible());
    QCOMPARE(s.NetGame()->State(), TNetGame::TState::Waiting);
    QCOMPARE(s.height(), IdleHeight_ + 150);
    s.NetGame()->StartDialog().cmdCancel->click();
    QVERIFY(!s.NetGame()->StartDialog().isVisible());
    QCOMPARE(s.NetGame()->State(), TNetGame::TState::Idle);
    QCOMPARE(s.height(), IdleHeight_);
}

void TestNetGameWindows::waitingServerAndCancelledAttempt() {
    TfrmCorvina& s = *S_;
    TfrmCorvina& c = *C_;
    StartNet(s, Port_, "Alice", false);
    // Chat while nobody is there is only echoed; Opponent Info shows empty fields.
    Ctl<QLineEdit>(s, "txtmsg")->setText("anyone?");
    Ctl<QPushButton>(s, "cmdSay")->click();
    QCOMPARE(ChatLines(s).last(), QString("Alice: anyone?"));
    Ctl<QAction>(s, "mnuOpInfo")->trigger();
    QVERIFY(s.NetGame()->OpInfoDialog().txtName->text().isEmpty());
    QVERIFY(s.NetGame()->OpInfoDialog().txtIP->text().isEmpty());
    s.NetGame()->OpInfoDialog().close();
    // The test's program folder has no help page: the user is told so, and where it belongs.
    s.NetGame()->StartDialog().cmdHelp->click();
    const QStringList boxes = TakeBoxes(s);
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].startsWith("Could not execute the help file") &&
                 boxes[0].endsWith("help_netgame.html"),
             qPrintable(boxes[0]));

    // End NetGame while the client is still connecting cancels the attempt.
    StartNet(c, Port_, "Bob", true);
    Ctl<QAction>(c, "mnuEndNetGame")->trigger();
    QTest::qWait(300);
    QCOMPARE(c.NetGame()->State(), TNetGame::TState::Idle);
    QVERIFY(!c.Hook().NetGameActive());
    QVERIFY(TakeBoxes(c).isEmpty());
}

void TestNetGameWindows::ipv6AndHostNames() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHostIPv6, 0))
        QSKIP("no IPv6 loopback here");
    probe.close();
    Connect("::1");
    QCOMPARE(S_->NetGame()->Connection().PeerAddress(), QHostAddress(QHostAddress::LocalHostIPv6));
    Ctl<QAction>(*C_, "mnuEndNetGame")->trigger();
    TakeBoxes(*C_);
    QTRY_COMPARE(S_->NetGame()->State(), TNetGame::TState::Idle);
    TakeBoxes(*S_);
    Connect("localhost"); // looked up without blocking the window
    QVERIFY(C_->NetGame()->State() == TNetGame::TState::Playing);
}

QTEST_MAIN(TestNetGameWindows)
#include "tst_netgame_windows.moc"
