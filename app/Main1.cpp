#include "app/Main1.h"

#include "app/GoTo.h"
#include "app/core/ErrorReport.h"
#include "app/core/ProfileFormat.h"
#include "app/core/ProgramFolder.h"
#include "app/core/TextFile.h"
#include "setup/New1.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int WidthWithPane = 814;
constexpr int WidthWithoutPane = 625;
constexpr int ClientHeight = 457;

const char* const TallyWords[5] = {"Pawns", "Bishops", "Knights", "Rooks", "Queens"};

// A caption of the side panels: white and bold over the background picture.
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setStyleSheet("color: white; font-weight: bold");
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLabel* MakeSunken(QWidget* parent, const QString& text, QRect geometry, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setAutoFillBackground(true);
    l->setGeometry(geometry);
    return l;
}

QListWidget* MakeTally(QWidget* parent, int x, int y) {
    auto* list = new QListWidget(parent);
    list->setGeometry(x, y, 165, 100);
    for (const char* word : TallyWords)
        list->addItem(QString("0 ") + word);
    return list;
}

} // namespace

TfrmCorvina::TfrmCorvina(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Corvina 3 Meridian Edition");
    CreateControls();
    CreateMenus();
    BindBoard();
    setFixedSize(WidthWithoutPane, ClientHeight + menuBar()->sizeHint().height());
    frmNew =
        new TfrmNew({cb1, wp, bp, Player1, events, [this](int side) { return CountPoints(side); },
                     &TfrmCorvina::PointsText, [this](const QString& t) { SetPlayer2(t); }},
                    this);
    frmGoTo = new TfrmGoTo(this);
    CreateFileDialogs();
    CreateNetGame();
    FormCreate();
}

TfrmCorvina::~TfrmCorvina() = default;

void TfrmCorvina::CreateControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(WidthWithPane, ClientHeight + 120);
    setCentralWidget(client);

    back = new QLabel(client);
    back->setGeometry(0, 0, WidthWithPane, ClientHeight + 120);
    back->setScaledContents(true);
    back->setPixmap(QPixmap(":/MainBack.png"));

    cb1 = new TChessBrd(client);
    cb1->move(9, 26);
    cb1->SetSizeOfSquare(44);
    cb1->SetSizeOfBorder(24);
    cb1->SetSquareColorDark(QColor(128, 0, 0));
    cb1->SetSquareColorLight(QColor(192, 192, 192));
    cb1->SetDisplayCoords(West | North | East | South);
    TFont coords;
    coords.Name = "Arial";
    coords.Size = 7; // 9-pixel characters
    coords.Color = Qt::white;
    cb1->SetCoordFont(coords);

    instruct = new QLabel(client);
    instruct->move(9, 4);
    instruct->setStyleSheet("color: red; font-weight: bold");
    instruct->hide();

    Player1 = MakeSunken(client, "Player1", QRect(9, 430, 120, 21), Qt::AlignLeft);
    Player1->adjustSize();
    Player2 = MakeSunken(client, "Player2", QRect(366, 3, 43, 21), Qt::AlignRight);
    SetPlayer2("Player2");

    MakeLabel(client, "Events:", 422, 10);
    events = new QListWidget(client);
    events->setGeometry(422, 26, 191, 143);
    events->setStyleSheet("color: red");
    MakeLabel(client, "Movelist:", 422, 174);
    status = new QPlainTextEdit(client);
    status->setGeometry(422, 190, 191, 259);
    status->setReadOnly(true);
    status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    status->setLineWrapMode(QPlainTextEdit::NoWrap);
    status->setFont(QFont("DejaVu Sans Mono", 9));

    auto* pane = new QFrame(client);
    pane->setGeometry(620, 8, 182, 440);
    pane->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pane->lower();
    back->lower();
    MakeLabel(client, "White pieces captured:", 629, 16);
    white = MakeTally(client, 629, 34);
    MakeLabel(client, "Points:", 640, 183);
    wp = MakeSunken(client, "0", QRect(698, 181, 60, 19), Qt::AlignRight);
    MakeLabel(client, "Black pieces captured:", 629, 232);
    black = MakeTally(client, 629, 250);
    MakeLabel(client, "Points:", 640, 398);
    bp = MakeSunken(client, "0", QRect(698, 396, 60, 19), Qt::AlignRight);

    cmdPrevious = new QPushButton("<", client);
    cmdPrevious->setGeometry(100, 430, 40, 21);
    cmdRestart = new QPushButton("Restart Challenge", client);
    cmdRestart->setGeometry(144, 430, 221, 21);
    cmdNext = new QPushButton(">", client);
    cmdNext->setGeometry(369, 430, 40, 21);
    for (QPushButton* b : {cmdPrevious, cmdRestart, cmdNext})
        b->hide();

    chatlog = new QPlainTextEdit(client);
    chatlog->setGeometry(9, 462, 604, 80);
    chatlog->setReadOnly(true);
    txtmsg = new QLineEdit(client);
    txtmsg->setGeometry(9, 546, 524, 21);
    cmdSay = new QPushButton("Say", client);
    cmdSay->setGeometry(538, 546, 75, 21);

    Timer2 = new QTimer(this);
    Timer2->setInterval(150);
    connect(Timer2, &QTimer::timeout, this, &TfrmCorvina::Timer2Timer);
    Timer2->start();
}

