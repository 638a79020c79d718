// SPDX-License-Identifier: GPL-3.0-or-later
// The board control's pointer input: dragging pieces, resizing, and the sliding piece.
#include "board/ChessBrd.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

namespace {

constexpr const char* PieceLetters = "PNBRQKpnbrqk";

} // namespace

// ---------------------------------------------------------------- floating piece and slide

void TChessBrd::ShowFloatingPiece(char letter, QPoint topLeftInControl) {
    const char* at = std::strchr(PieceLetters, letter);
    if (!at || letter == '\0')
        return;
    QWidget* host = window();
    if (!Floating_) {
        Floating_ = new QLabel(host);
        Floating_->setAttribute(Qt::WA_TransparentForMouseEvents);
        Floating_->setAttribute(Qt::WA_TranslucentBackground);
        Floating_->setStyleSheet("background: transparent");
    }
    const QImage image = PieceImage(letter);
    Floating_->setPixmap(QPixmap::fromImage(image));
    Floating_->resize(image.deviceIndependentSize().toSize());
    Floating_->move(host == this ? topLeftInControl : mapTo(host, topLeftInControl));
    Floating_->show();
    Floating_->raise();
}

void TChessBrd::HideFloatingPiece() {
    if (Floating_)
        Floating_->hide();
}

void TChessBrd::SlidePiece(Square from, Square to) {
    if (!AnimateMoves_ || (from == DragFrom_ && to == DropTo_))
        return;
    PaintLines();
    AnimateMove(from, to, AnimationDelay_);
}

void TChessBrd::AnimateMove(Square from, Square to, int delay) {
    if (Dragging_ || !IsOnBoard(from) || !IsOnBoard(to) || !isVisible())
        return;
    // A canvas waiting for its full repaint would get it from the repaint below, in the
    // middle of the half-move, with the piece still on its old square: no slide then.
    if (!CanvasValid_ || Canvas_.size() != CanvasSize())
        return;
    const char letter = At(from);
    if (!std::strchr(PieceLetters, letter) || letter == '\0')
        return;
    const int offset = DrawnPieceOffset();
    const QPoint start = SquareRect(from).topLeft() + QPoint(offset, offset);
    const QPoint end = SquareRect(to).topLeft() + QPoint(offset, offset);
    repaint(); // the emptied from-square shows under the sliding piece
    ShowFloatingPiece(letter, start);
    QWidget* host = window();
    // Every step is painted, and repaint() puts it on the screen before it returns; the rest
    // of the step's time is slept, not spun, so a slide costs no processor time. No events
    // are handled meanwhile: nothing can change the game under a sliding piece.
    auto step = [&](QPoint pt) {
        const auto stepEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay);
        const QRect before = Floating_->geometry();
        Floating_->move(host == this ? pt : mapTo(host, pt));
        host->repaint(before.united(Floating_->geometry()));
        if (delay >= 1)
            std::this_thread::sleep_until(stepEnd);
    };
    const int dx = end.x() - start.x();
    const int dy = end.y() - start.y();
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (upper == 'N') {
        // Along the row first, then along the file.
        const int sx = dx >= 0 ? 1 : -1;
        const int sy = dy >= 0 ? 1 : -1;
        for (int x = 0; x != dx + sx; x += sx)
            step({start.x() + x, start.y()});
        for (int y = sy; y != dy + sy; y += sy)
            step({end.x(), start.y() + y});
    } else if (std::abs(dx) >= std::abs(dy)) {
        const int sx = dx >= 0 ? 1 : -1;
        const double ratio = dx == 0 ? 0.0 : static_cast<double>(dy) / std::abs(dx);
        double y = start.y();
        for (int x = 0; x != dx + sx; x += sx, y += ratio)
            step({start.x() + x, static_cast<int>(y)});
    } else {
        const int sy = dy >= 0 ? 1 : -1;
        const double ratio = static_cast<double>(dx) / std::abs(dy);
        double x = start.x();
        for (int y = 0; y != dy + sy; y += sy, x += ratio)
            step({static_cast<int>(x), start.y() + y});
    }
    HideFloatingPiece();
}

