// SPDX-License-Identifier: GPL-3.0-or-later
// Every piece set the program ships, read from data/pieces as the Piece Set dialog reads it and
// given to a real board: the board accepts it, cuts twelve pieces that match the set's masks,
// and draws each piece so that a player reads its colour at a glance and sees it apart from
// both squares, on the board colours players choose.
#include "board/ChessBrd.h"
#include "pieceart/PieceArt.h"

#include <QDir>
#include <QImageReader>
#include <QtTest>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

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

// How far apart two colours lie, as the distance of their red, green and blue values.
int Distance(const QColor& a, const QColor& b) {
    const int r = a.red() - b.red(), g = a.green() - b.green(), u = a.blue() - b.blue();
    return static_cast<int>(std::lround(std::sqrt(r * r + g * g + u * u)));
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
    void crispAtTwice();
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

    // Drawn on the board as a player sees it, on the main window's maroon, on green and on a
    // plain board's grey: over each piece's own pixels, the median lightness of a black piece
    // is well below that of a white one, on light and on dark squares; and most of a piece's
    // pixels differ clearly in colour from its square.
    board.SetPosition(Showcase);
    const int offset = (MainSquare - s) / 2;
    for (const QColor dark : {QColor(128, 0, 0), QColor(0, 128, 0), QColor(128, 128, 128)}) {
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
            const QColor square = light ? board.SquareColorLight() : dark;
            const QImage& piece =
                pieces[static_cast<size_t>(std::strchr(Letters, letter) - Letters)];
            const int left = Border + (i % 8) * MainSquare + offset;
            const int top = Border + (i / 8) * MainSquare + offset;
            std::vector<int> lightness;
            int clear = 0;
            for (int y = 0; y < s; ++y) {
                for (int x = 0; x < s; ++x) {
                    if (qAlpha(piece.pixel(x, y)) != 255)
                        continue;
                    const QColor seen = canvas.pixelColor(left + x, top + y);
                    lightness.push_back(seen.lightness() * 100 / 255);
                    clear += Distance(seen, square) >= 96;
                }
            }
            const size_t count = lightness.size();
            std::nth_element(lightness.begin(), lightness.begin() + count / 2, lightness.end());
            const int median = lightness[count / 2];
            const bool white = std::isupper(static_cast<unsigned char>(letter));
            const QString what = QString("%1 '%2' on a %3 square (%4)")
                                     .arg(file)
                                     .arg(letter)
                                     .arg(light ? "light" : "dark")
                                     .arg(square.name());
            QVERIFY2(white ? median > 70 : median < 35,
                     qPrintable(what + QString(": median lightness %1 %").arg(median)));
            QVERIFY2(
                clear * 2 >= static_cast<int>(count),
                qPrintable(
                    what +
                    QString(": %1 of %2 pixels stand out from the square").arg(clear).arg(count)));
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

// On a screen of two pixels per unit (CTest runs this as piece_sets_at_twice, with
// QT_SCALE_FACTOR=2) a shipped set's piece is its drawing at twice the size, from the
// outlines the set was drawn from, not its bitmap enlarged; a set of one's own is scaled
// smoothly to the same size.
void TestPieceSets::crispAtTwice() {
    if (qApp->devicePixelRatio() != 2)
        QSKIP("needs a screen of two pixels per unit (QT_SCALE_FACTOR=2)");
    for (const QString& file : SetFiles()) {
        const QImage set = Read(file);
        const int s = set.height() / 4;
        const pieceart::Outlines* outlines = pieceart::BuiltInOutlines(set);
        QVERIFY2(outlines, qPrintable(file + " has no outlines"));
        const QImage drawn = pieceart::DrawPieceSet(*outlines, 2 * s);
        TChessBrd board;
        Prepare(board, MainSquare);
        board.SetCustomPieceSet(set);
        board.SetPosition(Showcase);
        board.grab();
        const QImage canvas = board.Canvas();
        QCOMPARE(canvas.size(), 2 * board.size());
        const int offset = (MainSquare - s) / 2;
        for (int i = 0; i < 64; ++i) {
            const char letter = Showcase[static_cast<size_t>(i)];
            if (letter == ' ')
                continue;
            const int k = static_cast<int>(std::strchr(Letters, letter) - Letters);
            const int x0 = (k % 6) * 2 * s, y0 = (k / 6) * 4 * s;
            const int left = 2 * (Border + (i % 8) * MainSquare + offset);
            const int top = 2 * (Border + (i / 8) * MainSquare + offset);
            int same = 0, piece = 0, finer = 0;
            for (int y = 0; y < 2 * s; ++y) {
                for (int x = 0; x < 2 * s; ++x) {
                    // The bitmap's pixel under this one, with its mask.
                    const int cx = (k % 6) * s + x / 2, cy = (k / 6) * 2 * s + y / 2;
                    const bool coarsePiece = set.pixel(cx, cy + s) == qRgb(0, 0, 0);
                    const QRgb coarse = set.pixel(cx, cy) | 0xff000000u;
                    const bool inPiece = drawn.pixel(x0 + x, y0 + 2 * s + y) == qRgb(0, 0, 0);
                    const QRgb want = drawn.pixel(x0 + x, y0 + y) | 0xff000000u;
                    finer += inPiece != coarsePiece || (inPiece && coarse != want);
                    if (!inPiece)
                        continue;
                    ++piece;
                    same += (canvas.pixel(left + x, top + y) | 0xff000000u) == want;
                }
            }
            const QString what = QString("%1 '%2'").arg(file).arg(letter);
            QVERIFY2(same == piece, qPrintable(what + QString(": %1 of %2").arg(same).arg(piece)));
            QVERIFY2(finer > 0, qPrintable(what + ": the bitmap enlarged"));
        }
    }
    // A set that is none of the shipped ones: one pixel changed.
    QImage own = Read("Merlot.bmp").convertToFormat(QImage::Format_RGB32);
    own.setPixel(0, 0, qRgb(1, 2, 3));
    QVERIFY(!pieceart::BuiltInOutlines(own));
    TChessBrd board;
    Prepare(board, MainSquare);
    board.SetCustomPieceSet(own);
    const QImage queen = board.PieceImage('q');
    QCOMPARE(queen.size(), QSize(80, 80));
    QCOMPARE(queen.devicePixelRatio(), 2.0);
    int cell = 0; // the queen's pixels in the bitmap's mask
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            cell += own.pixel(4 * 40 + x, 3 * 40 + y) == qRgb(0, 0, 0);
    QVERIFY2(std::abs(Opaque(queen) - 4 * cell) < cell / 4,
             qPrintable(QString("%1 pixels of %2").arg(Opaque(queen)).arg(cell)));
}

QTEST_MAIN(TestPieceSets)
#include "tst_piece_sets.moc"
