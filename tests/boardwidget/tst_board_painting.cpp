// SPDX-License-Identifier: GPL-3.0-or-later
// The board's incremental painting against its full repaint: after every half-move and every
// step through the history, the canvas a half-move leaves equals, pixel for pixel, the canvas
// of a board that paints the same position from nothing.
#include "board/ChessBrd.h"
#include "chess/Fen.h"

#include <QRandomGenerator>
#include <QtTest>

#include <array>
#include <map>

namespace {

// Positions in which captures, castling both ways, en passant and promotions come early.
const char* const Openings[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/pppq1ppp/2n1bn2/3pp3/3PP3/2N1BN2/PPPQ1PPP/R3K2R w KQkq - 0 1",
    "r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6 0 1",
    "r3k2r/p1P3pp/8/1pP5/4p3/8/PP3p1P/R3K2R b KQkq - 0 1",
};

enum Kind { Capture, CastleShort, CastleLong, EnPassant, PromoteQ, PromoteR, PromoteB, PromoteN };

Kind PromotionKind(char piece) {
    switch (piece) {
    case 'r':
        return PromoteR;
    case 'b':
        return PromoteB;
    case 'n':
        return PromoteN;
    default:
        return PromoteQ;
    }
}

void Configure(TChessBrd& b, bool whiteOnTop, bool lines, bool bigSet) {
    b.SetSizeOfSquare(44);
    // The default set blown up to 60-pixel cells: drawn scaled down to fill whole squares,
    // so that its pieces meet the grid lines.
    if (bigSet)
        b.SetCustomPieceSet(QImage(":/SETMERLOT40.bmp").scaled(360, 240));
    b.SetAnimateMoves(false);
    b.SetDisplayCoords(West | North | East | South);
    b.SetWhiteOnTop(whiteOnTop);
    b.SetBoardLines(lines);
    b.SetLineStyle(QPen(QColor(20, 200, 20)));
}

QString FirstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return QString("sizes differ");
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QString("first difference at (%1,%2)").arg(x).arg(y);
    return {};
}

} // namespace

class TestBoardPainting : public QObject {
    Q_OBJECT
private slots:
    void incrementalEqualsFullRepaint_data();
    void incrementalEqualsFullRepaint();
};

void TestBoardPainting::incrementalEqualsFullRepaint_data() {
    QTest::addColumn<bool>("whiteOnTop");
    QTest::addColumn<bool>("lines");
    QTest::addColumn<bool>("bigSet");
    QTest::newRow("white below, no lines") << false << false << false;
    QTest::newRow("white below, lines") << false << true << false;
    QTest::newRow("white on top, no lines") << true << false << false;
    QTest::newRow("white on top, lines") << true << true << false;
    QTest::newRow("white on top, lines, pieces filling the squares") << true << true << true;
}

