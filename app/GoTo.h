// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmGoTo: the list of recorded half-moves, from which the user picks the position to show.

#include <QDialog>
#include <QStringList>

#include <optional>

class QListWidget;
class QPushButton;

class TfrmGoTo : public QDialog {
public:
    explicit TfrmGoTo(QWidget* parent = nullptr);

    QListWidget* listme;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // Index of the selected line counted from 0, or -1 when nothing is selected.
    int SelectedIndex() const;
    // Shows the lines modally; on OK the index of the chosen line (-1: none), on Cancel none.
    std::optional<int> Execute(const QStringList& lines);
};
