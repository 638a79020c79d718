// SPDX-License-Identifier: GPL-3.0-or-later
#include "netui/NetGame.h"

#include "net/NetProtocol.h"
#include "net/PeerMove.h"
#include "netui/NetTexts.h"
#include "netui/OpInfo.h"

#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "uikit/DocumentOpener.h"

#include <QLineEdit>

using namespace NetProtocol;

TNetGame::TNetGame(std::unique_ptr<INetGameHost> host, QObject* parent)
    : QObject(parent), Host_(std::move(host)), Board_(&Host_->Board()),
      Connection_(new TNetConnection(this)) {
    frmStartNetGame = new TfrmStartNetGame(Host_->Window());
    frmOpInfo = new TfrmOpInfo(Host_->Window());
    frmStartNetGame->OnStart = [this](const TNetStartValues& v) { return cmdStartClick(v); };
    frmStartNetGame->OnCancel = [this] { cmdCancelClick(); };
    frmStartNetGame->OnHelp = [this] { mnuHelpOnNetGameClick(); };

    TNetConnection* c = Connection_;
    connect(c, &TNetConnection::listening, this,
            [this] { Host_->AppendChat(NetTexts::Listening); });
    connect(c, &TNetConnection::connected, this, [this] { doStuff(Server_ ? 0 : 1); });
    connect(c, &TNetConnection::moveReceived, this, &TNetGame::ReceiveMove);
    connect(c, &TNetConnection::nameReceived, this, &TNetGame::ReceiveName);
    connect(c, &TNetConnection::chatReceived, this, &TNetGame::ReceiveChat);
    connect(c, &TNetConnection::peerFlooded, this, [this](qsizetype bytes) {
        DropReason_ = NetTexts::PeerFlooded.arg(bytes);
        Host_->AppendChat(DropReason_);
    });
    connect(c, &TNetConnection::closed, this, &TNetGame::ConnectionClosed);
    connect(c, &TNetConnection::failed, this, &TNetGame::ConnectionFailed);

    Host_->SetNetMenus(true, false, false);
    Host_->SetNetGameActive(false);
}

TNetGame::~TNetGame() {
    // The window may already have destroyed its board and controls: touch nothing of it.
    Connection_->disconnect(this);
    Connection_->Close();
    if (Board_)
        Board_->OnCalculateMove = nullptr;
}

TNetGame::TState TNetGame::State() const {
    if (Active_)
        return TState::Playing;
    return EndEnabled_ ? TState::Waiting : TState::Idle;
}

// ---------------------------------------------------------------- Start

void TNetGame::mnuStartNetGameClick() {
    frmStartNetGame->open();
}

bool TNetGame::cmdStartClick(const TNetStartValues& values) {
    if (Active_)
        return false; // one game at a time; End NetGame first
    Host_->SetNetMenus(false, true, true);
    EndEnabled_ = true;
    Host_->SetChatShown(true);
    Host_->ClearChat();
    Host_->AppendChat(NetTexts::ChatHeader);
    LocalPlayerName_ = CleanText(values.Name, MaxNameLength);
    PeerName_.clear();
    DropReason_.clear();
    Counts_ = {};
    Server_ = !values.AsClient;
    if (Server_) {
        QString reason;
        bool inUse = false;
        if (!Connection_->Listen(&reason, &inUse)) {
            const QString port = QString::number(Connection_->Port());
            Host_->ShowMessage(
                TNetBox::Error, NetTexts::ErrorCaption,
                (inUse ? NetTexts::PortInUse : NetTexts::ListenFailed).arg(port, reason).trimmed());
            return false;
        }
        Host_->AppendChat(NetTexts::Awaiting);
    } else {
        if (values.Address.isEmpty()) {
            Host_->ShowMessage(TNetBox::Warning, NetTexts::ErrorCaption, NetTexts::NoAddress);
            return false;
        }
        Connection_->ConnectTo(values.Address);
        Host_->AppendChat(NetTexts::Connecting + values.Address);
    }
    return true;
}

void TNetGame::cmdCancelClick() {
    mnuEndGameClick();
}

