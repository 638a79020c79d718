// SPDX-License-Identifier: GPL-3.0-or-later
// The engine against the plain engine of PlainEngine.cpp, written on its own from the
// description of the search: both must leave the same best move, score, node count and
// principal variation after every search. A node count is a fingerprint of the whole tree
// (move order, cut-offs, extensions, the capture search), so any difference in generation,
// ordering, evaluation or bookkeeping shows here.
#include "chess/ChessGame.h"
#include "engine/BenchSuite.h"
#include "engine/ChessEngine.h"
#include "tests/engine/OracleCase.h"
#include "tests/engine/PlainEngine.h"

#include <QtTest>
#include <memory>
#include <random>
#include <vector>

namespace {

// Positions where the rules are at their edges, each searched at depths 1 to 3.
const char* const SpecialPositions[] = {
    // En passant: plain, by either of two pawns, pinned along the rank, and squares that
    // the pieces do not back up (no pawn behind, the wrong rank, a piece behind).
    "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1",
    "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1",
    "4k3/8/8/2PpP3/8/8/8/4K3 w - d6 0 1",
    "8/8/8/KPp4r/8/8/8/4k3 w - c6 0 1",
    "8/8/8/8/k2Pp2Q/8/8/4K3 b - d3 0 1",
    "4k3/8/8/3PQ3/8/8/8/4K3 w - e6 0 1",
    "k7/8/4n3/r2Pb2K/8/8/8/8 w - e6 0 1",
    "4k3/8/8/8/8/8/3Pq3/4K3 w - e3 0 1",
    "4k3/8/8/3pP3/8/8/8/4K3 b - d6 0 1",
    "4k3/8/8/8/3nP3/8/8/4K3 b - e3 0 1",
    // Castling: free, through or into attack (f1, d1 refused; b1 allowed), out of check,
    // blocked, and rights the pieces do not back up.
    "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
    "r3k2r/8/8/8/8/5r2/8/R3K2R w KQkq - 0 1",
    "r3k2r/8/8/8/8/3r4/8/R3K2R w KQkq - 0 1",
    "r3k2r/8/8/8/8/1r6/8/R3K2R w KQkq - 0 1",
    "r3k2r/8/8/8/4r3/8/8/R3K2R w KQkq - 0 1",
    "r3k2r/8/8/8/8/8/8/RN2K1NR w KQkq - 0 1",
    "r3k2r/6B1/8/8/8/8/8/R3K2R b KQkq - 0 1",
    "r3k2r/8/8/8/8/8/6b1/R3K2R w KQkq - 0 1",
    "4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1",
    "r3k3/8/8/8/8/8/8/4K2R w KQkq - 0 1",
    "r3k2r/8/8/8/8/8/8/R2K3R w KQkq - 0 1",
    // Promotions and under-promotions, by a step and by a capture.
    "8/1P6/8/8/8/8/6p1/K6k w - - 0 1",
    "3r4/4P3/8/8/8/8/k7/4K3 w - - 0 1",
    "8/8/8/8/8/8/4p3/3RK2k b - - 0 1",
    "1r6/P1k5/8/8/8/8/8/K7 w - - 0 1",
    "r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1",
    "8/5P1k/8/8/8/8/8/K3Q3 w - - 0 1",
    "5n2/4P1k1/8/8/8/8/1p6/R3K3 b Q - 0 1",
    "8/PPPP4/8/2k5/8/8/4pppp/4K3 w - - 0 1",
    // Bare kings, a missing king, two kings of a side, an empty board.
    "8/8/8/4k3/8/8/8/4K3 w - - 0 1",
    "k7/8/8/8/8/8/8/7K b - - 0 1",
    "4k3/8/8/8/8/8/8/8 w - - 0 1",
    "4k3/8/8/8/8/8/8/K3K3 w - - 0 1",
    "8/8/8/8/8/8/8/8 w - - 0 1",
    // The side not to move stands in check: its king can be taken.
    "4k3/4R3/8/8/8/8/8/4K3 w - - 0 1",
    "4k3/8/8/8/8/8/4r3/4K3 b - - 0 1",
    "rnbqkbnr/ppppp2p/8/5p1Q/4P3/8/PPPP1PPP/RNB1KBNR w KQkq - 0 1",
    // Pawns on the first or last rank: they stand, they never double-step from there.
    "7k/8/8/8/8/8/8/4P1KR w - - 0 1",
    "k5r1/2b5/8/8/8/8/8/P6K w - - 0 1",
    "4k2p/8/8/8/8/8/8/4K3 b - - 0 1",
    "P3k3/8/8/8/8/8/8/4K2p w - - 0 1",
    "p3k3/8/8/8/8/8/8/4K2P b - - 0 1",
    // Material beyond the root window's reach: every score is kept inside it.
    "8/2k5/8/8/2QB1K2/1QQ2NQQ/Q1QR3Q/3NR1BQ b - - 0 1",
    "8/2k5/8/8/2QB1K2/1QQ2NQQ/Q1QR3Q/3NR1BQ w - - 0 1",
    "qqqqkqqq/qqqqqqqq/8/8/8/8/8/4K3 w - - 0 1",
    // The king's table and shelter follow knights to queens only, never pawns.
    "3qk3/pppppp2/8/8/8/8/5PPP/R5K1 w - - 0 1",
    "3r2k1/pp2bppp/2p1p3/8/8/4P3/PP3PPP/2R3K1 w - - 0 1",
    "4k3/pppppppp/8/8/8/8/PPPPPPPP/2R1K2R w K - 0 1",
    // Mate, stalemate and the root without a move.
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "k7/8/1Q6/8/8/8/8/7K b - - 0 1",
    "k7/1Q6/1K6/8/8/8/8/8 b - - 0 1",
    "k7/2K5/8/8/8/4Q3/8/8 b - - 0 1",
};

// Starting points for random play: the opening, castling, promotion and en passant rich
// middle games, and a pawn ending.
const char* const RandomPlayStarts[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1",
    "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1",
};
constexpr int RandomPositionCount = 320;
constexpr std::uint64_t MostNodesAtDepth1 = 2000;

// Positions reached by random play (random promotion pieces included) from the starts
// above, each after a random number of half-moves; fixed by the seed.
std::vector<TOracleCase> RandomPositions() {
    std::mt19937 random(20261208);
    std::vector<TOracleCase> cases;
    while (int(cases.size()) < RandomPositionCount) {
        const char* start = RandomPlayStarts[cases.size() % std::size(RandomPlayStarts)];
        TChessGame game;
        if (!LoadFen(game, start))
            qFatal("bad start %s", start);
        const int plies = std::uniform_int_distribution<int>(0, 90)(random);
        for (int i = 0; i < plies; ++i) {
            const auto moves = game.LegalMoves();
            if (moves.empty())
                break;
            const auto [from, to] =
                moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
            game.SetPromotionPiece("qrbn"[random() % 4]);
            if (!game.MakeMove(from, to))
                qFatal("a legal move was refused");
        }
        TOracleCase c;
        c.Placement = game.Position();
        c.WhiteToMove = game.WhiteToMove();
        c.Castling = game.CastlingAllowed();
        c.EnPassant = ToInt(game.EnPassant());
        // Random play leaves pieces hanging everywhere, and a few positions keep the plain
        // engine busy for seconds; the test time goes to many positions instead.
        auto sizer = std::make_unique<TChessEngine>();
        sizer->ComputeMove(c.Position(1));
        if (sizer->Nodes() <= MostNodesAtDepth1)
            cases.push_back(c);
    }
    return cases;
}

void AddRows(const char* group, int index, const TOracleCase& c, int firstDepth, int lastDepth) {
    for (int depth = firstDepth; depth <= lastDepth; ++depth)
        QTest::addRow("%s %d depth %d", group, index, depth)
            << QString::fromStdString(c.Placement) << c.WhiteToMove << c.Castling << c.EnPassant
            << depth;
}

} // namespace

