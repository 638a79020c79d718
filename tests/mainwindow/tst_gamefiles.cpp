// Saved games, move-list export and challenges, on real files in a temporary program folder.
#include "app/Main1.h"
#include "setup/New1.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

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

private:
    QString Path(const QString& name) const { return Folder_->Dir.filePath(name); }
    std::unique_ptr<TTestFolder> Folder_;
};

void TestGameFiles::saveAfterNewGameHasFiveLines() {
    TfrmCorvina w;
    QTimer::singleShot(0, w.frmNew, [&w] { w.frmNew->BitBtn1Click(); });
    w.mnuNewClick();
    QVERIFY(w.SaveGameTo(Path("new.cvg")));
    QFile f(Path("new.cvg"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes, QByteArray(StartPosition) + "\r\nPlayer1\r\nPlayer2\r\nfalse\r\ntrue\r\n");
}

void TestGameFiles::roundTripWithNamesInOtherScripts() {
    TfrmCorvina w;
    w.cb1->SetComputerPlaysBlack(false);
    Play(w, {"e2e4", "e7e5", "g1f3"});
    w.Player1->setText(QString::fromUtf8("Zoë Ångström"));
    w.SetPlayer2(QString::fromUtf8("Пётр Иванович"));
    const QStringList status = w.StatusLines();
    const std::string position = w.cb1->Position();
    QVERIFY(w.SaveGameTo(Path("game.cv")));

    TfrmCorvina other;
    other.cb1->SetComputerPlaysBlack(false);
    other.cb1->SetComputerPlaysWhite(true);
    QVERIFY(other.LoadGameFrom(Path("game.cv")));
    QCOMPARE(other.cb1->Position(), position);
    QCOMPARE(other.Player1->text(), QString::fromUtf8("Zoë Ångström"));
    QCOMPARE(other.Player2->text(), QString::fromUtf8("Пётр Иванович"));
    QCOMPARE(other.StatusLines(), status);
    QVERIFY(!other.cb1->ComputerPlaysWhite());
    QVERIFY(!other.cb1->ComputerPlaysBlack());
    // Loading sets the placement only: side to move and history stay as they were.
    QVERIFY(other.cb1->WhiteToMove());
    QCOMPARE(other.cb1->CurrentMove(), 1);
    QVERIFY(Folder_->Errors.isEmpty());
}

void TestGameFiles::flagsAreCaseSensitive() {
    TfrmCorvina w;
    QVERIFY(Folder_->Write("odd.cvg", {QString(StartPosition), "A", "B", "True", "FALSE"}));
    w.cb1->SetComputerPlaysWhite(false);
    QVERIFY(w.cb1->ComputerPlaysBlack());
    QVERIFY(w.LoadGameFrom(ProgramPath("odd.cvg")));
    QVERIFY(!w.cb1->ComputerPlaysWhite());
    QVERIFY(w.cb1->ComputerPlaysBlack());
}

void TestGameFiles::longerPlayer2KeepsRightEdge() {
    TfrmCorvina w;
    const int right = w.Player2->geometry().right();
    QVERIFY(Folder_->Write(
        "long.cvg", {QString(StartPosition), "Me", "Somebody With A Long Name", "false", "true"}));
    QVERIFY(w.LoadGameFrom(ProgramPath("long.cvg")));
    QCOMPARE(w.Player2->text(), QString("Somebody With A Long Name"));
    QCOMPARE(w.Player2->geometry().right(), right);
}

void TestGameFiles::shortFileChangesNothing() {
    TfrmCorvina w;
    w.cb1->SetComputerPlaysBlack(false);
    Play(w, {"d2d4"});
    QVERIFY(Folder_->Write("four.cvg", {QString(64, ' '), "X", "Y", "true"}));
    QVERIFY(!w.LoadGameFrom(ProgramPath("four.cvg")));
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(Folder_->Errors.first().contains("four.cvg"));
    QCOMPARE(w.cb1->At(Square::D4), 'P');
    QCOMPARE(w.Player1->text(), QString("Player1"));
    QCOMPARE(w.StatusLines(), QStringList{"1. D2-D4"});
}

void TestGameFiles::failedSaveKeepsOldFile() {
    TfrmCorvina w;
    QVERIFY(Folder_->Write("blocker", {"a plain file"}));
    QVERIFY(!w.SaveGameTo(ProgramPath("blocker/game.cvg"))); // its folder is a file
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(Folder_->Errors.first().contains("game.cvg"));
    QCOMPARE(Folder_->Read("blocker"), QStringList{"a plain file"});
}

void TestGameFiles::exportWritesWholeLine() {
    TfrmCorvina w;
    w.cb1->SetComputerPlaysBlack(false);
    Play(w, {"e2e4", "e7e5", "g1f3", "b8c6"});
    w.mnuPreviousClick();
    w.mnuPreviousClick();
    QCOMPARE(w.StatusLines().size(), 2);
    QVERIFY(w.ExportMoveListTo(Path("moves.txt")));
    QCOMPARE(Folder_->Read("moves.txt"),
             (QStringList{"1. E2-E4", "              E7-E5", "2. G1-F3", "              B8-C6"}));
    // A saved game takes the list as shown.
    QVERIFY(w.SaveGameTo(Path("short.cvg")));
    QCOMPARE(Folder_->Read("short.cvg").size(), 2 + 5);
}

void TestGameFiles::challengesWrapAround() {
    QVERIFY(Folder_->Write(
        "chlist.dat", {ChallengeLine(KingsAnd(9, 'Q'), 0, "White to move: one", 1),
                       "before " + ChallengeLine(KingsAnd(10, 'R'), 1, "Black: two", 0) + " after",
                       ChallengeLine(KingsAnd(11, 'B'), 0, "three", 1)}));
    TfrmCorvina w;
    w.mnuChallengesClick();
    QVERIFY(w.ChallengeMode);
    QCOMPARE(w.ChallengeCount, 3);
    QCOMPARE(w.instruct->text(), QString("Challenge 1: White to move: one"));
    QVERIFY(!w.instruct->isHidden());
    QVERIFY(!w.cmdNext->isHidden());
    QVERIFY(w.mnuNextCh->isVisible());
    QCOMPARE(w.mnuChallenges->text(), QString("End Challenge"));
    QCOMPARE(w.cb1->At(Square::A7), 'Q');
    w.mnuPreviousChClick();
    QCOMPARE(w.instruct->text(), QString("Challenge 3: three"));
    QCOMPARE(w.cb1->At(Square::C7), 'B');
    w.cmdNext->click();
    QCOMPARE(w.instruct->text(), QString("Challenge 1: White to move: one"));
    w.mnuNextChClick();
    QCOMPARE(w.instruct->text(), QString("Challenge 2: Black: two")); // text around {} ignored
    QCOMPARE(w.cb1->At(Square::B7), 'R');
    QVERIFY(!w.cb1->WhiteToMove());
    QVERIFY(w.cb1->ComputerPlaysWhite());
    QVERIFY(!w.cb1->ComputerPlaysBlack());
}

void TestGameFiles::restartAndLeave() {
    QVERIFY(Folder_->Write("chlist.dat", {ChallengeLine(KingsAnd(9, 'Q'), 0, "one", 1),
                                          ChallengeLine(KingsAnd(10, 'r'), 1, "two", 0)}));
    TfrmCorvina w;
    w.mnuChallengesClick();
    w.mnuNextChClick();
    w.cb1->SetComputerPlaysWhite(false); // keep the engine out of the way of the test's moves
    Play(w, {"b7b1", "e1e2"});
    QVERIFY(!w.StatusLines().isEmpty());
    w.events->addItem("something");
    w.mnuRestartClick();
    QCOMPARE(w.cb1->At(Square::B7), 'r');
    QVERIFY(!w.cb1->WhiteToMove());
    QVERIFY(w.StatusLines().isEmpty());
    QCOMPARE(w.events->count(), 0);
    w.mnuChallengesClick(); // leave
    QVERIFY(!w.ChallengeMode);
    QVERIFY(w.instruct->isHidden());
    QVERIFY(!w.mnuRestart->isVisible());
    QCOMPARE(w.mnuChallenges->text(), QString("Challenges!"));
    QCOMPARE(w.cb1->Position(), std::string(StartPosition));
    QVERIFY(w.cb1->ComputerPlaysWhite()); // as the last challenge left it
    QVERIFY(!w.cb1->ComputerPlaysBlack());
}

void TestGameFiles::badChallengeLinesAreSkippedAndNamed() {
    QStringList lines;
    for (int i = 0; i < 24; ++i)
        lines << ChallengeLine(KingsAnd(9, 'Q'), 0, QString("number %1").arg(i + 1), 1);
    lines[2] = "no braces here";
    lines[4] = "{only,three,fields}";
    QVERIFY(Folder_->Write("chlist.dat", lines));
    TfrmCorvina w;
    w.mnuChallengesClick();
    QCOMPARE(w.ChallengeCount, 21);
    QCOMPARE(Folder_->Errors.size(), 1);
    const QString& e = Folder_->Errors.first();
    QVERIFY2(e.contains("line 3 ") && e.contains("line 5 ") && e.contains("line 24 "),
             qPrintable(e));
    QVERIFY(!e.contains("line 23 "));
    w.mnuPreviousChClick();
    QCOMPARE(w.instruct->text(), QString("Challenge 21: number 23"));
}

void TestGameFiles::missingChallengeList() {
    TfrmCorvina w;
    w.mnuChallengesClick();
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(w.ChallengeMode);
    QVERIFY(w.instruct->isHidden());
    w.mnuChallengesClick();
    QVERIFY(!w.ChallengeMode);
}

// The installed list reads through the window's own reader without a complaint.
void TestGameFiles::shippedChallengeList() {
    QVERIFY(QFile::copy(CORVINA_DATA_DIR "/chlist.dat", ProgramPath("chlist.dat")));
    TfrmCorvina w;
    w.mnuChallengesClick();
    QVERIFY2(Folder_->Errors.isEmpty(), qPrintable(Folder_->Errors.join('\n')));
    QCOMPARE(w.ChallengeCount, 21);
    QVERIFY(w.instruct->text().startsWith("Challenge 1: White to move: mate in 1"));
    QVERIFY(w.cb1->ComputerPlaysBlack());
    QVERIFY(w.cb1->WhiteToMove());
}

QTEST_MAIN(TestGameFiles)
#include "tst_gamefiles.moc"
