#pragma once
// Records every event a game raises as short text ("LegalMove(E2,E4)"), for order checks.
#include "board/ChessGame.h"
#include "board/Fen.h"

#include <QStringList>

struct EventLog {
    QStringList events;
    char promoteTo = 0;

    void Attach(TChessGame& g) {
        auto sq = [](Square a, Square b) {
            return QString("(%1,%2)").arg(SquareName(a).c_str(), SquareName(b).c_str());
        };
        g.OnLegalMove = [=, this](TObject*, Square a, Square b) {
            events << "LegalMove" + sq(a, b);
        };
        g.OnCapture = [=, this](TObject*, Square a, Square b, char p) {
            events << QString("Capture(%1,%2,%3)")
                          .arg(SquareName(a).c_str(), SquareName(b).c_str(), QString(QChar(p)));
        };
        g.OnPromotion = [=, this](TObject*, Square a, Square b, char& piece) {
            events << "Promotion" + sq(a, b);
            if (promoteTo)
                piece = promoteTo;
        };
        g.OnCastle = [=, this](TObject*, Square a, Square b) { events << "Castle" + sq(a, b); };
        g.OnCheck = [=, this](TObject*, Square a, Square b) { events << "Check" + sq(a, b); };
        g.OnMate = [=, this](TObject*, Square a, Square b) { events << "Mate" + sq(a, b); };
        g.OnStaleMate = [=, this](TObject*, Square a, Square b) {
            events << "StaleMate" + sq(a, b);
        };
        g.OnNoMatingMaterial = [this](TObject*) { events << "NoMatingMaterial"; };
        g.OnThreefoldPosition = [this](TObject*) { events << "ThreefoldPosition"; };
        g.OnDraw = [this](TObject*) { events << "Draw"; };
        g.OnPaint = [this](TObject*) { events << "Paint"; };
    }
    QString Joined() const { return events.join(' '); }
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
