// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and settings profiles of the main window: the auto-load marker, applying a
// profile's ten lines, and the profile of the window as it stands.
#include "app/GamePanels.h"
#include "app/Main1.h"
#include "app/Theme1.h"
#include "app/core/ErrorReport.h"
#include "app/core/ProfileFormat.h"
#include "app/core/ProgramFolder.h"
#include "app/core/TextFile.h"
#include "board/ChessBrd.h"

#include <QAction>
#include <QFileInfo>
#include <QFrame>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int WidthWithPane = 814;
constexpr int WidthWithoutPane = 625;
constexpr int PaneShift = 50;

bool PlainName(const QString& name) {
    return !name.isEmpty() && !name.contains('/') && !name.contains('\\') && name != "." &&
           name != "..";
}

} // namespace

void TfrmCorvina::FormCreate() {
    cb1->SetComputerPlaysBlack(true);
    LoadHighlightChoice();
    const QString marker = ProgramPath("al.dat");
    QStringList al;
    QString error;
    if (!ReadTextLines(marker, al, &error)) {
        ReportError(error);
        return;
    }
    QString name = al.isEmpty() || al.first().isEmpty() ? QString("Default") : al.first();
    // A profile name is a file name inside Settings, never a path elsewhere.
    QString path = ProgramPath("Settings/" + name);
    const bool fallBack = !PlainName(name) || !QFileInfo(path).isFile();
    if (fallBack) {
        name = "Default";
        path = ProgramPath("Settings/Default");
    }
    QStringList profile;
    if (!ReadTextLines(path, profile, &error)) {
        ReportError(error);
        return;
    }
    // The marker is emptied only once Default has been read, so an unreadable Default does
    // not lose the name the user chose.
    if (fallBack && !al.isEmpty() && !WriteTextLines(marker, {}, &error)) {
        ReportError(error);
        return;
    }
    ApplyProfile(profile, name, true);
}

bool TfrmCorvina::ApplyProfile(const QStringList& lines, const QString& name, bool startUp) {
    const TProfileRead read = ParseProfile(lines, name);
    const TProfile& p = read.Value;
    const int good = read.GoodLines;
    auto stop = [&] {
        ReportError(read.Error);
        return false;
    };
    if (good < 1)
        return stop();
    cb1->SetSquareColorDark(p.Dark);
    if (good < 2)
        return stop();
    cb1->SetSquareColorLight(p.Light);
    if (good < 3)
        return stop();
    cb1->SetSearchDepth(p.SearchDepth);
    if (good < 4)
        return stop();
    TThreadPriority priority;
    if (CodeToPriority(p.PriorityCode, &priority))
        cb1->SetThinkingPriority(priority);
    if (good < 5)
        return stop();
    const QString setFile = ProgramPath("pieces/" + p.PieceSetFile);
    const QImage set(setFile);
    if (set.isNull()) {
        ReportError(QString("Settings profile \"%1\", line 5: the piece set \"%2\" could not be "
                            "read.")
                        .arg(name, setFile));
        return false;
    }
    cb1->SetCustomPieceSet(set);
    CurrentPieceSetFile_ = setFile;
    if (good < 6)
        return stop();
    mnuLines->setChecked(p.BoardLines);
    cb1->SetBoardLines(p.BoardLines);
    if (good < 7)
        return stop();
    mnuWOT->setChecked(p.WhiteOnTop);
    cb1->SetWhiteOnTop(p.WhiteOnTop);
    if (good < 9) {
        if (good == 8)
            LanguageIndex_ = p.LanguageIndex;
        return stop();
    }
    LanguageIndex_ = p.LanguageIndex;
    ThemeIndex_ = p.ThemeIndex;
    // At start-up the language and the theme dialogs do not exist yet: the one-shot start-up
    // step applies both.
    if (!startUp)
        ApplyLanguage();
    if (good < 10)
        return stop();
    // At start-up the window has no place yet: it opens centred, so nothing is moved.
    SetCapturedPane(p.CapturedPieces, !startUp);
    if (!startUp && frmTheme) {
        frmTheme->SelectIndex(ThemeIndex_);
        frmTheme->cmdApplyClick();
    }
    return true;
}

TProfile TfrmCorvina::CurrentProfile() const {
    TProfile p;
    p.Dark = cb1->SquareColorDark();
    p.Light = cb1->SquareColorLight();
    p.SearchDepth = cb1->SearchDepth();
    p.PriorityCode = PriorityToCode(cb1->ThinkingPriority());
    p.PieceSetFile = QFileInfo(CurrentPieceSetFile_).fileName();
    p.BoardLines = mnuLines->isChecked();
    p.WhiteOnTop = mnuWOT->isChecked();
    p.LanguageIndex = LanguageIndex_;
    p.ThemeIndex = ThemeIndex_;
    p.CapturedPieces = mnuCPieces->isChecked();
    return p;
}

void TfrmCorvina::SetCapturedPane(bool shown, bool moveWindow) {
    const bool changed = mnuCPieces->isChecked() != shown;
    mnuCPieces->setChecked(shown);
    pane->setVisible(shown);
    const int width = shown ? WidthWithPane : WidthWithoutPane;
    const QSize frame = frameGeometry().size() - size() + QSize(width, height());
    setFixedWidth(width);
    if (!changed || !moveWindow)
        return;
    // The shift keeps the board in place; near a screen edge the window stays wholly on the
    // screen instead, so that neither the board's a-file nor the menu bar is cut off.
    QPoint to(x() + (shown ? -PaneShift : PaneShift), y());
    if (const QScreen* where = screen()) {
        const QRect area = where->availableGeometry();
        to.setX(std::max(area.left(), std::min(to.x(), area.right() + 1 - frame.width())));
        to.setY(std::max(area.top(), std::min(to.y(), area.bottom() + 1 - frame.height())));
    }
    move(to);
}

void TfrmCorvina::Timer2Timer() {
    Timer2->stop();
    if (OnStartUpStep)
        OnStartUpStep();
    Panels_->Refresh();
}
