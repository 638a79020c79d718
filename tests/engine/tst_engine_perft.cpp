// Perft of the engine's own move generation, each move made with MakeEngineMove and taken
// back, against the standard published counts.
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
        const QString start = PerftFen::Start;
        const QString kiwipete = PerftFen::Kiwipete;
        const QString pos3 = PerftFen::Pos3;
        const QString pos4 = PerftFen::Pos4;
        const QString pos4m = PerftFen::Pos4Mirrored;
        const QString pos5 = PerftFen::Pos5;
        const QString pos6 = PerftFen::Pos6;
        const quint64 startCounts[] = {20, 400, 8902, 197281, 4865609};
        for (int d = 1; d <= 5; ++d)
            QTest::addRow("start %d", d) << start << d << startCounts[d - 1];
        const quint64 kiwipeteCounts[] = {48, 2039, 97862, 4085603};
        for (int d = 1; d <= 4; ++d)
            QTest::addRow("kiwipete %d", d) << kiwipete << d << kiwipeteCounts[d - 1];
        QTest::newRow("pos3 5") << pos3 << 5 << quint64(674624);
        QTest::newRow("pos4 4") << pos4 << 4 << quint64(422333);
        QTest::newRow("pos4 mirrored 4") << pos4m << 4 << quint64(422333);
        QTest::newRow("pos5 4") << pos5 << 4 << quint64(2103487);
        QTest::newRow("pos6 4") << pos6 << 4 << quint64(3894594);
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
