// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's size and place: the designed client area with or without the
// captured-pieces pane and the chat area, the scale the controls keep when the window grows,
// the size kept between runs, and what closing the window keeps.
#include "app/GamePanels.h"
#include "app/Main1.h"
#include "app/PlayerLabels.h"
#include "app/SettingsProfiles.h"
#include "app/WindowLayout.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
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

} // namespace

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
        Profiles_->Write(LastUsedProfileName, BuildProfile(Profiles_->Current()));
    }
    QMainWindow::closeEvent(event);
}

void TfrmCorvina::Timer2Timer() {
    Timer2->stop();
    if (OnStartUpStep)
        OnStartUpStep(Profiles_->LanguageIndex(), Profiles_->ThemeIndex());
    Panels_->Refresh();
}
