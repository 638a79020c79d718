// SPDX-License-Identifier: GPL-3.0-or-later
// The board's aids for players, driven by real mouse events: click-click moves against drags,
// the ways a selection ends, the highlighted squares against a full repaint, and the
// promotion pop-up against the engine's own promotions.
#include "board/ChessBrd.h"
#include "board/EngineHandOver.h"
#include "board/PromotionChooser.h"
#include "chess/EventPrinter.h"
#include "chess/Fen.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QPoint Centre(const TChessBrd& b, Square s) {
    return b.SquareRect(s).center();
}

void Click(TChessBrd& b, Square s, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(&b, button, {}, Centre(b, s));
}

// Press, move past the drag threshold in two steps, release.
void Drag(TChessBrd& b, Square from, Square to) {
    const QPoint a = Centre(b, from);
    const QPoint z = Centre(b, to);
    QTest::mousePress(&b, Qt::LeftButton, {}, a);
    QTest::mouseMove(&b, a + QPoint(QApplication::startDragDistance() + 2, 1));
    QTest::mouseMove(&b, z);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, z);
}

// A shown board with every aid on, its events written down.
struct AidedBoard {
    TChessBrd Board;
    TEventPrinter Printer;
    explicit AidedBoard(const char* fen, bool choose = true) {
        Board.SetSizeOfSquare(44);
        Board.SetAnimateMoves(false);
        Board.SetClickMoves(true);
        Board.SetHighlightMoves(true);
        Board.SetChoosePromotion(choose);
        Printer.Attach(Board);
        LoadFen(Board, fen);
        Board.show();
        Board.grab();
        Printer.Events.clear();
    }
};

QString FirstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QString("first difference at (%1,%2)").arg(x).arg(y);
    return {};
}

const char* const Lines[] = {
    "r3k2r/pppq1ppp/2n1bn2/3pp3/3PP3/2N1BN2/PPPQ1PPP/R3K2R w KQkq - 0 1",
    "r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
};

} // namespace

class TestBoardAids : public QObject {
    Q_OBJECT
private slots:
    void offWhenCreated();
    void clickMovesRaiseWhatDropsRaise_data();
    void clickMovesRaiseWhatDropsRaise();
    void selectionEnds();
    void onlyThePlayersPiecesAreSelected();
    void highlightsPaintLikeAFullRepaint();
    void promotionChooser_data();
    void promotionChooser();
    void promotionTakesTheQueenWhenLeft();
    void promotionCancelledByAChange();
    void engineKeepsItsOwnPromotion();
};

void TestBoardAids::offWhenCreated() {
    TChessBrd b;
    QVERIFY(!b.HighlightMoves());
    QVERIFY(!b.ClickMoves());
    QVERIFY(!b.ChoosePromotion());
    b.SetAnimateMoves(false);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    // A click on a piece and one on a square it may reach play nothing.
    Click(b, Square::E2);
    Click(b, Square::E4);
    QCOMPARE(b.Selected(), Square::None);
    QCOMPARE(b.At(Square::E2), 'P');
    // Without highlights a half-move leaves the canvas of a board that never had them.
    TChessBrd plain;
    plain.grab();
    QVERIFY(b.PlayUserMove(Square::E2, Square::E4));
    plain.SetPosition(b.Position());
    QCOMPARE(b.Canvas(), plain.Canvas());
    // A dropped promotion is played at once with the board's PromotionPiece, as always.
    TEventPrinter printer;
    printer.Attach(b);
    QVERIFY(LoadFen(b, "7k/4P3/8/8/8/8/8/K7 w - - 0 1"));
    printer.Events.clear();
    Drag(b, Square::E7, Square::E8);
    QCOMPARE(b.PromotionChooser(), nullptr);
    QCOMPARE(b.At(Square::E8), 'Q');
    QCOMPARE(printer.Joined(), std::string("LegalMove(E7,E8) Promotion(E7,E8) Check(E7,E8) Paint"));
}

void TestBoardAids::clickMovesRaiseWhatDropsRaise_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("move");
    QTest::newRow("quiet") << Lines[2] << "g1f3";
    QTest::newRow("capture") << Lines[0] << "e4d5";
    QTest::newRow("castle short") << Lines[0] << "e1g1";
    QTest::newRow("castle long") << Lines[0] << "e1c1";
    QTest::newRow("en passant") << Lines[1] << "e5d6";
    QTest::newRow("promotion with capture") << "r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1"
                                            << "b7a8";
    QTest::newRow("mate") << "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1"
                          << "a1a8";
}

