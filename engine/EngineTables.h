// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's constant tables: the 10 x 12 frame for off-board detection, the piece
// directions, the castling masks, the material values and the white evaluation tables
// (rank 8 first; black looks its values up at the mirrored square).

#include "engine/EngineTypes.h"

#include <array>
#include <bit>
#include <cstdint>

namespace EngineTables {

constexpr std::array<int, 120> MakeFrame120() {
    std::array<int, 120> frame{};
    for (int i = 0; i < 120; ++i) {
        const int row = i / 10 - 2;
        const int column = i % 10 - 1;
        frame[i] = (row >= 0 && row < 8 && column >= 0 && column < 8) ? row * 8 + column : -1;
    }
    return frame;
}

constexpr std::array<int, 64> MakeFrameOf64() {
    std::array<int, 64> frame{};
    for (int s = 0; s < 64; ++s)
        frame[s] = 10 * (s / 8 + 2) + s % 8 + 1;
    return frame;
}

inline constexpr std::array<int, 120> Frame120 = MakeFrame120();
inline constexpr std::array<int, 64> FrameOf64 = MakeFrameOf64();

inline constexpr int Directions[6][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},         {-21, -19, -12, -8, 8, 12, 19, 21},
    {-11, -9, 9, 11, 0, 0, 0, 0},     {-10, -1, 1, 10, 0, 0, 0, 0},
    {-11, -10, -9, -1, 1, 9, 10, 11}, {-11, -10, -9, -1, 1, 9, 10, 11},
};

// CastleRights is ANDed with the entries of a move's from- and to-square: moving or taking
// a king or a rook on its home square ends the castling rights it carries.
constexpr std::array<int, 64> MakeCastleKeepMask() {
    std::array<int, 64> mask{};
    for (int& m : mask)
        m = CastleAll;
    mask[SquareA8] = CastleAll & ~CastleBlackQueenSide;
    mask[SquareE8] = CastleAll & ~(CastleBlackKingSide | CastleBlackQueenSide);
    mask[SquareH8] = CastleAll & ~CastleBlackKingSide;
    mask[SquareA1] = CastleAll & ~CastleWhiteQueenSide;
    mask[SquareE1] = CastleAll & ~(CastleWhiteKingSide | CastleWhiteQueenSide);
    mask[SquareH1] = CastleAll & ~CastleWhiteKingSide;
    return mask;
}
inline constexpr std::array<int, 64> CastleKeepMask = MakeCastleKeepMask();

inline constexpr int PieceValue[6] = {100, 300, 300, 500, 900, 0};

constexpr int MirrorSquare(int s) {
    return 8 * (7 - s / 8) + s % 8;
}

// clang-format off
inline constexpr int PawnTable[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,
      5,  10,  15,  20,  20,  15,  10,   5,
      4,   8,  12,  16,  16,  12,   8,   4,
      3,   6,   9,  12,  12,   9,   6,   3,
      2,   4,   6,   8,   8,   6,   4,   2,
      1,   2,   3,   4,   4,   3,   2,   1,
      0,   0,   0, -20, -20,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
};

inline constexpr int MinorTable[64] = {
    -10, -10, -10, -10, -10, -10, -10, -10,
    -10,   0,   0,   0,   0,   0,   0, -10,
    -10,   0,   5,   5,   5,   5,   0, -10,
    -10,   0,   5,  10,  10,   5,   0, -10,
    -10,   0,   5,  10,  10,   5,   0, -10,
    -10,   0,   5,   5,   5,   5,   0, -10,
    -10,   0,   0,   0,   0,   0,   0, -10,
    -20, -20, -20, -20, -20, -20, -20, -20,
};

inline constexpr int KingMiddleTable[64] = {
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -20, -20, -20, -20, -20, -20, -20, -20,
    -10,   0,  10, -20,   0, -20,  10,   0,
};

