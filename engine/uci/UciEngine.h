// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine behind the UCI protocol. Commands arrive on the caller's thread (the one reading
// standard input); a search runs on a thread of its own, so that "stop", "isready" and "quit"
// are answered while it thinks. The search is ended through the engine's own StopRequested.

#include "engine/ChessEngine.h"
#include "engine/uci/UciCommands.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class TUciEngine {
public:
    static constexpr int DefaultDepth = 5;
    // Milliseconds kept back per move for what the host adds to our thinking time.
    static constexpr int DefaultOverhead = 50;
    static constexpr int MaxOverhead = 5000;

    // `write` receives each output line without its line end; it is called from both threads,
    // never at the same time.
    explicit TUciEngine(std::function<void(const std::string&)> write);
    ~TUciEngine();
    TUciEngine(const TUciEngine&) = delete;
    TUciEngine& operator=(const TUciEngine&) = delete;

    // Handles one line of input; answers false once "quit" has been handled.
    bool Command(const std::string& line);
    // Waits until the search in progress, if any, has printed its best move; an infinite
    // search is stopped.
    void WaitForSearch();

    int Depth() const { return Depth_; }
    int Overhead() const { return Overhead_; }
    const TUciPosition& Position() const { return Position_; }

private:
    void SetOption(const std::vector<std::string>& words);
    void Go(const TGoLimits& limits);
    void Search(TUciPosition position, int depth, TTimeBudget budget, bool infinite);
    // Ends the search in progress (its best move is still printed) and joins its thread.
    void StopSearch();
    void Write(const std::string& line);

    std::function<void(const std::string&)> Write_;
    std::mutex WriteMutex_;

    std::unique_ptr<TChessEngine> Engine_;   // used by the search thread while it runs
    std::unique_ptr<TEngineBoard> Scratch_;  // used by the command thread
    std::unique_ptr<TEngineBoard> Fallback_; // used by the search thread
    TUciPosition Position_;
    int Depth_ = DefaultDepth;
    int Overhead_ = DefaultOverhead;
    bool Infinite_ = false; // the search in progress waits for "stop"

    std::thread Thread_;
    // Set by "stop" and "quit": ends an infinite search's wait and its timer.
    std::mutex StateMutex_;
    std::condition_variable StateChanged_;
    bool StopCommanded_ = false;
    bool SearchDone_ = true;
};
