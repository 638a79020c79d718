// SPDX-License-Identifier: GPL-3.0-or-later
// Perft over the board's own rules: every from-to pair through IsLegalMove, each half-move
// played with MakeMove on a copy, against the standard published counts.
#include "chess/ChessGame.h"
#include "chess/Fen.h"
#include "tests/PerftPositions.h"

#include <QtTest>

namespace {

bool IsPromotion(const TChessGame& g, Square from, Square to) {
    const char c = g.At(from);
    return (c == 'P' && RankOf(to) == 8) || (c == 'p' && RankOf(to) == 1);
}

quint64 Perft(const TChessGame& game, int depth) {
    quint64 nodes = 0;
    for (const auto& [from, to] : game.LegalMoves()) {
        const bool promotion = IsPromotion(game, from, to);
        if (depth == 1) {
            nodes += promotion ? 4 : 1;
            continue;
        }
        for (char piece : promotion ? std::string("qrbn") : std::string("q")) {
            TChessGame child(game);
            child.SetPromotionPiece(piece);
            if (!child.MakeMove(from, to))
                qFatal("a move that IsLegalMove accepted was refused by MakeMove");
            nodes += Perft(child, depth - 1);
        }
    }
    return nodes;
}

} // namespace

class TestPerftRules : public QObject {
    Q_OBJECT
private slots:
    void perft_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("depth");
        QTest::addColumn<quint64>("nodes");
        // The rules' own perft is far slower than the engine's: depth 2 adds nothing that
        // depths 1 and 3 do not check, and the mirrored position is checked at depth 3 only.
        for (const TPerftCount& row : PerftCounts)
            if (row.Depth != 2 && !(row.Fen == PerftFen::Pos4Mirrored && row.Depth > 3))
                QTest::addRow("%s %d", row.Name, row.Depth)
                    << QString(row.Fen) << row.Depth << quint64(row.Nodes);
    }
    void perft() {
        QFETCH(QString, fen);
        QFETCH(int, depth);
        QFETCH(quint64, nodes);
        TChessGame game;
        QVERIFY(LoadFen(game, fen.toStdString()));
        QCOMPARE(Perft(game, depth), nodes);
    }
};

QTEST_GUILESS_MAIN(TestPerftRules)
#include "tst_perft_rules.moc"
