#pragma once
// The state of one game and its rules: the 64 squares, side to move, castling rights,
// en passant square, move number and the history of half-move slots. No GUI here: the board
// control wraps this class and shows it through IBoardView.

#include "board/BoardView.h"
#include "board/MoveInfo.h"
#include "board/Object.h"
#include "board/Square.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using TMoveEvent = std::function<void(TObject* Sender, Square oldSq, Square newSq)>;
using TCaptureEvent =
    std::function<void(TObject* Sender, Square oldSq, Square newSq, char CapturedPiece)>;
using TPromotionEvent =
    std::function<void(TObject* Sender, Square oldSq, Square newSq, char& NewPiece)>;
using TNotifyEvent = std::function<void(TObject* Sender)>;

inline constexpr const char* StartPosition =
    "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

class TChessGame : public TObject {
public:
    TChessGame();
    TChessGame(const TChessGame& other);
    TChessGame& operator=(const TChessGame& other);
    ~TChessGame() override = default;

    // --- Events, raised only when assigned; Sender is this game (or the board wrapping it).
    TMoveEvent OnLegalMove;
    TCaptureEvent OnCapture;
    TPromotionEvent OnPromotion;
    TMoveEvent OnCastle;
    TMoveEvent OnCheck;
    TMoveEvent OnMate;
    TMoveEvent OnStaleMate;
    TNotifyEvent OnNoMatingMaterial;
    TNotifyEvent OnThreefoldPosition;
    TNotifyEvent OnDraw;
    TNotifyEvent OnPaint;

    // A copy made for analysis: same game state, no handlers, no view.
    TChessGame Detached() const;
    void ClearHandlers();

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
    bool MakeMove(Square from, Square to);

    bool PawnMoveOk(Square from, Square to) const;
    bool KnightMoveOk(Square from, Square to) const;
    bool BishopMoveOk(Square from, Square to) const;
    bool RookMoveOk(Square from, Square to) const;
    bool QueenMoveOk(Square from, Square to) const;
    bool KingMoveOk(Square from, Square to) const;

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
    bool LineWalkHits(Square from, Square to, const int (*dirs)[2], int count) const;
    // Whether the king of a colour stands attacked on a 64-character placement (a8 first).
    static bool KingAttackedOn(PieceColour colour, const char* board);
    bool StartedWithBlack() const { return FirstIndex_ == 1; }

    char Squares_[65]; // index 0 unused
    bool WhiteToMove_ = true;
    CastleSet CastlingAllowed_ = AllCastling;
    Square EnPassant_ = Square::None;
    std::int32_t CurrentMove_ = 1;
    std::int32_t LastMove_ = 1;
    bool LastWhiteToMove_ = true;
    char PromotionPiece_ = 'q';
    bool GameOver_ = false;

    // Two slots per move number, white first; it grows with the game, so no length limit.
    std::vector<MoveInfo> History_;
    // Index of the first slot of the recorded line: 1 when the game's first half-move was
    // black's, so that the white slot of move 1 that was never played is never read.
    std::size_t FirstIndex_ = 0;
    // Any change of the history or of the shown slot bumps this; IsThreefold caches on it.
    std::uint64_t HistoryVersion_ = 0;
    mutable std::uint64_t ThreefoldVersion_ = ~0ull;
    mutable bool ThreefoldCache_ = false;

    IBoardView* View_ = nullptr;
    static IBoardView SilentView_;
};
