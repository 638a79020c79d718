// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/GameText.h"

std::string DecodePosition(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text)
        out += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : ' ';
    return out;
}

bool IsGamePosition(const QString& text) {
    if (text.size() != 64)
        return false;
    int whiteKings = 0, blackKings = 0;
    for (QChar c : text) {
        if (c != ' ' && !QString("PNBRQKpnbrqk").contains(c))
            return false;
        whiteKings += c == 'K';
        blackKings += c == 'k';
    }
    return whiteKings == 1 && blackKings == 1;
}
