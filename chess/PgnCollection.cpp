// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/PgnCollection.h"

#include <cstring>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool IsResult(std::string_view word) {
    return word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*";
}

std::size_t LineEnd(std::string_view text, std::size_t i) {
    while (i < text.size() && text[i] != '\n' && text[i] != '\r')
        ++i;
    return i;
}

} // namespace

std::vector<std::string_view> SplitPgnGames(std::string_view text) {
    std::vector<std::string_view> games;
    const std::size_t n = text.size();
    std::size_t start = std::string_view::npos; // where the current game began
    bool moves = false;                         // the current game's movetext has begun
    bool ended = false;                         // and its result stood at the top level
    int depth = 0;                              // variation nesting
    bool substance = false;                     // a tag or a move, not only comments
    bool lineStart = true;
    const auto close = [&](std::size_t at) {
        while (at > start && start != std::string_view::npos && IsSpace(text[at - 1]))
            --at;
        if (start != std::string_view::npos && substance)
            games.push_back(text.substr(start, at - start));
        start = std::string_view::npos;
        moves = ended = substance = false;
        depth = 0;
    };
    std::size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            lineStart = true;
            ++i;
            continue;
        }
        if (lineStart && c == '%') { // an escape line for other programs
            i = LineEnd(text, i);
            continue;
        }
        lineStart = false;
        if (IsSpace(c)) {
            ++i;
            continue;
        }
        // The next game: tags after movetext, or anything after a result.
        if ((c == '[' && depth == 0 && moves) || ended)
            close(i);
        if (start == std::string_view::npos)
            start = i;
        if (c == '{') {
            const std::size_t end = text.find('}', i);
            i = end == std::string_view::npos ? n : end + 1;
        } else if (c == ';') {
            i = LineEnd(text, i);
        } else if (c == '[' && depth == 0) {
            // A tag pair runs to the "]" that ends its line or stands before the next tag.
            std::size_t k = i + 1;
            const std::size_t end = LineEnd(text, i);
            std::size_t last = end;
            for (; k < end; ++k) {
                if (text[k] != ']')
                    continue;
                std::size_t after = k + 1;
                while (after < end && (text[after] == ' ' || text[after] == '\t'))
                    ++after;
                if (after == end || text[after] == '[') {
                    last = k + 1;
                    break;
                }
            }
            i = last;
            substance = true;
        } else if (c == '(') {
            ++depth;
            moves = true;
            ++i;
        } else if (c == ')') {
            if (depth > 0)
                --depth;
            ++i;
        } else {
            std::size_t end = i;
            while (end < n && !IsSpace(text[end]) && !std::strchr("{};()[]", text[end]))
                ++end;
            if (end == i)
                ++end; // a stray "]" or "}": ParsePgn names it
            moves = substance = true;
            if (depth == 0 && IsResult(text.substr(i, end - i)))
                ended = true;
            i = end;
        }
    }
    close(n);
    return games;
}
