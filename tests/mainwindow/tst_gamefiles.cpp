// SPDX-License-Identifier: GPL-3.0-or-later
// Saved games, move-list export and challenges, on real files in a temporary program folder.
#include "app/Main1.h"
#include "app/Program.h"
#include "board/ChessBrd.h"
#include "chess/Fen.h"
#include "formats/Points.h"
#include "setup/New1.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/mainwindow/WindowParts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

void Play(TfrmCorvina& w, const QStringList& moves) {
    QVERIFY(PlayMoves(w, moves));
}

// A challenge line: position, black to move, description, computer plays black.
QString ChallengeLine(const std::string& position, int black, const QString& text, int cb) {
    return QString("{%1,%2,%3,%4}")
        .arg(QString::fromStdString(position))
        .arg(black)
        .arg(text)
        .arg(cb);
}

std::string KingsAnd(int square, char piece) {
    std::string p(64, ' ');
    p[4] = 'k';
    p[60] = 'K';
    p[static_cast<std::size_t>(square - 1)] = piece;
    return p;
}

} // namespace

class TestGameFiles : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Folder_ = std::make_unique<TTestFolder>();
        QVERIFY(Folder_->Prepare({}, {{"Default", DefaultProfile}}));
    }
    void cleanup() { Folder_.reset(); }

    void saveAfterNewGameHasFiveLines();
    void roundTripWithNamesInOtherScripts();
    void moveListThatDoesNotReplay();
    void flagsAreCaseSensitive();
    void longerPlayer2KeepsRightEdge();
    void shortFileChangesNothing();
    void failedSaveKeepsOldFile();
    void exportWritesWholeLine();
    void challengesWrapAround();
    void restartAndLeave();
    void badChallengeLinesAreSkippedAndNamed();
    void missingChallengeList();
    void shippedChallengeList();
    void fileThatIsNoGameIsRefused_data();
    void fileThatIsNoGameIsRefused();
    void saveAndExportTakeTheGameFirst();
    void fileDialogsUseTheChosenFilter();
    void markerKeptWhenDefaultUnreadable();

private:
    QString Path(const QString& name) const { return Folder_->Dir.filePath(name); }
    std::unique_ptr<TTestFolder> Folder_;
};

void TestGameFiles::saveAfterNewGameHasFiveLines() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QTimer::singleShot(0, (&program.NewGameDialog()),
                       [&] { program.NewGameDialog().BitBtn1Click(); });
    w.Hook().Trigger("mnuNew");
    QVERIFY(w.Hook().SaveGameTo(Path("new.cvg")));
    QFile f(Path("new.cvg"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes, QByteArray(StartPosition) + "\r\nPlayer1\r\nPlayer2\r\nfalse\r\ntrue\r\n");

    // The computer opens a new game in which it plays White, and answers at once a pasted
    // position in which it is to move.
    QTimer::singleShot(0, (&program.NewGameDialog()), [&] {
        program.NewGameDialog().pl1Computer->setChecked(true);
        program.NewGameDialog().pl2Human->setChecked(true);
        program.NewGameDialog().BitBtn1Click();
    });
    w.Hook().Trigger("mnuNew");
    QTRY_VERIFY(!w.Board()->WhiteToMove());
    QVERIFY(w.Hook().StartFromFen("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1"));
    QTRY_VERIFY(!w.Board()->WhiteToMove());
    QVERIFY(w.Board()->Position() != PlacementFromFen("4k3/8/8/8/8/8/4P3/4K3"));
}

