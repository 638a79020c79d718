// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which half-move did the peer play? A "mov" message carries only the placement after the
// move; this finds the one legal half-move of the side to move that leads to it, so that the
// move can be played through the board's normal path with all its events.

#include "chess/ChessGame.h"

#include <optional>
#include <string>

struct TPeerMove {
    Square From = Square::None;
    Square To = Square::None;
    char Promotion = 0; // 'q', 'r', 'b' or 'n' for a promotion, 0 otherwise
};

// The placement as the board would keep it: recognised piece letters and blanks, 64 squares.
std::string NormalisedPosition(const std::string& position);

// The legal half-move from `game`'s position that produces `position`, if there is one. A
// promotion to each piece counts as a half-move of its own.
std::optional<TPeerMove> FindPeerMove(const TChessGame& game, const std::string& position);
