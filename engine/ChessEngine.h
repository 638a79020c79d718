// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The computer player: alpha-beta in iterations of growing depth over TEngineBoard, with a
// capture search at the leaves, a one-ply extension in check, principal-variation and
// history ordering, and an evaluation from piece-square values prepared once per search.
// The engine thread holds one of these and calls ComputeMove; another thread may set
// StopRequested at any time to end the search quickly.

#include "engine/EngineBoard.h"
#include "engine/MovePicking.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <utility>

class TChessEngine : public TEngineBoard {
public:
    // The deepest the board lets a person choose; a search started with more iterates on
    // while it is not stopped, up to DeepestSearch, where the ply tables end.
    static constexpr int MaxSearchDepth = 8;
    static constexpr int DeepestSearch = MaxPly - 1;
    static constexpr int MateScore = 10000;
    // Evaluate never leaves -EvaluationBound..EvaluationBound: every score then stays inside
    // the root window -MateScore..MateScore, so a root with a legal move always leaves one of
    // its moves as the result, and a mate (at most 64 plies away) outranks any material.
    static constexpr int EvaluationBound = 9000;
    // The moves to a mate a score tells of: N > 0 when the side to move mates in N, -N when
    // it is mated in N, 0 for a score that is no mate. A mate found at ply p scores
    // MateScore - p for the side that mates.
    static constexpr int MateMoves(int score) {
        if (score > MateScore - 200)
            return (MateScore - score + 1) / 2;
        if (score < -MateScore + 200)
            return -((MateScore + score + 1) / 2);
        return 0;
    }

    TChessEngine();

    // Set by another thread; the search reads it at every node, before every move of a
    // full-width node and between iterations.
    std::atomic<bool> StopRequested{false};
    // Called on the searching thread after each iteration that ran to its end, with its depth
    // and score; the principal variation, node count and best move are then those of it.
    std::function<void(int depth, int score)> OnIteration;

    // One whole search of the position; answers PvTable[0][0], which a position without a
    // legal move leaves as an earlier search left it.
    EngineMove ComputeMove(const TEnginePosition& position);

    // Square values of every piece on every square, for the current (root) position.
    void PrepareEvaluation();
    // Static score of the current position for the side to move.
    int Evaluate() const;
    int SearchNode(int alpha, int beta, int depth);
    int CaptureSearch(int alpha, int beta);
    // The capture search's node with the side to move in check.
    int SearchEvasions(int alpha, int beta);

    // The result of the last search.
    EngineMove BestMove() const { return PvTable[0][0]; }
    int PvMoveCount() const { return PvLength[0]; }
    EngineMove PvMove(int index) const { return PvTable[0][index]; }
    int Score() const { return LastScore; }
    int CompletedDepth() const { return LastDepth; }
    // Entries of SearchNode and CaptureSearch.
    std::uint64_t Nodes() const { return NodeCount; }
    // The deepest ply a node was entered at, and the most move-stack entries in use.
    int DeepestPly() const { return DeepestPlySeen; }
    int MostMovesStacked() const { return MostMovesSeen; }
    int SquareValueOf(int colour, int piece, int square) const {
        return SquareValue[colour][piece][square];
    }

