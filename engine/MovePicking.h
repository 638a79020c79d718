// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the next move to search: the first of the highest ordering scores. The search
// spends much of its time here: in check, the capture search picks from every move, most of
// which it then passes over.

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace MovePicking {

// Four scores side by side; the compiler makes each operation on them one or a few SSE2
// instructions on x86-64 (and the like elsewhere).
using Lanes = std::int32_t __attribute__((vector_size(16)));

inline Lanes LoadLanes(const std::int32_t* scores) {
    Lanes lanes;
    std::memcpy(&lanes, scores, sizeof lanes);
    return lanes;
}

// The highest of scores[begin, end), begin < end, or with Lowest the lowest. Four at a time,
// the last four read last: a score read twice changes neither.
template <bool Lowest> std::int32_t Extreme(const std::int32_t* scores, int begin, int end) {
    auto better = [](Lanes a, Lanes b) {
        const Lanes take = Lowest ? b < a : b > a; // all bits set where b is better
        return (b & take) | (a & ~take);
    };
    std::int32_t best = scores[begin];
    if (end - begin >= 4) {
        Lanes lanes = LoadLanes(scores + begin);
        for (int i = begin + 4; i < end - 4; i += 4)
            lanes = better(lanes, LoadLanes(scores + i));
        lanes = better(lanes, LoadLanes(scores + end - 4));
        for (int k = 0; k < 4; ++k)
            best = (Lowest ? lanes[k] < best : lanes[k] > best) ? lanes[k] : best;
    } else {
        for (int i = begin + 1; i < end; ++i)
            best = (Lowest ? scores[i] < best : scores[i] > best) ? scores[i] : best;
    }
    return best;
}

// The first entry from `begin` on that holds `high`, which one does.
template <typename Key> int FirstOf(const Key* keys, int begin, Key high) {
    while (keys[begin] != high)
        ++begin;
    return begin;
}

} // namespace MovePicking

// The index of the first of the highest scores in scores[begin, end), begin < end. Reads
// up to three entries past `end`, which must exist.
inline int FirstHighest(const std::int32_t* scores, int begin, int end) {
    using namespace MovePicking;
#if defined(__SSE2__)
    // Most capture lists are this short. Their four entries are read together and nothing
    // branches on their values: which entry holds the highest is anyone's guess, and a wrong
    // guess costs as much as the whole search for it.
    if (end - begin <= 4) {
        const __m128i unused =
            _mm_cmpgt_epi32(_mm_setr_epi32(0, 1, 2, 3), _mm_set1_epi32(end - begin - 1));
        const __m128i lanes = _mm_or_si128(
            _mm_andnot_si128(unused,
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(scores + begin))),
            _mm_and_si128(unused, _mm_set1_epi32(INT32_MIN)));
        auto higher = [](__m128i a, __m128i b) {
            const __m128i bHigher = _mm_cmpgt_epi32(b, a);
            return _mm_or_si128(_mm_and_si128(bHigher, b), _mm_andnot_si128(bHigher, a));
        };
        __m128i high = higher(lanes, _mm_shuffle_epi32(lanes, 0x4e));
        high = higher(high, _mm_shuffle_epi32(high, 0xb1));
        const int equal = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(lanes, high)));
        return begin + std::countr_zero(static_cast<unsigned>(equal));
    }
#endif
    // 1. The highest score.
    const std::int32_t high = Extreme<false>(scores, begin, end);
    // 2. Its first entry.
    return FirstOf(scores, begin, high);
}

// The lowest of scores[begin, end), begin < end. Once the move picked holds it, every move
// after it holds it too, and picking changes their order no more.
inline std::int32_t LowestScore(const std::int32_t* scores, int begin, int end) {
    return MovePicking::Extreme<true>(scores, begin, end);
}

