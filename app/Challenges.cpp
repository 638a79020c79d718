// Challenges: set positions from chlist.dat, played one at a time against the engine.
#include "app/Main1.h"
#include "app/core/ErrorReport.h"
#include "app/core/ProfileFormat.h"
#include "app/core/ProgramFolder.h"
#include "app/core/TextFile.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

std::optional<QStringList> TfrmCorvina::BreakString(const QString& open, const QString& close,
                                                    const QString& line, const QString& separator) {
    const qsizetype start = line.indexOf(open);
    const qsizetype end = line.indexOf(close);
    if (start < 0 || end < 0 || start >= end)
        return std::nullopt;
    const qsizetype from = start + open.size();
    return line.mid(from, end - from).split(separator);
}

bool TfrmCorvina::LoadChallenges() {
    const QString path = ProgramPath("chlist.dat");
    QStringList lines;
    QString error;
    if (!ReadTextLines(path, lines, &error)) {
        ReportError(error);
        return false;
    }
    // The table is filled anew from the good lines only, so nothing of an earlier reading
    // stays mixed in; every line that could not be used is named in one message.
    std::array<Challenge, MaxChallenges> table;
    int count = 0;
    QStringList skipped;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString& line = lines[k];
        if (line.trimmed().isEmpty())
            continue;
        const auto fields = BreakString("{", "}", line, ",");
        int blackToMove = 0;
        int computerBlack = 0;
        if (!fields || fields->size() < 4 || !ParseProfileInt(fields->at(1), &blackToMove) ||
            !ParseProfileInt(fields->at(3), &computerBlack)) {
            skipped << QString("line %1 is not a challenge").arg(k + 1);
            continue;
        }
        if (count == MaxChallenges) {
            skipped << QString("line %1 is past the %2 challenges the list holds")
                           .arg(k + 1)
                           .arg(MaxChallenges);
            continue;
        }
        table[static_cast<std::size_t>(count++)] = {fields->at(0), blackToMove, fields->at(2),
                                                    computerBlack};
    }
    if (!skipped.isEmpty())
        ReportError(
            QString("In \"%1\" %2; those lines were skipped.").arg(path, skipped.join(", ")));
    if (count == 0) {
        ReportError(QString("\"%1\" holds no challenge.").arg(path));
        return false;
    }
    Challenges = table;
    ChallengeCount = count;
    CurrentChallenge = 0;
    return true;
}

void TfrmCorvina::ShowChallengeControls(bool shown) {
    for (QAction* a : {mnuRestart, mnuPreviousCh, mnuNextCh})
        a->setVisible(shown);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdPrevious, cmdRestart, cmdNext, instruct})
        w->setVisible(shown);
}

void TfrmCorvina::mnuChallengesClick() {
    if (ChallengeMode) {
        ChallengeMode = false;
        ShowChallengeControls(false);
        mnuChallenges->setText(ChallengeMenuText);
        events->clear();
        status->clear();
        cb1->StartNewGame();
        return;
    }
    ChallengeMode = true;
    if (!LoadChallenges())
        return; // in challenge mode with nothing set up; the next click leaves it
    ShowChallengeControls(true);
    mnuChallenges->setText(ChallengeEndText);
    Player1->setText("Player1");
    Player1->adjustSize();
    Player2->setText("Player2");
    events->clear();
    LoadChallenge(0);
    cb1->setEnabled(true);
}

void TfrmCorvina::LoadChallenge(int index) {
    if (index < 0 || index >= ChallengeCount)
        return;
    const Challenge& c = Challenges[static_cast<std::size_t>(index)];
    cb1->StartNewGame();
    if (c.ComputerBlack != 0) {
        cb1->SetComputerPlaysBlack(true);
        cb1->SetComputerPlaysWhite(false);
    } else {
        cb1->SetComputerPlaysWhite(true);
        cb1->SetComputerPlaysBlack(false);
    }
    cb1->SetPosition(c.Position.toStdString());
    cb1->SetWhiteToMove(c.BlackToMove == 0);
    instruct->setText(QString("Challenge %1: %2").arg(index + 1).arg(c.Description));
    instruct->adjustSize();
    events->clear();
    status->clear();
    RefreshPoints();
}

void TfrmCorvina::mnuNextChClick() {
    if (ChallengeCount == 0)
        return;
    if (CurrentChallenge + 1 == ChallengeCount)
        CurrentChallenge = -1;
    LoadChallenge(++CurrentChallenge);
}

void TfrmCorvina::mnuPreviousChClick() {
    if (ChallengeCount == 0)
        return;
    if (CurrentChallenge == 0)
        CurrentChallenge = ChallengeCount;
    LoadChallenge(--CurrentChallenge);
}

void TfrmCorvina::mnuRestartClick() {
    LoadChallenge(CurrentChallenge);
}