void TfrmCorvina::CreateMenus() {
    auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key = {}) {
        QAction* a = menu->addAction(text);
        a->setShortcut(key);
        return a;
    };
    // Items whose commands come with later builds exist but stay disabled.
    auto later = [](std::initializer_list<QAction*> items) {
        for (QAction* a : items)
            a->setEnabled(false);
    };
    QMenu* file = menuBar()->addMenu("&File");
    mnuLoad = add(file, "Load Game");
    mnuSave = add(file, "Save Game");
    mnuExport = add(file, "Export Move List");
    file->addSeparator();
    mnuLoadSet = add(file, "Load Settings");
    mnuSaveSet = add(file, "Save Current Settings");
    file->addSeparator();
    mnuQuit = add(file, "Quit");
    later({mnuLoadSet, mnuSaveSet});

    QMenu* game = menuBar()->addMenu("&Game");
    mnuNew = add(game, "New Game", Qt::Key_F2);
    game->addSeparator();
    mnuChallenges = add(game, "Challenges!");
    mnuRestart = add(game, "Restart Challenge", QKeySequence("Ctrl+R"));
    mnuPreviousCh = add(game, "Previous Challenge", QKeySequence("Ctrl+P"));
    mnuNextCh = add(game, "Next Challenge", QKeySequence("Ctrl+N"));
    game->addSeparator();
    mnuPrevious = add(game, "Previous Move", QKeySequence("Ctrl+Z"));
    mnuNext = add(game, "Next Move", QKeySequence("Ctrl+X"));
    mnuGoToMove = add(game, "Go To Move...");
    for (QAction* a : {mnuRestart, mnuPreviousCh, mnuNextCh})
        a->setVisible(false);

    QMenu* net = menuBar()->addMenu("&NetGame");
    mnuStartNetGame = add(net, "Start NetGame");
    mnuEndNetGame = add(net, "End NetGame");
    mnuNetGameServer = add(net, "NetGame Server");
    mnuOpInfo = add(net, "Opponent Info");
    later({mnuStartNetGame, mnuEndNetGame, mnuNetGameServer, mnuOpInfo});

    QMenu* look = menuBar()->addMenu("&Appearence");
    mnuSet = add(look, "Piece Set");
    mnuColors = add(look, "Colors");
    mnuTheme = add(look, "Background Theme");
    look->addSeparator();
    mnuLines = add(look, "Board Lines");
    mnuWOT = add(look, "White On Top");
    mnuCPieces = add(look, "Show Captured Pieces");
    for (QAction* a : {mnuLines, mnuWOT, mnuCPieces})
        a->setCheckable(true);
    look->addSeparator();
    mnuLanguage = add(look, "Language");
    later({mnuSet, mnuColors, mnuTheme, mnuLanguage});

    QMenu* engine = menuBar()->addMenu("&Engine");
    mnuStart = add(engine, "Start Thinking");
    mnuStop = add(engine, "Stop Thinking");
    engine->addSeparator();
    mnuOptions = add(engine, "Options");
    later({mnuOptions});

    QMenu* help = menuBar()->addMenu("&Help");
    mnuHelpTopics = add(help, "Help Topics", Qt::Key_F1);
    mnuHelpOnNetGame = add(help, "Help On NetGame", Qt::Key_F3);
    mnuReadme = add(help, "ReadMe File", Qt::Key_F4);
    help->addSeparator();
    mnuAbout = add(help, "About...", Qt::Key_F5);
    later({mnuHelpOnNetGame, mnuAbout});

    connect(mnuQuit, &QAction::triggered, this, &QWidget::close);
    connect(mnuLoad, &QAction::triggered, this, &TfrmCorvina::mnuLoadClick);
    connect(mnuSave, &QAction::triggered, this, &TfrmCorvina::mnuSaveClick);
    connect(mnuExport, &QAction::triggered, this, &TfrmCorvina::mnuExportClick);
    connect(mnuChallenges, &QAction::triggered, this, &TfrmCorvina::mnuChallengesClick);
    connect(mnuRestart, &QAction::triggered, this, &TfrmCorvina::mnuRestartClick);
    connect(mnuPreviousCh, &QAction::triggered, this, &TfrmCorvina::mnuPreviousChClick);
    connect(mnuNextCh, &QAction::triggered, this, &TfrmCorvina::mnuNextChClick);
    connect(cmdPrevious, &QPushButton::clicked, this, &TfrmCorvina::cmdPreviousClick);
    connect(cmdRestart, &QPushButton::clicked, this, &TfrmCorvina::cmdRestartClick);
    connect(cmdNext, &QPushButton::clicked, this, &TfrmCorvina::cmdNextClick);
    connect(mnuNew, &QAction::triggered, this, &TfrmCorvina::mnuNewClick);
    connect(mnuPrevious, &QAction::triggered, this, &TfrmCorvina::mnuPreviousClick);
    connect(mnuNext, &QAction::triggered, this, &TfrmCorvina::mnuNextClick);
    connect(mnuGoToMove, &QAction::triggered, this, &TfrmCorvina::mnuGoToMoveClick);
    // The check mark flips before triggered() arrives; the handlers flip it themselves.
    for (QAction* a : {mnuLines, mnuWOT, mnuCPieces})
        connect(a, &QAction::triggered, this, [a] { a->setChecked(!a->isChecked()); });
    connect(mnuLines, &QAction::triggered, this, &TfrmCorvina::mnuLinesClick);
    connect(mnuWOT, &QAction::triggered, this, &TfrmCorvina::mnuWOTClick);
    connect(mnuCPieces, &QAction::triggered, this, &TfrmCorvina::mnuCPiecesClick);
    connect(mnuStart, &QAction::triggered, this, [this] { cb1->StartThinking(); });
    connect(mnuStop, &QAction::triggered, this, [this] { cb1->StopThinking(); });
    connect(mnuHelpTopics, &QAction::triggered, this, &TfrmCorvina::mnuHelpTopicsClick);
    connect(mnuReadme, &QAction::triggered, this, &TfrmCorvina::mnuReadmeClick);
}

