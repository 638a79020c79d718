// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exact forced-mate search over the engine's board, for checking set positions: no
// evaluation, no pruning, no depth extension. "Mate in n" means the side to move has a move
// such that, whatever the reply, it again has such a move, and its n-th move mates.

#include "engine/EngineBoard.h"

#include <vector>

// Whether the side to move can force mate by its `moves`-th move at the latest.
bool CanForceMate(TEngineBoard& board, int moves);

// The first moves of the side to move that force mate by its `moves`-th move, in
// generation order.
std::vector<EngineMove> MatingMoves(TEngineBoard& board, int moves);

// The smallest n in 1..maxMoves with CanForceMate(board, n), or 0 when there is none.
int ShortestMate(TEngineBoard& board, int maxMoves);
