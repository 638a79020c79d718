// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation's values, the search's results in positions whose answer is known, the
// stop request, the limits of the ply and move arrays, and picking against a plain scan.
#include "engine/MovePicking.h"
#include "tests/engine/EngineFen.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <thread>

namespace {

std::unique_ptr<TChessEngine> Searched(const QString& fen, int depth) {
    auto engine = std::make_unique<TChessEngine>();
    engine->ComputeMove(TEngineFen(fen).Position(depth));
    return engine;
}

int SquareOf(const char* name) {
    return (name[0] - 'a') + 8 * ('8' - name[1]);
}

} // namespace

class TestEngineSearch : public QObject {
    Q_OBJECT
private slots:
    void evaluation_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("score");
        const QString start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
        QTest::newRow("start, white") << start << 0;
        QTest::newRow("start, black") << QString(start).replace(" w ", " b ") << 0;
        // 112 for the pawn, -20 isolated, -10 on a file without black pawns, +224 passed;
        // both kings on the end-game table's e-file edge squares.
        QTest::newRow("passed e5, white") << "4k3/8/8/4P3/8/8/8/4K3 w - - 0 1" << 306;
        QTest::newRow("passed e5, black") << "4k3/8/8/4P3/8/8/8/4K3 b - - 0 1" << -306;
        // Doubled (-5 each) and neither isolated nor passed against an isolated e7 pawn.
        QTest::newRow("doubled") << "4k3/4p3/8/8/4P3/4P3/3P4/4K3 w - - 0 1"
                                 << (108 - 5) + (104 - 5) + 80 - (80 - 20);
        // A rook on a file without pawns: +10, +5 more when neither side has one there.
        QTest::newRow("rook on open file") << "4k3/8/8/8/8/8/8/R3K3 w - - 0 1" << 515;
        QTest::newRow("rook on half-open file")
            << "4k3/p7/8/8/8/8/8/R3K3 w - - 0 1" << 510 - (100 - 30 + 2 * 100);
    }
    void evaluation() {
        QFETCH(QString, fen);
        QFETCH(int, score);
        auto engine = std::make_unique<TChessEngine>();
        engine->LoadPosition(TEngineFen(fen).Position());
        engine->PrepareEvaluation();
        QCOMPARE(engine->Evaluate(), score);
    }

    // The king's table and the pawn shelter follow the opponent's pieces (knights to
    // queens) at the root: more than 1400 keeps the middle game.
    void squareValues_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("piece");
        QTest::addColumn<QString>("square");
        QTest::addColumn<int>("value");
        const QString castled = "rnbq1rk1/pppppppp/8/8/8/6P1/PPPPPP1P/RNBQ1RK1 w - - 0 1";
        QTest::newRow("f2 sheltering") << castled << ColourWhite << PiecePawn << "f2" << 120;
        QTest::newRow("g2 sheltering") << castled << ColourWhite << PiecePawn << "g2" << 120;
        QTest::newRow("h2 sheltering") << castled << ColourWhite << PiecePawn << "h2" << 120;
        QTest::newRow("g3 sheltering") << castled << ColourWhite << PiecePawn << "g3" << 112;
        QTest::newRow("d2 unsheltered") << castled << ColourWhite << PiecePawn << "d2" << 80;
        QTest::newRow("f7 black shelter") << castled << ColourBlack << PiecePawn << "f7" << 120;
        QTest::newRow("g6 black shelter") << castled << ColourBlack << PiecePawn << "g6" << 112;
        QTest::newRow("king g1 middle") << castled << ColourWhite << PieceKing << "g1" << 10;
        QTest::newRow("king e4 middle") << castled << ColourWhite << PieceKing << "e4" << -40;
        const QString queenSide = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/2KR1BNR w - - 0 1";
        QTest::newRow("b2 queen side") << queenSide << ColourWhite << PiecePawn << "b2" << 120;
        QTest::newRow("g2 not sheltering") << queenSide << ColourWhite << PiecePawn << "g2" << 100;
        // Black keeps a queen and a rook (1400): white's king goes to the end-game table.
        const QString ending = "3qk2r/8/8/8/8/8/5PPP/RNBQ1RK1 w - - 0 1";
        QTest::newRow("end f2 no shelter") << ending << ColourWhite << PiecePawn << "f2" << 100;
        QTest::newRow("end king g1") << ending << ColourWhite << PieceKing << "g1" << -5;
        QTest::newRow("end king e4") << ending << ColourWhite << PieceKing << "e4" << 10;
        QTest::newRow("black still middle") << ending << ColourBlack << PieceKing << "e8" << 0;
        QTest::newRow("knight c3") << ending << ColourWhite << PieceKnight << "c3" << 305;
        QTest::newRow("black bishop a1") << ending << ColourBlack << PieceBishop << "a1" << 290;
    }
    void squareValues() {
        QFETCH(QString, fen);
        QFETCH(int, colour);
        QFETCH(int, piece);
        QFETCH(QString, square);
        QFETCH(int, value);
        auto engine = std::make_unique<TChessEngine>();
        engine->LoadPosition(TEngineFen(fen).Position());
        engine->PrepareEvaluation();
        QCOMPARE(engine->SquareValueOf(colour, piece, SquareOf(qPrintable(square))), value);
    }

    void knownResults_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("best");
        QTest::addColumn<int>("score");
        // After the mate the capture search finds the side in check without a move: 1-10000.
        QTest::newRow("back rank mate, depth 1")
            << "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1" << 1 << "d1d8" << 9999;
        QTest::newRow("queen mate, depth 1")
            << "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4" << 1 << "h5f7"
            << 9999;
        QTest::newRow("black mates") << "r2k4/8/8/8/8/8/5PPP/6K1 b - - 0 1" << 1 << "a8a1" << 9999;
        QTest::newRow("mate in two")
            << "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1" << 3 << "g3g6" << 9997;
        QTest::newRow("queen promotion") << "8/1P6/8/8/8/8/8/K6k w - - 0 1" << 1 << "b7b8q" << 900;
        // Black's queen and rook (1400) leave white's king the end-game table whatever
        // pawns black has; white's rook alone leaves black's king the same.
        QTest::newRow("pawns are no pieces")
            << "3qk3/pppppp2/8/8/8/8/5PPP/R5K1 w - - 0 1" << 1 << "a1a7" << -905;
        QTest::newRow("pawns are no pieces, depth 3")
            << "3r2k1/pp2bppp/2p1p3/8/8/4P3/PP3PPP/2R3K1 w - - 0 1" << 3 << "b2b3" << -406;
    }
    void knownResults() {
        QFETCH(QString, fen);
        QFETCH(int, depth);
        QFETCH(QString, best);
        QFETCH(int, score);
        const auto engine = Searched(fen, depth);
        QCOMPARE(QString::fromStdString(MoveText(engine->BestMove())), best);
        QCOMPARE(engine->Score(), score);
        QCOMPARE(engine->CompletedDepth(), depth);
    }

    // A stalemate scores 0 at a full-width node; at the leaves the static score stands.
    void stalemateSeenOnlyAtFullWidth() {
        auto engine = std::make_unique<TChessEngine>();
        engine->LoadPosition(TEngineFen("k7/2K5/8/8/8/4Q3/8/8 b - - 0 1").Position());
        engine->PrepareEvaluation();
        QCOMPARE(engine->SearchNode(-10000, 10000, 1), 0);
        const int standPat = engine->Evaluate();
        QVERIFY(standPat < -800);
        QCOMPARE(engine->CaptureSearch(-10000, 10000), standPat);
    }

    // Without a legal move at the root nothing is written: the move of the search before
    // stays (a8a8, all zero, in an engine that never searched).
    void rootWithoutMoveKeepsOldResult() {
        const TEngineFen stalemate("k7/8/1Q6/8/8/8/8/7K b - - 0 1");
        const TEngineFen mated("k7/1Q6/1K6/8/8/8/8/8 b - - 0 1");
        auto engine = std::make_unique<TChessEngine>();
        QCOMPARE(engine->ComputeMove(stalemate.Position(3)), EngineMove(0));
        QCOMPARE(engine->Score(), 0);
        const EngineMove played =
            engine->ComputeMove(TEngineFen("8/8/8/8/8/8/6k1/4K2R w K - 0 1").Position(2));
        QVERIFY(played != 0);
        QCOMPARE(engine->ComputeMove(mated.Position(4)), played);
        QCOMPARE(engine->Score(), -10000);
        QCOMPARE(engine->ComputeMove(stalemate.Position(1)), played);
    }

    // Picking finds what a plain scan finds, for every length and start, with ties in plenty
    // and other values around the slice, which short lists read past their end.
    void pickingMatchesPlainScan() {
        std::mt19937 random(7);
        for (int round = 0; round < 3000; ++round) {
            const int begin = static_cast<int>(random() % 5);
            const int end = begin + 1 + static_cast<int>(random() % 40);
            const int spread = 1 + static_cast<int>(random() % 6);
            std::int32_t scores[52];
            std::int16_t keys[52];
            for (int i = 0; i < 52; ++i) {
                const bool inside = i >= begin && i < end;
                scores[i] = inside ? static_cast<std::int32_t>(random() % spread) - 2
                                   : static_cast<std::int32_t>(random() % 3) + 100;
                if (round % 2 && inside)
                    scores[i] += 1000000; // capture scores
                keys[i] = static_cast<std::int16_t>(scores[i] % 30000);
            }
            const auto first = std::max_element(scores + begin, scores + end) - scores;
            const auto firstKey = std::max_element(keys + begin, keys + end) - keys;
            QCOMPARE(FirstHighest(scores, begin, end), int(first));
            QCOMPARE(FirstHighestKey(keys, begin, end), int(firstKey));
            QCOMPARE(LowestScore(scores, begin, end),
                     *std::min_element(scores + begin, scores + end));
        }
    }

    // The knight promotion, generated first, takes the principal variation's mark.
    void pvMarkGoesToKnightPromotion() {
        const TEngineFen race("8/1P6/8/8/8/8/8/K6k w - - 0 1");
        auto engine = std::make_unique<TChessEngine>();
        QCOMPARE(MoveText(engine->ComputeMove(race.Position(1))), std::string("b7b8q"));
        engine->LoadPosition(race.Position());
        engine->GenerateMoves();
        engine->MarkPvMove();
        QCOMPARE(engine->StackedMove(FindMove(*engine, "b7b8n")).Score, 10000000 + 1000010);
        QCOMPARE(engine->StackedMove(FindMove(*engine, "b7b8q")).Score, 1000040);
        engine->PickBestMove(engine->FirstMoveIndex());
        QCOMPARE(MoveText(engine->StackedMove(engine->FirstMoveIndex()).Move),
                 std::string("b7b8n"));
    }

    // Whatever the layout (pawns on their first rank, more material than the root window
    // holds), a search of a position with a legal half-move answers one the rules accept.
    void answerIsLegal_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("depth");
        const char* const fens[] = {
            "7k/8/8/8/8/8/8/4P1KR w - - 0 1",
            "k5r1/2b5/8/8/8/8/8/P6K w - - 0 1",
            "4k2p/8/8/8/8/8/8/4K3 b - - 0 1",
            "8/2k5/8/8/2QB1K2/1QQ2NQQ/Q1QR3Q/3NR1BQ b - - 0 1",
            "8/2k5/8/8/2QB1K2/1QQ2NQQ/Q1QR3Q/3NR1BQ w - - 0 1",
            "k7/8/8/8/8/BBBBBBBB/NNNNNNNN/QQQQKQQQ w - - 0 1",
        };
        for (const char* fen : fens)
            for (int depth : {1, 2, 3})
                QTest::addRow("%s depth %d", fen, depth) << QString(fen) << depth;
        QTest::newRow("first-rank pawn, depth 5") << QString(fens[0]) << 5;
    }
    void answerIsLegal() {
        QFETCH(QString, fen);
        QFETCH(int, depth);
        TChessGame game;
        QVERIFY(LoadFen(game, fen.toStdString()));
        QVERIFY(!game.LegalMoves().empty());
        const EngineMove best = Searched(fen, depth)->BestMove();
        const Square from = ToSquare(MoveFrom(best) + 1);
        const Square to = ToSquare(MoveTo(best) + 1);
        QVERIFY2(game.IsLegalMove(from, to), MoveText(best).c_str());
    }

    void stopRequestBeforeSearch() {
        const TEngineFen start("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
        auto engine = std::make_unique<TChessEngine>();
        const EngineMove first = engine->ComputeMove(start.Position(2));
        engine->StopRequested = true;
        QCOMPARE(
            engine->ComputeMove(TEngineFen("6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1").Position(8)),
            first);
        QCOMPARE(engine->Nodes(), quint64(0));
        QCOMPARE(engine->CompletedDepth(), 0);
    }

    // Raised by another thread during a long search, the request ends it: the search
    // returns long before its last iteration and leaves every ply.
    void stopRequestFromAnotherThread() {
        const TEngineFen kiwipete(
            "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
        auto engine = std::make_unique<TChessEngine>();
        std::thread stopper([&engine] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            engine->StopRequested = true;
        });
        engine->ComputeMove(kiwipete.Position(8));
        stopper.join();
        QVERIFY(engine->CompletedDepth() < 8);
        QCOMPARE(engine->CurrentPly(), 0);
    }

    // The capture search answers a stop request too: in these layouts a depth-1 search is
    // nearly all capture search, and runs for a minute unless it stops.
    void stopRequestInCaptureSearch_data() {
        QTest::addColumn<QString>("fen");
        QTest::newRow("queens") << "rnb1kbnr/qqqqqqqq/8/8/8/8/QQQQQQQQ/RNB1KBNR w - - 0 1";
        QTest::newRow("more queens") << "rnbqkbnr/qqqqqqqq/8/8/8/8/QQQQQQQQ/RNBQKBNR w - - 0 1";
    }
    void stopRequestInCaptureSearch() {
        QFETCH(QString, fen);
        const TEngineFen queens(fen);
        auto engine = std::make_unique<TChessEngine>();
        engine->LoadPosition(queens.Position());
        engine->PrepareEvaluation();
        engine->StopRequested = true;
        engine->CaptureSearch(-10000, 10000);
        QCOMPARE(engine->Nodes(), quint64(1));

        engine->StopRequested = false;
        std::thread stopper([&engine] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            engine->StopRequested = true;
        });
        engine->ComputeMove(queens.Position(1));
        stopper.join();
        QCOMPARE(engine->CompletedDepth(), 0);
        QCOMPARE(engine->CurrentPly(), 0);
    }

    // Searched from deep in a line, the nodes at ply 63 are scored statically: their moves
    // would have no room in the ply arrays.
    void plyLimit() {
        auto engine = std::make_unique<TChessEngine>();
        engine->LoadPosition(
            TEngineFen("r1bqkb1r/pppppppp/2n2n2/8/8/2N2N2/PPPPPPPP/R1BQKB1R w KQkq - 0 1")
                .Position());
        engine->PrepareEvaluation();
        // Knights out and back, again and again: nothing stops the line but the limit.
        const char* shuffle[] = {"c3b1", "c6b8", "b1c3", "b8c6"};
        int made = 0;
        while (engine->CurrentPly() < TEngineBoard::MaxPly - 1) {
            engine->GenerateMoves();
            const int index = FindMove(*engine, shuffle[made % 4]);
            QVERIFY(index >= 0);
            QVERIFY(engine->MakeEngineMove(engine->StackedMove(index).Move));
            ++made;
        }
        engine->GenerateMoves();
        QCOMPARE(engine->EndMoveIndex(), engine->FirstMoveIndex());
        QVERIFY(!engine->MakeEngineMove(PackMove(SquareOf("b8"), SquareOf("c6"), 0, 0)));
        while (engine->CurrentPly() > 58)
            engine->TakeBackMove();
        const int score = engine->SearchNode(-10000, 10000, 8);
        QVERIFY(score > -10000 && score < 10000);
        QCOMPARE(engine->DeepestPly(), TEngineBoard::MaxPly - 1);
        QCOMPARE(engine->CurrentPly(), 58);
        QVERIFY(engine->EndMoveIndex() <= TEngineBoard::MoveStackSize);
    }

    // Many queens fill the move stack within a few plies; what does not fit is never
    // written, and a node without room left is scored statically.
    void moveStackLimit() {
        auto engine = std::make_unique<TChessEngine>();
        engine->LoadPosition(
            TEngineFen("qqq1k1qq/qq4qq/8/8/8/8/QQ4QQ/QQQ1K1QQ w - - 0 1").Position());
        engine->PrepareEvaluation();
        int plies = 0;
        while (engine->FirstMoveIndex() < TEngineBoard::MoveStackSize - 100) {
            engine->GenerateMoves();
            QVERIFY(engine->EndMoveIndex() <= TEngineBoard::MoveStackSize);
            bool moved = false;
            for (int i = engine->FirstMoveIndex(); i < engine->EndMoveIndex() && !moved; ++i)
                if (!(MoveFlags(engine->StackedMove(i).Move) & FlagCapture))
                    moved = engine->MakeEngineMove(engine->StackedMove(i).Move);
            QVERIFY(moved);
            ++plies;
        }
        QVERIFY(plies < TEngineBoard::MaxPly - 1); // the stack fills first
        engine->GenerateMoves();
        QCOMPARE(engine->EndMoveIndex(), TEngineBoard::MoveStackSize);
        const int score = engine->SearchNode(-10000, 10000, 6);
        QVERIFY(score > -10000 && score < 10000);
        QVERIFY(engine->MostMovesStacked() <= TEngineBoard::MoveStackSize);
        QCOMPARE(engine->CurrentPly(), plies);
    }
};

QTEST_GUILESS_MAIN(TestEngineSearch)
#include "tst_engine_search.moc"
