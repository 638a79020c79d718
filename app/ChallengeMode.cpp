// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChallengeMode.h"

#include "app/GamePanels.h"
#include "app/PlayerLabels.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "uikit/ErrorReport.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>

TChallengeMode::TChallengeMode(const TChallengeControls& controls) : C_(controls) {}

bool TChallengeMode::ReadList() {
    const QString path = ProgramPath("chlist.dat");
    const auto lines = ReadLinesReported(path);
    if (!lines)
        return false;
    TChallengeList list = ParseChallengeList(*lines);
    // Every line that could not be used is named in one message; the good ones still play.
    if (!list.Skipped.isEmpty())
        ReportError(QString("In \"%1\" %2; those lines were skipped.")
                        .arg(QDir::toNativeSeparators(path), list.Skipped.join(", ")));
    if (list.Count == 0) {
        ReportError(QString("\"%1\" holds no challenge.").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    List_ = list;
    Current_ = 0;
    return true;
}

void TChallengeMode::ShowControls(bool shown) {
    for (QAction* a : {C_.Restart, C_.Previous, C_.Next})
        a->setVisible(shown);
    for (QWidget* w :
         std::initializer_list<QWidget*>{C_.CmdPrevious, C_.CmdRestart, C_.CmdNext, C_.Instruct})
        w->setVisible(shown);
    C_.Players->Relayout();
}

void TChallengeMode::ShowMenuCaption() {
    C_.MenuItem->setText(Active_ ? EndText : MenuText);
}

void TChallengeMode::Toggle() {
    if (Active_) {
        Active_ = false;
        ShowControls(false);
        C_.MenuItem->setText(MenuText);
        C_.Panels->ClearEvents();
        C_.Panels->SetMoveList({});
        C_.Board->StartNewGame();
        C_.Panels->Refresh();
        return;
    }
    Active_ = true;
    if (!ReadList())
        return; // in challenge mode with nothing set up; the next click leaves it
    ShowControls(true);
    C_.MenuItem->setText(EndText);
    C_.Players->SetPlayer1("Player1");
    C_.Players->SetPlayer2("Player2");
    C_.Panels->ClearEvents();
    Load(0);
    C_.Board->setEnabled(true);
}

void TChallengeMode::Load(int index) {
    if (index < 0 || index >= List_.Count)
        return;
    const TChallenge& c = List_.Table[static_cast<std::size_t>(index)];
    TChessBrd* board = C_.Board;
    board->StartNewGame();
    if (c.ComputerBlack != 0) {
        board->SetComputerPlaysBlack(true);
        board->SetComputerPlaysWhite(false);
    } else {
        board->SetComputerPlaysWhite(true);
        board->SetComputerPlaysBlack(false);
    }
    board->SetPosition(c.Position);
    board->SetWhiteToMove(c.BlackToMove == 0);
    C_.Instruct->setText(QString("Challenge %1: %2").arg(index + 1).arg(c.Description));
    C_.Instruct->adjustSize();
    C_.Players->Relayout();
    C_.Panels->ClearEvents();
    C_.Panels->SetMoveList({});
    C_.Panels->Refresh();
    // The challenge's position stands; the computer answers once the person has moved (and
    // moves first in a challenge whose side to move it plays).
    board->StartThinking();
}

void TChallengeMode::Next() {
    if (List_.Count == 0)
        return;
    if (Current_ + 1 == List_.Count)
        Current_ = -1;
    Load(++Current_);
}

void TChallengeMode::Previous() {
    if (List_.Count == 0)
        return;
    if (Current_ == 0)
        Current_ = List_.Count;
    Load(--Current_);
}

void TChallengeMode::Restart() {
    Load(Current_);
}
