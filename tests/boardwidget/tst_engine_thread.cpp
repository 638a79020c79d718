// SPDX-License-Identifier: GPL-3.0-or-later
// The engine thread behind a board: hand-over, stops, restarts and shutdown under stress.
#include "board/ChessBrd.h"
#include "board/EngineHandOver.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QtTest>

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}

void Press(QWidget& b, QPoint at) {
    SendMouse(&b, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}

// Past the drag threshold, then onto the target.
void Move(QWidget& b, QPoint from, QPoint to) {
    const QPoint mid = (from + to) / 2 + QPoint(QApplication::startDragDistance() + 1, 0);
    SendMouse(&b, QEvent::MouseMove, mid, Qt::NoButton, Qt::LeftButton);
    SendMouse(&b, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
}

void Release(QWidget& b, QPoint at) {
    SendMouse(&b, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void Drag(QWidget& b, QPoint from, QPoint to) {
    Press(b, from);
    Move(b, from, to);
    Release(b, to);
}

} // namespace

class TestEngineThread : public QObject {
    Q_OBJECT
private slots:
    void answersAsBlack();
    void playsBothSidesUntilStopped();
    void stressPlayersPositionsStartsAndStops();
    void parkedAfterSetupEvenAfterGameOver();
    void parkedAfterMate();
    void dropRightAfterTheEnginesReply();
    void refusedEngineMoveIsReported();
    void refusedMoveDoesNotSpin();
    void destroyedWhileSearching();
};

void TestEngineThread::answersAsBlack() {
    TChessBrd b;
    b.SetComputerPlaysBlack(true);
    int moves = 0;
    b.OnLegalMove = [&moves](TObject*, Square, Square) { ++moves; };
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QVERIFY(b.PlayUserMove(Square::E2, Square::E4));
    QTRY_COMPARE_WITH_TIMEOUT(moves, 2, CORVINA_TRY_MS);
    QVERIFY(b.WhiteToMove());
    QVERIFY(!b.Thinking());
    QTest::qWait(100);
    QCOMPARE(moves, 2); // white is human: nothing more happens
}

void TestEngineThread::playsBothSidesUntilStopped() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    int moves = 0;
    b.OnLegalMove = [&moves](TObject*, Square, Square) { ++moves; };
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.SetComputerPlaysWhite(true);
    b.SetComputerPlaysBlack(true);
    QTRY_VERIFY_WITH_TIMEOUT(moves >= 10, CORVINA_TRY_MS);
    b.StopThinking();
    const int atStop = moves;
    QVERIFY(!b.Thinking());
    QTest::qWait(200);
    QCOMPARE(moves, atStop); // nothing searched before the stop is played after it
    b.StartThinking();
    QTRY_VERIFY_WITH_TIMEOUT(moves > atStop, CORVINA_TRY_MS);
    b.StopThinking();
}

void TestEngineThread::stressPlayersPositionsStartsAndStops() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    b.SetSearchDepth(2);
    int moves = 0;
    bool changedWhileStopped = false;
    bool stopped = false;
    b.OnLegalMove = [&](TObject*, Square, Square) {
        ++moves;
        if (stopped)
            changedWhileStopped = true;
    };
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QRandomGenerator rng(2026);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 300; ++i) {
        switch (rng.bounded(7)) {
        case 0:
            b.SetComputerPlaysWhite(!b.ComputerPlaysWhite());
            break;
        case 1:
            b.SetComputerPlaysBlack(!b.ComputerPlaysBlack());
            break;
        case 2:
            b.StartNewGame();
            break;
        case 3:
            b.SetPosition("rnbqkbnrpppppppp                    P           PPPP PPPRNBQKBNR");
            b.SetWhiteToMove(false);
            break;
        case 4:
            b.StartThinking();
            break;
        case 5: {
            stopped = true;
            b.StopThinking();
            const std::string pos = b.Position();
            QTest::qWait(5);
            QCOMPARE(b.Position(), pos);
            stopped = false;
            break;
        }
        default:
            b.PreviousMove();
            break;
        }
        QTest::qWait(static_cast<int>(rng.bounded(4)));
    }
    stopped = true;
    b.StopThinking();
    QTest::qWait(100);
    QVERIFY(!changedWhileStopped);
    QVERIFY(!b.Thinking());
    QVERIFY2(clock.elapsed() < 120000, "the stress run took far too long");
    qInfo("engine moves played during the stress run: %d", moves);
}

