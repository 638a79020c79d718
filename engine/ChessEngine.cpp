#include "ChessEngine.h"

#include "EngineTables.h"

#include <algorithm>
#include <cstring>

using namespace EngineTables;

TChessEngine::TChessEngine() {
    std::memset(PvTable, 0, sizeof PvTable);
    std::memset(PvLength, 0, sizeof PvLength);
}

EngineMove TChessEngine::ComputeMove(const TEnginePosition& position) {
    NodeCount = 0;
    DeepestPlySeen = 0;
    MostMovesSeen = 0;
    LastScore = 0;
    LastDepth = 0;
    LoadPosition(position);
    SearchDepth = std::clamp(position.SearchDepth, 1, MaxSearchDepth);
    PrepareEvaluation();
    // The history carries over from one iteration to the next, but not between searches.
    std::memset(HistoryScore, 0, sizeof HistoryScore);
    for (int depth = 1; depth <= SearchDepth; ++depth) {
        if (StopRequested.load(std::memory_order_relaxed))
            break;
        InPvLine = true;
        const int score = SearchNode(-MateScore, MateScore, depth);
        if (StopRequested.load(std::memory_order_relaxed))
            break;
        LastScore = score;
        LastDepth = depth;
    }
    return PvTable[0][0];
}

void TChessEngine::PrepareEvaluation() {
    for (int s = 0; s < 64; ++s) {
        for (int colour : {ColourWhite, ColourBlack}) {
            const int m = colour == ColourWhite ? s : MirrorSquare(s);
            SquareValue[colour][PiecePawn][s] = 100 + PawnTable[m];
            SquareValue[colour][PieceKnight][s] = 300 + MinorTable[m];
            SquareValue[colour][PieceBishop][s] = 300 + MinorTable[m];
            SquareValue[colour][PieceRook][s] = 500;
            SquareValue[colour][PieceQueen][s] = 900;
        }
    }
    int material[2] = {0, 0};
    int kingFile[2] = {-1, -1};
    for (int s = 0; s < 64; ++s) {
        const int colour = SquareColour[s];
        if (colour == ColourEmpty)
            continue;
        material[colour] += PieceValue[SquarePiece[s]];
        if (SquarePiece[s] == PieceKing && kingFile[colour] < 0)
            kingFile[colour] = s % 8;
    }
    // A king hides behind its pawns while the opponent keeps more than a rook and three
    // minor pieces' worth; below that it walks to the centre. Fixed for the whole search.
    for (int colour : {ColourWhite, ColourBlack}) {
        const bool middleGame = material[1 - colour] > 1400;
        for (int s = 0; s < 64; ++s) {
            const int m = colour == ColourWhite ? s : MirrorSquare(s);
            SquareValue[colour][PieceKing][s] = middleGame ? KingMiddleTable[m] : KingEndTable[m];
            if (!middleGame || kingFile[colour] < 0)
                continue;
            if (kingFile[colour] >= 5)
                SquareValue[colour][PiecePawn][s] += ShelterKingSide[m];
            else if (kingFile[colour] <= 2)
                SquareValue[colour][PiecePawn][s] += ShelterQueenSide[m];
        }
    }
    RecountValues();
}

// The sum of the square values is kept by the board as pieces move; the pawn and rook
// terms depend only on how many pawns and rooks of each side stand on each file, and on
// the square values of the pawns on it, which the board keeps per file as well.
int TChessEngine::Evaluate() const {
    int total[2] = {ValueSum[ColourWhite], ValueSum[ColourBlack]};
    for (int c : {ColourWhite, ColourBlack}) {
        const int o = 1 - c;
        const std::int32_t* own = PawnsOnFile[c];
        const std::int32_t* other = PawnsOnFile[o];
        int sum = 0;
        for (int f = 1; f <= 8; ++f) {
            const int pawns = own[f];
            if (pawns != 0) {
                if (pawns > 1)
                    sum -= 5 * pawns;
                if (own[f - 1] == 0 && own[f + 1] == 0) {
                    sum -= 20 * pawns;
                    if (other[f] == 0)
                        sum -= 10 * pawns;
                }
                if (other[f - 1] == 0 && other[f] == 0 && other[f + 1] == 0)
                    sum += 2 * PawnValueOnFile[c][f];
            }
            const int rooks = RooksOnFile[c][f];
            if (rooks != 0 && pawns == 0)
                sum += (other[f] == 0 ? 15 : 10) * rooks;
        }
        total[c] += sum;
    }
    return total[ActiveSide] - total[OtherSide];
}

