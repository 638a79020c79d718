// The engine thread behind a board: hand-over, stops, restarts and shutdown under stress.
#include "board/ChessBrd.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

class TestEngineThread : public QObject {
    Q_OBJECT
private slots:
    void answersAsBlack();
    void playsBothSidesUntilStopped();
    void stressPlayersPositionsStartsAndStops();
    void parkedAfterSetupUnlessGameWasOver();
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
    QTRY_COMPARE_WITH_TIMEOUT(moves, 2, 10000);
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
    QTRY_VERIFY_WITH_TIMEOUT(moves >= 10, 20000);
    b.StopThinking();
    const int atStop = moves;
    QVERIFY(!b.Thinking());
    QTest::qWait(200);
    QCOMPARE(moves, atStop); // nothing searched before the stop is played after it
    b.StartThinking();
    QTRY_VERIFY_WITH_TIMEOUT(moves > atStop, 10000);
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

// Setting up a game stops the engine; only a finished game leaves it awake.
void TestEngineThread::parkedAfterSetupUnlessGameWasOver() {
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
            QTRY_VERIFY_WITH_TIMEOUT(!b.WhiteToMove(), 10000); // the engine answered
        }
        int moves = 0;
        b.OnLegalMove = [&moves](TObject*, Square, Square) { ++moves; };
        // What the new-game dialog does on OK.
        b.SetCustomEngine(false);
        b.StartNewGame();
        b.SetComputerPlaysBlack(false);
        b.SetComputerPlaysWhite(true);
        b.SetWhiteToMove(true);
        QTest::qWait(gameOver ? 0 : 300);
        if (gameOver) {
            QTRY_COMPARE_WITH_TIMEOUT(moves, 1, 10000);
        } else {
            QCOMPARE(moves, 0); // parked until "Start Thinking" or a human move
            b.StartThinking();
            QTRY_COMPARE_WITH_TIMEOUT(moves, 1, 10000);
        }
        b.StopThinking();
    }
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
        QTRY_VERIFY_WITH_TIMEOUT(b->Thinking(), 5000);
        delete b;
    }
    QTest::qWait(200);
    QCOMPARE(moves, 0);
}

QTEST_MAIN(TestEngineThread)
#include "tst_engine_thread.moc"
