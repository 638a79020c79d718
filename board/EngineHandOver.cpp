// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/EngineHandOver.h"

#include "board/ChessBrd.h"
#include "chess/GameResult.h"
#include "engine/ChessThread.h"
#include "engine/TimeBudget.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

// What the engine keeps back from its clock for each move: the hand-over to this thread and
// the slide of the piece on the board count against it.
constexpr int ClockOverheadMs = 300;

} // namespace

TEngineHandOver::TEngineHandOver(TChessBrd& board)
    : Board_(board), Thread_(std::make_unique<TChessThread>()) {
    // Runs on the engine thread. The move crosses under ReportMutex_; the posted event only
    // wakes this object on the user-interface thread, and nothing reads it there, because
    // Qt's own hand-over of an event is invisible to the thread checker. Qt drops the event
    // if this object is gone by then (the destructor joins the thread first).
    Thread_->OnMoveFound = [this](std::uint64_t generation, int from, int to) {
        {
            std::lock_guard lock(ReportMutex_);
            Report_ = {true, generation, from, to};
        }
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    };
    PollTimer_.setInterval(500);
    connect(&PollTimer_, &QTimer::timeout, this, &TEngineHandOver::PollOutsideEngine);
}

TEngineHandOver::~TEngineHandOver() {
    PollTimer_.stop();
    Thread_->Shutdown();
}

void TEngineHandOver::customEvent(QEvent* /*wake-up only*/) {
    EngineReport report;
    {
        std::lock_guard lock(ReportMutex_);
        report = Report_;
        Report_.Present = false;
    }
    // A later report replaces an earlier one not yet played: the earlier one is from a search
    // that a Stop has already dropped.
    if (report.Present)
        MoveFound(report.Generation, report.From, report.To);
}

bool TEngineHandOver::Thinking() const {
    return Thread_->Thinking();
}

void TEngineHandOver::ApplyPriority(TThreadPriority priority) {
    Thread_->ApplyPriority(priority);
}

void TEngineHandOver::StartPolling() {
    PollTimer_.start();
}

bool TEngineHandOver::ComputerToMove() const {
    return (Board_.ComputerPlaysWhite() && Board_.WhiteToMove()) ||
           (Board_.ComputerPlaysBlack() && !Board_.WhiteToMove());
}

// Parking never waits for the user-interface thread (the thread reports through a posted
// event and is idle once it has), so it is safe from any event handler, also from those of
// a mate or draw that the engine's own move raised.
void TEngineHandOver::Stop() {
    ++Generation_;
    Thread_->Cancel();
    Awake_ = false;
}

void TEngineHandOver::Start() {
    if (!Board_.CustomEngine()) {
        Awake_ = true;
        Kick();
        return;
    }
    AskOutsideEngine();
}

// The engine sleeps unless the computer is to move in a position where the board would
// accept a half-move; any change that could alter that goes through Stop and Start, which
// call here again.
void TEngineHandOver::Kick() {
    if (!Awake_ || Board_.CustomEngine() || !ComputerToMove())
        return;
    // Where the game has ended (by the rules or off the board) the engine plays nothing.
    if (Board_.Finished() || JudgePosition(Board_).Over())
        return;
    TEngineJob job;
    job.Position = Board_.Position();
    job.WhiteToMove = Board_.WhiteToMove();
    job.CastlingAllowed = Board_.CastlingAllowed();
    job.EnPassant = ToInt(Board_.EnPassant());
    job.SearchDepth = Board_.SearchDepth();
    job.Priority = Board_.ThinkingPriority();
    job.Generation = Generation_;
    TGoLimits clock;
    Timed_ = Board_.EngineClock && Board_.EngineClock(clock.WTime, clock.BTime, clock.WInc);
    if (Timed_) {
        clock.BInc = clock.WInc;
        const TTimeBudget budget = AllotTime(clock, job.WhiteToMove, ClockOverheadMs);
        job.SoftMs = budget.Soft;
        job.HardMs = budget.Hard;
    }
    Thread_->Submit(job);
}

void TEngineHandOver::MoveFound(std::uint64_t generation, int from, int to) {
    if (generation != Generation_ || !Awake_ || Board_.CustomEngine())
        return;
    const Square oldSq = ToSquare(from);
    const Square newSq = ToSquare(to);
    // Under a clock the engine's half-move does not slide: the slide's time is the engine's.
    const bool slide = Board_.AnimateMoves();
    if (Timed_)
        Board_.SetAnimateMoves(false);
    const bool played = Board_.MakeMove(oldSq, newSq);
    Board_.SetAnimateMoves(slide);
    if (!played) {
        // Handing the same position over again would give the same move: park instead, and
        // say so, rather than sit still without a word.
        Board_.StopThinking();
        if (Board_.OnEngineError) {
            const std::string text = IsOnBoard(oldSq) && IsOnBoard(newSq)
                                         ? SquareName(oldSq) + "-" + SquareName(newSq)
                                         : std::string("no move");
            Board_.OnEngineError(&Board_, oldSq, newSq,
                                 "The board refused the engine's move (" + text +
                                     "); the engine has stopped.");
        }
        return;
    }
    // The next cycle: with the computer on both sides it now searches for the other side.
    if (generation == Generation_)
        Kick();
}

void TEngineHandOver::AskOutsideEngine() {
    if (!ComputerToMove() || !Board_.OnCalculateMove || Board_.Held() || InOutsideEngine_)
        return;
    InOutsideEngine_ = true;
    Square oldsq = Square::None;
    Square newsq = Square::None;
    Board_.OnCalculateMove(&Board_, oldsq, newsq);
    if (!Board_.Held() && !Board_.MakeMove(oldsq, newsq) && Board_.OnCalculationFailed)
        Board_.OnCalculationFailed(&Board_, oldsq, newsq);
    InOutsideEngine_ = false;
}

void TEngineHandOver::PollOutsideEngine() {
    if (!Board_.Held() && Board_.CustomEngine() && ComputerToMove() && !InOutsideEngine_)
        Start();
}
