// SPDX-License-Identifier: GPL-3.0-or-later
// The rules under fuzzed play: a decoded position, then half-moves (raw square pairs and picks
// from the legal list) mixed with navigation through the history.
//
// Properties:
//  - MakeMove plays a half-move exactly when IsLegalMove accepts it; a refused one changes
//    nothing; CanMove answers whether any legal half-move exists (repetition aside).
//  - A played half-move keeps every piece of the mover (a promotion swaps one), takes at most
//    one enemy piece, steps a pawn diagonally onto an empty square only to take the enemy pawn
//    behind the en passant square, changes no square but its own (and the castling rook's, or the
//    pawn an en passant capture takes), and never leaves the mover's king attacked (checked by the
//    engine's separate attack code).
//  - Navigation: GoToPosition, PreviousMove and NextMove reach exactly the slots of the line
//    played, each with the placement, side, castling and en passant square it had.
//  - The FEN round trip keeps placement, side, castling and en passant square.
#include "chess/ChessGame.h"
#include "chess/Fen.h"
#include "engine/EngineBoard.h"
#include "tests/fuzz/FuzzInput.h"

#include <memory>
#include <string>
#include <vector>

namespace {

struct TState {
    std::string Placement;
    bool WhiteToMove;
    int Castling;
    int EnPassant;
    int Move;
    bool operator==(const TState&) const = default;
};

TState StateOf(const TChessGame& g) {
    return {g.Position(), g.WhiteToMove(), static_cast<int>(g.CastlingAllowed()),
            ToInt(g.EnPassant()), g.CurrentMove()};
}

std::size_t SlotOf(int move, bool white) {
    return static_cast<std::size_t>(move - 1) * 2 + (white ? 0 : 1);
}

int CountColour(const std::string& placement, bool white) {
    int n = 0;
    for (char c : placement)
        n += c != ' ' && (c >= 'A' && c <= 'Z') == white;
    return n;
}

// Placement, side, castling and en passant: the fields a FEN carries into a game (the move
// number of a loaded FEN is not taken; a loaded game starts at move 1).
std::string FenFields(const std::string& fen) {
    std::size_t end = fen.size();
    for (int spaces = 0; spaces < 2 && end != std::string::npos; ++spaces)
        end = fen.rfind(' ', end - 1);
    return fen.substr(0, end);
}

void CheckFenRoundTrip(const TChessGame& game) {
    const std::string fen = ToFen(game);
    TChessGame copy;
    std::string error;
    FUZZ_CHECK(LoadFen(copy, fen, &error), "ToFen wrote \"%s\", which LoadFen refuses: %s",
               fen.c_str(), error.c_str());
    FUZZ_CHECK(FenFields(ToFen(copy)) == FenFields(fen), "\"%s\" came back as \"%s\"", fen.c_str(),
               ToFen(copy).c_str());
    FUZZ_CHECK(copy.Position() == game.Position() && copy.WhiteToMove() == game.WhiteToMove() &&
                   copy.CastlingAllowed() == game.CastlingAllowed() &&
                   copy.EnPassant() == game.EnPassant(),
               "FEN \"%s\" does not restore the game's fields", fen.c_str());
}

// The squares a played half-move may change besides its own two: the rook's when a king
// castles, the pawn's that an en passant capture takes.
bool MayChange(const TState& before, int from, int to, int square) {
    if (square == from || square == to)
        return true;
    const char piece = before.Placement[static_cast<std::size_t>(from - 1)];
    if ((piece == 'K' && from == ToInt(Square::E1)) || (piece == 'k' && from == ToInt(Square::E8)))
        if (to == from + 2 || to == from - 2)
            return square == (to > from ? from + 3 : from - 4) || square == (from + to) / 2;
    if ((piece == 'P' || piece == 'p') && to == before.EnPassant) {
        const int victim = piece == 'P' ? to + 8 : to - 8;
        return square == victim &&
               before.Placement[static_cast<std::size_t>(victim - 1)] == (piece == 'P' ? 'p' : 'P');
    }
    return false;
}

void CheckPlayed(const TState& before, const TChessGame& game, int from, int to,
                 TEngineBoard& attacks) {
    const std::string& after = game.Position();
    const bool white = before.WhiteToMove;
    FUZZ_CHECK(game.WhiteToMove() != white, "%d-%d was played but the side did not change", from,
               to);
    FUZZ_CHECK(CountColour(after, white) == CountColour(before.Placement, white),
               "%d-%d changed the mover's piece count: \"%s\" -> \"%s\"", from, to,
               before.Placement.c_str(), after.c_str());
    const int taken = CountColour(before.Placement, !white) - CountColour(after, !white);
    FUZZ_CHECK(taken == 0 || taken == 1, "%d-%d took %d pieces: \"%s\" -> \"%s\"", from, to, taken,
               before.Placement.c_str(), after.c_str());
    for (int s = 1; s <= 64; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        FUZZ_CHECK(after[i] == before.Placement[i] || MayChange(before, from, to, s),
                   "%d-%d changed square %d: \"%s\" -> \"%s\" (en passant %d)", from, to, s,
                   before.Placement.c_str(), after.c_str(), before.EnPassant);
    }
    // A pawn's diagonal step onto an empty square is an en passant capture: it takes the enemy
    // pawn that stands behind the en passant square, and nothing else is.
    const char piece = before.Placement[static_cast<std::size_t>(from - 1)];
    if ((piece == 'P' || piece == 'p') && (from - to) % 8 != 0 &&
        before.Placement[static_cast<std::size_t>(to - 1)] == ' ') {
        const int victim = piece == 'P' ? to + 8 : to - 8;
        FUZZ_CHECK(to == before.EnPassant &&
                       before.Placement[static_cast<std::size_t>(victim - 1)] ==
                           (piece == 'P' ? 'p' : 'P') &&
                       after[static_cast<std::size_t>(victim - 1)] == ' ',
                   "%d-%d stepped diagonally onto an empty square without an en passant capture: "
                   "\"%s\" -> \"%s\" (en passant %d)",
                   from, to, before.Placement.c_str(), after.c_str(), before.EnPassant);
    }
    const char king = white ? 'K' : 'k';
    int kings = 0;
    for (char c : after)
        kings += c == king;
    if (kings == 1) {
        attacks.LoadPosition({after, !white, 0, 0, 1});
        FUZZ_CHECK(!attacks.SideInCheck(white ? ColourWhite : ColourBlack),
                   "%d-%d left the mover's king attacked: \"%s\" -> \"%s\"", from, to,
                   before.Placement.c_str(), after.c_str());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto attacks = std::make_unique<TEngineBoard>();
    TFuzzBytes in(data, size);
    TChessGame game;
    SetUpGame(game, DecodePosition(in));
    CheckFenRoundTrip(game);

    // The line played so far by slot index; valid from `first` to `last` once a move is made.
    std::vector<TState> line(2);
    std::size_t first = game.WhiteToMove() ? 0 : 1;
    std::size_t last = first;
    bool played = false;

    for (int step = 0; step < 96 && !in.Empty(); ++step) {
        const TState before = StateOf(game);
        const std::size_t here = SlotOf(before.Move, before.WhiteToMove);
        const int op = in.Byte();
        if (op < 0xE0) {
            int from = 0;
            int to = 0;
            const auto legal = game.LegalMoves();
            // CanMove leaves repetition aside (the caller judges a threefold placement on its
            // own); while one stands, no half-move is legal.
            FUZZ_CHECK(game.IsThreefold() ? legal.empty() : game.CanMove() == !legal.empty(),
                       "CanMove says %d, %zu legal moves, threefold %d", game.CanMove(),
                       legal.size(), game.IsThreefold());
            if (op % 4 != 0 && !legal.empty()) {
                const auto& m = legal[static_cast<std::size_t>(in.Byte()) % legal.size()];
                from = ToInt(m.first);
                to = ToInt(m.second);
            } else {
                from = 1 + in.Below(64);
                to = 1 + in.Below(64);
            }
            game.SetPromotionPiece("qrbnQxk "[in.Below(8)]);
            const bool legalNow =
                game.IsLegalMove(static_cast<Square>(from), static_cast<Square>(to));
            const bool made = game.MakeMove(static_cast<Square>(from), static_cast<Square>(to));
            FUZZ_CHECK(made == legalNow, "%d-%d: IsLegalMove %d, MakeMove %d in \"%s\"", from, to,
                       legalNow, made, before.Placement.c_str());
            if (!made) {
                FUZZ_CHECK(StateOf(game) == before, "refused %d-%d changed the game", from, to);
                continue;
            }
            CheckPlayed(before, game, from, to, *attacks);
            const std::size_t next = SlotOf(game.CurrentMove(), game.WhiteToMove());
            FUZZ_CHECK(next == here + 1, "slot %zu followed by %zu", here, next);
            if (line.size() <= next)
                line.resize(next + 1);
            line[here] = before;
            line[next] = StateOf(game);
            last = next;
            played = true;
            continue;
        }
        // Navigation: 0xE0.. previous, 0xE8.. next, 0xF0.. any slot of the line and beyond.
        std::size_t target;
        bool ok;
        if (op < 0xE8) {
            target = here - 1;
            ok = game.PreviousMove();
        } else if (op < 0xF0) {
            target = here + 1;
            ok = game.NextMove();
        } else {
            target = static_cast<std::size_t>(in.Below(static_cast<int>(last) + 3));
            ok = game.GoToPosition(static_cast<int>(target / 2) + 1, target % 2 == 0);
        }
        const bool expected = played && target >= first && target <= last;
        FUZZ_CHECK(ok == expected, "navigation to slot %zu answered %d (line %zu..%zu, played %d)",
                   target, ok, first, last, played);
        if (ok)
            FUZZ_CHECK(StateOf(game) == line[target],
                       "slot %zu restored \"%s\" side %d castling %d ep %d, played \"%s\"", target,
                       game.Position().c_str(), game.WhiteToMove(), game.CastlingAllowed(),
                       ToInt(game.EnPassant()), line[target].Placement.c_str());
        else
            FUZZ_CHECK(StateOf(game) == before, "refused navigation changed the game");
    }
    CheckFenRoundTrip(game);
    return 0;
}