// ---------------------------------------------------------------- pointer input

bool TChessBrd::DropAccepted(Square target) const {
    if (Thinking() || target == Square::None)
        return false;
    return target == DragFrom_ || (!Finished_ && IsLegalMove(DragFrom_, target));
}

void TChessBrd::mousePressEvent(QMouseEvent* e) {
    // While the promotion piece is being chosen the board waits for that answer.
    if (Pending_.Active)
        return;
    const QPoint pos = e->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(this, e->button(), e->modifiers(), pos.x(), pos.y());
    if (Resizable_ && e->button() == Qt::LeftButton && pos.x() >= width() - 10 &&
        pos.y() >= height() - 10) {
        Resizing_ = true;
        return;
    }
    const Square sq = SquareAtPoint(pos.x(), pos.y());
    PressSquare_ = sq;
    PressSeen_ = true;
    if (sq != Square::None && At(sq) != ' ') {
        DragFrom_ = sq;
        PressPos_ = pos;
        PressPending_ = true;
    }
}

void TChessBrd::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(this, e->modifiers(), pos.x(), pos.y());
    if (Resizable_) {
        if (Resizing_) {
            const int v = std::clamp(std::max(pos.x(), pos.y()), ResizeMinSize_, ResizeMaxSize_);
            if (v != width())
                resize(v, height());
            return;
        }
        if (pos.x() >= width() - 10 && pos.y() >= height() - 10) {
            setCursor(Qt::SizeFDiagCursor);
            if (e->buttons() & Qt::LeftButton && !Dragging_ && !PressPending_)
                Resizing_ = true;
        } else {
            unsetCursor();
        }
    }
    if (PressPending_ && (e->buttons() != Qt::NoButton) &&
        (pos - PressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        PressPending_ = false;
        Dragging_ = true;
        PaintEmptySquare(DragFrom_);
        PaintLines();
        DragBegins();
        ShowFloatingPiece(At(DragFrom_), pos - QPoint(SizeOfSquare_ / 2, SizeOfSquare_ / 2));
    }
    if (Dragging_ && Floating_) {
        const QPoint topLeft = pos - QPoint(SizeOfSquare_ / 2, SizeOfSquare_ / 2);
        Floating_->move(window() == this ? topLeft : mapTo(window(), topLeft));
        const Square target = rect().contains(pos) ? SquareAtPoint(pos.x(), pos.y()) : Square::None;
        setCursor(DropAccepted(target) ? Qt::ClosedHandCursor : Qt::ForbiddenCursor);
    }
}

void TChessBrd::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(this, e->button(), e->modifiers(), pos.x(), pos.y());
    if (Resizing_) {
        Resizing_ = false;
        return;
    }
    if (Dragging_) {
        PressSeen_ = false;
        EndDrag(pos);
        return;
    }
    const bool click = PressPending_ || rect().contains(pos);
    const bool pressed = PressSeen_;
    PressPending_ = false;
    PressSeen_ = false;
    // A release whose press this board never saw (the one that closed a pop-up) selects
    // nothing.
    if (click && pressed)
        ClickSquare(e->button(), PressSquare_);
    if (click && OnClick)
        OnClick(this);
}

void TChessBrd::EndDrag(QPoint pos) {
    Dragging_ = false;
    unsetCursor();
    HideFloatingPiece();
    DragEnds();
    const Square target = rect().contains(pos) ? SquareAtPoint(pos.x(), pos.y()) : Square::None;
    if (DropAccepted(target)) {
        DropTo_ = target;
        if (target == DragFrom_) {
            PaintPiece(DragFrom_, At(DragFrom_));
            PaintLines();
        } else {
            PlayDropped(DragFrom_, DropTo_);
        }
        return;
    }
    PaintPiece(DragFrom_, At(DragFrom_));
    PaintLines();
    // A piece let go off the squares (on the border or outside the board) was put back, not
    // moved: only a refused square is an illegal move.
    if (target != Square::None && OnIllegalMove)
        OnIllegalMove(this, DragFrom_);
}
