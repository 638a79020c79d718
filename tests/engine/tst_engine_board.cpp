// SPDX-License-Identifier: GPL-3.0-or-later
// The engine board: what LoadPosition trusts, castling refusals, move ordering scores, pawns
// that stand on their own promotion rank, the capture list against the full one, the sliders'
// reach from the line tables against a plain walk, and the check state kept from the last
// move, the legal moves counted without making them and the evasions found alone, all against
// making every move.
#include "engine/BenchSuite.h"
#include "engine/EngineTables.h"
#include "tests/engine/EngineFen.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::string Squares(const TEngineBoard& b) {
    std::string s;
    for (int i = 0; i < 64; ++i)
        s += std::to_string(b.ColourAt(i) * 10 + b.PieceAt(i)) + ",";
    return s + std::to_string(b.Castling()) + "," + std::to_string(b.EnPassantSquare());
}

std::unique_ptr<TEngineBoard> Loaded(const QString& fen) {
    auto board = std::make_unique<TEngineBoard>();
    board->LoadPosition(TEngineFen(fen).Position());
    return board;
}

// In check with one king: the evasions found on their own are the moves of the whole list
// that MakeEngineMove accepts, with the same scores, and perhaps an en passant capture that
// it refuses.
void CompareEvasions(TEngineBoard& board) {
    int count = 0;
    const int found = board.GenerateEvasions(count);
    std::vector<TEngineBoard::TStackedMove> evasions;
    for (int i = 0; i < found; ++i)
        evasions.push_back(board.StackedMove(board.FirstMoveIndex() + i));
    board.GenerateMoves();
    QCOMPARE(count, board.EndMoveIndex() - board.FirstMoveIndex());
    for (int i = board.FirstMoveIndex(); i < board.EndMoveIndex(); ++i) {
        const TEngineBoard::TStackedMove entry = board.StackedMove(i);
        const auto match = std::find_if(evasions.begin(), evasions.end(), [&entry](auto e) {
            return e.Move == entry.Move && e.Score == entry.Score;
        });
        if (!board.MakeEngineMove(entry.Move))
            continue;
        board.TakeBackMove();
        QVERIFY2(match != evasions.end(), MoveText(entry.Move).c_str());
        evasions.erase(match);
    }
    for (const auto& e : evasions)
        QVERIFY2(MoveFlags(e.Move) & FlagEnPassant, MoveText(e.Move).c_str());
}

// The whole list as counted without it: for every square, the entries before the first of
// its piece and those scoring above 0; and each piece's moves in OrderWithinPiece's order.
void CompareListOrder(TEngineBoard& board) {
    board.GenerateMoves();
    const int first = board.FirstMoveIndex();
    int above = 0;
    for (int i = first; i < board.EndMoveIndex(); ++i)
        above += board.StackedMove(i).Score > 0;
    for (int i = first; i < board.EndMoveIndex(); ++i) {
        const EngineMove move = board.StackedMove(i).Move;
        if (MoveFlags(move) & (FlagCastle | FlagEnPassant))
            break; // after every piece's moves
        if (i == first || MoveFrom(board.StackedMove(i - 1).Move) != MoveFrom(move)) {
            int before = -1;
            int counted = -1;
            board.CountBeforeAndAbove(MoveFrom(move), before, counted);
            QCOMPARE(before, i - first);
            QCOMPARE(counted, above);
        } else {
            QVERIFY2(board.OrderWithinPiece(board.StackedMove(i - 1).Move) <
                         board.OrderWithinPiece(move),
                     MoveText(move).c_str());
        }
    }
}