// Setting up a game stops the engine, also after a finished game: the engine waits for
// "Start Thinking" or a human move.
void TestEngineThread::parkedAfterSetupEvenAfterGameOver() {
    for (bool gameOver : {false, true}) {
        TChessBrd b;
        b.SetAnimateMoves(false);
        b.OnMate = [](TObject*, Square, Square) {};
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        b.SetComputerPlaysWhite(true);
        // Black to move mates in one (fool's mate), or plays a quiet move.
        b.SetPosition("rnbqkbnrpppp ppp            p         P      P  PPPPP  PRNBQKBNR");
        b.SetWhiteToMove(false);
        b.StartThinking();
        QVERIFY(b.PlayUserMove(Square::D8, gameOver ? Square::H4 : Square::G5));
        QCOMPARE(b.GameOver(), gameOver);
        if (!gameOver) {
            QTRY_VERIFY_WITH_TIMEOUT(!b.WhiteToMove(), CORVINA_TRY_MS); // the engine answered
        }
        int moves = 0;
        b.OnLegalMove = [&moves](TObject*, Square, Square) { ++moves; };
        // What the new-game dialog does on OK.
        b.SetCustomEngine(false);
        b.StartNewGame();
        b.SetComputerPlaysBlack(false);
        b.SetComputerPlaysWhite(true);
        b.SetWhiteToMove(true);
        QTest::qWait(300);
        QCOMPARE(moves, 0); // parked until "Start Thinking" or a human move
        QVERIFY(!b.Thinking());
        b.StartThinking();
        QTRY_COMPARE_WITH_TIMEOUT(moves, 1, CORVINA_TRY_MS);
        b.StopThinking();
    }
}

// After 1.f3 e5 2.g4 Qh4# by the engine, stepping back shows the position before the mate and
// the engine does not play it again; "Stop Thinking" after the mate parks it as well.
void TestEngineThread::parkedAfterMate() {
    TChessBrd b;
    b.SetAnimateMoves(false);
    b.OnMate = [](TObject*, Square, Square) {};
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QVERIFY(b.PlayUserMove(Square::F2, Square::F3));
    QVERIFY(b.PlayUserMove(Square::E7, Square::E5));
    QVERIFY(b.PlayUserMove(Square::G2, Square::G4));
    int moves = 0;
    b.OnLegalMove = [&moves](TObject*, Square, Square) { ++moves; };
    b.SetSearchDepth(2);
    b.SetComputerPlaysBlack(true);
    QTRY_VERIFY_WITH_TIMEOUT(b.GameOver(), CORVINA_TRY_MS);
    QCOMPARE(b.At(Square::H4), 'q');
    QVERIFY(b.PreviousMove());
    QTest::qWait(300);
    QCOMPARE(moves, 1);
    QCOMPARE(b.At(Square::D8), 'q');
    QVERIFY(!b.WhiteToMove());

    // The mate again, then Stop Thinking and a position with black to move set from outside.
    QVERIFY(b.NextMove());
    QVERIFY(b.GameOver());
    b.StopThinking();
    QVERIFY(b.GoToPosition(2, false));
    b.SetWhiteToMove(false);
    QTest::qWait(300);
    QCOMPARE(moves, 1);
    QVERIFY(!b.Thinking());
    QVERIFY(!b.HandOver().Awake());
}

// Nothing that a drop checks stays set once the engine's reply has been played: Thinking
// reads false while the reply is played and after it, a drag made right after the reply is
// accepted, and so is one that began while the engine was still thinking.
void TestEngineThread::dropRightAfterTheEnginesReply() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    b.SetSearchDepth(5);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.SetComputerPlaysBlack(true);
    int moves = 0;
    int illegal = 0;
    bool thinkingDuringReply = true;
    b.OnLegalMove = [&](TObject*, Square, Square) {
        if (++moves % 2 == 0)
            thinkingDuringReply = b.Thinking();
    };
    b.OnIllegalMove = [&](TObject*, Square) { ++illegal; };
    const auto at = [&b](Square s) { return b.SquareRect(s).center(); };

    // A drag in the same turn of the event loop as the reply.
    Drag(b, at(Square::E2), at(Square::E4));
    QCOMPARE(moves, 1);
    bool dragQueued = false;
    b.OnPaint = [&](TObject*) {
        if (moves == 2 && !dragQueued) {
            dragQueued = true;
            QTimer::singleShot(0, &b, [&] { Drag(b, at(Square::D2), at(Square::D3)); });
        }
    };
    // The engine may answer the queued drag before the check looks, so at least three.
    QTRY_VERIFY_WITH_TIMEOUT(moves >= 3, CORVINA_TRY_MS);
    QVERIFY(!thinkingDuringReply);
    QCOMPARE(illegal, 0);

    // A drag begun while the engine thinks and dropped after its reply.
    QTRY_COMPARE_WITH_TIMEOUT(moves, 4, CORVINA_TRY_MS);
    b.SetSearchDepth(7);
    const int before = moves;
    QVERIFY(b.PlayUserMove(Square::A2, Square::A3));
    QTRY_VERIFY_WITH_TIMEOUT(b.Thinking() || moves == before + 2, CORVINA_TRY_MS);
    const bool pressedWhileThinking = b.Thinking();
    Press(b, at(Square::B1));
    Move(b, at(Square::B1), at(Square::C3));
    QTRY_COMPARE_WITH_TIMEOUT(moves, before + 2, 60000);
    Release(b, at(Square::C3));
    QCOMPARE(moves, before + 3);
    QCOMPARE(illegal, 0);
    QVERIFY(!thinkingDuringReply);
    qInfo("the second drag began while the engine was %s",
          pressedWhileThinking ? "thinking" : "idle");
    b.StopThinking();
}

