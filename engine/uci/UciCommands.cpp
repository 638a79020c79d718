// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/uci/UciCommands.h"

#include "chess/Fen.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>

namespace {

TEnginePosition ToEngine(const TUciPosition& position) {
    TEnginePosition p;
    p.Position = position.Placement;
    p.WhiteToMove = position.WhiteToMove;
    p.CastlingAllowed = position.Castling;
    p.EnPassant = position.EnPassant;
    return p;
}

// A whole number; `fallback` for anything else.
int Number(const std::string& text, int fallback) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return fallback;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN / 2, INT_MAX / 2));
}

int SquareOf(std::string_view text) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
        return -1;
    return (8 - (text[1] - '0')) * 8 + (text[0] - 'a');
}

} // namespace

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start)
            words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

std::optional<TUciPosition> PositionFromFen(const std::vector<std::string>& fields,
                                            std::string* error) {
    // The rules' FEN reader, so that the engine accepts exactly the positions the game does.
    std::string fen;
    for (const std::string& field : fields)
        fen += (fen.empty() ? "" : " ") + field;
    TChessGame game;
    if (!LoadFen(game, fen, error))
        return std::nullopt;
    TUciPosition position;
    position.Placement = game.Position();
    position.WhiteToMove = game.WhiteToMove();
    position.Castling = game.CastlingAllowed();
    position.EnPassant = ToInt(game.EnPassant());
    return position;
}

bool ApplyUciMove(TEngineBoard& scratch, TUciPosition& position, std::string_view text) {
    if (text.size() != 4 && text.size() != 5)
        return false;
    const int from = SquareOf(text.substr(0, 2));
    const int to = SquareOf(text.substr(2, 2));
    int promote = 0;
    if (text.size() == 5) {
        const std::size_t p = std::string_view("nbrq").find(text[4]);
        if (p == std::string_view::npos)
            return false;
        promote = static_cast<int>(p) + 1;
    }
    if (from < 0 || to < 0)
        return false;
    scratch.LoadPosition(ToEngine(position));
    scratch.GenerateMoves();
    for (int i = scratch.FirstMoveIndex(); i < scratch.EndMoveIndex(); ++i) {
        const EngineMove m = scratch.StackedMove(i).Move;
        if (MoveFrom(m) != from || MoveTo(m) != to)
            continue;
        if (MovePromote(m) != 0 && MovePromote(m) != (promote ? promote : 4))
            continue;
        if (MovePromote(m) == 0 && promote != 0)
            continue;
        if (!scratch.MakeEngineMove(m))
            return false;
        for (int s = 0; s < 64; ++s) {
            const int colour = scratch.ColourAt(s);
            const int piece = scratch.PieceAt(s);
            char c = ' ';
            if (colour != ColourEmpty && piece >= PiecePawn && piece <= PieceKing) {
                c = "PNBRQK"[piece];
                if (colour == ColourBlack)
                    c = static_cast<char>(c - 'A' + 'a');
            }
            position.Placement[static_cast<std::size_t>(s)] = c;
        }
        position.WhiteToMove = scratch.SideToMove() == ColourWhite;
        position.Castling = scratch.Castling();
        position.EnPassant = scratch.EnPassantSquare() + 1;
        return true;
    }
    return false;
}

bool ParsePositionCommand(const std::vector<std::string>& words, TEngineBoard& scratch,
                          TUciPosition& position, std::string& error) {
    // words[0] is "position".
    std::size_t i = 1;
    TUciPosition next;
    if (i < words.size() && words[i] == "startpos") {
        ++i;
    } else if (i < words.size() && words[i] == "fen") {
        std::vector<std::string> fields;
        for (++i; i < words.size() && words[i] != "moves"; ++i)
            fields.push_back(words[i]);
        std::string why;
        const auto fen = PositionFromFen(fields, &why);
        if (!fen) {
            error = "invalid FEN: " + why;
            return false;
        }
        next = *fen;
    } else {
        error = "position needs startpos or fen";
        return false;
    }
    position = next;
    if (i < words.size() && words[i] == "moves") {
        for (++i; i < words.size(); ++i) {
            if (!ApplyUciMove(scratch, position, words[i])) {
                error = "illegal move " + words[i];
                return false;
            }
        }
    }
    return true;
}

TGoLimits ParseGoCommand(const std::vector<std::string>& words) {
    TGoLimits limits;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        const bool hasValue = i + 1 < words.size();
        if (w == "infinite") {
            limits.Infinite = true;
        } else if (hasValue) {
            const int v = Number(words[i + 1], -1);
            int* field = w == "depth"       ? &limits.Depth
                         : w == "movetime"  ? &limits.MoveTime
                         : w == "wtime"     ? &limits.WTime
                         : w == "btime"     ? &limits.BTime
                         : w == "winc"      ? &limits.WInc
                         : w == "binc"      ? &limits.BInc
                         : w == "movestogo" ? &limits.MovesToGo
                                            : nullptr;
            if (field) {
                *field = v;
                ++i;
            }
        }
    }
    return limits;
}

TMoveless Moveless(TEngineBoard& scratch, const TUciPosition& position) {
    if (FirstLegalMove(scratch, position) != 0)
        return TMoveless::HasMoves;
    return scratch.SideInCheck(scratch.SideToMove()) ? TMoveless::Checkmate : TMoveless::Stalemate;
}

std::optional<TSetOption> ParseSetOption(const std::vector<std::string>& words) {
    // setoption name <id, maybe several words> [value <x, maybe several words>]
    const auto name = std::find(words.begin(), words.end(), "name");
    if (name == words.end())
        return std::nullopt;
    const auto value = std::find(name, words.end(), "value");
    const auto join = [](auto first, auto last) {
        std::string text;
        for (auto it = first; it != last; ++it)
            text += (text.empty() ? "" : " ") + *it;
        return text;
    };
    TSetOption option{join(name + 1, value),
                      value == words.end() ? "" : join(value + 1, words.end())};
    if (option.Name.empty())
        return std::nullopt;
    std::transform(option.Name.begin(), option.Name.end(), option.Name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return option;
}

EngineMove FirstLegalMove(TEngineBoard& scratch, const TUciPosition& position) {
    scratch.LoadPosition(ToEngine(position));
    scratch.GenerateMoves();
    for (int i = scratch.FirstMoveIndex(); i < scratch.EndMoveIndex(); ++i) {
        const EngineMove m = scratch.StackedMove(i).Move;
        if (scratch.MakeEngineMove(m)) {
            scratch.TakeBackMove();
            return m;
        }
    }
    return 0;
}
