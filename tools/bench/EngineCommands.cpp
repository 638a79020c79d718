// SPDX-License-Identifier: GPL-3.0-or-later
// The engine subcommands: perft of the engine's move generation, one search, the benchmark
// suite and the speed summary. Node counts, moves, scores and lines are the same on every run.
#include "chess/ChessGame.h"
#include "chess/Fen.h"
#include "engine/BenchSuite.h"
#include "engine/ChessEngine.h"
#include "tools/bench/Commands.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr const char* StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

bool ParseDepth(const std::string& text, int low, int high, int& depth) {
    if (text.empty() || text.size() > 2)
        return false;
    depth = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        depth = depth * 10 + (c - '0');
    }
    return depth >= low && depth <= high;
}

// The board parses the FEN; the engine reads the board's fields as the engine thread does.
bool LoadBoard(const std::string& fen, TChessGame& game, std::string& placement, int& code) {
    std::string error;
    if (!LoadFen(game, fen, &error)) {
        code = UsageError("malformed FEN: " + error);
        return false;
    }
    placement = game.Position();
    return true;
}

TEnginePosition PositionOf(const TChessGame& game, const std::string& placement, int depth) {
    TEnginePosition position;
    position.Position = placement;
    position.WhiteToMove = game.WhiteToMove();
    position.CastlingAllowed = game.CastlingAllowed();
    position.EnPassant = ToInt(game.EnPassant());
    position.SearchDepth = depth;
    return position;
}

struct TSearchReport {
    std::uint64_t Nodes = 0;
    long long Milliseconds = 0;
};

long long NodesPerSecond(std::uint64_t nodes, long long ms) {
    return static_cast<long long>(static_cast<double>(nodes) * 1000.0 /
                                  static_cast<double>(ms > 0 ? ms : 1));
}

// One search on a fresh engine, printed as one line unless `quiet`.
TSearchReport SearchAndPrint(const TChessGame& game, const std::string& placement, int depth,
                             bool quiet = false) {
    auto engine = std::make_unique<TChessEngine>();
    const auto start = std::chrono::steady_clock::now();
    const EngineMove best = engine->ComputeMove(PositionOf(game, placement, depth));
    const auto stop = std::chrono::steady_clock::now();
    TSearchReport report;
    report.Nodes = engine->Nodes();
    report.Milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(stop - start).count();
    if (quiet)
        return report;
    std::string pv;
    for (int i = 0; i < engine->PvMoveCount(); ++i)
        pv += " " + MoveText(engine->PvMove(i));
    std::printf("bestmove %s score %d depth %d nodes %llu time_ms %lld nps %lld pv%s\n",
                MoveText(best).c_str(), engine->Score(), engine->CompletedDepth(),
                static_cast<unsigned long long>(report.Nodes), report.Milliseconds,
                NodesPerSecond(report.Nodes, report.Milliseconds), pv.c_str());
    std::fflush(stdout);
    return report;
}

// The whole benchmark suite at one depth; each search printed unless `quiet`.
TSearchReport RunSuite(int depth, bool quiet) {
    TSearchReport total;
    for (const char* fen : BenchPositions) {
        TChessGame game;
        std::string placement;
        int code = 0;
        if (!LoadBoard(fen, game, placement, code))
            continue; // the suite's positions are fixed and well formed
        const TSearchReport report = SearchAndPrint(game, placement, depth, quiet);
        total.Nodes += report.Nodes;
        total.Milliseconds += report.Milliseconds;
    }
    return total;
}

} // namespace

