// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The static score's parts that the search takes in without a call: the stored pawn terms,
// the rook terms and the sum, and what the capture search after a move would find before
// searching anything. Included by the search and by the evaluation's own file.

#include "engine/ChessEngine.h"
#include "engine/EngineTables.h"

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

inline TChessEngine::TForecast TChessEngine::ForecastChild(EngineMove move, int childBeta,
                                                           const int structure[2]) {
    const int from = MoveFrom(move);
    const int to = MoveTo(move);
    const int flags = MoveFlags(move);
    const int mover = ActiveSide;
    const int other = OtherSide;
    const int piece = SquarePiece[from];
    const int captured = SquarePiece[to];
    // 1. Only the common case: no second piece moved and no king taken; the node's own
    //    conditions were tested by ForecastAllowed.
    if ((flags & (FlagCastle | FlagEnPassant)) || captured == PieceKing)
        return TForecast::Unknown;
    const std::uint64_t fromBit = std::uint64_t{1} << from;
    const std::uint64_t toBit = std::uint64_t{1} << to;
    const std::uint64_t after =
        ((Occupied[ColourWhite] | Occupied[ColourBlack]) & ~fromBit) | toBit;
    // 2. Legal: a king steps to a square no piece reaches once it has left its own; any other
    //    piece uncovers no slider aimed at its king.
    if (piece == PieceKing) {
        Occupied[mover] ^= fromBit;
        const bool attacked = SquareAttacked(to, other);
        Occupied[mover] ^= fromBit;
        if (attacked)
            return TForecast::Illegal;
    } else if (PinnedAway(Tally.KingSquare[mover], from, to,
                          Occupied[ColourWhite] | Occupied[ColourBlack])) {
        return TForecast::Illegal;
    }
    // 3. Check: the piece now on the to-square reaches the opponent's king, or a slider of the
    //    mover does over the emptied from-square (as CheckByLastMove finds it in the child).
    const int placed = (flags & FlagPromotion) ? MovePromote(move) : piece;
    const int king = Tally.KingSquare[other];
    bool check = PieceReaches(placed, mover, to, king, after);
    if (!check) {
        // A piece landing on the same line in front of the king reaches it itself, above.
        const int d = EngineTables::RayTowards[king][from];
        const int t = d >= 0 ? EngineTables::FirstOnRay(king, d, after) : -1;
        const std::uint64_t* own = Pieces[mover];
        check = t >= 0 && t != to &&
                ((own[PieceQueen] |
                  (EngineTables::IsDiagonalRay[d] ? own[PieceBishop] : own[PieceRook])) >>
                     t &
                 1) != 0;
    }
    if (check)
        return TForecast::Check;
    // 4. The static score from the opponent's side: the running sums as the move changes
    //    them, and the pawn and rook terms, which change only with a pawn or a rook moved,
    //    taken or made; for those the pieces' bits are moved as making the move would, then
    //    put back.
    int sums[2];
    sums[mover] =
        Tally.ValueSum[mover] + SquareValue[mover][placed][to] - SquareValue[mover][piece][from];
    sums[other] =
        Tally.ValueSum[other] - (captured != PieceEmpty ? SquareValue[other][captured][to] : 0);
    if (piece != PiecePawn && piece != PieceRook && captured != PiecePawn &&
        captured != PieceRook) {
        ForecastStructure[ColourWhite] = structure[ColourWhite];
        ForecastStructure[ColourBlack] = structure[ColourBlack];
    } else {
        if (captured != PieceEmpty)
            Pieces[other][captured] ^= toBit;
        Pieces[mover][piece] ^= fromBit;
        Pieces[mover][placed] ^= toBit;
        StructureTerms(ForecastStructure);
        Pieces[mover][placed] ^= toBit;
        Pieces[mover][piece] ^= fromBit;
        if (captured != PieceEmpty)
            Pieces[other][captured] ^= toBit;
    }
    return ScoreFrom(other, sums, ForecastStructure) >= childBeta ? TForecast::StandsPat
                                                                  : TForecast::Quiet;
}
