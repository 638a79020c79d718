// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// The engine thread's priority, from idle to time critical.
enum class TThreadPriority : std::uint8_t {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};
