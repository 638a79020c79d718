// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowLayout.h"

#include "board/ChessBrd.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

TWindowLayout::TWindowLayout(QWidget* stage, TChessBrd* board, QWidget* background)
    : Stage_(stage), Board_(board), Background_(background) {}

void TWindowLayout::Record(const std::set<QWidget*>& textSized) {
    Designed_.clear();
    TextSized_ = textSized;
    for (QObject* child : Stage_->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w == Background_ || w == Board_ || w->isWindow())
            continue;
        Designed_[w] = w->geometry();
    }
    BoardDesigned_ = Board_->geometry();
}

double TWindowLayout::Apply(QSize area, QSize design) {
    // Beyond the factor at which the board reaches its largest size the panels would only
    // drift away from it: the designed area stays at that factor, centred.
    const double largest = double(Board_->ResizeMaxSize()) / BoardDesigned_.width();
    const double k = std::max(1.0, std::min({double(area.width()) / design.width(),
                                             double(area.height()) / design.height(), largest}));
    Scale_ = k;
    const int left = std::max(0, int(area.width() - design.width() * k) / 2);
    const int top = std::max(0, int(area.height() - design.height() * k) / 2);
    auto scaled = [k](int v) { return int(std::lround(v * k)); };
    Background_->setGeometry(0, 0, std::max(area.width(), design.width()),
                             std::max(area.height(), design.height()));
    Stage_->setGeometry(left, top, scaled(design.width()), scaled(design.height()));
    for (const auto& [w, r] : Designed_) {
        if (TextSized_.count(w)) {
            w->move(scaled(r.x()), scaled(r.y()));
        } else if (qobject_cast<QLabel*>(w)) {
            w->setGeometry(scaled(r.x()), scaled(r.y()), scaled(r.width()), r.height());
        } else {
            w->setGeometry(scaled(r.x()), scaled(r.y()), scaled(r.width()), scaled(r.height()));
        }
    }
    // The board: whole squares within its scaled side, never beyond its largest size.
    const int border = Board_->SizeOfBorder();
    const int side = std::min(scaled(BoardDesigned_.width()), Board_->ResizeMaxSize());
    const int square = std::max(1, (side - 2 * border) / 8);
    Board_->move(scaled(BoardDesigned_.x()), scaled(BoardDesigned_.y()));
    if (square != Board_->SizeOfSquare())
        Board_->SetSizeOfSquare(square);
    Board_->resize(8 * square + 2 * border, 8 * square + 2 * border);
    return k;
}
