// SPDX-License-Identifier: GPL-3.0-or-later
// Move rules and game-end detection: FEN + moves, then the events of the last half-move.
#include "chess/GameResult.h"
#include "tests/board/EventLog.h"

#include <QtTest>

class TestRules : public QObject {
    Q_OBJECT
private slots:
    void lastMoveEvents_data();
    void lastMoveEvents();
    void enPassantSquare();
    void promotionPieceSticks();
    void castlingRightsBySquareLeft();
    void noKingMeansNoMove();
    void threefoldBlocksEveryMove();
    void canMoveIgnoresStaleRepetitionSlot();
    void gameOverOnlyWithHandler();
    void gameResults_data();
    void gameResults();
    void resultsOffTheBoard();
};

static const char* Start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

void TestRules::lastMoveEvents_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QStringList>("before"); // played first, events not checked
    QTest::addColumn<QString>("move");
    QTest::addColumn<QString>("expected"); // "refused" or the events in order

    const QStringList none;
    QTest::newRow("e2e4 legal") << Start << none << "e2e4"
                                << "LegalMove(E2,E4) Paint";
    QTest::newRow("knight out") << Start << none << "g1f3"
                                << "LegalMove(G1,F3) Paint";
    QTest::newRow("pawn three squares") << Start << none << "e2e5"
                                        << "refused";
    QTest::newRow("pawn backwards") << Start << QStringList{"e2e4", "e7e5"} << "e4e3"
                                    << "refused";
    QTest::newRow("bishop jumps") << Start << none << "f1c4"
                                  << "refused";
    QTest::newRow("black while white to move") << Start << none << "e7e5"
                                               << "refused";
    QTest::newRow("own piece") << Start << none << "a1a2"
                               << "refused";
    QTest::newRow("same square") << Start << none << "e2e2"
                                 << "refused";
    QTest::newRow("double step blocked")
        << "rnbqkbnr/pppppppp/8/8/8/4n3/PPPPPPPP/RNBQKB1R w KQkq - 0 1" << none << "e2e4"
        << "refused";

    QTest::newRow("en passant capture")
        << "4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1" << QStringList{"d7d5"} << "e5d6"
        << "LegalMove(E5,D6) Capture(E5,D6,p) Paint";
    QTest::newRow("en passant only right after the double step")
        << "4k3/3p3p/8/4P3/8/8/8/4K3 b - - 0 1" << QStringList{"d7d5", "e1e2", "h7h6"} << "e5d6"
        << "refused";
    // The captured pawn leaves the fifth rank: the rook on h5 then sees the king on a5.
    QTest::newRow("en passant exposing own king")
        << "7k/2p5/8/KP5r/8/8/8/8 b - - 0 1" << QStringList{"c7c5"} << "b5c6"
        << "refused";
    QTest::newRow("en passant discovering check")
        << "8/3p4/8/R3P2k/8/8/8/K7 b - - 0 1" << QStringList{"d7d5"} << "e5d6"
        << "LegalMove(E5,D6) Capture(E5,D6,p) Check(E5,D6) Paint";

    QTest::newRow("black en passant capture")
        << "4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1" << QStringList{"e2e4"} << "d4e3"
        << "LegalMove(D4,E3) Capture(D4,E3,P) Paint";
    // An en passant square with no enemy pawn behind it is an empty square like any other.
    QTest::newRow("en passant square before own queen")
        << "4k3/8/8/3PQ3/8/8/8/4K3 w - e6 0 1" << none << "d5e6"
        << "refused";
    QTest::newRow("en passant square before own knight")
        << "4k3/8/8/8/3pn3/8/8/4K3 b - e3 0 1" << none << "d4e3"
        << "refused";
    // A piece on the en passant square is taken as any capture; the bishop behind it stays
    // and keeps the rook off the king.
    QTest::newRow("en passant square holding a piece")
        << "k7/8/4n3/r2Pb2K/8/8/8/8 w - e6 0 1" << none << "d5e6"
        << "LegalMove(D5,E6) Capture(D5,E6,n) Paint";
    // e3 is no en passant square for white: no capture, and the queen on e2 still checks.
    QTest::newRow("en passant square on the mover's own side")
        << "4k3/8/8/8/8/8/3Pq3/4K3 w - e3 0 1" << none << "d2e3"
        << "refused";

    QTest::newRow("promotion without handler choice")
        << "8/4P3/8/8/8/8/k7/4K3 w - - 0 1" << none << "e7e8"
        << "LegalMove(E7,E8) Promotion(E7,E8) Paint";
    QTest::newRow("capture promotion with check")
        << "3r3k/4P3/8/8/8/8/8/K7 w - - 0 1" << none << "e7d8"
        << "LegalMove(E7,D8) Capture(E7,D8,r) Promotion(E7,D8) Check(E7,D8) Paint";

    QTest::newRow("short castling") << "4k3/8/8/8/8/8/8/4K2R w K - 0 1" << none << "e1g1"
                                    << "LegalMove(E1,G1) Castle(E1,G1) Paint";
    QTest::newRow("castling through attack") << "4kr2/8/8/8/8/8/8/4K2R w K - 0 1" << none << "e1g1"
                                             << "refused";
    QTest::newRow("castling out of check") << "4k3/8/8/8/8/8/4r3/4K2R w K - 0 1" << none << "e1g1"
                                           << "refused";
    QTest::newRow("castling after king went away and back")
        << "4k3/8/8/8/8/8/8/4K2R w K - 0 1" << QStringList{"e1e2", "e8e7", "e2e1", "e7e8"} << "e1g1"
        << "refused";
    QTest::newRow("long castling, b1 attacked is fine")
        << "1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1" << none << "e1c1"
        << "LegalMove(E1,C1) Castle(E1,C1) Paint";
    QTest::newRow("long castling with b1 occupied")
        << "4k3/8/8/8/8/8/8/RN2K3 w Q - 0 1" << none << "e1c1"
        << "refused";
    QTest::newRow("rook captured on a1 blocks long castling")
        << "4k3/8/8/8/8/8/1b6/R3K3 b Q - 0 1" << QStringList{"b2a1"} << "e1c1"
        << "refused";
    // The rook lands on f1 and checks the king on f8: judged on the position after the move.
    QTest::newRow("castling rook gives check")
        << "5k2/8/8/8/8/8/8/4K2R w K - 0 1" << none << "e1g1"
        << "LegalMove(E1,G1) Castle(E1,G1) Check(E1,G1) Paint";
    QTest::newRow("castling mates")
        << "2rkr3/2p1p3/8/8/8/8/8/R3K3 w Q - 0 1" << none << "e1c1"
        << "LegalMove(E1,C1) Castle(E1,C1) Check(E1,C1) Mate(E1,C1) Paint";

    QTest::newRow("king next to king") << "8/8/8/3k4/8/3K4/8/8 w - - 0 1" << none << "d3d4"
                                       << "refused";
    QTest::newRow("pinned piece") << "4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1" << none << "e2d3"
                                  << "refused";
    QTest::newRow("back rank mate") << "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1" << none << "a1a8"
                                    << "LegalMove(A1,A8) Check(A1,A8) Mate(A1,A8) Paint";
    QTest::newRow("stalemate") << "7k/8/6Q1/8/8/8/8/K7 w - - 0 1" << none << "g6f7"
                               << "LegalMove(G6,F7) StaleMate(G6,F7) Draw Paint";
    QTest::newRow("bishop against bishop")
        << "4k3/8/7r/3b4/8/8/8/2B1K3 w - - 0 1" << none << "c1h6"
        << "LegalMove(C1,H6) Capture(C1,H6,r) NoMatingMaterial Draw Paint";
    QTest::newRow("two knights against king")
        << "4k3/8/8/8/8/8/3q4/1N2K1N1 w - - 0 1" << none << "e1d2"
        << "LegalMove(E1,D2) Capture(E1,D2,q) NoMatingMaterial Draw Paint";
    QTest::newRow("bishop and knight can mate")
        << "4k3/8/8/8/8/8/3q4/1N2K1B1 w - - 0 1" << none << "e1d2"
        << "LegalMove(E1,D2) Capture(E1,D2,q) Paint";
}

