// SPDX-License-Identifier: GPL-3.0-or-later
// The board control: properties, geometry, painting, dragging and the outside engine.
#include "board/ChessBrd.h"
#include "chess/Fen.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QtTest>

#include <ctime>
#include <set>

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}

// Press on one point, move past the drag threshold in steps, release on another.
void Drag(TChessBrd& b, QPoint from, QPoint to) {
    SendMouse(&b, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    const QPoint mid = (from + to) / 2 + QPoint(QApplication::startDragDistance() + 1, 0);
    SendMouse(&b, QEvent::MouseMove, mid, Qt::NoButton, Qt::LeftButton);
    SendMouse(&b, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(&b, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

QPoint Centre(const TChessBrd& b, Square s) {
    return b.SquareRect(s).center();
}

// A piece set whose every piece is a solid square of one colour, with a chosen cell size.
QImage SolidPieceSet(int cell, QColor white, QColor black) {
    QImage set(6 * cell, 4 * cell, QImage::Format_RGB32);
    set.fill(Qt::white);
    for (int c = 0; c < 6; ++c) {
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) {
                set.setPixelColor(c * cell + x, y, white);
                set.setPixelColor(c * cell + x, cell + y, Qt::black);
                set.setPixelColor(c * cell + x, 2 * cell + y, black);
                set.setPixelColor(c * cell + x, 3 * cell + y, Qt::black);
            }
    }
    return set;
}

} // namespace

class TestChessBrd : public QObject {
    Q_OBJECT
private slots:
    void startValuesAndClamps();
    void readOnlyProperties();
    void enPassantTakesOnlyRanks3And6();
    void customPieceSetValidation();
    void geometry();
    void squareAtPoint();
    void resizeCorner();
    void paintedColours();
    void piecesFitTheSquares();
    void slideStepsArePainted();
    void halfMoveBeforePendingRepaint();
    void halfMoveRepaintsOnlyItsSquares();
    void dragging();
    void outsideEngine();
    void outsideEngineHeldAfterNewGame();
    void noDropWhileThinking();
};

void TestChessBrd::startValuesAndClamps() {
    TChessBrd b;
    QCOMPARE(b.width(), 368);
    QCOMPARE(b.height(), 368);
    QVERIFY(b.AnimateMoves());
    QCOMPARE(b.AnimationDelay(), 0);
    QCOMPARE(b.SearchDepth(), 1);
    QCOMPARE(b.SquareColorDark(), QColor(128, 128, 128));
    QCOMPARE(b.SquareColorLight(), QColor(192, 192, 192));
    QCOMPARE(b.BorderColor(), QColor(Qt::black));
    QCOMPARE(b.CoordFont().Name, QString("Arial"));
    QCOMPARE(b.CoordFont().Size, 7);
    QCOMPARE(b.ThinkingPriority(), TThreadPriority::tpNormal);
    QCOMPARE(b.PromotionPiece(), 'q');
    QVERIFY(!b.Held());
    b.SetSearchDepth(0);
    QCOMPARE(b.SearchDepth(), 1);
    b.SetSearchDepth(12);
    QCOMPARE(b.SearchDepth(), 8);
    b.SetSearchDepth(5);
    QCOMPARE(b.SearchDepth(), 5);
    b.SetResizeMinSize(2000);
    QCOMPARE(b.ResizeMinSize(), 1000);
    b.SetResizeMinSize(100);
    b.SetResizeMaxSize(50);
    QCOMPARE(b.ResizeMaxSize(), 100);
}

void TestChessBrd::readOnlyProperties() {
    TChessBrd b;
    b.SetCurrentMove(7);
    QCOMPARE(b.CurrentMove(), 1);
    b.SetThinking(true);
    QVERIFY(!b.Thinking());
    b.SetVersion("9.9");
    QVERIFY(b.Version().isEmpty());
}

void TestChessBrd::enPassantTakesOnlyRanks3And6() {
    TChessBrd b;
    b.SetEnPassant(Square::E3);
    QCOMPARE(b.EnPassant(), Square::E3);
    b.SetEnPassant(Square::None);
    QCOMPARE(b.EnPassant(), Square::E3);
    b.SetEnPassant(Square::E4);
    QCOMPARE(b.EnPassant(), Square::E3);
    b.SetEnPassant(Square::D6);
    QCOMPARE(b.EnPassant(), Square::D6);
}

void TestChessBrd::customPieceSetValidation() {
    TChessBrd b;
    b.SetCustomPieceSet(SolidPieceSet(60, Qt::red, Qt::blue));
    QCOMPARE(b.CustomPieceSet().size(), QSize(360, 240));
    QImage wrong(300, 160, QImage::Format_RGB32);
    wrong.fill(Qt::green);
    b.SetCustomPieceSet(wrong);
    QCOMPARE(b.CustomPieceSet().size(), QSize(360, 240)); // refused: the old set stays
    b.SetCustomPieceSet(QImage());
    QVERIFY(b.CustomPieceSet().isNull()); // back to the default set
}

void TestChessBrd::geometry() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    QCOMPARE(b.size(), QSize(400, 400));
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.resize(400, 400);
    QCOMPARE(b.SizeOfSquare(), 44);
    b.resize(401, 399);
    QTRY_COMPARE(b.size(), QSize(400, 400));
    QCOMPARE(b.SizeOfSquare(), 44);
    b.resize(300, 500);
    QTRY_COMPARE(b.size(), QSize(400, 400));
}

void TestChessBrd::squareAtPoint() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    QCOMPARE(b.SquareAtPoint(24, 24), Square::A8);
    QCOMPARE(b.SquareAtPoint(375, 375), Square::H1);
    QCOMPARE(b.SquareAtPoint(23, 100), Square::None);
    QCOMPARE(b.SquareAtPoint(376, 100), Square::None);
    QCOMPARE(b.SquareAtPoint(24 + 44 * 4 + 1, 24 + 44 * 6 + 1), Square::E2);
    b.SetWhiteOnTop(true);
    QCOMPARE(b.SquareAtPoint(375, 375), Square::A8);
    QCOMPARE(b.SquareAtPoint(24, 24), Square::H1);
    QCOMPARE(b.SquareRect(Square::A8), QRect(24 + 7 * 44, 24 + 7 * 44, 44, 44));
}

