// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A time control of minutes for the game plus seconds added after each half-move, with the
// texts PGN gives it ("TimeControl" tag "300+2", "[%clk 0:04:58]"). Plain C++.

#include <string>
#include <vector>

struct TTimeControl {
    int BaseSeconds = 0; // 0: no clock
    int IncrementSeconds = 0;

    bool On() const { return BaseSeconds > 0; }
    bool operator==(const TTimeControl&) const = default;
    // The PGN TimeControl value: "300+2", or "-" without a clock.
    std::string PgnTag() const;
    // "5+2" (minutes+seconds), as the presets are named.
    std::string Name() const;
};

// The offered presets, shortest first.
const std::vector<TTimeControl>& TimeControlPresets();

// "h:mm:ss" for a clock at `ms` milliseconds (what is left is rounded down to the second).
std::string PgnClock(long long ms);
// What a clock shows: "m:ss", "h:mm:ss" from an hour, and "s.t" (with tenths) under ten
// seconds; never negative.
std::string ClockFace(long long ms);
