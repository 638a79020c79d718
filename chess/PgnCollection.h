// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A PGN file may hold many games one after another. This cuts the text into one piece per
// game, each of which ParsePgn reads; pure, tested from strings.

#include <string_view>
#include <vector>

// The games of a PGN text in file order. A game begins with its first tag or, with no tags,
// its first move; it ends where the next game's tags begin or, with no tags between, after its
// result. Tags and results inside comments and variations do not count. Text with no game
// gives no piece.
std::vector<std::string_view> SplitPgnGames(std::string_view text);
