// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu bar, what each item runs, and the designed names of its controls and
// menu items.
#include "app/Main1.h"

#include "app/Appearance.h"
#include "app/EngineAdvice.h"
#include "app/GameClock.h"
#include "app/GameEnd.h"
#include "app/GameFiles.h"
#include "app/GamePanels.h"
#include "app/SettingsProfiles.h"
#include "board/ChessBrd.h"
#include "netui/NetGame.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

void TfrmCorvina::CreateMenus() {
    auto add = [](QMenu* menu, const QString& text, const QKeySequence& key = {}) {
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
    file->setObjectName("mnuFile");
    mnuLoad = add(file, "Load Game");
    mnuSave = add(file, "Save Game");
    mnuExport = add(file, "Export Move List");
    file->addSeparator();
    mnuExportPGN = add(file, "Export PGN...");
    mnuLoadPGN = add(file, "Load PGN...");
    mnuCopyFEN = add(file, "Copy Position (FEN)");
    mnuPasteFEN = add(file, "Paste Position (FEN)");
    file->addSeparator();
    mnuLoadSet = add(file, "Load Settings");
    mnuSaveSet = add(file, "Save Current Settings");
    file->addSeparator();
    mnuQuit = add(file, "Quit", QKeySequence("Ctrl+Q"));

    QMenu* game = menuBar()->addMenu("&Game");
    game->setObjectName("mnuGame");
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
    net->setObjectName("mnuNetGame");
    mnuStartNetGame = add(net, "Start NetGame");
    mnuEndNetGame = add(net, "End NetGame");
    mnuNetGameServer = add(net, "NetGame Server");
    mnuOpInfo = add(net, "Opponent Info");
    later({mnuStartNetGame, mnuEndNetGame, mnuNetGameServer, mnuOpInfo});

    QMenu* look = menuBar()->addMenu("&Appearence");
    look->setObjectName("mnuAppearence");
    mnuSet = add(look, "Piece Set");
    mnuColors = add(look, "Colors");
    mnuTheme = add(look, "Background Theme");
    look->addSeparator();
    mnuLines = add(look, "Board Lines");
    mnuWOT = add(look, "White On Top");
    mnuCPieces = add(look, "Show Captured Pieces");
    mnuHighlight = add(look, "Highlight Moves");
    for (QAction* a : {mnuLines, mnuWOT, mnuCPieces, mnuHighlight})
        a->setCheckable(true);
    mnuHighlight->setChecked(true);
    look->addSeparator();
    mnuLanguage = add(look, "Language");

    QMenu* engine = menuBar()->addMenu("&Engine");
    engine->setObjectName("mnuEngine");
    mnuStart = add(engine, "Start Thinking");
    mnuStop = add(engine, "Stop Thinking");
    engine->addSeparator();
    mnuOptions = add(engine, "Options");

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("mnuHelp");
    mnuHelpTopics = add(help, "Help Topics", Qt::Key_F1);
    mnuHelpOnNetGame = add(help, "Help On NetGame", Qt::Key_F3);
    mnuReadme = add(help, "ReadMe File", Qt::Key_F4);
    help->addSeparator();
    mnuAbout = add(help, "About...", Qt::Key_F5);
    later({mnuHelpOnNetGame});

    connect(mnuQuit, &QAction::triggered, this, &QWidget::close);
    connect(mnuLoad, &QAction::triggered, this, &TfrmCorvina::mnuLoadClick);
    connect(mnuSave, &QAction::triggered, this, &TfrmCorvina::mnuSaveClick);
    connect(mnuExport, &QAction::triggered, this, &TfrmCorvina::mnuExportClick);
    connect(mnuExportPGN, &QAction::triggered, this, &TfrmCorvina::mnuExportPGNClick);
    connect(mnuLoadPGN, &QAction::triggered, this, &TfrmCorvina::mnuLoadPGNClick);
    connect(mnuCopyFEN, &QAction::triggered, this, &TfrmCorvina::mnuCopyFENClick);
    connect(mnuPasteFEN, &QAction::triggered, this, &TfrmCorvina::mnuPasteFENClick);
    connect(mnuChallenges, &QAction::triggered, this, &TfrmCorvina::mnuChallengesClick);
    connect(mnuRestart, &QAction::triggered, this, &TfrmCorvina::mnuRestartClick);
    connect(mnuPreviousCh, &QAction::triggered, this, &TfrmCorvina::mnuPreviousChClick);
    connect(mnuNextCh, &QAction::triggered, this, &TfrmCorvina::mnuNextChClick);
    connect(cmdPrevious, &QPushButton::clicked, this, &TfrmCorvina::mnuPreviousChClick);
    connect(cmdRestart, &QPushButton::clicked, this, &TfrmCorvina::mnuRestartClick);
    connect(cmdNext, &QPushButton::clicked, this, &TfrmCorvina::mnuNextChClick);
    connect(mnuNew, &QAction::triggered, this, &TfrmCorvina::mnuNewClick);
    connect(mnuPrevious, &QAction::triggered, this, &TfrmCorvina::mnuPreviousClick);
    connect(mnuNext, &QAction::triggered, this, &TfrmCorvina::mnuNextClick);
    connect(mnuGoToMove, &QAction::triggered, this, &TfrmCorvina::mnuGoToMoveClick);
    // The check mark flips before triggered() arrives; the handlers flip it themselves.
    for (QAction* a : {mnuLines, mnuWOT, mnuCPieces, mnuHighlight})
        connect(a, &QAction::triggered, this, [a] { a->setChecked(!a->isChecked()); });
    connect(mnuLines, &QAction::triggered, this, &TfrmCorvina::mnuLinesClick);
    connect(mnuWOT, &QAction::triggered, this, &TfrmCorvina::mnuWOTClick);
    connect(mnuCPieces, &QAction::triggered, this, &TfrmCorvina::mnuCPiecesClick);
    connect(mnuStart, &QAction::triggered, this, [this] { cb1->StartThinking(); });
    connect(mnuStop, &QAction::triggered, this, [this] { cb1->StopThinking(); });
    connect(mnuHelpTopics, &QAction::triggered, this, &TfrmCorvina::mnuHelpTopicsClick);
    connect(mnuReadme, &QAction::triggered, this, &TfrmCorvina::mnuReadmeClick);
    connect(mnuAbout, &QAction::triggered, this, &TfrmCorvina::mnuAboutClick);
}

// Every control and menu item carries its designed name, so that the language layer and the
// tests find it without reaching into the window.
void TfrmCorvina::NameControls() {
    const std::pair<QObject*, const char*> names[] = {
        {back, "back"},
        {cb1, "cb1"},
        {instruct, "instruct"},
        {Player1_, "Player1"},
        {Player2_, "Player2"},
        {events, "events"},
        {status, "status"},
        {pane, "pane"},
        {white, "white"},
        {black, "black"},
        {wp, "wp"},
        {bp, "bp"},
        {cmdPrevious, "cmdPrevious"},
        {cmdRestart, "cmdRestart"},
        {cmdNext, "cmdNext"},
        {chatlog, "chatlog"},
        {txtmsg, "txtmsg"},
        {cmdSay, "cmdSay"},
        {Timer2, "Timer2"},
        {mnuLoad, "mnuLoad"},
        {mnuSave, "mnuSave"},
        {mnuExport, "mnuExport"},
        {mnuExportPGN, "mnuExportPGN"},
        {mnuLoadPGN, "mnuLoadPGN"},
        {mnuCopyFEN, "mnuCopyFEN"},
        {mnuPasteFEN, "mnuPasteFEN"},
        {mnuLoadSet, "mnuLoadSet"},
        {mnuSaveSet, "mnuSaveSet"},
        {mnuQuit, "mnuQuit"},
        {mnuNew, "mnuNew"},
        {mnuChallenges, "mnuChallenges"},
        {mnuRestart, "mnuRestart"},
        {mnuPreviousCh, "mnuPreviousCh"},
        {mnuNextCh, "mnuNextCh"},
        {mnuPrevious, "mnuPrevious"},
        {mnuNext, "mnuNext"},
        {mnuGoToMove, "mnuGoToMove"},
        {mnuStartNetGame, "mnuStartNetGame"},
        {mnuEndNetGame, "mnuEndNetGame"},
        {mnuNetGameServer, "mnuNetGameServer"},
        {mnuOpInfo, "mnuOpInfo"},
        {mnuSet, "mnuSet"},
        {mnuColors, "mnuColors"},
        {mnuTheme, "mnuTheme"},
        {mnuLines, "mnuLines"},
        {mnuWOT, "mnuWOT"},
        {mnuCPieces, "mnuCPieces"},
        {mnuHighlight, "mnuHighlight"},
        {mnuLanguage, "mnuLanguage"},
        {mnuStart, "mnuStart"},
        {mnuStop, "mnuStop"},
        {mnuOptions, "mnuOptions"},
        {mnuHelpTopics, "mnuHelpTopics"},
        {mnuHelpOnNetGame, "mnuHelpOnNetGame"},
        {mnuReadme, "mnuReadme"},
        {mnuAbout, "mnuAbout"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);
}

void TfrmCorvina::ConnectAppearanceMenus() {
    TAppearance* a = Appearance_.get();
    TSettingsProfiles* p = Profiles_.get();
    connect(mnuSet, &QAction::triggered, this, [a] { a->mnuSetClick(); });
    connect(mnuColors, &QAction::triggered, this, [a] { a->mnuColorsClick(); });
    connect(mnuTheme, &QAction::triggered, this, [a] { a->mnuThemeClick(); });
    connect(mnuOptions, &QAction::triggered, this, [a] { a->mnuOptionsClick(); });
    connect(mnuLanguage, &QAction::triggered, this, [a] { a->mnuLanguageClick(); });
    connect(mnuHighlight, &QAction::triggered, this, [a] { a->mnuHighlightClick(); });
    connect(mnuSaveSet, &QAction::triggered, this, [p] { p->mnuSaveSetClick(); });
    connect(mnuLoadSet, &QAction::triggered, this, [p] { p->mnuLoadSetClick(); });
}

// The end of the game (results, resigning, draw offers), the clocks beside the player labels,
// and the engine's hint and evaluation line, with their menu items.
void TfrmCorvina::CreateGameEnd() {
    GameEnd_ = new TGameEnd(this, cb1, Panels_.get());
    GameEnd_->NetGameActive = [this] { return NetGameActive_; };
    GameEnd_->SayInChat = [this](const QString& line) {
        const QString typed = txtmsg->text();
        txtmsg->setText(line);
        NetGame_->cmdSayClick();
        txtmsg->setText(typed);
    };
    Clock_ = new TGameClock(cb1->parentWidget(), cb1, GameEnd_, Player1_, Player2_);
    Clock_->Allowed = [this] { return !NetGameActive_ && !ChallengeMode(); };
    new TEngineAdvice(this, cb1, Player1_); // Engine > Hint and Show Evaluation
    Files_->CompleteHeader = [this](TPgnHeader& header) {
        GameEnd_->CompleteHeader(header);
        Clock_->CompleteHeader(header);
    };
}
