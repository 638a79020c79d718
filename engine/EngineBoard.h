// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's own board: two 64-entry arrays, the side to move, castling rights and en
// passant square, with pseudo-legal move generation into one shared move stack and
// make/take-back of moves. MakeEngineMove tests a move's legality by making it; the evasions
// of a check are also found with the same tests without making them. Everything lives in
// fixed arrays; nothing here allocates.

#include "engine/EngineTables.h"
#include "engine/EngineTypes.h"

#include <algorithm>
#include <bit>
#include <cstdint>

class TEngineBoard {
public:
    static constexpr int MaxPly = 64;
    static constexpr int MoveStackSize = 4096;

    struct TStackedMove {
        EngineMove Move;
        std::int32_t Score; // ordering score: the highest is searched first
    };

    TEngineBoard();
    virtual ~TEngineBoard() = default;

    // Reads the board's placement, side, castling bits and en passant square; Ply 0.
    // Castling rights whose king or rook is not on its home square, and an en passant
    // square without the pawn that passed over it, are dropped.
    void LoadPosition(const TEnginePosition& position);

    // Pseudo-legal moves of the side to move into this ply's slice of the move stack.
    void GenerateMoves();
    // Captures, promotions and en passant captures only.
    void GenerateCaptures();
    // Out of check, the captures and promotions first, which every other move's score stays
    // below: GenerateCaptures' list, the entries of the whole list that score highest, in the
    // same order. Answers how many, with the room the whole list would take kept for it (the
    // children's slices start after it), or 0 when there are none or the whole list would
    // not fit; GenerateMoves makes the rest.
    int GenerateCapturesFirst();
    // Makes the move and answers true, or answers false (leaving the board as it was) when
    // it leaves the mover's king attacked or is a castling the position does not allow.
    bool MakeEngineMove(EngineMove move);
    // Taken into the search loops: it runs once for nearly every node.
    [[gnu::always_inline]] void TakeBackMove();
    // Makes a move that MakeEngineMove would accept and that is neither a castling nor an
    // en passant capture, without testing it; `givesCheck` (1 or 0) answers the opponent's
    // check test, -1 leaves it to be found.
    [[gnu::always_inline]] void MakeLegalMove(EngineMove move, int givesCheck) {
        PlayMove(move);
        CheckCache[Ply] = static_cast<signed char>(givesCheck);
    }
    bool SideInCheck(int colour) const;
    // SideInCheck(side to move), computed once per position of a ply.
    bool ActiveInCheck() {
        if (CheckCache[Ply] < 0)
            CheckCache[Ply] = CheckByLastMove() ? 1 : 0;
        return CheckCache[Ply] != 0;
    }
    bool SquareAttacked(int square, int byColour) const;
    // With the side to move in check: whether MakeEngineMove refuses the move for leaving
    // the check unanswered, which it tests first.
    bool LeavesCheck(EngineMove move) {
        return Tally.KingCount[ActiveSide] == 1 && SquarePiece[MoveFrom(move)] != PieceKing &&
               !(MoveFlags(move) & FlagEnPassant) && !AnswersEveryCheck(MoveTo(move));
    }

    // With the side to move in check and one king: the moves of this ply that MakeEngineMove
    // may accept, into the ply's slice of the move stack with the scores GenerateMoves gives
    // them, in no particular order; answers how many. `count` receives the number of entries
    // GenerateMoves would make. Every king step and move of another piece is tested as
    // MakeEngineMove tests it; en passant captures are left to it.
    int GenerateEvasions(int& count);
    // The entries of GenerateMoves' list that come before the first one of the piece on
    // `square`, and those of the whole list that score above 0.
    void CountBeforeAndAbove(int square, int& before, int& above) const;
    // The order GenerateMoves gives the moves of one piece: a move with a lower key comes first.
    int OrderWithinPiece(EngineMove move) const;
    // The number of entries GenerateMoves makes, counted without making them.
    int CountMoves() const;

    // Leaf count of the move generation to `depth`: the moves of every ply but the last are
    // made and taken back, those of the last ply are counted (LegalMoveCount).
    std::uint64_t Perft(int depth);
    // The number of moves of the side to move that MakeEngineMove accepts, most of them
    // found legal without being made.
    int LegalMoveCount();

