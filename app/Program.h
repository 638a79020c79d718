// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The composition root: creates every window of the program once, in a fixed order, owns
// them until the program ends, and hands each the others it needs.

#include <memory>

class TAboutBox;
class TfrmClient;
class TfrmColors;
class TfrmCorvina;
class TfrmGoTo;
class TfrmLang;
class TfrmLoadSet;
class TfrmNew;
class TfrmOptions;
class TfrmPieceSet;
class TfrmTheme;

class TNetGame;

// Hands the lobby's pairings to the direct NetGame of a main window.
void ConnectLobby(TfrmClient& lobby, TNetGame& net);

class TProgram {
public:
    TProgram();
    ~TProgram();

    TfrmCorvina& MainWindow() const { return *frmCorvina; }
    TfrmNew& NewGameDialog() const { return *frmNew; }
    TfrmColors& ColorsDialog() const { return *frmColors; }
    TfrmPieceSet& PieceSetDialog() const { return *frmPieceSet; }
    TfrmGoTo& GoToDialog() const { return *frmGoTo; }
    TfrmOptions& OptionsDialog() const { return *frmOptions; }
    TfrmLoadSet& LoadSetDialog() const { return *frmLoadSet; }
    TAboutBox& AboutBox() const { return *AboutBox_; }
    TfrmClient& LobbyWindow() const { return *frmClient; }
    TfrmLang& LanguageDialog() const { return *frmLang; }
    TfrmTheme& ThemeDialog() const { return *frmTheme; }

private:
    // Declared in creation order; destroyed in reverse, the main window last.
    std::unique_ptr<TfrmCorvina> frmCorvina;
    std::unique_ptr<TfrmNew> frmNew;
    std::unique_ptr<TfrmColors> frmColors;
    std::unique_ptr<TfrmPieceSet> frmPieceSet;
    std::unique_ptr<TfrmGoTo> frmGoTo;
    std::unique_ptr<TfrmOptions> frmOptions;
    std::unique_ptr<TfrmLoadSet> frmLoadSet;
    std::unique_ptr<TAboutBox> AboutBox_;
    std::unique_ptr<TfrmClient> frmClient;
    std::unique_ptr<TfrmLang> frmLang;
    std::unique_ptr<TfrmTheme> frmTheme;
};
