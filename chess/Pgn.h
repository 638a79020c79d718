// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Portable Game Notation: writing the recorded line of a game with its tag pairs, and reading
// the main line of the first game of a text back into a game. Pure: strings in, strings out;
// the program's text reader and writer deal with the file.

#include "chess/ChessGame.h"
#include "chess/San.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

using TPgnTags = std::vector<std::pair<std::string, std::string>>;

// The recorded line of a game: the position its first half-move was made in (with side to
// move, castling rights, en passant square and the move counters a FEN of it carries) and its
// half-moves, up to the game's last half-move. Only what replays through the rules from a
// FEN-expressible start belongs to it: where the history does not lead on to the next recorded
// placement (a placement put on the board from outside, a castling right no FEN can carry),
// the line begins again at that placement.
struct TRecordedLine {
    TChessGame Start;
    std::vector<TSanMove> Moves;
};
TRecordedLine RecordedLine(const TChessGame& game);

// "1-0", "0-1", "1/2-1/2" when the game has ended in the position reached (see JudgePosition),
// otherwise "*".
std::string GameResult(const TChessGame& game);

// Whether the game starts in the standard start position with white to move, all four
// castling rights and no en passant square; otherwise the PGN needs SetUp and FEN tags.
bool IsStandardStart(const TChessGame& game);

struct TPgnHeader {
    std::string Event = "Casual game";
    std::string Site = "?";
    std::string Date = "????.??.??"; // YYYY.MM.DD
    std::string Round = "-";
    std::string White = "?";
    std::string Black = "?";
    // A result decided off the board (resignation, agreement, a fallen flag); empty: the
    // result the line's last position stands in.
    std::string Result;
    // The Termination and TimeControl tags, written when not empty.
    std::string Termination;
    std::string TimeControl;
    // The clock after each half-move of the line ("h:mm:ss"), written as a [%clk] comment;
    // an empty or missing entry writes none.
    std::vector<std::string> Clocks;
};

// The whole PGN of the recorded line: the seven tag roster (the result from GameResult of the
// line's end unless the header gives one), Termination and TimeControl when given, SetUp and FEN
// when it does not start from the standard start, an empty line, and the moves in SAN, wrapped so
// that no line reaches 80 columns, ended by the result.
std::vector<std::string> WritePgn(const TChessGame& game, const TPgnHeader& header);

// The tokens of the first game of a PGN text: its tag pairs in file order and the SAN of its
// main line (comments, variations, annotation glyphs, move numbers and the result dropped).
struct TPgnGame {
    TPgnTags Tags;
    std::vector<std::string> Moves;
    std::string Result; // as written; "" when the movetext ends without one
    // The value of a tag, "" when absent.
    std::string Tag(std::string_view name) const;
};

// A game longer than this many half-moves is refused; no legal game comes near it.
inline constexpr std::size_t MaxPgnHalfMoves = 12000;

struct TPgnError {
    enum class Kind { None, Syntax, NoGame, BadFen, IllegalMove, AmbiguousMove, TooLong };
    Kind What = Kind::None;
    // Syntax and BadFen: what is wrong; IllegalMove and AmbiguousMove: the move with its
    // number as "12... Nbd7" (black) or "12. Nbd7" (white).
    std::string Detail;
    // An English sentence, for tools and tests; the program words it from its texts table.
    std::string Sentence() const;
};

// Splits the first game of the text into tags and main-line moves.
bool ParsePgn(std::string_view text, TPgnGame& game, TPgnError& error);

// Sets `start` up from the FEN tag (or the standard start) and plays every move on a copy,
// through the rules. On success `moves` holds the half-moves in order; on the first move that
// is malformed, illegal or ambiguous it answers false and names it.
bool ReplayPgn(const TPgnGame& pgn, TChessGame& start, std::vector<TSanMove>& moves,
               TPgnError& error);

// ParsePgn and ReplayPgn in one; the final position is reached by playing `moves` on `start`.
bool ReadPgn(std::string_view text, TChessGame& start, std::vector<TSanMove>& moves,
             TPgnError& error);
