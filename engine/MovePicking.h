// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the next move to search: the first of the highest ordering scores. The search
// spends much of its time here: in check, the capture search picks from every move, most of
// which it then passes over.

#include <cstdint>
#include <cstring>

namespace MovePicking {

// Four scores side by side; the compiler makes each operation on them one or a few SSE2
// instructions on x86-64 (and the like elsewhere).
using Lanes = std::int32_t __attribute__((vector_size(16)));

inline Lanes LoadLanes(const std::int32_t* scores) {
    Lanes lanes;
    std::memcpy(&lanes, scores, sizeof lanes);
    return lanes;
}

inline Lanes HigherLanes(Lanes a, Lanes b) {
    const Lanes higher = b > a; // all bits set where b is higher
    return (b & higher) | (a & ~higher);
}

} // namespace MovePicking

// The index of the first of the highest scores in scores[begin, end), begin < end.
inline int FirstHighest(const std::int32_t* scores, int begin, int end) {
    using namespace MovePicking;
    // 1. The highest score. Four at a time, the last four read last: a score read twice
    //    changes no maximum.
    std::int32_t high = scores[begin];
    if (end - begin >= 4) {
        Lanes lanes = LoadLanes(scores + begin);
        for (int i = begin + 4; i < end - 4; i += 4)
            lanes = HigherLanes(lanes, LoadLanes(scores + i));
        lanes = HigherLanes(lanes, LoadLanes(scores + end - 4));
        for (int k = 0; k < 4; ++k)
            high = lanes[k] > high ? lanes[k] : high;
    } else {
        for (int i = begin + 1; i < end; ++i)
            high = scores[i] > high ? scores[i] : high;
    }
    // 2. Its first entry.
    int best = begin;
    while (scores[best] != high)
        ++best;
    return best;
}
