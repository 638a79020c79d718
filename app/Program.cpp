// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Program.h"

#include "about/AboutBox.h"
#include "app/Colors1.h"
#include "app/GoTo.h"
#include "app/LoadSet.h"
#include "app/Main1.h"
#include "app/Options1.h"
#include "app/PieceSet1.h"
#include "app/Theme1.h"
#include "language/Language1.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"
#include "netui/Client.h"
#include "netui/NetGame.h"
#include "netui/StartNetGame.h"
#include "setup/New1.h"

#include <QLineEdit>

#include <memory>
#include <utility>

namespace {

// Every window takes its language texts from the start-up Apply on; until then it shows its
// designed captions. The New Game switch button shows one of its two captions by the dialog's
// state, so the dialog keeps both and the button shows the one of the moment.
void RegisterLanguageTargets(std::initializer_list<QWidget*> windows, TfrmNew* newGame) {
    TTextTargets& targets = LanguageTargets();
    for (QWidget* w : windows)
        targets.AddWindow(w);
    targets.Bind(newGame, newGame->objectName(), TextIds::SwitchBasicCaption,
                 [newGame](const QString& text) {
                     newGame->SwitchBasicCaption = text;
                     newGame->ShowSwitchCaption();
                 });
    targets.Bind(newGame, newGame->objectName(), TextIds::SwitchAdvancedCaption,
                 [newGame](const QString& text) {
                     newGame->SwitchAdvancedCaption = text;
                     newGame->ShowSwitchCaption();
                 });
    // The faults of a layout are named wherever a position is checked: one set for all.
    BindMembers(targets, newGame, newGame->objectName(), &TfrmNew::FaultTexts(),
                {{TextIds::LayoutKingsMissing, &TLayoutFaultTexts::KingsMissing},
                 {TextIds::LayoutTooManyPawns, &TLayoutFaultTexts::TooManyPawns},
                 {TextIds::LayoutTooManyPromoted, &TLayoutFaultTexts::TooManyPromoted},
                 {TextIds::LayoutOnlyKings, &TLayoutFaultTexts::OnlyKings},
                 {TextIds::LayoutTooManyKings, &TLayoutFaultTexts::TooManyKings}});
}

} // namespace

TProgram::TProgram() {
    // The main window reads the settings profile as it is created, before any other window
    // exists; what needs the other windows waits for its one-shot start-up step.
    frmCorvina = std::make_unique<TfrmCorvina>();
    TfrmCorvina* main = frmCorvina.get();
    frmNew = std::make_unique<TfrmNew>(main);
    frmColors = std::make_unique<TfrmColors>(main->Board(), main);
    frmPieceSet = std::make_unique<TfrmPieceSet>(main->Board(), main, main);
    frmGoTo = std::make_unique<TfrmGoTo>(main);
    frmOptions = std::make_unique<TfrmOptions>(main->Board(), main);
    frmLoadSet = std::make_unique<TfrmLoadSet>(main);
    AboutBox_ = std::make_unique<TAboutBox>(main);
    frmClient = std::make_unique<TfrmClient>(main);
    frmLang = std::make_unique<TfrmLang>(main);
    frmTheme = std::make_unique<TfrmTheme>(main, main);
    main->SetDialogs(frmNew.get(), frmGoTo.get(), AboutBox_.get());
    main->SetLobbyWindow(frmClient.get());
    ConnectLobby(*frmClient, *main->NetGame());
    main->SetAppearanceDialogs(frmColors.get(), frmPieceSet.get(), frmOptions.get(),
                               frmLoadSet.get(), frmTheme.get());
    main->SetLanguageDialog(frmLang.get());
    RegisterLanguageTargets({main, frmNew.get(), frmColors.get(), frmPieceSet.get(), frmGoTo.get(),
                             frmOptions.get(), frmLoadSet.get(), AboutBox_.get(),
                             &main->NetGame()->OpInfoDialog(), frmClient.get(), frmLang.get(),
                             &main->NetGame()->StartDialog(), frmTheme.get()},
                            frmNew.get());
    // The start-up step: the saved language, then the saved theme.
    TfrmTheme* theme = frmTheme.get();
    TfrmLang* lang = frmLang.get();
    main->OnStartUpStep = [lang, theme](int languageIndex, int themeIndex) {
        lang->SelectIndex(languageIndex);
        lang->cmdApplyClick();
        theme->SelectIndex(themeIndex);
        theme->cmdApplyClick();
    };
}

TProgram::~TProgram() = default;

void ConnectLobby(TfrmClient& lobby, TNetGame& net) {
    // The NetGame goes by the name the player gave the lobby. The server paired us with a
    // player who waits: connect to them as the client, as the start dialog's Start would. If
    // we were listening for an opponent of our own (after Create Game), that wait ends first.
    lobby.OnJoinGame = [&lobby, &net](const QString& address) {
        if (net.State() == TNetGame::TState::Waiting)
            net.mnuEndGameClick();
        TfrmStartNetGame& d = net.StartDialog();
        d.txtName->setText(lobby.txtName->text());
        d.SetConnectionType(1);
        d.txtIP->setText(address);
        d.cmdStartClick();
    };
    // Whoever creates a game must be listening when the opponent the lobby sends arrives.
    // When they meet, the creator's own row, waiting for an opponent, no longer holds.
    auto created = std::make_shared<bool>(false);
    lobby.OnCreateGame = [&lobby, &net, created] {
        if (net.State() != TNetGame::TState::Idle)
            return;
        TfrmStartNetGame& d = net.StartDialog();
        d.txtName->setText(lobby.txtName->text());
        d.SetConnectionType(0);
        d.cmdStartClick();
        *created = net.State() == TNetGame::TState::Waiting;
    };
    QObject::connect(&net.Connection(), &TNetConnection::connected, &lobby, [&lobby, created] {
        if (std::exchange(*created, false))
            lobby.DropRowsOf(lobby.txtName->text());
    });
}
