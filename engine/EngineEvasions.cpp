// SPDX-License-Identifier: GPL-3.0-or-later
// Out of check in the capture search: the moves MakeEngineMove accepts there, found without
// generating the rest, and the number of entries the whole pseudo-legal list would take.
#include "engine/EngineBoard.h"

#include "engine/BitCount.h"
#include "engine/EngineTables.h"

#include <bit>
#include <cstdint>

using namespace EngineTables;

namespace {

constexpr std::uint64_t FileA = 0x0101010101010101;
constexpr std::uint64_t FileH = FileA << 7;
constexpr std::uint64_t Rank8 = 0xff;
constexpr std::uint64_t Rank1 = Rank8 << 56;
constexpr std::uint64_t Rank7 = Rank8 << 8;
constexpr std::uint64_t Rank2 = Rank8 << 48;

// The number of squares in a set: one instruction where CORVINA_HARDWARE_COUNT builds for
// it, a few dozen on the plain instruction set.
inline int Count(std::uint64_t x) {
    return std::popcount(x);
}

using BitCount::HardwareCount;

} // namespace

[[gnu::always_inline]] inline TEngineBoard::TPawnTargets TEngineBoard::PawnTargets() const {
    const bool white = ActiveSide == ColourWhite;
    const std::uint64_t enemy = Occupied[OtherSide];
    const std::uint64_t empty = ~(Occupied[ColourWhite] | Occupied[ColourBlack]);
    const std::uint64_t pawns = Pieces[ActiveSide][PiecePawn] & ~(white ? Rank8 : Rank1);
    TPawnTargets p;
    if (white) {
        p.TowardsA = ((pawns & ~FileA) >> 9) & enemy;
        p.TowardsH = ((pawns & ~FileH) >> 7) & enemy;
        p.Step = (pawns >> 8) & empty;
        p.Twice = ((((pawns & Rank2) >> 8) & empty) >> 8) & empty;
    } else {
        p.TowardsA = ((pawns & ~FileA) << 7) & enemy;
        p.TowardsH = ((pawns & ~FileH) << 9) & enemy;
        p.Step = (pawns << 8) & empty;
        p.Twice = ((((pawns & Rank7) << 8) & empty) << 8) & empty;
    }
    return p;
}

// En passant captures, by one pawn or two.
int TEngineBoard::EnPassantEntries() const {
    if (EpSquare == -1)
        return 0;
    const bool white = ActiveSide == ColourWhite;
    const int file = EpSquare % 8;
    const int left = white ? EpSquare + 7 : EpSquare - 9;
    const int right = white ? EpSquare + 9 : EpSquare - 7;
    return static_cast<int>(file != 0 && SquareColour[left] == ActiveSide &&
                            SquarePiece[left] == PiecePawn) +
           static_cast<int>(file != 7 && SquareColour[right] == ActiveSide &&
                            SquarePiece[right] == PiecePawn);
}

template <bool WithSliders> [[gnu::always_inline]] inline int TEngineBoard::CountMovesBody() const {
    const int mover = ActiveSide;
    const bool white = mover == ColourWhite;
    const std::uint64_t own = Occupied[mover];
    const std::uint64_t enemy = Occupied[OtherSide];
    const std::uint64_t occupied = own | enemy;
    const std::uint64_t* pieces = Pieces[mover];
    int total = 0;
    // Steps of kings and knights, and the reach of sliders, onto empty or enemy squares; one
    // entry for each castling right.
    for (std::uint64_t k = pieces[PieceKing]; k != 0; k &= k - 1)
        total += Count(SquareMasks[std::countr_zero(k)].King & ~own);
    const int rights = white ? CastleWhiteKingSide | CastleWhiteQueenSide
                             : CastleBlackKingSide | CastleBlackQueenSide;
    total += Count(static_cast<std::uint64_t>(CastleRights & rights));
    for (std::uint64_t n = pieces[PieceKnight]; n != 0; n &= n - 1)
        total += Count(SquareMasks[std::countr_zero(n)].Knight & ~own);
    if constexpr (WithSliders) {
        for (std::uint64_t b = pieces[PieceBishop]; b != 0; b &= b - 1)
            total += Count(SliderReach<PieceBishop>(std::countr_zero(b), occupied) & ~own);
        for (std::uint64_t r = pieces[PieceRook]; r != 0; r &= r - 1)
            total += Count(SliderReach<PieceRook>(std::countr_zero(r), occupied) & ~own);
        for (std::uint64_t q = pieces[PieceQueen]; q != 0; q &= q - 1)
            total += Count(SliderReach<PieceQueen>(std::countr_zero(q), occupied) & ~own);
    }
    // Pawns: steps, double steps and captures, four entries for each move onto the last
    // rank; a pawn already on its last rank has none.
    const TPawnTargets p = PawnTargets();
    total += Count(p.TowardsA) + Count(p.TowardsH) + Count(p.Step) + Count(p.Twice);
    if (const std::uint64_t last = (p.TowardsA | p.TowardsH | p.Step) & (white ? Rank8 : Rank1))
        total += 3 * (Count(p.TowardsA & last) + Count(p.TowardsH & last) + Count(p.Step & last));
    return total + EnPassantEntries();
}

