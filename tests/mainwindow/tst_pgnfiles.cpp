// SPDX-License-Identifier: GPL-3.0-or-later
// Export PGN, Load PGN, Copy and Paste Position (FEN) through the real main window and real
// files: a loaded game is a played game (history, move list, events, tallies, points), and a
// refused file or text leaves the game as it was.
#include "app/Main1.h"
#include "app/PgnGames.h"
#include "app/Program.h"
#include "board/ChessBrd.h"
#include "chess/Fen.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/mainwindow/WindowParts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

// What a person sees of the game, and what the board keeps of it.
QStringList Seen(TfrmCorvina& w) {
    QStringList out;
    out << w.Hook().StatusLines().join('|') << ListTexts(w, "events").join('|')
        << ListTexts(w, "white").join('|') << ListTexts(w, "black").join('|')
        << Ctl<QLabel>(w, "wp")->text() << Ctl<QLabel>(w, "bp")->text()
        << QString::fromStdString(ToFen(*w.Board()));
    QStringList list;
    w.Board()->GetMoveList(list);
    out << list.join('|');
    return out;
}

const QStringList Played = {"e2e4", "d7d5", "e4e5", "f7f5", "e5f6", "g8f6", "g1f3", "e7e6",
                            "f1d3", "f8d6", "e1g1", "b8c6", "d3h7", "h8h7", "f3g5", "e8e7",
                            "g5h7", "c8d7", "h7f8", "d8f8", "d1h5", "c6e5"};

} // namespace

class TestPgnFiles : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Folder_ = std::make_unique<TTestFolder>();
        QVERIFY(Folder_->Prepare({}, {{"Default", DefaultProfile}}));
    }
    void cleanup() { Folder_.reset(); }

    void menuItemsAreThere();
    void exportedGameLoadsAsPlayed();
    void badMoveIsNamedAndGameKept_data();
    void badMoveIsNamedAndGameKept();
    void collectionChooser();
    void setUpPositionTravels();
    void copyAndPasteFen();
    void pastedTextIsChecked_data();
    void pastedTextIsChecked();

private:
    QString Path(const QString& name) const { return Folder_->Dir.filePath(name); }
    std::unique_ptr<TTestFolder> Folder_;
};

void TestPgnFiles::menuItemsAreThere() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    const std::pair<const char*, const char*> items[] = {{"mnuExportPGN", "Export PGN..."},
                                                         {"mnuLoadPGN", "Load PGN..."},
                                                         {"mnuCopyFEN", "Copy Position (FEN)"},
                                                         {"mnuPasteFEN", "Paste Position (FEN)"}};
    for (const auto& [name, text] : items) {
        auto* a = Ctl<QAction>(w, name);
        QCOMPARE(a->text(), QString(text));
        QVERIFY(a->isEnabled());
    }
}