// The same half-move, dropped on one board and clicked on another, raises the same events in
// the same order and leaves the same game, the same marks and the same pixels.
void TestBoardAids::clickMovesRaiseWhatDropsRaise() {
    QFETCH(QString, fen);
    QFETCH(QString, move);
    const Square from = ParseSquare(move.left(2).toStdString());
    const Square to = ParseSquare(move.mid(2, 2).toStdString());
    AidedBoard dropped(qPrintable(fen), false);
    AidedBoard clicked(qPrintable(fen), false);
    Drag(dropped.Board, from, to);
    Click(clicked.Board, from);
    QCOMPARE(clicked.Board.Selected(), from);
    QVERIFY(clicked.Printer.Events.empty());
    Click(clicked.Board, to);
    QVERIFY(!dropped.Printer.Events.empty());
    QCOMPARE(clicked.Printer.Joined(), dropped.Printer.Joined());
    QCOMPARE(ToFen(clicked.Board), ToFen(dropped.Board));
    QCOMPARE(clicked.Board.DragFrom(), from);
    QCOMPARE(clicked.Board.DropTo(), to);
    QCOMPARE(clicked.Board.LastMoveFrom(), from);
    QCOMPARE(clicked.Board.LastMoveTo(), to);
    QCOMPARE(clicked.Board.Selected(), Square::None);
    QCOMPARE(clicked.Board.Canvas(), dropped.Board.Canvas());
}

void TestBoardAids::selectionEnds() {
    AidedBoard a(Lines[2]);
    TChessBrd& b = a.Board;
    const std::string start = b.Position();
    // A click elsewhere: an empty square out of reach, the border, an enemy piece.
    for (QPoint elsewhere : {Centre(b, Square::E5), QPoint(5, 5), Centre(b, Square::E7)}) {
        Click(b, Square::E2);
        QCOMPARE(b.Selected(), Square::E2);
        QTest::mouseClick(&b, Qt::LeftButton, {}, elsewhere);
        QCOMPARE(b.Selected(), Square::None);
    }
    // The same piece again.
    Click(b, Square::G1);
    Click(b, Square::G1);
    QCOMPARE(b.Selected(), Square::None);
    // The right button, on a square the piece could reach.
    Click(b, Square::G1);
    Click(b, Square::F3, Qt::RightButton);
    QCOMPARE(b.Selected(), Square::None);
    // Another piece of one's own: the selection ends, nothing new is selected.
    Click(b, Square::G1);
    Click(b, Square::B1);
    QCOMPARE(b.Selected(), Square::None);
    QCOMPARE(b.Position(), start);
    QVERIFY(a.Printer.Events.empty());
    // A drag works as before, also with a piece selected, and ends the selection.
    Click(b, Square::G1);
    Drag(b, Square::E2, Square::E4);
    QCOMPARE(b.Selected(), Square::None);
    QCOMPARE(b.At(Square::E4), 'P');
    QCOMPARE(a.Printer.Joined(), std::string("LegalMove(E2,E4) Paint"));
    // A selection ends when the game changes under it, and when the board is disabled.
    Click(b, Square::E7);
    QCOMPARE(b.Selected(), Square::E7);
    QVERIFY(b.PreviousMove());
    QCOMPARE(b.Selected(), Square::None);
    Click(b, Square::E2);
    QCOMPARE(b.Selected(), Square::E2);
    b.setEnabled(false);
    QCOMPARE(b.Selected(), Square::None);
    Click(b, Square::E2);
    QCOMPARE(b.Selected(), Square::None);
}

void TestBoardAids::onlyThePlayersPiecesAreSelected() {
    AidedBoard a(Lines[2]);
    TChessBrd& b = a.Board;
    // The side not to move, and empty squares.
    Click(b, Square::E7);
    QCOMPARE(b.Selected(), Square::None);
    Click(b, Square::E4);
    QCOMPARE(b.Selected(), Square::None);
    // The computer's pieces: an outside engine without a move plays White here, so that no
    // engine moves in the meantime.
    b.SetCustomEngine(true);
    b.SetComputerPlaysWhite(true);
    Click(b, Square::E2);
    QCOMPARE(b.Selected(), Square::None);
    Click(b, Square::E4);
    QCOMPARE(b.At(Square::E2), 'P');
    b.SetComputerPlaysWhite(false);
    Click(b, Square::E2);
    QCOMPARE(b.Selected(), Square::E2);
    // Handing the selected side to the computer ends the selection.
    b.SetComputerPlaysWhite(true);
    QCOMPARE(b.Selected(), Square::None);
    QVERIFY(a.Printer.Events.empty());
}

