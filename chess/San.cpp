// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/San.h"

#include <cctype>

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string LowerSquare(Square s) {
    std::string name = SquareName(s);
    if (!name.empty())
        name[0] = Lower(name[0]);
    return name;
}

// The letter of a piece of the side to move: upper case for white.
char SideLetter(const TChessGame& game, char piece) {
    return game.WhiteToMove() ? Upper(piece) : Lower(piece);
}

bool IsPromotionPiece(char c) {
    return c == 'Q' || c == 'R' || c == 'B' || c == 'N';
}

bool PawnReachesLastRank(const TChessGame& game, Square from, Square to) {
    return Upper(game.At(from)) == 'P' && (RankOf(to) == 8 || RankOf(to) == 1);
}

bool IsCastling(const TChessGame& game, Square from, Square to) {
    return Upper(game.At(from)) == 'K' && FileOf(from) == 5 &&
           (FileOf(to) - FileOf(from) == 2 || FileOf(from) - FileOf(to) == 2);
}

// After the half-move on a copy of the position: "+" for check, "#" for mate, "" otherwise.
// The copy leaves the history behind: neither answer depends on it, and copying it for every
// half-move written would make writing a long game quadratic.
std::string CheckSuffix(const TChessGame& game, const TSanMove& move) {
    TChessGame after;
    after.SetPosition(game.Position());
    after.SetWhiteToMove(game.WhiteToMove());
    after.SetCastlingAllowed(game.CastlingAllowed());
    after.SetEnPassant(game.EnPassant());
    if (!PlaySanMove(after, move))
        return {};
    const PieceColour side = after.WhiteToMove() ? PieceColour::White : PieceColour::Black;
    // With from = to the trial position is the position itself.
    if (!after.KingAttackedAfter(side, Square::A8, Square::A8))
        return {};
    return after.CanMove() ? "+" : "#";
}

} // namespace

std::string MoveToSan(const TChessGame& game, const TSanMove& given) {
    if (!game.IsLegalMove(given.From, given.To))
        return {};
    TSanMove move = given;
    const bool promotes = PawnReachesLastRank(game, move.From, move.To);
    move.Promotion =
        promotes ? (IsPromotionPiece(Upper(move.Promotion)) ? Upper(move.Promotion) : 'Q') : 0;
    std::string san;
    const char piece = Upper(game.At(move.From));
    const bool capture =
        game.At(move.To) != ' ' || (piece == 'P' && FileOf(move.From) != FileOf(move.To));
    if (IsCastling(game, move.From, move.To)) {
        san = FileOf(move.To) == 7 ? "O-O" : "O-O-O";
    } else if (piece == 'P') {
        if (capture) {
            san += LowerSquare(move.From)[0];
            san += 'x';
        }
        san += LowerSquare(move.To);
        if (promotes) {
            san += '=';
            san += move.Promotion;
        }
    } else {
        san += piece;
        // Other pieces of the same kind that could go to the same square.
        bool rival = false, sameFile = false, sameRank = false;
        for (int i = 1; i <= 64; ++i) {
            const Square s = static_cast<Square>(i);
            if (s == move.From || game.At(s) != game.At(move.From) || !game.IsLegalMove(s, move.To))
                continue;
            rival = true;
            sameFile = sameFile || FileOf(s) == FileOf(move.From);
            sameRank = sameRank || RankOf(s) == RankOf(move.From);
        }
        const std::string from = LowerSquare(move.From);
        if (rival && !sameFile)
            san += from[0];
        else if (rival && !sameRank)
            san += from[1];
        else if (rival)
            san += from;
        if (capture)
            san += 'x';
        san += LowerSquare(move.To);
    }
    return san + CheckSuffix(game, move);
}