    int KingsOf(int colour) const { return Tally.KingCount[colour]; }
    int ColourAt(int square) const { return SquareColour[square]; }
    int PieceAt(int square) const { return SquarePiece[square]; }
    int SideToMove() const { return ActiveSide; }
    int Castling() const { return CastleRights; }
    int EnPassantSquare() const { return EpSquare; }
    int CurrentPly() const { return Ply; }
    int FirstMoveIndex() const { return PlyFirst[Ply]; }
    int EndMoveIndex() const { return PlyEnd[Ply]; }
    TStackedMove StackedMove(int index) const { return {MoveList[index], MoveScore[index]}; }
    int History(int from, int to) const { return HistoryScore[from][to]; }

protected:
    // The move generators write from the move stack entry `end` on and answer the entry
    // after their last; the ply's end is stored once a whole generation is done. Always
    // taken in: with constant flags most of it folds away, and a call costs more than it.
    [[gnu::always_inline]] int AddMove(int end, int from, int to, int flags) {
        if ((flags & FlagPawnMove) && (ActiveSide == ColourWhite ? to < 8 : to >= SquareA1))
            return AddPromotions(end, from, to, flags);
        return PushMove(end, from, to, flags,
                        (flags & FlagCapture) ? CaptureScore(SquarePiece[from], SquarePiece[to])
                                              : HistoryScore[from][to]);
    }
    int AddPromotions(int end, int from, int to, int flags);
    // Every change of a square goes through these two, which keep the occupancy bits, the
    // king squares and the evaluation's running sum in step with the board.
    void RemovePiece(int square) {
        const int colour = SquareColour[square];
        const int piece = SquarePiece[square];
        Occupied[colour] &= ~(std::uint64_t{1} << square);
        Pieces[colour][piece] &= ~(std::uint64_t{1} << square);
        Tally.ValueSum[colour] -= SquareValue[colour][piece][square];
        SquareColour[square] = ColourEmpty;
        SquarePiece[square] = PieceEmpty;
        if (piece == PieceKing && --Tally.KingCount[colour] == 1)
            Tally.KingSquare[colour] = FindKing(colour);
    }
    void PlacePiece(int square, int colour, int piece) {
        SquareColour[square] = colour;
        SquarePiece[square] = piece;
        Occupied[colour] |= std::uint64_t{1} << square;
        Pieces[colour][piece] |= std::uint64_t{1} << square;
        Tally.ValueSum[colour] += SquareValue[colour][piece][square];
        if (piece == PieceKing && ++Tally.KingCount[colour] == 1)
            Tally.KingSquare[colour] = square;
    }
    // A piece of the side to move goes from an occupied square to an empty one.
    void ShiftPiece(int from, int to) {
        const int colour = SquareColour[from];
        const int piece = SquarePiece[from];
        const std::uint64_t bits = (std::uint64_t{1} << from) | (std::uint64_t{1} << to);
        Occupied[colour] ^= bits;
        Pieces[colour][piece] ^= bits;
        const std::int32_t* values = SquareValue[colour][piece];
        Tally.ValueSum[colour] += values[to] - values[from];
        SquareColour[to] = colour;
        SquarePiece[to] = piece;
        SquareColour[from] = ColourEmpty;
        SquarePiece[from] = PieceEmpty;
        if (piece == PieceKing && Tally.KingCount[colour] == 1)
            Tally.KingSquare[colour] = to;
    }
    // The changes of making a move, its undo record first; the tests are the caller's.
    [[gnu::always_inline]] void PlayMove(EngineMove move);
    // The rare halves of making and taking back a move, kept out of the common path: a
    // castling's rook moves, when the castling is allowed; the rook of a castling goes home
    // and the pawn taken en passant comes back.
    [[gnu::cold]] bool MoveCastlingRook(int kingTo);
    [[gnu::cold]] void TakeBackSecondPiece(int flags, int to);
    // Whether the piece of the side to move on `from`, moved to `to`, uncovers `king` to a
    // slider of the other side.
    bool PinnedAway(int king, int from, int to, std::uint64_t occupied) const {
        const int d = EngineTables::RayTowards[king][from];
        const std::uint64_t toBit = std::uint64_t{1} << to;
        const std::uint64_t nearest =
            EngineTables::NearestOnRay(king, d, (occupied & ~(std::uint64_t{1} << from)) | toBit);
        return (nearest & EngineTables::SlidersAlong(Pieces[OtherSide], d) & ~toBit) != 0;
    }
    // Whether a piece of the type and colour on `from` attacks `target` over `occupied`.
    bool PieceReaches(int piece, int colour, int from, int target, std::uint64_t occupied) const;
    // SideInCheck(side to move), from the last move where that suffices.
    bool CheckByLastMove() const;
    // The first square from a8 on holding a king of the colour, or -1.
    int FindKing(int colour) const;
    // Recomputes the running sums from the board, after SquareValue has changed.
    void RecountValues();

