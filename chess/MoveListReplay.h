// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A move list as the board writes it (GetMoveList: "1. E2-E4", fourteen spaces and "E7-E5",
// and the reserved first line "1. ...   " of a game that began with Black to move), read back
// into the game it tells. A saved game holds its placement and this text, not its history; the
// text often is the whole game, and then the game can be restored whole.

#include "chess/ChessGame.h"
#include "chess/San.h"

#include <optional>
#include <string>
#include <vector>

struct TMoveListGame {
    TChessGame Start; // the standard start, with Black to move after the reserved line
    std::vector<TSanMove> Moves;
};

// The game whose move list is `lines` and whose last placement is `placement` (64 characters),
// when the lines replay through the rules from the standard start to exactly that placement.
// The lines do not name the piece a pawn became: each promotion is tried as a queen, rook,
// bishop and knight, and the first choice that leads on to the placement is kept. Nothing for
// a line of another shape, a half-move out of turn or refused by the rules, or another end.
std::optional<TMoveListGame> ReplayMoveList(const std::vector<std::string>& lines,
                                            const std::string& placement);

// Whose turn the last line gives: after a White line (or the reserved line alone) Black moves,
// after a Black line White does. Nothing for an empty list or a last line of another shape.
std::optional<bool> WhiteToMoveAfter(const std::vector<std::string>& lines);
