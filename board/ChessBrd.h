// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TChessBrd: the chess board control. It shows a TChessGame and turns pointer drags into
// half-moves; its TEngineHandOver runs the game's engine. Every rule lives in TChessGame; this
// class only draws (ChessBrdPainting.cpp), listens to the pointer (ChessBrdPointer.cpp) and
// parks the engine before every change of the game.

#include "chess/ChessGame.h"
#include "engine/ThreadPriority.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class TEngineHandOver;
namespace pieceart {
struct Outlines;
}
class TPromotionChooser;

using TOneSquareEvent = std::function<void(TObject* Sender, Square square)>;
using TThinkEvent = std::function<void(TObject* Sender, Square& oldsq, Square& newsq)>;
using TMouseEvent = std::function<void(TObject* Sender, Qt::MouseButton button,
                                       Qt::KeyboardModifiers shift, int x, int y)>;
// The engine handed over a half-move that the board refused; the engine is parked.
using TEngineErrorEvent =
    std::function<void(TObject* Sender, Square oldSq, Square newSq, const std::string& Message)>;
using TMouseMoveEvent =
    std::function<void(TObject* Sender, Qt::KeyboardModifiers shift, int x, int y)>;

// A font with its colour, as the coordinates are drawn.
struct TFont {
    QString Name = "Arial";
    int Size = 7; // points; drawn at 96 pixels per inch
    QColor Color = Qt::white;
    bool Bold = false;
    QFont ToQFont() const;
};

class TChessBrd : public QWidget, public TChessGame, public IBoardView {
public:
    explicit TChessBrd(QWidget* parent = nullptr);
    ~TChessBrd() override;

    // --- Events of the control (the game's own events come from TChessGame).
    // A drag let go over a square that is no legal target; a drop off the squares only puts
    // the piece back.
    TOneSquareEvent OnIllegalMove;
    TThinkEvent OnCalculateMove;
    TMoveEvent OnCalculationFailed;
    TEngineErrorEvent OnEngineError;
    TNotifyEvent OnClick;
    // Raised after every write of ComputerPlaysWhite or ComputerPlaysBlack: the sides of a
    // game were set.
    TNotifyEvent OnPlayersChange;
    // The clock the engine plays under, asked before each of its searches: true with the time
    // left to each side and the increment (milliseconds) when one runs. The engine then ends
    // its iterations within a share of its time, at the latest at the chosen depth.
    std::function<bool(int& whiteMs, int& blackMs, int& incrementMs)> EngineClock;
    // Raised by StartNewGame: every game the board starts again (new, loaded, a challenge).
    TNotifyEvent OnNewGame;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // --- Published properties.
    bool AnimateMoves() const { return AnimateMoves_; }
    void SetAnimateMoves(bool v) { AnimateMoves_ = v; }
    int AnimationDelay() const { return AnimationDelay_; }
    void SetAnimationDelay(int v) { AnimationDelay_ = v; }
    bool BoardLines() const { return BoardLines_; }
    void SetBoardLines(bool v);
    const QImage& BorderBitmap() const { return BorderBitmap_; }
    void SetBorderBitmap(const QImage& v);
    QColor BorderColor() const { return BorderColor_; }
    void SetBorderColor(const QColor& v);
    bool ComputerPlaysBlack() const { return ComputerPlaysBlack_; }
    void SetComputerPlaysBlack(bool v);
    bool ComputerPlaysWhite() const { return ComputerPlaysWhite_; }
    void SetComputerPlaysWhite(bool v);
    bool Thinking() const;
    void SetThinking(bool) {}
    const TFont& CoordFont() const { return CoordFont_; }
    void SetCoordFont(const TFont& v);
    void SetCurrentMove(std::int32_t) {}
    const QImage& CustomPieceSet() const { return CustomPieceSet_; }
    void SetCustomPieceSet(const QImage& v);
    CoordSet DisplayCoords() const { return DisplayCoords_; }
    void SetDisplayCoords(CoordSet v);
    bool CustomEngine() const { return CustomEngine_; }
    void SetCustomEngine(bool v) { CustomEngine_ = v; }
    const QPen& LineStyle() const { return LineStyle_; }
    void SetLineStyle(const QPen& v);
    bool Resizable() const { return Resizable_; }
    void SetResizable(bool v) { Resizable_ = v; }
    int ResizeMinSize() const { return ResizeMinSize_; }
    void SetResizeMinSize(int v) { ResizeMinSize_ = std::min(v, ResizeMaxSize_); }
    int ResizeMaxSize() const { return ResizeMaxSize_; }
    void SetResizeMaxSize(int v) { ResizeMaxSize_ = std::max(v, ResizeMinSize_); }
    int SearchDepth() const { return SearchDepth_; }
    static constexpr int MinSearchDepth = 1;
    static constexpr int MaxSearchDepth = 8;
    void SetSearchDepth(int v) { SearchDepth_ = std::clamp(v, MinSearchDepth, MaxSearchDepth); }
    int SizeOfBorder() const { return SizeOfBorder_; }
    void SetSizeOfBorder(int v);
    int SizeOfSquare() const { return SizeOfSquare_; }
    void SetSizeOfSquare(int v);
    QColor SquareColorDark() const { return SquareColorDark_; }
    void SetSquareColorDark(const QColor& v);
    QColor SquareColorLight() const { return SquareColorLight_; }
    void SetSquareColorLight(const QColor& v);
    const QImage& SquareDark() const { return SquareDark_; }
    void SetSquareDark(const QImage& v);
    const QImage& SquareLight() const { return SquareLight_; }
    void SetSquareLight(const QImage& v);
    bool WhiteOnTop() const { return WhiteOnTop_; }
    void SetWhiteOnTop(bool v);
    TThreadPriority ThinkingPriority() const { return ThinkingPriority_; }
    void SetThinkingPriority(TThreadPriority v);
    QString Version() const { return {}; }
    void SetVersion(const QString&) {}
    bool Held() const { return Held_; }
    // A game that has ended (a result the window judged, a resignation, a fallen flag): the
    // board plays no more half-moves, neither a person's (a drop or click raises
    // OnIllegalMove) nor the engine's. StartNewGame begins again.
    bool Finished() const { return Finished_; }
    void SetFinished(bool v);
    Square DragFrom() const { return DragFrom_; }
    Square DropTo() const { return DropTo_; }

