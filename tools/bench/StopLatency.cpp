// SPDX-License-Identifier: GPL-3.0-or-later
// The stop latency: a search runs on a thread of its own, the stop request comes after a
// random delay, and the time until ComputeMove returns is measured. Layouts that keep the
// capture search busy for a long time, the positions of earlier faults, the benchmark suite
// and positions from random play are all tried; the longest latency is printed last.
#include "chess/ChessGame.h"
#include "chess/Fen.h"
#include "engine/BenchSuite.h"
#include "engine/ChessEngine.h"
#include "tools/bench/Commands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const char* const HardPositions[] = {
    "rnb1kbnr/qqqqqqqq/8/8/8/8/QQQQQQQQ/RNB1KBNR w - - 0 1",
    "rnbqkbnr/qqqqqqqq/8/8/8/8/QQQQQQQQ/RNBQKBNR w - - 0 1",
    "rnbqkbnr/qqqqqqqq/8/8/8/8/QQQQQQQQ/RNBQKBNR b - - 0 1",
    "qqqqkqqq/qqqqqqqq/8/8/8/8/QQQQQQQQ/QQQQKQQQ w - - 0 1",
    "7k/8/8/8/8/8/8/4P1KR w - - 0 1",
    "k5r1/2b5/8/8/8/8/8/P6K w - - 0 1",
    "8/2k5/8/8/2QB1K2/1QQ2NQQ/Q1QR3Q/3NR1BQ b - - 0 1",
    "4k3/8/8/3PQ3/8/8/8/4K3 w - e6 0 1",
    "k7/8/4n3/r2Pb2K/8/8/8/8 w - e6 0 1",
    "4k3/8/8/8/8/8/3Pq3/4K3 w - e3 0 1",
};

struct TTrial {
    bool Stopped = false; // false: the search ended before the request
    double Milliseconds = 0;
};

// One search at the deepest depth, stopped after `delay`.
TTrial StopAfter(const TChessGame& game, std::chrono::microseconds delay) {
    const std::string placement = game.Position();
    TEnginePosition position;
    position.Position = placement;
    position.WhiteToMove = game.WhiteToMove();
    position.CastlingAllowed = game.CastlingAllowed();
    position.EnPassant = ToInt(game.EnPassant());
    position.SearchDepth = TChessEngine::MaxSearchDepth;
    auto engine = std::make_unique<TChessEngine>();
    std::atomic<bool> done{false};
    Clock::time_point finished;
    std::thread searcher([&] {
        engine->ComputeMove(position);
        finished = Clock::now();
        done.store(true);
    });
    std::this_thread::sleep_for(delay);
    const Clock::time_point requested = Clock::now();
    const bool wasRunning = !done.load();
    engine->StopRequested.store(true);
    searcher.join();
    TTrial trial;
    trial.Stopped = wasRunning;
    trial.Milliseconds =
        std::chrono::duration<double, std::milli>(std::max(finished, requested) - requested)
            .count();
    return trial;
}

} // namespace

int RunStopLatency(const std::vector<std::string>& args) {
    if (args.size() > 2)
        return UsageError("usage: corvina-bench stoplatency [RANDOM_POSITIONS [SEED]]");
    int randomCount = 40;
    unsigned seed = 1;
    try {
        if (!args.empty())
            randomCount = std::stoi(args[0]);
        if (args.size() > 1)
            seed = static_cast<unsigned>(std::stoul(args[1]));
    } catch (const std::exception&) {
        return UsageError("bad number in '" + args[0] + "'");
    }
    if (randomCount < 0 || randomCount > 10000)
        return UsageError("RANDOM_POSITIONS must be 0 to 10000");

    std::vector<std::pair<std::string, TChessGame>> games;
    for (const char* fen : HardPositions) {
        TChessGame game;
        if (!LoadFen(game, fen))
            return UsageError(std::string("malformed FEN: ") + fen);
        games.emplace_back(fen, game);
    }
    for (const char* fen : BenchPositions) {
        TChessGame game;
        if (!LoadFen(game, fen))
            return UsageError(std::string("malformed FEN: ") + fen);
        games.emplace_back(fen, game);
    }
    std::mt19937 random(seed);
    for (int i = 0; i < randomCount; ++i) {
        TChessGame game;
        const int plies = std::uniform_int_distribution<int>(0, 120)(random);
        for (int p = 0; p < plies; ++p) {
            const auto moves = game.LegalMoves();
            if (moves.empty())
                break;
            const auto [from, to] =
                moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
            game.SetPromotionPiece("qrbn"[random() % 4]);
            game.MakeMove(from, to);
        }
        games.emplace_back("random " + std::to_string(i) + ": " + ToFen(game), game);
    }

    double longest = 0;
    std::string longestAt;
    int stopped = 0;
    for (const auto& [name, game] : games) {
        const auto delay =
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 300000)(random));
        const TTrial trial = StopAfter(game, delay);
        std::printf("%8.3f ms after a stop at %6.1f ms%s  %s\n", trial.Milliseconds,
                    delay.count() / 1000.0, trial.Stopped ? "" : " (search had ended)",
                    name.c_str());
        std::fflush(stdout);
        if (!trial.Stopped)
            continue;
        ++stopped;
        if (trial.Milliseconds > longest) {
            longest = trial.Milliseconds;
            longestAt = name;
        }
    }
    std::printf("searches stopped %d of %zu, longest stop latency %.3f ms (%s)\n", stopped,
                games.size(), longest, longestAt.c_str());
    return 0;
}