void TChessEngine::MarkPvMove() {
    InPvLine = false;
    const EngineMove pv = PvTable[0][Ply];
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        const EngineMove m = MoveStack[i].Move;
        if (MoveFrom(m) == MoveFrom(pv) && MoveTo(m) == MoveTo(pv)) {
            MoveStack[i].Score += 10000000;
            InPvLine = true;
            return;
        }
    }
}

void TChessEngine::PickBestMove(int index) {
    int best = index;
    for (int i = index + 1; i < PlyEnd[Ply]; ++i)
        if (MoveStack[i].Score > MoveStack[best].Score)
            best = i;
    std::swap(MoveStack[index], MoveStack[best]);
}

void TChessEngine::UpdatePv(EngineMove move) {
    PvTable[Ply][Ply] = move;
    for (int j = Ply + 1; j < PvLength[Ply + 1]; ++j)
        PvTable[Ply][j] = PvTable[Ply + 1][j];
    PvLength[Ply] = PvLength[Ply + 1];
}

int TChessEngine::SearchNode(int alpha, int beta, int depth) {
    NoteNode();
    if (StopRequested.load(std::memory_order_relaxed))
        return 0;
    if (depth == 0 || AtSearchLimit())
        return CaptureSearch(alpha, beta);
    PvLength[Ply] = Ply;
    const bool inCheck = ActiveInCheck();
    if (inCheck)
        ++depth;
    GenerateMoves();
    MostMovesSeen = std::max(MostMovesSeen, PlyEnd[Ply]);
    if (InPvLine)
        MarkPvMove();
    bool legalMove = false;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        if (StopRequested.load(std::memory_order_relaxed))
            break;
        PickBestMove(i);
        const EngineMove move = MoveStack[i].Move;
        if (!MakeEngineMove(move))
            continue;
        legalMove = true;
        const int x = -SearchNode(-beta, -alpha, depth - 1);
        TakeBackMove();
        if (x > alpha) {
            HistoryScore[MoveFrom(move)][MoveTo(move)] += depth;
            if (x >= beta)
                return beta;
            alpha = x;
            UpdatePv(move);
        }
    }
    if (!legalMove)
        return inCheck ? Ply - MateScore : 0;
    return alpha;
}

int TChessEngine::CaptureSearch(int alpha, int beta) {
    NoteNode();
    PvLength[Ply] = Ply;
    if (AtSearchLimit()) {
        const int x = Evaluate();
        return x >= beta ? beta : std::max(alpha, x);
    }
    const bool inCheck = ActiveInCheck();
    if (inCheck) {
        // No standing pat in check: every evasion is searched.
        GenerateMoves();
    } else {
        const int x = Evaluate();
        if (x >= beta)
            return beta;
        if (x > alpha)
            alpha = x;
        GenerateCaptures();
    }
    MostMovesSeen = std::max(MostMovesSeen, PlyEnd[Ply]);
    if (InPvLine)
        MarkPvMove();
    bool legalMove = false;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        PickBestMove(i);
        const EngineMove move = MoveStack[i].Move;
        if (!MakeEngineMove(move))
            continue;
        legalMove = true;
        const int x = -CaptureSearch(-beta, -alpha);
        TakeBackMove();
        if (x > alpha) {
            if (x >= beta)
                return beta;
            alpha = x;
            UpdatePv(move);
        }
    }
    // A stalemate is not recognised here: the standing pat stands.
    if (!legalMove && inCheck)
        return Ply - MateScore;
    return alpha;
}