void TfrmCorvina::BindBoard() {
    cb1->OnLegalMove = [this](TObject* s, Square a, Square b) { cb1LegalMove(s, a, b); };
    cb1->OnCapture = [this](TObject* s, Square a, Square b, char c) { cb1Capture(s, a, b, c); };
    cb1->OnCastle = [this](TObject*, Square, Square) { AddEvent("Castle!"); };
    cb1->OnCheck = [this](TObject*, Square, Square) { AddEvent("Check!"); };
    cb1->OnMate = [this](TObject*, Square, Square) { AddEvent("Mate!!!"); };
    cb1->OnStaleMate = [this](TObject*, Square, Square) { AddEvent("Stale Mate!"); };
    cb1->OnPromotion = [this](TObject*, Square, Square, char&) { AddEvent("Pawn Promoted"); };
    cb1->OnDraw = [this](TObject*) { AddEvent("Draw!"); };
    cb1->OnThreefoldPosition = [this](TObject*) { AddEvent("Threefold!"); };
    cb1->OnIllegalMove = [this](TObject*, Square) { AddEvent("Illegal Move!"); };
}

// ---------------------------------------------------------------- start-up

void TfrmCorvina::FormCreate() {
    cb1->SetComputerPlaysBlack(true);
    const QString marker = ProgramPath("al.dat");
    QStringList al;
    QString error;
    if (!ReadTextLines(marker, al, &error)) {
        ReportError(error);
        return;
    }
    QString name = al.isEmpty() || al.first().isEmpty() ? QString("Default") : al.first();
    // A profile name is a file name inside Settings, never a path elsewhere.
    const bool plainName =
        !name.contains('/') && !name.contains('\\') && name != "." && name != "..";
    QString path = ProgramPath("Settings/" + name);
    if (!plainName || !QFileInfo(path).isFile()) {
        name = "Default";
        path = ProgramPath("Settings/Default");
        if (!WriteTextLines(marker, {}, &error)) {
            ReportError(error);
            return;
        }
    }
    QStringList profile;
    if (!ReadTextLines(path, profile, &error)) {
        ReportError(error);
        return;
    }
    ApplyProfile(profile, name, true);
}