void TestGameFiles::roundTripWithNamesInOtherScripts() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    Play(w, {"e2e4", "e7e5", "g1f3"});
    w.Hook().SetPlayer1(QString::fromUtf8("Zoë Ångström"));
    w.Hook().SetPlayer2(QString::fromUtf8("Пётр Иванович"));
    const QStringList status = w.Hook().StatusLines();
    const std::string position = w.Board()->Position();
    QVERIFY(w.Hook().SaveGameTo(Path("game.cv")));

    TProgram otherProgram;
    TfrmCorvina& other = otherProgram.MainWindow();
    other.Board()->SetComputerPlaysBlack(false);
    other.Board()->SetComputerPlaysWhite(true);
    QVERIFY(other.Hook().LoadGameFrom(Path("game.cv")));
    QCOMPARE(other.Board()->Position(), position);
    QCOMPARE(Ctl<QLabel>(other, "Player1")->text(), QString::fromUtf8("Zoë Ångström"));
    QCOMPARE(Ctl<QLabel>(other, "Player2")->text(), QString::fromUtf8("Пётр Иванович"));
    QCOMPARE(other.Hook().StatusLines(), status);
    QVERIFY(!other.Board()->ComputerPlaysWhite());
    QVERIFY(!other.Board()->ComputerPlaysBlack());
    // The move list replays to the position: the game comes back whole, Black to move, and
    // steps back, exports and goes on as if played here.
    QVERIFY(!other.Board()->WhiteToMove());
    QCOMPARE(other.Board()->CurrentMove(), 2);
    QVERIFY(other.Hook().ExportPgnTo(Path("game.pgn")));
    QVERIFY(Folder_->Read("game.pgn").join(' ').contains("1. e4 e5 2. Nf3 *"));
    other.Hook().Trigger("mnuPrevious");
    QCOMPARE(other.Hook().StatusLines(), status.mid(0, 2));
    QCOMPARE(other.Board()->At(Square::G1), 'N');
    other.Hook().Trigger("mnuNext");
    QCOMPARE(other.Hook().StatusLines(), status);
    QVERIFY(PlayMoves(other, {"b8c6"}));
    QCOMPARE(other.Hook().StatusLines().size(), 4);
    QVERIFY(Folder_->Errors.isEmpty());
}

// A move list that does not lead to the saved position still loads as before: the placement
// and the list as they stand, with the side to move its last line gives.
void TestGameFiles::moveListThatDoesNotReplay() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    const QString start = StartPosition;
    QVERIFY(Folder_->Write("odd.cvg", {"1. E2-E4", start, "A", "B", "false", "false"}));
    QVERIFY(w.Hook().LoadGameFrom(ProgramPath("odd.cvg")));
    QCOMPARE(w.Board()->Position(), std::string(StartPosition));
    QCOMPARE(w.Hook().StatusLines(), QStringList{"1. E2-E4"});
    QVERIFY(!w.Board()->WhiteToMove());
    QVERIFY(!w.Board()->StartedWithBlack());
    // Text that is no move list leaves the side to move as it was.
    QVERIFY(Folder_->Write("text.cvg", {"my notes", start, "A", "B", "false", "false"}));
    QVERIFY(w.Hook().LoadGameFrom(ProgramPath("text.cvg")));
    QVERIFY(!w.Board()->WhiteToMove());
    QCOMPARE(w.Hook().StatusLines(), QStringList{"my notes"});
    // A game begun with Black to move from the start position replays after its reserved line.
    QVERIFY(Folder_->Write("black.cvg",
                           {"1. ...   ", "              E7-E5", "2. D2-D4",
                            "rnbqkbnrpppp ppp            p      P            PPP PPPPRNBQKBNR", "A",
                            "B", "false", "false"}));
    QVERIFY(w.Hook().LoadGameFrom(ProgramPath("black.cvg")));
    QVERIFY(w.Board()->StartedWithBlack());
    QVERIFY(!w.Board()->WhiteToMove());
    QCOMPARE(w.Hook().StatusLines().size(), 3);
    QVERIFY(Folder_->Errors.isEmpty());
}

void TestGameFiles::flagsAreCaseSensitive() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QVERIFY(Folder_->Write("odd.cvg", {QString(StartPosition), "A", "B", "True", "FALSE"}));
    w.Board()->SetComputerPlaysWhite(false);
    QVERIFY(w.Board()->ComputerPlaysBlack());
    QVERIFY(w.Hook().LoadGameFrom(ProgramPath("odd.cvg")));
    QVERIFY(!w.Board()->ComputerPlaysWhite());
    QVERIFY(w.Board()->ComputerPlaysBlack());
}

void TestGameFiles::longerPlayer2KeepsRightEdge() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    const int right = Ctl<QLabel>(w, "Player2")->geometry().right();
    QVERIFY(Folder_->Write(
        "long.cvg", {QString(StartPosition), "Me", "Somebody With A Long Name", "false", "true"}));
    QVERIFY(w.Hook().LoadGameFrom(ProgramPath("long.cvg")));
    QCOMPARE(Ctl<QLabel>(w, "Player2")->text(), QString("Somebody With A Long Name"));
    QCOMPARE(Ctl<QLabel>(w, "Player2")->geometry().right(), right);
}

