// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pure half of the UCI front end: reading "position" and "go" arguments, applying moves
// in coordinate notation, and dividing the clock. Tested from strings.

#include "engine/EngineBoard.h"
#include "engine/TimeBudget.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A position as the engine reads it: 64 placement characters (a8 first), the side to move,
// the castling bits and the en passant square as a board square (1..64, 0 for none).
struct TUciPosition {
    std::string Placement = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
    bool WhiteToMove = true;
    int Castling = CastleAll;
    int EnPassant = 0;
    bool operator==(const TUciPosition&) const = default;
};

// The words of a line, split at spaces and tabs.
std::vector<std::string> SplitWords(std::string_view line);

// Reads a FEN as the game does (the counters may be missing); `error` gets the reason for a
// malformed one.
std::optional<TUciPosition> PositionFromFen(const std::vector<std::string>& fields,
                                            std::string* error = nullptr);

// Plays one move such as "e2e4" or "e7e8q" (a promotion without a letter makes a queen).
// False, with the position unchanged, when the move is malformed or not legal.
bool ApplyUciMove(TEngineBoard& scratch, TUciPosition& position, std::string_view move);

// The arguments of "position": "startpos [moves ...]" or "fen <fields> [moves ...]". Every
// move up to the first bad one is played; `error` then names it and the answer is false.
bool ParsePositionCommand(const std::vector<std::string>& words, TEngineBoard& scratch,
                          TUciPosition& position, std::string& error);

// Whether the side to move has a legal move, and if not, whether it is mated.
enum class TMoveless { HasMoves, Checkmate, Stalemate };
TMoveless Moveless(TEngineBoard& scratch, const TUciPosition& position);

// The option a "setoption" line names, in lower case (names are not case-sensitive and may
// hold spaces), and its value; nullopt for a line without a name.
struct TSetOption {
    std::string Name;
    std::string Value;
};
std::optional<TSetOption> ParseSetOption(const std::vector<std::string>& words);

TGoLimits ParseGoCommand(const std::vector<std::string>& words);

// The first legal move of the position in generation order, or 0 with none (a stopped search
// that finished no iteration still answers a move).
EngineMove FirstLegalMove(TEngineBoard& scratch, const TUciPosition& position);