bool TfrmCorvina::ApplyProfile(const QStringList& lines, const QString& name, bool startUp) {
    auto fail = [&](int line, const QString& what) {
        ReportError(QString("Settings profile \"%1\", line %2: %3").arg(name).arg(line).arg(what));
        return false;
    };
    auto text = [&](int line) { return lines.value(line - 1); };
    auto number = [&](int line, int* out) {
        if (line > lines.size())
            return fail(
                line, QString("missing; a profile has ten lines, this one %1.").arg(lines.size()));
        if (!ParseProfileInt(text(line), out))
            return fail(line, QString("\"%1\" is not a valid integer value.").arg(text(line)));
        return true;
    };
    for (int line : {1, 2}) {
        QColor colour;
        if (line > lines.size())
            return fail(
                line, QString("missing; a profile has ten lines, this one %1.").arg(lines.size()));
        if (!TextToColour(text(line), &colour))
            return fail(line, QString("\"%1\" is not a colour.").arg(text(line)));
        if (line == 1)
            cb1->SetSquareColorDark(colour);
        else
            cb1->SetSquareColorLight(colour);
    }
    int value = 0;
    if (!number(3, &value))
        return false;
    cb1->SetSearchDepth(value);
    if (!number(4, &value))
        return false;
    TThreadPriority priority;
    if (CodeToPriority(value, &priority))
        cb1->SetThinkingPriority(priority);
    if (lines.size() < 5)
        return fail(5, QString("missing; a profile has ten lines, this one %1.").arg(lines.size()));
    const QString setFile = ProgramPath("pieces/" + QFileInfo(text(5)).fileName());
    const QImage set(setFile);
    if (set.isNull())
        return fail(5, QString("the piece set \"%1\" could not be read.").arg(setFile));
    cb1->SetCustomPieceSet(set);
    CurrentPieceSetFile = setFile;
    if (!number(6, &value))
        return false;
    mnuLines->setChecked(value == 1);
    cb1->SetBoardLines(value == 1);
    if (!number(7, &value))
        return false;
    mnuWOT->setChecked(value == 1);
    cb1->SetWhiteOnTop(value == 1);
    if (!number(8, &value))
        return false;
    LanguageIndex = value;
    if (!number(9, &value))
        return false;
    ThemeIndex = value;
    if (!number(10, &value))
        return false;
    SetCapturedPane(value == 1, startUp);
    return true;
}

QStringList TfrmCorvina::BuildProfile() const {
    return {ColourToText(cb1->SquareColorDark()),
            ColourToText(cb1->SquareColorLight()),
            QString::number(cb1->SearchDepth()),
            QString::number(PriorityToCode(cb1->ThinkingPriority())),
            QFileInfo(CurrentPieceSetFile).fileName(),
            mnuLines->isChecked() ? "1" : "0",
            mnuWOT->isChecked() ? "1" : "0",
            QString::number(LanguageIndex),
            QString::number(ThemeIndex),
            mnuCPieces->isChecked() ? "1" : "0"};
}

void TfrmCorvina::SetCapturedPane(bool shown, bool startUp) {
    mnuCPieces->setChecked(shown);
    setFixedWidth(shown ? WidthWithPane : WidthWithoutPane);
    if (startUp && shown)
        move(x() - 50, y());
}

void TfrmCorvina::Timer2Timer() {
    RefreshPoints();
    Timer2->stop();
}

// ---------------------------------------------------------------- game flow

void TfrmCorvina::cb1LegalMove(TObject*, Square, Square) {
    QStringList list;
    cb1->GetMoveList(list);
    if (!list.isEmpty())
        status->appendPlainText(list.last());
    RefreshPoints();
}

