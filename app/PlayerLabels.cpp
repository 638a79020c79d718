// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlayerLabels.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

constexpr int Gap = 4;

} // namespace

TPlayerLabels::TPlayerLabels(QLabel* player1, QLabel* player2, QWidget* player1Stop,
                             QWidget* player2Stop)
    : Label1_(player1), Label2_(player2), Stop1_(player1Stop), Stop2_(player2Stop),
      Player1_(player1->text()), Player2_(player2->text()),
      Player2Right_(player2->geometry().right()) {}

void TPlayerLabels::Fit(QLabel* label, const QString& name, int room) {
    label->setText(name);
    label->adjustSize();
    label->setToolTip({});
    if (label->width() <= room)
        return;
    // Everything but the text itself: frame and margins.
    const int chrome = label->width() - QFontMetrics(label->font()).horizontalAdvance(name);
    const QString shown =
        QFontMetrics(label->font()).elidedText(name, Qt::ElideRight, std::max(0, room - chrome));
    label->setText(shown);
    label->adjustSize();
    label->resize(std::min(label->width(), room), label->height());
    label->setToolTip(name);
}

void TPlayerLabels::SetPlayer1(const QString& name) {
    Player1_ = name;
    const int right = Stop1_ && !Stop1_->isHidden() ? Stop1_->x() - Gap : BoardRight_;
    Fit(Label1_, name, right - Label1_->x() + 1);
}

void TPlayerLabels::SetPlayer2(const QString& name) {
    Player2_ = name;
    const int left =
        Stop2_ && !Stop2_->isHidden() ? Stop2_->geometry().right() + 1 + Gap : BoardLeft_;
    Fit(Label2_, name, Player2Right_ - left + 1);
    Label2_->move(Player2Right_ - Label2_->width() + 1, Label2_->y());
}

void TPlayerLabels::SetBoardEdges(int left, int right) {
    BoardLeft_ = left;
    BoardRight_ = right + 1;
    Player2Right_ = right;
}

void TPlayerLabels::Relayout() {
    SetPlayer1(Player1_);
    SetPlayer2(Player2_);
}
