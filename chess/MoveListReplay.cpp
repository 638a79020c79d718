// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/MoveListReplay.h"

#include <cctype>

namespace {

struct TLine {
    enum class Kind { Reserved, White, Black } What;
    int Number = 0; // White lines only
    TSanMove Move;
};

constexpr std::size_t BlackIndent = 14;
// Every promotion tried multiplies the work; a list that needs more tries is not replayed.
constexpr int MaxTries = 4096;

std::string TrimRight(const std::string& s) {
    std::size_t end = s.size();
    while (end > 0 && std::isspace(static_cast<unsigned char>(s[end - 1])))
        --end;
    return s.substr(0, end);
}

Square ReadSquare(const std::string& s, std::size_t at) {
    if (at + 2 > s.size())
        return Square::None;
    return SquareAt(s[at] - 'A' + 1, s[at + 1] - '0');
}

// "E2-E4" exactly, from `at` to the end.
bool ReadSquares(const std::string& s, std::size_t at, TSanMove* move) {
    if (s.size() != at + 5 || s[at + 2] != '-')
        return false;
    move->From = ReadSquare(s, at);
    move->To = ReadSquare(s, at + 3);
    return move->From != Square::None && move->To != Square::None;
}

std::optional<TLine> ReadLine(const std::string& raw) {
    const std::string s = TrimRight(raw);
    TLine line;
    if (s == "1. ...") {
        line.What = TLine::Kind::Reserved;
        return line;
    }
    if (s.size() > BlackIndent && s.compare(0, BlackIndent, std::string(BlackIndent, ' ')) == 0) {
        line.What = TLine::Kind::Black;
        return ReadSquares(s, BlackIndent, &line.Move) ? std::optional(line) : std::nullopt;
    }
    std::size_t digits = 0;
    while (digits < s.size() && digits < 9 && std::isdigit(static_cast<unsigned char>(s[digits])))
        ++digits;
    if (digits == 0 || s.compare(digits, 2, ". ") != 0)
        return std::nullopt;
    line.What = TLine::Kind::White;
    line.Number = std::stoi(s.substr(0, digits));
    return ReadSquares(s, digits + 2, &line.Move) ? std::optional(line) : std::nullopt;
}

// Plays lines[i..] on `game`; on success `moves` holds the half-moves played, promotions named.
bool Replay(TChessGame& game, const std::vector<TLine>& lines, std::size_t i,
            const std::string& placement, std::vector<TSanMove>& moves, int& tries) {
    for (; i < lines.size(); ++i) {
        const TLine& line = lines[i];
        const bool white = line.What == TLine::Kind::White;
        if (white != game.WhiteToMove() || (white && line.Number != game.CurrentMove()))
            return false;
        TSanMove move = line.Move;
        if (!game.IsPromotion(move.From, move.To)) {
            if (!game.MakeMove(move.From, move.To))
                return false;
            moves.push_back(move);
            continue;
        }
        for (const char piece : {'Q', 'R', 'B', 'N'}) {
            if (++tries > MaxTries)
                return false;
            TChessGame branch = game;
            move.Promotion = piece;
            if (!PlaySanMove(branch, move))
                return false;
            std::vector<TSanMove> rest = moves;
            rest.push_back(move);
            if (Replay(branch, lines, i + 1, placement, rest, tries)) {
                moves = std::move(rest);
                game = branch;
                return true;
            }
        }
        return false;
    }
    return game.Position() == placement;
}

} // namespace

std::optional<TMoveListGame> ReplayMoveList(const std::vector<std::string>& text,
                                            const std::string& placement) {
    std::vector<TLine> lines;
    for (const std::string& s : text) {
        const auto line = ReadLine(s);
        if (!line)
            return std::nullopt;
        lines.push_back(*line);
    }
    TMoveListGame game;
    std::size_t first = 0;
    if (!lines.empty() && lines.front().What == TLine::Kind::Reserved) {
        game.Start.SetWhiteToMove(false);
        first = 1;
    }
    for (std::size_t i = first; i < lines.size(); ++i)
        if (lines[i].What == TLine::Kind::Reserved)
            return std::nullopt;
    TChessGame played = game.Start;
    int tries = 0;
    if (!Replay(played, lines, first, placement, game.Moves, tries))
        return std::nullopt;
    return game;
}

std::optional<bool> WhiteToMoveAfter(const std::vector<std::string>& lines) {
    if (lines.empty())
        return std::nullopt;
    const auto last = ReadLine(lines.back());
    if (!last)
        return std::nullopt;
    return last->What == TLine::Kind::Black;
}