// ---------------------------------------------------------------- connection up

void TNetGame::doStuff(int side) {
    if (frmStartNetGame->isVisible())
        frmStartNetGame->accept();
    Host_->SetNetMenus(false, true, true);
    EndEnabled_ = true;
    Host_->SetHistoryMenus(false);
    Host_->SetChatShown(true);
    // The names and events of an earlier game stay until this one starts; the peer's name
    // follows in its first message.
    Host_->ClearEvents();
    if (side == 1) {
        Host_->SetPlayer1(QString());
        Host_->SetPlayer2(LocalPlayerName_, false);
    } else {
        Host_->SetPlayer1(LocalPlayerName_);
        Host_->SetPlayer2(QString(), true);
    }
    Host_->ClearChat();
    Host_->AppendChat(NetTexts::ChatHeader);
    Host_->ClearChatEntry();
    Active_ = true;
    Host_->SetNetGameActive(true);
    Host_->SetSayDefault(true);

    TChessBrd& board = Host_->Board();
    // Park the built-in engine while it is still in charge: once CustomEngine is set, a stop
    // no longer reaches it.
    board.StopThinking();
    board.SetCustomEngine(true);
    Host_->ClearMoveList();
    board.StartNewGame();
    board.StopThinking();
    board.SetCustomEngine(true);
    board.SetComputerPlaysBlack(side == 0);
    board.SetComputerPlaysWhite(side == 1);
    board.StopThinking();
    SetBoardHandler(true);
    // White moves first: the client's board waits for the server's first move, so that the
    // client cannot play White's half-move for it.
    board.setEnabled(side == 0);

    Connection_->Send(FormatInfo(LocalPlayerName_));
}

// ---------------------------------------------------------------- moves

void TNetGame::SetBoardHandler(bool on) {
    if (!Board_)
        return;
    if (on)
        Board_->OnCalculateMove = [this](TObject* s, Square& a, Square& b) {
            cb1CalculateMove(s, a, b);
        };
    else
        Board_->OnCalculateMove = nullptr;
}

// The board asks its outside engine for the remote side's half-move right after a local
// half-move has been completely made (castling rook moved, pawn promoted, pawn taken en
// passant removed), once per half-move. The answer goes out on the wire; the board gets no
// squares back and, held by StopThinking, does not ask again.
void TNetGame::cb1CalculateMove(TObject*, Square&, Square&) {
    if (!Active_ || !Board_)
        return;
    Board_->StopThinking();
    if (Connection_->Send(FormatMove(Board_->Position())))
        ++Counts_.MovesSent;
    Board_->setEnabled(false);
}

// The peer moves only in its turn: a peer playing as we do sends one "mov" after each of
// ours, its board held until our answer arrives. A "mov" that comes while our side is to move
// (our colour's half-move, or a second half-move before our answer) is not played: the first
// one is named in the chat, and a peer that goes on is disconnected. So however fast the peer
// writes, no more than one of its moves is played per half-move of ours.
bool TNetGame::PeerToMove() const {
    return Board_ && Board_->WhiteToMove() != Server_;
}

void TNetGame::ReceiveMove(const QByteArray& payload) {
    if (!Active_ || !Board_)
        return;
    ++Counts_.MovesReceived;
    if (!PeerToMove())
        return RefuseMove();
    PlayPeerMove(MovePosition(payload));
}

void TNetGame::RefuseMove() {
    ++Counts_.MovesRefused;
    if (Counts_.MovesRefused == 1)
        Host_->AppendChat(NetTexts::MoveRefused);
    if (Counts_.MovesRefused < MaxRefusedMoves)
        return;
    DropReason_ = NetTexts::PeerTooFast.arg(Counts_.MovesRefused);
    Host_->AppendChat(DropReason_);
    Connection_->DropPeer(); // the game ends here, through ConnectionClosed
}

