// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of one game and its rules: the 64 squares, side to move, castling rights,
// en passant square, move number and the history of half-move slots. No GUI here: the board
// control wraps this class and shows it through IBoardView.

#include "chess/BoardView.h"
#include "chess/GameEvents.h"
#include "chess/GameState.h"
#include "chess/MoveInfo.h"
#include "chess/Object.h"
#include "chess/Square.h"

#include <cstdint>
#include <string>
#include <vector>

// The game's state lives in TGameState and its handlers in TGameEvents, so that copying a
// game copies the state alone: a copy is an independent game without handlers or view.
class TChessGame : public TObject, public TGameEvents, private TGameState {
public:
    TChessGame() = default;
    TChessGame(const TChessGame& other) : TObject(other), TGameEvents(), TGameState(other) {}
    // Takes the other game's state; this game keeps its own handlers and view.
    TChessGame& operator=(const TChessGame& other) {
        TGameState::operator=(other);
        return *this;
    }
    ~TChessGame() override = default;

    // The same as a copy; kept for callers that say what they mean by it.
    TChessGame Detached() const { return *this; }

    // --- Position model.
    std::string Position() const;
    void SetPosition(const std::string& text);
    char At(Square s) const { return IsOnBoard(s) ? Squares_[ToInt(s)] : ' '; }
    PieceColour ColourAt(Square s) const { return ColourOfLetter(At(s)); }
    const char* SquaresData() const { return Squares_ + 1; } // 64 characters, a8 first

    bool WhiteToMove() const { return WhiteToMove_; }
    void SetWhiteToMove(bool value);
    CastleSet CastlingAllowed() const { return CastlingAllowed_; }
    void SetCastlingAllowed(CastleSet value) { CastlingAllowed_ = value & AllCastling; }
    Square EnPassant() const { return EnPassant_; }
    // Only a square of rank 6 or rank 3 is taken; anything else, None included, is ignored.
    void SetEnPassant(Square value);
    std::int32_t CurrentMove() const { return CurrentMove_; }
    std::int32_t LastMove() const { return LastMove_; }
    bool LastWhiteToMove() const { return LastWhiteToMove_; }
    char PromotionPiece() const { return PromotionPiece_; }
    void SetPromotionPiece(char c) { PromotionPiece_ = c; }
    bool GameOver() const { return GameOver_; }
    void SetGameOver(bool value) { GameOver_ = value; }

    void ResetGame();
    bool GoToPosition(std::int32_t n, bool whiteToMove);
    bool PreviousMove();
    bool NextMove();
    void GetMoveList(std::vector<std::string>& list) const;
    bool IsThreefold() const;
    // The history slot (n, side); a slot never written reads as an empty default.
    const MoveInfo& Slot(std::int32_t n, bool white) const;

    // --- Rules.
    bool IsLegalMove(Square from, Square to) const;
    bool KingAttackedAfter(PieceColour colour, Square from, Square to) const;
    bool CanMove() const;
    // `promotion` ("q", "r", "b" or "n"), when given, is the piece a person chose for this
    // half-move alone: the OnPromotion handler receives it instead of PromotionPiece, which
    // stays as it was for the engine's and everyone else's later promotions. 0 plays the
    // half-move with PromotionPiece as always.
    bool MakeMove(Square from, Square to, char promotion = 0);
    // Whether the half-move from `from` to `to` would put a pawn on its last rank.
    bool IsPromotion(Square from, Square to) const;

    bool PawnMoveOk(Square from, Square to) const;
    bool KnightMoveOk(Square from, Square to) const;
    bool BishopMoveOk(Square from, Square to) const;
    bool RookMoveOk(Square from, Square to) const;
    bool QueenMoveOk(Square from, Square to) const;
    bool KingMoveOk(Square from, Square to) const;

    // Whether the recorded line begins with black's half-move of move 1 (the game was set up
    // with black to move), so that the white slot of move 1 belongs to no half-move.
    bool StartedWithBlack() const { return FirstIndex_ == 1; }

    // The move counters a FEN gives the position the game starts from (ResetGame sets them
    // to 0 and 1). Numbers out of range are brought into it.
    void SetMoveCounters(std::int32_t halfMoveClock, std::int32_t moveNumber);
    std::int32_t StartClock() const { return StartClock_; }
    // What to add to the history's move numbers to number the moves as the FEN did.
    std::int32_t MoveOffset() const { return MoveOffset_; }
    // Half-moves since the last capture or pawn move, up to the shown position, as FEN
    // counts them.
    std::int32_t HalfMoveClock() const;

    // Every from-to pair the rules accept now, in square order.
    std::vector<std::pair<Square, Square>> LegalMoves() const;

protected:
    void SetView(IBoardView* view) { View_ = view; }
    IBoardView& View() const { return View_ ? *View_ : SilentView_; }

private:
    static std::size_t SlotIndex(std::int32_t n, bool white) {
        return static_cast<std::size_t>(n - 1) * 2 + (white ? 0 : 1);
    }
    MoveInfo& WritableSlot(std::int32_t n, bool white);
    void RecordSlot(MoveInfo& slot) const;
    bool IsLegalIgnoringRepetition(Square from, Square to) const;
    // The square of the pawn that a half-move from `from` to `to` takes en passant, or None
    // when it is no en passant capture.
    Square EnPassantVictim(Square from, Square to) const;
    bool LineWalkHits(Square from, Square to, const int (*dirs)[2], int count) const;
    // Whether the king of a colour stands attacked on a 64-character placement (a8 first).
    static bool KingAttackedOn(PieceColour colour, const char* board);

    IBoardView* View_ = nullptr;
    static IBoardView SilentView_;
};
