// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/PlainEngine.h"

namespace {

constexpr int White = 0;
constexpr int Black = 1;
constexpr int Empty = 6;
constexpr int Pawn = 0;
constexpr int Knight = 1;
constexpr int Bishop = 2;
constexpr int Rook = 3;
constexpr int Queen = 4;
constexpr int King = 5;

// The evaluation tables for white, rank 8 first, files a to h.
constexpr int PawnTable[64] = {
    0, 0,  0,  0,   0,   0,  0,  0, //
    5, 10, 15, 20,  20,  15, 10, 5, //
    4, 8,  12, 16,  16,  12, 8,  4, //
    3, 6,  9,  12,  12,  9,  6,  3, //
    2, 4,  6,  8,   8,   6,  4,  2, //
    1, 2,  3,  4,   4,   3,  2,  1, //
    0, 0,  0,  -20, -20, 0,  0,  0, //
    0, 0,  0,  0,   0,   0,  0,  0, //
};
constexpr int MinorTable[64] = {
    -10, -10, -10, -10, -10, -10, -10, -10, //
    -10, 0,   0,   0,   0,   0,   0,   -10, //
    -10, 0,   5,   5,   5,   5,   0,   -10, //
    -10, 0,   5,   10,  10,  5,   0,   -10, //
    -10, 0,   5,   10,  10,  5,   0,   -10, //
    -10, 0,   5,   5,   5,   5,   0,   -10, //
    -10, 0,   0,   0,   0,   0,   0,   -10, //
    -20, -20, -20, -20, -20, -20, -20, -20, //
};
constexpr int KingMiddleTable[64] = {
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -20, -20, -20, -20, -20, -20, -20, -20, //
    -10, 0,   10,  -20, 0,   -20, 10,  0,   //
};
constexpr int KingEndTable[64] = {
    -5, -5, -5, -5, -5, -5, -5, -5, //
    -5, 0,  0,  0,  0,  0,  0,  -5, //
    -5, 0,  5,  5,  5,  5,  0,  -5, //
    -5, 0,  5,  10, 10, 5,  0,  -5, //
    -5, 0,  5,  10, 10, 5,  0,  -5, //
    -5, 0,  5,  5,  5,  5,  0,  -5, //
    -5, 0,  0,  0,  0,  0,  0,  -5, //
    -5, -5, -5, -5, -5, -5, -5, -5, //
};
constexpr int ShelterKingSide[64] = {
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 5,  5,  5,  //
    0, 0, 0, 0, 0, 10, 10, 10, //
    0, 0, 0, 0, 0, 20, 20, 20, //
    0, 0, 0, 0, 0, 0,  0,  0,  //
};
constexpr int ShelterQueenSide[64] = {
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    5,  5,  5,  0, 0, 0, 0, 0, //
    10, 10, 10, 0, 0, 0, 0, 0, //
    20, 20, 20, 0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
};

int MirrorSquare(int s) {
    return 8 * (7 - s / 8) + s % 8;
}

} // namespace

TPlainEngine::TPlainEngine() {
    for (int i = 0; i < 120; ++i)
        Frame120[i] = -1;
    for (int row = 0; row < 8; ++row)
        for (int file = 0; file < 8; ++file)
            Frame120[10 * (row + 2) + file + 1] = 8 * row + file;
    for (int s = 0; s < 64; ++s)
        FrameOf64[s] = 10 * (s / 8 + 2) + s % 8 + 1;

    const bool sliding[6] = {false, false, true, true, true, false};
    const int counts[6] = {0, 8, 4, 4, 8, 8};
    const int directions[6][8] = {
        {0, 0, 0, 0, 0, 0, 0, 0},         {-21, -19, -12, -8, 8, 12, 19, 21},
        {-11, -9, 9, 11, 0, 0, 0, 0},     {-10, -1, 1, 10, 0, 0, 0, 0},
        {-11, -10, -9, -1, 1, 9, 10, 11}, {-11, -10, -9, -1, 1, 9, 10, 11}};
    const int values[6] = {100, 300, 300, 500, 900, 0};
    for (int p = 0; p < 6; ++p) {
        SlidingPiece[p] = sliding[p];
        DirectionCount[p] = counts[p];
        PieceValue[p] = values[p];
        for (int d = 0; d < 8; ++d)
            Directions[p][d] = directions[p][d];
    }
    for (int s = 0; s < 64; ++s)
        CastleKeepMask[s] = 15;
    CastleKeepMask[0] = 7;   // a8
    CastleKeepMask[4] = 3;   // e8
    CastleKeepMask[7] = 11;  // h8
    CastleKeepMask[56] = 13; // a1
    CastleKeepMask[60] = 12; // e1
    CastleKeepMask[63] = 14; // h1

    for (int i = 0; i < 64; ++i) {
        PvLength[i] = 0;
        for (int j = 0; j < 64; ++j)
            PvTable[i][j] = 0;
    }
}

