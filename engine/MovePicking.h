// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the next move to search: the first of the highest ordering scores. The search
// spends much of its time here: in check, the capture search picks from every move, most of
// which it then passes over.

#include <cstdint>
#include <cstring>

// The index of the first of the highest scores in scores[begin, end), begin < end.
inline int FirstHighest(const std::int32_t* scores, int begin, int end) {
    // 1. The highest score, four entries at a time: each of four lanes keeps the highest of
    //    its entries (the compiler makes a step a few SSE2 instructions on x86-64), then the
    //    lanes and the last few entries are merged one by one.
    using Lanes = std::int32_t __attribute__((vector_size(16)));
    std::int32_t high = scores[begin];
    int i = begin + 1;
    if (end - i >= 8) {
        Lanes lanes;
        std::memcpy(&lanes, scores + i, sizeof lanes);
        for (i += 4; i + 4 <= end; i += 4) {
            Lanes next;
            std::memcpy(&next, scores + i, sizeof next);
            const Lanes higher = next > lanes; // all bits set where higher
            lanes = (next & higher) | (lanes & ~higher);
        }
        for (int k = 0; k < 4; ++k)
            high = lanes[k] > high ? lanes[k] : high;
    }
    for (; i < end; ++i)
        high = scores[i] > high ? scores[i] : high;
    // 2. Its first entry.
    int best = begin;
    while (scores[best] != high)
        ++best;
    return best;
}
