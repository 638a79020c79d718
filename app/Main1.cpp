// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main1.h"

#include "about/AboutBox.h"
#include "app/Appearance.h"
#include "app/ChallengeMode.h"
#include "app/EngineAdvice.h"
#include "app/GameClock.h"
#include "app/GameEnd.h"
#include "app/GameFiles.h"
#include "app/GamePanels.h"
#include "app/GoTo.h"
#include "app/PlayerLabels.h"
#include "app/ProgramTexts.h"
#include "app/SettingsProfiles.h"
#include "app/WindowLayout.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "formats/Points.h"
#include "net/NetProtocol.h"
#include "netui/NetGame.h"
#include "setup/New1.h"
#include "uikit/DocumentOpener.h"
#include "uikit/MessageBox.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int WidthWithoutPane = 625;
constexpr int ClientHeight = 457;

// A caption of the side panels: white and bold over the background picture, as wide as the
// room it has, so that a longer translation still shows whole.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int width) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setStyleSheet("color: white; font-weight: bold");
    l->move(x, y);
    l->adjustSize();
    l->resize(width, l->height());
    return l;
}

QLabel* MakeSunken(QWidget* parent, const QString& text, QRect geometry, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setTextFormat(Qt::PlainText); // names may come from a file or from the network
    l->setAlignment(align | Qt::AlignVCenter);
    l->setAutoFillBackground(true);
    l->setGeometry(geometry);
    return l;
}

QListWidget* MakeTally(QWidget* parent, int x, int y) {
    auto* list = new QListWidget(parent);
    list->setGeometry(x, y, 165, 100);
    for (const char* word : {"Pawns", "Bishops", "Knights", "Rooks", "Queens"})
        list->addItem(QString("0 ") + word);
    return list;
}

} // namespace

TfrmCorvina::TfrmCorvina(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmCorvina");
    setWindowTitle("Corvina 3 Meridian Edition");
    CreateControls();
    CreateMenus();
    Panels_ = std::make_unique<TGamePanels>(cb1, events, status, white, black, wp, bp);
    Panels_->BindBoard();
    Players_ = std::make_unique<TPlayerLabels>(Player1_, Player2_, cmdPrevious, instruct);
    Players_->SetPlayer2("Player2");
    Files_ = std::make_unique<TGameFiles>(this, cb1, Panels_.get(), Players_.get());
    Challenges_ = std::make_unique<TChallengeMode>(
        TChallengeControls{cb1, Panels_.get(), Players_.get(), instruct, mnuChallenges, mnuRestart,
                           mnuPreviousCh, mnuNextCh, cmdPrevious, cmdRestart, cmdNext});
    NameControls();
    BindLanguageTexts();
    setMinimumSize(WidthWithoutPane, ClientHeight + menuBar()->sizeHint().height());
    resize(minimumSize());
    CreateNetGame(); // after the window has its height: the chat area lies below it
    CreateGameEnd();
    Layout_ = std::make_unique<TWindowLayout>(cb1->parentWidget(), cb1, back);
    Layout_->Record({Player1_, Player2_, instruct});
    Appearance_ = std::make_unique<TAppearance>(cb1, back, mnuHighlight);
    Profiles_ = std::make_unique<TSettingsProfiles>(
        this, cb1,
        TProfileTargets{
            mnuLines, [this] { return ChosenWhiteOnTop_; },
            [this](bool on) {
                ChosenWhiteOnTop_ = on;
                ShowWhiteOnTop(on);
            },
            [this] { return mnuCPieces->isChecked(); },
            [this](bool shown, bool moveWindow) { SetCapturedPane(shown, moveWindow); }});
    ConnectAppearanceMenus();
    cb1->OnPlayersChange = [this](TObject*) { FollowPlayers(); };
    cb1->SetComputerPlaysBlack(true);
    Appearance_->LoadHighlightChoice();
    Profiles_->ApplyAtStartUp();
    LoadWindowSize();
}

TfrmCorvina::~TfrmCorvina() = default;

void TfrmCorvina::SetDialogs(TfrmNew* newGame, TfrmGoTo* goTo, TAboutBox* about) {
    frmNew = newGame;
    frmGoTo = goTo;
    AboutBox = about;
}

