// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/PromotionChooser.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TPromotionChooser::TPromotionChooser(QWidget* parent, const std::array<QImage, 4>& pieces, int cell,
                                     bool downward)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), Pieces_(pieces),
      Cell_(std::max(cell, 8)), Downward_(downward) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The click that closes the pop-up must not also reach the board under it.
    setAttribute(Qt::WA_NoMouseReplay);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(Cell_ + 2, 4 * Cell_ + 2);
    setObjectName("PromotionChooser");
}

QRect TPromotionChooser::CellRect(int i) const {
    const int row = Downward_ ? i : 3 - i;
    return QRect(1, 1 + row * Cell_, Cell_, Cell_);
}

int TPromotionChooser::CellAt(QPoint pos) const {
    for (int i = 0; i < 4; ++i)
        if (CellRect(i).contains(pos))
            return i;
    return -1;
}

void TPromotionChooser::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(64, 64, 64));
    for (int i = 0; i < 4; ++i) {
        const QRect r = CellRect(i);
        p.fillRect(r, i == 0 ? QColor(255, 236, 160) : QColor(236, 236, 228));
        const QImage& piece = Pieces_[static_cast<std::size_t>(i)];
        p.drawImage(r.topLeft() +
                        QPoint((r.width() - piece.width()) / 2, (r.height() - piece.height()) / 2),
                    piece);
        if (i > 0) {
            p.setPen(QColor(160, 160, 150));
            const int y = Downward_ ? r.top() : r.bottom();
            p.drawLine(r.left(), y, r.right(), y);
        }
    }
}

void TPromotionChooser::mousePressEvent(QMouseEvent* e) {
    // A press outside closes the pop-up (the toolkit's own handling), which takes the queen.
    if (!rect().contains(e->position().toPoint())) {
        QWidget::mousePressEvent(e);
        return;
    }
    Pressed_ = e->button() == Qt::LeftButton ? CellAt(e->position().toPoint()) : -1;
}

void TPromotionChooser::mouseReleaseEvent(QMouseEvent* e) {
    // The piece is taken on release, so that no stray release reaches the board afterwards.
    const int cell = CellAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && cell >= 0 && cell == Pressed_)
        Choose(Letters[cell]);
    Pressed_ = -1;
}

void TPromotionChooser::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Q:
        Choose('q');
        return;
    case Qt::Key_R:
        Choose('r');
        return;
    case Qt::Key_B:
        Choose('b');
        return;
    case Qt::Key_N:
        Choose('n');
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void TPromotionChooser::closeEvent(QCloseEvent* e) {
    // Closed without an answer (a click away, the window going): the queen.
    if (!Answered_) {
        Answered_ = true;
        if (OnChosen)
            OnChosen('q');
    }
    QWidget::closeEvent(e);
}

void TPromotionChooser::Choose(char letter) {
    if (!Answered_) {
        Answered_ = true;
        if (OnChosen)
            OnChosen(letter);
    }
    close();
}