void TestChessBrd::resizeCorner() {
    QWidget host;
    host.resize(1100, 1100);
    auto* b = new TChessBrd(&host);
    b->SetSizeOfSquare(44);
    b->SetResizable(true);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    SendMouse(b, QEvent::MouseMove, {395, 395}, Qt::NoButton, Qt::NoButton);
    QCOMPARE(b->cursor().shape(), Qt::SizeFDiagCursor);
    SendMouse(b, QEvent::MouseButtonPress, {395, 395}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseMove, {650, 300}, Qt::NoButton, Qt::LeftButton);
    QTRY_COMPARE(b->size(), QSize(520, 520));
    QCOMPARE(b->SizeOfSquare(), 59);
    SendMouse(b, QEvent::MouseMove, {50, 20}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(b->width(), 100); // the least it may be
    SendMouse(b, QEvent::MouseButtonRelease, {50, 20}, Qt::LeftButton, Qt::NoButton);
    // The next full repaint: (100 + 520) / 2 - 48 = 262, squares of 32 pixels.
    QTRY_COMPARE(b->size(), QSize(304, 304));
    SendMouse(b, QEvent::MouseMove, {200, 200}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(b->width(), 304); // released: no longer resizing
}

void TestChessBrd::paintedColours() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    b.SetSquareColorDark(QColor(128, 0, 0));
    b.SetBorderColor(QColor(0, 0, 255));
    const QImage img = b.grab().toImage();
    QCOMPARE(img.size(), QSize(400, 400));
    const QPoint e4 = Centre(b, Square::E4); // light, empty
    const QPoint d4 = Centre(b, Square::D4); // dark, empty
    QCOMPARE(img.pixelColor(e4), QColor(192, 192, 192));
    QCOMPARE(img.pixelColor(d4), QColor(128, 0, 0));
    QCOMPARE(img.pixelColor(5, 200), QColor(0, 0, 255)); // left border, away from text
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::black));   // the outer frame
    QCOMPARE(img.pixelColor(23, 23), QColor(Qt::black)); // the inner frame
}

