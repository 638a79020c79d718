// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's time under a clock: how long one search may take, from the time left, the
// increment and the moves to go. Shared by the UCI front end and the board's clocks.

// What the host allows one search: a depth, a time for the move, or the clocks.
struct TGoLimits {
    int Depth = 0;     // 0: the Depth option
    int MoveTime = -1; // milliseconds, -1: none
    int WTime = -1, BTime = -1, WInc = 0, BInc = 0, MovesToGo = 0;
    bool Infinite = false;
};

// How long one search may take, in milliseconds: no iteration starts after Soft, and the
// search is stopped at Hard. -1 for both when the search is not timed.
struct TTimeBudget {
    int Soft = -1;
    int Hard = -1;
};
// `overhead` is what the host adds to every move (the Move Overhead option), kept back from
// the clock.
TTimeBudget AllotTime(const TGoLimits& limits, bool whiteToMove, int overhead = 50);