void TNetGame::PlayPeerMove(const std::string& position) {
    TChessBrd& board = *Board_;
    if (const auto move = FindPeerMove(board, position)) {
        // Played like the engine's half-move, so that every event and panel follows. The held
        // board does not ask its outside engine afterwards, so nothing is sent back. The piece
        // slides only when nothing else from the peer waits: the slide holds the window.
        // A promotion takes the piece the peer chose, for this half-move alone.
        const bool animate = board.AnimateMoves();
        if (Connection_->MoreWaiting())
            board.SetAnimateMoves(false);
        board.MakeMove(move->From, move->To, move->Promotion);
        board.SetAnimateMoves(animate);
        ++Counts_.MovesPlayed;
    } else {
        const std::string old = board.Position();
        board.SetPosition(position);
        board.RedrawChanged(old);
        board.SetWhiteToMove(!board.WhiteToMove());
    }
    board.setEnabled(true);
}

// ---------------------------------------------------------------- names and chat

void TNetGame::ReceiveName(const QByteArray& payload) {
    if (!Active_)
        return;
    ++Counts_.NamesReceived;
    PeerName_ = CleanText(payload, MaxNameLength);
    if (Server_)
        Host_->SetPlayer2(PeerName_, true);
    else
        Host_->SetPlayer1(PeerName_);
}

void TNetGame::ReceiveChat(const QByteArray& payload) {
    if (!Active_)
        return;
    ++Counts_.ChatsReceived;
    Host_->AppendChat(CleanText(payload, MaxChatLength));
}

void TNetGame::cmdSayClick() {
    const QString name = CleanText(frmStartNetGame->txtName->text(), MaxNameLength);
    const QString line = CleanText(name + ": " + Host_->ChatEntry(), MaxChatLength);
    // Before the peer is there (a server still waiting) the line is only echoed.
    if (Connection_->IsConnected() && Connection_->Send(FormatChat(line)))
        ++Counts_.ChatsSent;
    Host_->AppendChat(line);
    Host_->ClearChatEntry();
}

// ---------------------------------------------------------------- End NetGame

void TNetGame::mnuEndGameClick() {
    if (!EndEnabled_)
        return;
    // Closing also cancels a connection attempt still under way; it raises no signal, so the
    // side that ends the game is not told that its opponent left.
    Connection_->Close();
    Host_->SetNetMenus(true, false, false);
    EndEnabled_ = false;
    Host_->SetHistoryMenus(true);
    Host_->SetChatShown(false);
    Host_->SetSayDefault(false);
    const bool played = Active_;
    Active_ = false;
    Host_->SetNetGameActive(false);
    SetBoardHandler(false);
    // A wait that never became a game leaves the board as it was.
    if (!Board_ || !played)
        return;
    // The game just played stays on the board with its move list and events, to be looked
    // through, saved or exported; the board is no longer linked, and nobody moves for the
    // other side until the player starts something new.
    TChessBrd& board = *Board_;
    board.StopThinking();
    board.SetComputerPlaysBlack(false);
    board.SetComputerPlaysWhite(false);
    board.SetCustomEngine(false);
    board.setEnabled(true);
}

void TNetGame::ConnectionClosed() {
    Host_->ShowMessage(TNetBox::Error, NetTexts::ErrorCaption, NetTexts::Disconnected, DropReason_);
    mnuEndGameClick();
}

void TNetGame::ConnectionFailed(const QString& reason) {
    // The window stays Waiting; End NetGame returns to the normal state.
    Host_->ShowMessage(TNetBox::Plain, QString(), NetTexts::ConnectionFailed, reason);
}

// ---------------------------------------------------------------- opponent info, help

void TNetGame::mnuOpInfoClick() {
    const bool up = Connection_->IsConnected();
    frmOpInfo->ShowPeer(up ? PeerName_ : QString(),
                        up ? Connection_->PeerAddress() : QHostAddress());
    frmOpInfo->open();
}

void TNetGame::mnuHelpOnNetGameClick() {
    const QString path = ProgramPath("help_netgame.html");
    OpenDocument(path, this, [this, path] {
        Host_->ShowMessage(TNetBox::Warning, NetTexts::ErrorCaption,
                           DocumentFailureText(NetTexts::HelpFailed, path));
    });
}
