// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and settings profiles of the main window: the auto-load marker, applying a
// profile's ten lines, the profile of the window as it stands, and the one kept on quitting.
#include "app/GamePanels.h"
#include "app/Main1.h"
#include "app/PlayerLabels.h"
#include "app/Theme1.h"
#include "app/WindowLayout.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "formats/ProfileFormat.h"
#include "uikit/ErrorReport.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr int WidthWithPane = 814;
constexpr int WidthWithoutPane = 625;
constexpr int PaneShift = 50;
constexpr int ClientHeight = 457;
// The chat area adds this many pixels below the window's normal client area.
constexpr int ChatAreaHeight = 150;
// The window's size between runs: one line "WIDTH HEIGHT MAXIMISED" beside the profiles, so
// that they keep their ten lines.
constexpr const char* WindowSizeFile = "ws.dat";

bool PlainName(const QString& name) {
    return !name.isEmpty() && !name.contains('/') && !name.contains('\\') && name != "." &&
           name != "..";
}

} // namespace

void TfrmCorvina::FormCreate() {
    cb1->OnPlayersChange = [this](TObject*) { FollowPlayers(); };
    cb1->SetComputerPlaysBlack(true);
    LoadHighlightChoice();
    QString error;
    // Default is always there: one deleted by hand comes back as the window was designed.
    const QString defaultPath = ProgramPath("Settings/" + DefaultProfileName);
    const QStringList design = BuildProfile(DesignProfile());
    const bool defaultMissing = !QFileInfo::exists(defaultPath);
    if (defaultMissing)
        WriteTextLines(defaultPath, design);
    const QString marker = ProgramPath("al.dat");
    QStringList al;
    if (!ReadTextLines(marker, al, &error)) {
        ReportError(error);
        return;
    }
    // A profile name is a file name inside Settings, never a path elsewhere.
    auto exists = [](const QString& name) {
        return PlainName(name) && QFileInfo(ProgramPath("Settings/" + name)).isFile();
    };
    const bool named = !al.isEmpty() && !al.first().isEmpty();
    const bool fallBack = named && !exists(al.first());
    // Without a profile of the user's choice, the settings of the last run, else Default.
    const QString name = named && !fallBack            ? al.first()
                         : exists(LastUsedProfileName) ? LastUsedProfileName
                                                       : DefaultProfileName;
    QStringList profile;
    if (name == DefaultProfileName && defaultMissing && !QFileInfo::exists(defaultPath)) {
        profile = design; // the folder may not be written; the design still applies
    } else if (!ReadTextLines(ProgramPath("Settings/" + name), profile, &error)) {
        ReportError(error);
        return;
    }
    // The marker is emptied only once the replacement has been read, so an unreadable one does
    // not lose the name the user chose.
    if (fallBack && !WriteTextLines(marker, {}, &error)) {
        ReportError(error);
        return;
    }
    ApplyProfile(profile, name, true);
}

void TfrmCorvina::ReadPieceSet(TProfileRead& read, const QString& name, QImage* set) const {
    if (!read.Good(plPieceSet + 1))
        return;
    const QString file = ProgramPath("pieces/" + read.Value.PieceSetFile);
    QImageReader reader(file);
    const QImage image = reader.read();
    QString fault;
    if (image.isNull())
        fault =
            QString("the piece set \"%1\" could not be read: %2.").arg(file, reader.errorString());
    else if (!TChessBrd::IsPieceSet(image))
        fault =
            QString("\"%1\" is no piece set (a bitmap of 6 x 4 squares is expected).").arg(file);
    if (fault.isEmpty()) {
        if (set)
            *set = image;
        return;
    }
    // Named in line order: the lines before 5 that failed have one sentence each.
    const auto before = std::count_if(read.BadLines.begin(), read.BadLines.end(),
                                      [](int line) { return line < plPieceSet + 1; });
    read.BadLines.insert(before, plPieceSet + 1);
    QStringList sentences = read.Error.isEmpty() ? QStringList() : read.Error.split('\n');
    sentences.insert(before, QString("Settings profile \"%1\", line 5: %2").arg(name, fault));
    read.Error = sentences.join('\n');
}

bool TfrmCorvina::ApplyProfile(const QStringList& lines, const QString& name, bool startUp) {
    TProfileRead read = ParseProfile(lines, name);
    QImage set;
    ReadPieceSet(read, name, &set);
    const TProfile& p = read.Value;
    // Every line that reads well is applied; the bad ones are named together at the end.
    if (read.Good(1))
        cb1->SetSquareColorDark(p.Dark);
    if (read.Good(2))
        cb1->SetSquareColorLight(p.Light);
    if (read.Good(3))
        cb1->SetSearchDepth(p.SearchDepth);
    TThreadPriority priority;
    if (read.Good(4) && CodeToPriority(p.PriorityCode, &priority))
        cb1->SetThinkingPriority(priority);
    if (read.Good(5)) {
        cb1->SetCustomPieceSet(set);
        CurrentPieceSetFile_ = ProgramPath("pieces/" + p.PieceSetFile);
    }
    if (read.Good(6)) {
        mnuLines->setChecked(p.BoardLines);
        cb1->SetBoardLines(p.BoardLines);
    }
    if (read.Good(7)) {
        ChosenWhiteOnTop_ = p.WhiteOnTop;
        ShowWhiteOnTop(p.WhiteOnTop);
    }
    if (read.Good(8))
        LanguageIndex_ = p.LanguageIndex;
    if (read.Good(9))
        ThemeIndex_ = p.ThemeIndex;
    // At start-up the language and the theme dialogs do not exist yet: the one-shot start-up
    // step applies both.
    if (!startUp && read.Good(8))
        ApplyLanguage();
    // At start-up the window has no place yet: it opens centred, so nothing is moved.
    if (read.Good(10))
        SetCapturedPane(p.CapturedPieces, !startUp);
    if (!startUp && read.Good(9) && frmTheme) {
        frmTheme->SelectIndex(ThemeIndex_);
        frmTheme->cmdApplyClick();
    }
    if (!read.Complete()) {
        ReportError(read.Error);
        return false;
    }
    return true;
}

