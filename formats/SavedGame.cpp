// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/SavedGame.h"

#include "formats/GameText.h"

#include <QDir>

namespace {

std::optional<bool> Flag(const QString& text) {
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    return std::nullopt;
}

} // namespace

QStringList BuildSavedGame(const QStringList& moveList, const QString& position,
                           const QString& player1, const QString& player2, bool computerWhite,
                           bool computerBlack) {
    QStringList lines = moveList;
    lines << position << player1 << player2 << (computerWhite ? "true" : "false")
          << (computerBlack ? "true" : "false");
    return lines;
}

std::optional<TSavedGame> ParseSavedGame(const QStringList& lines, const QString& fileName,
                                         QString* error) {
    const QString where = QDir::toNativeSeparators(fileName);
    const qsizetype n = lines.size();
    if (n < 5) {
        if (error)
            *error = QString("The file \"%1\" is not a saved game: it has %2 line(s), and a saved "
                             "game ends with five lines (position, two players, two flags).")
                         .arg(where)
                         .arg(n);
        return std::nullopt;
    }
    if (!IsGamePosition(lines[n - 5])) {
        if (error)
            *error = QString("The file \"%1\" is not a saved game: its position line (line %2) "
                             "is not 64 squares of piece letters and spaces with one king of "
                             "each colour. The current game is unchanged.")
                         .arg(where)
                         .arg(n - 4);
        return std::nullopt;
    }
    TSavedGame game;
    game.MoveList = lines.mid(0, n - 5);
    game.Position = lines[n - 5];
    game.Player1 = lines[n - 4];
    game.Player2 = lines[n - 3];
    game.ComputerWhite = Flag(lines[n - 2]);
    game.ComputerBlack = Flag(lines[n - 1]);
    return game;
}