TSanResult SanToMove(const TChessGame& game, std::string_view san, TSanMove& move) {
    const auto dropMarks = [&san] {
        while (!san.empty() &&
               (san.back() == '+' || san.back() == '#' || san.back() == '!' || san.back() == '?'))
            san.remove_suffix(1);
    };
    dropMarks();
    // An en-passant capture may carry "e.p." run together with it ("exd6e.p.").
    if (san.size() > 4 && san.ends_with("e.p.")) {
        san.remove_suffix(4);
        dropMarks();
    }
    if (san.empty() || san.size() > 12)
        return TSanResult::Malformed;

    const bool white = game.WhiteToMove();
    if (san == "O-O" || san == "0-0" || san == "O-O-O" || san == "0-0-0") {
        const int rank = white ? 1 : 8;
        const Square from = SquareAt(5, rank);
        const Square to = SquareAt(san.size() == 3 ? 7 : 3, rank);
        if (game.At(from) != SideLetter(game, 'K') || !game.IsLegalMove(from, to))
            return TSanResult::Illegal;
        move = {from, to, 0};
        return TSanResult::Ok;
    }

    char piece = 'P';
    const bool pieceNamed = std::string_view("NBRQK").find(san.front()) != std::string_view::npos;
    if (pieceNamed) {
        piece = san.front();
        san.remove_prefix(1);
    }
    char promotion = 0;
    if (piece == 'P' && !san.empty() && IsPromotionPiece(Upper(san.back()))) {
        promotion = Upper(san.back());
        san.remove_suffix(1);
        if (!san.empty() && san.back() == '=')
            san.remove_suffix(1);
    }
    if (san.size() < 2)
        return TSanResult::Malformed;
    const Square to = ParseSquare(std::string(san.substr(san.size() - 2)));
    if (to == Square::None || std::isupper(static_cast<unsigned char>(san[san.size() - 2])))
        return TSanResult::Malformed;
    san.remove_suffix(2);
    if (!san.empty() && (san.back() == 'x' || san.back() == ':'))
        san.remove_suffix(1);
    int fromFile = 0, fromRank = 0;
    for (std::size_t i = 0; i < san.size(); ++i) {
        const char c = san[i];
        if (c >= 'a' && c <= 'h' && fromFile == 0 && fromRank == 0)
            fromFile = c - 'a' + 1;
        else if (c >= '1' && c <= '8' && fromRank == 0)
            fromRank = c - '0';
        else if (c != '-' || i + 1 != san.size()) // "e2-e4": long algebraic with its dash
            return TSanResult::Malformed;
    }

    // Coordinate notation ("g1f3", "e1g1") names the square the piece comes from, not the
    // piece: the piece standing there moves.
    const bool fromSquare = fromFile != 0 && fromRank != 0;
    if (fromSquare && !pieceNamed) {
        const char there = game.At(SquareAt(fromFile, fromRank));
        if (there != ' ' && there == SideLetter(game, Upper(there)))
            piece = Upper(there);
        if (piece != 'P' && promotion != 0)
            return TSanResult::Malformed;
    }

    int found = 0;
    TSanMove fit;
    const char letter = SideLetter(game, piece);
    for (int i = 1; i <= 64; ++i) {
        const Square s = static_cast<Square>(i);
        if (game.At(s) != letter || (fromFile && FileOf(s) != fromFile) ||
            (fromRank && RankOf(s) != fromRank) || !game.IsLegalMove(s, to))
            continue;
        // A pawn changes file only by capturing, which SAN writes with the file it came from.
        if (piece == 'P' && FileOf(s) != FileOf(to) && fromFile == 0)
            continue;
        // Castling is written O-O or O-O-O; as a two-square king move only with the king's
        // square spelt out ("e1g1", "Ke1-g1").
        if (piece == 'K' && IsCastling(game, s, to) && !fromSquare)
            continue;
        ++found;
        fit = {s, to, 0};
    }
    if (found == 0)
        return TSanResult::Illegal;
    if (found > 1)
        return TSanResult::Ambiguous;
    const bool promotes = PawnReachesLastRank(game, fit.From, fit.To);
    if (promotes != (promotion != 0))
        return TSanResult::Illegal;
    fit.Promotion = promotion;
    move = fit;
    return TSanResult::Ok;
}

bool PlaySanMove(TChessGame& game, const TSanMove& move) {
    const char kept = game.PromotionPiece();
    if (move.Promotion)
        game.SetPromotionPiece(Lower(move.Promotion));
    const bool played = game.MakeMove(move.From, move.To);
    game.SetPromotionPiece(kept);
    return played;
}
