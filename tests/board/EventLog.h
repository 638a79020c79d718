// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records every event a game raises as short text ("LegalMove(E2,E4)"), for order checks,
// through the same printer as corvina-bench's events command.
#include "chess/ChessGame.h"
#include "chess/EventPrinter.h"
#include "chess/Fen.h"

#include <QString>
#include <QStringList>

struct EventLog : TEventPrinter {
    QString Joined() const { return QString::fromStdString(TEventPrinter::Joined()); }
};

inline Square Sq(const char* name) {
    return ParseSquare(name);
}

// Plays "e2e4" style moves; answers false at the first refusal.
inline bool Play(TChessGame& g, const QStringList& moves) {
    for (const QString& m : moves) {
        const std::string s = m.toStdString();
        if (!g.MakeMove(ParseSquare(s.substr(0, 2)), ParseSquare(s.substr(2, 2))))
            return false;
    }
    return true;
}

inline TChessGame FromFen(const char* fen) {
    TChessGame g;
    if (!LoadFen(g, fen))
        qFatal("bad test FEN %s", fen);
    return g;
}