int TEngineBoard::CountMoves() const {
    return HardwareCount ? CountMovesWithHardware() : CountMovesPlain();
}

int TEngineBoard::CountMovesPlain() const {
    return CountMovesBody<true>();
}

CORVINA_HARDWARE_COUNT int TEngineBoard::CountMovesWithHardware() const {
    return CountMovesBody<true>();
}

std::uint64_t TEngineBoard::ReachAround(int king) const {
    // The other side's pieces, set by set; sliders only when their lines meet the steps, and
    // over the board without the king, which would otherwise hide the squares behind it.
    const std::uint64_t* pieces = Pieces[OtherSide];
    const std::uint64_t steps = SquareMasks[king].King;
    const std::uint64_t occupied =
        (Occupied[ColourWhite] | Occupied[ColourBlack]) & ~(std::uint64_t{1} << king);
    const std::uint64_t pawns = pieces[PiecePawn];
    std::uint64_t reach = OtherSide == ColourWhite
                              ? ((pawns & ~FileA) >> 9) | ((pawns & ~FileH) >> 7)
                              : ((pawns & ~FileA) << 7) | ((pawns & ~FileH) << 9);
    for (std::uint64_t k = pieces[PieceKing]; k != 0; k &= k - 1)
        reach |= SquareMasks[std::countr_zero(k)].King;
    for (std::uint64_t n = pieces[PieceKnight]; n != 0; n &= n - 1)
        reach |= SquareMasks[std::countr_zero(n)].Knight;
    for (std::uint64_t b = pieces[PieceBishop] | pieces[PieceQueen]; b != 0; b &= b - 1)
        if (const int s = std::countr_zero(b); SquareMasks[s].Diagonal & steps)
            reach |= SliderReach<PieceBishop>(s, occupied);
    for (std::uint64_t r = pieces[PieceRook] | pieces[PieceQueen]; r != 0; r &= r - 1)
        if (const int s = std::countr_zero(r); SquareMasks[s].Straight & steps)
            reach |= SliderReach<PieceRook>(s, occupied);
    return reach & steps;
}

int TEngineBoard::GenerateEvasions(int& count) {
    return HardwareCount ? GenerateEvasionsWithHardware(count) : GenerateEvasionsPlain(count);
}

int TEngineBoard::GenerateEvasionsPlain(int& count) {
    return GenerateEvasionsBody(count);
}

CORVINA_HARDWARE_COUNT int TEngineBoard::GenerateEvasionsWithHardware(int& count) {
    return GenerateEvasionsBody(count);
}

