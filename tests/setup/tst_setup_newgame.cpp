// SPDX-License-Identifier: GPL-3.0-or-later
// OK and Cancel of the new-game dialog as the main window's "New Game" command runs them.
#include "app/Main1.h"
#include "app/Program.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "formats/Points.h"
#include "setup/New1.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/mainwindow/WindowParts.h"
#include "uikit/ErrorReport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QStringList DefaultProfile = {"clMaroon", "clSilver", "4", "3",  "Merlot.bmp",
                                    "0",        "0",        "0", "-1", "1"};

bool Play(TfrmCorvina& w, const QStringList& moves) {
    return PlayMoves(w, moves);
}

// Runs "New Game" and presses a button of the dialog once it is up.
void NewGame(TfrmCorvina& w, QPushButton* button) {
    QTimer::singleShot(0, button, [button] { button->click(); });
    w.Hook().Trigger("mnuNew");
}

} // namespace

class TestSetupNewGame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void basicOkStartsStandardGame();
    void advancedOkPutsLayout();
    void cancelChangesNothing();
    void engineAfterOk_data();
    void engineAfterOk();

private:
    std::unique_ptr<QTemporaryDir> Folder_;
    std::unique_ptr<TProgram> Program_;
    TfrmCorvina* Window_ = nullptr;
    QStringList Errors_;
};

void TestSetupNewGame::init() {
    Folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(Folder_->isValid());
    SetProgramFolder(Folder_->path());
    Errors_.clear();
    SetErrorHandler([this](const QString& text) { Errors_ << text; });
    QDir().mkpath(Folder_->filePath("Settings"));
    QDir().mkpath(Folder_->filePath("pieces"));
    QVERIFY(
        QFile::copy(CORVINA_DATA_DIR "/pieces/Merlot.bmp", Folder_->filePath("pieces/Merlot.bmp")));
    QVERIFY(WriteTextLines(ProgramPath("al.dat"), {"Default"}));
    QVERIFY(WriteTextLines(ProgramPath("Settings/Default"), DefaultProfile));
    Program_ = std::make_unique<TProgram>();
    Window_ = &Program_->MainWindow();
    Window_->Board()->SetAnimateMoves(false);
    // Human against human unless a test says otherwise: no engine moves in between.
    Program_->NewGameDialog().pl2Human->setChecked(true);
    Window_->Board()->SetComputerPlaysBlack(false);
}

void TestSetupNewGame::cleanup() {
    Program_.reset();
    Window_ = nullptr;
    SetErrorHandler({});
    Folder_.reset();
}

void TestSetupNewGame::basicOkStartsStandardGame() {
    TfrmCorvina& w = *Window_;
    TfrmNew& d = Program_->NewGameDialog();
    QVERIFY(Play(w, {"e2e4", "e7e5"}));
    w.Board()->setEnabled(false);
    Ctl<QListWidget>(w, "events")->addItem("Check!");
    // A layout in the editor counts only in the advanced state.
    d.board->SetPosition("    k                                                       K   ");
    d.turn->setCurrentIndex(1);
    d.txtPlayer1->setText("Ann");
    d.txtPlayer2->setText("Bartholomew");
    const int player2Right = Ctl<QLabel>(w, "Player2")->geometry().right();

    NewGame(w, d.BitBtn1);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(w.Board()->Position(), std::string(StartPosition));
    QVERIFY(!w.Board()->WhiteToMove()); // black moves first
    QCOMPARE(w.Board()->CastlingAllowed(), AllCastling);
    QCOMPARE(Ctl<QLabel>(w, "wp")->text(), QString(" 42.0"));
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), QString(" 42.0"));
    QCOMPARE(Ctl<QLabel>(w, "Player1")->text(), QString("Ann"));
    QCOMPARE(Ctl<QLabel>(w, "Player2")->text(), QString("Bartholomew"));
    QCOMPARE(Ctl<QLabel>(w, "Player2")->geometry().right(), player2Right);
    QCOMPARE(Ctl<QListWidget>(w, "events")->count(), 0);
    QVERIFY(Ctl<QPlainTextEdit>(w, "status")->toPlainText().isEmpty());
    QVERIFY(w.Board()->isEnabled());
    QVERIFY(!w.Board()->ComputerPlaysWhite() && !w.Board()->ComputerPlaysBlack());
    QVERIFY(w.Board()->PlayUserMove(Square::E7, Square::E5));
    QVERIFY(Errors_.isEmpty());
}

