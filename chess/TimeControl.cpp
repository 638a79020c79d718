// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/TimeControl.h"

#include <algorithm>
#include <cstdio>

std::string TTimeControl::PgnTag() const {
    if (!On())
        return "-";
    return std::to_string(BaseSeconds) + "+" + std::to_string(IncrementSeconds);
}

std::string TTimeControl::Name() const {
    return std::to_string(BaseSeconds / 60) + "+" + std::to_string(IncrementSeconds);
}

const std::vector<TTimeControl>& TimeControlPresets() {
    static const std::vector<TTimeControl> presets = {{60, 0},  {180, 2},  {300, 0},
                                                      {600, 5}, {900, 10}, {1800, 0}};
    return presets;
}

std::string PgnClock(long long ms) {
    const long long s = std::max(0LL, ms) / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    return text;
}

std::string ClockFace(long long ms) {
    ms = std::max(0LL, ms);
    char text[32];
    if (ms < 10000) {
        std::snprintf(text, sizeof text, "%lld.%lld", ms / 1000, ms / 100 % 10);
        return text;
    }
    const long long s = ms / 1000;
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    return text;
}