// If the board refuses a move handed over by the engine, the engine is parked and the board
// says so through OnEngineError, instead of sitting still without a word.
void TestEngineThread::refusedEngineMoveIsReported() {
    TChessBrd b;
    b.SetSearchDepth(8);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    int moves = 0;
    QStringList errors;
    b.OnLegalMove = [&moves](TObject*, Square, Square) { ++moves; };
    b.OnEngineError = [&](TObject* sender, Square from, Square to, const std::string& text) {
        QCOMPARE(sender, static_cast<TObject*>(&b));
        QVERIFY(!text.empty());
        errors << QString::fromStdString(SquareName(from) + SquareName(to));
    };
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY_WITH_TIMEOUT(b.Thinking(), CORVINA_TRY_MS);
    // What an engine that breaks the rules would hand over: the king two squares forward,
    // then a move from a square to itself.
    b.HandOver().MoveFound(b.HandOver().Generation(), ToInt(Square::E1), ToInt(Square::E3));
    QCOMPARE(errors, QStringList{"E1E3"});
    QVERIFY(!b.Thinking());
    QVERIFY(!b.HandOver().Awake());
    QTest::qWait(300);
    QCOMPARE(moves, 0); // the search in progress was dropped with the stop
    b.SetSearchDepth(1);
    b.StartThinking();
    QTRY_COMPARE_WITH_TIMEOUT(moves, 1, CORVINA_TRY_MS);
    b.SetComputerPlaysBlack(true);
    QTRY_VERIFY_WITH_TIMEOUT(b.Thinking() || moves > 1, CORVINA_TRY_MS);
    b.HandOver().MoveFound(b.HandOver().Generation(), ToInt(Square::A8), ToInt(Square::A8));
    QCOMPARE(errors, (QStringList{"E1E3", "A8A8"}));
    QVERIFY(!b.HandOver().Awake());
}

// A mated computer side has nothing to hand over: the engine goes quiet instead of
// searching the same position again and again.
void TestEngineThread::refusedMoveDoesNotSpin() {
    TChessBrd b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.SetPosition("rnb kbnrpppp ppp            p         Pq     P  PPPPP  PRNBQKBNR");
    b.SetComputerPlaysWhite(true);
    QTest::qWait(200);
    QVERIFY(!b.Thinking());
    QCOMPARE(b.Position(),
             std::string("rnb kbnrpppp ppp            p         Pq     P  PPPPP  PRNBQKBNR"));
}

void TestEngineThread::destroyedWhileSearching() {
    int moves = 0;
    {
        auto* b = new TChessBrd;
        b->SetSearchDepth(8);
        b->OnLegalMove = [&moves](TObject*, Square, Square) { ++moves; };
        b->show();
        QVERIFY(QTest::qWaitForWindowExposed(b));
        b->SetComputerPlaysWhite(true);
        QTRY_VERIFY_WITH_TIMEOUT(b->Thinking(), CORVINA_TRY_MS);
        QElapsedTimer clock;
        clock.start();
        delete b;
        qInfo("a board searching at depth 8 was destroyed in %lld ms", clock.elapsed());
    }
    QTest::qWait(200);
    QCOMPARE(moves, 0);
}

QTEST_MAIN(TestEngineThread)
#include "tst_engine_thread.moc"
