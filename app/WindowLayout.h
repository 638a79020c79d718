// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's controls at any size of the window. The window is designed at 814 x 457
// (625 wide without the captured-pieces pane, 150 taller with the chat area); at a larger
// size every control keeps its designed place scaled by one factor, the largest at which the
// designed area fits, so the side panels keep their proportions and nothing overlaps. Lists,
// edits, buttons and frames grow with the factor; labels keep their text's height, and the
// labels sized to their text keep their size; the board's squares grow with it, up to the
// board's largest size. At the designed size every control stands exactly where it was put.

#include <QRect>
#include <QSize>

#include <map>
#include <set>

class QWidget;
class TChessBrd;

class TWindowLayout {
public:
    // `stage` holds the controls; it and `background` are children of the client area.
    TWindowLayout(QWidget* stage, TChessBrd* board, QWidget* background);

    // Takes the present geometry of every control as designed; controls in `textSized` are
    // sized to their text by others and only placed here.
    void Record(const std::set<QWidget*>& textSized);
    // Lays the controls out for a client area of `area` with the designed area `design`, and
    // answers the factor used.
    double Apply(QSize area, QSize design);
    double Scale() const { return Scale_; }

private:
    QWidget* Stage_;
    TChessBrd* Board_;
    QWidget* Background_;
    std::map<QWidget*, QRect> Designed_;
    std::set<QWidget*> TextSized_;
    QRect BoardDesigned_;
    double Scale_ = 1;
};
