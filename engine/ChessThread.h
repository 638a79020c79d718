// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's worker thread. It sleeps until the board hands it a job (a copy of what the
// search needs), searches, and reports the move through OnMoveFound, called on this thread;
// the board queues it over to the user-interface thread. The thread never touches the board.

#include "engine/ChessEngine.h"
#include "engine/ThreadPriority.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct TEngineJob {
    std::string Position; // 64 placement characters, a8 first
    bool WhiteToMove = true;
    int CastlingAllowed = 0;
    int EnPassant = 0; // board square 1..64, 0 for none
    int SearchDepth = 1;
    TThreadPriority Priority = TThreadPriority::tpNormal;
    std::uint64_t Generation = 0; // the board's count of changes when it made the job
    // Under a clock: no iteration starts after SoftMs and the search ends at HardMs (from the
    // start of the search), answering the best move of the last whole iteration. -1: untimed.
    int SoftMs = -1;
    int HardMs = -1;
};

class TChessThread : public QThread {
public:
    TChessThread();
    ~TChessThread() override;

    // Called on the engine thread with the job's generation and board squares 1..64.
    std::function<void(std::uint64_t generation, int from, int to)> OnMoveFound;
    // Called on the engine thread after each whole iteration: its depth, its score for the
    // side to move and its principal variation (the engine's moves, squares 0..63).
    std::function<void(std::uint64_t generation, int depth, int score,
                       const std::vector<EngineMove>& line)>
        OnIteration;

    // Hands over a job and wakes the thread; a job not yet started is replaced.
    void Submit(const TEngineJob& job);
    // Ends the search in progress and drops any waiting job; returns once the thread is idle,
    // so no result of it is reported afterwards.
    void Cancel();
    // Cancel, then end the thread and join it.
    void Shutdown();

    bool Thinking() const { return Thinking_.load(); }
    void ApplyPriority(TThreadPriority priority);
    static QThread::Priority ToQtPriority(TThreadPriority priority);

protected:
    void run() override;

private:
    EngineMove TimedSearch(const TEngineJob& job, const TEnginePosition& position);
    // Hands the iteration just finished to OnIteration.
    void ReportIteration(std::uint64_t generation, int depth, int score);

private:
    mutable std::mutex Mutex_;
    std::condition_variable Wake_;
    std::condition_variable Idle_;
    bool HasJob_ = false;
    bool Busy_ = false;
    bool Quit_ = false;
    bool Cancelled_ = false; // the search in progress was cancelled: it reports nothing
    TEngineJob Job_;
    std::atomic<bool> Thinking_{false};
    // The engine's arrays are large; they live on the heap with the thread.
    std::unique_ptr<TChessEngine> Engine_;
};
