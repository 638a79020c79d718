// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineBoard.h"

#include "engine/EngineTables.h"

#include "chess/Square.h"

#include <bit>
#include <cstring>

using namespace EngineTables;

TEngineBoard::TEngineBoard() {
    for (int s = 0; s < 64; ++s) {
        SquareColour[s] = ColourEmpty;
        SquarePiece[s] = PieceEmpty;
    }
    std::memset(SquareValue, 0, sizeof SquareValue);
    std::memset(CheckCache, -1, sizeof CheckCache);
    for (std::uint64_t& answers : AnswerCache)
        answers = AllSquares;
    RecountValues();
    std::memset(MoveList, 0, sizeof MoveList);
    std::memset(MoveScore, 0, sizeof MoveScore);
    std::memset(PlyFirst, 0, sizeof PlyFirst);
    std::memset(PlyEnd, 0, sizeof PlyEnd);
    std::memset(UndoStack, 0, sizeof UndoStack);
    ClearHistory();
}

void TEngineBoard::ClearHistory() {
    std::memset(HistoryScore, 0, sizeof HistoryScore);
    HistoryHigh = 0;
    std::memset(HistoryTargets, 0, sizeof HistoryTargets);
}

namespace {

// The engine's colour of a piece letter, by the rules' reading of the letter.
int EngineColourOfLetter(char c) {
    switch (ColourOfLetter(c)) {
    case PieceColour::White:
        return ColourWhite;
    case PieceColour::Black:
        return ColourBlack;
    default:
        return ColourEmpty;
    }
}

int PieceOfLetter(char c) {
    switch (c | 0x20) {
    case 'p':
        return PiecePawn;
    case 'n':
        return PieceKnight;
    case 'b':
        return PieceBishop;
    case 'r':
        return PieceRook;
    case 'q':
        return PieceQueen;
    case 'k':
        return PieceKing;
    default:
        return PieceEmpty;
    }
}

} // namespace

int TEngineBoard::FindKing(int colour) const {
    for (int s = 0; s < 64; ++s)
        if (SquareColour[s] == colour && SquarePiece[s] == PieceKing)
            return s;
    return -1;
}

void TEngineBoard::RecountValues() {
    std::memset(Occupied, 0, sizeof Occupied);
    std::memset(Pieces, 0, sizeof Pieces);
    Tally = TTally{};
    Tally.KingSquare[0] = Tally.KingSquare[1] = -1;
    for (int s = 0; s < 64; ++s)
        if (SquareColour[s] != ColourEmpty)
            PlacePiece(s, SquareColour[s], SquarePiece[s]);
    for (int colour : {ColourWhite, ColourBlack})
        Tally.KingSquare[colour] = FindKing(colour);
}

void TEngineBoard::LoadPosition(const TEnginePosition& position) {
    for (int s = 0; s < 64; ++s) {
        const char c = s < static_cast<int>(position.Position.size()) ? position.Position[s] : ' ';
        SquareColour[s] = EngineColourOfLetter(c);
        SquarePiece[s] = SquareColour[s] == ColourEmpty ? PieceEmpty : PieceOfLetter(c);
    }
    RecountValues();
    ActiveSide = position.WhiteToMove ? ColourWhite : ColourBlack;
    OtherSide = 1 - ActiveSide;

    // A castling right is kept only when its king and rook stand on their home squares;
    // otherwise a castling would move a rook that is not there.
    auto stands = [this](int s, int colour, int piece) {
        return SquareColour[s] == colour && SquarePiece[s] == piece;
    };
    CastleRights = position.CastlingAllowed & CastleAll;
    if (!stands(SquareE1, ColourWhite, PieceKing) || !stands(SquareH1, ColourWhite, PieceRook))
        CastleRights &= ~CastleWhiteKingSide;
    if (!stands(SquareE1, ColourWhite, PieceKing) || !stands(SquareA1, ColourWhite, PieceRook))
        CastleRights &= ~CastleWhiteQueenSide;
    if (!stands(SquareE8, ColourBlack, PieceKing) || !stands(SquareH8, ColourBlack, PieceRook))
        CastleRights &= ~CastleBlackKingSide;
    if (!stands(SquareE8, ColourBlack, PieceKing) || !stands(SquareA8, ColourBlack, PieceRook))
        CastleRights &= ~CastleBlackQueenSide;

    // The en passant square is kept only when it lies on the rank a double step passes,
    // is empty and has the opponent's pawn beyond it: taking back the capture puts a pawn
    // back there.
    EpSquare = position.EnPassant >= 1 && position.EnPassant <= 64 ? position.EnPassant - 1 : -1;
    if (EpSquare >= 0) {
        const bool white = ActiveSide == ColourWhite;
        const int row = EpSquare / 8;
        const int pawnSquare = white ? EpSquare + 8 : EpSquare - 8;
        if (row != (white ? 2 : 5) || SquareColour[EpSquare] != ColourEmpty ||
            !stands(pawnSquare, OtherSide, PiecePawn))
            EpSquare = -1;
    }
    Ply = 0;
    PlyFirst[0] = 0;
    PlyEnd[0] = 0;
    CheckCache[0] = -1;
    AnswerCache[0] = AllSquares;
}

