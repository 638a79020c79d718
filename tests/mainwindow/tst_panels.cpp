// SPDX-License-Identifier: GPL-3.0-or-later
// The panels beside the board tell the truth about the position shown: the move list after
// navigation and play, points and tallies after every kind of half-move, player names of any
// length, and a window that opens on the screen.
#include "app/EngineAdvice.h"
#include "app/GameClock.h"
#include "app/Main1.h"
#include "app/Program.h"
#include "app/ProgramTexts.h"
#include "board/ChessBrd.h"
#include "chess/Fen.h"
#include "setup/New1.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/mainwindow/WindowParts.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>

namespace {

const QString Pad(14, ' ');

// A placement from rank 8 down, one string of eight squares a rank.
std::string Ranks(std::initializer_list<const char*> ranks) {
    std::string p;
    for (const char* r : ranks) {
        std::string rank(r);
        rank.resize(8, ' ');
        p += rank;
    }
    p.resize(64, ' ');
    return p;
}

// A new game between two people from a layout, as OK in the new-game dialog gives it.
void NewGame(TfrmCorvina& w, const std::string& layout, int turn) {
    TNewGame game;
    game.Player1 = "Ann";
    game.Player2 = "Bob";
    game.ComputerBlack = false;
    game.UseLayout = !layout.empty();
    game.Layout = layout;
    game.Turn = turn;
    w.Hook().ApplyNewGame(game);
}

} // namespace

class TestPanels : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Folder_ = std::make_unique<TTestFolder>();
        QVERIFY(Folder_->Prepare({}, {{"Default", DefaultProfile}}));
        Program_ = std::make_unique<TProgram>();
        W_ = &Program_->MainWindow();
        W_->Board()->SetAnimateMoves(false);
        W_->Board()->SetComputerPlaysBlack(false);
    }
    void cleanup() {
        SetInformationHandler({});
        SetQuestionHandler({});
        Program_.reset();
        Folder_.reset();
    }
    void moveListAfterGoToAndPlayingOn();
    void nextNeverListsTwice();
    void blackStartKeepsReservedLine();
    void pointsAfterWholeHalfMove();
    void pointsAndTalliesFollowThePosition();
    void player2BesideChallengeCaption();
    void longPlayer1StopsAtTheBoard();
    void windowOpensOnScreen();
    void boardTurnsForBlack();
    void windowGrows();
    void mateEndsTheGame();
    void fiftyMovesStopLegalMoves();
    void resignAndDrawOffers();
    void flagFallsOnTheTestClock();
    void hintAndEvaluation();

private:
    // Captures the information boxes; answers every question with `answer`.
    void Capture(bool answer) {
        Infos_.clear();
        SetInformationHandler([this](const QString&, const QString& text) { Infos_ << text; });
        SetQuestionHandler([answer](const QString&, const QString&) { return answer; });
    }
    void Trigger(const char* action) { Ctl<QAction>(*W_, action)->trigger(); }
    QString TopEvent() const { return ListTexts(*W_, "events").value(0); }
    QString ResultLine() const { return Ctl<QLabel>(*W_, "lblResult")->text(); }
    QStringList Infos_;
    std::unique_ptr<TTestFolder> Folder_;
    std::unique_ptr<TProgram> Program_;
    TfrmCorvina* W_ = nullptr;
};

void TestPanels::moveListAfterGoToAndPlayingOn() {
    TfrmCorvina& w = *W_;
    QVERIFY(PlayMoves(w, {"e2e4", "b8c6", "d2d4", "e7e6"}));
    w.Hook().GoToLine(0);                       // after 1. e4
    QCOMPARE(w.Hook().StatusLines().size(), 4); // Go To leaves the list
    QVERIFY(PlayMoves(w, {"b8c6"}));
    const QStringList line = {"1. E2-E4", Pad + "B8-C6"};
    QCOMPARE(w.Hook().StatusLines(), line);
    // Line k is half-move k again.
    QVERIFY(PlayMoves(w, {"g1f3"}));
    w.Hook().GoToLine(1);
    QCOMPARE(w.Board()->At(Square::C6), 'n');
    QCOMPARE(w.Board()->At(Square::F3), ' ');
    w.Hook().GoToLine(2);
    QCOMPARE(w.Board()->At(Square::F3), 'N');
    QVERIFY(w.Hook().SaveGameTo(Folder_->Dir.filePath("g.cvg")));
    QCOMPARE(Folder_->Read("g.cvg").mid(0, 3),
             (QStringList{"1. E2-E4", Pad + "B8-C6", "2. G1-F3"}));
}

