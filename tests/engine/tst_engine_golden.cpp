// SPDX-License-Identifier: GPL-3.0-or-later
// Every benchmark position searched at depths 1 to 5 must give exactly the committed
// best move, score, node count and principal variation. The table is written by the plain
// engine (make_golden.sh), so a faster engine has to reproduce that engine line by line.
#include "engine/BenchSuite.h"
#include "tests/engine/EngineFen.h"

#include <QFile>
#include <memory>

class TestEngineGolden : public QObject {
    Q_OBJECT
private slots:
    void golden_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("expected");
        QFile file(CORVINA_GOLDEN_FILE);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        int rows = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            const int firstSpace = line.indexOf(' ');
            const int secondSpace = line.indexOf(' ', firstSpace + 1);
            const int index = line.left(firstSpace).toInt();
            const int depth = line.mid(firstSpace + 1, secondSpace - firstSpace - 1).toInt();
            ++rows;
            // Depth 6 stays in the table for the benchmark; it is too slow for a test.
            if (depth <= 5)
                QTest::addRow("position %d depth %d", index, depth)
                    << index << depth << line.mid(secondSpace + 1);
        }
        QCOMPARE(rows, 6 * int(std::size(BenchPositions)));
    }
    void golden() {
        QFETCH(int, index);
        QFETCH(int, depth);
        QFETCH(QString, expected);
        auto engine = std::make_unique<TChessEngine>();
        const EngineMove best =
            engine->ComputeMove(TEngineFen(BenchPositions[index]).Position(depth));
        QString line = QString("bestmove %1 score %2 depth %3 nodes %4 pv")
                           .arg(QString::fromStdString(MoveText(best)))
                           .arg(engine->Score())
                           .arg(engine->CompletedDepth())
                           .arg(engine->Nodes());
        for (int i = 0; i < engine->PvMoveCount(); ++i)
            line += " " + QString::fromStdString(MoveText(engine->PvMove(i)));
        QCOMPARE(line, expected);
    }
};

QTEST_GUILESS_MAIN(TestEngineGolden)
#include "tst_engine_golden.moc"
