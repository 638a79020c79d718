// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TPromotionChooser: the small pop-up column a person picks a promotion piece from. It shows
// the queen, rook, bishop and knight of the promoting side, drawn from the board's own
// pictures, one square each; the queen sits on the promotion square. A click on a piece picks
// it; Escape or a click anywhere else takes the queen. It never waits: the answer comes
// through OnChosen, once, and the pop-up closes and deletes itself.

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class TPromotionChooser : public QWidget {
public:
    // `pieces`: queen, rook, bishop and knight as the board draws them; `cell`: the side of a
    // square. `downward`: the column runs down from the queen, otherwise up.
    TPromotionChooser(QWidget* parent, const std::array<QImage, 4>& pieces, int cell,
                      bool downward);

    // The piece chosen, in lower case: "q", "r", "b" or "n".
    std::function<void(char)> OnChosen;

    // The letters in the order shown, from the promotion square on.
    static constexpr const char* Letters = "qrbn";
    // The cell of the i-th letter, in the pop-up's own coordinates.
    QRect CellRect(int i) const;
    // Where the queen's cell lies in the pop-up (the point put on the promotion square).
    QPoint QueenCorner() const { return CellRect(0).topLeft(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int CellAt(QPoint pos) const;
    void Choose(char letter);

    std::array<QImage, 4> Pieces_;
    int Cell_;
    bool Downward_;
    int Pressed_ = -1;
    bool Answered_ = false;
};
