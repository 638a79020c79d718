#include "EngineBoard.h"

#include "EngineTables.h"

#include <cstring>

using namespace EngineTables;

TEngineBoard::TEngineBoard() {
    for (int s = 0; s < 64; ++s)
        EmptySquare(s);
    std::memset(MoveStack, 0, sizeof MoveStack);
    std::memset(PlyFirst, 0, sizeof PlyFirst);
    std::memset(PlyEnd, 0, sizeof PlyEnd);
    std::memset(UndoStack, 0, sizeof UndoStack);
    std::memset(HistoryScore, 0, sizeof HistoryScore);
}

namespace {

int ColourOfLetter(char c) {
    switch (c) {
    case 'P': case 'N': case 'B': case 'R': case 'Q': case 'K':
        return ColourWhite;
    case 'p': case 'n': case 'b': case 'r': case 'q': case 'k':
        return ColourBlack;
    default:
        return ColourEmpty;
    }
}

int PieceOfLetter(char c) {
    switch (c | 0x20) {
    case 'p': return PiecePawn;
    case 'n': return PieceKnight;
    case 'b': return PieceBishop;
    case 'r': return PieceRook;
    case 'q': return PieceQueen;
    case 'k': return PieceKing;
    default: return PieceEmpty;
    }
}

} // namespace

void TEngineBoard::LoadPosition(const TEnginePosition& position) {
    for (int s = 0; s < 64; ++s) {
        const char c = s < static_cast<int>(position.Position.size()) ? position.Position[s] : ' ';
        const int colour = ColourOfLetter(c);
        if (colour == ColourEmpty)
            EmptySquare(s);
        else
            PutPiece(s, colour, PieceOfLetter(c));
    }
    ActiveSide = position.WhiteToMove ? ColourWhite : ColourBlack;
    OtherSide = 1 - ActiveSide;

    // A castling right is kept only when its king and rook stand on their home squares;
    // otherwise a castling would move a rook that is not there.
    auto stands = [this](int s, int colour, int piece) {
        return SquareColour[s] == colour && SquarePiece[s] == piece;
    };
    CastleRights = position.CastlingAllowed & 15;
    if (!stands(60, ColourWhite, PieceKing) || !stands(63, ColourWhite, PieceRook))
        CastleRights &= ~1;
    if (!stands(60, ColourWhite, PieceKing) || !stands(56, ColourWhite, PieceRook))
        CastleRights &= ~2;
    if (!stands(4, ColourBlack, PieceKing) || !stands(7, ColourBlack, PieceRook))
        CastleRights &= ~4;
    if (!stands(4, ColourBlack, PieceKing) || !stands(0, ColourBlack, PieceRook))
        CastleRights &= ~8;

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
}

void TEngineBoard::AddMove(int from, int to, int flags) {
    if ((flags & FlagPawnMove) && (ActiveSide == ColourWhite ? to < 8 : to >= 56)) {
        AddPromotions(from, to, flags);
        return;
    }
    if (PlyEnd[Ply] >= MoveStackSize)
        return;
    const int score = (flags & FlagCapture)
                          ? 1000000 + 10 * SquarePiece[to] - SquarePiece[from]
                          : HistoryScore[from][to];
    MoveStack[PlyEnd[Ply]++] = {PackMove(from, to, 0, flags), score};
}

void TEngineBoard::AddPromotions(int from, int to, int flags) {
    for (int code = PieceKnight; code <= PieceQueen; ++code) {
        if (PlyEnd[Ply] >= MoveStackSize)
            return;
        MoveStack[PlyEnd[Ply]++] = {PackMove(from, to, code, flags | FlagPromotion),
                                    1000000 + 10 * code};
    }
}

