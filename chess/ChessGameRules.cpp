// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of TChessGame: which half-moves are legal, and whether a king stands attacked.
#include "chess/ChessGame.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

const int DiagonalDirs[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
// Along the rank towards a, towards h, then along the file towards 1, towards 8.
const int StraightDirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
const int KnightJumps[8][2] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                               {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};

char BoardAt(const char* board, int file, int rank) {
    return board[(8 - rank) * 8 + file - 1];
}

} // namespace

// ---------------------------------------------------------------- rules

bool TChessGame::IsLegalMove(Square from, Square to) const {
    if (!IsOnBoard(from) || !IsOnBoard(to))
        return false;
    if (IsThreefold())
        return false;
    return IsLegalIgnoringRepetition(from, to);
}

bool TChessGame::IsLegalIgnoringRepetition(Square from, Square to) const {
    if (!IsOnBoard(from) || !IsOnBoard(to))
        return false;
    const PieceColour mover = ColourAt(from);
    if (mover != (WhiteToMove_ ? PieceColour::White : PieceColour::Black))
        return false;
    if (ColourAt(to) == mover)
        return false;
    bool ok = false;
    switch (std::toupper(static_cast<unsigned char>(At(from)))) {
    case 'P':
        ok = PawnMoveOk(from, to);
        break;
    case 'N':
        ok = KnightMoveOk(from, to);
        break;
    case 'B':
        ok = BishopMoveOk(from, to);
        break;
    case 'R':
        ok = RookMoveOk(from, to);
        break;
    case 'Q':
        ok = QueenMoveOk(from, to);
        break;
    case 'K':
        ok = KingMoveOk(from, to);
        break;
    default:
        break;
    }
    if (!ok)
        return false;
    // The king-safety trial. An en passant capture also removes the pawn it takes, so that a
    // capture which opens a line onto the mover's own king is refused.
    const Square victim = EnPassantVictim(from, to);
    if (victim == Square::None)
        return !KingAttackedAfter(mover, from, to);
    char trial[64];
    std::memcpy(trial, Squares_ + 1, 64);
    trial[ToInt(to) - 1] = trial[ToInt(from) - 1];
    trial[ToInt(from) - 1] = ' ';
    trial[ToInt(victim) - 1] = ' ';
    return !KingAttackedOn(mover, trial);
}

// A pawn's diagonal step onto the empty EnPassant square is an en passant capture only where
// a double step can have been made: the square lies on the mover's sixth rank (the third for
// black) and an enemy pawn stands behind it. Anything else on that square is no capture.
Square TChessGame::EnPassantVictim(Square from, Square to) const {
    if (!IsOnBoard(from) || to != EnPassant_ || At(to) != ' ')
        return Square::None;
    const char pawn = At(from);
    if (pawn != 'P' && pawn != 'p')
        return Square::None;
    const bool white = pawn == 'P';
    if (std::abs(FileOf(to) - FileOf(from)) != 1 || RankOf(from) != (white ? 5 : 4) ||
        RankOf(to) != (white ? 6 : 3))
        return Square::None;
    const Square behind = SquareAt(FileOf(to), RankOf(from));
    return At(behind) == (white ? 'p' : 'P') ? behind : Square::None;
}

bool TChessGame::PawnMoveOk(Square from, Square to) const {
    const int df = std::abs(FileOf(to) - FileOf(from));
    const int rf = RankOf(from);
    const int rt = RankOf(to);
    const bool white = At(from) == 'P';
    const PieceColour enemy = white ? PieceColour::Black : PieceColour::White;
    const bool oneStep = white ? rt == rf + 1 : rf == rt + 1;
    if (oneStep) {
        if (df == 0)
            return At(to) == ' ';
        if (df == 1)
            return ColourAt(to) == enemy || EnPassantVictim(from, to) != Square::None;
        return false;
    }
    const int home = white ? 2 : 7;
    const int target = white ? 4 : 5;
    if (df == 0 && rf == home && rt == target) {
        const Square between = static_cast<Square>((ToInt(from) + ToInt(to)) / 2);
        return At(to) == ' ' && At(between) == ' ';
    }
    return false;
}

bool TChessGame::KnightMoveOk(Square from, Square to) const {
    const int df = std::abs(FileOf(to) - FileOf(from));
    const int dr = std::abs(RankOf(to) - RankOf(from));
    return (df == 2 && dr == 1) || (df == 1 && dr == 2);
}

bool TChessGame::LineWalkHits(Square from, Square to, const int (*dirs)[2], int count) const {
    const PieceColour own = ColourAt(from);
    for (int d = 0; d < count; ++d) {
        for (int step = 1; step <= 7; ++step) {
            const Square s =
                SquareAt(FileOf(from) + dirs[d][0] * step, RankOf(from) + dirs[d][1] * step);
            if (s == Square::None)
                break;
            if (s == to)
                return ColourAt(s) != own;
            if (At(s) != ' ')
                break;
        }
    }
    return false;
}

bool TChessGame::BishopMoveOk(Square from, Square to) const {
    return LineWalkHits(from, to, DiagonalDirs, 4);
}

