// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/New1.h"

#include "board/ChessBrd.h"
#include "common/TextFile.h"
#include "formats/LayoutFile.h"
#include "formats/Points.h"
#include "setup/TimeControlBox.h"
#include "uikit/ErrorReport.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

namespace {

constexpr int DialogWidth = 520;
constexpr int BasicTop = 200;
constexpr int AdvancedTop = 80;

// The editor board: 8 squares of 34 pixels inside a 24-pixel border, 320 pixels square.
constexpr int EditorBorder = 24;
constexpr int EditorSquare = 34;
constexpr int EditorSize = 8 * EditorSquare + 2 * EditorBorder;
// Left and above of h1's far corner: a stored point beyond both lies on h1 or on the border
// past it, and such a click always writes the last square.
constexpr int H1Corner = EditorBorder + 7 * EditorSquare;
// The pointer is remembered only this far inside the editor board's edges.
constexpr int PointNear = 25;
constexpr int PointFar = 20;

constexpr int PaletteCell = 44;

const char* const FileFilter = "Corvina Layout (*.cvl)";

// A "Mind" radio group: "Human" above "Computer".
QGroupBox* MakeMind(QWidget* parent, QRect geometry, QRadioButton*& human, QRadioButton*& computer,
                    bool computerChosen) {
    auto* group = new QGroupBox("Mind", parent);
    group->setGeometry(geometry);
    human = new QRadioButton("Human", group);
    human->setGeometry(12, 22, geometry.width() - 24, 20);
    computer = new QRadioButton("Computer", group);
    computer->setGeometry(12, 46, geometry.width() - 24, 20);
    (computerChosen ? computer : human)->setChecked(true);
    return group;
}

QPushButton* MakeButton(QWidget* parent, const QString& text, QRect geometry) {
    auto* b = new QPushButton(text, parent);
    b->setGeometry(geometry);
    return b;
}

} // namespace

TfrmNew::TfrmNew(QWidget* parent) : QDialog(parent) {
    setWindowTitle("New Game");
    setFixedWidth(DialogWidth);
    CreatePlayers();
    CreateEditor();
    CreatePalette();

    sd = new QFileDialog(this, "Save chessboard layout...", QString(), FileFilter);
    sd->setAcceptMode(QFileDialog::AcceptSave);
    sd->setFileMode(QFileDialog::AnyFile);
    sd->setDefaultSuffix("cvl");
    od = new QFileDialog(this, "Load chessboard layout...", QString(), FileFilter);
    od->setAcceptMode(QFileDialog::AcceptOpen);
    od->setFileMode(QFileDialog::ExistingFile);
    NameControls();

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int left = screen ? (screen->geometry().width() - DialogWidth) / 2 : 0;
    move(std::max(0, left), BasicTop);
    SetState(false);
}

TfrmNew::~TfrmNew() = default;