// Pawns walk towards the opponent's side: white to lower squares, black to higher ones.
// A pawn already on its promotion rank has no square ahead and generates nothing.
void TEngineBoard::GeneratePawn(int s, bool capturesOnly) {
    const int file = s % 8;
    if (ActiveSide == ColourWhite) {
        if (s < 8)
            return;
        if (file != 0 && SquareColour[s - 9] == ColourBlack)
            AddMove(s, s - 9, FlagPawnMove | FlagCapture);
        if (file != 7 && SquareColour[s - 7] == ColourBlack)
            AddMove(s, s - 7, FlagPawnMove | FlagCapture);
        if (SquareColour[s - 8] == ColourEmpty) {
            if (!capturesOnly || s <= 15)
                AddMove(s, s - 8, FlagPawnMove);
            if (!capturesOnly && s >= 48 && SquareColour[s - 16] == ColourEmpty)
                AddMove(s, s - 16, FlagPawnMove | FlagDoubleStep);
        }
    } else {
        if (s >= 56)
            return;
        if (file != 0 && SquareColour[s + 7] == ColourWhite)
            AddMove(s, s + 7, FlagPawnMove | FlagCapture);
        if (file != 7 && SquareColour[s + 9] == ColourWhite)
            AddMove(s, s + 9, FlagPawnMove | FlagCapture);
        if (SquareColour[s + 8] == ColourEmpty) {
            if (!capturesOnly || s >= 48)
                AddMove(s, s + 8, FlagPawnMove);
            if (!capturesOnly && s <= 15 && SquareColour[s + 16] == ColourEmpty)
                AddMove(s, s + 16, FlagPawnMove | FlagDoubleStep);
        }
    }
}

template <bool CapturesOnly> void TEngineBoard::Generate() {
    PlyEnd[Ply] = PlyFirst[Ply];
    // The last ply has no successor to record where its moves end; nothing is made there.
    if (Ply >= MaxPly - 1)
        return;
    for (int s = 0; s < 64; ++s) {
        if (SquareColour[s] != ActiveSide)
            continue;
        const int piece = SquarePiece[s];
        if (piece == PiecePawn) {
            GeneratePawn(s, CapturesOnly);
            continue;
        }
        for (int d = 0; d < DirectionCount[piece]; ++d) {
            const int step = Directions[piece][d];
            for (int t = Frame120[FrameOf64[s] + step]; t >= 0; t = Frame120[FrameOf64[t] + step]) {
                if (SquareColour[t] == ColourEmpty) {
                    if (!CapturesOnly)
                        AddMove(s, t, 0);
                    if (!SlidingPiece[piece])
                        break;
                    continue;
                }
                if (SquareColour[t] == OtherSide)
                    AddMove(s, t, FlagCapture);
                break;
            }
        }
    }
    if (!CapturesOnly) {
        // From the rights alone: the squares between and the attacks are tested when the
        // castling is made.
        if (ActiveSide == ColourWhite) {
            if (CastleRights & 1)
                AddMove(60, 62, FlagCastle);
            if (CastleRights & 2)
                AddMove(60, 58, FlagCastle);
        } else {
            if (CastleRights & 4)
                AddMove(4, 6, FlagCastle);
            if (CastleRights & 8)
                AddMove(4, 2, FlagCastle);
        }
    }
    if (EpSquare != -1) {
        const int file = EpSquare % 8;
        const int flags = FlagPawnMove | FlagEnPassant | FlagCapture;
        if (ActiveSide == ColourWhite) {
            if (file != 0 && SquareColour[EpSquare + 7] == ColourWhite &&
                SquarePiece[EpSquare + 7] == PiecePawn)
                AddMove(EpSquare + 7, EpSquare, flags);
            if (file != 7 && SquareColour[EpSquare + 9] == ColourWhite &&
                SquarePiece[EpSquare + 9] == PiecePawn)
                AddMove(EpSquare + 9, EpSquare, flags);
        } else {
            if (file != 0 && SquareColour[EpSquare - 9] == ColourBlack &&
                SquarePiece[EpSquare - 9] == PiecePawn)
                AddMove(EpSquare - 9, EpSquare, flags);
            if (file != 7 && SquareColour[EpSquare - 7] == ColourBlack &&
                SquarePiece[EpSquare - 7] == PiecePawn)
                AddMove(EpSquare - 7, EpSquare, flags);
        }
    }
    PlyFirst[Ply + 1] = PlyEnd[Ply];
}

void TEngineBoard::GenerateMoves() { Generate<false>(); }
void TEngineBoard::GenerateCaptures() { Generate<true>(); }

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
constexpr TCastling Castlings[4] = {
    {62, {61, 62, 0}, 2, {61, 62}, 63, 61},
    {58, {57, 58, 59}, 3, {58, 59}, 56, 59},
    {6, {5, 6, 0}, 2, {5, 6}, 7, 5},
    {2, {1, 2, 3}, 3, {2, 3}, 0, 3},
};

const TCastling* CastlingTo(int kingTo) {
    for (const TCastling& c : Castlings)
        if (c.KingTo == kingTo)
            return &c;
    return nullptr;
}

} // namespace

