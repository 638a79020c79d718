// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Challenge mode: the set positions of chlist.dat, played one at a time against the engine.
// It owns the challenge table and the current challenge; the controls are the main window's.

#include "formats/ChallengeList.h"

#include <QString>

class QAction;
class QLabel;
class QPushButton;
class TChessBrd;
class TGamePanels;
class TPlayerLabels;

struct TChallengeControls {
    TChessBrd* Board = nullptr;
    TGamePanels* Panels = nullptr;
    TPlayerLabels* Players = nullptr;
    QLabel* Instruct = nullptr;
    QAction* MenuItem = nullptr; // "Challenges!" / "End Challenge"
    QAction* Restart = nullptr;
    QAction* Previous = nullptr;
    QAction* Next = nullptr;
    QPushButton* CmdPrevious = nullptr;
    QPushButton* CmdRestart = nullptr;
    QPushButton* CmdNext = nullptr;
};

class TChallengeMode {
public:
    explicit TChallengeMode(const TChallengeControls& controls);

    // Captions of the menu item outside and inside challenge mode; the language layer sets them.
    QString MenuText = "Challenges!";
    QString EndText = "End Challenge";
    // Puts the caption of the present mode on the menu item, after the captions changed.
    void ShowMenuCaption();

    bool Active() const { return Active_; }
    int Count() const { return List_.Count; }
    int Current() const { return Current_; }

    // "Challenges!": enters or leaves challenge mode.
    void Toggle();
    void Next();
    void Previous();
    void Restart();
    void Load(int index);

private:
    bool ReadList();
    void ShowControls(bool shown);

    TChallengeControls C_;
    TChallengeList List_;
    bool Active_ = false;
    int Current_ = 0;
};