void TestPgnFiles::exportedGameLoadsAsPlayed() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    w.Hook().SetPlayer1("Ada");
    w.Hook().SetPlayer2("Bob");
    // Played to the end, then the view stepped back: the whole recorded game is exported.
    QVERIFY(PlayMoves(w, Played));
    const QStringList seen = Seen(w);
    w.Hook().Trigger("mnuPrevious");
    QVERIFY(w.Hook().ExportPgnTo(Path("game.pgn")));
    const QStringList lines = Folder_->Read("game.pgn");
    QVERIFY(lines.contains("[White \"Ada\"]"));
    QVERIFY(lines.contains("[Black \"Bob\"]"));
    QVERIFY(lines.contains("[Result \"*\"]"));
    QVERIFY(lines.join(' ').contains("3. exf6 Nxf6"));
    QVERIFY(lines.join(' ').contains("6. O-O"));

    TProgram other;
    TfrmCorvina& o = other.MainWindow();
    o.Board()->SetComputerPlaysBlack(false);
    QVERIFY(PlayMoves(o, {"a2a3", "a7a6"}));
    QVERIFY(o.Hook().LoadPgnFrom(Path("game.pgn")));
    QVERIFY2(Folder_->Errors.isEmpty(), qPrintable(Folder_->Errors.join('\n')));
    QCOMPARE(Seen(o), seen);
    QCOMPARE(Ctl<QLabel>(o, "Player1")->text(), QString("Ada"));
    QCOMPARE(Ctl<QLabel>(o, "Player2")->text(), QString("Bob"));
    // The loaded game goes on like a played one, and steps back like one.
    QVERIFY(PlayMoves(o, {"h5h8"}));
    QVERIFY(o.Board()->PreviousMove() && o.Board()->PreviousMove());
    QCOMPARE(o.Board()->Position(), w.Board()->Position());

    // A side the computer played, and nobody named, is exported under the engine's name; a
    // position pasted from later in a game keeps its counters in the PGN and in Copy.
    TProgram third;
    TfrmCorvina& t = third.MainWindow();
    QApplication::clipboard()->setText("4k3/8/8/8/8/8/4P3/4K3 w - - 37 88");
    t.Hook().Trigger("mnuPasteFEN");
    QCOMPARE(t.Hook().CurrentFen(), QString("4k3/8/8/8/8/8/4P3/4K3 w - - 37 88"));
    QVERIFY(PlayMoves(t, {"e1d1"}));
    QTRY_COMPARE(t.Hook().CurrentFen().right(6), QString(" 39 89")); // after the computer's answer
    QVERIFY(t.Hook().ExportPgnTo(Path("engine.pgn")));
    const QStringList engine = Folder_->Read("engine.pgn");
    QVERIFY(engine.contains("[White \"Player1\"]"));
    QVERIFY(
        engine.contains(QString("[Black \"Corvina (depth %1)\"]").arg(t.Board()->SearchDepth())));
    QVERIFY(engine.contains("[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 37 88\"]"));
    QVERIFY2(engine.join(' ').contains(" 88. Kd1 "), qPrintable(engine.join('\n')));
}

void TestPgnFiles::badMoveIsNamedAndGameKept_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("illegal") << "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 "
                                "7. Bb3 d6 8. c3 O-O 9. h3 Nb8 10. d4 Nbd7 11. Nbd2 Bb7 12. Bc2 "
                                "Nbd7 *"
                             << "Move 12... Nbd7 is not legal in this position.";
    QTest::newRow("ambiguous") << "1. d4 a6 2. Nf3 a5 3. Nd2 *"
                               << "Move 3. Nd2 is ambiguous in this position.";
    QTest::newRow("open comment") << "1. e4 {"
                                  << "holds no PGN game that can be read: a comment";
    QTest::newRow("king missing") << "[FEN \"8/8/8/8/8/8/8/K7 w - - 0 1\"]\n*"
                                  << "The position of the FEN tag cannot be played: The board "
                                     "MUST contain the white and the black king!";
    QTest::newRow("empty") << ""
                           << "holds no PGN game.";
    QTest::newRow("king to be taken") << "[FEN \"4k3/8/8/8/8/8/8/4QK2 w - - 0 1\"]\n1. Qxe8 *"
                                      << "the side not to move is in check";
    QTest::newRow("pawn on the first rank") << "[FEN \"4k3/8/8/8/8/8/8/P3K3 w - - 0 1\"]\n*"
                                            << "a pawn stands on a1";
}

void TestPgnFiles::badMoveIsNamedAndGameKept() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    QVERIFY(PlayMoves(w, {"e2e4", "e7e5"}));
    w.Hook().SetPlayer1("Ada");
    const QStringList before = Seen(w);
    QVERIFY(Folder_->Write("bad.pgn", text.split('\n')));
    QVERIFY(!w.Hook().LoadPgnFrom(Path("bad.pgn")));
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY2(Folder_->Errors[0].contains(message), qPrintable(Folder_->Errors[0]));
    QCOMPARE(Seen(w), before);
    QCOMPARE(Ctl<QLabel>(w, "Player1")->text(), QString("Ada"));
}

