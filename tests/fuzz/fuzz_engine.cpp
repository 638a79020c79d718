// SPDX-License-Identifier: GPL-3.0-or-later
// The engine on any position the board can hold, at depth 1 to 3.
//
// Properties:
//  - Whenever the rules allow a half-move, the engine's answer is one the rules accept.
//  - After the search the engine's board is exactly the position it loaded (every make was
//    taken back).
//  - One input in four is searched at full depth on a second thread and stopped after a few
//    milliseconds: the search must then return within 50 ms. Sanitizers slow the search down
//    unevenly, so a late stop is printed with its position and counted (totals every five
//    seconds) rather than ending the run.
//  - A depth 1-3 search gets two seconds. Evasions in the capture search make some legal-looking
//    layouts (a king walked into the enemy camp among many pieces) take a second at depth 1 in a
//    release build and over a minute under the fuzzer's instrumentation; such a search is
//    stopped, its board still checked, its answer not judged, and it is counted.
#include "chess/ChessGame.h"
#include "engine/ChessEngine.h"
#include "tests/fuzz/FuzzInput.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStopBound = std::chrono::milliseconds(50);
constexpr auto kSearchBudget = std::chrono::seconds(2);

struct TStats {
    long Runs = 0;
    long KnownSkipped = 0;
    long Stops = 0;
    long OverBudget = 0;
    long LateStops = 0;
    double LongestStopMs = 0;
    double SearchMs = 0; // depth 1-3 searches, not the stopped ones
};
TStats Stats;

void PrintStats() {
    std::fprintf(
        stderr,
        "engine fuzz: %ld searches, %ld slow layouts left out, %ld stops, %ld later "
        "than 50 ms, longest stop %.1f ms, %ld over the budget, %.1f ms per depth 1-3 search\n",
        Stats.Runs, Stats.KnownSkipped, Stats.Stops, Stats.LateStops, Stats.LongestStopMs,
        Stats.OverBudget, Stats.SearchMs / std::max(1L, Stats.Runs - Stats.Stops));
}

// The capture search follows every capture to the end, so layouts with more material than a
// game can have (eight queens, nine bishops, twenty pawns) take minutes even at depth 1 (a stop
// still ends them at once). Left out so that every input stays within the fuzzer's time: more
// than two queens, six queens, rooks and bishops, eight pawns or sixteen pieces a side.
bool KnownEndlessCaptureSearch(const std::string& placement) {
    if (StrictFuzzing())
        return false;
    const auto count = [&](const char* letters) {
        int n = 0;
        for (char c : placement)
            n += c != ' ' && std::strchr(letters, c) != nullptr;
        return n;
    };
    return count("Q") > 2 || count("q") > 2 || count("QRB") > 6 || count("qrb") > 6 ||
           count("P") > 8 || count("p") > 8 || count("PNBRQK") > 16 || count("pnbrqk") > 16;
}

struct TBoardCopy {
    int Colour[64];
    int Piece[64];
    int Side, Castling, EnPassant, Ply;
    bool operator==(const TBoardCopy&) const = default;
};

TBoardCopy CopyOf(const TEngineBoard& b) {
    TBoardCopy c{};
    for (int s = 0; s < 64; ++s) {
        c.Colour[s] = b.ColourAt(s);
        c.Piece[s] = b.PieceAt(s);
    }
    c.Side = b.SideToMove();
    c.Castling = b.Castling();
    c.EnPassant = b.EnPassantSquare();
    c.Ply = b.CurrentPly();
    return c;
}