    // Raises the first move of this ply whose from- and to-square match the principal
    // variation's move at this ply above every other, and notes whether one was found.
    void MarkPvMove();
    // Swaps the first of the highest-scored entries from `index` on into `index`. Here, so
    // that the search loops take it in without a call.
    void PickBestMove(int index) { PickBest<false>(index); }
    // The same, by the 16-bit keys of MakePickKeys when Keyed.
    template <bool Keyed> void PickBest(int index) {
        const int best = Keyed ? FirstHighestKey(PickKey, index, PlyEnd[Ply])
                               : FirstHighest(MoveScore, index, PlyEnd[Ply]);
        SwapEntries(index, best);
        if constexpr (Keyed)
            std::swap(PickKey[index], PickKey[best]);
    }
    // Two entries of the move stack, moves and scores.
    void SwapEntries(int a, int b) {
        std::swap(MoveList[a], MoveList[b]);
        std::swap(MoveScore[a], MoveScore[b]);
    }

private:
    // Picking through a whole list: once the move picked holds the list's lowest score, the
    // moves after it hold it too and stay in their order, and picking stops.
    struct TPicking {
        // Over the list the ply holds now, or (`whole` false) over one generated later, when
        // Start is called.
        explicit TPicking(TChessEngine& engine, bool whole = true) : Engine(engine) {
            if (whole)
                Start();
        }
        void Start() {
            const int first = Engine.PlyFirst[Engine.Ply];
            const int end = Engine.PlyEnd[Engine.Ply];
            Lowest = first < end ? LowestScore(Engine.MoveScore, first, end) : 0;
        }
        void Pick(int index, bool keyed) {
            if (Settled)
                return;
            if (keyed)
                Engine.PickBest<true>(index);
            else
                Engine.PickBestMove(index);
            Settled = Engine.MoveScore[index] == Lowest;
        }
        TChessEngine& Engine;
        std::int32_t Lowest = 0;
        bool Settled = false;
    };
    // Gives every move of this ply a 16-bit key in the order of its score, and answers true,
    // or answers false when some score has none: picking by the keys, eight at a time, picks
    // the very same moves. History counts keep their value, captures and promotions come
    // above them and the principal variation's move above all.
    bool MakePickKeys();
    // Picking from the captures alone, generated first by GenerateCapturesFirst (`captures`
    // of them): the best goes first, as picking from the whole list would put it.
    void PickFirstCapture(int captures);
    // The whole list behind the first move, once it has been searched: generated, its
    // entries in the order picking would have left them, and its keys made (answers as
    // MakePickKeys).
    bool CompleteList();
    std::int16_t PickKey[MoveStackSize];

    // The pawn terms of each side and the files holding its pawns, bit f for file f (a = 0),
    // stored by the pawns of both sides. They depend on nothing else, and the same pawn
    // structures come back again and again in a search. Emptied when the square values change.
    // An entry fills half a cache line and never straddles two: nearly every evaluation
    // reads one, from a store too large for the nearest cache. 16 K entries (512 KB): a deep
    // search meets tens of thousands of pawn structures, and each one counted anew costs
    // more than the store's reads.
    struct alignas(32) TPawnTerms {
        std::uint64_t Pawns[2];
        std::int32_t Score[2];
        std::uint8_t Files[2];
        bool Known;
    };
    static_assert(sizeof(TPawnTerms) == 32);
    static constexpr int PawnStoreBits = 14;
    mutable TPawnTerms PawnStore[1 << PawnStoreBits];