void TestPanels::nextNeverListsTwice() {
    TfrmCorvina& w = *W_;
    QVERIFY(PlayMoves(w, {"e2e4", "e7e5", "g1f3"}));
    w.Hook().GoToLine(-1);
    w.Hook().Trigger("mnuNext");
    QCOMPARE(w.Hook().StatusLines(), QStringList{"1. E2-E4"});
    w.Hook().GoToLine(0);
    w.Hook().Trigger("mnuNext");
    QCOMPARE(w.Hook().StatusLines(), (QStringList{"1. E2-E4", Pad + "E7-E5"}));
    w.Hook().Trigger("mnuNext");
    w.Hook().Trigger("mnuNext");
    QCOMPARE(w.Hook().StatusLines(), (QStringList{"1. E2-E4", Pad + "E7-E5", "2. G1-F3"}));
    w.Hook().Trigger("mnuPrevious");
    QCOMPARE(w.Hook().StatusLines().size(), 2);
}

void TestPanels::blackStartKeepsReservedLine() {
    TfrmCorvina& w = *W_;
    NewGame(w, {}, 1);
    QVERIFY(PlayMoves(w, {"e7e5", "d2d4"}));
    QStringList list;
    w.Board()->GetMoveList(list);
    QCOMPARE(w.Hook().StatusLines(), list);
    QCOMPARE(w.Hook().StatusLines().size(), 3);
    QCOMPARE(w.Hook().StatusLines()[1], Pad + "E7-E5");
    w.Hook().Trigger("mnuPrevious");
    QCOMPARE(w.Hook().StatusLines(), list.mid(0, 2));
}

void TestPanels::pointsAfterWholeHalfMove() {
    TfrmCorvina& w = *W_;
    // A promotion: the queen counts as soon as the half-move stands.
    NewGame(w, Ranks({"       k", " P      ", "", "", "", "", "", "    K   "}), 0);
    QCOMPARE(Ctl<QLabel>(w, "wp")->text(), QString("  1.0"));
    QVERIFY(PlayMoves(w, {"b7b8"}));
    QCOMPARE(w.Board()->At(Square::B8), 'Q');
    QCOMPARE(Ctl<QLabel>(w, "wp")->text(), QString("  9.9"));
    // En passant: the pawn taken from beside the capturer no longer counts.
    NewGame(w, Ranks({"       k", "   p    ", "", "    P   ", "", "", "", "    K   "}), 1);
    QVERIFY(PlayMoves(w, {"d7d5", "e5d6"}));
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), QString("  0.0"));
    QCOMPARE(ListTexts(w, "black")[0], QString("8 Pawns"));
    // End Challenge shows the start position's points.
    QVERIFY(Folder_->Write(
        "chlist.dat",
        {"{" + QString::fromStdString(Ranks({"k", "", "", "", "", "", "Q", "K"})) + ",0,Mate,1}"}));
    w.Hook().Trigger("mnuChallenges");
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), QString("  0.0"));
    w.Hook().Trigger("mnuChallenges");
    QCOMPARE(Ctl<QLabel>(w, "wp")->text(), QString(" 42.0"));
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), QString(" 42.0"));
    QCOMPARE(ListTexts(w, "white")[4], QString("0 Queens"));
}

void TestPanels::pointsAndTalliesFollowThePosition() {
    TfrmCorvina& w = *W_;
    QVERIFY(PlayMoves(w, {"e2e4", "d7d5", "e4d5"}));
    QCOMPARE(ListTexts(w, "black")[0], QString("1 Pawns"));
    // A capture replayed after stepping back counts once.
    w.Hook().Trigger("mnuPrevious");
    QCOMPARE(ListTexts(w, "black")[0], QString("0 Pawns"));
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), QString(" 42.0"));
    w.Hook().Trigger("mnuNext");
    QCOMPARE(ListTexts(w, "black")[0], QString("1 Pawns"));
    w.Hook().GoToLine(-1);
    QCOMPARE(ListTexts(w, "black")[0], QString("0 Pawns"));
    w.Hook().GoToLine(2);
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), QString(" 41.0"));
    // A new game starts with empty tallies.
    NewGame(w, {}, 0);
    QCOMPARE(ListTexts(w, "black"),
             (QStringList{"0 Pawns", "0 Bishops", "0 Knights", "0 Rooks", "0 Queens"}));
}

