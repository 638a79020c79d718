// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two player names: Player1 at the bottom left, Player2 at the top with its right edge
// fixed. Each label is sized to its text; a name that would reach another control is shown
// shortened, with the whole name in its tooltip. The full names are kept for saving.

#include <QString>

class QLabel;
class QWidget;

class TPlayerLabels {
public:
    // `player1Stop` and `player2Stop` are the controls the labels must not reach when shown
    // (the challenge buttons right of Player1, the challenge caption left of Player2).
    TPlayerLabels(QLabel* player1, QLabel* player2, QWidget* player1Stop, QWidget* player2Stop);

    void SetPlayer1(const QString& name);
    void SetPlayer2(const QString& name);
    const QString& Player1() const { return Player1_; }
    const QString& Player2() const { return Player2_; }
    // Lays both labels out again, after the controls beside them were shown, hidden or resized.
    void Relayout();
    // The board's left and right edge (its last column): Player1 may run to the right edge,
    // Player2 ends at it and may run to the left edge.
    void SetBoardEdges(int left, int right);

private:
    void Fit(QLabel* label, const QString& name, int room);

    QLabel* Label1_;
    QLabel* Label2_;
    QWidget* Stop1_;
    QWidget* Stop2_;
    QString Player1_;
    QString Player2_;
    int Player2Right_;
    int BoardLeft_ = 9;
    int BoardRight_ = 409;
};
