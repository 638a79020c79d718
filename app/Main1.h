#pragma once
// TfrmCorvina: the main window. It owns the game's board (cb1) and the panels that report on
// it — events, move list, captured-piece tallies and material points — and runs start-up,
// the menu commands and move navigation.

#include "board/ChessBrd.h"

#include <QMainWindow>

#include <array>
#include <optional>

class QAction;
class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TfrmGoTo;
class TfrmNew;
class TNetGame; // NetGame

class TfrmCorvina : public QMainWindow {
public:
    explicit TfrmCorvina(QWidget* parent = nullptr);
    ~TfrmCorvina() override;

    // --- Controls, named as designed.
    QLabel* back;
    TChessBrd* cb1;
    QLabel* instruct;
    QLabel* Player1;
    QLabel* Player2;
    QListWidget* events;
    QPlainTextEdit* status;
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
    TfrmNew* frmNew = nullptr;
    TfrmGoTo* frmGoTo = nullptr;
    QFileDialog* save;  // Export Move List
    QFileDialog* saver; // Save Game
    QFileDialog* load;  // Load Game

    // --- Menu items.
    QAction *mnuLoad, *mnuSave, *mnuExport, *mnuLoadSet, *mnuSaveSet, *mnuQuit;
    QAction *mnuNew, *mnuChallenges, *mnuRestart, *mnuPreviousCh, *mnuNextCh;
    QAction *mnuPrevious, *mnuNext, *mnuGoToMove;
    QAction *mnuStartNetGame, *mnuEndNetGame, *mnuNetGameServer, *mnuOpInfo;
    QAction *mnuSet, *mnuColors, *mnuTheme, *mnuLines, *mnuWOT, *mnuCPieces, *mnuLanguage;
    QAction *mnuStart, *mnuStop, *mnuOptions;
    QAction *mnuHelpTopics, *mnuHelpOnNetGame, *mnuReadme, *mnuAbout;

    // --- Values other parts of the program read or set.
    QString CurrentPieceSetFile;
    int LanguageIndex = 0;
    int ThemeIndex = -1;
    bool NetGameActive = false;
    bool ChallengeMode = false;
    int CurrentChallenge = 0;

    // --- Start-up.
    void FormCreate();
    void Timer2Timer();
    // Applies the ten lines of a settings profile in order; stops at the first bad line,
    // reports it, and answers false. `startUp` selects the start-up treatment of line 10.
    bool ApplyProfile(const QStringList& lines, const QString& name, bool startUp);
    QStringList BuildProfile() const;

    // --- Game flow.
    void cb1LegalMove(TObject* Sender, Square oldSq, Square newSq);
    void cb1Capture(TObject* Sender, Square oldSq, Square newSq, char CapturedPiece);
    void AddEvent(const QString& text);
    double CountPoints(int side) const;
    static int Hits(const QString& shortText, const QString& longText);
    static QString PointsText(double points);
    void RefreshPoints();
    void SetPlayer2(const QString& text);
    void SetCapturedPane(bool shown, bool startUp);
    // The lines of the move list as shown.
    QStringList StatusLines() const;

    // --- Saved games and move-list export. The click handlers ask for a file; the path
    // functions do the work and report their own errors.
    void mnuSaveClick();
    void mnuLoadClick();
    void mnuExportClick();
    QStringList SavedGameLines() const;
    bool SaveGameTo(const QString& path);
    bool LoadGameFrom(const QString& path);
    bool ExportMoveListTo(const QString& path);

    // --- Challenges.
    struct Challenge {
        QString Position;
        int BlackToMove = 0;
        QString Description;
        int ComputerBlack = 1;
    };
    static constexpr int MaxChallenges = 21;
    std::array<Challenge, MaxChallenges> Challenges;
    int ChallengeCount = 0;
    QString ChallengeMenuText = "Challenges!";
    QString ChallengeEndText = "End Challenge";
    void mnuChallengesClick();
    bool LoadChallenges();
    void LoadChallenge(int index);
    static std::optional<QStringList> BreakString(const QString& open, const QString& close,
                                                  const QString& line, const QString& separator);
    void mnuNextChClick();
    void mnuPreviousChClick();
    void mnuRestartClick();
    void cmdNextClick() { mnuNextChClick(); }
    void cmdPreviousClick() { mnuPreviousChClick(); }
    void cmdRestartClick() { mnuRestartClick(); }

    // --- Commands.
    void mnuNewClick();
    void mnuPreviousClick();
    void mnuNextClick();
    void mnuGoToMoveClick();
    // Shows the position after line `index` of the move list (-1: the start of the game).
    void GoToLine(int index);
    void mnuLinesClick();
    void mnuWOTClick();
    void mnuCPiecesClick();
    void mnuHelpTopicsClick();
    void mnuReadmeClick();

    // --- NetGame (app/NetGameHost.cpp): the direct game over TCP, its menu items, the chat
    // area (chatlog, txtmsg, cmdSay) and the window height it needs.
    TNetGame* NetGame = nullptr;
    void CreateNetGame();
    // --- end NetGame

private:
    void CreateControls();
    void CreateFileDialogs();
    void ShowChallengeControls(bool shown);
    void CreateMenus();
    void BindBoard();
    void OpenDocument(const QString& file, const QString& failure);
};
