// SPDX-License-Identifier: GPL-3.0-or-later
// Move generation of the engine's board: pseudo-legal moves in the order the move ordering
// relies on (squares 0 to 63, each piece's directions in table order, then castling, then en
// passant); legality is tested later by making the move.
#include "engine/EngineBoard.h"

#include "engine/EngineTables.h"

#include <bit>
#include <cstdint>

using namespace EngineTables;

int TEngineBoard::AddPromotions(int end, int from, int to, int flags) {
    for (int code = PieceKnight; code <= PieceQueen && end < MoveStackSize; ++code) {
        MoveList[end] = PackMove(from, to, code, flags | FlagPromotion);
        MoveScore[end++] = PromotionScore(code);
    }
    return end;
}

// Pawns walk towards the opponent's side: white to lower squares, black to higher ones.
// A pawn already on its promotion rank has no square ahead and generates nothing.
template <bool CapturesOnly> int TEngineBoard::GeneratePawn(int end, int s) {
    if (ActiveSide == ColourWhite) {
        if (s < 8)
            return end;
        end = AddPawnCaptures(end, s);
        if (SquareColour[s - 8] == ColourEmpty) {
            if (!CapturesOnly || s <= 15)
                end = AddMove(end, s, s - 8, FlagPawnMove);
            // Only from the second rank: a pawn set up on the first rank steps one square.
            if (!CapturesOnly && s >= 48 && s < SquareA1 && SquareColour[s - 16] == ColourEmpty)
                end = PushMove(end, s, s - 16, FlagPawnMove | FlagDoubleStep,
                               HistoryScore[s][s - 16]);
        }
    } else {
        if (s >= SquareA1)
            return end;
        end = AddPawnCaptures(end, s);
        if (SquareColour[s + 8] == ColourEmpty) {
            if (!CapturesOnly || s >= 48)
                end = AddMove(end, s, s + 8, FlagPawnMove);
            if (!CapturesOnly && s >= 8 && s <= 15 && SquareColour[s + 16] == ColourEmpty)
                end = PushMove(end, s, s + 16, FlagPawnMove | FlagDoubleStep,
                               HistoryScore[s][s + 16]);
        }
    }
    return end;
}

std::uint64_t TEngineBoard::PawnsWithCaptures() const {
    constexpr std::uint64_t FileA = 0x0101010101010101;
    constexpr std::uint64_t FileH = FileA << 7;
    const std::uint64_t enemy = Occupied[OtherSide];
    const std::uint64_t empty = ~(Occupied[ColourWhite] | Occupied[ColourBlack]);
    // A capture towards the a-file starts from files b to h, one towards the h-file from a to
    // g; the step onto the last rank starts from the rank before it.
    if (ActiveSide == ColourWhite)
        return ((enemy << 9) & ~FileA) | ((enemy << 7) & ~FileH) |
               ((empty << 8) & 0x000000000000ff00);
    return ((enemy >> 7) & ~FileA) | ((enemy >> 9) & ~FileH) | ((empty >> 8) & 0x00ff000000000000);
}

template <bool CapturesOnly, int Piece> int TEngineBoard::GenerateSliding(int end, int s) {
    constexpr const int* rays =
        Piece == PieceBishop ? BishopRays : (Piece == PieceRook ? RookRays : QueenRays);
    constexpr int rayCount = Piece == PieceQueen ? 8 : 4;
    const std::uint64_t occupied = Occupied[ColourWhite] | Occupied[ColourBlack];
    const std::uint64_t reach = SliderReach<Piece>(s, occupied);
    // Only the nearest piece of each ray can be taken: one capture a ray at most.
    const std::uint64_t captures = reach & Occupied[OtherSide];
    const TSquareMasks& masks = SquareMasks[s];
    if constexpr (CapturesOnly) {
        // Most often one capture or none, whose order needs no rays.
        if ((captures & (captures - 1)) == 0) {
            if (captures != 0) {
                const int t = std::countr_zero(captures);
                end = PushMove(end, s, t, FlagCapture, CaptureScore(Piece, SquarePiece[t]));
            }
            return end;
        }
#pragma GCC unroll 8
        for (int r = 0; r < rayCount; ++r) {
            const std::uint64_t c = captures & masks.Ray[rays[r]];
            if (c != 0) {
                const int t = std::countr_zero(c);
                end = PushMove(end, s, t, FlagCapture, CaptureScore(Piece, SquarePiece[t]));
            }
        }
        return end;
    }
    // The empty squares before the nearest piece, nearest first: rays 0..3 run towards
    // lower squares, so their bits are taken from the top.
#pragma GCC unroll 8
    for (int r = 0; r < rayCount; ++r) {
        const int d = rays[r];
        std::uint64_t empty = reach & masks.Ray[d] & ~occupied;
        if (d < 4) {
            for (; empty != 0; empty &= ~(std::uint64_t{1} << 63 >> std::countl_zero(empty))) {
                const int e = 63 - std::countl_zero(empty);
                end = PushMove(end, s, e, 0, HistoryScore[s][e]);
            }
        } else {
            for (; empty != 0; empty &= empty - 1) {
                const int e = std::countr_zero(empty);
                end = PushMove(end, s, e, 0, HistoryScore[s][e]);
            }
        }
        const std::uint64_t c = captures & masks.Ray[d];
        if (c != 0) {
            const int t = std::countr_zero(c);
            end = PushMove(end, s, t, FlagCapture, CaptureScore(Piece, SquarePiece[t]));
        }
    }
    return end;
}

