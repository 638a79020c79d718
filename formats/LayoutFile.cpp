// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/LayoutFile.h"

#include "formats/GameText.h"

#include <QDir>

QStringList BuildLayout(const std::string& position, int turn) {
    return {QString::fromLatin1(position.data(), qsizetype(position.size())) + ';',
            QString::number(turn)};
}

std::optional<TLayout> ParseLayout(const QStringList& lines, const QString& fileName,
                                   QString* error) {
    if (lines.isEmpty() || lines[0].size() != 65) {
        if (error)
            *error = InvalidLayoutText;
        return std::nullopt;
    }
    TLayout layout;
    layout.Position = DecodePosition(lines[0].left(64));
    const QString where = QDir::toNativeSeparators(fileName);
    if (lines.size() < 2) {
        if (error)
            *error = QString("Layout file \"%1\", line 2: missing; it gives the side to move.")
                         .arg(where);
        return layout;
    }
    bool ok = false;
    const int turn = lines[1].trimmed().toInt(&ok);
    if (!ok || (turn != 0 && turn != 1)) {
        if (error)
            *error = QString("Layout file \"%1\", line 2: \"%2\" is not a side to move (0 for "
                             "White, 1 for Black).")
                         .arg(where, lines[1]);
        return layout;
    }
    layout.Turn = turn;
    return layout;
}
