// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAppearance: the main window's appearance and engine-options commands. It opens the dialogs
// (piece set, colours, theme, engine options, language), which change the board themselves
// and the window only through IAppearanceHost; it shows the background picture and keeps the
// "Highlight Moves" choice.

#include <QString>

class QAction;
class QLabel;
class TChessBrd;
class TfrmColors;
class TfrmLang;
class TfrmOptions;
class TfrmPieceSet;
class TfrmTheme;

class TAppearance {
public:
    TAppearance(TChessBrd* board, QLabel* background, QAction* highlight);
    void SetDialogs(TfrmColors* colors, TfrmPieceSet* pieceSet, TfrmOptions* options,
                    TfrmTheme* theme);
    void SetLanguageDialog(TfrmLang* lang) { frmLang = lang; }

    void mnuSetClick();
    void mnuColorsClick();
    void mnuThemeClick();
    void mnuOptionsClick();
    void mnuLanguageClick();
    // "Highlight Moves": flips the board's marks and keeps the choice in hl.dat.
    void mnuHighlightClick();
    // The choice kept in hl.dat (on when the file is missing).
    void LoadHighlightChoice();
    // Shows the picture in `file` stretched behind the controls; an unreadable one is reported
    // naming the file, and the previous picture stays.
    bool SetBackgroundPicture(const QString& file);

private:
    TChessBrd* Board_;
    QLabel* Background_;
    QAction* Highlight_;
    TfrmColors* frmColors = nullptr;
    TfrmPieceSet* frmPieceSet = nullptr;
    TfrmOptions* frmOptions = nullptr;
    TfrmTheme* frmTheme = nullptr;
    TfrmLang* frmLang = nullptr;
};
