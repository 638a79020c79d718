// SPDX-License-Identifier: GPL-3.0-or-later
// Every piece set the program ships, read from data/pieces as the Piece Set dialog reads it and
// given to a real board: the board accepts it, cuts twelve pieces that match the set's masks,
// and draws each piece so that it stands out from both square colours of the main window and
// of a plain board.
#include "board/ChessBrd.h"

#include <QDir>
#include <QImageReader>
#include <QtTest>

namespace {

constexpr const char* Letters = "PNBRQKpnbrqk";
// The main window's squares; a set with larger cells would be drawn scaled down.
constexpr int MainSquare = 44;
constexpr int Border = 24;

// Rank 8 down to rank 1: every piece of either colour stands once on a light and once on a
// dark square.
const std::string Showcase = "rnbqkbnr"
                             "ppppkppp"
                             "q r b n "
                             "        "
                             "        "
                             " Q R B N"
                             "PPPPKPPP"
                             "RNBQKBNR";

QStringList SetFiles() {
    return QDir(CORVINA_DATA_DIR "/pieces").entryList({"*.bmp"}, QDir::Files, QDir::Name);
}

QImage Read(const QString& name) {
    QImageReader reader(QDir(CORVINA_DATA_DIR "/pieces").filePath(name));
    return reader.read();
}

int Opaque(const QImage& piece) {
    int count = 0;
    for (int y = 0; y < piece.height(); ++y)
        for (int x = 0; x < piece.width(); ++x)
            count += qAlpha(piece.pixel(x, y)) == 255;
    return count;
}

void Prepare(TChessBrd& board, int square) {
    board.SetComputerPlaysBlack(false);
    board.SetComputerPlaysWhite(false);
    board.SetAnimateMoves(false);
    board.SetSizeOfBorder(Border);
    board.SetSizeOfSquare(square);
    board.resize(8 * square + 2 * Border, 8 * square + 2 * Border);
}

} // namespace

class TestPieceSets : public QObject {
    Q_OBJECT

private slots:
    void sets_data();
    void sets();
    void defaultSetIsMerlot();
};

void TestPieceSets::sets_data() {
    QTest::addColumn<QString>("file");
    const QStringList files = SetFiles();
    // The default set and at least three more.
    QVERIFY(files.contains("Merlot.bmp"));
    QVERIFY2(files.size() >= 4, qPrintable(files.join(", ")));
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << file;
}

