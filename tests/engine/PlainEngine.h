// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second engine, written plainly and on its own from the description of the search: the
// same arrays and loops, in the same order, with nothing made faster. The tests hold the
// real engine to it move for move, score for score and node for node.
//
// Where the description leaves a choice open, or where following it literally would go
// wrong, this engine does the following (and the real one must do the same):
// - a pawn double-steps only from its own second rank;
// - Evaluate is kept within -9000..9000, so every score stays inside the root window and a
//   root with a legal move always leaves one of them as the result;
// - LoadPosition keeps a castling right only when the king and that rook stand on their
//   starting squares, and an en passant square only when it lies on the mover's sixth rank,
//   is empty, and has an enemy pawn behind it;
// - a pawn on the rank it would promote on has no moves and attacks nothing;
// - a node at ply 63, or one with no more than 400 free entries left on the move stack
//   (the most a position with sixteen pieces a side can need), goes to the capture search,
//   which scores it by Evaluate alone, within alpha and beta; a move that finds no room on
//   the stack is left out.
// Nodes are counted at every entry to SearchNode and CaptureSearch.

#include "engine/EngineTypes.h"

#include <cstdint>

class TPlainEngine {
public:
    TPlainEngine();

    EngineMove ComputeMove(const TEnginePosition& position);

    int Score() const { return LastScore; }
    int CompletedDepth() const { return LastDepth; }
    std::uint64_t Nodes() const { return NodeCount; }
    int PvMoveCount() const { return PvLength[0]; }
    EngineMove PvMove(int index) const { return PvTable[0][index]; }

    // For direct checks of the evaluation: load, prepare, evaluate.
    int EvaluatePosition(const TEnginePosition& position);

private:
    struct TStackedMove {
        EngineMove Move;
        std::int32_t Score;
    };
    struct TUndo {
        EngineMove Move;
        std::int32_t Captured;
        std::int32_t CastleRights;
        std::int32_t EpSquare;
    };

    void LoadPosition(const TEnginePosition& position);
    void PrepareEvaluation();
    int SearchNode(int alpha, int beta, int depth);
    int CaptureSearch(int alpha, int beta);
    bool AtLimit() const;
    void GenerateMoves();
    void GenerateCaptures();
    void Generate(bool capturesOnly);
    void AddMove(int from, int to, int flags);
    void AddPromotions(int from, int to, int flags);
    void Append(int from, int to, int promote, int flags, int score);
    bool MakeEngineMove(EngineMove move);
    void TakeBackMove();
    bool SideInCheck(int colour);
    bool SquareAttacked(int square, int colour);
    int Evaluate();
    void MarkPvMove();
    void PickBestMove(int index);
    int Step(int square, int direction) const;

    std::int32_t SquareColour[64];
    std::int32_t SquarePiece[64];
    std::int32_t ActiveSide;
    std::int32_t OtherSide;
    std::int32_t CastleRights;
    std::int32_t EpSquare;
    std::int32_t Ply;
    TStackedMove MoveStack[4096];
    std::int32_t PlyFirst[64];
    std::int32_t PlyEnd[64];
    TUndo UndoStack[64];
    std::int32_t HistoryScore[64][64];
    EngineMove PvTable[64][64];
    std::int32_t PvLength[64];
    bool InPvLine;
    std::int32_t SquareValue[2][6][64];

    std::int32_t Frame120[120];
    std::int32_t FrameOf64[64];
    bool SlidingPiece[6];
    std::int32_t DirectionCount[6];
    std::int32_t Directions[6][8];
    std::int32_t CastleKeepMask[64];
    std::int32_t PieceValue[6];

    int LastScore = 0;
    int LastDepth = 0;
    std::uint64_t NodeCount = 0;
};
