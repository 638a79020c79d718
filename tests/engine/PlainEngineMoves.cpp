// SPDX-License-Identifier: GPL-3.0-or-later
// The plain engine's making and taking back of moves, its attack test and its move picking.
#include "tests/engine/PlainEngine.h"

namespace {
constexpr int White = 0;
constexpr int Empty = 6;
constexpr int Pawn = 0;
constexpr int Rook = 3;
constexpr int King = 5;
} // namespace

bool TPlainEngine::MakeEngineMove(EngineMove move) {
    const int from = MoveFrom(move);
    const int to = MoveTo(move);
    const int flags = MoveFlags(move);
    if (flags & 2) {
        if (SideInCheck(ActiveSide))
            return false;
        auto empty = [this](int s) { return SquareColour[s] == Empty; };
        auto attacked = [this](int s) { return SquareAttacked(s, OtherSide); };
        int rookFrom = -1;
        int rookTo = -1;
        if (to == 62) {
            if (!empty(61) || !empty(62) || attacked(61) || attacked(62))
                return false;
            rookFrom = 63;
            rookTo = 61;
        } else if (to == 58) {
            if (!empty(57) || !empty(58) || !empty(59) || attacked(58) || attacked(59))
                return false;
            rookFrom = 56;
            rookTo = 59;
        } else if (to == 6) {
            if (!empty(5) || !empty(6) || attacked(5) || attacked(6))
                return false;
            rookFrom = 7;
            rookTo = 5;
        } else {
            if (!empty(1) || !empty(2) || !empty(3) || attacked(2) || attacked(3))
                return false;
            rookFrom = 0;
            rookTo = 3;
        }
        SquareColour[rookTo] = rookTo >= 56 ? 0 : 1;
        SquarePiece[rookTo] = Rook;
        SquareColour[rookFrom] = Empty;
        SquarePiece[rookFrom] = Empty;
    }

    UndoStack[Ply].Move = move;
    UndoStack[Ply].Captured = SquarePiece[to];
    UndoStack[Ply].CastleRights = CastleRights;
    UndoStack[Ply].EpSquare = EpSquare;
    Ply = Ply + 1;

    CastleRights = CastleRights & CastleKeepMask[from] & CastleKeepMask[to];
    if (flags & 8)
        EpSquare = ActiveSide == White ? to + 8 : to - 8;
    else
        EpSquare = -1;

    SquareColour[to] = ActiveSide;
    SquarePiece[to] = (flags & 32) ? MovePromote(move) : SquarePiece[from];
    SquareColour[from] = Empty;
    SquarePiece[from] = Empty;

    if (flags & 4) {
        const int victim = ActiveSide == White ? to + 8 : to - 8;
        SquareColour[victim] = Empty;
        SquarePiece[victim] = Empty;
    }

    const int side = ActiveSide;
    ActiveSide = OtherSide;
    OtherSide = side;

    if (SideInCheck(OtherSide)) {
        TakeBackMove();
        return false;
    }
    return true;
}

void TPlainEngine::TakeBackMove() {
    const int side = ActiveSide;
    ActiveSide = OtherSide;
    OtherSide = side;
    Ply = Ply - 1;
    const EngineMove move = UndoStack[Ply].Move;
    const int from = MoveFrom(move);
    const int to = MoveTo(move);
    const int flags = MoveFlags(move);
    CastleRights = UndoStack[Ply].CastleRights;
    EpSquare = UndoStack[Ply].EpSquare;

    SquareColour[from] = ActiveSide;
    SquarePiece[from] = (flags & 32) ? Pawn : SquarePiece[to];
    if (UndoStack[Ply].Captured == Empty) {
        SquareColour[to] = Empty;
        SquarePiece[to] = Empty;
    } else {
        SquareColour[to] = OtherSide;
        SquarePiece[to] = UndoStack[Ply].Captured;
    }

    if (flags & 2) {
        int rookFrom = 0;
        int rookTo = 0;
        if (to == 62) {
            rookFrom = 61;
            rookTo = 63;
        } else if (to == 58) {
            rookFrom = 59;
            rookTo = 56;
        } else if (to == 6) {
            rookFrom = 5;
            rookTo = 7;
        } else {
            rookFrom = 3;
            rookTo = 0;
        }
        SquareColour[rookTo] = ActiveSide;
        SquarePiece[rookTo] = Rook;
        SquareColour[rookFrom] = Empty;
        SquarePiece[rookFrom] = Empty;
    }
    if (flags & 4) {
        const int victim = ActiveSide == White ? to + 8 : to - 8;
        SquareColour[victim] = OtherSide;
        SquarePiece[victim] = Pawn;
    }
}

bool TPlainEngine::SideInCheck(int colour) {
    for (int s = 0; s < 64; ++s)
        if (SquareColour[s] == colour && SquarePiece[s] == King)
            return SquareAttacked(s, 1 - colour);
    return false;
}

bool TPlainEngine::SquareAttacked(int square, int colour) {
    for (int s = 0; s < 64; ++s) {
        if (SquareColour[s] != colour)
            continue;
        const int file = s % 8;
        const int piece = SquarePiece[s];
        if (piece == Pawn) {
            // A pawn standing on the rank it would promote on attacks nothing.
            if (colour == White && s >= 8) {
                if (file != 0 && s - 9 == square)
                    return true;
                if (file != 7 && s - 7 == square)
                    return true;
            }
            if (colour != White && s <= 55) {
                if (file != 0 && s + 7 == square)
                    return true;
                if (file != 7 && s + 9 == square)
                    return true;
            }
            continue;
        }
        for (int d = 0; d < DirectionCount[piece]; ++d) {
            int t = s;
            while (true) {
                t = Step(t, Directions[piece][d]);
                if (t == -1)
                    break;
                if (t == square)
                    return true;
                if (SquareColour[t] != Empty)
                    break;
                if (!SlidingPiece[piece])
                    break;
            }
        }
    }
    return false;
}

void TPlainEngine::MarkPvMove() {
    InPvLine = false;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        if (MoveFrom(MoveStack[i].Move) == MoveFrom(PvTable[0][Ply]) &&
            MoveTo(MoveStack[i].Move) == MoveTo(PvTable[0][Ply])) {
            MoveStack[i].Score += 10000000;
            InPvLine = true;
            return;
        }
    }
}

void TPlainEngine::PickBestMove(int index) {
    int best = index;
    for (int i = index + 1; i < PlyEnd[Ply]; ++i)
        if (MoveStack[i].Score > MoveStack[best].Score)
            best = i;
    const TStackedMove kept = MoveStack[index];
    MoveStack[index] = MoveStack[best];
    MoveStack[best] = kept;
}
