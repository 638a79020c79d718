// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChessEngine.h"

#include "engine/EngineTables.h"

#include <algorithm>
#include <bit>
#include <cstring>

using namespace EngineTables;

TChessEngine::TChessEngine() {
    std::memset(PvTable, 0, sizeof PvTable);
    std::memset(PvLength, 0, sizeof PvLength);
    std::memset(PawnStore, 0, sizeof PawnStore);
}

EngineMove TChessEngine::ComputeMove(const TEnginePosition& position) {
    NodeCount = 0;
    DeepestPlySeen = 0;
    MostMovesSeen = 0;
    LastScore = 0;
    LastDepth = 0;
    LoadPosition(position);
    SearchDepth = std::clamp(position.SearchDepth, 1, DeepestSearch);
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
        if (OnIteration)
            OnIteration(depth, score);
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
    // Knights, bishops, rooks and queens only: pawns and kings do not count here.
    int material[2] = {0, 0};
    int kingFile[2] = {-1, -1};
    for (int s = 0; s < 64; ++s) {
        const int colour = SquareColour[s];
        if (colour == ColourEmpty)
            continue;
        if (SquarePiece[s] >= PieceKnight && SquarePiece[s] <= PieceQueen)
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
    std::memset(PawnStore, 0, sizeof PawnStore);
}

namespace {

// Bit f set: the set holds a square on file f (a = 0).
std::uint32_t FilesOf(std::uint64_t squares) {
    squares |= squares >> 32;
    squares |= squares >> 16;
    squares |= squares >> 8;
    return static_cast<std::uint32_t>(squares & 0xff);
}

// The number of squares in a set of a few: one step per square, where std::popcount is a
// library call on the plain x86-64 instruction set.
int CountOf(std::uint64_t squares) {
    int count = 0;
    for (; squares != 0; squares &= squares - 1)
        ++count;
    return count;
}

// Every square of the files in the set.
std::uint64_t SquaresOfFiles(std::uint32_t files) {
    return (files & 0xff) * std::uint64_t{0x0101010101010101};
}

} // namespace

// Pawns of a side on its doubled and isolated files cost it points, the square values of
// its pawns that no opposing pawn can stop or take count twice.
const TChessEngine::TPawnTerms& TChessEngine::PawnTerms() const {
    const std::uint64_t white = Pieces[ColourWhite][PiecePawn];
    const std::uint64_t black = Pieces[ColourBlack][PiecePawn];
    const std::uint64_t key = white * 0x9e3779b97f4a7c15 ^ black * 0xc2b2ae3d27d4eb4f;
    TPawnTerms& terms = PawnStore[key >> (64 - PawnStoreBits)];
    if (!terms.Known || terms.Pawns[ColourWhite] != white || terms.Pawns[ColourBlack] != black)
        CountPawnTerms(terms);
    return terms;
}

void TChessEngine::CountPawnTerms(TPawnTerms& terms) const {
    const std::uint64_t white = Pieces[ColourWhite][PiecePawn];
    const std::uint64_t black = Pieces[ColourBlack][PiecePawn];
    terms.Known = true;
    terms.Pawns[ColourWhite] = white;
    terms.Pawns[ColourBlack] = black;
    for (int c : {ColourWhite, ColourBlack})
        terms.Files[c] = static_cast<std::uint8_t>(FilesOf(Pieces[c][PiecePawn]));
    for (int c : {ColourWhite, ColourBlack}) {
        const std::uint64_t pawns = Pieces[c][PiecePawn];
        const std::uint32_t own = terms.Files[c];
        const std::uint32_t other = terms.Files[1 - c];
        // A pawn with another of its side further up its file stands on a doubled file.
        std::uint64_t above = pawns << 8;
        above |= above << 8;
        above |= above << 16;
        above |= above << 32;
        const std::uint32_t doubled = FilesOf(pawns & above);
        const std::uint32_t isolated = own & ~((own << 1) | (own >> 1));
        const std::uint32_t free = own & ~(other | (other << 1) | (other >> 1));
        int sum = -5 * CountOf(pawns & SquaresOfFiles(doubled));
        sum -= 20 * CountOf(pawns & SquaresOfFiles(isolated));
        sum -= 10 * CountOf(pawns & SquaresOfFiles(isolated & ~other));
        for (std::uint64_t q = pawns & SquaresOfFiles(free); q != 0; q &= q - 1)
            sum += 2 * SquareValue[c][PiecePawn][std::countr_zero(q)];
        terms.Score[c] = sum;
    }
}

// The sum of the square values is kept by the board as pieces move, the pawn terms are
// stored per pawn structure, and a rook scores by whether pawns stand on its file. Taken
// into the capture search whole: it runs at most of the nodes.
[[gnu::always_inline]] inline int TChessEngine::StaticScore() const {
    const TPawnTerms& terms = PawnTerms();
    int total[2] = {Tally.ValueSum[ColourWhite] + terms.Score[ColourWhite],
                    Tally.ValueSum[ColourBlack] + terms.Score[ColourBlack]};
    // A rook on a file without pawns of its side: 10, 15 with no pawns at all.
    const std::uint64_t noPawns =
        SquaresOfFiles(~(terms.Files[ColourWhite] | terms.Files[ColourBlack]));
    for (int c : {ColourWhite, ColourBlack}) {
        const std::uint64_t open = SquaresOfFiles(~terms.Files[c]);
        for (std::uint64_t r = Pieces[c][PieceRook] & open; r != 0; r &= r - 1)
            total[c] += (noPawns >> std::countr_zero(r) & 1) != 0 ? 15 : 10;
    }
    return std::clamp(total[ActiveSide] - total[OtherSide], -EvaluationBound, EvaluationBound);
}

int TChessEngine::Evaluate() const {
    return StaticScore();
}

void TChessEngine::MarkPvMove() {
    InPvLine = false;
    const EngineMove pv = PvTable[0][Ply];
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        const EngineMove m = MoveList[i];
        if (MoveFrom(m) == MoveFrom(pv) && MoveTo(m) == MoveTo(pv)) {
            MoveScore[i] += PvMoveBonus;
            InPvLine = true;
            return;
        }
    }
}

