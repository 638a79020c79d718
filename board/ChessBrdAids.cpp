// SPDX-License-Identifier: GPL-3.0-or-later
// The board control's aids for players: highlighted squares, click-click moves and the
// promotion pop-up. None of them changes a half-move: every person's half-move still goes
// through PlayUserMove, raising the same events in the same order as a drop.
#include "board/ChessBrd.h"

#include "board/PromotionChooser.h"

#include <QEvent>
#include <QPainter>

namespace {

const QColor LastMoveTint(255, 214, 0, 110);
const QColor SelectedTint(40, 170, 255, 120);
const QColor TargetMark(40, 180, 70, 200);

} // namespace

// ---------------------------------------------------------------- properties

void TChessBrd::SetHighlightMoves(bool v) {
    HighlightMoves_ = v;
    RefreshMarks();
}

void TChessBrd::SetClickMoves(bool v) {
    if (!v)
        CancelSelection();
    ClickMoves_ = v;
}

void TChessBrd::SetChoosePromotion(bool v) {
    if (!v)
        CancelPromotion();
    ChoosePromotion_ = v;
}

TPromotionChooser* TChessBrd::PromotionChooser() const {
    return Chooser_.data();
}

// ---------------------------------------------------------------- changes of the game

// Whatever changes next (position, side, history step) makes a selection or a pending
// promotion meaningless; both go before the engine is parked.
void TChessBrd::BeforeChange() {
    CancelPromotion();
    CancelSelection();
    StopThinking();
}

void TChessBrd::AfterChange(Square lastFrom, Square lastTo) {
    LastFrom_ = IsOnBoard(lastFrom) && IsOnBoard(lastTo) ? lastFrom : Square::None;
    LastTo_ = IsOnBoard(lastFrom) && IsOnBoard(lastTo) ? lastTo : Square::None;
    // Also a half-move played without a word to this board first (the engine's, the peer's).
    CancelPromotion();
    Selected_ = Square::None;
    DragMarked_ = false;
    RefreshMarks();
}

void TChessBrd::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange && !isEnabled()) {
        CancelPromotion();
        CancelSelection();
    }
}

// ---------------------------------------------------------------- marks

std::uint8_t TChessBrd::WantedMarks(Square square) const {
    if (!HighlightMoves_ || !IsOnBoard(square))
        return 0;
    std::uint8_t marks = 0;
    if (square == LastFrom_ || square == LastTo_)
        marks |= MarkLast;
    const Square from = Selected_ != Square::None    ? Selected_
                        : (Dragging_ && DragMarked_) ? DragFrom_
                                                     : Square::None;
    if (from != Square::None) {
        if (square == from)
            marks |= MarkSelected;
        else if (Targets_[static_cast<std::size_t>(ToInt(square))])
            marks |= At(square) == ' ' ? MarkDot : MarkRing;
    }
    return marks;
}

// Drawn over the square's background and under its piece, clipped to the square, the same
// way by the full repaint and by a one-square repaint so that both give the same pixels.
void TChessBrd::PaintMarks(QPainter& p, Square square) const {
    const std::uint8_t marks = Marks_[static_cast<std::size_t>(ToInt(square))];
    if (marks == 0)
        return;
    const QRect r = SquareRect(square);
    const int s = SizeOfSquare_;
    p.save();
    p.setClipRect(r);
    if (marks & MarkLast)
        p.fillRect(r, LastMoveTint);
    if (marks & MarkSelected)
        p.fillRect(r, SelectedTint);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (marks & MarkDot) {
        const double radius = std::max(2.0, s * 0.15);
        p.setPen(Qt::NoPen);
        p.setBrush(TargetMark);
        p.drawEllipse(QRectF(r).center(), radius, radius);
    }
    if (marks & MarkRing) {
        const double width = std::max(2.0, s / 10.0);
        p.setPen(QPen(TargetMark, width));
        p.setBrush(Qt::NoBrush);
        const double inset = width / 2 + 0.5;
        p.drawEllipse(QRectF(r).adjusted(inset, inset, -inset, -inset));
    }
    p.restore();
}

void TChessBrd::RefreshMarks() {
    // A canvas still waiting for its full repaint gets every mark from it.
    if (!FirstPaintDone_ || !CanvasValid_ || Canvas_.size() != CanvasSize())
        return;
    bool changed = false;
    for (int i = 1; i <= 64; ++i) {
        const Square sq = ToSquare(i);
        const std::uint8_t wanted = WantedMarks(sq);
        auto& painted = Marks_[static_cast<std::size_t>(i)];
        if (wanted == painted)
            continue;
        painted = wanted;
        changed = true;
        PaintEmptySquare(sq);
        // The dragged piece hangs under the pointer, not on its square.
        if (At(sq) != ' ' && !(Dragging_ && sq == DragFrom_))
            PaintPiece(sq, At(sq));
    }
    if (changed)
        PaintLines();
}

