// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TNetGame: the direct NetGame of one main window. It runs the game over a TNetConnection:
// Start (listen or connect), connection up, sending the local moves, receiving the peer's
// moves, names and chat lines, End NetGame, the peer going away, failures, opponent info and
// help. It reaches the window only through INetGameHost.
//
// The peer is the board's outside engine: the board runs in CustomEngine mode with the
// remote side as the computer side, and once a local half-move stands completely on the board
// the board asks its outside engine for the reply (OnCalculateMove); that is the moment the
// position goes out as one "mov".

#include "net/NetConnection.h"
#include "netui/NetGameHost.h"
#include "netui/OpInfo.h"
#include "netui/StartNetGame.h"

#include "chess/Square.h"

#include <QObject>
#include <QPointer>

#include <memory>

class TChessBrd;
class TObject;

class TNetGame : public QObject {
public:
    enum class TState { Idle, Waiting, Playing };

    // What has crossed the wire in this game, for tests and tools.
    struct TCounts {
        int MovesSent = 0;
        int MovesReceived = 0;
        int MovesPlayed = 0;  // received moves played as half-moves (the others were placed)
        int MovesRefused = 0; // received while our side was to move: not played
        int ChatsSent = 0;
        int ChatsReceived = 0;
        int NamesReceived = 0;
    };

    // A peer that sends this many moves while our side is to move is disconnected.
    static constexpr int MaxRefusedMoves = 10;

    TNetGame(std::unique_ptr<INetGameHost> host, QObject* parent = nullptr);
    ~TNetGame() override;

    TNetConnection& Connection() { return *Connection_; }
    TfrmStartNetGame& StartDialog() { return *frmStartNetGame; }
    TfrmOpInfo& OpInfoDialog() { return *frmOpInfo; }

    TState State() const;
    bool NetGameActive() const { return Active_; }
    QString LocalPlayerName() const { return LocalPlayerName_; }
    QString PeerName() const { return PeerName_; }
    const TCounts& Counts() const { return Counts_; }

    // --- Handlers of the menu items, the dialogs and the chat button.
    void mnuStartNetGameClick();
    bool cmdStartClick(const TNetStartValues& values);
    void cmdCancelClick();
    void mnuHelpOnNetGameClick();
    void cmdSayClick();
    void mnuEndGameClick();
    void mnuOpInfoClick();

private:
    void doStuff(int side);
    void cb1CalculateMove(TObject* Sender, Square& oldsq, Square& newsq);
    void ReceiveMove(const QByteArray& payload);
    bool PeerToMove() const;
    void RefuseMove();
    void PlayPeerMove(const std::string& position);
    void ReceiveName(const QByteArray& payload);
    void ReceiveChat(const QByteArray& payload);
    void ConnectionClosed();
    void ConnectionFailed(const QString& reason);
    void SetBoardHandler(bool on);

    std::unique_ptr<INetGameHost> Host_;
    QPointer<TChessBrd> Board_;
    TNetConnection* Connection_;
    QPointer<TfrmStartNetGame> frmStartNetGame;
    QPointer<TfrmOpInfo> frmOpInfo;
    bool Active_ = false;
    bool EndEnabled_ = false; // mirrors the "End NetGame" menu item
    bool Server_ = false;
    QString LocalPlayerName_;
    QString PeerName_;
    QString DropReason_;
    TCounts Counts_;
};