// A set whose cells are larger than the squares is drawn scaled down to the square, so that
// no piece spills over its neighbours or the frame (the editor's 34-pixel squares with the
// 40-pixel default set); the masks stay two-valued.
void TestChessBrd::piecesFitTheSquares() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    b.SetCustomPieceSet(SolidPieceSet(60, Qt::red, Qt::blue));
    b.SetPosition(std::string(36, ' ') + "P"); // a white pawn alone on e4 (square 37)
    QImage img = b.grab().toImage();
    const QRect e4 = b.SquareRect(Square::E4);
    QCOMPARE(b.PieceImage('P').size(), QSize(44, 44));
    QCOMPARE(img.pixelColor(e4.topLeft()), QColor(Qt::red));
    QCOMPARE(img.pixelColor(e4.bottomRight()), QColor(Qt::red));
    QVERIFY(img.pixelColor(e4.topLeft() + QPoint(-1, 20)) != QColor(Qt::red));
    QVERIFY(img.pixelColor(e4.bottomRight() + QPoint(1, 1)) != QColor(Qt::red));

    TChessBrd editor;
    editor.SetSizeOfSquare(34);
    editor.SetSizeOfBorder(0);
    editor.SetPosition("");
    const QImage empty = editor.grab().toImage();
    editor.SetPosition("NewGame");
    img = editor.grab().toImage();
    for (char letter : std::string("PNBRQKpnbrqk")) {
        const QImage piece = editor.PieceImage(letter);
        QVERIFY(piece.width() <= 34 && piece.height() <= 34);
        for (int y = 0; y < piece.height(); ++y)
            for (int x = 0; x < piece.width(); ++x) {
                const int alpha = qAlpha(piece.pixel(x, y));
                QVERIFY2(alpha == 0 || alpha == 255, "a mask pixel is neither in nor out");
            }
    }
    // Outside the squares that hold pieces the board is exactly the empty board.
    QRegion occupied;
    for (int i = 1; i <= 64; ++i)
        if (editor.At(ToSquare(i)) != ' ')
            occupied += editor.SquareRect(ToSquare(i));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!occupied.contains(QPoint(x, y)) && img.pixel(x, y) != empty.pixel(x, y))
                QFAIL(qPrintable(QString("a piece spills onto (%1,%2)").arg(x).arg(y)));
}

// Each step of a slide is painted where the piece stands at that step, with any delay: the
// sliding piece is seen. The figures show what a slide costs in time and processor.
void TestChessBrd::slideStepsArePainted() {
    struct PaintSpy : QObject {
        std::set<std::pair<int, int>> places;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint && qobject_cast<QLabel*>(o)) {
                const QPoint p = static_cast<QWidget*>(o)->pos();
                places.insert({p.x(), p.y()});
            }
            return false;
        }
    };
    for (int delay : {0, 2}) {
        TChessBrd b;
        b.SetSizeOfSquare(44);
        b.SetAnimationDelay(delay);
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        PaintSpy spy;
        qApp->installEventFilter(&spy);
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu = std::clock();
        QVERIFY(b.MakeMove(Square::G1, Square::F3)); // not dragged, so it slides
        const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
        const qint64 wallMs = clock.elapsed();
        qApp->removeEventFilter(&spy);
        // A knight goes 44 pixels along the rank, then 88 along the file: 133 places.
        QCOMPARE(static_cast<int>(spy.places.size()), 133);
        if (delay > 0)
            QVERIFY(wallMs >= 133 * delay);
        qInfo("delay %d: slide of 133 steps took %lld ms, %.0f ms of processor", delay, wallMs,
              cpuMs);
    }
}

// A half-move played between a resize and the full repaint the resize asks for leaves no
// piece drawn on the square it left.
void TestChessBrd::halfMoveBeforePendingRepaint() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.resize(408, 408); // 45-pixel squares, painted at the next paint event
    QVERIFY(b.MakeMove(Square::E2, Square::E4));
    b.grab();
    TChessBrd full;
    full.SetSizeOfSquare(45);
    full.SetPosition(b.Position());
    full.grab();
    QCOMPARE(b.Canvas(), full.Canvas());
}

void TestChessBrd::halfMoveRepaintsOnlyItsSquares() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    b.SetAnimateMoves(false);
    int paints = 0;
    b.OnPaint = [&paints](TObject*) { ++paints; };
    b.grab();
    QCOMPARE(paints, 1);
    const QImage before = b.Canvas().copy();
    QVERIFY(b.MakeMove(Square::E2, Square::E4));
    QCOMPARE(paints, 2); // the last step of the half-move, not a full repaint
    const QImage after = b.Canvas();
    QRegion changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                changed += QRect(x, y, 1, 1);
    QVERIFY(!changed.isEmpty());
    QVERIFY((changed - QRegion(b.SquareRect(Square::E2)) - QRegion(b.SquareRect(Square::E4)))
                .isEmpty());
}