void TestPanels::player2BesideChallengeCaption() {
    TfrmCorvina& w = *W_;
    auto* player2 = Ctl<QLabel>(w, "Player2");
    const int right = player2->geometry().right();
    w.Hook().SetPlayer2("Somebody");
    QVERIFY(Folder_->Write(
        "chlist.dat", {"{" + QString::fromStdString(Ranks({"k", "", "", "", "", "", "Q", "K"})) +
                       ",0,White to move: mate in 1,1}"}));
    w.Hook().Trigger("mnuChallenges");
    auto* instruct = Ctl<QLabel>(w, "instruct");
    QVERIFY(!instruct->isHidden());
    // Entering challenge mode names the players anew; the short name is sized to its text.
    QCOMPARE(player2->text(), QString("Player2"));
    QVERIFY(player2->width() < 100);
    QVERIFY(!player2->geometry().intersects(instruct->geometry()));
    const QString remote = QString("A remote player with a very long name indeed ").repeated(20);
    w.Hook().SetPlayer2(remote);
    QCOMPARE(player2->geometry().right(), right);
    QVERIFY(!player2->geometry().intersects(instruct->geometry()));
    QCOMPARE(player2->toolTip(), remote);
    QCOMPARE(w.Hook().Player2(), remote);
    w.Hook().Trigger("mnuChallenges"); // leaving: the caption goes, the name may take its room
    QVERIFY(player2->geometry().left() < instruct->geometry().right());
    QVERIFY(player2->geometry().left() >= w.Board()->geometry().left());
}

void TestPanels::longPlayer1StopsAtTheBoard() {
    TfrmCorvina& w = *W_;
    const QString name = QString("Zoë Ångström-Lindqvist ").repeated(10);
    QVERIFY(Folder_->Write("long.cvg", {QString(StartPosition), name, "Bob", "false", "false"}));
    QVERIFY(w.Hook().LoadGameFrom(ProgramPath("long.cvg")));
    auto* player1 = Ctl<QLabel>(w, "Player1");
    QVERIFY(player1->geometry().right() <= w.Board()->geometry().right());
    QCOMPARE(player1->toolTip(), name);
    QVERIFY(w.Hook().SaveGameTo(Folder_->Dir.filePath("again.cvg")));
    QCOMPARE(Folder_->Read("again.cvg")[1], name); // the whole name is saved
}

void TestPanels::windowOpensOnScreen() {
    TfrmCorvina& w = *W_;
    // The shipped profile shows the captured pieces: the window opens wide, and on the screen.
    QVERIFY(w.width() == 814);
    QVERIFY(!Ctl<QFrame>(w, "pane")->isHidden());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect area = w.screen()->availableGeometry();
    const QRect frame = w.frameGeometry();
    QVERIFY2(frame.left() >= area.left() && frame.top() >= area.top(),
             qPrintable(QString("window at %1,%2").arg(frame.left()).arg(frame.top())));
    if (frame.width() <= area.width())
        QVERIFY(frame.right() <= area.right());
    // Hidden pane: nothing of its frame shows at width 625.
    w.Hook().Trigger("mnuCPieces");
    QTRY_COMPARE(w.width(), 625);
    QVERIFY(Ctl<QFrame>(w, "pane")->isHidden());
}

// A new game in which the computer plays White turns the board for the person playing Black;
// the next game, between two people, turns it back.
void TestPanels::boardTurnsForBlack() {
    TNewGame game;
    game.ComputerWhite = true;
    game.ComputerBlack = false;
    W_->Hook().ApplyNewGame(game);
    QVERIFY(W_->Board()->WhiteOnTop());
    NewGame(*W_, {}, 0);
    QVERIFY(!W_->Board()->WhiteOnTop());
}