TProfile TfrmCorvina::CurrentProfile() const {
    TProfile p;
    p.Dark = cb1->SquareColorDark();
    p.Light = cb1->SquareColorLight();
    p.SearchDepth = cb1->SearchDepth();
    p.PriorityCode = PriorityToCode(cb1->ThinkingPriority());
    // No file yet means the built-in set, which is the design's set file.
    p.PieceSetFile = CurrentPieceSetFile_.isEmpty() ? DesignProfile().PieceSetFile
                                                    : QFileInfo(CurrentPieceSetFile_).fileName();
    p.BoardLines = mnuLines->isChecked();
    // The player's own choice, not a turn the game in progress gave the board.
    p.WhiteOnTop = ChosenWhiteOnTop_;
    p.LanguageIndex = LanguageIndex_;
    p.ThemeIndex = ThemeIndex_;
    p.CapturedPieces = mnuCPieces->isChecked();
    return p;
}

void TfrmCorvina::SetCapturedPane(bool shown, bool moveWindow) {
    const bool changed = mnuCPieces->isChecked() != shown;
    mnuCPieces->setChecked(shown);
    pane->setVisible(shown);
    const QSize margins = frameGeometry().size() - size();
    FitDesign();
    const QSize frame = margins + size();
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

QSize TfrmCorvina::DesignSize() const {
    return {mnuCPieces->isChecked() ? WidthWithPane : WidthWithoutPane,
            ClientHeight + (ChatShown_ ? ChatAreaHeight : 0)};
}

void TfrmCorvina::FitDesign() {
    const int bar = menuBar()->sizeHint().height();
    const QSize design = DesignSize();
    setMinimumSize(design + QSize(0, bar));
    if (isMaximized() || isFullScreen())
        return Relayout();
    const double k = Layout_ ? Layout_->Scale() : 1.0;
    resize(int(std::lround(design.width() * k)), int(std::lround(design.height() * k)) + bar);
    Relayout();
}

void TfrmCorvina::Relayout() {
    if (!Layout_)
        return;
    Layout_->Apply(size() - QSize(0, menuBar()->sizeHint().height()), DesignSize());
    Players_->SetBoardEdges(cb1->x(), cb1->geometry().right());
    Players_->Relayout();
}

void TfrmCorvina::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Relayout();
}

void TfrmCorvina::LoadWindowSize() {
    QStringList lines;
    if (!QFileInfo::exists(ProgramPath(WindowSizeFile)) ||
        !ReadTextLines(ProgramPath(WindowSizeFile), lines, nullptr) || lines.isEmpty())
        return;
    // "WIDTH HEIGHT MAXIMISED"; anything else is ignored, as is a size below the design's.
    const QStringList words = lines.first().simplified().split(' ');
    bool okWidth = false, okHeight = false;
    const int w = words.value(0).toInt(&okWidth), h = words.value(1).toInt(&okHeight);
    if (okWidth && okHeight && w <= 16384 && h <= 16384)
        resize(std::max(w, minimumWidth()), std::max(h, minimumHeight()));
    if (words.value(2) == "1")
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmCorvina::SaveWindowSize() const {
    const QSize size = normalGeometry().isValid() ? normalGeometry().size() : this->size();
    // The chat area's height belongs to the NetGame, not to the window.
    const int chat = ChatShown_ ? int(std::lround(ChatAreaHeight * Layout_->Scale())) : 0;
    WriteTextLines(ProgramPath(WindowSizeFile),
                   {QString("%1 %2 %3")
                        .arg(size.width())
                        .arg(size.height() - chat)
                        .arg(isMaximized() ? 1 : 0)},
                   nullptr);
}

void TfrmCorvina::closeEvent(QCloseEvent* event) {
    // The choices of this run, and the window's size, are there at the next start, without a
    // profile of their own (not after the install check's start, which changes nothing).
    if (KeepLastUsed) {
        SaveWindowSize();
        WriteProfile(LastUsedProfileName, BuildProfile(CurrentProfile()));
    }
    QMainWindow::closeEvent(event);
}

void TfrmCorvina::Timer2Timer() {
    Timer2->stop();
    if (OnStartUpStep)
        OnStartUpStep(LanguageIndex_, ThemeIndex_);
    Panels_->Refresh();
}
