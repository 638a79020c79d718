// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/Pgn.h"

#include "chess/Fen.h"
#include "chess/GameResult.h"

#include <cctype>
#include <cstring>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Quoted(const std::string& value) {
    std::string out = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\')
            out += '\\';
        // A tag value is one line.
        out += (c == '\n' || c == '\r') ? ' ' : c;
    }
    return out + '"';
}

std::string MoveLabel(int number, bool white, const std::string& san) {
    return std::to_string(number) + (white ? ". " : "... ") + san;
}

bool Fail(TPgnError& error, TPgnError::Kind what, std::string detail) {
    error.What = what;
    error.Detail = std::move(detail);
    return false;
}

} // namespace

TRecordedLine RecordedLine(const TChessGame& game) {
    TRecordedLine line;
    TChessGame board;
    // The line (re)starts in a position: its castling rights are the ones a FEN can carry,
    // since that is where anyone reading the line back starts from.
    // Its move number follows the game's numbering; its half-move clock is the game's where
    // the game's own start or position is, and 0 where the line begins again midway.
    const auto startAt = [&line, &board, &game](const std::string& position, bool white,
                                                CastleSet castling, Square enPassant,
                                                std::int32_t number, std::int32_t clock = 0) {
        line.Start.ResetGame();
        line.Start.SetPosition(position);
        line.Start.SetWhiteToMove(white);
        line.Start.SetCastlingAllowed(PlayableCastling(position, castling));
        line.Start.SetEnPassant(enPassant);
        line.Start.SetMoveCounters(clock, number + game.MoveOffset());
        line.Moves.clear();
        board = line.Start;
    };
    const auto placement = [](const MoveInfo& slot) {
        return std::string(slot.Position.begin(), slot.Position.end());
    };
    const bool firstWhite = !game.StartedWithBlack();
    const MoveInfo& first = game.Slot(1, firstWhite);
    const std::size_t begin = firstWhite ? 0 : 1;
    const std::size_t end =
        static_cast<std::size_t>(game.LastMove() - 1) * 2 + (game.LastWhiteToMove() ? 0 : 1);
    const MoveInfo& shown = game.Slot(game.CurrentMove(), game.WhiteToMove());
    // Nothing recorded, or a placement put on the board from outside (a loaded game) after
    // the last half-move: the line starts, and ends, where the game stands.
    if (end <= begin || !first.Written || !shown.Written || placement(shown) != game.Position()) {
        startAt(game.Position(), game.WhiteToMove(), game.CastlingAllowed(), game.EnPassant(),
                game.CurrentMove(), game.HalfMoveClock());
        return line;
    }
    startAt(placement(first), firstWhite, first.Castling, first.EnPassant, 1, game.StartClock());
    for (std::size_t i = begin; i <= end; ++i) {
        const auto n = static_cast<std::int32_t>(i / 2 + 1);
        const bool white = i % 2 == 0;
        const MoveInfo& slot = game.Slot(n, white);
        // The half-moves so far do not lead to the placement recorded here (it was put on the
        // board from outside, or a right the line's start cannot carry was used): the line
        // that can be read back begins here.
        if (board.Position() != placement(slot))
            startAt(placement(slot), white, slot.Castling, slot.EnPassant, n);
        if (i == end)
            break;
        const MoveInfo& next = game.Slot(static_cast<std::int32_t>((i + 1) / 2 + 1), !white);
        TSanMove move{slot.FromSq, slot.ToSq, 0};
        const char mover = slot.Position[static_cast<std::size_t>(ToInt(slot.FromSq) - 1) % 64];
        if ((mover == 'P' || mover == 'p') && (RankOf(slot.ToSq) == 8 || RankOf(slot.ToSq) == 1)) {
            const char became = next.Position[static_cast<std::size_t>(ToInt(slot.ToSq) - 1) % 64];
            move.Promotion = static_cast<char>(std::toupper(static_cast<unsigned char>(became)));
        }
        // Refused from where the line started (a castling right its start could not carry):
        // from this placement on, the right is one a FEN carries.
        if (!PlaySanMove(board, move)) {
            startAt(placement(slot), white, slot.Castling, slot.EnPassant, n);
            if (!PlaySanMove(board, move)) {
                startAt(placement(next), !white, next.Castling, next.EnPassant, white ? n : n + 1);
                continue;
            }
        }
        line.Moves.push_back(move);
    }
    return line;
}

std::string GameResult(const TChessGame& game) {
    return JudgePosition(game).Score();
}

bool IsStandardStart(const TChessGame& game) {
    return game.Position() == StartPosition && game.WhiteToMove() &&
           game.CastlingAllowed() == AllCastling && game.EnPassant() == Square::None;
}

