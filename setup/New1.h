// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmNew (form frmNew): the "New Game" dialog. The basic state sets the two players' names
// and who plays each side; the advanced state adds a layout editor (a board of its own with a
// piece palette, the side to move and layout files). OK hands the choices back as a TNewGame,
// which the main window applies. The dialog is created once and keeps every choice between
// showings.

#include "chess/TimeControl.h"

#include <QDialog>
#include <QPoint>

#include <array>
#include <optional>
#include <string>
#include <utility>

// What OK on the new-game dialog decided.
struct TNewGame {
    QString Player1; // the player at the bottom
    QString Player2;
    bool ComputerWhite = false;
    bool ComputerBlack = true;
    bool UseLayout = false; // the edited layout replaces the start position
    std::string Layout;
    int Turn = 0;       // 0 White to move, 1 Black, anything else: as the new game leaves it
    TTimeControl Clock; // none by default
};

// The faults LayoutFault names, English until the language texts replace them.
struct TLayoutFaultTexts {
    QString KingsMissing = "The board MUST contain the white and the black king!";
    QString TooManyPawns = "The board cannot contain more than 8 pawns.";
    QString TooManyPromoted =
        "The board cannot contain more than 8 pawns (both existing and promoted).";
    QString OnlyKings = "The board cannot contain only the two kings.";
    QString TooManyKings = "The board CANNOT contain more than one king of each color!";
};

class QButtonGroup;
class TTimeControlBox;
class QImage;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TChessBrd;
class TObject;

class TfrmNew : public QDialog {
public:
    explicit TfrmNew(QWidget* parent = nullptr);
    ~TfrmNew() override;

    // --- Controls, named as designed.
    QLabel* Label1;
    QLineEdit* txtPlayer1;
    QGroupBox* pl1;
    QRadioButton* pl1Human;
    QRadioButton* pl1Computer;
    QLabel* Label2;
    QLineEdit* txtPlayer2;
    QGroupBox* pl2;
    QRadioButton* pl2Human;
    QRadioButton* pl2Computer;
    QLabel* VS;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* cmdSwitch;
    QGroupBox* GroupBox1;
    TChessBrd* board;
    QGroupBox* GroupBox2;
    QLabel* Label3;
    QLabel* Label5;
    QToolButton *w1, *w2, *w3, *w4, *w5, *w6;
    QToolButton *bl1, *bl2, *bl3, *bl4, *bl5, *bl6;
    QToolButton* cmdClear;
    QButtonGroup* palette;
    QLabel* Label4;
    QComboBox* turn;
    QPushButton* cmdClearAll;
    QPushButton* cmdLoad;
    QPushButton* cmdSave;
    QFileDialog* sd;
    QFileDialog* od;
    TTimeControlBox* TimeBox; // the time control, below the players

    // --- Dialog fields.
    char SelectedLetter = '\0'; // NUL until a palette button is first pressed
    QPoint ClickPoint{0, 0};
    QString SwitchBasicCaption = "Advanced >>";
    QString SwitchAdvancedCaption = "<< Basic";

    static constexpr int BasicHeight = 274;
    static constexpr int AdvancedHeight = 654;
    bool Advanced() const { return height() > 600; }
    // Puts the caption of the present state on cmdSwitch; the language texts change both.
    void ShowSwitchCaption();

    // The piece set of the editor and its palette: the main board's, drawn at their own size.
    void SetPieceSet(const QImage& set);
    // Shows the dialog modally: the new game on OK, nothing on Cancel.
    std::optional<TNewGame> Execute();
    // The choices as OK would hand them back.
    TNewGame Choices() const;

    // --- Handlers.
    void cmdSwitchClick();
    void PaletteClick(QToolButton* button, char letter);
    void boardMouseMove(TObject* Sender, Qt::KeyboardModifiers shift, int x, int y);
    void boardClick(TObject* Sender);
    void cmdClearAllClick();
    void cmdSaveClick();
    void cmdLoadClick();
    void BitBtn1Click();

    // Layout files, by path; the click handlers call these after the file dialogs. Failures
    // are reported through ReportError and answer false.
    bool SaveLayout(const QString& path);
    bool LoadLayout(const QString& path);

    // The message of the first fault of the edited layout, or an empty text when it passes.
    QString PerformErrorCheck() const;
    // The same checks on any position string (pasted or loaded positions pass them too).
    static QString LayoutFault(const QString& position);
    // The program's one set of fault texts.
    static TLayoutFaultTexts& FaultTexts();

    // Re-cuts the palette pictures from the editor board's active piece set.
    void RefreshPalette();

    // --- Square names and counting.
    static QString SquareToString(int square);
    static int CalculatePosition(const QString& name);
    static int LetterToNumber(QChar letter);

private:
    void CreatePlayers();
    void CreateEditor();
    void CreatePalette();
    void NameControls();
    void SetState(bool advanced);

    std::array<std::pair<QToolButton*, char>, 13> PaletteLetters_{};
};