// The window grows: at one and a half times the designed size every control stands at one
// and a half times its place, the board's squares grow with it and nothing overlaps; back at
// the designed size everything is where it was designed. The size is there at the next start.
void TestPanels::windowGrows() {
    TfrmCorvina& w = *W_;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize design = w.size();
    const int bar = w.menuBar()->height();
    auto* events = Ctl<QListWidget>(w, "events");
    const QRect designed = events->geometry();
    QCOMPARE(designed, QRect(422, 26, 191, 143));
    const QSize larger(1221, (design.height() - bar) * 3 / 2 + 1 + bar);
    w.resize(larger);
    QTRY_COMPARE(events->geometry(), QRect(633, 39, 287, 215));
    QCOMPARE(w.Board()->SizeOfSquare(), 69);
    QCOMPARE(w.Board()->geometry(), QRect(14, 39, 600, 600));
    const QList<QWidget*> parts = {w.Board(),
                                   events,
                                   Ctl<QWidget>(w, "status"),
                                   Ctl<QWidget>(w, "pane"),
                                   Ctl<QWidget>(w, "Player1"),
                                   Ctl<QWidget>(w, "Player2")};
    for (QWidget* a : parts)
        for (QWidget* b : parts)
            QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                     qPrintable(a->objectName() + " overlaps " + b->objectName()));
    w.resize(design);
    QTRY_COMPARE(events->geometry(), designed);
    QCOMPARE(w.Board()->geometry(), QRect(9, 26, 400, 400));
    QCOMPARE(w.Board()->SizeOfSquare(), 44);
    w.resize(larger);
    QTRY_COMPARE(w.size(), larger);
    w.close();
    Program_.reset();
    Program_ = std::make_unique<TProgram>();
    QCOMPARE(Program_->MainWindow().size(), larger);
}

// Mate: one line at the top of the events and above the board, one message; then every move
// is refused as over, the PGN tells the result, and a new game plays again.
void TestPanels::mateEndsTheGame() {
    TfrmCorvina& w = *W_;
    Capture(true);
    NewGame(w, Ranks({"      k", "     ppp", "", "", "", "", "", "R     K"}), 0);
    QVERIFY(PlayMoves(w, {"a1a8"}));
    QCOMPARE(ResultLine(), QString("Checkmate — White wins"));
    QCOMPARE(TopEvent(), QString("Mate!!!"));
    QTRY_COMPARE(Infos_, QStringList{"Checkmate — White wins"});
    QVERIFY(!Ctl<QLabel>(w, "lblResult")->isHidden());
    QVERIFY(!PlayMoves(w, {"g8h8"}));
    QCOMPARE(TopEvent(), QString("The game is over."));
    const QString pgn = Folder_->Dir.filePath("mate.pgn");
    QVERIFY(w.Hook().ExportPgnTo(pgn));
    const QStringList lines = Folder_->Read("mate.pgn");
    QVERIFY(lines.contains("[Result \"1-0\"]"));
    QVERIFY(lines.contains("[Termination \"normal\"]"));
    NewGame(w, {}, 0);
    QVERIFY(PlayMoves(w, {"e2e4"}));
    QVERIFY(Ctl<QLabel>(w, "lblResult")->isHidden());
    QCOMPARE(Infos_.size(), 1); // shown once
}

// The fifty-move rule ends a game whose moves the rules would still take.
void TestPanels::fiftyMovesStopLegalMoves() {
    TfrmCorvina& w = *W_;
    Capture(true);
    QVERIFY(w.Hook().StartFromFen("4k3/8/8/8/8/8/4P3/R3K3 w - - 99 80"));
    QVERIFY(PlayMoves(w, {"a1a2"}));
    QCOMPARE(ResultLine(), QString("Draw by the fifty-move rule"));
    QVERIFY(w.Board()->IsLegalMove(Square::E8, Square::D8));
    QVERIFY(!PlayMoves(w, {"e8d8"}));
    QCOMPARE(TopEvent(), QString("The game is over."));
    QCOMPARE(w.Board()->At(Square::E8), 'k');
}

void TestPanels::resignAndDrawOffers() {
    TfrmCorvina& w = *W_;
    // Two people: No keeps the game, Yes ends it for the side to move.
    Capture(false);
    QVERIFY(PlayMoves(w, {"e2e4", "e7e5"}));
    Trigger("mnuResign");
    QVERIFY(!w.Board()->Finished());
    Capture(true);
    Trigger("mnuResign");
    QCOMPARE(ResultLine(), QString("White resigns — Black wins"));
    QVERIFY(w.Hook().ExportPgnTo(Folder_->Dir.filePath("resign.pgn")));
    QVERIFY(Folder_->Read("resign.pgn").contains("[Result \"0-1\"]"));
    QVERIFY(!PlayMoves(w, {"g1f3"}));
    NewGame(w, {}, 0);
    Trigger("mnuOfferDraw");
    QCOMPARE(ResultLine(), QString("Draw agreed"));

    // Against the computer: too early to agree, but a dead position is a draw at once.
    NewGame(w, {}, 0);
    w.Board()->SetComputerPlaysBlack(true);
    Capture(true);
    Trigger("mnuOfferDraw");
    QTRY_COMPARE(Infos_, QStringList{"The computer declines the draw; play on."});
    QVERIFY(!w.Board()->Finished());
    w.Board()->StopThinking();
    NewGame(w, Ranks({"k", "", "", "", "", "", "", "K    B"}), 0);
    w.Board()->SetComputerPlaysBlack(true);
    Trigger("mnuOfferDraw");
    QCOMPARE(ResultLine(), QString("Draw agreed"));
    QVERIFY(w.Board()->Finished());
}