// Raises the engine's stop request at a deadline, from its own thread, as the board does.
class TStopper {
public:
    explicit TStopper(TChessEngine& engine) : Engine_(engine), Thread_([this] { Run(); }) {}
    ~TStopper() {
        {
            std::lock_guard lock(Mutex_);
            Quit_ = true;
        }
        Wake_.notify_one();
        Thread_.join();
    }
    void Arm(Clock::time_point at) {
        {
            std::lock_guard lock(Mutex_);
            Deadline_ = at;
            Armed_ = true;
            Fired_ = false;
        }
        Wake_.notify_one();
    }
    // The time the stop was raised, once it was.
    bool Disarm(Clock::time_point* firedAt) {
        std::lock_guard lock(Mutex_);
        Armed_ = false;
        *firedAt = FiredAt_;
        return Fired_;
    }

private:
    void Run() {
        std::unique_lock lock(Mutex_);
        for (;;) {
            Wake_.wait(lock, [this] { return Quit_ || Armed_; });
            if (Quit_)
                return;
            if (Wake_.wait_until(lock, Deadline_, [this] { return Quit_ || !Armed_; }))
                continue;
            FiredAt_ = Clock::now();
            Engine_.StopRequested.store(true);
            Fired_ = true;
            Armed_ = false;
        }
    }

    TChessEngine& Engine_;
    std::mutex Mutex_;
    std::condition_variable Wake_;
    bool Armed_ = false;
    bool Fired_ = false;
    bool Quit_ = false;
    Clock::time_point Deadline_;
    Clock::time_point FiredAt_;
    std::thread Thread_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto engine = std::make_unique<TChessEngine>();
    static TStopper stopper(*engine);
    TFuzzBytes in(data, size);
    const int mode = in.Byte();
    TChessGame game;
    SetUpGame(game, DecodePosition(in));
    const std::string placement = game.Position();
    if (KnownEndlessCaptureSearch(placement)) {
        ++Stats.KnownSkipped;
        return -1;
    }
    const bool stopRun = mode % 4 == 3;
    const int depth = stopRun ? TChessEngine::MaxSearchDepth : 1 + mode % 3;
    const TEnginePosition position{placement, game.WhiteToMove(),
                                   static_cast<int>(game.CastlingAllowed()),
                                   ToInt(game.EnPassant()), depth};
    engine->LoadPosition(position);
    const TBoardCopy loaded = CopyOf(*engine);

    engine->StopRequested.store(false);
    stopper.Arm(Clock::now() + (stopRun
                                    ? std::chrono::duration_cast<Clock::duration>(
                                          std::chrono::milliseconds(1 + mode / 4 % 16))
                                    : std::chrono::duration_cast<Clock::duration>(kSearchBudget)));
    const auto started = Clock::now();
    const EngineMove move = engine->ComputeMove(position);
    const auto returned = Clock::now();
    if (!stopRun)
        Stats.SearchMs += std::chrono::duration<double, std::milli>(returned - started).count();
    ++Stats.Runs;
    static auto lastPrint = Clock::now();
    if (returned - lastPrint > std::chrono::seconds(5)) {
        lastPrint = returned;
        PrintStats();
    }
    FUZZ_CHECK(CopyOf(*engine) == loaded, "the search left its board changed in \"%s\" %c",
               placement.c_str(), game.WhiteToMove() ? 'w' : 'b');

    Clock::time_point firedAt;
    const bool fired = stopper.Disarm(&firedAt);
    if (!stopRun && fired) {
        ++Stats.OverBudget;
        return 0;
    }
    if (stopRun) {
        if (fired) {
            ++Stats.Stops;
            const double ms = std::chrono::duration<double, std::milli>(returned - firedAt).count();
            Stats.LongestStopMs = std::max(Stats.LongestStopMs, ms);
            if (returned - firedAt > kStopBound) {
                ++Stats.LateStops;
                std::fprintf(stderr, "late stop: %.1f ms in \"%s\" %c\n", ms, placement.c_str(),
                             game.WhiteToMove() ? 'w' : 'b');
            }
        }
        // A stopped search's answer is dropped by the board, so it is not judged.
        return 0;
    }

    if (!game.CanMove())
        return 0;
    const int from = MoveFrom(move) + 1;
    const int to = MoveTo(move) + 1;
    FUZZ_CHECK(game.IsLegalMove(static_cast<Square>(from), static_cast<Square>(to)),
               "the engine answers %s, which the rules refuse, in \"%s\" %c castling %d ep %d "
               "depth %d",
               MoveText(move).c_str(), placement.c_str(), game.WhiteToMove() ? 'w' : 'b',
               static_cast<int>(game.CastlingAllowed()), ToInt(game.EnPassant()), depth);
    return 0;
}