    // --- Aids for players used to other chess programs (ChessBrdAids.cpp). All are off when
    // the board is created, so that it draws and answers the pointer exactly as it always did.
    // HighlightMoves: the selected or dragged piece's square, the squares it may move to (a
    // dot on an empty square, a ring around a piece to take) and the two squares of the last
    // half-move are marked under the pieces.
    bool HighlightMoves() const { return HighlightMoves_; }
    void SetHighlightMoves(bool v);
    // ClickMoves: a click on a piece of the side to move that the computer does not play
    // selects it; a click on a square it may move to plays the half-move as a drop would; any
    // other click, or one with another button, drops the selection.
    bool ClickMoves() const { return ClickMoves_; }
    void SetClickMoves(bool v);
    // ChoosePromotion: a person's promotion (dropped or clicked) first asks for the piece in a
    // pop-up at the promotion square; the half-move is played once it has been chosen.
    bool ChoosePromotion() const { return ChoosePromotion_; }
    void SetChoosePromotion(bool v);
    Square Selected() const { return Selected_; }
    // The squares marked as those of the last half-move (None when no half-move is known).
    Square LastMoveFrom() const { return LastFrom_; }
    Square LastMoveTo() const { return LastTo_; }
    // The promotion pop-up while it is open, else null.
    TPromotionChooser* PromotionChooser() const;

    // --- Operations.
    void StartNewGame();
    // Parks the engine: a search in progress is dropped and nothing it found is played; the
    // engine stays parked until StartThinking, in every state of the game.
    void StopThinking();
    void StartThinking();
    // `promotion`: the piece a person chose for a pawn reaching its last rank (see MakeMove).
    bool PlayUserMove(Square from, Square to, char promotion = 0);
    void GetMoveList(QStringList& list) const;
    using TChessGame::GetMoveList;
    Square SquareAtPoint(int x, int y) const;
    static bool IsPieceSet(const QImage& image);

    // The engine's side of the board (tests hand over moves through it as the engine would).
    TEngineHandOver& HandOver() const { return *HandOver_; }

