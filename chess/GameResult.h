// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a game ends: the rules that end it on the board (mate, stalemate, threefold repetition,
// the fifty-move rule, a dead position) and the ends the players choose or the clock decides
// (resignation, an agreed draw, a fallen flag). Plain C++: the window words the result, PGN
// writes its score and termination, and the engine hand-over stops where a result stands.

#include "chess/ChessGame.h"

#include <string>
#include <string_view>

enum class TResultKind {
    None, // the game goes on
    Checkmate,
    Stalemate,
    Repetition,
    FiftyMoves,
    DeadPosition,
    Resignation,
    Agreement,
    TimeForfeit,
    TimeAgainstBareMaterial, // a flag fell, but the other side has nothing to mate with
};

struct TGameResult {
    TResultKind Kind = TResultKind::None;
    // The side that won; Empty for a draw (and while the game goes on).
    PieceColour Winner = PieceColour::Empty;
    // The side that resigned or whose flag fell; Empty for the other kinds.
    PieceColour Loser = PieceColour::Empty;

    bool Over() const { return Kind != TResultKind::None; }
    bool Drawn() const { return Over() && Winner == PieceColour::Empty; }
    // "1-0", "0-1", "1/2-1/2", or "*" while the game goes on.
    std::string Score() const;
    // The PGN Termination tag's value: "normal", "time forfeit" or "unterminated".
    std::string Termination() const;
};

// The half-moves without a capture or pawn move after which either player's next turn ends
// the game in a draw.
inline constexpr int FiftyMoveHalfMoves = 100;

// No sequence of legal moves can mate: kings alone, a king and one bishop or knight against a
// bare king, or kings and bishops only with every bishop on squares of one colour. `position`
// is the 64-character placement, a8 first.
bool IsDeadPosition(std::string_view position);
// Whether `side` keeps something to mate with: more than its king and at most one bishop or
// knight. A flag that falls against a side without it draws.
bool HasMatingMaterial(std::string_view position, PieceColour side);

// The result the position of the game stands in, judged in this order: mate or stalemate,
// a dead position, threefold repetition, the fifty-move rule.
TGameResult JudgePosition(const TChessGame& game);

TGameResult Resigned(PieceColour side);
TGameResult DrawAgreed();
// The flag of `side` fell in `position`.
TGameResult FlagFell(std::string_view position, PieceColour side);

inline PieceColour Opponent(PieceColour side) {
    return side == PieceColour::White   ? PieceColour::Black
           : side == PieceColour::Black ? PieceColour::White
                                        : PieceColour::Empty;
}
