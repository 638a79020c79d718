// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The saved-game file: the move list as shown, then five lines (position, the player at the
// bottom, the player at the top, whether the computer plays White, whether it plays Black).
// It holds the picture of a game, not its history; the window restores the history when the
// move list replays to the position (board/MoveListReplay.h).

#include <QString>
#include <QStringList>

#include <optional>

struct TSavedGame {
    QStringList MoveList;
    QString Position; // 64 characters, checked to be a playable placement
    QString Player1;
    QString Player2;
    // A flag line changes its setting only when it reads exactly "true" or "false".
    std::optional<bool> ComputerWhite;
    std::optional<bool> ComputerBlack;
};

QStringList BuildSavedGame(const QStringList& moveList, const QString& position,
                           const QString& player1, const QString& player2, bool computerWhite,
                           bool computerBlack);

// The game in the lines of `fileName`, or no game with *error set to a sentence naming the
// file: fewer than five lines, or a position line that is not 64 piece letters and spaces
// with one king of each colour.
std::optional<TSavedGame> ParseSavedGame(const QStringList& lines, const QString& fileName,
                                         QString* error);
