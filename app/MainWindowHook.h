// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one narrow way in for tests and tools. A person gives the main window its commands
// through the menus: `Trigger` does the same with the menu item of that object name. Where a
// person would pick a file or type a name in a dialog, the hook runs the command with that
// answer given; and it reads what the window shows.

#include "formats/Profile.h"

#include <QString>
#include <QStringList>

class TfrmCorvina;
struct TNewGame;

class TMainWindowHook {
public:
    explicit TMainWindowHook(TfrmCorvina* window) : W(window) {}

    // Triggers the menu item named `action` ("mnuNext"), as a click on it does; false when
    // there is no such item or it is disabled.
    bool Trigger(const QString& action) const;

    // Files, with the file dialog's answer given.
    bool SaveGameTo(const QString& path) const;
    bool LoadGameFrom(const QString& path) const;
    bool ExportMoveListTo(const QString& path) const;
    bool ExportPgnTo(const QString& path) const;
    bool LoadPgnFrom(const QString& path) const;
    bool StartFromFen(const QString& fen) const;
    bool SaveSettingsAs(const QString& name) const;
    bool LoadSettings(const QString& name) const;
    // The New Game dialog's answer, and the Go To Move dialog's line (-1: the start).
    void ApplyNewGame(const TNewGame& game) const;
    void GoToLine(int index) const;
    void SetPlayer1(const QString& name) const;
    void SetPlayer2(const QString& name) const;
    // The captured-pieces pane, as the profile's line and the menu set it.
    void SetCapturedPane(bool shown, bool moveWindow) const;
    // The start-up step, which the window's timer runs 150 ms after it is shown.
    void Timer2Timer() const;

    // What the window shows and keeps.
    QStringList StatusLines() const;
    QString Player1() const;
    QString Player2() const;
    QString CurrentFen() const;
    TProfile CurrentProfile() const;
    bool ChallengeMode() const;
    int ChallengeCount() const;
    int LanguageIndex() const;
    int ThemeIndex() const;
    QString CurrentPieceSetFile() const;
    bool NetGameActive() const;

private:
    TfrmCorvina* W;
};
