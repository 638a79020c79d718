// SPDX-License-Identifier: GPL-3.0-or-later
// PGN written from games the reader must take back whatever their history holds: the longest
// game the reader accepts, and games whose history does not by itself lead to the placement on
// the board (a placement put there from outside, a castling right no FEN can carry).
#include "chess/Fen.h"
#include "chess/Pgn.h"
#include "chess/San.h"
#include "tests/board/EventLog.h"

#include <QTest>

namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    return text;
}

// Five white rooks walk ranks 2 to 7 of files a to e like the digits of an odometer that
// runs back and forth, one square per move, while the black king steps between g8 and h8: no
// placement ever comes back, and rooks side by side on a rank need their file in SAN.
TChessGame LongGame(int whiteMoves) {
    TChessGame g = FromFen("6k1/8/8/8/8/8/RRRRR3/7K w - - 0 1");
    int rank[5] = {2, 2, 2, 2, 2};
    int dir[5] = {1, 1, 1, 1, 1};
    for (int m = 0; m < whiteMoves; ++m) {
        int p = 0;
        while (rank[p] + dir[p] < 2 || rank[p] + dir[p] > 7) {
            dir[p] = -dir[p];
            ++p;
        }
        const Square from = SquareAt(p + 1, rank[p]);
        rank[p] += dir[p];
        const bool onG = g.At(Square::G8) == 'k';
        if (!g.MakeMove(from, SquareAt(p + 1, rank[p])) ||
            !g.MakeMove(onG ? Square::G8 : Square::H8, onG ? Square::H8 : Square::G8))
            qFatal("the long game is refused at move %d", m + 1);
    }
    return g;
}

// The game's PGN read back and replayed; its final state, or a failure naming the reason.
bool ReadBack(const TChessGame& g, TChessGame& back, std::string& text, std::string& why) {
    text = Joined(WritePgn(g, {}));
    std::vector<TSanMove> moves;
    TPgnError error;
    if (!ReadPgn(text, back, moves, error)) {
        why = error.Sentence();
        return false;
    }
    for (const TSanMove& m : moves)
        if (!PlaySanMove(back, m)) {
            why = "a move read back is refused";
            return false;
        }
    return true;
}

} // namespace

class TestPgnInput : public QObject {
    Q_OBJECT
private slots:
    void longestGameRoundTrips();
    void exportLeadsToTheBoard_data();
    void exportLeadsToTheBoard();
};

void TestPgnInput::longestGameRoundTrips() {
    // Writing once took time in the square of the game's length.
    const int whiteMoves = static_cast<int>(MaxPgnHalfMoves / 2) - 1;
    const TChessGame g = LongGame(whiteMoves);
    TChessGame back;
    std::string text, why;
    QVERIFY2(ReadBack(g, back, text, why), why.c_str());
    QCOMPARE(back.Position(), g.Position());
    QCOMPARE(back.CurrentMove(), g.CurrentMove());
    QVERIFY(text.find("Raa3") != std::string::npos);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        QVERIFY(end - start < 80);

    // One half-move more than that limit is refused as too long.
    std::string longer = "[FEN \"" + ToFen(FromFen("6k1/8/8/8/8/8/8/6KR w - - 0 1")) + "\"]\n";
    for (std::size_t i = 0; i <= MaxPgnHalfMoves / 4; ++i)
        longer += "Kf1 Kf8 Kg1 Kg8 ";
    TPgnGame pgn;
    TPgnError error;
    QVERIFY(!ParsePgn(longer, pgn, error));
    QCOMPARE(error.What, TPgnError::Kind::TooLong);
}

void TestPgnInput::exportLeadsToTheBoard_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("back");
    QTest::addColumn<QString>("placed");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("moves");
    const QString start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    // As loading a saved game does: the placement changes, the history stays.
    const QString kings = "4k3/4p3/8/8/8/8/4P3/4K3 w - - 0 1";
    QTest::newRow("placement loaded after moves")
        << start << QStringList{"e2e4", "e7e5", "g1f3"} << 0 << kings << QStringList{} << 0;
    QTest::newRow("moves after a loaded placement")
        << start << QStringList{"e2e4", "e7e5", "g1f3"} << 0 << kings
        << QStringList{"e7e5", "e2e4", "e8d8"} << 3;
    QTest::newRow("placement loaded in an earlier position")
        << start << QStringList{"e2e4", "e7e5", "g1f3", "b8c6"} << 2 << kings << QStringList{} << 0;
    // A set-up king off its square keeps its rights; back home, it castles.
    QTest::newRow("castling with a right the start could not carry")
        << "4k3/8/8/8/8/8/8/3K3R w K - 0 1" << QStringList{"d1e1", "e8d8", "e1g1", "d8e8"} << 0
        << QString() << QStringList{} << 2;
}

void TestPgnInput::exportLeadsToTheBoard() {
    QFETCH(QString, fen);
    QFETCH(QStringList, before);
    QFETCH(int, back);
    QFETCH(QString, placed);
    QFETCH(QStringList, after);
    QFETCH(int, moves);
    TChessGame g = FromFen(fen.toLatin1().constData());
    QVERIFY(Play(g, before));
    for (int i = 0; i < back; ++i)
        QVERIFY(g.PreviousMove());
    if (!placed.isEmpty())
        g.SetPosition(FromFen(placed.toLatin1().constData()).Position());
    QVERIFY(Play(g, after));

    TChessGame read;
    std::string text, why;
    QVERIFY2(ReadBack(g, read, text, why), (why + "\n" + text).c_str());
    QVERIFY2(read.Position() == g.Position(), text.c_str());
    QCOMPARE(read.WhiteToMove(), g.WhiteToMove());
    QCOMPARE(RecordedLine(g).Moves.size(), std::size_t(moves));
}

QTEST_APPLESS_MAIN(TestPgnInput)
#include "tst_pgn_input.moc"