void TfrmCorvina::SetAppearanceDialogs(TfrmColors* colors, TfrmPieceSet* pieceSet,
                                       TfrmOptions* options, TfrmLoadSet* loadSet,
                                       TfrmTheme* theme) {
    Appearance_->SetDialogs(colors, pieceSet, options, theme);
    Profiles_->SetDialogs(loadSet, theme);
}

void TfrmCorvina::SetLanguageDialog(TfrmLang* lang) {
    Appearance_->SetLanguageDialog(lang);
    Profiles_->SetLanguageDialog(lang);
}

QString TfrmCorvina::CurrentPieceSetFile() const {
    return Profiles_->PieceSetFile();
}

bool TfrmCorvina::SetBackgroundPicture(const QString& file) {
    return Appearance_->SetBackgroundPicture(file);
}

void TfrmCorvina::SetCurrentPieceSetFile(const QString& file) {
    Profiles_->SetPieceSetFile(file);
}

void TfrmCorvina::SetThemeIndex(int index) {
    Profiles_->SetThemeIndex(index);
}

bool TfrmCorvina::ChallengeMode() const {
    return Challenges_->Active();
}

int TfrmCorvina::ChallengeCount() const {
    return Challenges_->Count();
}

void TfrmCorvina::CreateControls() {
    // The background picture fills the client area; the controls stand on a stage of the
    // designed size, scaled with the window, which hides what lies beyond the designed area
    // (the captured-pieces pane at 625 wide, the chat area outside a NetGame).
    auto* root = new QWidget(this);
    setCentralWidget(root);
    back = new QLabel(root);
    back->setGeometry(0, 0, WidthWithoutPane, ClientHeight);
    back->setScaledContents(true);
    back->setPixmap(QPixmap(":/MainBack.png"));
    auto* client = new QWidget(root);
    client->setGeometry(0, 0, WidthWithoutPane, ClientHeight);

    cb1 = new TChessBrd(client);
    cb1->move(9, 26);
    cb1->SetSizeOfSquare(44);
    cb1->SetSizeOfBorder(24);
    // Two milliseconds a pixel: a one-square slide takes about 0.1 s, a knight's about 0.3 s.
    cb1->SetAnimationDelay(2);
    cb1->SetSquareColorDark(QColor(128, 0, 0));
    cb1->SetSquareColorLight(QColor(192, 192, 192));
    cb1->SetDisplayCoords(West | North | East | South);
    TFont coords;
    coords.Name = "Arial";
    coords.Size = 7; // 9-pixel characters
    coords.Color = Qt::white;
    cb1->SetCoordFont(coords);
    // What players of other chess programs expect: pieces moved by two clicks as well as by
    // dragging, the squares that matter marked, and a choice of piece on promotion.
    cb1->SetClickMoves(true);
    cb1->SetHighlightMoves(true);
    cb1->SetChoosePromotion(true);

    instruct = new QLabel(client);
    instruct->move(9, 4);
    instruct->setStyleSheet("color: red; font-weight: bold");
    instruct->hide();

    Player1_ = MakeSunken(client, "Player1", QRect(9, 430, 120, 21), Qt::AlignLeft);
    Player1_->adjustSize();
    Player2_ = MakeSunken(client, "Player2", QRect(366, 3, 43, 21), Qt::AlignRight);

    MakeLabel(client, "Label4", "Events:", 422, 10, 191);
    events = new QListWidget(client);
    events->setGeometry(422, 26, 191, 143);
    events->setStyleSheet("color: red");
    MakeLabel(client, "Label1", "Movelist:", 422, 174, 191);
    status = new QPlainTextEdit(client);
    status->setGeometry(422, 190, 191, 259);
    status->setReadOnly(true);
    status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    status->setLineWrapMode(QPlainTextEdit::NoWrap);
    status->setFont(QFont("DejaVu Sans Mono", 9));

    pane = new QFrame(client);
    pane->setGeometry(620, 8, 182, 440);
    pane->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pane->lower();
    back->lower();
    pane->hide(); // shown with the captured pieces, so no sliver of it shows at width 625
    MakeLabel(client, "Label2", "White pieces captured:", 629, 16, 173);
    white = MakeTally(client, 629, 34);
    MakeLabel(client, "Label5", "Points:", 640, 183, 56);
    wp = MakeSunken(client, "0", QRect(698, 181, 60, 19), Qt::AlignRight);
    MakeLabel(client, "Label3", "Black pieces captured:", 629, 232, 173);
    black = MakeTally(client, 629, 250);
    MakeLabel(client, "Label6", "Points:", 640, 398, 56);
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
    chatlog->setMaximumBlockCount(NetProtocol::MaxChatLines);
    txtmsg = new QLineEdit(client);
    txtmsg->setGeometry(9, 546, 524, 21);
    cmdSay = new QPushButton("Say", client);
    cmdSay->setGeometry(538, 546, 75, 21);

    Timer2 = new QTimer(this);
    Timer2->setInterval(150);
    connect(Timer2, &QTimer::timeout, this, &TfrmCorvina::Timer2Timer);
    Timer2->start();
}