int TPlainEngine::Step(int square, int direction) const {
    return Frame120[FrameOf64[square] + direction];
}

void TPlainEngine::LoadPosition(const TEnginePosition& position) {
    for (int s = 0; s < 64; ++s) {
        const char c = s < int(position.Position.size()) ? position.Position[s] : ' ';
        SquareColour[s] = Empty;
        SquarePiece[s] = Empty;
        const char* letters = "PNBRQK";
        for (int p = 0; p < 6; ++p) {
            if (c == letters[p]) {
                SquareColour[s] = White;
                SquarePiece[s] = p;
            }
            if (c == letters[p] + ('a' - 'A')) {
                SquareColour[s] = Black;
                SquarePiece[s] = p;
            }
        }
    }
    ActiveSide = position.WhiteToMove ? White : Black;
    OtherSide = 1 - ActiveSide;

    auto holds = [this](int s, int colour, int piece) {
        return SquareColour[s] == colour && SquarePiece[s] == piece;
    };
    CastleRights = 0;
    if ((position.CastlingAllowed & 1) && holds(60, White, King) && holds(63, White, Rook))
        CastleRights += 1;
    if ((position.CastlingAllowed & 2) && holds(60, White, King) && holds(56, White, Rook))
        CastleRights += 2;
    if ((position.CastlingAllowed & 4) && holds(4, Black, King) && holds(7, Black, Rook))
        CastleRights += 4;
    if ((position.CastlingAllowed & 8) && holds(4, Black, King) && holds(0, Black, Rook))
        CastleRights += 8;

    EpSquare = position.EnPassant - 1;
    if (EpSquare < 0 || EpSquare > 63)
        EpSquare = -1;
    else if (ActiveSide == White &&
             !(EpSquare >= 16 && EpSquare <= 23 && SquareColour[EpSquare] == Empty &&
               holds(EpSquare + 8, Black, Pawn)))
        EpSquare = -1;
    else if (ActiveSide == Black &&
             !(EpSquare >= 40 && EpSquare <= 47 && SquareColour[EpSquare] == Empty &&
               holds(EpSquare - 8, White, Pawn)))
        EpSquare = -1;

    Ply = 0;
    PlyFirst[0] = 0;
}

void TPlainEngine::PrepareEvaluation() {
    for (int s = 0; s < 64; ++s) {
        for (int colour = 0; colour < 2; ++colour) {
            const int m = colour == White ? s : MirrorSquare(s);
            SquareValue[colour][Pawn][s] = 100 + PawnTable[m];
            SquareValue[colour][Knight][s] = 300 + MinorTable[m];
            SquareValue[colour][Bishop][s] = 300 + MinorTable[m];
            SquareValue[colour][Rook][s] = 500;
            SquareValue[colour][Queen][s] = 900;
            SquareValue[colour][King][s] = 0;
        }
    }
    for (int colour = 0; colour < 2; ++colour) {
        const int other = 1 - colour;
        int otherPieces = 0;
        int kingSquare = -1;
        for (int s = 0; s < 64; ++s) {
            if (SquareColour[s] == other && SquarePiece[s] >= Knight && SquarePiece[s] <= Queen)
                otherPieces += PieceValue[SquarePiece[s]];
            if (kingSquare == -1 && SquareColour[s] == colour && SquarePiece[s] == King)
                kingSquare = s;
        }
        for (int s = 0; s < 64; ++s) {
            const int m = colour == White ? s : MirrorSquare(s);
            if (otherPieces > 1400) {
                SquareValue[colour][King][s] = KingMiddleTable[m];
                if (kingSquare != -1 && kingSquare % 8 >= 5)
                    SquareValue[colour][Pawn][s] += ShelterKingSide[m];
                if (kingSquare != -1 && kingSquare % 8 <= 2)
                    SquareValue[colour][Pawn][s] += ShelterQueenSide[m];
            } else {
                SquareValue[colour][King][s] = KingEndTable[m];
            }
        }
    }
}