int RunPerft(const std::vector<std::string>& args) {
    int depth = 0;
    if (args.size() != 2)
        return UsageError("usage: corvina-bench perft FEN DEPTH");
    if (!ParseDepth(args[1], 1, 10, depth))
        return UsageError("bad depth '" + args[1] + "' (1 to 10)");
    TChessGame game;
    std::string placement;
    int code = 0;
    if (!LoadBoard(args[0], game, placement, code))
        return code;
    auto engine = std::make_unique<TChessEngine>();
    engine->LoadPosition(PositionOf(game, placement, 1));
    const auto start = std::chrono::steady_clock::now();
    engine->GenerateMoves();
    std::uint64_t total = 0;
    for (int i = engine->FirstMoveIndex(); i < engine->EndMoveIndex(); ++i) {
        const EngineMove move = engine->StackedMove(i).Move;
        if (!engine->MakeEngineMove(move))
            continue;
        const std::uint64_t leaves = engine->Perft(depth - 1);
        engine->TakeBackMove();
        total += leaves;
        std::printf("%s: %llu\n", MoveText(move).c_str(), static_cast<unsigned long long>(leaves));
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("nodes %llu\n", static_cast<unsigned long long>(total));
    std::fprintf(stderr, "time_ms %lld leaves_per_second %lld\n", static_cast<long long>(ms),
                 NodesPerSecond(total, ms));
    return 0;
}

int RunSearch(const std::vector<std::string>& args) {
    int depth = 0;
    if (args.size() != 2)
        return UsageError("usage: corvina-bench search FEN DEPTH");
    if (!ParseDepth(args[1], 1, TChessEngine::MaxSearchDepth, depth))
        return UsageError("bad depth '" + args[1] + "' (1 to 8)");
    TChessGame game;
    std::string placement;
    int code = 0;
    if (!LoadBoard(args[0], game, placement, code))
        return code;
    SearchAndPrint(game, placement, depth);
    return 0;
}

int RunBench(const std::vector<std::string>& args) {
    int depth = 6;
    if (args.size() > 1)
        return UsageError("usage: corvina-bench bench [DEPTH]");
    if (args.size() == 1 && !ParseDepth(args[0], 1, TChessEngine::MaxSearchDepth, depth))
        return UsageError("bad depth '" + args[0] + "' (1 to 8)");
    const TSearchReport total = RunSuite(depth, false);
    std::printf("total nodes %llu time_ms %lld nps %lld\n",
                static_cast<unsigned long long>(total.Nodes), total.Milliseconds,
                NodesPerSecond(total.Nodes, total.Milliseconds));
    return 0;
}

int RunSpeed(const std::vector<std::string>& args) {
    if (!args.empty())
        return UsageError("usage: corvina-bench speed");
    constexpr int PerftDepth = 6;
    TChessGame game;
    std::string placement;
    int code = 0;
    if (!LoadBoard(StartFen, game, placement, code))
        return code;
    auto engine = std::make_unique<TChessEngine>();
    engine->LoadPosition(PositionOf(game, placement, 1));
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t leaves = engine->Perft(PerftDepth);
    const long long perftMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now() - start)
                                  .count();
    std::printf("perft %d  leaves %llu time_ms %lld leaves_per_second %lld\n", PerftDepth,
                static_cast<unsigned long long>(leaves), perftMs, NodesPerSecond(leaves, perftMs));
    std::fflush(stdout);
    for (int depth : {6, 7}) {
        const TSearchReport total = RunSuite(depth, true);
        std::printf("bench %d  nodes %llu time_ms %lld nps %lld\n", depth,
                    static_cast<unsigned long long>(total.Nodes), total.Milliseconds,
                    NodesPerSecond(total.Nodes, total.Milliseconds));
        std::fflush(stdout);
    }
    std::string note;
    const long long referenceMs = ReferencePerftMilliseconds(PerftDepth, leaves, note);
    if (referenceMs < 0) {
        std::printf("stockfish perft %d  %s\n", PerftDepth, note.c_str());
        return 0;
    }
    std::printf("stockfish perft %d  time_ms %lld  corvina/stockfish %.2f\n", PerftDepth,
                referenceMs,
                static_cast<double>(perftMs) / static_cast<double>(std::max(referenceMs, 1LL)));
    return 0;
}
