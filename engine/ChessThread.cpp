// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChessThread.h"

#include "engine/LinuxPriority.h"

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
    if (Busy_)
        Engine_->StopRequested.store(true);
    Idle_.wait(lock, [this] { return !Busy_; });
}

void TChessThread::Shutdown() {
    {
        std::lock_guard lock(Mutex_);
        Quit_ = true;
        HasJob_ = false;
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
        const EngineMove move = Engine_->ComputeMove(position);
        Thinking_.store(false);
        {
            std::lock_guard lock(Mutex_);
            // Reported while still busy, so that Cancel returning means no report follows.
            if (!Engine_->StopRequested.load() && OnMoveFound)
                OnMoveFound(job.Generation, MoveFrom(move) + 1, MoveTo(move) + 1);
            Busy_ = false;
        }
        Idle_.notify_all();
    }
}