// The sliders' reach, worked out once for the count and the evasions together.
[[gnu::always_inline]] inline int TEngineBoard::GenerateEvasionsBody(int& count) {
    count = CountMovesBody<false>();
    const int mover = ActiveSide;
    const int other = OtherSide;
    const bool white = mover == ColourWhite;
    const std::uint64_t own = Occupied[mover];
    const std::uint64_t occupied = own | Occupied[other];
    const std::uint64_t* pieces = Pieces[mover];
    const int king = Tally.KingSquare[mover];
    if (AnswerCache[Ply] == AllSquares)
        AnswerCache[Ply] = CheckAnswers();
    const std::uint64_t answers = AnswerCache[Ply];
    const int first = PlyFirst[Ply];
    int end = first;
    auto add = [&](int from, int to, int flags, int score) {
        MoveList[end] = PackMove(from, to, 0, flags);
        MoveScore[end++] = score;
    };
    auto addStep = [&](int from, int to, int piece) {
        if (SquareColour[to] == ColourEmpty)
            add(from, to, 0, HistoryScore[from][to]);
        else
            add(from, to, FlagCapture, CaptureScore(piece, SquarePiece[to]));
    };

    // 1. The king's steps to squares no piece reaches once it has left its own; castling
    //    is never allowed in check.
    for (std::uint64_t t = SquareMasks[king].King & ~own & ~ReachAround(king); t != 0; t &= t - 1)
        addStep(king, std::countr_zero(t), PieceKing);
    // 2. Knights and sliders onto the checker or between it and the king, unless that
    //    uncovers the king; every slider's entries are counted, in a double check too.
    if (answers != 0) {
        for (std::uint64_t n = pieces[PieceKnight]; n != 0; n &= n - 1) {
            const int s = std::countr_zero(n);
            for (std::uint64_t t = SquareMasks[s].Knight & answers; t != 0; t &= t - 1) {
                const int to = std::countr_zero(t);
                if (!PinnedAway(king, s, to, occupied))
                    addStep(s, to, PieceKnight);
            }
        }
    }
    auto sliders = [&](std::uint64_t set, auto reachOf, int piece) __attribute__((always_inline)) {
        for (; set != 0; set &= set - 1) {
            const int s = std::countr_zero(set);
            const std::uint64_t reach = reachOf(s);
            count += Count(reach & ~own);
            for (std::uint64_t t = reach & answers; t != 0; t &= t - 1) {
                const int to = std::countr_zero(t);
                if (!PinnedAway(king, s, to, occupied))
                    addStep(s, to, piece);
            }
        }
    };
    sliders(
        pieces[PieceBishop], [&](int s) { return SliderReach<PieceBishop>(s, occupied); },
        PieceBishop);
    sliders(
        pieces[PieceRook], [&](int s) { return SliderReach<PieceRook>(s, occupied); }, PieceRook);
    sliders(
        pieces[PieceQueen], [&](int s) { return SliderReach<PieceQueen>(s, occupied); },
        PieceQueen);
    if (answers == 0) // a double check
        return end - first;

    // 3. Pawns: steps, double steps and captures; four entries for a move onto the last rank.
    const TPawnTargets p = PawnTargets();
    const std::uint64_t last = white ? Rank8 : Rank1;
    auto pawnMoves = [&](std::uint64_t targets, int shift, int flags)
        __attribute__((always_inline)) {
        for (std::uint64_t t = targets & answers; t != 0; t &= t - 1) {
            const int to = std::countr_zero(t);
            const int from = to + shift;
            if (PinnedAway(king, from, to, occupied))
                continue;
            if ((last >> to) & 1) {
                for (int code = PieceKnight; code <= PieceQueen; ++code) {
                    MoveList[end] = PackMove(from, to, code, flags | FlagPromotion);
                    MoveScore[end++] = PromotionScore(code);
                }
            } else if (flags & FlagCapture) {
                add(from, to, flags, CaptureScore(PiecePawn, SquarePiece[to]));
            } else {
                add(from, to, flags, HistoryScore[from][to]);
            }
        }
    };
    const int forward = white ? 8 : -8;
    pawnMoves(p.TowardsA, white ? 9 : -7, FlagPawnMove | FlagCapture);
    pawnMoves(p.TowardsH, white ? 7 : -9, FlagPawnMove | FlagCapture);
    pawnMoves(p.Step, forward, FlagPawnMove);
    pawnMoves(p.Twice, 2 * forward, FlagPawnMove | FlagDoubleStep);
    // 4. En passant, which MakeEngineMove tests in full: the pawn taken may be the checker.
    if (EpSquare != -1) {
        const int file = EpSquare % 8;
        const int flags = FlagPawnMove | FlagEnPassant | FlagCapture;
        const int left = white ? EpSquare + 7 : EpSquare - 9;
        const int right = white ? EpSquare + 9 : EpSquare - 7;
        if (file != 0 && SquareColour[left] == mover && SquarePiece[left] == PiecePawn)
            add(left, EpSquare, flags, CaptureScore(PiecePawn, PieceEmpty));
        if (file != 7 && SquareColour[right] == mover && SquarePiece[right] == PiecePawn)
            add(right, EpSquare, flags, CaptureScore(PiecePawn, PieceEmpty));
    }
    return end - first;
}

