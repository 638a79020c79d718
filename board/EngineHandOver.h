// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The board's side of its engine thread: it hands the thread a copy of the position when the
// computer is to move, plays the move the thread reports, parks the thread before the board
// changes, and asks an outside engine (CustomEngine) for its half-moves.

#include "engine/ThreadPriority.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <mutex>

class TChessBrd;
class TChessThread;

class TEngineHandOver : public QObject {
public:
    explicit TEngineHandOver(TChessBrd& board);
    // Stops any search and joins the thread; waits for nothing else.
    ~TEngineHandOver() override;

    // Drops the search in progress and any move not yet played; returns once the thread is
    // idle. The engine then stays parked until Start.
    void Stop();
    // Wakes the engine: it searches whenever the computer is to move and a half-move can be
    // played, until the next Stop. An outside engine is asked at once.
    void Start();
    bool Thinking() const;
    void ApplyPriority(TThreadPriority priority);
    // The 500-millisecond poll of an outside engine, started after the board's first paint.
    void StartPolling();
    void PollOutsideEngine();

    // Plays a move the thread found for the job of `generation` (board squares 1..64). A move
    // searched before the latest Stop is dropped; a move the board refuses parks the engine and
    // raises the board's OnEngineError. The thread's report arrives here from customEvent.
    void MoveFound(std::uint64_t generation, int from, int to);
    std::uint64_t Generation() const { return Generation_; }
    bool Awake() const { return Awake_; }

protected:
    void customEvent(QEvent* event) override;

private:
    struct EngineReport {
        bool Present = false;
        std::uint64_t Generation = 0;
        int From = 0;
        int To = 0;
    };
    bool ComputerToMove() const;
    void Kick();
    void AskOutsideEngine();

    TChessBrd& Board_;
    std::unique_ptr<TChessThread> Thread_;
    bool Awake_ = false;           // between Start and Stop
    std::uint64_t Generation_ = 0; // bumped by every stop; older results are dropped
    bool InOutsideEngine_ = false;
    bool Timed_ = false; // the latest search ran under a clock
    QTimer PollTimer_;
    std::mutex ReportMutex_;
    EngineReport Report_; // the thread's latest move not yet played, under ReportMutex_
};