    // --- View operations, also used by the game model as it plays a half-move.
    void BeforeChange() override;
    void AfterChange(Square lastFrom, Square lastTo) override;
    void RepaintAll() override;
    void PaintEmptySquare(Square square) override;
    void PaintPiece(Square square, char letter) override;
    void PaintPieces();
    void PaintLines() override;
    void SlidePiece(Square from, Square to) override;
    void RedrawChanged(const std::string& oldPosition) override;
    void AnimateMove(Square from, Square to, int delay);
    void BuildPieceImages();
    // The picture of one piece ("PNBRQK" white, "pnbrqk" black) as the board draws it, cut
    // from the active piece set with its mask and scaled down when its cell is larger than a
    // square; a null image for any other letter.
    QImage PieceImage(char letter) const;
    QRect SquareRect(Square square) const;
    // The drawn board as it stands (the back buffer), for checks and screenshots.
    const QImage& Canvas() const { return Canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FullRepaint();
    void ApplyGeometry();
    void PaintBorder(QPainter& p);
    void PaintSquares(QPainter& p);
    void FillSquareArea(QPainter& p, const QRect& rect, bool light);
    void Invalidate(const QRect& rect);
    const QImage& ActivePieceSet() const;
    // The twelve images at the size they are drawn, fitted to the square size in force and
    // to the screen's pixels per unit.
    const std::array<QImage, 12>& DrawnPieces() const;
    // The side of a drawn piece, in the control's units.
    int DrawnPieceSize() const;
    int DrawnPieceOffset() const;
    // The canvas in the screen's own pixels.
    QSize CanvasSize() const;
    void ShowFloatingPiece(char letter, QPoint topLeftInControl);
    void HideFloatingPiece();
    bool DropAccepted(Square target) const;
    void EndDrag(QPoint pos);

    // Player aids (ChessBrdAids.cpp). Each square remembers the marks it was last painted
    // with; RefreshMarks repaints exactly the squares whose wanted marks differ.
    enum : std::uint8_t { MarkLast = 1, MarkSelected = 2, MarkDot = 4, MarkRing = 8 };
    std::uint8_t WantedMarks(Square square) const;
    void PaintMarks(QPainter& p, Square square) const;
    void RefreshMarks();
    bool Selectable(Square square) const;
    void FindTargets(Square from);
    void Select(Square square);
    void CancelSelection();
    void DragBegins();
    void DragEnds();
    void ClickSquare(Qt::MouseButton button, Square square);
    // The end of a person's half-move, dropped or clicked: asks for the promotion piece
    // first when that is wanted, then plays it through PlayUserMove.
    void PlayDropped(Square from, Square to);
    void FinishPromotion(char piece);
    void CancelPromotion();

    bool AnimateMoves_ = true;
    int AnimationDelay_ = 0;
    bool BoardLines_ = false;
    QImage BorderBitmap_;
    QColor BorderColor_ = Qt::black;
    bool ComputerPlaysBlack_ = false;
    bool ComputerPlaysWhite_ = false;
    TFont CoordFont_;
    QImage CustomPieceSet_;
    CoordSet DisplayCoords_ = 0;
    bool CustomEngine_ = false;
    QPen LineStyle_{Qt::black, 1, Qt::SolidLine};
    bool Resizable_ = false;
    int ResizeMinSize_ = 100;
    int ResizeMaxSize_ = 1000;
    int SearchDepth_ = 1;
    int SizeOfBorder_ = 24;
    int SizeOfSquare_ = 40;
    QColor SquareColorDark_{128, 128, 128};
    QColor SquareColorLight_{192, 192, 192};
    QImage SquareDark_;
    QImage SquareLight_;
    bool WhiteOnTop_ = false;
    TThreadPriority ThinkingPriority_ = TThreadPriority::tpNormal;
    bool Held_ = false;
    bool Finished_ = false;

    // Drawing.
    QImage Canvas_;
    bool CanvasValid_ = false;
    bool FirstPaintDone_ = false;
    std::array<QImage, 12> PieceImages_;
    int PieceCell_ = 0;
    mutable std::array<QImage, 12> FittedImages_;
    mutable int FittedSize_ = -1;
    mutable qreal FittedRatio_ = 1;
    // The outlines of the active set when it is a shipped one, else null.
    const pieceart::Outlines* SetOutlines_ = nullptr;
    // The black pieces' outlines for dark squares, each with the cache key of its piece.
    std::array<QImage, 6> Outlines_;
    std::array<qint64, 6> OutlineKeys_{};

    // Pointer.
    Square DragFrom_ = Square::None;
    Square DropTo_ = Square::None;
    QPoint PressPos_;
    bool PressPending_ = false;
    bool Dragging_ = false;
    bool Resizing_ = false;
    QPointer<QLabel> Floating_;
    Square PressSquare_ = Square::None;
    bool PressSeen_ = false;

    // Player aids.
    bool HighlightMoves_ = false;
    bool ClickMoves_ = false;
    bool ChoosePromotion_ = false;
    Square Selected_ = Square::None;
    bool DragMarked_ = false; // the dragged piece's square and targets are marked
    std::array<bool, 65> Targets_{};
    Square LastFrom_ = Square::None;
    Square LastTo_ = Square::None;
    std::array<std::uint8_t, 65> Marks_{};
    struct PendingPromotion {
        bool Active = false;
        Square From = Square::None;
        Square To = Square::None;
        std::string Position;
        bool WhiteToMove = true;
    } Pending_;
    QPointer<TPromotionChooser> Chooser_;

    std::unique_ptr<TEngineHandOver> HandOver_;
};