void TestBoardPainting::incrementalEqualsFullRepaint() {
    QFETCH(bool, whiteOnTop);
    QFETCH(bool, lines);
    QFETCH(bool, bigSet);
    TChessBrd played;
    TChessBrd reference;
    Configure(played, whiteOnTop, lines, bigSet);
    Configure(reference, whiteOnTop, lines, bigSet);
    QCOMPARE(played.PieceImage('K').width(), bigSet ? 44 : 40);
    played.grab();
    reference.grab();
    QRandomGenerator rng(20261208 + (whiteOnTop ? 2 : 0) + (lines ? 1 : 0) + (bigSet ? 4 : 0));
    std::map<Kind, int> seen;
    char promoteTo = 'q';
    played.OnPromotion = [&](TObject*, Square, Square, char& piece) { piece = promoteTo; };
    int checks = 0;
    QString trail;

    // Answers false, with the failure recorded, when the canvases differ.
    auto same = [&](const QString& step) {
        trail += ' ' + step;
        reference.SetPosition(played.Position());
        ++checks;
        if (played.Canvas() == reference.Canvas())
            return true;
        played.Canvas().save("/tmp/corvina-incremental.png");
        reference.Canvas().save("/tmp/corvina-full.png");
        const QString why = QString("after%1: %2 (canvases in /tmp/corvina-*.png)")
                                .arg(trail, FirstDifference(played.Canvas(), reference.Canvas()));
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
        return false;
    };
#define COMPARE_CANVAS(step)                                                                       \
    if (!same(step))                                                                               \
    return

    for (int game = 0; game < 16; ++game) {
        const char* fen = Openings[game % std::size(Openings)];
        QVERIFY(LoadFen(played, fen));
        trail = QString("[%1]").arg(fen);
        COMPARE_CANVAS("load");
        for (int ply = 0; ply < 60; ++ply) {
            // Now and then a step through the recorded line instead of a half-move.
            const int roll = static_cast<int>(rng.bounded(10));
            if (roll == 0 && played.PreviousMove()) {
                COMPARE_CANVAS("back");
                continue;
            }
            if (roll == 1 && played.NextMove()) {
                COMPARE_CANVAS("forward");
                continue;
            }
            if (roll == 2 &&
                played.GoToPosition(1 + static_cast<int>(rng.bounded(played.LastMove())),
                                    rng.bounded(2) == 0)) {
                COMPARE_CANVAS(QString("goto %1%2")
                                   .arg(played.CurrentMove())
                                   .arg(played.WhiteToMove() ? "w" : "b"));
                continue;
            }
            const auto moves = played.LegalMoves();
            if (moves.empty())
                break;
            // Special half-moves are taken whenever there is one, most of the time.
            std::vector<std::pair<std::pair<Square, Square>, Kind>> special;
            for (const auto& m : moves) {
                const char piece = played.At(m.first);
                const bool pawn = piece == 'P' || piece == 'p';
                const int df = FileOf(m.second) - FileOf(m.first);
                if ((piece == 'K' || piece == 'k') && std::abs(df) == 2)
                    special.push_back({m, df > 0 ? CastleShort : CastleLong});
                else if (pawn && df != 0 && played.At(m.second) == ' ')
                    special.push_back({m, EnPassant});
                else if (pawn && (RankOf(m.second) == 8 || RankOf(m.second) == 1))
                    special.push_back({m, PromoteQ});
                else if (played.At(m.second) != ' ')
                    special.push_back({m, Capture});
            }
            std::pair<Square, Square> move = moves[rng.bounded(static_cast<int>(moves.size()))];
            if (!special.empty() && rng.bounded(10) < 7) {
                // The kind met least so far goes first, so that every kind comes up.
                std::stable_sort(special.begin(), special.end(), [&](const auto& x, const auto& y) {
                    return seen[x.second] < seen[y.second];
                });
                const auto& pick = special[rng.bounded(1 + (special.size() > 1 ? 1 : 0))];
                move = pick.first;
                Kind kind = pick.second;
                if (kind == PromoteQ) {
                    promoteTo = "qrbn"[rng.bounded(4)];
                    kind = PromotionKind(promoteTo);
                    if (played.At(move.second) != ' ')
                        ++seen[Capture];
                }
                ++seen[kind];
            } else if (played.At(move.second) != ' ') {
                ++seen[Capture];
            }
            const std::string text = SquareName(move.first) + SquareName(move.second);
            QVERIFY2(played.MakeMove(move.first, move.second), text.c_str());
            COMPARE_CANVAS(QString::fromStdString(text));
        }
    }
    // The run met every kind of half-move, so the comparison covered each way of painting.
    for (Kind k :
         {Capture, CastleShort, CastleLong, EnPassant, PromoteQ, PromoteR, PromoteB, PromoteN})
        QVERIFY2(seen[k] > 0, qPrintable(QString("kind %1 never played").arg(int(k))));
    qInfo("%d canvases compared", checks);
#undef COMPARE_CANVAS
}

QTEST_MAIN(TestBoardPainting)
#include "tst_board_painting.moc"
