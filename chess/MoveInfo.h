// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "chess/Square.h"

#include <array>
#include <cstdint>

using PlacementArray = std::array<char, 64>;

// One history slot: the position in which a half-move is (or was) made, and that half-move.
struct MoveInfo {
    PlacementArray Position{};
    CastleSet Castling = 0;
    Square FromSq = Square::None;
    Square ToSq = Square::None;
    Square EnPassant = Square::None;
    // Hash of Position, so that repetition scans compare eight bytes before sixty-four.
    std::uint64_t Hash = 0;
    bool Written = false;
};