    // The kings and the running sums, kept in step with the squares by RemovePiece and
    // PlacePiece; one record, so that a move's undo record copies it whole.
    struct TTally {
        std::int32_t KingCount[2];  // kings of each colour
        std::int32_t KingSquare[2]; // the king's square, when the colour has exactly one
        std::int32_t ValueSum[2];   // SquareValue over the colour's pieces
    };
    // Besides what the move changed, the king bookkeeping and the running sums as they were
    // before it: taking the move back restores them instead of recounting them.
    struct TUndo {
        EngineMove Move;
        std::int8_t Captured; // piece code that stood on the to-square, 6 if empty
        std::int8_t CastleRights;
        std::int8_t EpSquare;
        TTally Tally;
    };

    std::int32_t SquareColour[64];
    std::int32_t SquarePiece[64];
    std::int32_t ActiveSide = ColourWhite;
    std::int32_t OtherSide = ColourBlack;
    std::int32_t CastleRights = 0;
    std::int32_t EpSquare = -1;
    std::int32_t Ply = 0;
    // The move stack, moves and their ordering scores side by side: picking the next move
    // scans the scores alone.
    EngineMove MoveList[MoveStackSize];
    // Three entries more, which picking reads past the end of a short list.
    std::int32_t MoveScore[MoveStackSize + 3];
    std::int32_t PlyFirst[MaxPly];
    std::int32_t PlyEnd[MaxPly];
    TUndo UndoStack[MaxPly];
    // Kept by from- and to-square; quiet moves are ordered by it. HistoryTargets[from] holds
    // the to-squares whose count is above 0.
    std::int32_t HistoryScore[64][64];
    std::uint64_t HistoryTargets[64];
    void AddHistory(int from, int to, int amount) {
        HistoryScore[from][to] += amount;
        HistoryTargets[from] |= std::uint64_t{1} << to;
        HistoryHigh = std::max(HistoryHigh, HistoryScore[from][to]);
    }
    // The highest history count; a long search could raise one to a capture's score.
    std::int32_t HistoryHigh = 0;
    void ClearHistory();
    // Value of a piece of a colour and type on a square, fixed for a whole search.
    std::int32_t SquareValue[2][6][64];

    // Kept in step with the two square arrays by RemovePiece and PlacePiece:
    std::uint64_t Occupied[2];  // bit s set: a piece of the colour on square s
    std::uint64_t Pieces[2][6]; // likewise by colour and piece type
    TTally Tally;
    // Whether the side to move at each ply is in check: -1 not known yet.
    signed char CheckCache[MaxPly];
    // At each ply where the side to move is in check, the squares a piece other than the
    // king may move to: the checker and the squares between it and the king, none in a
    // double check. AllSquares stands for not known yet.
    static constexpr std::uint64_t AllSquares = ~std::uint64_t{0};
    std::uint64_t AnswerCache[MaxPly];

private:
    template <bool CapturesOnly> void Generate();
    template <bool CapturesOnly> int GeneratePawn(int end, int square);
    // A pawn's captures, towards the a-file first: the squares a pawn of the side to move
    // attacks from `square` are those from which a pawn of the other side would attack it,
    // and the lower one comes first for either side.
    int AddPawnCaptures(int end, int square) {
        for (std::uint64_t targets =
                 EngineTables::SquareMasks[square].PawnFrom[OtherSide] & Occupied[OtherSide];
             targets != 0; targets &= targets - 1)
            end = AddMove(end, square, std::countr_zero(targets), FlagPawnMove | FlagCapture);
        return end;
    }
    // The pawns of the side to move that can take a piece or step onto the last rank (a
    // superset of those with a move in the capture list).
    std::uint64_t PawnsWithCaptures() const;
    // One per kind of slider, so that its rays are known when it is compiled.
    template <bool CapturesOnly, int Piece> int GenerateSliding(int end, int square);
    int PushMove(int end, int from, int to, int flags, int score) {
        if (end < MoveStackSize) {
            MoveList[end] = PackMove(from, to, 0, flags);
            MoveScore[end++] = score;
        }
        return end;
    }
    // The squares a slider on `s` reaches over empty squares, the first piece on each ray
    // included.
    template <int Piece> static std::uint64_t SliderReach(int s, std::uint64_t occupied) {
        if constexpr (Piece == PieceBishop)
            return EngineTables::DiagonalReach(s, occupied);
        else if constexpr (Piece == PieceRook)
            return EngineTables::StraightReach(s, occupied);
        else
            return EngineTables::DiagonalReach(s, occupied) |
                   EngineTables::StraightReach(s, occupied);
    }
    // The squares next to `king` (of the side to move) that a piece of the other side reaches
    // once the king has left its square.
    std::uint64_t ReachAround(int king) const;
    // CountMoves for either instruction set.
    int CountMovesPlain() const;
    int CountMovesWithHardware() const;
    template <bool WithSliders> int CountMovesBody() const;
    int EnPassantEntries() const;
    // GenerateEvasions for either instruction set.
    int GenerateEvasionsPlain(int& count);
    int GenerateEvasionsWithHardware(int& count);
    int GenerateEvasionsBody(int& count);
    // The target squares of the pawns of the side to move: captures towards the a-file and
    // towards the h-file, steps and double steps.
    struct TPawnTargets {
        std::uint64_t TowardsA, TowardsH, Step, Twice;
    };
    TPawnTargets PawnTargets() const;