void TestSetupNewGame::advancedOkPutsLayout() {
    TfrmCorvina& w = *Window_;
    TfrmNew& d = Program_->NewGameDialog();
    d.cmdSwitchClick();
    // A refused layout leaves the dialog open and the game as it was.
    QVERIFY(Play(w, {"e2e4"}));
    d.board->SetPosition("Kk");
    d.show();
    d.BitBtn1->click();
    QCOMPARE(Errors_, QStringList{"The board cannot contain only the two kings."});
    QVERIFY(d.isVisible());
    QCOMPARE(w.Board()->At(Square::E4), 'P');
    d.hide();
    // The white king away from e1: all four castling rights stay as a new game sets them.
    const std::string layout = "    k   pp              Q       R             K                 ";
    d.board->SetPosition(layout);
    d.turn->setCurrentIndex(0);
    NewGame(w, d.BitBtn1);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(w.Board()->Position(), layout);
    QVERIFY(w.Board()->WhiteToMove());
    QCOMPARE(w.Board()->CastlingAllowed(), AllCastling);
    QCOMPARE(Ctl<QLabel>(w, "wp")->text(), QString(" 15.4"));
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), QString("  2.0"));
    // The editor keeps its layout for the next showing.
    QCOMPARE(d.board->Position(), layout);
    QVERIFY(d.Advanced());
}

void TestSetupNewGame::cancelChangesNothing() {
    TfrmCorvina& w = *Window_;
    TfrmNew& d = Program_->NewGameDialog();
    QVERIFY(Play(w, {"d2d4"}));
    QVERIFY(!Ctl<QPlainTextEdit>(w, "status")->toPlainText().isEmpty());
    w.Board()->setEnabled(false);
    d.txtPlayer1->setText("Someone");
    const QImage staunton(CORVINA_DATA_DIR "/pieces/Staunton.bmp");
    w.Board()->SetCustomPieceSet(staunton);
    NewGame(w, d.BitBtn2);
    QCOMPARE(d.result(), int(QDialog::Rejected));
    // The editor showed the main board's set, at its own size.
    QCOMPARE(d.board->CustomPieceSet(), staunton);
    QCOMPARE(d.board->PieceImage('Q').width(), d.board->SizeOfSquare());
    QCOMPARE(w.Board()->At(Square::D4), 'P');
    QCOMPARE(Ctl<QLabel>(w, "Player1")->text(), QString("Player1"));
    // Cancel leaves the window as it was: the move list stays for a later save, and a board
    // disabled while waiting for an opponent stays disabled.
    QVERIFY(!w.Board()->isEnabled());
    QCOMPARE(w.Hook().StatusLines(), QStringList{"1. D2-D4"});
    QCOMPARE(d.txtPlayer1->text(), QString("Someone")); // kept for the next showing
}

// After OK the computer opens the game it plays White in, also when the game before ended in
// mate; once parked, it waits for "Start Thinking".
void TestSetupNewGame::engineAfterOk_data() {
    QTest::addColumn<bool>("mated");
    QTest::newRow("game in progress") << false;
    QTest::newRow("after mate") << true;
}

void TestSetupNewGame::engineAfterOk() {
    QFETCH(bool, mated);
    TfrmCorvina& w = *Window_;
    TfrmNew& d = Program_->NewGameDialog();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(Play(w, mated ? QStringList{"f2f3", "e7e5", "g2g4", "d8h4"} : QStringList{"e2e4"}));
    QCOMPARE(w.Board()->GameOver(), mated);
    d.pl1Computer->setChecked(true);
    d.pl2Human->setChecked(true);
    d.turn->setCurrentIndex(0);
    int moves = 0;
    const auto legalMove = w.Board()->OnLegalMove;
    w.Board()->OnLegalMove = [&moves, legalMove](TObject* s, Square from, Square to) {
        ++moves;
        legalMove(s, from, to);
    };
    NewGame(w, d.BitBtn1);
    QVERIFY(w.Board()->ComputerPlaysWhite());
    QTRY_COMPARE_WITH_TIMEOUT(moves, 1, CORVINA_TRY_MS);
    QVERIFY(!w.Board()->WhiteToMove());
    // Taken back and parked, it waits; Start Thinking wakes it.
    w.Board()->StopThinking();
    QVERIFY(w.Board()->PreviousMove());
    Ctl<QAction>(w, "mnuStart")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(moves, 2, CORVINA_TRY_MS);
    QVERIFY(!w.Board()->WhiteToMove());
    w.Board()->StopThinking();
}

QTEST_MAIN(TestSetupNewGame)
#include "tst_setup_newgame.moc"