// ---------------------------------------------------------------- selection

bool TChessBrd::Selectable(Square square) const {
    if (!IsOnBoard(square) || !isEnabled() || Pending_.Active || Thinking())
        return false;
    switch (ColourAt(square)) {
    case PieceColour::White:
        return WhiteToMove() && !ComputerPlaysWhite_;
    case PieceColour::Black:
        return !WhiteToMove() && !ComputerPlaysBlack_;
    default:
        return false;
    }
}

void TChessBrd::FindTargets(Square from) {
    Targets_.fill(false);
    for (int i = 1; i <= 64; ++i)
        Targets_[static_cast<std::size_t>(i)] = IsLegalMove(from, ToSquare(i));
}

void TChessBrd::Select(Square square) {
    Selected_ = square;
    FindTargets(square);
    RefreshMarks();
}

void TChessBrd::CancelSelection() {
    if (Selected_ == Square::None)
        return;
    Selected_ = Square::None;
    RefreshMarks();
}

void TChessBrd::DragBegins() {
    Selected_ = Square::None;
    DragMarked_ = Selectable(DragFrom_);
    if (DragMarked_)
        FindTargets(DragFrom_);
    RefreshMarks();
}

void TChessBrd::DragEnds() {
    DragMarked_ = false;
    RefreshMarks();
}

void TChessBrd::ClickSquare(Qt::MouseButton button, Square square) {
    if (!ClickMoves_)
        return;
    if (button != Qt::LeftButton) {
        CancelSelection();
        return;
    }
    if (Selected_ != Square::None) {
        const Square from = Selected_;
        const bool target = IsOnBoard(square) && Targets_[static_cast<std::size_t>(ToInt(square))];
        CancelSelection();
        // The same test a drop passes.
        if (target && square != from && DropAccepted(square)) {
            DragFrom_ = from;
            DropTo_ = square;
            PlayDropped(from, square);
        }
        return;
    }
    if (Selectable(square))
        Select(square);
}

// ---------------------------------------------------------------- promotion

void TChessBrd::PlayDropped(Square from, Square to) {
    if (!ChoosePromotion_ || !IsPromotion(from, to)) {
        PlayUserMove(from, to);
        return;
    }
    // The pawn waits on its own square while the piece is chosen.
    PaintPiece(from, At(from));
    PaintLines();
    Pending_ = {true, from, to, Position(), WhiteToMove()};
    const bool white = At(from) == 'P';
    std::array<QImage, 4> pieces;
    for (std::size_t i = 0; i < 4; ++i) {
        const char letter = TPromotionChooser::Letters[i];
        pieces[i] = PieceImage(white ? static_cast<char>(letter - 32) : letter);
    }
    const QRect square = SquareRect(to);
    auto* chooser = new TPromotionChooser(this, pieces, SizeOfSquare_, square.top() < height() / 2);
    // The answer is played from the event loop, once the pop-up's own handler has returned.
    chooser->OnChosen = [this](char piece) {
        QMetaObject::invokeMethod(
            this, [this, piece] { FinishPromotion(piece); }, Qt::QueuedConnection);
    };
    Chooser_ = chooser;
    chooser->move(mapToGlobal(square.topLeft() - chooser->QueenCorner()));
    chooser->show();
    chooser->setFocus();
}

void TChessBrd::FinishPromotion(char piece) {
    if (!Pending_.Active)
        return;
    const PendingPromotion pending = Pending_;
    Pending_.Active = false;
    // Anything that changed the game meanwhile cancelled the promotion already; this is the
    // last look before the half-move is played.
    if (pending.Position != Position() || pending.WhiteToMove != WhiteToMove() || !isEnabled() ||
        Thinking() || !IsLegalMove(pending.From, pending.To))
        return;
    DragFrom_ = pending.From;
    DropTo_ = pending.To;
    PlayUserMove(pending.From, pending.To, piece);
}

void TChessBrd::CancelPromotion() {
    Pending_.Active = false;
    if (Chooser_) {
        Chooser_->OnChosen = nullptr;
        Chooser_->close();
        Chooser_ = nullptr;
    }
}
