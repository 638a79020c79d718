#pragma once
// TfrmGoTo: the list of recorded half-moves, from which the user picks the position to show.

#include <QDialog>

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
};