namespace {

// The king's and the rook's squares of the four castlings, by the king's destination.
struct TCastling {
    int KingTo;
    int Empty[3];
    int EmptyCount;
    int Safe[2];
    int RookFrom;
    int RookTo;
};
// The king's passage square is the rook's destination; the queen side also needs the
// b-file square empty, which may be attacked.
constexpr TCastling Castlings[4] = {
    {SquareG1, {SquareF1, SquareG1, 0}, 2, {SquareF1, SquareG1}, SquareH1, SquareF1},
    {SquareC1, {SquareB1, SquareC1, SquareD1}, 3, {SquareC1, SquareD1}, SquareA1, SquareD1},
    {SquareG8, {SquareF8, SquareG8, 0}, 2, {SquareF8, SquareG8}, SquareH8, SquareF8},
    {SquareC8, {SquareB8, SquareC8, SquareD8}, 3, {SquareC8, SquareD8}, SquareA8, SquareD8},
};

const TCastling* CastlingTo(int kingTo) {
    for (const TCastling& c : Castlings)
        if (c.KingTo == kingTo)
            return &c;
    return nullptr;
}

} // namespace

bool TEngineBoard::MoveCastlingRook(int kingTo) {
    const TCastling* c = CastlingTo(kingTo);
    if (c == nullptr || ActiveInCheck())
        return false;
    for (int i = 0; i < c->EmptyCount; ++i)
        if (SquareColour[c->Empty[i]] != ColourEmpty)
            return false;
    for (int s : c->Safe)
        if (SquareAttacked(s, OtherSide))
            return false;
    // The rook takes the colour of its rank.
    if (SquareColour[c->RookFrom] != ColourEmpty)
        RemovePiece(c->RookFrom);
    PlacePiece(c->RookTo, c->RookTo >= SquareA1 ? ColourWhite : ColourBlack, PieceRook);
    return true;
}

bool TEngineBoard::MakeEngineMove(EngineMove move) {
    // The last ply's record is never filled: a position there has no room for its moves.
    if (Ply >= MaxPly - 1)
        return false;
    const int from = MoveFrom(move);
    const int to = MoveTo(move);
    const int flags = MoveFlags(move);
    if ((flags & FlagCastle) && !MoveCastlingRook(to))
        return false;
    const int mover = ActiveSide;
    const bool moverWasInCheck = ActiveInCheck();
    const bool kingMoves = SquarePiece[from] == PieceKing;
    const bool answerTested =
        moverWasInCheck && !kingMoves && !(flags & FlagEnPassant) && Tally.KingCount[mover] == 1;
    if (answerTested && !AnswersEveryCheck(to))
        return false; // as LeavesCheck tells
    PlayMove(move);
    // A king that was not attacked before can only be reached now over the emptied
    // from-square, unless the king itself moved or en passant emptied a second square.
    const bool attacked =
        (answerTested ||
         !(kingMoves || moverWasInCheck || (flags & FlagEnPassant) || Tally.KingCount[mover] != 1))
            ? AttackedThrough(Tally.KingSquare[mover], from)
            : SideInCheck(mover);
    if (attacked) {
        TakeBackMove();
        return false;
    }
    return true;
}

std::uint64_t TEngineBoard::AttackersOf(int square, int byColour) const {
    const TSquareMasks& masks = SquareMasks[square];
    const std::uint64_t* pieces = Pieces[byColour];
    std::uint64_t attackers = (masks.Knight & pieces[PieceKnight]) |
                              (masks.King & pieces[PieceKing]) |
                              (masks.PawnFrom[byColour] & pieces[PiecePawn]);
    const std::uint64_t occupied = Occupied[ColourWhite] | Occupied[ColourBlack];
    const std::uint64_t diagonal = pieces[PieceBishop] | pieces[PieceQueen];
    const std::uint64_t straight = pieces[PieceRook] | pieces[PieceQueen];
    if (masks.Diagonal & diagonal)
        attackers |= DiagonalReach(square, occupied) & diagonal;
    if (masks.Straight & straight)
        attackers |= StraightReach(square, occupied) & straight;
    return attackers;
}

std::uint64_t TEngineBoard::CheckAnswers() const {
    const int king = Tally.KingSquare[ActiveSide];
    const std::uint64_t checkers = AttackersOf(king, OtherSide);
    if (checkers == 0 || (checkers & (checkers - 1)) != 0)
        return 0;
    // A slider further away than one step can be blocked as well.
    const int c = std::countr_zero(checkers);
    const int d = RayTowards[king][c];
    return d >= 0 ? checkers | (SquareMasks[king].Ray[d] & ~SquareMasks[c].Ray[d]) : checkers;
}

bool TEngineBoard::AttackedThrough(int king, int from) const {
    const int d = RayTowards[king][from];
    const std::uint64_t nearest =
        NearestOnRay(king, d, Occupied[ColourWhite] | Occupied[ColourBlack]);
    return (nearest & SlidersAlong(Pieces[1 - SquareColour[king]], d)) != 0;
}

