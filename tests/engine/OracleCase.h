// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test helper shared by the oracle test and the golden-table writer: a position as the engine
// reads it, taken straight from a FEN (so that layouts the rules would refuse, such as pawns
// on the first or last rank, reach the engine too), and one search written out as a line.
#include "chess/Fen.h"
#include "engine/EngineTypes.h"

#include <cstdint>
#include <sstream>
#include <string>

struct TOracleCase {
    std::string Placement;
    bool WhiteToMove = true;
    int Castling = 0;
    int EnPassant = 0;

    TEnginePosition Position(int depth) const {
        return {Placement, WhiteToMove, Castling, EnPassant, depth};
    }
};

// Placement, side, castling letters and en passant square of a FEN; the rest is ignored.
// An empty Placement means the FEN is malformed.
inline TOracleCase OracleCaseFromFen(const std::string& fen) {
    std::istringstream in(fen);
    std::string placement, side, castling, enPassant;
    in >> placement >> side >> castling >> enPassant;
    TOracleCase c;
    c.Placement = PlacementFromFen(placement);
    c.WhiteToMove = side != "b";
    for (char letter : castling)
        c.Castling |= letter == 'K'   ? 1
                      : letter == 'Q' ? 2
                      : letter == 'k' ? 4
                      : letter == 'q' ? 8
                                      : 0;
    if (enPassant.size() == 2 && enPassant[0] >= 'a' && enPassant[0] <= 'h' &&
        enPassant[1] >= '1' && enPassant[1] <= '8')
        c.EnPassant = (enPassant[0] - 'a') + 8 * ('8' - enPassant[1]) + 1;
    return c;
}

// "bestmove M score S depth D nodes N pv M...": everything a search leaves behind.
template <typename Engine> std::string SearchLine(const Engine& engine, EngineMove best) {
    std::string line = "bestmove " + MoveText(best) + " score " + std::to_string(engine.Score()) +
                       " depth " + std::to_string(engine.CompletedDepth()) + " nodes " +
                       std::to_string(engine.Nodes()) + " pv";
    for (int i = 0; i < engine.PvMoveCount(); ++i)
        line += " " + MoveText(engine.PvMove(i));
    return line;
}
