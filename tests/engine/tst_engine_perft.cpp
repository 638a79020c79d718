// Perft of the engine's own move generation, each move made with MakeEngineMove and taken
// back, against the standard published counts.
#include "EngineFen.h"

#include <memory>

class TestEnginePerft : public QObject {
    Q_OBJECT
private slots:
    void perft_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<int>("depth");
        QTest::addColumn<quint64>("nodes");
        const QString start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
        const QString kiwipete =
            "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
        const QString pos3 = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1";
        const QString pos4 = "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
        const QString pos4m = "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1";
        const QString pos5 = "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8";
        const QString pos6 =
            "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10";
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
