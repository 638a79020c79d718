// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAboutBox: the "About" dialog with the program icon and the scrolling credits.

#include <QDialog>

class QLabel;
class QPushButton;
class TScrollingCredits;

class TAboutBox : public QDialog {
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon;
    TScrollingCredits* cred;
    QPushButton* OKButton;

    // Starts the credits scrolling from the bottom and shows the box modally; answers the
    // dialog's result.
    int Execute();

    void OKButtonClick();

    // The box opens in the middle of the screen, whoever its parent is.
    void setVisible(bool visible) override;
    // However the box closes (OK, Escape, the window's close button) the credits stop, so
    // a closed box costs nothing.
    void done(int result) override;
};
