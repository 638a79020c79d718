// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TGameClock: the two clocks of a game played under a time control, beside the player labels
// (the bottom clock belongs to the side at the bottom of the board). The clock of the side to
// move runs; a half-move stops it and adds the increment; a flag that falls ends the game
// through TGameEnd. While a dialog that blocks play is open the clocks stand still. The engine
// is told its time before each search. Clocks run only in games started by New Game with a
// time control, never in a NetGame or a challenge: any other start of a game stops them.

#include "chess/GameResult.h"
#include "chess/TimeControl.h"

#include <QObject>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QTimer;
class TChessBrd;
class TGameEnd;
struct TPgnHeader;

class TGameClock : public QObject {
    Q_OBJECT
public:
    TGameClock(QWidget* stage, TChessBrd* board, TGameEnd* end, QLabel* player1, QLabel* player2);

    // False while clocks may not run (a NetGame, challenge mode).
    std::function<bool()> Allowed;
    // The time in milliseconds on a steady scale; tests replace it to drive the clocks.
    std::function<long long()> Now;

    // Both clocks full, the side to move's running (nothing without a time control).
    void Start(const TTimeControl& control);
    void Stop();
    bool Running() const { return Running_; }
    const TTimeControl& Control() const { return Control_; }
    long long Remaining(PieceColour side) const;
    // Charges the running clock with the time since the last look, ends the game on a fallen
    // flag and shows both clocks. The window's timer calls it ten times a second.
    void Tick();
    // TimeControl and [%clk] comments of a game played under a clock.
    void CompleteHeader(TPgnHeader& header) const;

private:
    static int Index(PieceColour side) { return side == PieceColour::White ? 0 : 1; }
    PieceColour SideToMove() const;
    void Charge();
    void AfterHalfMove();
    void Show();

    TChessBrd* Board_;
    TGameEnd* End_;
    QLabel* Player1_;
    QLabel* Player2_;
    std::array<QLabel*, 2> Faces_; // White's, Black's
    QTimer* Timer_;
    TTimeControl Control_;
    bool Running_ = false;
    std::array<long long, 2> Left_{};
    long long Last_ = 0;
    int Played_ = 0; // the half-moves of the recorded line the clocks have charged
    // The clock of the side that made each half-move of the recorded line, after it.
    std::vector<std::string> Clocks_;
};