void TestGameFiles::shortFileChangesNothing() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    Play(w, {"d2d4"});
    QVERIFY(Folder_->Write("four.cvg", {QString(64, ' '), "X", "Y", "true"}));
    QVERIFY(!w.Hook().LoadGameFrom(ProgramPath("four.cvg")));
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(Folder_->Errors.first().contains("four.cvg"));
    QCOMPARE(w.Board()->At(Square::D4), 'P');
    QCOMPARE(Ctl<QLabel>(w, "Player1")->text(), QString("Player1"));
    QCOMPARE(w.Hook().StatusLines(), QStringList{"1. D2-D4"});
}

void TestGameFiles::failedSaveKeepsOldFile() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QVERIFY(Folder_->Write("blocker", {"a plain file"}));
    QVERIFY(!w.Hook().SaveGameTo(ProgramPath("blocker/game.cvg"))); // its folder is a file
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(Folder_->Errors.first().contains("game.cvg"));
    QCOMPARE(Folder_->Read("blocker"), QStringList{"a plain file"});
}

void TestGameFiles::exportWritesWholeLine() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    Play(w, {"e2e4", "e7e5", "g1f3", "b8c6"});
    w.Hook().Trigger("mnuPrevious");
    w.Hook().Trigger("mnuPrevious");
    QCOMPARE(w.Hook().StatusLines().size(), 2);
    QVERIFY(w.Hook().ExportMoveListTo(Path("moves.txt")));
    QCOMPARE(Folder_->Read("moves.txt"),
             (QStringList{"1. E2-E4", "              E7-E5", "2. G1-F3", "              B8-C6"}));
    // A saved game takes the list as shown.
    QVERIFY(w.Hook().SaveGameTo(Path("short.cvg")));
    QCOMPARE(Folder_->Read("short.cvg").size(), 2 + 5);
}

void TestGameFiles::challengesWrapAround() {
    QVERIFY(Folder_->Write(
        "chlist.dat", {ChallengeLine(KingsAnd(9, 'Q'), 0, "White to move: one", 1),
                       "before " + ChallengeLine(KingsAnd(10, 'R'), 1, "Black: two", 0) + " after",
                       ChallengeLine(KingsAnd(11, 'B'), 0, "three", 1)}));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Hook().Trigger("mnuChallenges");
    QVERIFY(w.Hook().ChallengeMode());
    QCOMPARE(w.Hook().ChallengeCount(), 3);
    QCOMPARE(Ctl<QLabel>(w, "instruct")->text(), QString("Challenge 1: White to move: one"));
    QVERIFY(!Ctl<QLabel>(w, "instruct")->isHidden());
    QVERIFY(!Ctl<QPushButton>(w, "cmdNext")->isHidden());
    QVERIFY(Ctl<QAction>(w, "mnuNextCh")->isVisible());
    QCOMPARE(Ctl<QAction>(w, "mnuChallenges")->text(), QString("End Challenge"));
    QCOMPARE(w.Board()->At(Square::A7), 'Q');
    w.Hook().Trigger("mnuPreviousCh");
    QCOMPARE(Ctl<QLabel>(w, "instruct")->text(), QString("Challenge 3: three"));
    QCOMPARE(w.Board()->At(Square::C7), 'B');
    Ctl<QPushButton>(w, "cmdNext")->click();
    QCOMPARE(Ctl<QLabel>(w, "instruct")->text(), QString("Challenge 1: White to move: one"));
    w.Hook().Trigger("mnuNextCh");
    QCOMPARE(Ctl<QLabel>(w, "instruct")->text(),
             QString("Challenge 2: Black: two")); // text around {} ignored
    QCOMPARE(w.Board()->At(Square::B7), 'R');
    QVERIFY(!w.Board()->WhiteToMove());
    QVERIFY(w.Board()->ComputerPlaysWhite());
    QVERIFY(!w.Board()->ComputerPlaysBlack());
    // The person plays Black: the board turns and the check mark follows; a profile saved
    // now keeps the player's own choice.
    QAction* wot = Ctl<QAction>(w, "mnuWOT");
    QVERIFY(w.Board()->WhiteOnTop() && wot->isChecked());
    QVERIFY(!w.Hook().CurrentProfile().WhiteOnTop);
    w.Hook().Trigger("mnuNextCh"); // White to move: as the player chose
    QVERIFY(!w.Board()->WhiteOnTop() && !wot->isChecked());
    // Chosen by hand, White On Top wins, in that game and after it.
    w.Hook().Trigger("mnuWOT");
    QVERIFY(w.Board()->WhiteOnTop() && w.Hook().CurrentProfile().WhiteOnTop);
    w.Hook().Trigger("mnuPreviousCh");
    QVERIFY(w.Board()->WhiteOnTop());
    w.Hook().Trigger("mnuWOT"); // turned for Black, and turned back by hand
    QVERIFY(!w.Board()->WhiteOnTop() && !wot->isChecked());
    w.Hook().Trigger("mnuNextCh");
    QVERIFY(!w.Board()->WhiteOnTop() && !w.Hook().CurrentProfile().WhiteOnTop);
}