std::vector<std::string> WritePgn(const TChessGame& game, const TPgnHeader& header) {
    const TRecordedLine line = RecordedLine(game);
    TChessGame board = line.Start;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < line.Moves.size(); ++i) {
        const TSanMove& move = line.Moves[i];
        const std::string san = MoveToSan(board, move);
        if (san.empty() || !PlaySanMove(board, move))
            break; // a line the rules cannot replay ends where they stop
        const std::int32_t number =
            board.MoveOffset() +
            (board.WhiteToMove() ? board.CurrentMove() - 1 : board.CurrentMove());
        if (!board.WhiteToMove())
            words.push_back(std::to_string(number) + ".");
        else if (words.empty())
            words.push_back(std::to_string(number) + "...");
        words.push_back(san);
        if (i < header.Clocks.size() && !header.Clocks[i].empty())
            words.push_back("{[%clk " + header.Clocks[i] + "]}");
    }
    const std::string result = header.Result.empty() ? GameResult(board) : header.Result;
    words.push_back(result);

    std::vector<std::string> lines = {
        "[Event " + Quoted(header.Event) + "]", "[Site " + Quoted(header.Site) + "]",
        "[Date " + Quoted(header.Date) + "]",   "[Round " + Quoted(header.Round) + "]",
        "[White " + Quoted(header.White) + "]", "[Black " + Quoted(header.Black) + "]",
        "[Result " + Quoted(result) + "]"};
    if (!header.Termination.empty())
        lines.push_back("[Termination " + Quoted(header.Termination) + "]");
    if (!header.TimeControl.empty())
        lines.push_back("[TimeControl " + Quoted(header.TimeControl) + "]");
    if (!IsStandardStart(line.Start)) {
        lines.push_back("[SetUp \"1\"]");
        lines.push_back("[FEN " + Quoted(ToPortableFen(line.Start)) + "]");
    }
    lines.emplace_back();
    std::string current;
    for (const std::string& word : words) {
        if (!current.empty() && current.size() + 1 + word.size() > 79) {
            lines.push_back(current);
            current.clear();
        }
        current += (current.empty() ? "" : " ") + word;
    }
    lines.push_back(current);
    return lines;
}

std::string TPgnGame::Tag(std::string_view name) const {
    for (const auto& [key, value] : Tags)
        if (key == name)
            return value;
    return {};
}

std::string TPgnError::Sentence() const {
    switch (What) {
    case Kind::None:
        return {};
    case Kind::Syntax:
        return "The text is no PGN game: " + Detail + ".";
    case Kind::NoGame:
        return "The text holds no PGN game.";
    case Kind::BadFen:
        return "The FEN tag is no valid position: " + Detail + ".";
    case Kind::IllegalMove:
        return "Move " + Detail + " is not legal in this position.";
    case Kind::AmbiguousMove:
        return "Move " + Detail + " is ambiguous in this position.";
    case Kind::TooLong:
        return "The game is longer than any game can be.";
    }
    return {};
}