void TestPieceSets::sets() {
    QFETCH(QString, file);
    const QImage set = Read(file);
    QVERIFY2(!set.isNull(), "the dialog's reader cannot read it");
    const int s = set.height() / 4;
    QCOMPARE(set.width(), 6 * s);
    QCOMPARE(set.height(), 4 * s);
    QVERIFY2(s >= 24 && s <= MainSquare, qPrintable(QString("cells of %1 pixels").arg(s)));

    TChessBrd board;
    Prepare(board, MainSquare);
    board.SetCustomPieceSet(set);
    QCOMPARE(board.CustomPieceSet().size(), set.size());

    const QImage rgb = set.convertToFormat(QImage::Format_RGB32);
    std::array<QImage, 12> pieces;
    for (int i = 0; i < 12; ++i) {
        const QString what = QString("%1 '%2'").arg(file).arg(Letters[i]);
        const QImage piece = board.PieceImage(Letters[i]);
        QCOMPARE(piece.size(), QSize(s, s));
        const int x0 = (i % 6) * s, y0 = (i / 6) * 2 * s;
        int maskPiece = 0;
        for (int y = 0; y < s; ++y) {
            for (int x = 0; x < s; ++x) {
                const QRgb mask = rgb.pixel(x0 + x, y0 + s + y);
                QVERIFY2(mask == qRgb(0, 0, 0) || mask == qRgb(255, 255, 255),
                         qPrintable(what + ": a mask pixel is neither black nor white"));
                const bool inPiece = mask == qRgb(0, 0, 0);
                maskPiece += inPiece;
                // The board's piece is the set's cell exactly where the mask says so.
                const QRgb drawn = piece.pixel(x, y);
                QCOMPARE(qAlpha(drawn) == 255, inPiece);
                if (inPiece)
                    QCOMPARE(drawn | 0xff000000u, rgb.pixel(x0 + x, y0 + y) | 0xff000000u);
                const bool edge = x == 0 || y == 0 || x == s - 1 || y == s - 1;
                QVERIFY2(!(edge && inPiece),
                         qPrintable(what + ": the piece touches its cell's edge"));
            }
        }
        QVERIFY2(maskPiece > s * s / 10, qPrintable(what + ": the piece is (almost) empty"));
        pieces[static_cast<size_t>(i)] = piece;
    }

    // Drawn on the board: a clear share of each piece's pixels differs from its square by a
    // clear margin of lightness, on the main window's maroon and on a plain board's grey.
    board.SetPosition(Showcase);
    const int offset = (MainSquare - s) / 2;
    for (const QColor dark : {QColor(128, 0, 0), QColor(128, 128, 128)}) {
        board.SetSquareColorDark(dark);
        board.SetSquareColorLight(QColor(192, 192, 192));
        board.grab();
        const QImage canvas = board.Canvas();
        QCOMPARE(canvas.size(), QSize(8 * MainSquare + 2 * Border, 8 * MainSquare + 2 * Border));
        for (int i = 0; i < 64; ++i) {
            const char letter = Showcase[static_cast<size_t>(i)];
            if (letter == ' ')
                continue;
            const bool light = IsLightSquare(static_cast<Square>(i + 1));
            const int squareGrey = qGray((light ? board.SquareColorLight() : dark).rgb());
            const QImage& piece =
                pieces[static_cast<size_t>(std::strchr(Letters, letter) - Letters)];
            const int left = Border + (i % 8) * MainSquare + offset;
            const int top = Border + (i / 8) * MainSquare + offset;
            int count = 0, clear = 0;
            for (int y = 0; y < s; ++y) {
                for (int x = 0; x < s; ++x) {
                    if (qAlpha(piece.pixel(x, y)) != 255)
                        continue;
                    ++count;
                    clear += std::abs(qGray(canvas.pixel(left + x, top + y)) - squareGrey) >= 48;
                }
            }
            QVERIFY2(clear * 100 >= count * 15,
                     qPrintable(QString("%1 '%2' on a %3 square (%4): %5 of %6 pixels stand out")
                                    .arg(file)
                                    .arg(letter)
                                    .arg(light ? "light" : "dark")
                                    .arg(light ? board.SquareColorLight().name() : dark.name())
                                    .arg(clear)
                                    .arg(count)));
        }
    }

    // The set-up dialog's editor has 34-pixel squares: a larger set is scaled down to them and
    // keeps every piece.
    TChessBrd editor;
    Prepare(editor, 34);
    editor.SetCustomPieceSet(set);
    for (int i = 0; i < 12; ++i) {
        const QImage piece = editor.PieceImage(Letters[i]);
        QCOMPARE(piece.width(), std::min(s, 34));
        QVERIFY(Opaque(piece) > Opaque(pieces[static_cast<size_t>(i)]) / 3);
    }
}

// The compiled-in default set and the Merlot.bmp of the program folder are the same set, so a
// profile naming Merlot.bmp shows the pieces a fresh start shows.
void TestPieceSets::defaultSetIsMerlot() {
    TChessBrd fresh, merlot;
    merlot.SetCustomPieceSet(Read("Merlot.bmp"));
    QCOMPARE(merlot.CustomPieceSet().size(), QSize(240, 160));
    for (const char* at = Letters; *at; ++at)
        QCOMPARE(fresh.PieceImage(*at), merlot.PieceImage(*at));
}

QTEST_MAIN(TestPieceSets)
#include "tst_piece_sets.moc"