inline constexpr int KingEndTable[64] = {
     -5,  -5,  -5,  -5,  -5,  -5,  -5,  -5,
     -5,   0,   0,   0,   0,   0,   0,  -5,
     -5,   0,   5,   5,   5,   5,   0,  -5,
     -5,   0,   5,  10,  10,   5,   0,  -5,
     -5,   0,   5,  10,  10,   5,   0,  -5,
     -5,   0,   5,   5,   5,   5,   0,  -5,
     -5,   0,   0,   0,   0,   0,   0,  -5,
     -5,  -5,  -5,  -5,  -5,  -5,  -5,  -5,
};

inline constexpr int ShelterKingSide[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   5,   5,   5,
      0,   0,   0,   0,   0,  10,  10,  10,
      0,   0,   0,   0,   0,  20,  20,  20,
      0,   0,   0,   0,   0,   0,   0,   0,
};

inline constexpr int ShelterQueenSide[64] = {
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
      5,   5,   5,   0,   0,   0,   0,   0,
     10,  10,  10,   0,   0,   0,   0,   0,
     20,  20,  20,   0,   0,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
};
// clang-format on

} // namespace EngineTables

namespace EngineTables {

// The squares reachable from each square, precomputed from the frame so that generation and
// attack tests walk short lists instead of the frame. Rays follow the queen's directions in
// table order (-11, -10, -9, -1, 1, 9, 10, 11) and stop at the edge; knight targets follow
// the knight's directions in table order, leaving out those off the board.
struct TSquareSteps {
    signed char Ray[8][7];
    signed char RayLength[8];
    signed char Knight[8];
    signed char KnightCount;
};

constexpr std::array<TSquareSteps, 64> MakeSquareSteps() {
    std::array<TSquareSteps, 64> steps{};
    for (int s = 0; s < 64; ++s) {
        TSquareSteps& st = steps[s];
        for (int d = 0; d < 8; ++d) {
            int n = 0;
            for (int t = Frame120[FrameOf64[s] + Directions[4][d]]; t >= 0;
                 t = Frame120[FrameOf64[t] + Directions[4][d]])
                st.Ray[d][n++] = static_cast<signed char>(t);
            st.RayLength[d] = static_cast<signed char>(n);
        }
        int k = 0;
        for (int d = 0; d < 8; ++d) {
            const int t = Frame120[FrameOf64[s] + Directions[1][d]];
            if (t >= 0)
                st.Knight[k++] = static_cast<signed char>(t);
        }
        st.KnightCount = static_cast<signed char>(k);
    }
    return steps;
}
inline constexpr std::array<TSquareSteps, 64> SquareSteps = MakeSquareSteps();

// The bishop's and the rook's directions as indices of the queen's, in their table order.
inline constexpr int BishopRays[4] = {0, 2, 5, 7};
inline constexpr int RookRays[4] = {1, 3, 4, 6};
inline constexpr int QueenRays[8] = {0, 1, 2, 3, 4, 5, 6, 7};
inline constexpr bool IsDiagonalRay[8] = {true, false, true, false, false, true, false, true};
// Rays whose first square holds a pawn attacking the ray's origin: a white pawn attacks
// towards rank 8, so it stands below its target (+9, +11); a black one above it (-11, -9).
inline constexpr int PawnAttackerRays[2][2] = {{5, 7}, {0, 2}};

// RayTowards[a][b]: the index of the ray from a that passes over b, or -1.
constexpr std::array<std::array<signed char, 64>, 64> MakeRayTowards() {
    std::array<std::array<signed char, 64>, 64> towards{};
    for (auto& row : towards)
        for (auto& entry : row)
            entry = -1;
    for (int a = 0; a < 64; ++a)
        for (int d = 0; d < 8; ++d)
            for (int k = 0; k < SquareSteps[a].RayLength[d]; ++k)
                towards[a][SquareSteps[a].Ray[d][k]] = static_cast<signed char>(d);
    return towards;
}
inline constexpr std::array<std::array<signed char, 64>, 64> RayTowards = MakeRayTowards();

// The same squares as bit sets (bit s for square s), to see at once whether a ray or the
// knight's or king's steps from a square can meet a given set of pieces at all.
// PawnFrom[c]: the squares from which a pawn of colour c attacks the square. Diagonal and
// Straight are the unions of the bishop's and the rook's rays.
struct TSquareMasks {
    std::uint64_t Ray[8];
    std::uint64_t Knight;
    std::uint64_t King;
    std::uint64_t PawnFrom[2];
    std::uint64_t Diagonal;
    std::uint64_t Straight;
};

constexpr std::array<TSquareMasks, 64> MakeSquareMasks() {
    std::array<TSquareMasks, 64> masks{};
    for (int s = 0; s < 64; ++s) {
        const TSquareSteps& st = SquareSteps[s];
        for (int d = 0; d < 8; ++d) {
            for (int k = 0; k < st.RayLength[d]; ++k)
                masks[s].Ray[d] |= std::uint64_t{1} << st.Ray[d][k];
            if (st.RayLength[d] > 0)
                masks[s].King |= std::uint64_t{1} << st.Ray[d][0];
        }
        for (int k = 0; k < st.KnightCount; ++k)
            masks[s].Knight |= std::uint64_t{1} << st.Knight[k];
        for (int colour = 0; colour < 2; ++colour)
            for (int d : PawnAttackerRays[colour])
                if (st.RayLength[d] > 0)
                    masks[s].PawnFrom[colour] |= std::uint64_t{1} << st.Ray[d][0];
        for (int d : BishopRays)
            masks[s].Diagonal |= masks[s].Ray[d];
        for (int d : RookRays)
            masks[s].Straight |= masks[s].Ray[d];
    }
    return masks;
}
inline constexpr std::array<TSquareMasks, 64> SquareMasks = MakeSquareMasks();

// For a piece of each colour and type on each square: the squares from which it reaches the
// square in one step (pawns, knights and kings), and the lines along which it could reach it
// from further away (bishops, rooks and queens), so that no test asks for the piece's type.
struct TReachFrom {
    std::uint64_t Steps;
    std::uint64_t Lines;
};
constexpr std::array<std::array<std::array<TReachFrom, 64>, 6>, 2> MakeReachFrom() {
    std::array<std::array<std::array<TReachFrom, 64>, 6>, 2> reach{};
    for (int colour = 0; colour < 2; ++colour)
        for (int s = 0; s < 64; ++s) {
            const TSquareMasks& masks = SquareMasks[s];
            reach[colour][PiecePawn][s].Steps = masks.PawnFrom[colour];
            reach[colour][PieceKnight][s].Steps = masks.Knight;
            reach[colour][PieceKing][s].Steps = masks.King;
            reach[colour][PieceBishop][s].Lines = masks.Diagonal;
            reach[colour][PieceRook][s].Lines = masks.Straight;
            reach[colour][PieceQueen][s].Lines = masks.Diagonal | masks.Straight;
        }
    return reach;
}
inline constexpr std::array<std::array<std::array<TReachFrom, 64>, 6>, 2> ReachFrom =
    MakeReachFrom();

// A slider's reach along one line of the board, from a table instead of ray by ray. Each
// line (a rank, a file or a diagonal through a square) holds at most one square per file or,
// for a file, per rank; its squares are gathered into one byte by a multiplication, where
// no two partial products share a bit, so nothing carries. LineReach[p][b]: the positions
// reached from position p of a line of eight whose occupied positions are the bits of b,
// the first occupied one in each direction included.
constexpr std::array<std::array<std::uint8_t, 256>, 8> MakeLineReach() {
    std::array<std::array<std::uint8_t, 256>, 8> reach{};
    for (int p = 0; p < 8; ++p)
        for (int b = 0; b < 256; ++b) {
            int bits = 0;
            for (int q = p + 1; q < 8; ++q) {
                bits |= 1 << q;
                if (b >> q & 1)
                    break;
            }
            for (int q = p - 1; q >= 0; --q) {
                bits |= 1 << q;
                if (b >> q & 1)
                    break;
            }
            reach[p][b] = static_cast<std::uint8_t>(bits);
        }
    return reach;
}
inline constexpr std::array<std::array<std::uint8_t, 256>, 8> LineReach = MakeLineReach();

// The two diagonals through each square, the square included.
struct TDiagonals {
    std::uint64_t Falling; // towards h1 (a8-h1 direction)
    std::uint64_t Rising;  // towards h8
};
constexpr std::array<TDiagonals, 64> MakeDiagonals() {
    std::array<TDiagonals, 64> lines{};
    for (int s = 0; s < 64; ++s)
        for (int t = 0; t < 64; ++t) {
            if (t / 8 - t % 8 == s / 8 - s % 8)
                lines[s].Falling |= std::uint64_t{1} << t;
            if (t / 8 + t % 8 == s / 8 + s % 8)
                lines[s].Rising |= std::uint64_t{1} << t;
        }
    return lines;
}
inline constexpr std::array<TDiagonals, 64> Diagonals = MakeDiagonals();

// The squares of file a for the ranks in a byte (bit k: the square 8 k).
constexpr std::array<std::uint64_t, 256> MakeFileSquares() {
    std::array<std::uint64_t, 256> squares{};
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k < 8; ++k)
            if (b >> k & 1)
                squares[b] |= std::uint64_t{1} << (8 * k);
    return squares;
}
inline constexpr std::array<std::uint64_t, 256> FileSquares = MakeFileSquares();

