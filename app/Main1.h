// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmCorvina: the main window. It owns the game's board (cb1) and the panels that report on
// it, and dispatches the menu commands to the parts that carry them out: the panels (events,
// move list, tallies, points), the player labels, saved games, challenge mode and settings
// profiles. The dialogs it opens itself (New Game, Go To Move) are created by the program and
// handed over; they return values, which the window applies.

#include "app/AppearanceHost.h"
#include "app/MainWindowHook.h"
#include "formats/Profile.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QFrame;
class QImage;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TAboutBox;
class TAppearance;
class TSettingsProfiles;
class TChallengeMode;
class TChessBrd;
class TGameClock;
class TGameEnd;
class TGameFiles;
class TGamePanels;
class TPlayerLabels;
class TWindowLayout;
class TfrmColors;
class TfrmGoTo;
class TfrmLang;
class TfrmLoadSet;
class TfrmNew;
class TNetGame;
class TfrmOptions;
class TfrmPieceSet;
class TfrmTheme;
struct TNewGame;

class TfrmCorvina : public QMainWindow, public IAppearanceHost {
public:
    explicit TfrmCorvina(QWidget* parent = nullptr);
    ~TfrmCorvina() override;

    void SetDialogs(TfrmNew* newGame, TfrmGoTo* goTo, TAboutBox* about);
    void SetAppearanceDialogs(TfrmColors* colors, TfrmPieceSet* pieceSet, TfrmOptions* options,
                              TfrmLoadSet* loadSet, TfrmTheme* theme);
    // The lobby window, which "NetGame Server" shows.
    void SetLobbyWindow(QWidget* lobby);
    // The language dialog: "Language" opens it, a loaded profile applies its index through it,
    // and each of its Applies stores the index used.
    void SetLanguageDialog(TfrmLang* lang);
    TChessBrd* Board() const { return cb1; }
    TNetGame* NetGame() const { return NetGame_; }
    // Run by the one-shot start-up step once every window exists, with the language and the
    // theme the profile chose.
    std::function<void(int languageIndex, int themeIndex)> OnStartUpStep;
    // Closing the window keeps the current settings as the profile "Last used", which start-up
    // applies when al.dat names no profile, and the window's size in ws.dat.
    bool KeepLastUsed = true;
    // What tests and tools do where a person picks a file, types a name or reads the screen.
    TMainWindowHook Hook();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class TMainWindowHook;

    // --- What the appearance dialogs change besides the board (IAppearanceHost).
    QString CurrentPieceSetFile() const override;
    bool SetBackgroundPicture(const QString& file) override;
    void SetCurrentPieceSetFile(const QString& file) override;
    void SetThemeIndex(int index) override;

    bool NetGameActive() const { return NetGameActive_; }
    void SetNetGameActive(bool active) { NetGameActive_ = active; }
    bool ChallengeMode() const;
    int ChallengeCount() const;
    void Timer2Timer();
    // The one place the captured-pieces pane is shown or hidden; `moveWindow` keeps the board
    // where it was on the screen by moving the window 50 pixels.
    void SetCapturedPane(bool shown, bool moveWindow);

    // --- Panels.
    QStringList StatusLines() const;
    void SetPlayer1(const QString& name);
    void SetPlayer2(const QString& name);
    QString Player1() const;
    QString Player2() const;

    // --- Menu commands.
    void mnuNewClick();
    void ApplyNewGame(const TNewGame& game);
    void mnuSaveClick();
    void mnuLoadClick();
    void mnuExportClick();
    bool SaveGameTo(const QString& path);
    bool LoadGameFrom(const QString& path);
    bool ExportMoveListTo(const QString& path);
    // New Game, Load Game, Load PGN, Paste FEN and Challenges! first ask to end a NetGame,
    // whose position belongs to both players; LoadPgnFrom and StartFromFen refuse during one.
    void mnuExportPGNClick();
    void mnuLoadPGNClick();
    void mnuCopyFENClick();
    void mnuPasteFENClick();
    bool ExportPgnTo(const QString& path);
    bool LoadPgnFrom(const QString& path);
    bool StartFromFen(const QString& fen);
    QString CurrentFen() const;
    void mnuChallengesClick();
    void mnuNextChClick();
    void mnuPreviousChClick();
    void mnuRestartClick();
    void mnuPreviousClick();
    void mnuNextClick();
    void mnuGoToMoveClick();
    // Shows the position after line `index` of the move list (-1: the start of the game).
    void GoToLine(int index);
    void mnuLinesClick();
    void mnuWOTClick();
    // The board turns for a person who plays Black alone (a NetGame's client, a challenge
    // with Black to move, a game in which the computer plays White) and otherwise stands as
    // the player chose it by hand or in a profile; the check mark follows the board.
    void FollowPlayers();
    void mnuCPiecesClick();
    void mnuHelpTopicsClick();
    void mnuReadmeClick();
    void mnuAboutClick();
    // The chat area below the client area of a NetGame: shown or not.
    void SetChatShown(bool shown);
    // The designed client area: with or without the captured-pieces pane and the chat area.
    QSize DesignSize() const;