int TPlainEngine::Evaluate() {
    int pawns[2][10];
    for (int colour = 0; colour < 2; ++colour)
        for (int f = 0; f < 10; ++f)
            pawns[colour][f] = 0;
    // Files a..h are entries 1..8, so that the files beyond them count 0.
    for (int s = 0; s < 64; ++s)
        if (SquareColour[s] != Empty && SquarePiece[s] == Pawn)
            pawns[SquareColour[s]][s % 8 + 1] += 1;

    int total[2] = {0, 0};
    for (int s = 0; s < 64; ++s) {
        const int c = SquareColour[s];
        if (c == Empty)
            continue;
        const int o = 1 - c;
        const int f = s % 8 + 1;
        total[c] += SquareValue[c][SquarePiece[s]][s];
        if (SquarePiece[s] == Pawn) {
            if (pawns[c][f] > 1)
                total[c] -= 5;
            if (pawns[c][f - 1] == 0 && pawns[c][f + 1] == 0) {
                total[c] -= 20;
                if (pawns[o][f] == 0)
                    total[c] -= 10;
            }
            if (pawns[o][f - 1] == 0 && pawns[o][f] == 0 && pawns[o][f + 1] == 0)
                total[c] += 2 * SquareValue[c][Pawn][s];
        }
        if (SquarePiece[s] == Rook && pawns[c][f] == 0) {
            total[c] += 10;
            if (pawns[o][f] == 0)
                total[c] += 5;
        }
    }
    int score = total[ActiveSide] - total[OtherSide];
    if (score > 9000)
        score = 9000;
    if (score < -9000)
        score = -9000;
    return score;
}

int TPlainEngine::EvaluatePosition(const TEnginePosition& position) {
    LoadPosition(position);
    PrepareEvaluation();
    return Evaluate();
}

EngineMove TPlainEngine::ComputeMove(const TEnginePosition& position) {
    LoadPosition(position);
    PrepareEvaluation();
    for (int from = 0; from < 64; ++from)
        for (int to = 0; to < 64; ++to)
            HistoryScore[from][to] = 0;
    NodeCount = 0;
    LastScore = 0;
    LastDepth = 0;
    for (int depth = 1; depth <= position.SearchDepth; ++depth) {
        InPvLine = true;
        LastScore = SearchNode(-10000, 10000, depth);
        LastDepth = depth;
    }
    return PvTable[0][0];
}

int TPlainEngine::SearchNode(int alpha, int beta, int depth) {
    ++NodeCount;
    if (depth == 0 || AtLimit())
        return CaptureSearch(alpha, beta);
    PvLength[Ply] = Ply;
    const bool inCheck = SideInCheck(ActiveSide);
    if (inCheck)
        depth = depth + 1;
    GenerateMoves();
    if (InPvLine)
        MarkPvMove();
    bool legalMoveFound = false;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        PickBestMove(i);
        const EngineMove move = MoveStack[i].Move;
        if (!MakeEngineMove(move))
            continue;
        legalMoveFound = true;
        const int x = -SearchNode(-beta, -alpha, depth - 1);
        TakeBackMove();
        if (x > alpha) {
            HistoryScore[MoveFrom(move)][MoveTo(move)] += depth;
            if (x >= beta)
                return beta;
            alpha = x;
            PvTable[Ply][Ply] = move;
            for (int j = Ply + 1; j < PvLength[Ply + 1]; ++j)
                PvTable[Ply][j] = PvTable[Ply + 1][j];
            PvLength[Ply] = PvLength[Ply + 1];
        }
    }
    if (!legalMoveFound)
        return inCheck ? Ply - 10000 : 0;
    return alpha;
}

int TPlainEngine::CaptureSearch(int alpha, int beta) {
    ++NodeCount;
    PvLength[Ply] = Ply;
    if (AtLimit()) {
        const int x = Evaluate();
        if (x >= beta)
            return beta;
        return x > alpha ? x : alpha;
    }
    const bool inCheck = SideInCheck(ActiveSide);
    if (inCheck) {
        GenerateMoves();
    } else {
        const int x = Evaluate();
        if (x >= beta)
            return beta;
        if (x > alpha)
            alpha = x;
        GenerateCaptures();
    }
    if (InPvLine)
        MarkPvMove();
    bool legalMoveFound = false;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        PickBestMove(i);
        const EngineMove move = MoveStack[i].Move;
        if (!MakeEngineMove(move))
            continue;
        legalMoveFound = true;
        const int x = -CaptureSearch(-beta, -alpha);
        TakeBackMove();
        if (x > alpha) {
            if (x >= beta)
                return beta;
            alpha = x;
            PvTable[Ply][Ply] = move;
            for (int j = Ply + 1; j < PvLength[Ply + 1]; ++j)
                PvTable[Ply][j] = PvTable[Ply + 1][j];
            PvLength[Ply] = PvLength[Ply + 1];
        }
    }
    if (!legalMoveFound && inCheck)
        return Ply - 10000;
    return alpha;
}

