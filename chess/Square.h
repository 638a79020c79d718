// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Square numbering, piece letters and the small sets shared by the whole program.
// Squares run rank 8 first, file a to h within a rank: A8 = 1 ... H1 = 64.

#include <cstdint>
#include <string>

// One rank a line.
// clang-format off
enum class Square : std::uint8_t {
    None = 0,
    A8 = 1, B8, C8, D8, E8, F8, G8, H8,
    A7, B7, C7, D7, E7, F7, G7, H7,
    A6, B6, C6, D6, E6, F6, G6, H6,
    A5, B5, C5, D5, E5, F5, G5, H5,
    A4, B4, C4, D4, E4, F4, G4, H4,
    A3, B3, C3, D3, E3, F3, G3, H3,
    A2, B2, C2, D2, E2, F2, G2, H2,
    A1, B1, C1, D1, E1, F1, G1, H1
};
// clang-format on

enum class PieceColour : std::uint8_t { Empty, White, Black };

// CastleSet bits.
enum CanStillCastle : std::uint8_t {
    WhiteKingSide = 1,
    WhiteQueenSide = 2,
    BlackKingSide = 4,
    BlackQueenSide = 8
};
using CastleSet = std::uint8_t;
constexpr CastleSet AllCastling = WhiteKingSide | WhiteQueenSide | BlackKingSide | BlackQueenSide;

// CoordSet bits: which sides of the board carry coordinates.
enum CoordSide : std::uint8_t { West = 1, North = 2, East = 4, South = 8 };
using CoordSet = std::uint8_t;

constexpr int ToInt(Square s) {
    return static_cast<int>(s);
}
constexpr bool IsOnBoard(Square s) {
    return ToInt(s) >= 1 && ToInt(s) <= 64;
}
// Any integer outside 1..64 becomes None.
constexpr Square ToSquare(int i) {
    return (i >= 1 && i <= 64) ? static_cast<Square>(i) : Square::None;
}

// File 1..8 (a..h) and rank 1..8 of a square 1..64; 0 for None.
constexpr int FileOf(Square s) {
    return IsOnBoard(s) ? (ToInt(s) - 1) % 8 + 1 : 0;
}
constexpr int RankOf(Square s) {
    return IsOnBoard(s) ? 8 - (ToInt(s) - 1) / 8 : 0;
}

constexpr Square SquareAt(int file, int rank) {
    if (file < 1 || file > 8 || rank < 1 || rank > 8)
        return Square::None;
    return static_cast<Square>((8 - rank) * 8 + file);
}

constexpr bool IsLightSquare(Square s) {
    if (!IsOnBoard(s))
        return false;
    const int i = ToInt(s);
    return ((i % 2) ^ (((i - 1) / 8) % 2)) == 1;
}

constexpr PieceColour ColourOfLetter(char c) {
    switch (c) {
    case 'P':
    case 'N':
    case 'B':
    case 'R':
    case 'Q':
    case 'K':
        return PieceColour::White;
    case 'p':
    case 'n':
    case 'b':
    case 'r':
    case 'q':
    case 'k':
        return PieceColour::Black;
    default:
        return PieceColour::Empty;
    }
}

constexpr bool IsPieceLetter(char c) {
    return ColourOfLetter(c) != PieceColour::Empty;
}

// "E2" style name, upper case; "" for None.
std::string SquareName(Square s);
// Accepts "e2" or "E2"; None for anything else.
Square ParseSquare(const std::string& text);
