// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A referee for two UCI engines: it starts both, hands each the game so far, takes its
// "bestmove", and checks every move against Corvina's own rules before playing it. The game
// ends in mate, stalemate, threefold placement or lack of mating material as the rules see
// them, or at a move limit.

#include "chess/ChessGame.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

struct TMatchPlayer {
    QString Program;
    // Sent after "uci" is answered, before "isready" (e.g. "setoption name Depth value 3").
    QStringList Setup;
    QString Go = "go depth 3";
};

struct TMatchResult {
    TChessGame Game;   // the game as played, every move through the rules
    QStringList Moves; // in coordinate notation, as the engines gave them
    QString Result;    // "1-0", "0-1", "1/2-1/2", or "*" at the move limit
    QString Error;     // an engine that failed: illegal move, no answer, crash
    QStringList Log;   // everything both engines said, prefixed by "w: " or "b: "
};

// One engine process spoken to line by line.
class TUciProcess {
public:
    bool Start(const TMatchPlayer& player, QString& error);
    void Send(const QString& line);
    // The first line beginning with `prefix` within `ms` milliseconds; "" on time-out or exit.
    QString WaitFor(const QString& prefix, int ms);
    void Stop();
    QStringList* Log = nullptr;
    QString Tag;

private:
    std::unique_ptr<QProcess> Process_;
    QByteArray Pending_;
};

TMatchResult PlayMatch(const TMatchPlayer& white, const TMatchPlayer& black, int maxPlies,
                       int moveTimeoutMs = 20000);