    // Whether a slider of the other side now reaches `king` over the emptied `from`.
    bool AttackedThrough(int king, int from) const;
    // The pieces of `byColour` that attack the square.
    std::uint64_t AttackersOf(int square, int byColour) const;
    // Whether a piece other than the king landing on `to` takes or blocks every checker:
    // with the discovered lines through the from-square, the only way out of check.
    bool AnswersEveryCheck(int to) {
        if (AnswerCache[Ply] == AllSquares)
            AnswerCache[Ply] = CheckAnswers();
        return (AnswerCache[Ply] >> to & 1) != 0;
    }
    std::uint64_t CheckAnswers() const;
};

inline void TEngineBoard::TakeBackMove() {
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
    // The pieces go back by their bits alone; the sums and king squares come from the record.
    const int mover = ActiveSide;
    const int now = SquarePiece[to];
    const int before = (flags & FlagPromotion) ? PiecePawn : now;
    const std::uint64_t fromBit = std::uint64_t{1} << from;
    const std::uint64_t toBit = std::uint64_t{1} << to;
    Occupied[mover] ^= fromBit | toBit;
    Pieces[mover][now] ^= toBit;
    Pieces[mover][before] ^= fromBit;
    SquareColour[from] = mover;
    SquarePiece[from] = before;
    const int captured = undo.Captured;
    if (captured != PieceEmpty) {
        Occupied[OtherSide] |= toBit;
        Pieces[OtherSide][captured] |= toBit;
        SquareColour[to] = OtherSide;
        SquarePiece[to] = captured;
    } else {
        SquareColour[to] = ColourEmpty;
        SquarePiece[to] = PieceEmpty;
    }
    if (flags & (FlagCastle | FlagEnPassant))
        TakeBackSecondPiece(flags, to);
    Tally = undo.Tally;
}

inline void TEngineBoard::PlayMove(EngineMove move) {
    const int from = MoveFrom(move);
    const int to = MoveTo(move);
    const int flags = MoveFlags(move);
    const int captured = SquarePiece[to];
    TUndo& undo = UndoStack[Ply];
    undo.Move = move;
    undo.Captured = static_cast<std::int8_t>(captured);
    undo.CastleRights = static_cast<std::int8_t>(CastleRights);
    undo.EpSquare = static_cast<std::int8_t>(EpSquare);
    undo.Tally = Tally;
    ++Ply;
    CheckCache[Ply] = -1;
    AnswerCache[Ply] = AllSquares;
    CastleRights &= EngineTables::CastleKeepMask[from] & EngineTables::CastleKeepMask[to];
    const bool white = ActiveSide == ColourWhite;
    EpSquare = (flags & FlagDoubleStep) ? (white ? to + 8 : to - 8) : -1;
    if (captured != PieceEmpty)
        RemovePiece(to);
    if (flags & FlagPromotion) {
        RemovePiece(from);
        PlacePiece(to, ActiveSide, MovePromote(move));
    } else {
        ShiftPiece(from, to);
    }
    if (flags & FlagEnPassant) {
        const int passed = white ? to + 8 : to - 8;
        if (SquareColour[passed] != ColourEmpty)
            RemovePiece(passed);
    }
    ActiveSide = OtherSide;
    OtherSide = 1 - ActiveSide;
}
