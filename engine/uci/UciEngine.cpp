// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/uci/UciEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

std::string ScoreText(int score) {
    // A mate found at ply p scores p - 10000 for the side mated; anything near that is a mate.
    if (const int moves = TChessEngine::MateMoves(score))
        return "mate " + std::to_string(moves);
    return "cp " + std::to_string(score);
}

} // namespace

TUciEngine::TUciEngine(std::function<void(const std::string&)> write)
    : Write_(std::move(write)), Engine_(std::make_unique<TChessEngine>()),
      Scratch_(std::make_unique<TEngineBoard>()), Fallback_(std::make_unique<TEngineBoard>()) {}

TUciEngine::~TUciEngine() {
    StopSearch();
}

void TUciEngine::Write(const std::string& line) {
    std::lock_guard lock(WriteMutex_);
    Write_(line);
}

bool TUciEngine::Command(const std::string& line) {
    const std::vector<std::string> words = SplitWords(line);
    if (words.empty())
        return true;
    const std::string& command = words[0];
    if (command == "uci") {
        Write("id name Corvina");
        Write("id author the Corvina developers");
        Write("option name Depth type spin default " + std::to_string(DefaultDepth) +
              " min 1 max " + std::to_string(TChessEngine::MaxSearchDepth));
        Write("option name Move Overhead type spin default " + std::to_string(DefaultOverhead) +
              " min 0 max " + std::to_string(MaxOverhead));
        Write("uciok");
    } else if (command == "isready") {
        Write("readyok");
    } else if (command == "ucinewgame") {
        StopSearch();
        Position_ = {};
    } else if (command == "position") {
        StopSearch();
        std::string error;
        if (!ParsePositionCommand(words, *Scratch_, Position_, error))
            Write("info string " + error);
    } else if (command == "go") {
        StopSearch();
        Go(ParseGoCommand(words));
    } else if (command == "stop") {
        StopSearch();
    } else if (command == "setoption") {
        SetOption(words);
    } else if (command == "quit") {
        StopSearch();
        return false;
    } else {
        Write("info string unknown command " + command);
    }
    return true;
}

// Only Depth and Move Overhead are known; other options are ignored, as hosts expect.
void TUciEngine::SetOption(const std::vector<std::string>& words) {
    const auto option = ParseSetOption(words);
    if (!option)
        return;
    const auto set = [&](const char* name, int low, int high, int& field) {
        char* end = nullptr;
        const long value = std::strtol(option->Value.c_str(), &end, 10);
        if (option->Value.empty() || *end != '\0' || value < low || value > high)
            Write(std::string("info string ") + name + " must lie in " + std::to_string(low) +
                  ".." + std::to_string(high));
        else
            field = static_cast<int>(value);
    };
    if (option->Name == "depth")
        set("Depth", 1, TChessEngine::MaxSearchDepth, Depth_);
    else if (option->Name == "move overhead")
        set("Move Overhead", 0, MaxOverhead, Overhead_);
}

void TUciEngine::Go(const TGoLimits& limits) {
    const TTimeBudget budget = AllotTime(limits, Position_.WhiteToMove, Overhead_);
    const bool timed = budget.Hard >= 0;
    // A search under a clock, or until "stop", iterates as deep as the engine's tables allow;
    // otherwise the depth asked for, or the Depth option, within what the game offers.
    const int depth = limits.Depth > 0 ? std::clamp(limits.Depth, 1, TChessEngine::MaxSearchDepth)
                      : (timed || limits.Infinite) ? TChessEngine::DeepestSearch
                                                   : Depth_;
    {
        std::lock_guard lock(StateMutex_);
        StopCommanded_ = false;
        SearchDone_ = false;
    }
    Engine_->StopRequested.store(false);
    Infinite_ = limits.Infinite;
    Thread_ = std::thread(&TUciEngine::Search, this, Position_, depth, budget, limits.Infinite);
}

void TUciEngine::Search(TUciPosition position, int depth, TTimeBudget budget, bool infinite) {
    const auto started = Clock::now();
    const auto elapsedMs = [started] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started)
            .count();
    };
    // The hard limit: a timer thread raises the stop request when the time is up.
    std::thread timer;
    if (budget.Hard >= 0) {
        timer = std::thread([this, budget, started] {
            std::unique_lock lock(StateMutex_);
            const auto deadline = started + std::chrono::milliseconds(budget.Hard);
            if (!StateChanged_.wait_until(lock, deadline,
                                          [this] { return StopCommanded_ || SearchDone_; }))
                Engine_->StopRequested.store(true);
        });
    }

    // Without a legal move there is nothing to search: the answer is the null move, scored
    // as mated or as a draw (a search would only repeat the previous position's move).
    const TMoveless moveless = Moveless(*Fallback_, position);
    if (moveless != TMoveless::HasMoves) {
        Write(std::string("info depth 0 score ") +
              (moveless == TMoveless::Checkmate ? "mate 0" : "cp 0"));
        depth = 0;
    }

    EngineMove best = 0;
    Engine_->OnIteration = [&](int reached, int score) {
        best = Engine_->BestMove();
        const auto ms = std::max<long long>(1, elapsedMs());
        const std::uint64_t nodes = Engine_->Nodes();
        std::string pv;
        for (int i = 0; i < Engine_->PvMoveCount(); ++i)
            pv += (i ? " " : "") + MoveText(Engine_->PvMove(i));
        Write("info depth " + std::to_string(reached) + " score " + ScoreText(score) + " nodes " +
              std::to_string(nodes) + " nps " +
              std::to_string(nodes * 1000 / static_cast<std::uint64_t>(ms)) + " time " +
              std::to_string(ms) + " pv " + pv);
        // No new iteration once the soft limit has passed: it would rarely finish in time.
        if (budget.Soft >= 0 && elapsedMs() >= budget.Soft)
            Engine_->StopRequested.store(true);
    };
    TEnginePosition search;
    search.Position = position.Placement;
    search.WhiteToMove = position.WhiteToMove;
    search.CastlingAllowed = position.Castling;
    search.EnPassant = position.EnPassant;
    search.SearchDepth = depth;
    if (depth > 0)
        Engine_->ComputeMove(search);
    Engine_->OnIteration = nullptr;

    // "go infinite" answers only once told to stop.
    if (infinite) {
        std::unique_lock lock(StateMutex_);
        StateChanged_.wait(lock, [this] { return StopCommanded_; });
    }
    if (best == 0 && depth > 0)
        best = FirstLegalMove(*Fallback_, position);
    Write("bestmove " + (best == 0 ? std::string("0000") : MoveText(best)));
    {
        std::lock_guard lock(StateMutex_);
        SearchDone_ = true;
    }
    StateChanged_.notify_all();
    if (timer.joinable())
        timer.join();
}

void TUciEngine::StopSearch() {
    if (!Thread_.joinable())
        return;
    Engine_->StopRequested.store(true);
    {
        std::lock_guard lock(StateMutex_);
        StopCommanded_ = true;
    }
    StateChanged_.notify_all();
    Thread_.join();
}

void TUciEngine::WaitForSearch() {
    // An infinite search would wait for a "stop" that can no longer come.
    if (Infinite_)
        StopSearch();
    else if (Thread_.joinable())
        Thread_.join();
}
