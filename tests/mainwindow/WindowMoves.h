// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plays "e2e4" style half-moves through the main window's board as the user would.
#include "app/Main1.h"
#include "board/ChessBrd.h"

#include <QStringList>

inline bool PlayMoves(TfrmCorvina& w, const QStringList& moves) {
    for (const QString& m : moves)
        if (!w.Board()->PlayUserMove(ParseSquare(m.left(2).toStdString()),
                                     ParseSquare(m.mid(2, 2).toStdString())))
            return false;
    return true;
}