// A collection opens the chooser: the first game selected, the rows filtered by typing, the
// chosen game loaded; Cancel changes nothing. A file far larger than the program's own
// files (but for its one long comment, one game) loads at once.
void TestPgnFiles::collectionChooser() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    QVERIFY(
        Folder_->Write("three.pgn", {"[White \"Ann\"]", "[Black \"Bob\"]", "[Date \"2001.01.01\"]",
                                     "", "1. e4 e5 1-0", "", "[White \"Cid\"]", "[Black \"Dora\"]",
                                     "[Event \"Club\"]", "", "1. d4 d5 2. c4 1/2-1/2", "",
                                     "[White \"Bob\"]", "[Black \"Eve\"]", "", "1. c4 *"}));
    auto* chooser = w.findChild<TfrmPgnGames*>("frmPgnGames");
    QVERIFY(chooser);
    QStringList shown;
    int firstSelected = -1;
    // Acts once the chooser is up (the progress window may run the event loop before it).
    const auto choose = [&](const QString& filter, bool ok) {
        auto* poll = new QTimer(chooser);
        poll->start(10);
        QObject::connect(poll, &QTimer::timeout, chooser, [&, poll, filter, ok] {
            if (!chooser->isVisible())
                return;
            delete poll;
            firstSelected = chooser->SelectedGame();
            QTest::keyClicks(chooser->txtFilter, filter);
            shown.clear();
            for (int i = 0; i < chooser->games->topLevelItemCount(); ++i)
                if (!chooser->games->topLevelItem(i)->isHidden())
                    shown << chooser->games->topLevelItem(i)->text(0);
            ok ? chooser->cmdOK->click() : chooser->cmdCancel->click();
        });
    };
    const std::string before = w.Board()->Position();
    choose("bob", false);
    QVERIFY(!w.Hook().LoadPgnFrom(Path("three.pgn")));
    QCOMPARE(firstSelected, 0);
    QCOMPARE(shown, (QStringList{"Ann", "Bob"})); // Bob played Black, then White
    QCOMPARE(w.Board()->Position(), before);
    QVERIFY(Folder_->Errors.isEmpty());

    choose("club", true);
    QVERIFY(w.Hook().LoadPgnFrom(Path("three.pgn")));
    QCOMPARE(shown, QStringList{"Cid"});
    QCOMPARE(Ctl<QLabel>(w, "Player1")->text(), QString("Cid"));
    QCOMPARE(w.Hook().CurrentFen(),
             QString("rnbqkbnr/ppp1pppp/8/3p4/2PP4/8/PP2PPPP/RNBQKBNR b KQkq c3 0 2"));

    QStringList big = {"[White \"Long\"]", "", "{"};
    for (int i = 0; i < 6 * 1024; ++i)
        big << QString(1000, 'x');
    big << "}"
        << "1. Nf3 *";
    QVERIFY(Folder_->Write("big.pgn", big));
    QVERIFY(w.Hook().LoadPgnFrom(Path("big.pgn")));
    QVERIFY2(Folder_->Errors.isEmpty(), qPrintable(Folder_->Errors.join('\n')));
    QCOMPARE(Ctl<QLabel>(w, "Player1")->text(), QString("Long"));
}

