// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TSettingsProfiles: the main window's settings profiles. Which one start-up applies (the one
// al.dat names, else "Last used", else Default, written back from the design when missing),
// applying a profile's ten lines, the profile of the window as it stands, and saving and
// loading profiles by name. It keeps what a profile holds beyond the board and the menus: the
// piece-set file, the language and the theme.

#include "formats/Profile.h"

#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QImage;
class QWidget;
class TChessBrd;
class TfrmLang;
class TfrmLoadSet;
class TfrmTheme;

// What a profile sets in the window besides the board.
struct TProfileTargets {
    // Line 6: the menu item that shows the board's lines.
    QAction* Lines = nullptr;
    // Line 7: the player's own choice of the board's side.
    std::function<bool()> WhiteOnTop;
    std::function<void(bool on)> SetWhiteOnTop;
    // Line 10: the captured-pieces pane; `moveWindow` keeps the board in its place on the screen.
    std::function<bool()> CapturedPane;
    std::function<void(bool shown, bool moveWindow)> SetCapturedPane;
};

class TSettingsProfiles {
public:
    TSettingsProfiles(QWidget* window, TChessBrd* board, TProfileTargets targets);
    // Load Settings, and the theme dialog, which applies line 9 of a loaded profile.
    void SetDialogs(TfrmLoadSet* loadSet, TfrmTheme* theme);
    // The language dialog applies line 8 of a loaded profile; each of its Applies is kept.
    void SetLanguageDialog(TfrmLang* lang);

    void ApplyAtStartUp();
    // Applies every line of a profile that reads well, in order; names the bad lines in one
    // report and answers false when there are any. `startUp` leaves the language and the theme
    // to the start-up step and does not move the window.
    bool Apply(const QStringList& lines, const QString& name, bool startUp);
    TProfile Current() const;
    // Line 5 as the loader reads it: a piece set that cannot be read, or that the board would
    // refuse, joins the bad lines of `read`; otherwise `set` receives the picture.
    void ReadPieceSet(TProfileRead& read, const QString& name, QImage* set) const;

    void mnuSaveSetClick();
    // Writes the current settings as profile `name` under Settings/; refuses "Default" and
    // names that are not plain file names or begin or end with a blank, with a message. True
    // when written.
    bool SaveAs(const QString& name);
    // Writes `lines` as profile `name` once the loader has accepted every line; otherwise
    // reports what it refused and writes nothing.
    bool Write(const QString& name, const QStringList& lines);
    void mnuLoadSetClick();
    // Reads Settings/`name` and applies it as the Load Settings dialog does.
    bool Load(const QString& name);

    // Full path of the piece-set bitmap the board shows; empty for the built-in set.
    QString PieceSetFile() const { return PieceSetFile_; }
    void SetPieceSetFile(const QString& file) { PieceSetFile_ = file; }
    int LanguageIndex() const { return LanguageIndex_; }
    // -1 when no theme was chosen.
    int ThemeIndex() const { return ThemeIndex_; }
    void SetThemeIndex(int index) { ThemeIndex_ = index; }

private:
    void ApplyLanguage();

    QWidget* Window_;
    TChessBrd* Board_;
    TProfileTargets T_;
    TfrmLoadSet* frmLoadSet = nullptr;
    TfrmTheme* frmTheme = nullptr;
    TfrmLang* frmLang = nullptr;
    QString PieceSetFile_;
    int LanguageIndex_ = 0;
    int ThemeIndex_ = -1;
};