// Every position to `depth` plies: the check state the board derives from the last move
// matches the one found by looking at every line to the king; the entries of the whole list
// are counted right without it, and (short of the last ply, and in check) in their order and
// by their scores; in check, the evasions are found alone; and (short of the last ply) the
// legal moves counted without making them are the moves MakeEngineMove accepts.
void CompareCheckStates(TEngineBoard& board, int depth) {
    QCOMPARE(board.ActiveInCheck(), board.SideInCheck(board.SideToMove()));
    const int entries = board.CountMoves();
    board.GenerateMoves();
    QCOMPARE(entries, board.EndMoveIndex() - board.FirstMoveIndex());
    if (depth > 0 || board.ActiveInCheck()) // where it is used; every position takes long
        CompareListOrder(board);
    if (board.ActiveInCheck() && board.KingsOf(board.SideToMove()) == 1)
        CompareEvasions(board);
    if (QTest::currentTestFailed() || depth == 0)
        return;
    const int counted = board.LegalMoveCount();
    int made = 0;
    board.GenerateMoves();
    for (int i = board.FirstMoveIndex(); i < board.EndMoveIndex(); ++i) {
        if (!board.MakeEngineMove(board.StackedMove(i).Move))
            continue;
        ++made;
        CompareCheckStates(board, depth - 1);
        if (QTest::currentTestFailed())
            return;
        board.TakeBackMove();
    }
    QCOMPARE(counted, made);
}

} // namespace

