// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the NetGame needs of the main window: its board, the players' name labels, the chat
// area, the NetGame and history menu items, and a way to tell the user something. The main
// window implements it; tests may implement it too.

#include <QString>

class QWidget;
class TChessBrd;

enum class TNetBox { Error, Plain, Warning };

class INetGameHost {
public:
    virtual ~INetGameHost() = default;

    virtual TChessBrd& Board() = 0;
    // Parent of the NetGame's dialogs and message boxes.
    virtual QWidget* Window() = 0;

    // Player1 carries White's name (below the board), Player2 Black's (above it). Player2 can
    // keep its right edge in place as its text changes, or keep its left edge. Both show
    // their text as plain text only.
    virtual void SetPlayer1(const QString& text) = 0;
    virtual void SetPlayer2(const QString& text, bool keepRightEdge) = 0;

    virtual void ClearChat() = 0;
    virtual void AppendChat(const QString& line) = 0;
    virtual QString ChatEntry() const = 0;
    virtual void ClearChatEntry() = 0;
    // The chat area below the board: shown from Start until End NetGame.
    virtual void SetChatShown(bool shown) = 0;
    // "Say" as the default button: Enter in the chat entry says the line.
    virtual void SetSayDefault(bool on) = 0;

    virtual void SetNetMenus(bool startOn, bool endOn, bool opponentInfoOn) = 0;
    // "Previous Move", "Next Move" and "Go To Move...".
    virtual void SetHistoryMenus(bool on) = 0;
    virtual void SetNetGameActive(bool on) = 0;
    virtual void ClearMoveList() = 0;
    // The events list beside the board.
    virtual void ClearEvents() = 0;

    // A message box with one OK button; `details` holds the system's reason, if any. It must
    // not block: the caller goes on at once.
    virtual void ShowMessage(TNetBox kind, const QString& caption, const QString& text,
                             const QString& details = {}) = 0;
};