bool TChessGame::RookMoveOk(Square from, Square to) const {
    return LineWalkHits(from, to, StraightDirs, 4);
}

bool TChessGame::QueenMoveOk(Square from, Square to) const {
    return BishopMoveOk(from, to) || RookMoveOk(from, to);
}

bool TChessGame::KingMoveOk(Square from, Square to) const {
    const int df = std::abs(FileOf(to) - FileOf(from));
    const int dr = std::abs(RankOf(to) - RankOf(from));
    if (df <= 1 && dr <= 1)
        return true;
    struct Castle {
        Square king, dest;
        CanStillCastle right;
        Square corner;
        char rook;
        Square empty[3];
        Square safe[3];
    };
    using S = Square;
    static const Castle castles[4] = {
        {S::E1, S::G1, WhiteKingSide, S::H1, 'R', {S::F1, S::G1, S::None}, {S::E1, S::F1, S::G1}},
        {S::E1, S::C1, WhiteQueenSide, S::A1, 'R', {S::B1, S::C1, S::D1}, {S::E1, S::D1, S::C1}},
        {S::E8, S::G8, BlackKingSide, S::H8, 'r', {S::F8, S::G8, S::None}, {S::E8, S::F8, S::G8}},
        {S::E8, S::C8, BlackQueenSide, S::A8, 'r', {S::B8, S::C8, S::D8}, {S::E8, S::D8, S::C8}},
    };
    for (const Castle& c : castles) {
        if (from != c.king || to != c.dest)
            continue;
        if (!(CastlingAllowed_ & c.right) || At(c.corner) != c.rook)
            return false;
        for (Square e : c.empty)
            if (e != S::None && At(e) != ' ')
                return false;
        const PieceColour colour = ColourAt(from);
        for (Square a : c.safe)
            if (KingAttackedAfter(colour, from, a))
                return false;
        return true;
    }
    return false;
}

bool TChessGame::KingAttackedAfter(PieceColour colour, Square from, Square to) const {
    char trial[64];
    std::memcpy(trial, Squares_ + 1, 64);
    if (IsOnBoard(from) && IsOnBoard(to) && from != to) {
        trial[ToInt(to) - 1] = trial[ToInt(from) - 1];
        trial[ToInt(from) - 1] = ' ';
    }
    return KingAttackedOn(colour, trial);
}

bool TChessGame::KingAttackedOn(PieceColour colour, const char* board) {
    const bool white = colour == PieceColour::White;
    const char king = white ? 'K' : 'k';
    int k = -1;
    for (int i = 0; i < 64; ++i)
        if (board[i] == king) {
            k = i;
            break;
        }
    if (k < 0)
        return true;
    const int file = k % 8 + 1;
    const int rank = 8 - k / 8;
    const char ePawn = white ? 'p' : 'P';
    const char eKnight = white ? 'n' : 'N';
    const char eBishop = white ? 'b' : 'B';
    const char eRook = white ? 'r' : 'R';
    const char eQueen = white ? 'q' : 'Q';
    const char eKing = white ? 'k' : 'K';
    auto inside = [](int f, int r) { return f >= 1 && f <= 8 && r >= 1 && r <= 8; };

    const int pawnRank = white ? rank + 1 : rank - 1;
    for (int df : {-1, 1})
        if (inside(file + df, pawnRank) && BoardAt(board, file + df, pawnRank) == ePawn)
            return true;
    for (const auto& j : KnightJumps)
        if (inside(file + j[0], rank + j[1]) && BoardAt(board, file + j[0], rank + j[1]) == eKnight)
            return true;
    auto rayHits = [&](const int(*dirs)[2], char slider) {
        for (int d = 0; d < 4; ++d) {
            for (int step = 1; step <= 7; ++step) {
                const int f = file + dirs[d][0] * step;
                const int r = rank + dirs[d][1] * step;
                if (!inside(f, r))
                    break;
                const char c = BoardAt(board, f, r);
                if (c == ' ')
                    continue;
                if (c == slider || c == eQueen || (c == eKing && step == 1))
                    return true;
                break;
            }
        }
        return false;
    };
    return rayHits(DiagonalDirs, eBishop) || rayHits(StraightDirs, eRook);
}

bool TChessGame::CanMove() const {
    const PieceColour side = WhiteToMove_ ? PieceColour::White : PieceColour::Black;
    for (int s = 1; s <= 64; ++s) {
        if (ColourOfLetter(Squares_[s]) != side)
            continue;
        for (int t = 1; t <= 64; ++t)
            if (IsLegalIgnoringRepetition(static_cast<Square>(s), static_cast<Square>(t)))
                return true;
    }
    return false;
}

std::vector<std::pair<Square, Square>> TChessGame::LegalMoves() const {
    std::vector<std::pair<Square, Square>> moves;
    if (IsThreefold())
        return moves;
    for (int s = 1; s <= 64; ++s) {
        if (Squares_[s] == ' ')
            continue;
        for (int t = 1; t <= 64; ++t)
            if (IsLegalIgnoringRepetition(static_cast<Square>(s), static_cast<Square>(t)))
                moves.emplace_back(static_cast<Square>(s), static_cast<Square>(t));
    }
    return moves;
}