bool TChessEngine::MakePickKeys() {
    constexpr int HistoryKeys = 16000;
    constexpr int LowestCapture = CaptureBaseScore - 10; // a king's capture of a pawn: -5
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        const int score = MoveScore[i];
        int key;
        if (score >= 0 && score < HistoryKeys)
            key = score;
        else if (score >= LowestCapture && score <= CaptureBaseScore + 100)
            key = HistoryKeys + score - LowestCapture;
        else if (score >= PvMoveBonus)
            key = 32000; // one move at most
        else
            return false;
        PickKey[i] = static_cast<std::int16_t>(key);
    }
    return true;
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
    const bool keyed = MakePickKeys(); // every move generated: picking costs much

    bool legalMove = false;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        if (StopRequested.load(std::memory_order_relaxed))
            break;
        if (keyed)
            PickBest<true>(i);
        else
            PickBestMove(i);
        const EngineMove move = MoveList[i];
        if (inCheck && LeavesCheck(move)) // refused by MakeEngineMove all the same
            continue;
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
    // The capture search can run deep and wide in positions full of pieces that take each
    // other, so every node of it answers a stop request at once; the loops above then only
    // make and take back their remaining moves.
    if (StopRequested.load(std::memory_order_relaxed))
        return 0;
    PvLength[Ply] = Ply;
    if (AtSearchLimit()) {
        const int x = StaticScore();
        return x >= beta ? beta : std::max(alpha, x);
    }
    const bool inCheck = ActiveInCheck();
    if (inCheck) {
        // No standing pat in check: every evasion is searched.
        GenerateMoves();
    } else {
        const int x = StaticScore();
        if (x >= beta)
            return beta;
        if (x > alpha)
            alpha = x;
        GenerateCaptures();
    }
    MostMovesSeen = std::max(MostMovesSeen, PlyEnd[Ply]);
    if (InPvLine)
        MarkPvMove();
    // In check, with every move generated and most of them refused, picking costs most.
    const bool keyed = inCheck && MakePickKeys();
    bool legalMove = false;
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        if (keyed)
            PickBest<true>(i);
        else
            PickBestMove(i);
        const EngineMove move = MoveList[i];
        if (inCheck && LeavesCheck(move)) // refused by MakeEngineMove all the same
            continue;
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
