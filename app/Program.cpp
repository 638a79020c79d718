#include "app/Program.h"

#include "about/AboutBox.h"
#include "app/Colors1.h"
#include "app/GoTo.h"
#include "app/LoadSet.h"
#include "app/Main1.h"
#include "app/Options1.h"
#include "app/PieceSet1.h"
#include "app/Theme1.h"
#include "net/Client.h"
#include "net/NetGame.h"
#include "net/StartNetGame.h"

#include "setup/New1.h"
#include <QLineEdit>

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
    frmTheme = std::make_unique<TfrmTheme>(main, main);
    main->SetDialogs(frmNew.get(), frmGoTo.get(), AboutBox_.get());
    main->SetLobbyWindow(frmClient.get());
    ConnectLobby(*frmClient, *main->NetGame());
    main->SetAppearanceDialogs(frmColors.get(), frmPieceSet.get(), frmOptions.get(),
                               frmLoadSet.get(), frmTheme.get());
    // The start-up step: the saved language (once languages exist, before the theme), then the
    // saved theme.
    TfrmTheme* theme = frmTheme.get();
    main->OnStartUpStep = [main, theme] {
        theme->SelectIndex(main->ThemeIndex());
        theme->cmdApplyClick();
    };
}

TProgram::~TProgram() = default;

void ConnectLobby(TfrmClient& lobby, TNetGame& net) {
    // The server paired us with a player who waits: connect to them as the client, as the
    // start dialog's Start would. If we were listening for an opponent of our own (after
    // Create Game), that wait ends first.
    lobby.OnJoinGame = [&net](const QString& address) {
        if (net.State() == TNetGame::TState::Waiting)
            net.mnuEndGameClick();
        TfrmStartNetGame& d = net.StartDialog();
        d.SetConnectionType(1);
        d.txtIP->setText(address);
        d.cmdStartClick();
    };
    // Whoever creates a game must be listening when the opponent the lobby sends arrives.
    lobby.OnCreateGame = [&net] {
        if (net.State() != TNetGame::TState::Idle)
            return;
        TfrmStartNetGame& d = net.StartDialog();
        d.SetConnectionType(0);
        d.cmdStartClick();
    };
}
