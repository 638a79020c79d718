// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The static score's parts that the search takes in without a call: the stored pawn terms,
// the rook terms and the sum. Included by the search and by the evaluation's own file.

#include "engine/ChessEngine.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace StaticScoreParts {

// Bit f set: the set holds a square on file f (a = 0).
inline std::uint32_t FilesOf(std::uint64_t squares) {
    squares |= squares >> 32;
    squares |= squares >> 16;
    squares |= squares >> 8;
    return static_cast<std::uint32_t>(squares & 0xff);
}

// The number of squares in a set of a few: one step per square, where std::popcount is a
// library call on the plain x86-64 instruction set.
inline int CountOf(std::uint64_t squares) {
    int count = 0;
    for (; squares != 0; squares &= squares - 1)
        ++count;
    return count;
}

// Every square of the files in the set.
inline std::uint64_t SquaresOfFiles(std::uint32_t files) {
    return (files & 0xff) * std::uint64_t{0x0101010101010101};
}

} // namespace StaticScoreParts

// Pawns of a side on its doubled and isolated files cost it points, the square values of
// its pawns that no opposing pawn can stop or take count twice.
inline const TChessEngine::TPawnTerms& TChessEngine::PawnTerms() const {
    const std::uint64_t white = Pieces[ColourWhite][PiecePawn];
    const std::uint64_t black = Pieces[ColourBlack][PiecePawn];
    const std::uint64_t key = white * 0x9e3779b97f4a7c15 ^ black * 0xc2b2ae3d27d4eb4f;
    TPawnTerms& terms = PawnStore[key >> (64 - PawnStoreBits)];
    if (!terms.Known || terms.Pawns[ColourWhite] != white || terms.Pawns[ColourBlack] != black)
        CountPawnTerms(terms);
    return terms;
}

// The sum of the square values is kept by the board as pieces move, the pawn terms are
// stored per pawn structure, and a rook scores by whether pawns stand on its file. Taken
// into the capture search whole: it runs at most of the nodes.
[[gnu::always_inline]] inline void TChessEngine::StructureTerms(int structure[2]) const {
    const TPawnTerms& terms = PawnTerms();
    structure[ColourWhite] = terms.Score[ColourWhite];
    structure[ColourBlack] = terms.Score[ColourBlack];
    // A rook on a file without pawns of its side: 10, 15 with no pawns at all.
    const std::uint64_t noPawns =
        StaticScoreParts::SquaresOfFiles(~(terms.Files[ColourWhite] | terms.Files[ColourBlack]));
    for (int c : {ColourWhite, ColourBlack}) {
        const std::uint64_t open = StaticScoreParts::SquaresOfFiles(~terms.Files[c]);
        for (std::uint64_t r = Pieces[c][PieceRook] & open; r != 0; r &= r - 1)
            structure[c] += (noPawns >> std::countr_zero(r) & 1) != 0 ? 15 : 10;
    }
}

inline int TChessEngine::ScoreFrom(int side, const int sums[2], const int structure[2]) {
    const int total = sums[side] + structure[side] - sums[1 - side] - structure[1 - side];
    return std::clamp(total, -EvaluationBound, EvaluationBound);
}

[[gnu::always_inline]] inline int TChessEngine::StaticScoreFor(int side) const {
    int structure[2];
    StructureTerms(structure);
    return ScoreFrom(side, Tally.ValueSum, structure);
}