void TfrmCorvina::cb1Capture(TObject*, Square, Square, char CapturedPiece) {
    static const QString letters = "PBNRQ";
    const int item = letters.indexOf(QChar(CapturedPiece).toUpper());
    if (item < 0 || !QChar(CapturedPiece).isLetter())
        return;
    QListWidget* tally = QChar(CapturedPiece).isUpper() ? white : black;
    QListWidgetItem* entry = tally->item(item);
    const int count = entry->text().section(' ', 0, 0).toInt() + 1;
    entry->setText(QString("%1 %2").arg(count).arg(TallyWords[item]));
}

void TfrmCorvina::AddEvent(const QString& text) {
    events->insertItem(0, text);
}

int TfrmCorvina::Hits(const QString& shortText, const QString& longText) {
    return TfrmNew::Hits(shortText, longText); // one count for points and layout checks
}

double TfrmCorvina::CountPoints(int side) const {
    const QString position = QString::fromStdString(cb1->Position());
    const QString letters = side == 1 ? "PBNRQ" : "pbnrq";
    const long double values[5] = {1.0L, 3.5L, 3.05L, 5.48L, 9.94L};
    long double sum = 0;
    for (int i = 0; i < 5; ++i)
        sum += Hits(letters.mid(i, 1), position) * values[i];
    return static_cast<double>(sum);
}

QString TfrmCorvina::PointsText(double points) {
    return QString::asprintf("%5.1f", points);
}

void TfrmCorvina::RefreshPoints() {
    wp->setText(PointsText(CountPoints(1)));
    bp->setText(PointsText(CountPoints(0)));
}

void TfrmCorvina::SetPlayer2(const QString& text) {
    const int right = Player2->geometry().right();
    Player2->setText(text);
    Player2->adjustSize();
    Player2->move(right - Player2->width() + 1, Player2->y());
}

// ---------------------------------------------------------------- commands

void TfrmCorvina::mnuNewClick() {
    frmNew->exec(); // OK there has already reset the game
    cb1->setEnabled(true);
    status->clear();
}

void TfrmCorvina::mnuPreviousClick() {
    if (!cb1->PreviousMove())
        return;
    QStringList lines = StatusLines();
    if (!lines.isEmpty())
        lines.removeLast();
    status->setPlainText(lines.join('\n'));
    status->verticalScrollBar()->setValue(status->verticalScrollBar()->maximum());
}

void TfrmCorvina::mnuNextClick() {
    if (!cb1->NextMove())
        return;
    QStringList list;
    cb1->GetMoveList(list);
    // The half-move just replayed is the one before the shown position's slot.
    const int line = 2 * (cb1->CurrentMove() - 1) + (cb1->WhiteToMove() ? 0 : 1) - 1;
    if (line >= 0 && line < list.size())
        status->appendPlainText(list[line]);
}

void TfrmCorvina::mnuGoToMoveClick() {
    frmGoTo->listme->clear();
    frmGoTo->listme->addItems(StatusLines());
    if (frmGoTo->exec() == QDialog::Accepted)
        GoToLine(frmGoTo->SelectedIndex());
}

void TfrmCorvina::GoToLine(int index) {
    cb1->GoToPosition((index + 1) / 2 + 1, (index + 1) % 2 == 0);
}

void TfrmCorvina::mnuLinesClick() {
    mnuLines->setChecked(!mnuLines->isChecked());
    cb1->SetBoardLines(mnuLines->isChecked());
}

void TfrmCorvina::mnuWOTClick() {
    mnuWOT->setChecked(!mnuWOT->isChecked());
    cb1->SetWhiteOnTop(mnuWOT->isChecked());
}

void TfrmCorvina::mnuCPiecesClick() {
    if (mnuCPieces->isChecked()) {
        mnuCPieces->setChecked(false);
        setFixedWidth(WidthWithoutPane);
        move(x() + 50, y());
    } else {
        mnuCPieces->setChecked(true);
        setFixedWidth(WidthWithPane);
        move(x() - 50, y());
    }
}

void TfrmCorvina::OpenDocument(const QString& file, const QString& failure) {
    const QString path = ProgramPath(file);
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        QMessageBox::warning(this, "Error", failure);
}

void TfrmCorvina::mnuHelpTopicsClick() {
    OpenDocument("help.html", "Could not execute the help file");
}

void TfrmCorvina::mnuReadmeClick() {
    OpenDocument("readme.doc", "Could not execute the readme file");
}