void TestGameFiles::restartAndLeave() {
    QVERIFY(Folder_->Write("chlist.dat", {ChallengeLine(KingsAnd(9, 'Q'), 0, "one", 1),
                                          ChallengeLine(KingsAnd(10, 'r'), 1, "two", 0)}));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Hook().Trigger("mnuChallenges");
    w.Hook().Trigger("mnuNextCh");
    w.Board()->SetComputerPlaysWhite(false); // keep the engine out of the way of the test's moves
    Play(w, {"b7b1", "e1e2"});
    QVERIFY(!w.Hook().StatusLines().isEmpty());
    Ctl<QListWidget>(w, "events")->addItem("something");
    w.Hook().Trigger("mnuRestart");
    QCOMPARE(w.Board()->At(Square::B7), 'r');
    QVERIFY(!w.Board()->WhiteToMove());
    QVERIFY(w.Hook().StatusLines().isEmpty());
    QCOMPARE(Ctl<QListWidget>(w, "events")->count(), 0);
    w.Hook().Trigger("mnuChallenges"); // leave
    QVERIFY(!w.Hook().ChallengeMode());
    QVERIFY(Ctl<QLabel>(w, "instruct")->isHidden());
    QVERIFY(!Ctl<QAction>(w, "mnuRestart")->isVisible());
    QCOMPARE(Ctl<QAction>(w, "mnuChallenges")->text(), QString("Challenges!"));
    QCOMPARE(w.Board()->Position(), std::string(StartPosition));
    QVERIFY(w.Board()->ComputerPlaysWhite()); // as the last challenge left it
    QVERIFY(!w.Board()->ComputerPlaysBlack());
}

void TestGameFiles::badChallengeLinesAreSkippedAndNamed() {
    QStringList lines;
    for (int i = 0; i < 24; ++i)
        lines << ChallengeLine(KingsAnd(9, 'Q'), 0, QString("number %1").arg(i + 1), 1);
    lines[2] = "no braces here";
    lines[4] = "{only,three,fields}";
    QVERIFY(Folder_->Write("chlist.dat", lines));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Hook().Trigger("mnuChallenges");
    QCOMPARE(w.Hook().ChallengeCount(), 21);
    QCOMPARE(Folder_->Errors.size(), 1);
    const QString& e = Folder_->Errors.first();
    QVERIFY2(e.contains("line 3 ") && e.contains("line 5 ") && e.contains("line 24 "),
             qPrintable(e));
    QVERIFY(!e.contains("line 23 "));
    w.Hook().Trigger("mnuPreviousCh");
    QCOMPARE(Ctl<QLabel>(w, "instruct")->text(), QString("Challenge 21: number 23"));
}

void TestGameFiles::missingChallengeList() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Hook().Trigger("mnuChallenges");
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(w.Hook().ChallengeMode());
    QVERIFY(Ctl<QLabel>(w, "instruct")->isHidden());
    w.Hook().Trigger("mnuChallenges");
    QVERIFY(!w.Hook().ChallengeMode());
}

// The installed list reads through the window's own reader without a complaint.
void TestGameFiles::shippedChallengeList() {
    QVERIFY(QFile::copy(CORVINA_DATA_DIR "/chlist.dat", ProgramPath("chlist.dat")));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Hook().Trigger("mnuChallenges");
    QVERIFY2(Folder_->Errors.isEmpty(), qPrintable(Folder_->Errors.join('\n')));
    QCOMPARE(w.Hook().ChallengeCount(), 21);
    QVERIFY(Ctl<QLabel>(w, "instruct")->text().startsWith("Challenge 1: White to move: mate in 1"));
    QVERIFY(w.Board()->ComputerPlaysBlack());
    QVERIFY(w.Board()->WhiteToMove());
}