// A one-second game on a clock driven by hand: the side to move's clock runs, a half-move
// stops it, the flag falls, and the PGN keeps the time control and the clocks.
void TestPanels::flagFallsOnTheTestClock() {
    TfrmCorvina& w = *W_;
    Capture(true);
    long long now = 0;
    auto* clock = w.findChild<TGameClock*>();
    QVERIFY(clock);
    clock->Now = [&now] { return now; };
    TNewGame game;
    game.ComputerBlack = false;
    game.Clock = {1, 0};
    w.Hook().ApplyNewGame(game);
    auto* white = Ctl<QLabel>(w, "lblClockWhite");
    auto* black = Ctl<QLabel>(w, "lblClockBlack");
    QVERIFY(!white->isHidden());
    QCOMPARE(white->text(), QString("1.0"));
    now = 400;
    QVERIFY(PlayMoves(w, {"e2e4"}));
    QCOMPARE(white->text(), QString("0.6"));
    now = 700;
    QTRY_COMPARE(black->text(), QString("0.7"));
    QCOMPARE(white->text(), QString("0.6")); // only the side to move's clock runs
    now = 5000;
    QTRY_COMPARE(ResultLine(), QString("Black lost on time — White wins"));
    QTRY_COMPARE(Infos_, QStringList{"Black lost on time — White wins"});
    QCOMPARE(black->text(), QString("0.0"));
    QVERIFY(!PlayMoves(w, {"e7e5"}));
    const QString path = Folder_->Dir.filePath("clock.pgn");
    QVERIFY(w.Hook().ExportPgnTo(path));
    const QStringList lines = Folder_->Read("clock.pgn");
    QVERIFY(lines.contains("[TimeControl \"1+0\"]"));
    QVERIFY(lines.contains("[Termination \"time forfeit\"]"));
    QVERIFY(lines.contains("[Result \"1-0\"]"));
    QVERIFY(lines.last().startsWith("1. e4 {[%clk 0:00:00]} 1-0"));
    QVERIFY(w.Hook().LoadPgnFrom(path)); // the clock comments are skipped
    QCOMPARE(w.Board()->At(Square::E4), 'P');
    QVERIFY(white->isHidden()); // a loaded game has no clock

    // A flag that falls against a bare king draws.
    game.UseLayout = true;
    game.Layout = Ranks({"k", "", "", "", "", "", "", "K      R"});
    w.Hook().ApplyNewGame(game);
    QVERIFY(!white->isHidden());
    now += 1500;
    QTRY_COMPARE(ResultLine(), QString("White ran out of time, but Black cannot mate — draw"));
}

// Hint shows the engine's move as an arrow and never plays it; the evaluation line follows the
// iterations; the next half-move takes the arrow away.
void TestPanels::hintAndEvaluation() {
    TfrmCorvina& w = *W_;
    w.Board()->SetSearchDepth(2);
    QVERIFY(PlayMoves(w, {"e2e4"}));
    const std::string before = ToFen(*w.Board());
    const QStringList moves = w.Hook().StatusLines();
    Trigger("mnuHint");
    auto* arrow = w.findChild<QWidget*>("hintArrow");
    QVERIFY(arrow);
    QTRY_VERIFY(!arrow->isHidden());
    QCOMPARE(ToFen(*w.Board()), before);
    QCOMPARE(w.Hook().StatusLines(), moves);
    QVERIFY(!w.Board()->Thinking());
    Trigger("mnuShowEval");
    auto* eval = Ctl<QLabel>(w, "lblEvaluation");
    QTRY_VERIFY(eval->text().contains("depth 2"));
    QCOMPARE(ToFen(*w.Board()), before);
    QVERIFY(PlayMoves(w, {"e7e5"}));
    QVERIFY(arrow->isHidden());
    QTRY_VERIFY(eval->text().contains("depth 2"));
    QCOMPARE(TEngineAdvice::EvaluationLine(9998, false, 3, "Qh4#"),
             QString("Black mates in 1   depth 3   Qh4#"));
    QCOMPARE(TEngineAdvice::EvaluationLine(-35, false, 4, ""), QString("+0.35   depth 4   "));
}

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
