// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six positions whose perft counts are published and used everywhere to check move
// generators (one of them also mirrored), with their counts: shared by the rules' and the
// engine's perft tests.

#include <cstdint>

namespace PerftFen {
inline constexpr const char* Start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
inline constexpr const char* Kiwipete =
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
inline constexpr const char* Pos3 = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1";
inline constexpr const char* Pos4 =
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
inline constexpr const char* Pos4Mirrored =
    "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1";
inline constexpr const char* Pos5 = "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8";
inline constexpr const char* Pos6 =
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10";
} // namespace PerftFen

// A position's published leaf count at one depth. Each test picks the rows it can afford.
struct TPerftCount {
    const char* Name;
    const char* Fen;
    int Depth;
    std::uint64_t Nodes;
};

inline constexpr TPerftCount PerftCounts[] = {
    {"start", PerftFen::Start, 1, 20},
    {"start", PerftFen::Start, 2, 400},
    {"start", PerftFen::Start, 3, 8902},
    {"start", PerftFen::Start, 4, 197281},
    {"start", PerftFen::Start, 5, 4865609},
    {"kiwipete", PerftFen::Kiwipete, 1, 48},
    {"kiwipete", PerftFen::Kiwipete, 2, 2039},
    {"kiwipete", PerftFen::Kiwipete, 3, 97862},
    {"kiwipete", PerftFen::Kiwipete, 4, 4085603},
    {"pos3", PerftFen::Pos3, 4, 43238},
    {"pos3", PerftFen::Pos3, 5, 674624},
    {"pos4", PerftFen::Pos4, 3, 9467},
    {"pos4", PerftFen::Pos4, 4, 422333},
    {"pos4 mirrored", PerftFen::Pos4Mirrored, 3, 9467},
    {"pos4 mirrored", PerftFen::Pos4Mirrored, 4, 422333},
    {"pos5", PerftFen::Pos5, 4, 2103487},
    {"pos6", PerftFen::Pos6, 4, 3894594},
};