bool TPlainEngine::AtLimit() const {
    return Ply >= 63 || PlyFirst[Ply] > 4096 - 400;
}

void TPlainEngine::GenerateMoves() {
    Generate(false);
}

void TPlainEngine::GenerateCaptures() {
    Generate(true);
}

void TPlainEngine::Generate(bool capturesOnly) {
    PlyEnd[Ply] = PlyFirst[Ply];
    for (int s = 0; s < 64; ++s) {
        if (SquareColour[s] != ActiveSide)
            continue;
        const int file = s % 8;
        if (SquarePiece[s] == Pawn && ActiveSide == White) {
            if (s <= 7)
                continue;
            if (file != 0 && SquareColour[s - 9] == Black)
                AddMove(s, s - 9, 17);
            if (file != 7 && SquareColour[s - 7] == Black)
                AddMove(s, s - 7, 17);
            if (SquareColour[s - 8] == Empty && (!capturesOnly || s <= 15)) {
                AddMove(s, s - 8, 16);
                if (!capturesOnly && s >= 48 && s <= 55 && SquareColour[s - 16] == Empty)
                    AddMove(s, s - 16, 24);
            }
        } else if (SquarePiece[s] == Pawn) {
            if (s >= 56)
                continue;
            if (file != 0 && SquareColour[s + 7] == White)
                AddMove(s, s + 7, 17);
            if (file != 7 && SquareColour[s + 9] == White)
                AddMove(s, s + 9, 17);
            if (SquareColour[s + 8] == Empty && (!capturesOnly || s >= 48)) {
                AddMove(s, s + 8, 16);
                if (!capturesOnly && s >= 8 && s <= 15 && SquareColour[s + 16] == Empty)
                    AddMove(s, s + 16, 24);
            }
        } else {
            const int piece = SquarePiece[s];
            for (int d = 0; d < DirectionCount[piece]; ++d) {
                int t = s;
                while (true) {
                    t = Step(t, Directions[piece][d]);
                    if (t == -1)
                        break;
                    if (SquareColour[t] == Empty) {
                        if (!capturesOnly)
                            AddMove(s, t, 0);
                        if (!SlidingPiece[piece])
                            break;
                        continue;
                    }
                    if (SquareColour[t] == OtherSide)
                        AddMove(s, t, 1);
                    break;
                }
            }
        }
    }
    if (!capturesOnly) {
        if (ActiveSide == White) {
            if (CastleRights & 1)
                AddMove(60, 62, 2);
            if (CastleRights & 2)
                AddMove(60, 58, 2);
        } else {
            if (CastleRights & 4)
                AddMove(4, 6, 2);
            if (CastleRights & 8)
                AddMove(4, 2, 2);
        }
    }
    if (EpSquare != -1) {
        const int file = EpSquare % 8;
        auto pawnOf = [this](int s, int colour) {
            return SquareColour[s] == colour && SquarePiece[s] == Pawn;
        };
        if (ActiveSide == White) {
            if (file != 0 && pawnOf(EpSquare + 7, White))
                AddMove(EpSquare + 7, EpSquare, 21);
            if (file != 7 && pawnOf(EpSquare + 9, White))
                AddMove(EpSquare + 9, EpSquare, 21);
        } else {
            if (file != 0 && pawnOf(EpSquare - 9, Black))
                AddMove(EpSquare - 9, EpSquare, 21);
            if (file != 7 && pawnOf(EpSquare - 7, Black))
                AddMove(EpSquare - 7, EpSquare, 21);
        }
    }
    PlyFirst[Ply + 1] = PlyEnd[Ply];
}

void TPlainEngine::AddMove(int from, int to, int flags) {
    if ((flags & 16) && ((ActiveSide == White && to <= 7) || (ActiveSide == Black && to >= 56))) {
        AddPromotions(from, to, flags);
        return;
    }
    int score = HistoryScore[from][to];
    if (flags & 1)
        score = 1000000 + 10 * SquarePiece[to] - SquarePiece[from];
    Append(from, to, 0, flags, score);
}

void TPlainEngine::AddPromotions(int from, int to, int flags) {
    for (int code = 1; code <= 4; ++code)
        Append(from, to, code, flags + 32, 1000000 + 10 * code);
}

void TPlainEngine::Append(int from, int to, int promote, int flags, int score) {
    if (PlyEnd[Ply] >= 4096)
        return;
    MoveStack[PlyEnd[Ply]].Move = PackMove(from, to, promote, flags);
    MoveStack[PlyEnd[Ply]].Score = score;
    PlyEnd[Ply] += 1;
}