class TestEngineOracle : public QObject {
    Q_OBJECT
private slots:
    void sameSearch_data() {
        QTest::addColumn<QString>("placement");
        QTest::addColumn<bool>("whiteToMove");
        QTest::addColumn<int>("castling");
        QTest::addColumn<int>("enPassant");
        QTest::addColumn<int>("depth");
        for (int i = 0; i < int(std::size(BenchPositions)); ++i)
            AddRows("bench", i, OracleCaseFromFen(BenchPositions[i]), 1, 4);
        for (int i = 0; i < int(std::size(SpecialPositions)); ++i) {
            const TOracleCase c = OracleCaseFromFen(SpecialPositions[i]);
            if (c.Placement.empty())
                qFatal("bad test FEN %s", SpecialPositions[i]);
            AddRows("special", i, c, 1, 3);
        }
        const std::vector<TOracleCase> random = RandomPositions();
        for (int i = 0; i < int(random.size()); ++i)
            AddRows("random", i, random[i], 1, 3);
    }
    void sameSearch() {
        QFETCH(QString, placement);
        QFETCH(bool, whiteToMove);
        QFETCH(int, castling);
        QFETCH(int, enPassant);
        QFETCH(int, depth);
        const std::string text = placement.toStdString();
        const TEnginePosition position{text, whiteToMove, castling, enPassant, depth};
        auto plain = std::make_unique<TPlainEngine>();
        auto engine = std::make_unique<TChessEngine>();
        const std::string expected = SearchLine(*plain, plain->ComputeMove(position));
        const std::string actual = SearchLine(*engine, engine->ComputeMove(position));
        QCOMPARE(QString::fromStdString(actual), QString::fromStdString(expected));
        QCOMPARE(engine->CurrentPly(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEngineOracle)
#include "tst_engine_oracle.moc"
