// SPDX-License-Identifier: GPL-3.0-or-later
// Perft of the engine's own move generation against the standard published counts: the moves
// of the last ply counted by LegalMoveCount, those before it made and taken back.
#include "tests/PerftPositions.h"
#include "tests/engine/EngineFen.h"

#include <memory>

class TestEnginePerft : public QObject {
    Q_OBJECT
private slots:
    void perft_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("depth");
        QTest::addColumn<quint64>("nodes");
        for (const TPerftCount& row : PerftCounts)
            QTest::addRow("%s %d", row.Name, row.Depth)
                << QString(row.Fen) << row.Depth << quint64(row.Nodes);
    }
    void perft() {
        QFETCH(QString, fen);
        QFETCH(int, depth);
        QFETCH(quint64, nodes);
        auto engine = std::make_unique<TEngineBoard>();
        engine->LoadPosition(TEngineFen(fen).Position());
        QCOMPARE(engine->Perft(depth), nodes);
        QCOMPARE(engine->CurrentPly(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEnginePerft)
#include "tst_engine_perft.moc"
