// Perft over the board's own rules: every from-to pair through IsLegalMove, each half-move
// played with MakeMove on a copy, against the standard published counts.
#include "board/ChessGame.h"
#include "board/Fen.h"
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
        const QString start = PerftFen::Start;
        const QString kiwipete = PerftFen::Kiwipete;
        const QString pos3 = PerftFen::Pos3;
        const QString pos4 = PerftFen::Pos4;
        const QString pos4m = PerftFen::Pos4Mirrored;
        const QString pos5 = PerftFen::Pos5;
        const QString pos6 = PerftFen::Pos6;
        QTest::newRow("start 1") << start << 1 << quint64(20);
        QTest::newRow("start 3") << start << 3 << quint64(8902);
        QTest::newRow("start 4") << start << 4 << quint64(197281);
        QTest::newRow("start 5") << start << 5 << quint64(4865609);
        QTest::newRow("kiwipete 1") << kiwipete << 1 << quint64(48);
        QTest::newRow("kiwipete 3") << kiwipete << 3 << quint64(97862);
        QTest::newRow("kiwipete 4") << kiwipete << 4 << quint64(4085603);
        QTest::newRow("pos3 4") << pos3 << 4 << quint64(43238);
        QTest::newRow("pos3 5") << pos3 << 5 << quint64(674624);
        QTest::newRow("pos4 3") << pos4 << 3 << quint64(9467);
        QTest::newRow("pos4 4") << pos4 << 4 << quint64(422333);
        QTest::newRow("pos4 mirrored 3") << pos4m << 3 << quint64(9467);
        QTest::newRow("pos5 4") << pos5 << 4 << quint64(2103487);
        QTest::newRow("pos6 4") << pos6 << 4 << quint64(3894594);
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