// The window opens wholly on the screen, centred, the first time it is shown; the pane
// toggle's 50-pixel moves apply from there.
void TfrmCorvina::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (Placed_)
        return;
    Placed_ = true;
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (where) {
        const QRect area = where->availableGeometry();
        const QRect frame = frameGeometry();
        move(area.x() + std::max(0, (area.width() - frame.width()) / 2),
             area.y() + std::max(0, (area.height() - frame.height()) / 2));
    }
}

// ---------------------------------------------------------------- panels

QStringList TfrmCorvina::StatusLines() const {
    return Panels_->MoveList();
}

void TfrmCorvina::SetPlayer1(const QString& name) {
    Players_->SetPlayer1(name);
}

void TfrmCorvina::SetPlayer2(const QString& name) {
    Players_->SetPlayer2(name);
}

QString TfrmCorvina::Player1() const {
    return Players_->Player1();
}

QString TfrmCorvina::Player2() const {
    return Players_->Player2();
}

// ---------------------------------------------------------------- commands

bool TfrmCorvina::EndNetGameFirst() {
    if (!NetGameActive_)
        return true;
    if (!AskYesNo(windowTitle(), ProgramTexts().EndNetGameQuestion))
        return false;
    NetGame_->mnuEndGameClick();
    return true;
}

void TfrmCorvina::mnuNewClick() {
    if (!EndNetGameFirst() || !frmNew)
        return;
    frmNew->SetPieceSet(cb1->CustomPieceSet());
    // Cancel changes nothing; OK hands back the new game, applied here.
    if (const auto game = frmNew->Execute()) {
        ApplyNewGame(*game);
        cb1->setEnabled(true);
        Panels_->SetMoveList({});
        // The computer opens when it plays the side to move.
        cb1->StartThinking();
    }
}

void TfrmCorvina::ApplyNewGame(const TNewGame& game) {
    cb1->SetCustomEngine(false);
    cb1->StartNewGame();
    if (game.UseLayout)
        cb1->SetPosition(game.Layout);
    Panels_->Refresh();
    SetPlayer1(game.Player1);
    SetPlayer2(game.Player2);
    cb1->SetComputerPlaysBlack(game.ComputerBlack);
    cb1->SetComputerPlaysWhite(game.ComputerWhite);
    // With no choice the side to move stays as the new game left it.
    if (game.Turn == 0)
        cb1->SetWhiteToMove(true);
    else if (game.Turn == 1)
        cb1->SetWhiteToMove(false);
    Panels_->ClearEvents();
    Clock_->Start(game.Clock);
}

void TfrmCorvina::mnuSaveClick() {
    Files_->mnuSaveClick();
}

void TfrmCorvina::mnuLoadClick() {
    if (EndNetGameFirst())
        Files_->mnuLoadClick();
}

void TfrmCorvina::mnuExportClick() {
    Files_->mnuExportClick();
}

bool TfrmCorvina::SaveGameTo(const QString& path) {
    return Files_->SaveGameTo(path, Files_->SavedGameLines());
}

bool TfrmCorvina::LoadGameFrom(const QString& path) {
    return Files_->LoadGameFrom(path);
}

bool TfrmCorvina::ExportMoveListTo(const QString& path) {
    QStringList list;
    cb1->GetMoveList(list);
    return Files_->ExportMoveListTo(path, list);
}