void TestGameFiles::fileThatIsNoGameIsRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("html page") << QByteArray("<!DOCTYPE html>\n<html><head><title>x</title>\n"
                                             "</head>\n<body>\n<p>hello</p>\n</body></html>\n");
    QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    QTest::newRow("png picture") << png + QByteArray(300, '\x7f') + "\n\n\n\n\n";
    QTest::newRow("a square not a piece")
        << (QByteArray(StartPosition).replace(20, 1, "\xc3\xa9") + "\nA\nB\ntrue\ntrue\n");
}

// A file that is no saved game is refused with its name, and the game on the board stays.
void TestGameFiles::fileThatIsNoGameIsRefused() {
    QFETCH(QByteArray, bytes);
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    Play(w, {"e2e4"});
    QFile f(Path("odd.cvg"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QVERIFY(!w.Hook().LoadGameFrom(Path("odd.cvg")));
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(Folder_->Errors.first().contains("odd.cvg"));
    QCOMPARE(w.Board()->At(Square::E4), 'P');
    QCOMPARE(w.Hook().StatusLines(), QStringList{"1. E2-E4"});
    QCOMPARE(w.Hook().Player1(), QString("Player1"));
}

namespace {

QFileDialog* OpenFileDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

// Once the next file dialog is open, runs `inside`, then accepts it with `name`.
void AnswerFileDialog(const QString& name, std::function<void(QFileDialog*)> inside = {}) {
    auto* poll = new QTimer;
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [poll, name, inside] {
        QFileDialog* dialog = OpenFileDialog();
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        if (inside)
            inside(dialog);
        // Typed into the name box as a user would, with the folder chosen first for a path.
        const QFileInfo file(name);
        if (file.isAbsolute())
            dialog->setDirectory(file.absolutePath());
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(edit);
        edit->setText(file.isAbsolute() ? file.fileName() : name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll->start();
}

} // namespace

// A move made while the file dialog is open does not land in the file.
void TestGameFiles::saveAndExportTakeTheGameFirst() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    Play(w, {"e2e4"});
    auto playDuringDialog = [&w](QFileDialog*) { QVERIFY(PlayMoves(w, {"e7e5"})); };
    AnswerFileDialog(Path("during.cvg"), playDuringDialog);
    w.Hook().Trigger("mnuSave");
    const QStringList saved = Folder_->Read("during.cvg");
    QCOMPARE(saved.size(), 6);
    QCOMPARE(saved.first(), QString("1. E2-E4"));
    QCOMPARE(saved[1].at(36), QChar('P')); // e4
    QCOMPARE(saved[1].at(12), QChar('p')); // e7, still at home
    AnswerFileDialog(Path("during.txt"), [&w](QFileDialog*) { PlayMoves(w, {"g1f3"}); });
    w.Hook().Trigger("mnuExport");
    QCOMPARE(Folder_->Read("during.txt").size(), 2);
}

void TestGameFiles::fileDialogsUseTheChosenFilter() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    auto chooseCv = [](QFileDialog* d) {
        auto* types = d->findChild<QComboBox*>("fileTypeCombo");
        QVERIFY(types);
        types->setCurrentIndex(0); // "Corvina Files (*.cv)", chosen as a user chooses it
        emit types->activated(0);
        emit types->textActivated(types->currentText());
    };
    AnswerFileDialog(Path("game1"), chooseCv);
    w.Hook().Trigger("mnuSave");
    QVERIFY(QFile::exists(Path("game1.cv")));
    QVERIFY(!QFile::exists(Path("game1.cvg")));
    // The next dialog opens in the folder used last, with the bare name of the last file.
    AnswerFileDialog(Path("x.cvg"));
    w.Hook().Trigger("mnuSave");
    QTimer::singleShot(200, [this] {
        QFileDialog* d = OpenFileDialog();
        QVERIFY(d);
        QCOMPARE(QDir(d->directory()).canonicalPath(), QDir(Folder_->Dir.path()).canonicalPath());
        auto* name = d->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name);
        QCOMPARE(name->text(), QString("x.cvg"));
        d->reject();
    });
    w.Hook().Trigger("mnuSave");
}

void TestGameFiles::markerKeptWhenDefaultUnreadable() {
    QVERIFY(Folder_->Write("al.dat", {"Gone"}));
    QFile::remove(ProgramPath("Settings/Default"));
    QVERIFY(QDir().mkpath(ProgramPath("Settings/Default"))); // a folder: cannot be read
    TProgram program;
    QCOMPARE(Folder_->Errors.size(), 1);
    QCOMPARE(Folder_->Read("al.dat"), QStringList{"Gone"});
}

QTEST_MAIN(TestGameFiles)
#include "tst_gamefiles.moc"