void TestChessBrd::dragging() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QStringList events;
    b.OnLegalMove = [&](TObject*, Square f, Square t) {
        events << QString::fromStdString("LegalMove " + SquareName(f) + SquareName(t));
    };
    b.OnIllegalMove = [&](TObject* sender, Square s) {
        QCOMPARE(sender, static_cast<TObject*>(&b));
        events << QString::fromStdString("IllegalMove " + SquareName(s));
    };
    Drag(b, Centre(b, Square::E2), Centre(b, Square::E2) + QPoint(0, 2)); // back home
    QVERIFY(events.isEmpty());
    QCOMPARE(b.At(Square::E2), 'P');
    Drag(b, Centre(b, Square::E2), Centre(b, Square::E5)); // not a pawn move
    QCOMPARE(events, QStringList{"IllegalMove E2"});
    QCOMPARE(b.At(Square::E2), 'P');
    events.clear();
    // Let go on the border or beside the board: the drag is cancelled, nothing is reported.
    Drag(b, Centre(b, Square::E2), QPoint(5, 5));
    Drag(b, Centre(b, Square::E2), QPoint(b.width() + 30, 40));
    QVERIFY(events.isEmpty());
    QCOMPARE(b.At(Square::E2), 'P');
    Drag(b, Centre(b, Square::E2), Centre(b, Square::E4));
    QCOMPARE(events, QStringList{"LegalMove E2E4"});
    QCOMPARE(b.At(Square::E4), 'P');
    QCOMPARE(b.DragFrom(), Square::E2);
    QCOMPARE(b.DropTo(), Square::E4);
    // A drag from an empty square or from the border does not begin.
    events.clear();
    Drag(b, Centre(b, Square::E3), Centre(b, Square::E5));
    Drag(b, QPoint(5, 200), Centre(b, Square::E5));
    QVERIFY(events.isEmpty());
    // A disabled board takes no pointer input.
    b.setEnabled(false);
    QTest::mousePress(&b, Qt::LeftButton, {}, Centre(b, Square::E7));
    QTest::mouseMove(&b, Centre(b, Square::E5));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, Centre(b, Square::E5));
    QVERIFY(events.isEmpty());
    QCOMPARE(b.At(Square::E7), 'p');
}

void TestChessBrd::outsideEngine() {
    for (const char* answer : {"e7e5", "e7e4"}) {
        TChessBrd b;
        b.SetCustomEngine(true);
        b.SetComputerPlaysBlack(true);
        QStringList events;
        b.OnCalculateMove = [&](TObject*, Square& from, Square& to) {
            from = ParseSquare(std::string(answer, 2));
            to = ParseSquare(std::string(answer + 2, 2));
        };
        b.OnLegalMove = [&](TObject*, Square f, Square t) {
            events << QString::fromStdString("LegalMove " + SquareName(f) + SquareName(t));
        };
        b.OnCalculationFailed = [&](TObject*, Square f, Square t) {
            events << QString::fromStdString("Failed " + SquareName(f) + SquareName(t));
        };
        QVERIFY(b.PlayUserMove(Square::E2, Square::E4));
        if (QByteArray(answer) == "e7e5")
            QCOMPARE(events, (QStringList{"LegalMove E2E4", "LegalMove E7E5"}));
        else
            QCOMPARE(events.mid(0, 2), (QStringList{"LegalMove E2E4", "Failed E7E4"}));
    }
    // Without a handler nothing is played, and the position can still be set.
    TChessBrd b;
    b.SetCustomEngine(true);
    b.SetComputerPlaysBlack(true);
    QVERIFY(b.PlayUserMove(Square::E2, Square::E4));
    QVERIFY(!b.WhiteToMove());
    b.SetPosition("NewGame");
    b.SetWhiteToMove(true);
    QCOMPARE(b.Position(), std::string(StartPosition));
}

void TestChessBrd::outsideEngineHeldAfterNewGame() {
    TChessBrd b;
    b.SetCustomEngine(true);
    int asked = 0;
    b.OnCalculateMove = [&](TObject*, Square& from, Square& to) {
        ++asked;
        from = Square::E2;
        to = Square::E4;
    };
    b.StartNewGame();
    b.SetComputerPlaysWhite(true); // stops (Held), then asks only when not held
    b.StartNewGame();
    QVERIFY(b.Held());
    const int before = asked;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QTest::qWait(700); // past a poll of the timer
    QCOMPARE(asked, before);
    QCOMPARE(b.At(Square::E2), 'P');
}

void TestChessBrd::noDropWhileThinking() {
    TChessBrd b;
    b.SetSizeOfSquare(44);
    b.SetSearchDepth(8);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QVERIFY(LoadFen(b, "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 0 1"));
    b.SetComputerPlaysWhite(true);
    QTRY_VERIFY_WITH_TIMEOUT(b.Thinking(), CORVINA_TRY_MS);
    QStringList events;
    b.OnIllegalMove = [&](TObject*, Square s) {
        events << QString::fromStdString("IllegalMove " + SquareName(s));
    };
    b.OnLegalMove = [&](TObject*, Square, Square) { events << "LegalMove"; };
    Drag(b, Centre(b, Square::A2), Centre(b, Square::A3));
    const bool stillThinking = b.Thinking();
    b.StopThinking();
    QVERIFY(!b.Thinking());
    if (stillThinking)
        QCOMPARE(events, QStringList{"IllegalMove A2"});
    QCOMPARE(b.At(Square::A2), 'P');
}

QTEST_MAIN(TestChessBrd)
#include "tst_chessbrd.moc"
