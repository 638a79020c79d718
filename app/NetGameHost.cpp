// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the direct NetGame: it lends the NetGame its board, name labels,
// chat area and menu items, and binds the NetGame menu, the Say button and the help item.
#include "app/GamePanels.h"
#include "app/Main1.h"
#include "board/ChessBrd.h"
#include "uikit/MessageBox.h"

#include "netui/NetGame.h"
#include "netui/NetGameHost.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

class TWindowNetHost final : public INetGameHost {
public:
    explicit TWindowNetHost(TfrmCorvina& w) : W(w) {}

    TChessBrd& Board() override { return *W.cb1; }
    QWidget* Window() override { return &W; }

    void SetPlayer1(const QString& text) override { W.SetPlayer1(text); }
    // Every name is sized to its text with Player2's right edge kept, whichever side sets it.
    void SetPlayer2(const QString& text, bool) override { W.SetPlayer2(text); }

    void ClearChat() override { W.chatlog->clear(); }
    void AppendChat(const QString& line) override { W.chatlog->appendPlainText(line); }
    QString ChatEntry() const override { return W.txtmsg->text(); }
    void ClearChatEntry() override { W.txtmsg->clear(); }
    void SetChatShown(bool shown) override { W.SetChatShown(shown); }
    void SetSayDefault(bool on) override {
        W.cmdSay->setDefault(on);
        SayDefault = on;
    }

    void SetNetMenus(bool startOn, bool endOn, bool opponentInfoOn) override {
        W.mnuStartNetGame->setEnabled(startOn);
        W.mnuEndNetGame->setEnabled(endOn);
        W.mnuOpInfo->setEnabled(opponentInfoOn);
    }
    void SetHistoryMenus(bool on) override {
        for (QAction* a : {W.mnuPrevious, W.mnuNext, W.mnuGoToMove})
            a->setEnabled(on);
    }
    void SetNetGameActive(bool on) override { W.NetGameActive_ = on; }
    void ClearMoveList() override { W.Panels_->SetMoveList({}); }
    void ClearEvents() override { W.Panels_->ClearEvents(); }

    void ShowMessage(TNetBox kind, const QString& caption, const QString& text,
                     const QString& details) override {
        const QMessageBox::Icon icon = kind == TNetBox::Error     ? QMessageBox::Critical
                                       : kind == TNetBox::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::NoIcon;
        // A box without a caption of its own carries the application's title.
        QMessageBox* box = NewMessageBox(
            icon, caption.isEmpty() ? QCoreApplication::applicationName() : caption, text, &W);
        if (!details.isEmpty())
            box->setDetailedText(details);
        box->open(); // modal for the user, but the socket handlers go on at once
    }

    bool SayDefault = false;

private:
    TfrmCorvina& W;
};

void TfrmCorvina::CreateNetGame() {
    // The chat area lies below the normal client area; it is uncovered by making the window
    // taller, so the client widget and background reach down that far.
    const int client = height() - menuBar()->sizeHint().height();
    chatlog->setGeometry(9, client + 4, 604, 110);
    txtmsg->setGeometry(9, client + 119, 524, 24);
    cmdSay->setGeometry(538, client + 119, 75, 24);
    txtmsg->setMaxLength(1000);

    auto host = std::make_unique<TWindowNetHost>(*this);
    TWindowNetHost* h = host.get();
    NetGame_ = new TNetGame(std::move(host), this);
    connect(mnuStartNetGame, &QAction::triggered, NetGame_, &TNetGame::mnuStartNetGameClick);
    connect(mnuEndNetGame, &QAction::triggered, NetGame_, &TNetGame::mnuEndGameClick);
    connect(mnuOpInfo, &QAction::triggered, NetGame_, &TNetGame::mnuOpInfoClick);
    connect(mnuHelpOnNetGame, &QAction::triggered, NetGame_, &TNetGame::mnuHelpOnNetGameClick);
    connect(cmdSay, &QPushButton::clicked, NetGame_, &TNetGame::cmdSayClick);
    connect(txtmsg, &QLineEdit::returnPressed, NetGame_, [this, h] {
        if (h->SayDefault)
            NetGame_->cmdSayClick();
    });
    mnuHelpOnNetGame->setEnabled(true);
}

void TfrmCorvina::SetChatShown(bool shown) {
    ChatShown_ = shown;
    FitDesign();
}

void TfrmCorvina::SetLobbyWindow(QWidget* lobby) {
    connect(mnuNetGameServer, &QAction::triggered, this, [lobby] {
        lobby->show();
        lobby->raise();
        lobby->activateWindow();
    });
    mnuNetGameServer->setEnabled(true);
}