void TEngineBoard::CountBeforeAndAbove(int square, int& before, int& above) const {
    // Piece by piece in the order GenerateMoves takes them, each with its entries and how
    // many of them are captures, promotions or quiet moves with a history count.
    const int mover = ActiveSide;
    const bool white = mover == ColourWhite;
    const std::uint64_t own = Occupied[mover];
    const std::uint64_t enemy = Occupied[OtherSide];
    const std::uint64_t occupied = own | enemy;
    before = 0;
    above = 0;
    auto note = [&](int s, std::uint64_t targets) {
        if (s < square)
            before += Count(targets);
        above += Count(targets & enemy) + Count(targets & ~enemy & HistoryTargets[s]);
    };
    for (std::uint64_t set = own; set != 0; set &= set - 1) {
        const int s = std::countr_zero(set);
        switch (SquarePiece[s]) {
        case PiecePawn: {
            // A pawn's steps and captures; four entries, all promotions, onto the last rank.
            if (white ? s < 8 : s >= SquareA1)
                break;
            const int ahead = white ? -8 : 8;
            const int file = s % 8;
            std::uint64_t targets = 0;
            if (file != 0 && SquareColour[s + ahead - 1] == OtherSide)
                targets |= std::uint64_t{1} << (s + ahead - 1);
            if (file != 7 && SquareColour[s + ahead + 1] == OtherSide)
                targets |= std::uint64_t{1} << (s + ahead + 1);
            if (SquareColour[s + ahead] == ColourEmpty) {
                targets |= std::uint64_t{1} << (s + ahead);
                const bool home = white ? s >= 48 && s < SquareA1 : s >= 8 && s <= 15;
                if (home && SquareColour[s + 2 * ahead] == ColourEmpty)
                    targets |= std::uint64_t{1} << (s + 2 * ahead);
            }
            if (targets & (white ? Rank8 : Rank1)) {
                if (s < square)
                    before += 4 * Count(targets);
                above += 4 * Count(targets);
            } else {
                note(s, targets);
            }
            break;
        }
        case PieceKnight:
            note(s, SquareMasks[s].Knight & ~own);
            break;
        case PieceKing:
            note(s, SquareMasks[s].King & ~own);
            break;
        case PieceBishop:
            note(s, SliderReach<PieceBishop>(s, occupied) & ~own);
            break;
        case PieceRook:
            note(s, SliderReach<PieceRook>(s, occupied) & ~own);
            break;
        default:
            note(s, SliderReach<PieceQueen>(s, occupied) & ~own);
            break;
        }
    }
    // Castlings and en passant captures come after every piece's moves.
    const int king = white ? SquareE1 : SquareE8;
    const int kingSide = white ? CastleWhiteKingSide : CastleBlackKingSide;
    const int queenSide = white ? CastleWhiteQueenSide : CastleBlackQueenSide;
    if (CastleRights & kingSide)
        above += HistoryScore[king][king + 2] > 0;
    if (CastleRights & queenSide)
        above += HistoryScore[king][king - 2] > 0;
    above += EnPassantEntries();
}

int TEngineBoard::OrderWithinPiece(EngineMove move) const {
    const int from = MoveFrom(move);
    const int to = MoveTo(move);
    switch (SquarePiece[from]) {
    case PiecePawn: {
        // Captures towards the a-file, towards the h-file, the step, the double step; the
        // promotions of one move from the knight up.
        const int step = ActiveSide == ColourWhite ? from - to : to - from;
        const int file = to % 8 - from % 8;
        const int kind = step == 16 ? 3 : (file == 0 ? 2 : (file < 0 ? 0 : 1));
        return kind * 8 + MovePromote(move);
    }
    case PieceKnight:
    case PieceKing:
        return to; // the steps' targets in square order
    default: {
        // Ray by ray in the slider's order, nearest square first.
        const int piece = SquarePiece[from];
        const int* rays =
            piece == PieceBishop ? BishopRays : (piece == PieceRook ? RookRays : QueenRays);
        const int d = RayTowards[from][to];
        int r = 0;
        while (rays[r] != d)
            ++r;
        return r * 64 + (d < 4 ? from - to : to - from);
    }
    }
}