void TEngineBoard::TakeBackSecondPiece(int flags, int to) {
    if (flags & FlagCastle) {
        const TCastling* c = CastlingTo(to);
        RemovePiece(c->RookTo);
        PlacePiece(c->RookFrom, ActiveSide, PieceRook);
    }
    if (flags & FlagEnPassant)
        PlacePiece(ActiveSide == ColourWhite ? to + 8 : to - 8, OtherSide, PiecePawn);
}

bool TEngineBoard::CheckByLastMove() const {
    // Two plies up, the side to move made a move that left its king unattacked; so now
    // its king can only be attacked by the piece that just moved or over the square it
    // left. A castling or an en passant capture moves or removes a second piece; with two
    // kings, only the first was looked at then, and taking it leaves the other.
    if (Ply < 2 || Tally.KingCount[ActiveSide] != 1 || UndoStack[Ply - 1].Captured == PieceKing)
        return SideInCheck(ActiveSide);
    const EngineMove last = UndoStack[Ply - 1].Move;
    if (MoveFlags(last) & (FlagCastle | FlagEnPassant))
        return SideInCheck(ActiveSide);
    const int king = Tally.KingSquare[ActiveSide];
    const int to = MoveTo(last);
    return PieceReaches(SquarePiece[to], OtherSide, to, king,
                        Occupied[ColourWhite] | Occupied[ColourBlack]) ||
           AttackedThrough(king, MoveFrom(last));
}

bool TEngineBoard::PieceReaches(int piece, int colour, int from, int target,
                                std::uint64_t occupied) const {
    const TReachFrom& reach = ReachFrom[colour][piece][target];
    const std::uint64_t fromBit = std::uint64_t{1} << from;
    if (reach.Steps & fromBit)
        return true;
    return (reach.Lines & fromBit) &&
           FirstOnRay(target, RayTowards[target][from], occupied) == from;
}

bool TEngineBoard::SideInCheck(int colour) const {
    // The first king from a8 on counts; with one king its square is kept up to date.
    const int king = Tally.KingCount[colour] == 1 ? Tally.KingSquare[colour] : FindKing(colour);
    return king >= 0 && SquareAttacked(king, 1 - colour);
}

// Looks outward from the square: the pieces that could reach it stand at the far end of
// the same steps and rays, so only the nearest piece on each ray matters.
bool TEngineBoard::SquareAttacked(int square, int byColour) const {
    const TSquareMasks& masks = SquareMasks[square];
    const std::uint64_t* pieces = Pieces[byColour];
    if ((masks.Knight & pieces[PieceKnight]) | (masks.King & pieces[PieceKing]) |
        (masks.PawnFrom[byColour] & pieces[PiecePawn]))
        return true;
    const std::uint64_t occupied = Occupied[ColourWhite] | Occupied[ColourBlack];
    const std::uint64_t diagonal = pieces[PieceBishop] | pieces[PieceQueen];
    if ((masks.Diagonal & diagonal) && (DiagonalReach(square, occupied) & diagonal))
        return true;
    const std::uint64_t straight = pieces[PieceRook] | pieces[PieceQueen];
    return (masks.Straight & straight) && (StraightReach(square, occupied) & straight);
}

std::uint64_t TEngineBoard::Perft(int depth) {
    if (depth <= 0 || Ply >= MaxPly - 1)
        return 1;
    if (depth == 1)
        return LegalMoveCount();
    GenerateMoves();
    std::uint64_t leaves = 0;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        if (!MakeEngineMove(MoveList[i]))
            continue;
        leaves += Perft(depth - 1);
        TakeBackMove();
    }
    return leaves;
}

int TEngineBoard::LegalMoveCount() {
    GenerateMoves();
    const int mover = ActiveSide;
    const int king = Tally.KingSquare[mover];
    const bool inCheck = ActiveInCheck();
    const std::uint64_t occupied = Occupied[ColourWhite] | Occupied[ColourBlack];
    int count = 0;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        const EngineMove move = MoveList[i];
        const int from = MoveFrom(move);
        const int to = MoveTo(move);
        // Castling and en passant move or remove a second piece, and a board without exactly
        // one king has no king square: these are made and taken back.
        if (Tally.KingCount[mover] != 1 || (MoveFlags(move) & (FlagCastle | FlagEnPassant))) {
            if (MakeEngineMove(move)) {
                ++count;
                TakeBackMove();
            }
            continue;
        }
        // A king's step: its destination must be safe with the king gone from its square,
        // which no longer shields the squares behind it from a slider.
        if (from == king) {
            const std::uint64_t kingBit = std::uint64_t{1} << king;
            Occupied[mover] ^= kingBit;
            const bool attacked = SquareAttacked(to, OtherSide);
            Occupied[mover] ^= kingBit;
            count += attacked ? 0 : 1;
            continue;
        }
        // In check, the move has to take or block every checker.
        if (inCheck && !AnswersEveryCheck(to))
            continue;
        // Otherwise only a slider behind the from-square, seen from the king, can reach the
        // king once the piece has left (unless it lands on the same line in front of it).
        if (!PinnedAway(king, from, to, occupied))
            ++count;
    }
    return count;
}
