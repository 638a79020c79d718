// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test helper: a FEN goes through the board's parser into the fields the engine reads.
#include "chess/ChessGame.h"
#include "chess/Fen.h"
#include "engine/ChessEngine.h"

#include <QtTest>
#include <string>

struct TEngineFen {
    std::string Placement;
    bool WhiteToMove = true;
    int Castling = 0;
    int EnPassant = 0;

    explicit TEngineFen(const QString& fen) {
        TChessGame game;
        std::string error;
        if (!LoadFen(game, fen.toStdString(), &error))
            qFatal("bad test FEN %s: %s", qPrintable(fen), error.c_str());
        Placement = game.Position();
        WhiteToMove = game.WhiteToMove();
        Castling = game.CastlingAllowed();
        EnPassant = ToInt(game.EnPassant());
    }
    TEnginePosition Position(int depth = 1) const {
        return {Placement, WhiteToMove, Castling, EnPassant, depth};
    }
};

// Index of the generated move at this ply with the given text ("e1g1", "e7e8q"), or -1.
inline int FindMove(const TEngineBoard& board, const std::string& text) {
    for (int i = board.FirstMoveIndex(); i < board.EndMoveIndex(); ++i)
        if (MoveText(board.StackedMove(i).Move) == text)
            return i;
    return -1;
}
