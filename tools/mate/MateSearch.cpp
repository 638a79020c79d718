// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/mate/MateSearch.h"

namespace {

bool AttackerMates(TEngineBoard& board, int moves, std::vector<EngineMove>* all);

// The side to move has just been given a move by the attacker: answers whether every reply
// still loses by the attacker's `moves`-th move from here, counting this position as mated
// when it has no reply and stands in check (a stalemate is no win).
bool DefenderLoses(TEngineBoard& board, int moves) {
    const bool inCheck = board.SideInCheck(board.SideToMove());
    // Only a check can mate on the last move; this spares the generation at most leaves.
    if (moves == 0 && !inCheck)
        return false;
    board.GenerateMoves();
    bool anyReply = false;
    for (int i = board.FirstMoveIndex(); i < board.EndMoveIndex(); ++i) {
        if (!board.MakeEngineMove(board.StackedMove(i).Move))
            continue;
        anyReply = true;
        const bool lost = moves > 0 && AttackerMates(board, moves, nullptr);
        board.TakeBackMove();
        if (!lost)
            return false;
    }
    return anyReply || inCheck;
}

bool AttackerMates(TEngineBoard& board, int moves, std::vector<EngineMove>* all) {
    board.GenerateMoves();
    bool found = false;
    for (int i = board.FirstMoveIndex(); i < board.EndMoveIndex(); ++i) {
        const EngineMove move = board.StackedMove(i).Move;
        if (!board.MakeEngineMove(move))
            continue;
        const bool mates = DefenderLoses(board, moves - 1);
        board.TakeBackMove();
        if (!mates)
            continue;
        found = true;
        if (!all)
            return true;
        all->push_back(move);
    }
    return found;
}

} // namespace

bool CanForceMate(TEngineBoard& board, int moves) {
    return moves > 0 && AttackerMates(board, moves, nullptr);
}

std::vector<EngineMove> MatingMoves(TEngineBoard& board, int moves) {
    std::vector<EngineMove> all;
    if (moves > 0)
        AttackerMates(board, moves, &all);
    return all;
}

int ShortestMate(TEngineBoard& board, int maxMoves) {
    for (int n = 1; n <= maxMoves; ++n)
        if (CanForceMate(board, n))
            return n;
    return 0;
}