// With highlights on, whatever the pointer and the game do, the canvas the board keeps up
// square by square equals the canvas it paints from nothing, pixel for pixel; and switching
// them off leaves the canvas of a board that never had them.
void TestBoardAids::highlightsPaintLikeAFullRepaint() {
    for (bool whiteOnTop : {false, true}) {
        AidedBoard a(Lines[0]);
        TChessBrd& b = a.Board;
        b.SetWhiteOnTop(whiteOnTop);
        b.SetBoardLines(whiteOnTop);
        b.SetLineStyle(QPen(QColor(20, 200, 20)));
        b.SetDisplayCoords(West | North | East | South);
        QRandomGenerator rng(20261208 + (whiteOnTop ? 1 : 0));
        int checks = 0;
        int marked = 0;
        QString trail;
        auto same = [&](const QString& step) {
            trail += ' ' + step;
            QCoreApplication::processEvents();
            const QImage kept = b.Canvas().copy();
            b.RepaintAll();
            ++checks;
            if (b.Selected() != Square::None || b.LastMoveFrom() != Square::None)
                ++marked;
            if (kept == b.Canvas())
                return true;
            kept.save("/tmp/corvina-aids-kept.png");
            b.Canvas().save("/tmp/corvina-aids-full.png");
            QTest::qFail(qPrintable(QString("after%1: %2")
                                        .arg(trail.right(300), FirstDifference(kept, b.Canvas()))),
                         __FILE__, __LINE__);
            return false;
        };
        for (int game = 0; game < 6; ++game) {
            QVERIFY(LoadFen(b, Lines[game % std::size(Lines)]));
            trail = Lines[game % std::size(Lines)];
            QVERIFY(same("load"));
            for (int step = 0; step < 70 && !b.LegalMoves().empty(); ++step) {
                const auto moves = b.LegalMoves();
                const auto move = moves[rng.bounded(static_cast<int>(moves.size()))];
                const Square any = ToSquare(1 + static_cast<int>(rng.bounded(64)));
                const std::string name = SquareName(move.first) + SquareName(move.second);
                switch (rng.bounded(9)) {
                case 0: // a click anywhere: selects, cancels or plays
                    Click(b, any);
                    QVERIFY(same("click " + QString::fromStdString(SquareName(any))));
                    break;
                case 1: // a selection left standing
                    Click(b, move.first);
                    QVERIFY(same("select " + QString::fromStdString(SquareName(move.first))));
                    break;
                case 2: // the right button
                    Click(b, any, Qt::RightButton);
                    QVERIFY(same("right"));
                    break;
                case 3: // click-click
                    Click(b, move.first);
                    Click(b, move.second);
                    if (QWidget* chooser = b.PromotionChooser())
                        QTest::keyClick(chooser, Qt::Key_N);
                    QVERIFY(same("clicked " + QString::fromStdString(name)));
                    break;
                case 4: // a drop, onto a legal square or anywhere
                    Drag(b, move.first, rng.bounded(2) ? move.second : any);
                    if (QWidget* chooser = b.PromotionChooser())
                        QTest::keyClick(chooser, Qt::Key_Escape);
                    QVERIFY(same("dropped " + QString::fromStdString(name)));
                    break;
                case 5: // a drag still held
                    QTest::mousePress(&b, Qt::LeftButton, {}, Centre(b, move.first));
                    QTest::mouseMove(&b, Centre(b, move.first) + QPoint(9, 9));
                    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(2, 2));
                    QVERIFY(same("drag off the board"));
                    break;
                case 6: // a half-move handed over as the engine's
                    QVERIFY(b.MakeMove(move.first, move.second));
                    QVERIFY(same("made " + QString::fromStdString(name)));
                    break;
                case 7: // a step through the history
                    if (rng.bounded(2) ? b.PreviousMove() : b.NextMove())
                        QVERIFY(same("step"));
                    break;
                default: // the position written from outside, with the selection standing
                    Click(b, move.first);
                    if (rng.bounded(4) == 0) {
                        b.SetPosition(b.Position());
                        QVERIFY(same("position"));
                    } else {
                        QVERIFY(b.PlayUserMove(move.first, move.second));
                        QVERIFY(same("played " + QString::fromStdString(name)));
                    }
                    break;
                }
            }
        }
        QVERIFY2(marked > checks / 2, "most steps showed marks");
        // Switched off: the canvas of a board without marks.
        b.SetHighlightMoves(false);
        TChessBrd plain;
        plain.SetSizeOfSquare(44);
        plain.SetWhiteOnTop(whiteOnTop);
        plain.SetBoardLines(whiteOnTop);
        plain.SetLineStyle(QPen(QColor(20, 200, 20)));
        plain.SetDisplayCoords(West | North | East | South);
        plain.grab();
        plain.SetPosition(b.Position());
        QCOMPARE(b.Canvas(), plain.Canvas());
        qInfo("%d canvases compared", checks);
    }
}

