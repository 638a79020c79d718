// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Standard algebraic notation (SAN) of single half-moves: writing a legal half-move of a game's
// current position ("Nbd7", "exd6", "O-O-O", "e8=N+", "Qh4#") and reading one back. Pure: no
// GUI, nothing changes in the game passed in.

#include "chess/ChessGame.h"

#include <string>
#include <string_view>

struct TSanMove {
    Square From = Square::None;
    Square To = Square::None;
    // The piece a pawn becomes on the last rank, upper case ("QRBN"); 0 for every other move.
    char Promotion = 0;
    bool operator==(const TSanMove&) const = default;
};

enum class TSanResult { Ok, Malformed, Illegal, Ambiguous };

// The SAN of a half-move of the side to move, with "+" or "#"; "" when the rules refuse it.
// A pawn reaching the last rank without a promotion piece is written as a queen's promotion.
std::string MoveToSan(const TChessGame& game, const TSanMove& move);

// Reads one SAN half-move of the side to move. Accepts "0-0" for "O-O", a promotion with or
// without "=", and trailing "+", "#", "!" and "?"; a capture mark is not checked against the
// target. Ambiguous when more than one half-move fits, Illegal when none does.
TSanResult SanToMove(const TChessGame& game, std::string_view san, TSanMove& move);

// Plays the half-move through the rules (MakeMove, so every event is raised), promoting to the
// move's piece; the game's own promotion piece is left as it was. False when refused.
bool PlaySanMove(TChessGame& game, const TSanMove& move);