template <bool CapturesOnly> void TEngineBoard::Generate() {
    int end = PlyFirst[Ply];
    PlyEnd[Ply] = end;
    // The last ply has no successor to record where its moves end; nothing is made there.
    if (Ply >= MaxPly - 1)
        return;
    // Squares in order from a8: the order of generation is the order of equal scores. The
    // capture list passes over the pawns and sliders that have nothing to take or promote.
    std::uint64_t movers = Occupied[ActiveSide];
    if constexpr (CapturesOnly)
        movers &= ~Pieces[ActiveSide][PiecePawn] | PawnsWithCaptures();
    const std::uint64_t enemy = Occupied[OtherSide];
    for (std::uint64_t pieces = movers; pieces; pieces &= pieces - 1) {
        const int s = std::countr_zero(pieces);
        const int piece = SquarePiece[s];
        switch (piece) {
        case PiecePawn:
            end = GeneratePawn<CapturesOnly>(end, s);
            break;
        case PieceKnight:
        case PieceKing: {
            const bool king = piece == PieceKing;
            if constexpr (CapturesOnly) {
                // The steps in table order reach ever higher squares, so the bits of the
                // targets come in the same order.
                const TSquareMasks& masks = SquareMasks[s];
                for (std::uint64_t targets =
                         (king ? masks.King : masks.Knight) & Occupied[OtherSide];
                     targets != 0; targets &= targets - 1) {
                    const int t = std::countr_zero(targets);
                    end = PushMove(end, s, t, FlagCapture, CaptureScore(piece, SquarePiece[t]));
                }
                break;
            }
            // Empty and enemy targets together in square order, as the steps come.
            const TSquareMasks& masks = SquareMasks[s];
            for (std::uint64_t targets = (king ? masks.King : masks.Knight) & ~Occupied[ActiveSide];
                 targets != 0; targets &= targets - 1) {
                const int t = std::countr_zero(targets);
                if (SquareColour[t] == ColourEmpty)
                    end = PushMove(end, s, t, 0, HistoryScore[s][t]);
                else
                    end = PushMove(end, s, t, FlagCapture, CaptureScore(piece, SquarePiece[t]));
            }
            break;
        }
        case PieceBishop:
            if (!CapturesOnly || (SquareMasks[s].Diagonal & enemy))
                end = GenerateSliding<CapturesOnly, PieceBishop>(end, s);
            break;
        case PieceRook:
            if (!CapturesOnly || (SquareMasks[s].Straight & enemy))
                end = GenerateSliding<CapturesOnly, PieceRook>(end, s);
            break;
        default:
            if (!CapturesOnly || ((SquareMasks[s].Diagonal | SquareMasks[s].Straight) & enemy))
                end = GenerateSliding<CapturesOnly, PieceQueen>(end, s);
            break;
        }
    }
    if (!CapturesOnly) {
        // From the rights alone: the squares between and the attacks are tested when the
        // castling is made.
        if (ActiveSide == ColourWhite) {
            if (CastleRights & CastleWhiteKingSide)
                end = AddMove(end, SquareE1, SquareG1, FlagCastle);
            if (CastleRights & CastleWhiteQueenSide)
                end = AddMove(end, SquareE1, SquareC1, FlagCastle);
        } else {
            if (CastleRights & CastleBlackKingSide)
                end = AddMove(end, SquareE8, SquareG8, FlagCastle);
            if (CastleRights & CastleBlackQueenSide)
                end = AddMove(end, SquareE8, SquareC8, FlagCastle);
        }
    }
    if (EpSquare != -1) {
        const int file = EpSquare % 8;
        const int flags = FlagPawnMove | FlagEnPassant | FlagCapture;
        if (ActiveSide == ColourWhite) {
            if (file != 0 && SquareColour[EpSquare + 7] == ColourWhite &&
                SquarePiece[EpSquare + 7] == PiecePawn)
                end = AddMove(end, EpSquare + 7, EpSquare, flags);
            if (file != 7 && SquareColour[EpSquare + 9] == ColourWhite &&
                SquarePiece[EpSquare + 9] == PiecePawn)
                end = AddMove(end, EpSquare + 9, EpSquare, flags);
        } else {
            if (file != 0 && SquareColour[EpSquare - 9] == ColourBlack &&
                SquarePiece[EpSquare - 9] == PiecePawn)
                end = AddMove(end, EpSquare - 9, EpSquare, flags);
            if (file != 7 && SquareColour[EpSquare - 7] == ColourBlack &&
                SquarePiece[EpSquare - 7] == PiecePawn)
                end = AddMove(end, EpSquare - 7, EpSquare, flags);
        }
    }
    PlyEnd[Ply] = end;
    PlyFirst[Ply + 1] = end;
}

void TEngineBoard::GenerateMoves() {
    Generate<false>();
}
int TEngineBoard::GenerateCapturesFirst() {
    // A history count as high as the lowest capture would be picked among the captures.
    if (HistoryHigh >= CaptureScore(PieceKing, PiecePawn))
        return 0;
    Generate<true>();
    const int first = PlyFirst[Ply];
    const int captures = PlyEnd[Ply] - first;
    if (captures == 0)
        return 0;
    const int end = first + CountMoves();
    if (end > MoveStackSize)
        return 0;
    PlyEnd[Ply] = end;
    PlyFirst[Ply + 1] = end;
    return captures;
}
void TEngineBoard::GenerateCaptures() {
    Generate<true>();
}
