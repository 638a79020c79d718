// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChessEngine.h"

#include "engine/EngineTables.h"
#include "engine/StaticScore.h"

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
    ForecastNode = ~std::uint64_t{0};
    LoadPosition(position);
    SearchDepth = std::clamp(position.SearchDepth, 1, DeepestSearch);
    PrepareEvaluation();
    // The history carries over from one iteration to the next, but not between searches.
    ClearHistory();
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
    static_assert(PickKeys::LowestCapture == CaptureBaseScore - 10 &&
                  PickKeys::HighestCapture == CaptureBaseScore + 100);
    return MakeKeys(MoveScore, PickKey, PlyFirst[Ply], PlyEnd[Ply], PvMoveBonus);
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
    // Most nodes one ply from the leaves are cut off by the first move picked, nearly always
    // a capture: the captures come first, and the rest of the list only if that move does not
    // cut off. Their children, capture searches, leave the history counts, and with them the
    // scores of the rest, as they were.
    const int first = PlyFirst[Ply];
    const int staged = depth == 1 && !inCheck && !InPvLine ? GenerateCapturesFirst() : 0;
    if (staged == 0)
        GenerateMoves();
    MostMovesSeen = std::max(MostMovesSeen, PlyEnd[Ply]);
    if (InPvLine)
        MarkPvMove();
    bool whole = staged == 0;
    bool keyed = whole && MakePickKeys(); // every move generated: picking costs much
    // The children of a node one ply from the leaves are capture searches, which may stand
    // pat at once; the pawn and rook terms are the same for most of them.
    const bool forecasting = depth == 1 && !inCheck && ForecastAllowed();
    int structure[2] = {0, 0};
    if (forecasting)
        StructureTerms(structure);

    bool legalMove = false;
    TPicking picking(*this, whole);
    for (int i = first; i < PlyEnd[Ply]; ++i) {
        if (StopRequested.load(std::memory_order_relaxed))
            break;
        if (whole) {
            picking.Pick(i, keyed);
        } else if (i == first) {
            PickFirstCapture(staged);
        } else {
            keyed = CompleteList();
            picking.Start();
            whole = true;
            picking.Pick(i, keyed);
        }
        const EngineMove move = MoveList[i];
        if (inCheck && LeavesCheck(move)) // refused by MakeEngineMove all the same
            continue;
        // A leaf whose capture search would stand pat at once leaves alpha as it is.
        const TForecast forecast =
            forecasting ? ForecastChild(move, -alpha, structure) : TForecast::Unknown;
        if (forecast == TForecast::Illegal)
            continue;
        if (forecast == TForecast::StandsPat && !StopRequested.load(std::memory_order_relaxed)) {
            legalMove = true;
            NoteStandingChild(2);
            continue;
        }
        if (!MakeForecastMove(move, forecast, 2))
            continue;
        legalMove = true;
        const int x = -SearchNode(-beta, -alpha, depth - 1);
        TakeBackMove();
        if (x > alpha) {
            AddHistory(MoveFrom(move), MoveTo(move), depth);
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

void TChessEngine::PickFirstCapture(int captures) {
    const int first = PlyFirst[Ply];
    SwapEntries(first, FirstHighest(MoveScore, first, first + captures));
}

bool TChessEngine::CompleteList() {
    // Picking from the whole list swaps the first move picked with the list's first entry.
    const int first = PlyFirst[Ply];
    const EngineMove searched = MoveList[first];
    GenerateMoves();
    int at = first;
    while (MoveList[at] != searched)
        ++at;
    SwapEntries(first, at);
    return MakePickKeys();
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
    if (ActiveInCheck())
        return SearchEvasions(alpha, beta);
    // 1. Standing pat: the static score, with the pawn and rook terms the parent worked out
    //    for this position if it did.
    int structure[2];
    if (ForecastNode == NodeCount) {
        structure[ColourWhite] = ForecastStructure[ColourWhite];
        structure[ColourBlack] = ForecastStructure[ColourBlack];
    } else {
        StructureTerms(structure);
    }
    const int standing = ScoreFrom(ActiveSide, Tally.ValueSum, structure);
    if (standing >= beta)
        return beta;
    if (standing > alpha)
        alpha = standing;
    // 2. The captures and promotions, best first.
    GenerateCaptures();
    const bool forecasting = ForecastAllowed();
    MostMovesSeen = std::max(MostMovesSeen, PlyEnd[Ply]);
    if (InPvLine)
        MarkPvMove();
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        PickBestMove(i);
        const EngineMove move = MoveList[i];
        // A child that would stand pat at once leaves alpha as it is.
        const TForecast forecast =
            forecasting ? ForecastChild(move, -alpha, structure) : TForecast::Unknown;
        if (forecast == TForecast::Illegal)
            continue;
        if (forecast == TForecast::StandsPat && !StopRequested.load(std::memory_order_relaxed)) {
            NoteStandingChild(1);
            continue;
        }
        if (!MakeForecastMove(move, forecast, 1))
            continue;
        const int x = -CaptureSearch(-beta, -alpha);
        TakeBackMove();
        if (CutsOff(x, alpha, beta, move))
            return beta;
    }
    // A stalemate is not recognised here: the standing pat stands.
    return alpha;
}

int TChessEngine::SearchEvasions(int alpha, int beta) {
    // No standing pat in check: every evasion is searched. Most often the evasions alone tell
    // their order; otherwise the whole list goes on from where EvadeCheck stopped, above
    // `searchedAbove`.
    int searchedAbove = PvMoveBonus * 2;
    // The evasions still to search, when EvadeCheck found them: once they are all searched,
    // the rest of the list is refused all the same.
    int remaining = -1;
    bool legalMove = false;
    if (!InPvLine && Tally.KingCount[ActiveSide] == 1) {
        const TEvasion evasion = EvadeCheck(alpha, beta);
        if (evasion.Done)
            return evasion.Value;
        alpha = evasion.Value;
        legalMove = evasion.LegalMove;
        searchedAbove = evasion.SearchedAbove;
        remaining = evasion.Remaining;
    }
    GenerateMoves();
    MostMovesSeen = std::max(MostMovesSeen, PlyEnd[Ply]);
    if (InPvLine)
        MarkPvMove();
    // With every move generated and most of them refused, picking costs most.
    const bool keyed = MakePickKeys();
    TPicking picking(*this);
    for (int i = PlyFirst[Ply]; i < PlyEnd[Ply]; ++i) {
        picking.Pick(i, keyed);
        const EngineMove move = MoveList[i];
        if (MoveScore[i] > searchedAbove)
            continue;
        if (LeavesCheck(move)) // refused by MakeEngineMove all the same
            continue;
        const bool made = MakeEngineMove(move);
        if (made || (MoveFlags(move) & FlagEnPassant)) {
            if (--remaining == 0 && !made)
                break;
        }
        if (!made)
            continue;
        legalMove = true;
        const int x = -CaptureSearch(-beta, -alpha);
        TakeBackMove();
        if (CutsOff(x, alpha, beta, move))
            return beta;
        if (remaining == 0)
            break;
    }
    return legalMove ? alpha : Ply - MateScore;
}

bool TChessEngine::PutInListOrder(int begin, int end) {
    // Picking takes every move scoring above 0 first, into the first places of the list, and
    // moves only what stood there. When the evasions left all score 0, the lowest score, and
    // all stand behind those places, they are picked in the order the list holds them.
    if (MoveScore[begin] != 0)
        return false;
    int firstFrom = 64;
    for (int i = begin; i < end; ++i)
        firstFrom = std::min(firstFrom, MoveFrom(MoveList[i]));
    int before = 0;
    int above = 0;
    CountBeforeAndAbove(firstFrom, before, above);
    if (before < above)
        return false;
    // By square, then in the order of the piece's moves; all score 0.
    auto key = [this](EngineMove move) { return MoveFrom(move) * 4096 + OrderWithinPiece(move); };
    for (int i = begin + 1; i < end; ++i) {
        const EngineMove move = MoveList[i];
        int j = i;
        for (; j > begin && key(MoveList[j - 1]) > key(move); --j)
            MoveList[j] = MoveList[j - 1];
        MoveList[j] = move;
    }
    return true;
}

TChessEngine::TEvasion TChessEngine::EvadeCheck(int alpha, int beta) {
    // 1. The moves that answer the check, and the room the whole list would take, which the
    //    children's slices of the move stack start after.
    const int first = PlyFirst[Ply];
    int count = 0;
    const int end = first + GenerateEvasions(count);
    if (count > MoveStackSize - first)
        return {false, alpha, false, PvMoveBonus * 2, -1}; // the whole list is cut short there
    PlyEnd[Ply] = first + count;
    PlyFirst[Ply + 1] = first + count;
    MostMovesSeen = std::max(MostMovesSeen, PlyEnd[Ply]);
    // 2. Picking from the whole list takes the highest score first, so evasions of different
    //    scores come in the order of their scores, whatever else the list holds.
    for (int i = first + 1; i < end; ++i) {
        const EngineMove move = MoveList[i];
        const int score = MoveScore[i];
        int j = i;
        for (; j > first && MoveScore[j - 1] < score; --j) {
            MoveList[j] = MoveList[j - 1];
            MoveScore[j] = MoveScore[j - 1];
        }
        MoveList[j] = move;
        MoveScore[j] = score;
    }
    // 3. Evasions of equal scores come in an order that depends on the rest of the list:
    //    from the first of them on, the whole list is searched, unless their order is known.
    bool legalMove = false;
    bool ordered = false;
    for (int i = first; i < end; ++i) {
        if (!ordered && i + 1 < end && MoveScore[i + 1] == MoveScore[i]) {
            if (!PutInListOrder(i, end))
                return {false, alpha, legalMove, MoveScore[i], end - i};
            ordered = true;
        }
        const EngineMove move = MoveList[i];
        if (MoveFlags(move) & FlagEnPassant) {
            if (!MakeEngineMove(move)) // a capture that leaves the check
                continue;
        } else {
            MakeLegalMove(move, -1);
        }
        legalMove = true;
        const int x = -CaptureSearch(-beta, -alpha);
        TakeBackMove();
        if (CutsOff(x, alpha, beta, move))
            return {true, beta, true, 0, 0};
    }
    return {true, legalMove ? alpha : Ply - MateScore, legalMove, 0, 0};
}