class TestEngineBoard : public QObject {
    Q_OBJECT
private slots:
    void trustedRights_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("castling");
        QTest::addColumn<int>("epSquare");
        QTest::newRow("all in place") << "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1" << 15 << -1;
        QTest::newRow("no rooks") << "4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1" << 0 << -1;
        QTest::newRow("h1 rook missing") << "r3k2r/8/8/8/8/8/8/R3K3 w KQkq - 0 1" << 14 << -1;
        QTest::newRow("king off e1") << "r3k2r/8/8/8/8/8/8/R2K3R w KQkq - 0 1" << 12 << -1;
        QTest::newRow("black rook on a1") << "r3k2r/8/8/8/8/8/8/r3K2R w KQkq - 0 1" << 13 << -1;
        QTest::newRow("a8 rook missing") << "4k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1" << 7 << -1;
        QTest::newRow("ep with pawn") << "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1" << 0 << 19;
        QTest::newRow("ep without pawn") << "4k3/8/8/4P3/8/8/8/4K3 w - d6 0 1" << 0 << -1;
        QTest::newRow("ep of own side") << "4k3/8/8/3PP3/8/8/8/4K3 w - d6 0 1" << 0 << -1;
        QTest::newRow("black ep") << "4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1" << 0 << 43;
    }
    void trustedRights() {
        QFETCH(QString, fen);
        QFETCH(int, castling);
        QFETCH(int, epSquare);
        const auto board = Loaded(fen);
        QCOMPARE(board->Castling(), castling);
        QCOMPARE(board->EnPassantSquare(), epSquare);
    }

    // Castling is tested when it is made: the king out of check, the squares between king
    // and rook empty, the king's passage and destination not attacked (b1/b8 may be).
    void castling_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<QString>("move");
        QTest::addColumn<bool>("allowed");
        const QString base = "4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1";
        QTest::newRow("free king side") << base << "e1g1" << true;
        QTest::newRow("free queen side") << base << "e1c1" << true;
        QTest::newRow("in check") << "4k3/8/8/8/8/8/8/R3K2r w Q - 0 1"
                                  << "e1c1" << false;
        QTest::newRow("in check by rook") << "4r1k1/8/8/8/8/8/8/R3K2R w KQ - 0 1"
                                          << "e1g1" << false;
        QTest::newRow("f1 occupied") << "4k3/8/8/8/8/8/8/R3KB1R w KQ - 0 1"
                                     << "e1g1" << false;
        QTest::newRow("g1 occupied") << "4k3/8/8/8/8/8/8/R3K1NR w KQ - 0 1"
                                     << "e1g1" << false;
        QTest::newRow("b1 occupied") << "4k3/8/8/8/8/8/8/RN2K2R w KQ - 0 1"
                                     << "e1c1" << false;
        QTest::newRow("b1 attacked") << "1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1"
                                     << "e1c1" << true;
        QTest::newRow("c1 attacked") << "2r1k3/8/8/8/8/8/8/R3K2R w KQ - 0 1"
                                     << "e1c1" << false;
        QTest::newRow("d1 attacked") << "3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1"
                                     << "e1c1" << false;
        QTest::newRow("f1 attacked") << "4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1"
                                     << "e1g1" << false;
        QTest::newRow("g1 attacked") << "4k1r1/8/8/8/8/8/8/R3K2R w KQ - 0 1"
                                     << "e1g1" << false;
        QTest::newRow("h1 attacked") << "4k2r/8/8/8/8/8/8/R3K2R w KQ - 0 1"
                                     << "e1g1" << true;
        QTest::newRow("black free") << "r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1"
                                    << "e8g8" << true;
        QTest::newRow("black f8 attacked") << "r3k2r/8/8/8/8/8/8/4KR2 b kq - 0 1"
                                           << "e8g8" << false;
        QTest::newRow("black b8 occupied") << "rn2k2r/8/8/8/8/8/8/4K3 b kq - 0 1"
                                           << "e8c8" << false;
    }
    void castling() {
        QFETCH(QString, fen);
        QFETCH(QString, move);
        QFETCH(bool, allowed);
        const auto board = Loaded(fen);
        board->GenerateMoves();
        const int index = FindMove(*board, move.toStdString());
        QVERIFY(index >= 0);
        const std::string before = Squares(*board);
        QCOMPARE(board->MakeEngineMove(board->StackedMove(index).Move), allowed);
        if (allowed) {
            const bool white = move.startsWith("e1");
            const int rookTo = move.endsWith("g1")   ? 61
                               : move.endsWith("c1") ? 59
                               : move.endsWith("g8") ? 5
                                                     : 3;
            QCOMPARE(board->PieceAt(rookTo), PieceRook);
            QCOMPARE(board->ColourAt(rookTo), white ? ColourWhite : ColourBlack);
            QCOMPARE(board->Castling() & (white ? 3 : 12), 0);
            board->TakeBackMove();
        }
        QCOMPARE(Squares(*board), before);
        QCOMPARE(board->CurrentPly(), 0);
    }

    // Captures by victim then attacker, en passant above all, promotions by their piece;
    // quiet moves by history (zero here).
    void orderingScores_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("score");
        const QString ep = "3qk3/8/8/3pP3/2q5/1P6/8/4K3 w - d6 0 1";
        QTest::newRow("en passant") << ep << "e5d6" << 1000060;
        QTest::newRow("pawn takes queen") << ep << "b3c4" << 1000040;
        QTest::newRow("king quiet") << ep << "e1f1" << 0;
        const QString promo = "3r4/4P2k/8/8/8/8/8/4K3 w - - 0 1";
        QTest::newRow("queen promotion") << promo << "e7e8q" << 1000040;
        QTest::newRow("rook promotion") << promo << "e7e8r" << 1000030;
        QTest::newRow("bishop promotion") << promo << "e7e8b" << 1000020;
        QTest::newRow("knight promotion") << promo << "e7e8n" << 1000010;
        QTest::newRow("capture promotion") << promo << "e7d8q" << 1000040;
        QTest::newRow("king takes rook") << "4k3/8/8/8/8/8/8/3rK3 w - - 0 1"
                                         << "e1d1" << 1000000 + 30 - 5;
        QTest::newRow("queen takes pawn") << "4k3/8/8/8/8/8/p7/Q3K3 w - - 0 1"
                                          << "a1a2" << 1000000 + 0 - 4;
    }
    void orderingScores() {
        QFETCH(QString, fen);
        QFETCH(QString, move);
        QFETCH(int, score);
        const auto board = Loaded(fen);
        board->GenerateMoves();
        const int index = FindMove(*board, move.toStdString());
        QVERIFY(index >= 0);
        QCOMPARE(board->StackedMove(index).Score, score);
    }

    // The promotion codes follow in knight, bishop, rook, queen order for each target, so
    // with equal scores the queen promotion generated first is picked first.
    void promotionsInGenerationOrder() {
        const auto board = Loaded("3r4/4P2k/8/8/8/8/8/4K3 w - - 0 1");
        board->GenerateMoves();
        std::string moves;
        for (int i = board->FirstMoveIndex(); i < board->EndMoveIndex(); ++i)
            moves += MoveText(board->StackedMove(i).Move) + " ";
        QVERIFY(moves.starts_with("e7d8n e7d8b e7d8r e7d8q e7e8n e7e8b e7e8r e7e8q "));
    }

    void pawnOnItsPromotionRankStays_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("moves");
        QTest::newRow("white pawn on a8") << "P3k3/8/8/8/8/8/8/4K2p w - - 0 1" << 5;
        QTest::newRow("black pawn on h1") << "P3k3/8/8/8/8/8/8/4K2p b - - 0 1" << 5;
    }
    void pawnOnItsPromotionRankStays() {
        QFETCH(QString, fen);
        QFETCH(int, moves);
        const auto board = Loaded(fen);
        board->GenerateMoves();
        QCOMPARE(board->EndMoveIndex() - board->FirstMoveIndex(), moves);
        for (int i = board->FirstMoveIndex(); i < board->EndMoveIndex(); ++i)
            QCOMPARE(board->PieceAt(MoveFrom(board->StackedMove(i).Move)), PieceKing);
        board->GenerateCaptures();
        QCOMPARE(board->EndMoveIndex(), board->FirstMoveIndex());
        // Nothing is attacked by those pawns either: the kings may walk next to them.
        QVERIFY(!board->SquareAttacked(1, ColourWhite));
        QVERIFY(!board->SquareAttacked(62, ColourBlack));
        QCOMPARE(board->Perft(3) > 0, true);
    }

    // With the history counts a search leaves, quiet moves score above 0 too: the list is
    // still counted right, in every benchmark position and one ply into it.
    void listCountedWithHistory() {
        auto engine = std::make_unique<TChessEngine>();
        for (const char* fen : BenchPositions) {
            const TEngineFen position(fen);
            engine->ComputeMove(position.Position(3));
            engine->LoadPosition(position.Position());
            CompareListOrder(*engine);
            engine->GenerateMoves();
            for (int i = engine->FirstMoveIndex(); i < engine->EndMoveIndex(); ++i) {
                if (!engine->MakeEngineMove(engine->StackedMove(i).Move))
                    continue;
                CompareListOrder(*engine);
                engine->TakeBackMove();
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    // The capture search's list is the full list's captures and promotions, in the same
    // order and with the same scores, one and two plies into every benchmark position. So is
    // the list of captures generated first, with room kept for the whole list; but only while
    // they score above every other entry: not once a quiet move's history count reaches them.
    void capturesFollowFullGeneration() {
        struct TBoard : TEngineBoard {
            using TEngineBoard::AddHistory;
        };
        auto board = std::make_unique<TBoard>();
        bool historyRaised = false;
        auto compare = [&board, &historyRaised] {
            board->GenerateMoves();
            const int end = board->EndMoveIndex();
            std::vector<TEngineBoard::TStackedMove> expected;
            int highestOther = -1;
            for (int i = board->FirstMoveIndex(); i < end; ++i) {
                if (MoveFlags(board->StackedMove(i).Move) & (FlagCapture | FlagPromotion))
                    expected.push_back(board->StackedMove(i));
                else
                    highestOther = std::max(highestOther, board->StackedMove(i).Score);
            }
            board->GenerateCaptures();
            QCOMPARE(board->EndMoveIndex() - board->FirstMoveIndex(), int(expected.size()));
            for (int i = 0; i < int(expected.size()); ++i) {
                const auto& got = board->StackedMove(board->FirstMoveIndex() + i);
                QCOMPARE(got.Move, expected[i].Move);
                QCOMPARE(got.Score, expected[i].Score);
            }
            const int staged = board->GenerateCapturesFirst();
            if (!historyRaised)
                QCOMPARE(staged > 0, !expected.empty());
            if (staged == 0)
                return;
            for (const auto& e : expected)
                QVERIFY2(e.Score > highestOther, MoveText(e.Move).c_str());
            QCOMPARE(staged, int(expected.size()));
            QCOMPARE(board->EndMoveIndex(), end);
            for (int i = 0; i < staged; ++i) {
                const auto& got = board->StackedMove(board->FirstMoveIndex() + i);
                QCOMPARE(got.Move, expected[i].Move);
                QCOMPARE(got.Score, expected[i].Score);
            }
        };
        for (const char* fen : BenchPositions) {
            board->LoadPosition(TEngineFen(fen).Position());
            compare();
            board->GenerateMoves();
            for (int i = board->FirstMoveIndex(); i < board->EndMoveIndex(); ++i) {
                if (!board->MakeEngineMove(board->StackedMove(i).Move))
                    continue;
                compare();
                board->TakeBackMove();
            }
        }
        // A quiet move counted above every capture.
        board->LoadPosition(
            TEngineFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1")
                .Position());
        board->GenerateMoves();
        for (int i = board->FirstMoveIndex(); i < board->EndMoveIndex(); ++i) {
            const EngineMove move = board->StackedMove(i).Move;
            if (!(MoveFlags(move) & (FlagCapture | FlagPromotion))) {
                board->AddHistory(MoveFrom(move), MoveTo(move), CaptureBaseScore + 100);
                break;
            }
        }
        historyRaised = true;
        compare();
    }

    // The sliders' reach from the line tables against a walk square by square over files and
    // ranks, from every square over boards from nearly empty to nearly full.
    void lineReachMatchesWalk() {
        auto walk = [](int s, std::uint64_t occupied,
                       const std::vector<std::pair<int, int>>& steps) {
            std::uint64_t reach = 0;
            for (auto [df, dr] : steps)
                for (int f = s % 8 + df, r = s / 8 + dr; f >= 0 && f < 8 && r >= 0 && r < 8;
                     f += df, r += dr) {
                    reach |= std::uint64_t{1} << (r * 8 + f);
                    if (occupied >> (r * 8 + f) & 1)
                        break;
                }
            return reach;
        };
        const std::vector<std::pair<int, int>> diagonal = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        const std::vector<std::pair<int, int>> straight = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};
        std::uint64_t seed = 0x2545f4914f6cdd1d;
        auto next = [&seed] {
            seed ^= seed << 13;
            seed ^= seed >> 7;
            seed ^= seed << 17;
            return seed;
        };
        for (int round = 0; round < 4000; ++round) {
            // One, two or three random words ANDed or ORed: sparse and dense boards.
            std::uint64_t occupied = next();
            if (round % 4 == 1)
                occupied &= next() & next();
            else if (round % 4 == 2)
                occupied |= next();
            else if (round % 4 == 3)
                occupied &= next();
            for (int s = 0; s < 64; ++s) {
                QCOMPARE(EngineTables::DiagonalReach(s, occupied), walk(s, occupied, diagonal));
                QCOMPARE(EngineTables::StraightReach(s, occupied), walk(s, occupied, straight));
            }
        }
    }

    // Discovered checks, checks by promotion and by en passant, castling into check, pins,
    // evasions by en passant, double checks, boards with two kings or none and the benchmark
    // positions.
    void checkStateFollowsMoves() {
        std::vector<const char*> fens(std::begin(BenchPositions), std::end(BenchPositions));
        fens.push_back("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1");
        fens.push_back("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1");
        fens.push_back("4k3/1P6/8/3pP3/8/8/6p1/R3K2R w KQ d6 0 1");
        fens.push_back("4k3/4r3/8/1b6/8/3N4/4B3/r2NK2q w - - 0 1");
        fens.push_back("4k3/8/8/8/8/8/8/K3K3 w - - 0 1");
        fens.push_back("4k3/3q4/8/8/8/8/3R4/8 w - - 0 1");
        // Out of check by taking the checking pawn en passant, and a double check.
        fens.push_back("8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1");
        fens.push_back("4k3/8/8/8/8/3n4/8/4K2r w - - 0 1");
        auto board = std::make_unique<TEngineBoard>();
        for (const char* fen : fens) {
            board->LoadPosition(TEngineFen(fen).Position());
            CompareCheckStates(*board, 3);
            if (QTest::currentTestFailed())
                QFAIL(fen);
        }
    }
};

QTEST_GUILESS_MAIN(TestEngineBoard)
#include "tst_engine_board.moc"
