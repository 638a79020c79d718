// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmOptions: the engine's search depth and thinking priority, filled from the board when
// opened and given back to it on OK.

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;
class TChessBrd;

class TfrmOptions : public QDialog {
public:
    explicit TfrmOptions(TChessBrd* board, QWidget* parent = nullptr);

    // Fills the controls from the board.
    void Fill();
    void cmdOKClick();
    void Execute();

private:
    TChessBrd* Board;
    QComboBox* engine;
    QSpinBox* sd;
    QComboBox* prior;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};