// Reach along a line with at most one square per file: gathered onto the top byte, looked
// up by the square's file, and spread back over the line.
inline std::uint64_t ReachAcrossFiles(int s, std::uint64_t line, std::uint64_t occupied) {
    constexpr std::uint64_t everyRank = 0x0101010101010101;
    const unsigned files = static_cast<unsigned>(((occupied & line) * everyRank) >> 56);
    return (LineReach[s & 7][files] * everyRank) & line;
}
inline std::uint64_t DiagonalReach(int s, std::uint64_t occupied) {
    return ReachAcrossFiles(s, Diagonals[s].Falling, occupied) |
           ReachAcrossFiles(s, Diagonals[s].Rising, occupied);
}
inline std::uint64_t StraightReach(int s, std::uint64_t occupied) {
    const int file = s & 7;
    const int rankShift = s & 56;
    const std::uint64_t rank = std::uint64_t{LineReach[file][(occupied >> rankShift) & 0xff]}
                               << rankShift;
    // Bit 8 k of the file, moved to bit 56 + k: the partial products for other ranks land
    // below bit 56 or past bit 63.
    const unsigned ranks = static_cast<unsigned>(
        (((occupied >> file) & 0x0101010101010101) * 0x0102040810204080) >> 56);
    return rank | FileSquares[LineReach[s >> 3][ranks]] << file;
}

