// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/Fen.h"

#include <sstream>
#include <vector>

std::string PlacementFromFen(const std::string& placement) {
    std::string board;
    int rank = 0;
    int filled = 0;
    for (char c : placement) {
        if (c == '/') {
            if (filled != 8)
                return {};
            ++rank;
            filled = 0;
        } else if (c >= '1' && c <= '8') {
            filled += c - '0';
            board.append(static_cast<std::size_t>(c - '0'), ' ');
        } else if (IsPieceLetter(c)) {
            ++filled;
            board.push_back(c);
        } else {
            return {};
        }
        if (filled > 8)
            return {};
    }
    if (rank != 7 || filled != 8 || board.size() != 64)
        return {};
    return board;
}

bool LoadFen(TChessGame& game, const std::string& fen, std::string* error) {
    auto fail = [error](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    std::istringstream in(fen);
    std::vector<std::string> fields;
    for (std::string f; in >> f;)
        fields.push_back(f);
    if (fields.size() < 2 || fields.size() > 6)
        return fail("a FEN needs 2 to 6 fields, got " + std::to_string(fields.size()));
    const std::string board = PlacementFromFen(fields[0]);
    if (board.empty())
        return fail("bad placement field '" + fields[0] + "'");
    if (fields[1] != "w" && fields[1] != "b")
        return fail("bad side to move '" + fields[1] + "'");
    CastleSet castling = 0;
    const std::string castle = fields.size() > 2 ? fields[2] : "-";
    if (castle != "-") {
        for (char c : castle) {
            const CastleSet bit = c == 'K'   ? WhiteKingSide
                                  : c == 'Q' ? WhiteQueenSide
                                  : c == 'k' ? BlackKingSide
                                  : c == 'q' ? BlackQueenSide
                                             : 0;
            if (bit == 0 || (castling & bit))
                return fail("bad castling field '" + castle + "'");
            castling |= bit;
        }
    }
    Square ep = Square::None;
    const std::string epText = fields.size() > 3 ? fields[3] : "-";
    if (epText != "-") {
        ep = ParseSquare(epText);
        if (ep == Square::None || (RankOf(ep) != 3 && RankOf(ep) != 6))
            return fail("bad en passant field '" + epText + "'");
    }
    for (std::size_t i = 4; i < fields.size(); ++i)
        for (char c : fields[i])
            if (c < '0' || c > '9')
                return fail("bad move counter '" + fields[i] + "'");

    game.ResetGame();
    game.SetPosition(board);
    game.SetWhiteToMove(fields[1] == "w");
    game.SetCastlingAllowed(castling);
    game.SetEnPassant(ep);
    const auto counter = [&fields](std::size_t i, std::int32_t fallback) {
        if (fields.size() <= i || fields[i].size() > 6)
            return fallback; // missing, or beyond any game: the usual start
        return static_cast<std::int32_t>(std::stoi(fields[i]));
    };
    game.SetMoveCounters(counter(4, 0), counter(5, 1));
    return true;
}

namespace {

std::string FenText(const TChessGame& game, CastleSet c) {
    std::string out;
    const std::string pos = game.Position();
    for (int r = 0; r < 8; ++r) {
        int empty = 0;
        for (int c = 0; c < 8; ++c) {
            const char ch = pos[static_cast<std::size_t>(r * 8 + c)];
            if (ch == ' ') {
                ++empty;
                continue;
            }
            if (empty)
                out += std::to_string(empty);
            empty = 0;
            out += ch;
        }
        if (empty)
            out += std::to_string(empty);
        if (r < 7)
            out += '/';
    }
    out += game.WhiteToMove() ? " w " : " b ";
    std::string castle;
    if (c & WhiteKingSide)
        castle += 'K';
    if (c & WhiteQueenSide)
        castle += 'Q';
    if (c & BlackKingSide)
        castle += 'k';
    if (c & BlackQueenSide)
        castle += 'q';
    out += castle.empty() ? "-" : castle;
    out += ' ';
    const std::string ep = SquareName(game.EnPassant());
    if (ep.empty()) {
        out += '-';
    } else {
        out += static_cast<char>(ep[0] - 'A' + 'a');
        out += ep[1];
    }
    out += ' ' + std::to_string(game.HalfMoveClock()) + ' ' +
           std::to_string(game.CurrentMove() + game.MoveOffset());
    return out;
}

} // namespace

std::string ToFen(const TChessGame& game) {
    return FenText(game, game.CastlingAllowed());
}

CastleSet PlayableCastling(const std::string& position, CastleSet rights) {
    const auto at = [&position](Square s) {
        const auto i = static_cast<std::size_t>(ToInt(s) - 1);
        return i < position.size() ? position[i] : ' ';
    };
    CastleSet kept = 0;
    if (at(Square::E1) == 'K' && at(Square::H1) == 'R')
        kept |= rights & WhiteKingSide;
    if (at(Square::E1) == 'K' && at(Square::A1) == 'R')
        kept |= rights & WhiteQueenSide;
    if (at(Square::E8) == 'k' && at(Square::H8) == 'r')
        kept |= rights & BlackKingSide;
    if (at(Square::E8) == 'k' && at(Square::A8) == 'r')
        kept |= rights & BlackQueenSide;
    return kept;
}

bool WaitingKingInCheck(const TChessGame& game) {
    const bool white = !game.WhiteToMove();
    if (game.Position().find(white ? 'K' : 'k') == std::string::npos)
        return false;
    // With from = to the trial position is the position itself.
    return game.KingAttackedAfter(white ? PieceColour::White : PieceColour::Black, Square::A8,
                                  Square::A8);
}

std::string UnreachableReason(const TChessGame& game) {
    if (WaitingKingInCheck(game))
        return "the side not to move is in check";
    const std::string position = game.Position();
    for (int i = 0; i < 64; ++i) {
        const Square s = ToSquare(i + 1);
        const char c = position[static_cast<std::size_t>(i)];
        if ((c == 'P' || c == 'p') && (RankOf(s) == 1 || RankOf(s) == 8)) {
            std::string name = SquareName(s);
            name[0] = static_cast<char>(name[0] - 'A' + 'a');
            return "a pawn stands on " + name + ", and no pawn can stand on the first or last rank";
        }
    }
    return {};
}

std::string ToPortableFen(const TChessGame& game) {
    return FenText(game, PlayableCastling(game.Position(), game.CastlingAllowed()));
}
