// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/Square.h"

std::string SquareName(Square s) {
    if (!IsOnBoard(s))
        return {};
    return {static_cast<char>('A' + FileOf(s) - 1), static_cast<char>('0' + RankOf(s))};
}

Square ParseSquare(const std::string& text) {
    if (text.size() != 2)
        return Square::None;
    const char f = text[0];
    const char r = text[1];
    int file = 0;
    if (f >= 'a' && f <= 'h')
        file = f - 'a' + 1;
    else if (f >= 'A' && f <= 'H')
        file = f - 'A' + 1;
    if (file == 0 || r < '1' || r > '8')
        return Square::None;
    return SquareAt(file, r - '0');
}
