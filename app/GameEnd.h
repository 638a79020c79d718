// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TGameEnd: the end of the game in the main window. After every half-move it asks the rules
// whether the game has ended (mate, stalemate, repetition, the fifty-move rule, a dead
// position); Game > Resign and Game > Offer Draw end it by the players' choice, and a clock
// by a fallen flag. The end is written as one line above the board and shown once in a
// message box; the board then refuses every move with "The game is
// over." until a new game. During a NetGame, resigning and offering a draw are chat lines to
// the opponent, and only resigning ends the game here.

#include "chess/GameResult.h"

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QLabel;
class QMainWindow;
class TChessBrd;
class TGamePanels;
struct TPgnHeader;

class TGameEnd : public QObject {
public:
    TGameEnd(QMainWindow* window, TChessBrd* board, TGamePanels* panels);

    // Sends a line to the opponent's chat; set by the window for its NetGame.
    std::function<void(const QString& line)> SayInChat;
    std::function<bool()> NetGameActive;

    // The result of the game on the board; None while it goes on.
    TGameResult Result() const;
    // Ends the game with `result` (nothing when it has ended already).
    void End(const TGameResult& result);
    // The English line (or the language's) for a result.
    static QString Line(const TGameResult& result);
    // The result and termination tags of an exported game that has ended.
    void CompleteHeader(TPgnHeader& header) const;

private:
    // Shows `line` above the board, in a smaller font or cut short with "…" when it is long.
    void ShowLine(const QString& line);
    void AfterHalfMove();
    void ResignClick();
    void OfferDrawClick();
    // The side the person at this window plays: the one the computer (or the peer) does not,
    // else the side to move.
    PieceColour LocalSide() const;
    bool ComputerAcceptsDraw() const;

    QMainWindow* Window_;
    TChessBrd* Board_;
    TGamePanels* Panels_;
    QAction* Resign_;
    QAction* OfferDraw_;
    QLabel* Line_;
    TGameResult Result_;
};