bool ParsePgn(std::string_view text, TPgnGame& game, TPgnError& error) {
    game = {};
    error = {};
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool inMoves = false; // movetext has begun: a tag now starts the next game
    bool anything = false;
    int depth = 0; // variation nesting
    bool lineStart = true;
    while (i < n) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            lineStart = true;
            ++i;
            continue;
        }
        // A line beginning with "%" is an escape to other programs.
        if (lineStart && c == '%') {
            while (i < n && text[i] != '\n' && text[i] != '\r')
                ++i;
            continue;
        }
        lineStart = false;
        if (IsSpace(c)) {
            ++i;
        } else if (c == '{') {
            const std::size_t close = text.find('}', i);
            if (close == std::string_view::npos)
                return Fail(error, TPgnError::Kind::Syntax, "a comment \"{\" is never closed");
            i = close + 1;
        } else if (c == ';') {
            while (i < n && text[i] != '\n' && text[i] != '\r')
                ++i;
        } else if (c == '[' && depth == 0) {
            if (inMoves)
                break;
            ++i;
            std::string name;
            while (i < n && IsSpace(text[i]))
                ++i;
            while (i < n && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_'))
                name += text[i++];
            while (i < n && IsSpace(text[i]))
                ++i;
            if (name.empty() || i >= n || text[i] != '"')
                return Fail(error, TPgnError::Kind::Syntax, "a tag pair is malformed");
            ++i;
            std::string value;
            // The quote that closes the value is the one the "]" follows; another quote is part
            // of the value, as some programs write them (`[White ""Mephisto""]`).
            const auto closes = [&](std::size_t at) {
                std::size_t k = at + 1;
                while (k < n && (text[k] == ' ' || text[k] == '\t'))
                    ++k;
                return k >= n || text[k] == ']' || text[k] == '\n' || text[k] == '\r';
            };
            while (i < n && (text[i] != '"' || !closes(i))) {
                if (text[i] == '\\' && i + 1 < n)
                    ++i;
                if (text[i] == '\n' || text[i] == '\r')
                    return Fail(error, TPgnError::Kind::Syntax,
                                "the tag " + name + " is not closed");
                value += text[i++];
            }
            ++i;
            while (i < n && IsSpace(text[i]))
                ++i;
            if (i >= n || text[i] != ']')
                return Fail(error, TPgnError::Kind::Syntax, "the tag " + name + " is not closed");
            ++i;
            game.Tags.emplace_back(std::move(name), std::move(value));
            anything = true;
        } else if (c == '(') {
            ++depth;
            ++i;
            inMoves = true;
        } else if (c == ')') {
            if (depth == 0)
                return Fail(error, TPgnError::Kind::Syntax, "a \")\" closes no variation");
            --depth;
            ++i;
        } else if (c == '$') {
            ++i;
            while (i < n && IsDigit(text[i]))
                ++i;
        } else {
            // One symbol: everything up to a space or a character that starts something else.
            std::size_t end = i;
            while (end < n && !IsSpace(text[end]) && !std::strchr("{};()[]$", text[end]) &&
                   text[end] != '\0')
                ++end;
            if (end == i) {
                // A character of its own that starts nothing (a stray "]" or "}", a NUL).
                return Fail(error, TPgnError::Kind::Syntax,
                            std::string("the character \"") + (c ? c : ' ') + "\" is misplaced");
            }
            std::string_view word = text.substr(i, end - i);
            i = end;
            inMoves = true;
            anything = true;
            if (depth > 0)
                continue;
            if (word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*") {
                game.Result = std::string(word);
                break;
            }
            // A move number, "12." or "12...", possibly run together with the move.
            std::size_t k = 0;
            while (k < word.size() && IsDigit(word[k]))
                ++k;
            if (k > 0 && k < word.size() && word[k] == '.') {
                while (k < word.size() && word[k] == '.')
                    ++k;
                word.remove_prefix(k);
            } else if (k == word.size()) {
                continue; // a bare number
            }
            while (!word.empty() && word.front() == '.')
                word.remove_prefix(1);
            if (word.empty() || word == "e.p." ||
                word.find_first_not_of("!?") == std::string_view::npos)
                continue;
            if (game.Moves.size() >= MaxPgnHalfMoves)
                return Fail(error, TPgnError::Kind::TooLong, {});
            game.Moves.emplace_back(word);
        }
    }
    // A variation still open at the end of the text took the rest of the main line with it.
    if (depth > 0)
        return Fail(error, TPgnError::Kind::Syntax, "a variation \"(\" is never closed");
    if (!anything)
        return Fail(error, TPgnError::Kind::NoGame, {});
    return true;
}

bool ReplayPgn(const TPgnGame& pgn, TChessGame& start, std::vector<TSanMove>& moves,
               TPgnError& error) {
    error = {};
    moves.clear();
    const std::string fen = pgn.Tag("FEN");
    if (!fen.empty()) {
        std::string why;
        if (!LoadFen(start, fen, &why))
            return Fail(error, TPgnError::Kind::BadFen, why);
        // A right whose king or rook is not at home cannot be part of a position.
        start.SetCastlingAllowed(PlayableCastling(start.Position(), start.CastlingAllowed()));
        // A king in check with the other side to move, or a pawn on the edge, would play on.
        if (const std::string why = UnreachableReason(start); !why.empty())
            return Fail(error, TPgnError::Kind::BadFen, why);
    } else {
        start.ResetGame();
    }
    TChessGame board = start.Detached();
    for (const std::string& san : pgn.Moves) {
        const bool white = board.WhiteToMove();
        const std::string label = MoveLabel(board.CurrentMove() + board.MoveOffset(), white, san);
        TSanMove move;
        switch (SanToMove(board, san, move)) {
        case TSanResult::Ok:
            break;
        case TSanResult::Ambiguous:
            return Fail(error, TPgnError::Kind::AmbiguousMove, label);
        case TSanResult::Malformed:
        case TSanResult::Illegal:
            return Fail(error, TPgnError::Kind::IllegalMove, label);
        }
        if (!PlaySanMove(board, move))
            return Fail(error, TPgnError::Kind::IllegalMove, label);
        moves.push_back(move);
    }
    return true;
}

bool ReadPgn(std::string_view text, TChessGame& start, std::vector<TSanMove>& moves,
             TPgnError& error) {
    TPgnGame pgn;
    return ParsePgn(text, pgn, error) && ReplayPgn(pgn, start, moves, error);
}