// The same over 16-bit keys, eight side by side: one instruction takes the higher of each.
inline int FirstHighestKey(const std::int16_t* keys, int begin, int end) {
#if defined(__SSE2__)
    if (end - begin >= 8) {
        auto load = [keys](int i) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(keys + i));
        };
        // 1. The highest key, in every lane: the last eight read last, then the lanes folded.
        __m128i high = load(begin);
        for (int i = begin + 8; i < end - 8; i += 8)
            high = _mm_max_epi16(high, load(i));
        high = _mm_max_epi16(high, load(end - 8));
        high = _mm_max_epi16(high, _mm_shuffle_epi32(high, 0x4e));
        high = _mm_max_epi16(high, _mm_shuffle_epi32(high, 0xb1));
        high = _mm_max_epi16(high, _mm_shufflelo_epi16(high, 0xb1));
        high = _mm_set1_epi16(static_cast<std::int16_t>(_mm_extract_epi16(high, 0)));
        // 2. Its first entry; two mask bits a key.
        int i = begin;
        for (; i + 8 <= end; i += 8)
            if (const int equal = _mm_movemask_epi8(_mm_cmpeq_epi16(load(i), high)))
                return i + std::countr_zero(static_cast<unsigned>(equal)) / 2;
        const int equal = _mm_movemask_epi8(_mm_cmpeq_epi16(load(end - 8), high));
        return end - 8 + std::countr_zero(static_cast<unsigned>(equal)) / 2;
    }
#endif
    std::int16_t high = keys[begin];
    for (int i = begin + 1; i < end; ++i)
        high = keys[i] > high ? keys[i] : high;
    return MovePicking::FirstOf(keys, begin, high);
}

// Ordering scores turned into 16-bit keys in the same order, scores[i] into keys[i] for i in
// [begin, end): a history count keeps its value, a capture or promotion comes above every
// history count, the principal variation's move above all. Answers false, with some keys
// left unwritten, when a score has no key.
namespace PickKeys {
inline constexpr int HistoryKeys = 16000;
inline constexpr int LowestCapture = 1000000 - 10; // a king's capture of a pawn: -5
inline constexpr int HighestCapture = 1000000 + 100;
inline constexpr int PvKey = 32000;
} // namespace PickKeys

inline bool MakeKeys(const std::int32_t* scores, std::int16_t* keys, int begin, int end,
                     int pvScore) {
    using namespace PickKeys;
    int i = begin;
#if defined(__SSE2__)
    // Eight at a time: three ranges tested side by side, the keys packed to 16 bits.
    const __m128i below = _mm_set1_epi32(-1);
    const __m128i history = _mm_set1_epi32(HistoryKeys);
    const __m128i captureLow = _mm_set1_epi32(LowestCapture - 1);
    const __m128i captureHigh = _mm_set1_epi32(HighestCapture + 1);
    const __m128i captureShift = _mm_set1_epi32(HistoryKeys - LowestCapture);
    const __m128i pvLow = _mm_set1_epi32(pvScore - 1);
    const __m128i pvKey = _mm_set1_epi32(PvKey);
    auto four = [&](const std::int32_t* at, bool& fits) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i isHistory =
            _mm_and_si128(_mm_cmpgt_epi32(s, below), _mm_cmplt_epi32(s, history));
        const __m128i isCapture =
            _mm_and_si128(_mm_cmpgt_epi32(s, captureLow), _mm_cmplt_epi32(s, captureHigh));
        const __m128i isPv = _mm_cmpgt_epi32(s, pvLow);
        const __m128i known = _mm_or_si128(_mm_or_si128(isHistory, isCapture), isPv);
        fits = fits && _mm_movemask_epi8(known) == 0xffff;
        return _mm_or_si128(_mm_or_si128(_mm_and_si128(s, isHistory),
                                         _mm_and_si128(_mm_add_epi32(s, captureShift), isCapture)),
                            _mm_and_si128(pvKey, isPv));
    };
    for (; i + 8 <= end; i += 8) {
        bool fits = true;
        const __m128i low = four(scores + i, fits);
        const __m128i high = four(scores + i + 4, fits);
        if (!fits)
            return false;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(keys + i), _mm_packs_epi32(low, high));
    }
#endif
    for (; i < end; ++i) {
        const int score = scores[i];
        int key;
        if (score >= 0 && score < HistoryKeys)
            key = score;
        else if (score >= LowestCapture && score <= HighestCapture)
            key = HistoryKeys + score - LowestCapture;
        else if (score >= pvScore)
            key = PvKey; // one move at most
        else
            return false;
        keys[i] = static_cast<std::int16_t>(key);
    }
    return true;
}