// Every control carries its designed name, so that the language layer and the tests find it.
void TfrmNew::NameControls() {
    setObjectName("frmNew");
    const std::pair<QObject*, const char*> names[] = {
        {Label1, "Label1"},
        {txtPlayer1, "txtPlayer1"},
        {pl1, "pl1"},
        {pl1Human, "pl1Human"},
        {pl1Computer, "pl1Computer"},
        {VS, "VS"},
        {Label2, "Label2"},
        {txtPlayer2, "txtPlayer2"},
        {pl2, "pl2"},
        {pl2Human, "pl2Human"},
        {pl2Computer, "pl2Computer"},
        {BitBtn1, "BitBtn1"},
        {BitBtn2, "BitBtn2"},
        {cmdSwitch, "cmdSwitch"},
        {GroupBox1, "GroupBox1"},
        {board, "board"},
        {GroupBox2, "GroupBox2"},
        {Label3, "Label3"},
        {Label5, "Label5"},
        {cmdClear, "cmdClear"},
        {palette, "palette"},
        {Label4, "Label4"},
        {turn, "turn"},
        {cmdClearAll, "cmdClearAll"},
        {cmdLoad, "cmdLoad"},
        {cmdSave, "cmdSave"},
        {sd, "sd"},
        {od, "od"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);
}

void TfrmNew::CreatePlayers() {
    Label1 = new QLabel("Player Name:", this);
    Label1->setGeometry(24, 16, 180, 16);
    txtPlayer1 = new QLineEdit("Player1", this);
    txtPlayer1->setGeometry(24, 34, 180, 22);
    txtPlayer1->setMaxLength(15);
    pl1 = MakeMind(this, QRect(24, 68, 180, 76), pl1Human, pl1Computer, false);

    VS = new QLabel("VS", this);
    VS->setGeometry(216, 90, 88, 24);
    VS->setAlignment(Qt::AlignCenter);
    QFont big = VS->font();
    big.setPointSize(14);
    big.setBold(true);
    VS->setFont(big);

    Label2 = new QLabel("Player Name:", this);
    Label2->setGeometry(316, 16, 180, 16);
    txtPlayer2 = new QLineEdit("Player2", this);
    txtPlayer2->setGeometry(316, 34, 180, 22);
    txtPlayer2->setMaxLength(15);
    pl2 = MakeMind(this, QRect(316, 68, 180, 76), pl2Human, pl2Computer, true);

    TimeBox = new TTimeControlBox(this);
    TimeBox->setGeometry(24, 166, 472, 26);

    cmdSwitch = MakeButton(this, SwitchBasicCaption, QRect(24, 232, 100, 27));
    BitBtn1 = MakeButton(this, "OK", QRect(316, 232, 86, 27));
    BitBtn1->setDefault(true);
    BitBtn2 = MakeButton(this, "Cancel", QRect(410, 232, 86, 27));
    connect(cmdSwitch, &QPushButton::clicked, this, &TfrmNew::cmdSwitchClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmNew::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmNew::CreateEditor() {
    GroupBox1 = new QGroupBox("Custom Chessboard", this);
    GroupBox1->setGeometry(8, 276, DialogWidth - 16, 374);

    board = new TChessBrd(GroupBox1);
    board->move(12, 18);
    board->SetSizeOfBorder(EditorBorder);
    board->SetSizeOfSquare(EditorSquare);
    board->resize(EditorSize, EditorSize);
    board->SetResizable(false);
    board->SetSearchDepth(1);
    board->SetPosition(std::string(64, ' '));
    // The editor's engine never gets a side, so its thread never searches.
    board->OnMouseMove = [this](TObject* s, Qt::KeyboardModifiers m, int x, int y) {
        boardMouseMove(s, m, x, y);
    };
    board->OnClick = [this](TObject* s) { boardClick(s); };

    cmdClearAll = MakeButton(GroupBox1, "Clear All", QRect(12, 342, 100, 25));
    cmdLoad = MakeButton(GroupBox1, "Load Layout", QRect(118, 342, 108, 25));
    cmdSave = MakeButton(GroupBox1, "Save Layout", QRect(232, 342, 108, 25));
    connect(cmdClearAll, &QPushButton::clicked, this, &TfrmNew::cmdClearAllClick);
    connect(cmdLoad, &QPushButton::clicked, this, &TfrmNew::cmdLoadClick);
    connect(cmdSave, &QPushButton::clicked, this, &TfrmNew::cmdSaveClick);

    Label4 = new QLabel("Turn:", GroupBox1);
    Label4->setGeometry(346, 300, 40, 22);
    turn = new QComboBox(GroupBox1);
    turn->setGeometry(386, 300, 106, 22);
    turn->addItems({"White's", "Black's"});
    turn->setCurrentIndex(0);
}

void TfrmNew::CreatePalette() {
    GroupBox2 = new QGroupBox("Pieces", GroupBox1);
    GroupBox2->setGeometry(346, 14, 146, 272);
    Label3 = new QLabel("White", GroupBox2);
    Label3->setGeometry(8, 18, 130, 16);
    Label5 = new QLabel("Black", GroupBox2);
    Label5->setGeometry(8, 128, 130, 16);
    palette = new QButtonGroup(this);
    palette->setExclusive(true);

    auto make = [this](int x, int y, int w, char letter) {
        auto* b = new QToolButton(GroupBox2);
        b->setGeometry(x, y, w, letter == ' ' ? 26 : PaletteCell);
        b->setCheckable(true);
        b->setAutoRaise(true);
        palette->addButton(b);
        connect(b, &QToolButton::clicked, this, [this, b, letter] { PaletteClick(b, letter); });
        return b;
    };
    // Pawn, bishop, knight above rook, queen, king; White's six, then Black's.
    const char* const order = "PBNRQKpbnrqk";
    std::array<QToolButton*, 12> pieces{};
    for (int i = 0; i < 12; ++i) {
        const int x = 8 + (i % 3) * (PaletteCell + 2);
        const int y = 36 + ((i / 3) % 2) * (PaletteCell + 2) + (i / 6) * 110;
        pieces[static_cast<std::size_t>(i)] = make(x, y, PaletteCell, order[i]);
        PaletteLetters_[static_cast<std::size_t>(i)] = {pieces[static_cast<std::size_t>(i)],
                                                        order[i]};
    }
    w1 = pieces[0], w2 = pieces[1], w3 = pieces[2], w4 = pieces[3], w5 = pieces[4];
    w6 = pieces[5];
    bl1 = pieces[6], bl2 = pieces[7], bl3 = pieces[8], bl4 = pieces[9], bl5 = pieces[10];
    bl6 = pieces[11];
    cmdClear = make(8, 238, 3 * PaletteCell + 4, ' ');
    cmdClear->setText("Clear");
    cmdClear->setToolButtonStyle(Qt::ToolButtonTextOnly);
    PaletteLetters_[12] = {cmdClear, ' '};
    RefreshPalette();
}

void TfrmNew::RefreshPalette() {
    for (const auto& [button, letter] : PaletteLetters_) {
        const QImage image = board->PieceImage(letter);
        if (image.isNull())
            continue;
        button->setIcon(QIcon(QPixmap::fromImage(image)));
        button->setIconSize(QSize(PaletteCell - 4, PaletteCell - 4));
    }
}

// ---------------------------------------------------------------- state

void TfrmNew::SetState(bool advanced) {
    setFixedHeight(advanced ? AdvancedHeight : BasicHeight);
    cmdSwitch->setText(advanced ? SwitchAdvancedCaption : SwitchBasicCaption);
    GroupBox1->setVisible(advanced);
    move(x(), advanced ? AdvancedTop : BasicTop);
}

void TfrmNew::ShowSwitchCaption() {
    cmdSwitch->setText(Advanced() ? SwitchAdvancedCaption : SwitchBasicCaption);
}

void TfrmNew::cmdSwitchClick() {
    SetState(height() != AdvancedHeight);
}

// ---------------------------------------------------------------- the editor

void TfrmNew::PaletteClick(QToolButton* button, char letter) {
    button->setChecked(true);
    SelectedLetter = letter;
}

void TfrmNew::boardMouseMove(TObject*, Qt::KeyboardModifiers, int x, int y) {
    if (x >= PointNear && x <= board->width() - PointFar && y >= PointNear &&
        y <= board->height() - PointFar)
        ClickPoint = QPoint(x, y);
}

void TfrmNew::boardClick(TObject*) {
    std::string text = board->Position();
    if (ClickPoint.x() > H1Corner && ClickPoint.y() > H1Corner) {
        text = text.substr(0, 63) + SelectedLetter;
    } else {
        const Square square = board->SquareAtPoint(ClickPoint.x(), ClickPoint.y());
        const int k = CalculatePosition(SquareToString(ToInt(square)));
        // The border beside the squares names no square: such a click changes nothing.
        if (square == Square::None || k < 1 || k > 64)
            return;
        text[static_cast<std::size_t>(k - 1)] = SelectedLetter;
    }
    // A NUL (no palette button pressed yet) ends the text: from there on the squares empty.
    board->SetPosition(text);
}

void TfrmNew::cmdClearAllClick() {
    board->SetPosition(std::string(64, ' '));
}

// ---------------------------------------------------------------- square names and checks

QString TfrmNew::SquareToString(int square) {
    if (square < 1 || square > 64)
        return {};
    return QString(QChar('A' + (square - 1) % 8)) + QChar('0' + 8 - (square - 1) / 8);
}

int TfrmNew::CalculatePosition(const QString& name) {
    if (name.size() < 2)
        return 0;
    return LetterToNumber(name[0]) - 8 * name[1].digitValue() + 64;
}

int TfrmNew::LetterToNumber(QChar letter) {
    return letter >= QChar('A') && letter <= QChar('H') ? letter.unicode() - 'A' + 1 : 0;
}

QString TfrmNew::PerformErrorCheck() const {
    return LayoutFault(QString::fromStdString(board->Position()));
}

TLayoutFaultTexts& TfrmNew::FaultTexts() {
    static TLayoutFaultTexts texts;
    return texts;
}

QString TfrmNew::LayoutFault(const QString& text) {
    const TLayoutFaultTexts& faults = FaultTexts();
    const auto n = [&text](const char* letter) { return Hits(QString(letter), text); };
    if (n("k") == 0 || n("K") == 0)
        return faults.KingsMissing;
    // Every check runs; a later fault's message replaces an earlier one.
    QString message;
    if (n("p") > 8 || n("P") > 8)
        message = faults.TooManyPawns;
    struct Promoted {
        const char* piece;
        int usual; // how many a side has without promotions
        const char* pawn;
    };
    static constexpr Promoted promoted[] = {{"q", 1, "p"}, {"Q", 1, "P"}, {"b", 2, "p"},
                                            {"B", 2, "P"}, {"n", 2, "p"}, {"N", 2, "P"},
                                            {"r", 2, "p"}, {"R", 2, "P"}};
    for (const Promoted& p : promoted)
        if (n(p.piece) > p.usual && n(p.piece) + n(p.pawn) > 8)
            message = faults.TooManyPromoted;
    bool kingsOnly = true;
    for (const char* letter : {"R", "r", "N", "n", "B", "b", "Q", "q", "P", "p"})
        kingsOnly = kingsOnly && n(letter) == 0;
    if (kingsOnly)
        message = faults.OnlyKings;
    if (n("k") > 1 || n("K") > 1)
        message = faults.TooManyKings;
    return message;
}

// ---------------------------------------------------------------- layout files

void TfrmNew::cmdSaveClick() {
    if (sd->exec() == QDialog::Accepted && !sd->selectedFiles().isEmpty())
        SaveLayout(sd->selectedFiles().constFirst());
}

void TfrmNew::cmdLoadClick() {
    if (od->exec() == QDialog::Accepted && !od->selectedFiles().isEmpty())
        LoadLayout(od->selectedFiles().constFirst());
}

bool TfrmNew::SaveLayout(const QString& path) {
    if (turn->currentIndex() < 0)
        turn->setCurrentIndex(0);
    QString error;
    if (!WriteTextLines(path, BuildLayout(board->Position(), turn->currentIndex()), &error)) {
        ReportError(error);
        return false;
    }
    return true;
}

bool TfrmNew::LoadLayout(const QString& path) {
    const auto lines = ReadLinesReported(path);
    if (!lines)
        return false;
    QString error;
    const auto layout = ParseLayout(*lines, path, &error);
    if (!layout) {
        ReportError(error);
        return false;
    }
    // The placement stays even when the side to move turns out to be unusable.
    board->SetPosition(layout->Position);
    if (!layout->Turn) {
        ReportError(error);
        return false;
    }
    turn->setCurrentIndex(*layout->Turn);
    return true;
}

// ---------------------------------------------------------------- OK

TNewGame TfrmNew::Choices() const {
    TNewGame game;
    game.Player1 = txtPlayer1->text();
    game.Player2 = txtPlayer2->text();
    game.ComputerWhite = pl1Computer->isChecked();
    game.ComputerBlack = pl2Computer->isChecked();
    game.UseLayout = Advanced();
    game.Layout = board->Position();
    game.Turn = turn->currentIndex();
    game.Clock = TimeBox->Choice();
    return game;
}

void TfrmNew::SetPieceSet(const QImage& set) {
    board->SetCustomPieceSet(set);
    RefreshPalette();
}

std::optional<TNewGame> TfrmNew::Execute() {
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Choices();
}

void TfrmNew::BitBtn1Click() {
    if (Advanced()) {
        const QString fault = PerformErrorCheck();
        if (!fault.isEmpty()) {
            ReportError(fault);
            return;
        }
    }
    accept();
}
