// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Codes shared by the engine's board, search and tools. Engine squares run 0..63, a8 = 0,
// h8 = 7, a1 = 56, h1 = 63; engine square s is board square s + 1.

#include <cstdint>
#include <string>
#include <string_view>

// Colour codes: the two sides are each other's complement (1 - colour).
inline constexpr int ColourWhite = 0;
inline constexpr int ColourBlack = 1;
inline constexpr int ColourEmpty = 6;

// Piece codes. Their order matters: capture ordering and promotion codes compute with them.
inline constexpr int PiecePawn = 0;
inline constexpr int PieceKnight = 1;
inline constexpr int PieceBishop = 2;
inline constexpr int PieceRook = 3;
inline constexpr int PieceQueen = 4;
inline constexpr int PieceKing = 5;
inline constexpr int PieceEmpty = 6;

// A move packed into four bytes, lowest first: from, to, promotion code (0 none, 1 knight ..
// 4 queen) and flags. The all-zero value reads a8 to a8.
using EngineMove = std::uint32_t;

inline constexpr int FlagCapture = 1;
inline constexpr int FlagCastle = 2;
inline constexpr int FlagEnPassant = 4;
inline constexpr int FlagDoubleStep = 8;
inline constexpr int FlagPawnMove = 16;
inline constexpr int FlagPromotion = 32;

// CastleRights bits, the same values as the board's CastlingAllowed flags.
inline constexpr int CastleWhiteKingSide = 1;
inline constexpr int CastleWhiteQueenSide = 2;
inline constexpr int CastleBlackKingSide = 4;
inline constexpr int CastleBlackQueenSide = 8;
inline constexpr int CastleAll = 15;

// The squares of the first and last ranks, which castling reads and moves.
inline constexpr int SquareA8 = 0;
inline constexpr int SquareB8 = 1;
inline constexpr int SquareC8 = 2;
inline constexpr int SquareD8 = 3;
inline constexpr int SquareE8 = 4;
inline constexpr int SquareF8 = 5;
inline constexpr int SquareG8 = 6;
inline constexpr int SquareH8 = 7;
inline constexpr int SquareA1 = 56;
inline constexpr int SquareB1 = 57;
inline constexpr int SquareC1 = 58;
inline constexpr int SquareD1 = 59;
inline constexpr int SquareE1 = 60;
inline constexpr int SquareF1 = 61;
inline constexpr int SquareG1 = 62;
inline constexpr int SquareH1 = 63;

// Ordering scores. Captures and promotions come before every quiet move, whose score is
// its history count; the principal variation's move comes before everything.
inline constexpr int CaptureBaseScore = 1000000;
inline constexpr int PvMoveBonus = 10000000;
// A capture: the more valuable the piece taken, the earlier, and among equal victims the
// cheaper attacker first. An en passant capture lands on an empty square (code 6) and so
// comes before every other capture.
constexpr int CaptureScore(int mover, int victim) {
    return CaptureBaseScore + 10 * victim - mover;
}
// A promotion, with or without a capture: the queen first, the knight last.
constexpr int PromotionScore(int promote) {
    return CaptureBaseScore + 10 * promote;
}

constexpr EngineMove PackMove(int from, int to, int promote, int flags) {
    return static_cast<EngineMove>(from) | static_cast<EngineMove>(to) << 8 |
           static_cast<EngineMove>(promote) << 16 | static_cast<EngineMove>(flags) << 24;
}
constexpr int MoveFrom(EngineMove m) {
    return static_cast<int>(m & 0xff);
}
constexpr int MoveTo(EngineMove m) {
    return static_cast<int>(m >> 8 & 0xff);
}
constexpr int MovePromote(EngineMove m) {
    return static_cast<int>(m >> 16 & 0xff);
}
constexpr int MoveFlags(EngineMove m) {
    return static_cast<int>(m >> 24 & 0xff);
}

// "e2e4", with the promotion letter appended for a promotion ("e7e8q").
inline std::string MoveText(EngineMove m) {
    std::string text;
    for (int s : {MoveFrom(m), MoveTo(m)}) {
        text += static_cast<char>('a' + s % 8);
        text += static_cast<char>('8' - s / 8);
    }
    if (MovePromote(m) >= 1 && MovePromote(m) <= 4)
        text += "nbrq"[MovePromote(m) - 1];
    return text;
}

// What the engine reads from the board at the start of a search. `Position` holds the
// board's 64 placement characters, a8 first; characters past its end read as empty squares.
struct TEnginePosition {
    std::string_view Position;
    bool WhiteToMove = true;
    int CastlingAllowed = 0; // the board's bits: 1 K, 2 Q, 4 k, 8 q
    int EnPassant = 0;       // board square 1..64, 0 for none
    int SearchDepth = 1;
};