// The nearest occupied square on ray d from square s, or -1 when the ray is empty. Rays
// 0..3 run towards a8 (lower squares), so their nearest square is the highest set bit.
inline int FirstOnRay(int s, int d, std::uint64_t occupied) {
    const std::uint64_t blockers = SquareMasks[s].Ray[d] & occupied;
    if (blockers == 0)
        return -1;
    return d < 4 ? 63 - std::countl_zero(blockers) : std::countr_zero(blockers);
}

// The bit of the nearest occupied square on ray d from square s, or 0 when the ray is empty
// or d is -1 (no ray); without a branch on either, since neither is easy to guess.
inline std::uint64_t NearestOnRay(int s, int d, std::uint64_t occupied) {
    const std::uint64_t blockers =
        SquareMasks[s].Ray[d & 7] & occupied & (d >= 0 ? ~std::uint64_t{0} : 0);
    const std::uint64_t highest =
        (std::uint64_t{1} << 63 >> std::countl_zero(blockers | 1)) & blockers;
    return d < 4 ? highest : blockers & (0 - blockers);
}

// The pieces of one side (indexed by type) that slide along ray d, or some of them for d -1.
inline std::uint64_t SlidersAlong(const std::uint64_t* pieces, int d) {
    return pieces[PieceQueen] | (IsDiagonalRay[d & 7] ? pieces[PieceBishop] : pieces[PieceRook]);
}

} // namespace EngineTables