void TfrmCorvina::mnuExportPGNClick() {
    Files_->mnuExportPGNClick();
}

void TfrmCorvina::mnuLoadPGNClick() {
    if (EndNetGameFirst())
        Files_->mnuLoadPGNClick();
}

void TfrmCorvina::mnuCopyFENClick() {
    Files_->mnuCopyFENClick();
}

void TfrmCorvina::mnuPasteFENClick() {
    if (EndNetGameFirst())
        Files_->mnuPasteFENClick();
}

bool TfrmCorvina::ExportPgnTo(const QString& path) {
    return Files_->ExportPgnTo(path, Files_->PgnLines());
}

bool TfrmCorvina::LoadPgnFrom(const QString& path) {
    return !NetGameActive_ && Files_->LoadPgnFrom(path);
}

bool TfrmCorvina::StartFromFen(const QString& fen) {
    return !NetGameActive_ && Files_->StartFromFen(fen);
}

QString TfrmCorvina::CurrentFen() const {
    return Files_->CurrentFen();
}

void TfrmCorvina::mnuChallengesClick() {
    if (EndNetGameFirst())
        Challenges_->Toggle();
}

void TfrmCorvina::mnuNextChClick() {
    Challenges_->Next();
}

void TfrmCorvina::mnuPreviousChClick() {
    Challenges_->Previous();
}

void TfrmCorvina::mnuRestartClick() {
    Challenges_->Restart();
}

void TfrmCorvina::mnuPreviousClick() {
    if (!cb1->PreviousMove())
        return;
    Panels_->ShowMovesToPosition();
    Panels_->Refresh();
}

void TfrmCorvina::mnuNextClick() {
    if (!cb1->NextMove())
        return;
    Panels_->ShowMovesToPosition();
    Panels_->Refresh();
}

void TfrmCorvina::mnuGoToMoveClick() {
    if (!frmGoTo)
        return;
    const auto index = frmGoTo->Execute(StatusLines());
    if (index)
        GoToLine(*index);
}

void TfrmCorvina::GoToLine(int index) {
    // The move list stays as it is, so the later half-moves can still be chosen.
    cb1->GoToPosition((index + 1) / 2 + 1, (index + 1) % 2 == 0);
    Panels_->Refresh();
}

void TfrmCorvina::mnuLinesClick() {
    mnuLines->setChecked(!mnuLines->isChecked());
    cb1->SetBoardLines(mnuLines->isChecked());
}

void TfrmCorvina::mnuWOTClick() {
    // Chosen by hand, also during a game that turned the board: the choice wins, and stays
    // when that game ends.
    ChosenWhiteOnTop_ = !mnuWOT->isChecked();
    ShowWhiteOnTop(ChosenWhiteOnTop_);
}

void TfrmCorvina::ShowWhiteOnTop(bool on) {
    mnuWOT->setChecked(on);
    if (cb1->WhiteOnTop() != on)
        cb1->SetWhiteOnTop(on);
}

void TfrmCorvina::FollowPlayers() {
    ShowWhiteOnTop((cb1->ComputerPlaysWhite() && !cb1->ComputerPlaysBlack()) || ChosenWhiteOnTop_);
}

void TfrmCorvina::mnuCPiecesClick() {
    SetCapturedPane(!mnuCPieces->isChecked(), true);
}

void TfrmCorvina::OpenProgramDocument(const QString& file, const QString& failure) {
    const QString path = ProgramPath(file);
    OpenDocument(path, this, [this, path, failure] {
        // The opener's verdict may come while the user does something else: the box lets
        // the window go on.
        QMessageBox* box =
            NewMessageBox(QMessageBox::Warning, "Error", DocumentFailureText(failure, path), this);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse);
        box->open();
    });
}

void TfrmCorvina::mnuHelpTopicsClick() {
    OpenProgramDocument("help.html", "Could not execute the help file");
}

void TfrmCorvina::mnuReadmeClick() {
    OpenProgramDocument("readme.doc", "Could not execute the readme file");
}

void TfrmCorvina::mnuAboutClick() {
    if (AboutBox)
        AboutBox->Execute(); // starts the credits scrolling; OK stops them
}