void TestPgnFiles::setUpPositionTravels() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    QVERIFY(w.Hook().StartFromFen("4k3/1P6/8/8/8/8/p7/3NK2R b K - 0 30"));
    QVERIFY(PlayMoves(w, {"a2a1", "e1g1", "e8d7", "b7b8"}));
    const QStringList seen = Seen(w);
    QVERIFY(w.Hook().ExportPgnTo(Path("setup.pgn")));
    const QString text = Folder_->Read("setup.pgn").join('\n');
    // The moves are numbered on from the FEN's move number.
    QVERIFY(text.contains("[SetUp \"1\"]\n[FEN \"4k3/1P6/8/8/8/8/p7/3NK2R b K - 0 30\"]"));
    QVERIFY2(text.contains("30... a1=Q 31. O-O Kd7 32. b8=Q"), qPrintable(text)); // to a queen
    TProgram other;
    TfrmCorvina& o = other.MainWindow();
    o.Board()->SetComputerPlaysBlack(false);
    QVERIFY(o.Hook().LoadPgnFrom(Path("setup.pgn")));
    QCOMPARE(Seen(o), seen);
}

void TestPgnFiles::copyAndPasteFen() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    QVERIFY(PlayMoves(w, {"e2e4", "c7c5", "e4e5", "d7d5"}));
    Ctl<QAction>(w, "mnuCopyFEN")->trigger();
    const QString fen = QApplication::clipboard()->text();
    QCOMPARE(fen, QString("rnbqkbnr/pp2pppp/8/2ppP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3"));
    TProgram other;
    TfrmCorvina& o = other.MainWindow();
    o.Board()->SetComputerPlaysBlack(false);
    QVERIFY(PlayMoves(o, {"a2a3"}));
    Ctl<QAction>(o, "mnuPasteFEN")->trigger();
    QVERIFY(Folder_->Errors.isEmpty());
    QCOMPARE(o.Board()->Position(), w.Board()->Position());
    QVERIFY(o.Hook().StatusLines().isEmpty());
    QVERIFY(ListTexts(o, "events").isEmpty());
    // The en passant square came along: the capture is there to play.
    QVERIFY(PlayMoves(o, {"e5d6"}));
    QCOMPARE(o.Hook().CurrentFen(),
             QString("rnbqkbnr/pp2pppp/3P4/2p5/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 3"));
}

void TestPgnFiles::pastedTextIsChecked_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "The clipboard holds no valid FEN position: the text is empty";
    QTest::newRow("prose") << "hello world"
                           << "The clipboard holds no valid FEN position:";
    QTest::newRow("nine files") << "rnbqkbnrr/8/8/8/8/8/8/4K3 w - - 0 1"
                                << "The clipboard holds no valid FEN position:";
    QTest::newRow("two white kings") << "4k3/8/8/8/8/8/8/3KK3 w - - 0 1"
                                     << "The pasted position cannot be played: The board CANNOT "
                                        "contain more than one king of each color!";
    QTest::newRow("king to be taken") << "4k3/8/8/8/8/8/8/4QK2 w - - 0 1"
                                      << "The clipboard holds no valid FEN position: the side "
                                         "not to move is in check";
    // A pawn on the edge of the board, of either colour, as a checked position would name it.
    QTest::newRow("white pawn on the last rank") << "P3k3/8/8/8/8/8/8/4K3 w - - 0 1"
                                                 << "The clipboard holds no valid FEN position: "
                                                    "a pawn stands on a8";
    QTest::newRow("black pawn on the first rank") << "4k3/8/8/8/8/8/8/4K2p b - - 0 1"
                                                  << "The clipboard holds no valid FEN position: "
                                                     "a pawn stands on h1";
    QTest::newRow("only kings") << "4k3/8/8/8/8/8/8/4K3 w - - 0 1"
                                << "The pasted position cannot be played: The board cannot "
                                   "contain only the two kings.";
}

void TestPgnFiles::pastedTextIsChecked() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    QVERIFY(PlayMoves(w, {"d2d4"}));
    const QStringList before = Seen(w);
    QApplication::clipboard()->setText(text);
    Ctl<QAction>(w, "mnuPasteFEN")->trigger();
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY2(Folder_->Errors[0].startsWith(message), qPrintable(Folder_->Errors[0]));
    QCOMPARE(Seen(w), before);
}

QTEST_MAIN(TestPgnFiles)
#include "tst_pgnfiles.moc"
