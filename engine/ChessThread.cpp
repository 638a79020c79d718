// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChessThread.h"

#include "engine/LinuxPriority.h"

#include <chrono>
#include <thread>

TChessThread::TChessThread() : Engine_(std::make_unique<TChessEngine>()) {}

TChessThread::~TChessThread() {
    Shutdown();
}

QThread::Priority TChessThread::ToQtPriority(TThreadPriority priority) {
    switch (priority) {
    case TThreadPriority::tpIdle:
        return QThread::IdlePriority;
    case TThreadPriority::tpLowest:
        return QThread::LowestPriority;
    case TThreadPriority::tpLower:
        return QThread::LowPriority;
    case TThreadPriority::tpNormal:
        return QThread::NormalPriority;
    case TThreadPriority::tpHigher:
        return QThread::HighPriority;
    case TThreadPriority::tpHighest:
        return QThread::HighestPriority;
    case TThreadPriority::tpTimeCritical:
        return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

void TChessThread::ApplyPriority(TThreadPriority priority) {
    if (isRunning())
        setPriority(ToQtPriority(priority));
}

void TChessThread::Submit(const TEngineJob& job) {
    {
        std::lock_guard lock(Mutex_);
        Job_ = job;
        HasJob_ = true;
    }
    if (!isRunning())
        start();
    Wake_.notify_one();
}

void TChessThread::Cancel() {
    std::unique_lock lock(Mutex_);
    HasJob_ = false;
    if (Busy_) {
        Cancelled_ = true;
        Engine_->StopRequested.store(true);
    }
    Idle_.wait(lock, [this] { return !Busy_; });
}

void TChessThread::Shutdown() {
    {
        std::lock_guard lock(Mutex_);
        Quit_ = true;
        HasJob_ = false;
        Cancelled_ = true;
        Engine_->StopRequested.store(true);
    }
    Wake_.notify_one();
    wait();
}

void TChessThread::run() {
    for (;;) {
        TEngineJob job;
        {
            std::unique_lock lock(Mutex_);
            Wake_.wait(lock, [this] { return HasJob_ || Quit_; });
            if (Quit_)
                return;
            job = Job_;
            HasJob_ = false;
            Busy_ = true;
            Cancelled_ = false;
            Engine_->StopRequested.store(false);
        }
        // Set on this thread itself, in the terms the Linux scheduler honours.
        ApplyPriorityToThisThread(job.Priority);
        Thinking_.store(true);
        TEnginePosition position;
        position.Position = job.Position;
        position.WhiteToMove = job.WhiteToMove;
        position.CastlingAllowed = job.CastlingAllowed;
        position.EnPassant = job.EnPassant;
        position.SearchDepth = job.SearchDepth;
        Engine_->OnIteration = [this, &job](int depth, int score) {
            ReportIteration(job.Generation, depth, score);
        };
        const EngineMove move =
            job.HardMs >= 0 ? TimedSearch(job, position) : Engine_->ComputeMove(position);
        Engine_->OnIteration = nullptr;
        Thinking_.store(false);
        {
            std::lock_guard lock(Mutex_);
            // Reported while still busy, so that Cancel returning means no report follows.
            if (!Cancelled_ && OnMoveFound)
                OnMoveFound(job.Generation, MoveFrom(move) + 1, MoveTo(move) + 1);
            Busy_ = false;
        }
        Idle_.notify_all();
    }
}

EngineMove TChessThread::TimedSearch(const TEngineJob& job, const TEnginePosition& position) {
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    // The hard limit: a timer raises the stop request unless the search ends first. The
    // first iteration always runs to its end (it takes far less than a millisecond), so that
    // there is a whole iteration's move to play; it stops the search itself when it ends late.
    std::mutex timerMutex;
    std::condition_variable timerWake;
    bool done = false;
    std::atomic<bool> haveMove{false};
    std::thread timer([&] {
        std::unique_lock lock(timerMutex);
        if (!timerWake.wait_until(lock, started + std::chrono::milliseconds(job.HardMs),
                                  [&] { return done; }) &&
            haveMove.load())
            Engine_->StopRequested.store(true);
    });
    EngineMove best = 0;
    Engine_->OnIteration = [&](int depth, int score) {
        ReportIteration(job.Generation, depth, score);
        best = Engine_->BestMove();
        haveMove.store(true);
        // No new iteration once the soft limit has passed: it would rarely finish in time.
        if (Clock::now() - started >= std::chrono::milliseconds(job.SoftMs))
            Engine_->StopRequested.store(true);
    };
    const EngineMove searched = Engine_->ComputeMove(position);
    {
        std::lock_guard lock(timerMutex);
        done = true;
    }
    timerWake.notify_all();
    timer.join();
    // An iteration cut short by the clock is not trusted; the last whole one is.
    return best != 0 ? best : searched;
}

void TChessThread::ReportIteration(std::uint64_t generation, int depth, int score) {
    if (!OnIteration)
        return;
    std::vector<EngineMove> line;
    for (int i = 0; i < Engine_->PvMoveCount(); ++i)
        line.push_back(Engine_->PvMove(i));
    OnIteration(generation, depth, score, line);
}