void TestBoardAids::promotionChooser_data() {
    QTest::addColumn<bool>("byDrag");
    QTest::addColumn<bool>("whiteOnTop");
    QTest::addColumn<int>("cell");
    for (int cell = 0; cell < 4; ++cell) {
        const QByteArray piece(1, TPromotionChooser::Letters[cell]);
        QTest::newRow("click " + piece) << false << false << cell;
        QTest::newRow("drop " + piece + ", white on top") << true << true << cell;
    }
}

// Each of the four pieces, picked with the mouse in the pop-up, is what the pawn becomes;
// the events are those of the same half-move played at once with that piece, and the board's
// own PromotionPiece stays a queen.
void TestBoardAids::promotionChooser() {
    QFETCH(bool, byDrag);
    QFETCH(bool, whiteOnTop);
    QFETCH(int, cell);
    const char letter = TPromotionChooser::Letters[cell];
    for (const char* fen :
         {"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "4k3/8/8/8/8/8/6p1/4K2R b - - 0 1"}) {
        const bool white = std::string(fen).find('P') != std::string::npos;
        const Square from = white ? Square::B7 : Square::G2;
        const Square to = white ? Square::B8 : Square::H1;
        AidedBoard a(fen);
        TChessBrd& b = a.Board;
        b.SetWhiteOnTop(whiteOnTop);
        a.Printer.Events.clear(); // the repaint's Paint
        if (byDrag) {
            Drag(b, from, to);
        } else {
            Click(b, from);
            Click(b, to);
        }
        TPromotionChooser* chooser = b.PromotionChooser();
        QVERIFY(chooser);
        QVERIFY(chooser->isVisible());
        // Nothing is played, and the board takes no other input, while the piece is chosen.
        QCOMPARE(b.At(from), white ? 'P' : 'p');
        QVERIFY(a.Printer.Events.empty());
        Click(b, Square::E1);
        QCOMPARE(b.Selected(), Square::None);
        // The queen's cell lies on the promotion square, the others towards the middle.
        const QPoint queen = chooser->mapToGlobal(chooser->CellRect(0).topLeft());
        QCOMPARE(queen, b.mapToGlobal(b.SquareRect(to).topLeft()));
        const QPoint rook = chooser->mapToGlobal(chooser->CellRect(1).center());
        QVERIFY(std::abs(rook.y() - b.mapToGlobal(b.rect().center()).y()) <
                std::abs(queen.y() - b.mapToGlobal(b.rect().center()).y()));
        QTest::mouseClick(chooser, Qt::LeftButton, {}, chooser->CellRect(cell).center());
        QTRY_VERIFY(b.At(to) != ' ' && b.At(from) == ' ');
        const char expected = white ? static_cast<char>(letter - 32) : letter;
        QCOMPARE(b.At(to), expected);
        QCOMPARE(b.PromotionPiece(), 'q');
        QCOMPARE(b.PromotionChooser(), nullptr);
        QCOMPARE(b.LastMoveTo(), to);
        // The same half-move played at once, with that piece set by the promotion handler.
        TChessGame reference;
        TEventPrinter printer;
        printer.PromoteTo = letter;
        printer.Attach(reference);
        QVERIFY(LoadFen(reference, fen));
        QVERIFY(reference.MakeMove(from, to));
        QCOMPARE(a.Printer.Joined(), printer.Joined());
        QCOMPARE(b.Position(), reference.Position());
    }
}

// Escape, a click beside the pop-up, or the keys of the pieces.
void TestBoardAids::promotionTakesTheQueenWhenLeft() {
    const char* fen = "4k3/1P6/8/8/8/8/8/4K3 w - - 0 1";
    {
        AidedBoard a(fen);
        Click(a.Board, Square::B7);
        Click(a.Board, Square::B8);
        QVERIFY(a.Board.PromotionChooser());
        QTest::keyClick(a.Board.PromotionChooser(), Qt::Key_Escape);
        QTRY_COMPARE(a.Board.At(Square::B8), 'Q');
        QCOMPARE(a.Printer.Joined(),
                 std::string("LegalMove(B7,B8) Promotion(B7,B8) Check(B7,B8) Paint"));
    }
    {
        // A click on the board beside the pop-up, through the window system: the pop-up
        // closes with the queen and the click selects nothing on the board.
        AidedBoard a(fen);
        Drag(a.Board, Square::B7, Square::B8);
        TPromotionChooser* chooser = a.Board.PromotionChooser();
        QVERIFY(chooser);
        QVERIFY(QTest::qWaitForWindowExposed(chooser));
        QWindow* window = a.Board.window()->windowHandle();
        QTest::mouseClick(window, Qt::LeftButton, {}, Centre(a.Board, Square::E1));
        QTRY_COMPARE(a.Board.At(Square::B8), 'Q');
        QCOMPARE(a.Board.Selected(), Square::None);
    }
    {
        AidedBoard a(fen);
        Click(a.Board, Square::B7);
        Click(a.Board, Square::B8);
        QTest::keyClick(a.Board.PromotionChooser(), Qt::Key_R);
        QTRY_COMPARE(a.Board.At(Square::B8), 'R');
    }
}

// A change of the game while the piece is being chosen drops the half-move: nothing is
// played afterwards from a position it was not chosen in.
void TestBoardAids::promotionCancelledByAChange() {
    AidedBoard a("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    TChessBrd& b = a.Board;
    Click(b, Square::B7);
    Click(b, Square::B8);
    QPointer<TPromotionChooser> chooser = b.PromotionChooser();
    QVERIFY(chooser);
    b.SetWhiteToMove(true);
    QTRY_VERIFY(!chooser);
    QTest::qWait(50);
    QCOMPARE(b.At(Square::B7), 'P');
    QVERIFY(a.Printer.Events.empty());
    // The pop-up answered, then the game changed before the answer was played.
    Click(b, Square::B7);
    Click(b, Square::B8);
    QTest::mouseClick(b.PromotionChooser(), Qt::LeftButton, {},
                      b.PromotionChooser()->CellRect(3).center());
    b.SetPosition(b.Position());
    QTest::qWait(50);
    QCOMPARE(b.At(Square::B7), 'P');
    QCOMPARE(a.Printer.Joined(), std::string("Paint")); // the repaint of the new position
    // A board destroyed with the pop-up open takes it along.
    auto* gone = new AidedBoard("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    Click(gone->Board, Square::B7);
    Click(gone->Board, Square::B8);
    chooser = gone->Board.PromotionChooser();
    QVERIFY(chooser);
    delete gone;
    QCoreApplication::processEvents();
    QVERIFY(!chooser);
}

// The engine's promotion, played while a person's choice of a knight is still fresh, takes
// the board's PromotionPiece as always; and the engine thread runs on while the pop-up is
// open without ever reaching the board.
void TestBoardAids::engineKeepsItsOwnPromotion() {
    AidedBoard a("k7/4P3/8/8/8/8/7p/K7 w - - 0 1");
    TChessBrd& b = a.Board;
    b.SetComputerPlaysBlack(true);
    QVERIFY(b.HandOver().Awake());
    Click(b, Square::E7);
    Click(b, Square::E8);
    TPromotionChooser* chooser = b.PromotionChooser();
    QVERIFY(chooser);
    QTest::qWait(300);
    QCOMPARE(b.At(Square::E7), 'P');
    QCOMPARE(b.At(Square::H2), 'p');
    QTest::mouseClick(chooser, Qt::LeftButton, {}, chooser->CellRect(3).center());
    QTRY_COMPARE(b.At(Square::E8), 'N');
    // Black's reply is the engine's: the pawn becomes the board's PromotionPiece.
    QTRY_COMPARE_WITH_TIMEOUT(b.At(Square::H1), 'q', CORVINA_TRY_MS);
    QCOMPARE(b.PromotionPiece(), 'q');
    QCOMPARE(QString::fromStdString(a.Printer.Joined()).count("Promotion"), 2);
    QCOMPARE(b.LastMoveFrom(), Square::H2);
    QCOMPARE(b.LastMoveTo(), Square::H1);
}

QTEST_MAIN(TestBoardAids)
#include "tst_board_aids.moc"
