// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FEN bridge for tools and tests: a FEN's placement, side, castling and en passant fields go
// into a fresh game exactly the way the new-game dialog sets up a layout.

#include "chess/ChessGame.h"

#include <string>

// Fills `game` (ResetGame, then Position, WhiteToMove, CastlingAllowed, EnPassant). On a
// malformed FEN answers false with a one-line reason and leaves `game` as it was.
bool LoadFen(TChessGame& game, const std::string& fen, std::string* error = nullptr);

// Placement, side, castling, en passant, half-move clock 0 and the move number.
std::string ToFen(const TChessGame& game);
// The same, for other programs: only the castling rights whose king and rook still stand on
// their home squares are written (the game keeps rights a set-up layout gave its pieces
// wherever they stand; in a FEN such a right would make the position invalid).
std::string ToPortableFen(const TChessGame& game);
// The castling bits a FEN may carry for this placement (64 characters, a8 first).
CastleSet PlayableCastling(const std::string& position, CastleSet rights);

// Whether the king of the side not to move stands attacked, so that the side to move could
// take it: no position a game can reach. False when that king is missing.
bool WaitingKingInCheck(const TChessGame& game);

// Why a position read from a FEN cannot arise in a game, as a short reason, or "" when nothing
// here forbids it: the side not to move stands in check (its king could be taken), or a pawn
// stands on the first or last rank (it could then move off the board's edge).
std::string UnreachableReason(const TChessGame& game);

// The 64-character position string of a FEN placement field; "" when it is malformed.
std::string PlacementFromFen(const std::string& placement);