bool TEngineBoard::MakeEngineMove(EngineMove move) {
    // The last ply's record is never filled: a position there has no room for its moves.
    if (Ply >= MaxPly - 1)
        return false;
    const int from = MoveFrom(move);
    const int to = MoveTo(move);
    const int flags = MoveFlags(move);
    if (flags & FlagCastle) {
        const TCastling* c = CastlingTo(to);
        if (c == nullptr || SideInCheck(ActiveSide))
            return false;
        for (int i = 0; i < c->EmptyCount; ++i)
            if (SquareColour[c->Empty[i]] != ColourEmpty)
                return false;
        for (int s : c->Safe)
            if (SquareAttacked(s, OtherSide))
                return false;
        PutPiece(c->RookTo, c->RookTo >= 56 ? ColourWhite : ColourBlack, PieceRook);
        EmptySquare(c->RookFrom);
    }
    UndoStack[Ply] = {move, SquarePiece[to], CastleRights, EpSquare};
    ++Ply;
    CastleRights &= CastleKeepMask[from] & CastleKeepMask[to];
    const bool white = ActiveSide == ColourWhite;
    EpSquare = (flags & FlagDoubleStep) ? (white ? to + 8 : to - 8) : -1;
    PutPiece(to, ActiveSide, (flags & FlagPromotion) ? MovePromote(move) : SquarePiece[from]);
    EmptySquare(from);
    if (flags & FlagEnPassant)
        EmptySquare(white ? to + 8 : to - 8);
    ActiveSide = OtherSide;
    OtherSide = 1 - ActiveSide;
    if (SideInCheck(OtherSide)) {
        TakeBackMove();
        return false;
    }
    return true;
}

void TEngineBoard::TakeBackMove() {
    if (Ply == 0)
        return;
    ActiveSide = OtherSide;
    OtherSide = 1 - ActiveSide;
    --Ply;
    const TUndo& undo = UndoStack[Ply];
    CastleRights = undo.CastleRights;
    EpSquare = undo.EpSquare;
    const int from = MoveFrom(undo.Move);
    const int to = MoveTo(undo.Move);
    const int flags = MoveFlags(undo.Move);
    PutPiece(from, ActiveSide, (flags & FlagPromotion) ? PiecePawn : SquarePiece[to]);
    if (undo.Captured == PieceEmpty)
        EmptySquare(to);
    else
        PutPiece(to, OtherSide, undo.Captured);
    if (flags & FlagCastle) {
        const TCastling* c = CastlingTo(to);
        PutPiece(c->RookFrom, ActiveSide, PieceRook);
        EmptySquare(c->RookTo);
    }
    if (flags & FlagEnPassant)
        PutPiece(ActiveSide == ColourWhite ? to + 8 : to - 8, OtherSide, PiecePawn);
}

bool TEngineBoard::SideInCheck(int colour) const {
    for (int s = 0; s < 64; ++s)
        if (SquareColour[s] == colour && SquarePiece[s] == PieceKing)
            return SquareAttacked(s, 1 - colour);
    return false;
}

bool TEngineBoard::SquareAttacked(int square, int byColour) const {
    for (int s = 0; s < 64; ++s) {
        if (SquareColour[s] != byColour)
            continue;
        const int piece = SquarePiece[s];
        const int file = s % 8;
        if (piece == PiecePawn) {
            if (byColour == ColourWhite) {
                if ((file != 0 && s - 9 == square) || (file != 7 && s - 7 == square))
                    return true;
            } else if ((file != 0 && s + 7 == square) || (file != 7 && s + 9 == square)) {
                return true;
            }
            continue;
        }
        for (int d = 0; d < DirectionCount[piece]; ++d) {
            const int step = Directions[piece][d];
            for (int t = Frame120[FrameOf64[s] + step]; t >= 0; t = Frame120[FrameOf64[t] + step]) {
                if (t == square)
                    return true;
                if (SquareColour[t] != ColourEmpty || !SlidingPiece[piece])
                    break;
            }
        }
    }
    return false;
}

std::uint64_t TEngineBoard::Perft(int depth) {
    if (depth <= 0 || Ply >= MaxPly - 1)
        return 1;
    GenerateMoves();
    std::uint64_t leaves = 0;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        if (!MakeEngineMove(MoveStack[i].Move))
            continue;
        leaves += Perft(depth - 1);
        TakeBackMove();
    }
    return leaves;
}