    // A node this deep, or with this little room left on the move stack, is scored
    // statically: its moves could not be stored.
    bool AtSearchLimit() const {
        return Ply >= MaxPly - 1 || PlyFirst[Ply] > MoveStackSize - MoveReserve;
    }
    void NoteNode() {
        ++NodeCount;
        if (Ply > DeepestPlySeen)
            DeepestPlySeen = Ply;
    }
    void UpdatePv(EngineMove move);
    // After a child of the capture search scored `x`: true when it reaches beta; otherwise
    // alpha rises to it when it is above, with the move first in this ply's line.
    [[gnu::always_inline]] bool CutsOff(int x, int& alpha, int beta, EngineMove move) {
        if (x <= alpha)
            return false;
        if (x >= beta)
            return true;
        alpha = x;
        UpdatePv(move);
        return false;
    }
    // Evaluate's body, which the capture search takes in without a call, for the side to
    // move or for the given side.
    [[gnu::always_inline]] int StaticScore() const { return StaticScoreFor(ActiveSide); }
    int StaticScoreFor(int side) const;
    // Everything of the static score but the running sums: each side's pawn and rook terms.
    void StructureTerms(int structure[2]) const;
    // The static score for `side` from the running sums and those terms.
    static int ScoreFrom(int side, const int sums[2], const int structure[2]);
    // What the capture search after a move would find before it searches anything: whether
    // the move is legal, whether it gives check, and whether the static score from the
    // opponent's side reaches `childBeta`, so that the child would stand pat at once and
    // change nothing but the node count. Unknown for the rare moves it leaves to
    // MakeEngineMove. `structure` holds the pawn and rook terms of the board before the move;
    // those after it are left in ForecastStructure for Quiet and StandsPat.
    enum class TForecast : std::uint8_t { Unknown, Illegal, Check, Quiet, StandsPat };
    [[gnu::always_inline]] TForecast ForecastChild(EngineMove move, int childBeta,
                                                   const int structure[2]);
    // Whether ForecastChild may be asked about the children of this node: one king a side,
    // a parent that is no root (whose opponent might stand in check already) and children
    // that are searched (not stopped, not at the end of the tables).
    bool ForecastAllowed() const {
        return Tally.KingCount[ColourWhite] == 1 && Tally.KingCount[ColourBlack] == 1 && Ply != 0 &&
               Ply + 1 < MaxPly - 1 && PlyEnd[Ply] <= MoveStackSize - MoveReserve;
    }
    // Makes a move that ForecastChild found legal and, for a child out of check, hands its
    // capture search the pawn and rook terms when it is entered, `entries` nodes on; any
    // other move is left to MakeEngineMove.
    [[gnu::always_inline]] bool MakeForecastMove(EngineMove move, TForecast forecast, int entries) {
        if (forecast != TForecast::Quiet && forecast != TForecast::Check)
            return MakeEngineMove(move);
        MakeLegalMove(move, forecast == TForecast::Check ? 1 : 0);
        if (forecast == TForecast::Quiet)
            ForecastNode = NodeCount + entries;
        return true;
    }
    // In check in the capture search: the evasions searched in the order picking from the
    // whole list would give them, as long as their scores tell it. Done, with the node's
    // value; or not, with alpha, whether a legal move was searched, and the score above
    // which every move was searched.
    struct TEvasion {
        bool Done;
        int Value;
        bool LegalMove;
        int SearchedAbove;
        int Remaining; // the evasions not searched yet, -1 when they are not known
    };
    TEvasion EvadeCheck(int alpha, int beta);
    // Puts the evasions in [begin, end), which score alike, in the order picking from the
    // whole list would search them, and answers true, or answers false when that order
    // depends on the rest of the list.
    bool PutInListOrder(int begin, int end);
    int ForecastStructure[2] = {0, 0};
    std::uint64_t ForecastNode = 0;
    // The node count and deepest ply of a child that stood pat without being made, entered
    // `entries` times (a full-width leaf enters the capture search from the node search).
    void NoteStandingChild(int entries) {
        NodeCount += entries;
        if (Ply + 1 > DeepestPlySeen)
            DeepestPlySeen = Ply + 1;
        PvLength[Ply + 1] = Ply + 1;
    }
    // The stored pawn terms of the board's pawns, counted first if need be.
    const TPawnTerms& PawnTerms() const;
    // Fills the entry for the board's pawns; out of the way of the evaluation, which finds
    // the stored terms some 24 times in 25.
    [[gnu::cold]] void CountPawnTerms(TPawnTerms& terms) const;
    // CountPawnTerms for either instruction set.
    void CountPawnTermsPlain(TPawnTerms& terms) const;
    void CountPawnTermsWithHardware(TPawnTerms& terms) const;
    template <bool Hardware> void CountPawnTermsBody(TPawnTerms& terms) const;

    // More than the pseudo-legal moves of any position with at most sixteen pieces a side;
    // AddMove drops whatever still finds no room.
    static constexpr int MoveReserve = 400;

    EngineMove PvTable[MaxPly][MaxPly];
    std::int32_t PvLength[MaxPly];
    bool InPvLine = false;
    std::int32_t SearchDepth = 1;

    std::uint64_t NodeCount = 0;
    int DeepestPlySeen = 0;
    int MostMovesSeen = 0;
    int LastScore = 0;
    int LastDepth = 0;
};
