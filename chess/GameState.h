// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything one game is: the squares, side to move, castling rights, en passant square, move
// numbers and the history. A plain value; copying it copies the game and nothing else.

#include "chess/MoveInfo.h"
#include "chess/Square.h"

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr const char* StartPosition =
    "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

struct TGameState {
    TGameState();

    char Squares_[65]; // index 0 unused
    bool WhiteToMove_ = true;
    CastleSet CastlingAllowed_ = AllCastling;
    Square EnPassant_ = Square::None;
    std::int32_t CurrentMove_ = 1;
    std::int32_t LastMove_ = 1;
    bool LastWhiteToMove_ = true;
    char PromotionPiece_ = 'q';
    // The counters of the position the game started from, for FEN and PGN: the half-moves
    // since the last capture or pawn move, and its move number less one. The history itself
    // always counts from move 1.
    std::int32_t StartClock_ = 0;
    std::int32_t MoveOffset_ = 0;
    bool GameOver_ = false;

    // Two slots per move number, white first; it grows with the game, so no length limit.
    std::vector<MoveInfo> History_;
    // Index of the first slot of the recorded line: 1 when the game's first half-move was
    // black's, so that the white slot of move 1 that was never played is never read.
    std::size_t FirstIndex_ = 0;
    // Any change of the history or of the shown slot bumps this; IsThreefold caches on it.
    std::uint64_t HistoryVersion_ = 0;
    mutable std::uint64_t ThreefoldVersion_ = ~0ull;
    mutable bool ThreefoldCache_ = false;
};