    void CreateControls();
    void CreateMenus();
    void NameControls();
    // Opens a document of the program folder; when it cannot be opened, a box says so and
    // names the file.
    void OpenProgramDocument(const QString& file, const QString& failure);
    // During a NetGame: asks whether to end it, and ends it on Yes. True when no NetGame
    // stands in the way any more.
    bool EndNetGameFirst();
    void ConnectAppearanceMenus();
    // Registers the window and its language texts that are no control's caption.
    void BindLanguageTexts();
    void ShowWhiteOnTop(bool on);
    // Fits the window to the designed area at the present scale, unless it fills the screen.
    void FitDesign();
    void Relayout();
    // The window's size between runs, in ws.dat beside the profiles.
    void LoadWindowSize();
    void SaveWindowSize() const;

    // --- Controls, named as designed.
    QLabel* back;
    TChessBrd* cb1;
    QLabel* instruct;
    QLabel* Player1_;
    QLabel* Player2_;
    QListWidget* events;
    QPlainTextEdit* status;
    QFrame* pane;
    QListWidget* white;
    QListWidget* black;
    QLabel* wp;
    QLabel* bp;
    QPushButton* cmdPrevious;
    QPushButton* cmdRestart;
    QPushButton* cmdNext;
    QPlainTextEdit* chatlog;
    QLineEdit* txtmsg;
    QPushButton* cmdSay;
    QTimer* Timer2;

    // --- Menu items.
    QAction *mnuLoad, *mnuSave, *mnuExport, *mnuLoadSet, *mnuSaveSet, *mnuQuit;
    QAction *mnuExportPGN, *mnuLoadPGN, *mnuCopyFEN, *mnuPasteFEN;
    QAction *mnuNew, *mnuChallenges, *mnuRestart, *mnuPreviousCh, *mnuNextCh;
    QAction *mnuPrevious, *mnuNext, *mnuGoToMove;
    QAction *mnuStartNetGame, *mnuEndNetGame, *mnuNetGameServer, *mnuOpInfo;
    QAction *mnuSet, *mnuColors, *mnuTheme, *mnuLines, *mnuWOT, *mnuCPieces, *mnuLanguage;
    QAction* mnuHighlight;
    QAction *mnuStart, *mnuStop, *mnuOptions;
    QAction *mnuHelpTopics, *mnuHelpOnNetGame, *mnuReadme, *mnuAbout;

    // --- Dialogs opened from here (owned by the program).
    TfrmNew* frmNew = nullptr;
    TfrmGoTo* frmGoTo = nullptr;
    TAboutBox* AboutBox = nullptr;

    // --- The parts that carry out the commands.
    std::unique_ptr<TGamePanels> Panels_;
    std::unique_ptr<TPlayerLabels> Players_;
    std::unique_ptr<TGameFiles> Files_;
    std::unique_ptr<TChallengeMode> Challenges_;
    std::unique_ptr<TWindowLayout> Layout_;
    std::unique_ptr<TSettingsProfiles> Profiles_;
    std::unique_ptr<TAppearance> Appearance_;
    // The end of the game, resigning and offering a draw (a child of the window), and the clocks.
    TGameEnd* GameEnd_ = nullptr;
    // The clocks of a game under a time control (a child of the board's stage).
    TGameClock* Clock_ = nullptr;
    void CreateGameEnd();

    // --- NetGame (app/NetGameHost.cpp): the direct game over TCP, its menu items and the chat
    // area, lent to the NetGame through the window's host adapter.
    friend class TWindowNetHost;
    TNetGame* NetGame_ = nullptr;
    void CreateNetGame();

    bool NetGameActive_ = false;
    bool ChosenWhiteOnTop_ = false;
    bool ChatShown_ = false;
    bool Placed_ = false;
};