void TestRules::lastMoveEvents() {
    QFETCH(QString, fen);
    QFETCH(QStringList, before);
    QFETCH(QString, move);
    QFETCH(QString, expected);
    TChessGame g = FromFen(fen.toUtf8().constData());
    QVERIFY2(Play(g, before), "setup moves refused");
    EventLog log;
    log.Attach(g);
    const std::string before64 = g.Position();
    const bool ok = Play(g, {move});
    if (expected == "refused") {
        QVERIFY(!ok);
        QVERIFY(log.Events.empty());
        QCOMPARE(g.Position(), before64);
    } else {
        QVERIFY(ok);
        QCOMPARE(log.Joined(), expected);
    }
}

void TestRules::enPassantSquare() {
    TChessGame g;
    QVERIFY(Play(g, {"e2e4"}));
    QCOMPARE(g.EnPassant(), Square::E3);
    QCOMPARE(ToInt(g.EnPassant()), 45);
    QVERIFY(Play(g, {"d7d6"}));
    QCOMPARE(g.EnPassant(), Square::None);
    // After an en passant capture the taken pawn's square is empty.
    TChessGame h = FromFen("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    QVERIFY(Play(h, {"d7d5", "e5d6"}));
    QCOMPARE(h.At(Sq("d5")), ' ');
    QCOMPARE(h.At(Sq("d6")), 'P');
    // Only the captured pawn leaves the board, and nothing else is taken on the way.
    TChessGame k = FromFen("k7/8/4n3/r2Pb2K/8/8/8/8 w - e6 0 1");
    QVERIFY(Play(k, {"d5e6"}));
    QCOMPARE(k.Position(), PlacementFromFen("k7/8/4P3/r3b2K/8/8/8/8"));
    TChessGame q = FromFen("4k3/8/8/3PQ3/8/8/8/4K3 w - e6 0 1");
    QVERIFY(!q.IsLegalMove(Sq("d5"), Sq("e6")));
    QCOMPARE(q.At(Sq("e5")), 'Q');
}

void TestRules::promotionPieceSticks() {
    TChessGame g = FromFen("k7/4P1P1/8/8/8/8/1p6/4K3 w - - 0 1");
    QCOMPARE(g.PromotionPiece(), 'q');
    EventLog log;
    log.Attach(g);
    log.PromoteTo = 'n';
    QVERIFY(Play(g, {"e7e8"}));
    QCOMPARE(g.At(Sq("e8")), 'N');
    log.PromoteTo = 0; // the handler no longer chooses: the last choice stays
    QVERIFY(Play(g, {"b2b1"}));
    QCOMPARE(g.At(Sq("b1")), 'n');
    // A letter that names no piece promotes to a queen, and stays where the handler left it.
    log.PromoteTo = 'x';
    QVERIFY(Play(g, {"g7g8"}));
    QCOMPARE(g.At(Sq("g8")), 'Q');
    QCOMPARE(g.PromotionPiece(), 'x');
    g.ResetGame();
    QCOMPARE(g.PromotionPiece(), 'x');
}

void TestRules::castlingRightsBySquareLeft() {
    TChessGame g = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    QVERIFY(Play(g, {"h1h2"}));
    QCOMPARE(g.CastlingAllowed(), CastleSet(WhiteQueenSide | BlackKingSide | BlackQueenSide));
    QVERIFY(Play(g, {"e8d8"}));
    QCOMPARE(g.CastlingAllowed(), CastleSet(WhiteQueenSide));
    // A rook taken on its corner leaves the right set.
    TChessGame h = FromFen("4k3/8/8/8/8/8/1b6/R3K3 b Q - 0 1");
    QVERIFY(Play(h, {"b2a1"}));
    QCOMPARE(h.CastlingAllowed(), CastleSet(WhiteQueenSide));
}

void TestRules::noKingMeansNoMove() {
    TChessGame g = FromFen("8/8/8/3p4/8/8/8/4K3 b - - 0 1");
    QVERIFY(g.KingAttackedAfter(PieceColour::Black, Sq("d5"), Sq("d4")));
    QVERIFY(!g.CanMove());
    QVERIFY(g.LegalMoves().empty());
}

void TestRules::threefoldBlocksEveryMove() {
    TChessGame g;
    EventLog log;
    QVERIFY(Play(g, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1"}));
    QVERIFY(!g.IsThreefold());
    log.Attach(g);
    QVERIFY(Play(g, {"f6g8"}));
    QCOMPARE(log.Joined(), QString("LegalMove(F6,G8) ThreefoldPosition Draw Paint"));
    QVERIFY(g.GameOver());
    QVERIFY(g.IsThreefold());
    QVERIFY(!g.IsLegalMove(Sq("e2"), Sq("e4")));
    QVERIFY(g.LegalMoves().empty());
    // Stepping back lifts the block.
    QVERIFY(g.PreviousMove());
    QVERIFY(g.IsLegalMove(Sq("f6"), Sq("g8")));
}

// After a threefold line is abandoned, its last slot still holds the repeated placement while
// the new half-move is made. Whether the side to move can move must not depend on that slot.
void TestRules::canMoveIgnoresStaleRepetitionSlot() {
    TChessGame g;
    QVERIFY(Play(g, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"}));
    QVERIFY(g.IsThreefold());
    QVERIFY(g.GoToPosition(4, false));
    EventLog log;
    log.Attach(g);
    QVERIFY(Play(g, {"f6h5"}));
    QCOMPARE(log.Joined(), QString("LegalMove(F6,H5) Paint"));
    QVERIFY(!g.GameOver());
    QVERIFY(g.CanMove());
}

void TestRules::gameOverOnlyWithHandler() {
    TChessGame g = FromFen("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    QVERIFY(Play(g, {"a1a8"}));
    QVERIFY(!g.GameOver()); // no OnMate handler: nobody was told
    TChessGame h = FromFen("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    EventLog log;
    log.Attach(h);
    QVERIFY(Play(h, {"a1a8"}));
    QVERIFY(h.GameOver());
    QVERIFY(!h.MakeMove(Sq("g8"), Sq("h8")));
    QVERIFY(!h.GameOver()); // every MakeMove clears it first
}

// The result the rules give after FEN + moves: its score, and the kind of end.
void TestRules::gameResults_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("score");
    QTest::addColumn<int>("kind");
    using K = TResultKind;
    const QStringList none;
    const QStringList knights = {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1"};
    QTest::newRow("start") << Start << none << "*" << int(K::None);
    QTest::newRow("back rank mate")
        << "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1" << QStringList{"a1a8"} << "1-0" << int(K::Checkmate);
    QTest::newRow("fool's mate") << Start << QStringList{"f2f3", "e7e5", "g2g4", "d8h4"} << "0-1"
                                 << int(K::Checkmate);
    QTest::newRow("stalemate") << "7k/8/6Q1/8/8/8/8/K7 w - - 0 1" << QStringList{"g6f7"}
                               << "1/2-1/2" << int(K::Stalemate);
    QTest::newRow("two repetitions") << Start << knights << "*" << int(K::None);
    QTest::newRow("threefold") << Start << (knights + QStringList{"f6g8"}) << "1/2-1/2"
                               << int(K::Repetition);
    QTest::newRow("clock at 99") << "4k3/8/8/8/8/8/4P3/R3K3 w - - 98 80" << QStringList{"a1a2"}
                                 << "*" << int(K::None);
    QTest::newRow("fifty moves") << "4k3/8/8/8/8/8/4P3/R3K3 w - - 98 80"
                                 << QStringList{"a1a2", "e8d8"} << "1/2-1/2" << int(K::FiftyMoves);
    QTest::newRow("pawn move resets")
        << "4k3/8/8/8/8/8/4P3/R3K3 w - - 99 80" << QStringList{"e2e4"} << "*" << int(K::None);
    // Mate on the hundredth half-move is mate.
    QTest::newRow("mate beats fifty") << "6k1/5ppp/8/8/8/8/8/R5K1 w - - 99 80"
                                      << QStringList{"a1a8"} << "1-0" << int(K::Checkmate);
    QTest::newRow("bare kings") << "4k3/8/8/8/8/8/8/3QK3 b - - 0 1" << QStringList{"e8f8"} << "*"
                                << int(K::None);
    QTest::newRow("queen taken") << "4k3/8/8/8/8/8/8/3qK3 w - - 0 1" << QStringList{"e1d1"}
                                 << "1/2-1/2" << int(K::DeadPosition);
    QTest::newRow("king and knight") << "4k3/8/8/8/8/8/8/3qKN2 w - - 0 1" << QStringList{"e1d1"}
                                     << "1/2-1/2" << int(K::DeadPosition);
    // b2 and f8 are both dark squares; c8 is light.
    QTest::newRow("bishops on one colour")
        << "5b1k/8/8/8/8/8/1r6/2B3K1 w - - 0 1" << QStringList{"c1b2"} << "1/2-1/2"
        << int(K::DeadPosition);
    QTest::newRow("bishops on both colours")
        << "2b4k/8/8/8/8/8/1r6/2B3K1 w - - 0 1" << QStringList{"c1b2"} << "*" << int(K::None);
    QTest::newRow("knight against bishop")
        << "2b4k/8/8/8/8/8/r7/2N3K1 w - - 0 1" << QStringList{"c1a2"} << "*" << int(K::None);
}

void TestRules::gameResults() {
    QFETCH(QString, fen);
    QFETCH(QStringList, moves);
    QFETCH(QString, score);
    QFETCH(int, kind);
    TChessGame g = FromFen(fen.toUtf8().constData());
    QVERIFY2(Play(g, moves), "moves refused");
    const TGameResult r = JudgePosition(g);
    QCOMPARE(QString::fromStdString(r.Score()), score);
    QCOMPARE(int(r.Kind), kind);
    QCOMPARE(QString::fromStdString(r.Termination()), score == "*" ? "unterminated" : "normal");
}

void TestRules::resultsOffTheBoard() {
    const TGameResult resign = Resigned(PieceColour::White);
    QCOMPARE(resign.Score(), std::string("0-1"));
    QCOMPARE(DrawAgreed().Score(), std::string("1/2-1/2"));
    // A flag that falls loses, unless the other side has nothing to mate with.
    const std::string rook = TChessGame(FromFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1")).Position();
    const TGameResult lost = FlagFell(rook, PieceColour::Black);
    QCOMPARE(lost.Score(), std::string("1-0"));
    QCOMPARE(lost.Termination(), std::string("time forfeit"));
    QCOMPARE(FlagFell(rook, PieceColour::White).Score(), std::string("1/2-1/2"));
    const std::string knight = TChessGame(FromFen("4k3/8/8/8/8/8/4p3/N3K3 w - - 0 1")).Position();
    QCOMPARE(FlagFell(knight, PieceColour::Black).Score(), std::string("1/2-1/2"));
    QCOMPARE(FlagFell(knight, PieceColour::White).Score(), std::string("0-1"));
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
