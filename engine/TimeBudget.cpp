// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TimeBudget.h"

#include <algorithm>

TTimeBudget AllotTime(const TGoLimits& limits, bool whiteToMove, int overhead) {
    TTimeBudget budget;
    if (limits.Infinite)
        return budget;
    if (limits.MoveTime >= 0) {
        budget.Hard = std::max(1, limits.MoveTime - overhead);
        budget.Soft = budget.Hard * 3 / 5;
        return budget;
    }
    const int remaining = whiteToMove ? limits.WTime : limits.BTime;
    if (remaining < 0)
        return budget;
    const int increment = std::max(0, whiteToMove ? limits.WInc : limits.BInc);
    const int moves = limits.MovesToGo > 0 ? std::min(limits.MovesToGo, 30) : 30;
    // Keep back what the host adds to each move, and never plan beyond what is left.
    const int usable = std::max(0, remaining - overhead);
    const int share = usable / moves + increment * 3 / 4;
    budget.Hard = std::clamp(share * 2, 1, std::max(1, usable / 2));
    budget.Soft = std::min(share, budget.Hard) / 2;
    return budget;
}
