// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, driven through its real widgets in a temporary program folder.
#include "app/GoTo.h"
#include "app/LoadSet.h"
#include "app/Main1.h"
#include "app/Program.h"
#include "board/ChessBrd.h"
#include "formats/Points.h"
#include "formats/Profile.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/mainwindow/WindowParts.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool Play(TfrmCorvina& w, const QStringList& moves) {
    return PlayMoves(w, moves);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpProfileChoice_data();
    void startUpProfileChoice();
    void startUpSkipsBadLines();
    void missingDefaultWrittenBack();
    void lastUsedKeptBetweenRuns();
    void playedGame();
    void mateEvents();
    void engineAnswersAsBlack();
    void navigationAndGoTo();
    void profileRoundTrip();
    void capturedPaneToggle();
    void capturedPaneKeepsWindowOnScreen();
    void player2KeepsRightEdge();
    void helpThatCannotOpenNamesTheFile_data();
    void helpThatCannotOpenNamesTheFile();
    void longNameShownWholeInMessageBox();
    void dropOffTheBoardCancelsTheDrag();

private:
    void WriteFolder(const QStringList& al, const QMap<QString, QStringList>& profiles) {
        QVERIFY(Folder_->Prepare(al, profiles));
    }
    std::unique_ptr<TTestFolder> Folder_;
};

void TestMainWindow::init() {
    Folder_ = std::make_unique<TTestFolder>();
    QVERIFY(Folder_->Dir.isValid());
}

void TestMainWindow::cleanup() {
    Folder_.reset();
}

void TestMainWindow::startUpProfileChoice_data() {
    QTest::addColumn<QStringList>("al");
    QTest::addColumn<int>("expectedDepth");
    QTest::addColumn<bool>("alEmptied");
    QTest::newRow("no lines") << QStringList() << 4 << false;
    QTest::newRow("empty first line") << QStringList{"", "Mine"} << 4 << false;
    QTest::newRow("named profile") << QStringList{"Mine"} << 6 << false;
    QTest::newRow("missing profile") << QStringList{"Gone"} << 4 << true;
    QTest::newRow("path instead of a name") << QStringList{"../Settings/Mine"} << 4 << true;
}

void TestMainWindow::startUpProfileChoice() {
    QFETCH(QStringList, al);
    QFETCH(int, expectedDepth);
    QFETCH(bool, alEmptied);
    QStringList mine = DefaultProfile;
    mine[2] = "6";
    mine[0] = "$00030201";
    WriteFolder(al, {{"Default", DefaultProfile}, {"Mine", mine}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QVERIFY2(Folder_->Errors.isEmpty(), qPrintable(Folder_->Errors.join('\n')));
    QCOMPARE(w.Board()->SearchDepth(), expectedDepth);
    QCOMPARE(w.Board()->SquareColorDark(),
             expectedDepth == 6 ? QColor(1, 2, 3) : QColor(128, 0, 0));
    QVERIFY(w.Board()->ComputerPlaysBlack());
    QCOMPARE(w.width(), 814);
    QStringList after;
    QVERIFY(ReadTextLines(ProgramPath("al.dat"), after));
    if (alEmptied)
        QVERIFY(after.isEmpty());
    else
        QCOMPARE(after, al);
}

// A bad line spoils only itself: every other line applies, and the bad ones are named in one
// report.
void TestMainWindow::startUpSkipsBadLines() {
    QStringList bad = DefaultProfile;
    bad[0] = "clNavy";
    bad[1] = "clYellow";
    bad[2] = "deep";
    bad[4] = ""; // a piece-set line left empty
    bad[5] = "1";
    WriteFolder({"Bad"}, {{"Default", DefaultProfile}, {"Bad", bad}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QCOMPARE(Folder_->Errors.size(), 1);
    const QString error = Folder_->Errors.first();
    QVERIFY(error.contains("\"Bad\""));
    QVERIFY(error.contains("line 3") && error.contains("deep"));
    QVERIFY(error.contains("line 5"));
    QCOMPARE(error.count("line"), 2);
    QCOMPARE(w.Board()->SquareColorDark(), QColor(0, 0, 128));
    QCOMPARE(w.Board()->SquareColorLight(), QColor(255, 255, 0));
    QCOMPARE(w.Board()->SearchDepth(), 1);
    QCOMPARE(w.Board()->ThinkingPriority(), TThreadPriority::tpNormal);
    QVERIFY(w.Hook().CurrentPieceSetFile().isEmpty());
    QVERIFY(w.Board()->BoardLines());
    QVERIFY(Ctl<QAction>(w, "mnuLines")->isChecked());
    QVERIFY(Ctl<QAction>(w, "mnuCPieces")->isChecked());
    QCOMPARE(w.width(), 814);
}

// A Default deleted by hand comes back at start-up as the window was designed, silently.
void TestMainWindow::missingDefaultWrittenBack() {
    WriteFolder({}, {{"Zed", DefaultProfile}});
    QVERIFY(!QFileInfo::exists(Folder_->Dir.filePath("Settings/Default")));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QVERIFY2(Folder_->Errors.isEmpty(), qPrintable(Folder_->Errors.join('\n')));
    QCOMPARE(
        Folder_->Read("Settings/Default"),
        (QStringList{"clMaroon", "clSilver", "1", "3", "Merlot.bmp", "0", "0", "0", "-1", "0"}));
    QCOMPARE(w.Board()->SquareColorDark(), QColor(128, 0, 0));
    QCOMPARE(w.Board()->SearchDepth(), 1);
    QCOMPARE(w.width(), 625);
}

// Quitting keeps the appearance and the engine choices in "Last used", a profile like any
// other, which the next start applies unless al.dat names a profile.
void TestMainWindow::lastUsedKeptBetweenRuns() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    QStringList kept;
    {
        TProgram program;
        TfrmCorvina& w = program.MainWindow();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.Board()->SetSquareColorLight(QColor(1, 2, 3));
        w.Board()->SetSearchDepth(7);
        w.Board()->SetThinkingPriority(TThreadPriority::tpLowest);
        w.Hook().Trigger("mnuLines");
        w.Hook().Trigger("mnuWOT");
        w.Hook().SetCapturedPane(false, false);
        kept = BuildProfile(w.Hook().CurrentProfile());
        // Quit, by its key as a person presses it.
        QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w.isVisible());
    }
    QCOMPARE(Folder_->Read("Settings/" + LastUsedProfileName), kept);
    {
        TProgram program;
        TfrmCorvina& w = program.MainWindow();
        w.Hook().Timer2Timer();
        QCOMPARE(BuildProfile(w.Hook().CurrentProfile()), kept);
        QCOMPARE(w.Board()->SquareColorLight(), QColor(1, 2, 3));
        QVERIFY(w.Board()->BoardLines() && w.Board()->WhiteOnTop());
        QCOMPARE(w.Board()->ThinkingPriority(), TThreadPriority::tpLowest);
        QCOMPARE(w.width(), 625);
        TfrmLoadSet& dialog = program.LoadSetDialog();
        dialog.SetFolder(Folder_->Dir.filePath("Settings"));
        QCOMPARE(dialog.Names(), (QStringList{"Default", LastUsedProfileName}));
    }
    // A profile named in al.dat still wins.
    QVERIFY(Folder_->Write("al.dat", {"Default"}));
    {
        TProgram program;
        QCOMPARE(program.MainWindow().Board()->SearchDepth(), 4);
        QVERIFY(!program.MainWindow().Board()->BoardLines());
    }
    QVERIFY2(Folder_->Errors.isEmpty(), qPrintable(Folder_->Errors.join('\n')));
}

void TestMainWindow::playedGame() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    bool stepped = false;
    w.OnStartUpStep = [step = w.OnStartUpStep, &stepped](int language, int theme) {
        step(language, theme);
        stepped = true;
    };
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(stepped); // the start-up step
    QVERIFY(Play(w, {"e2e4"}));
    QCOMPARE(w.Hook().StatusLines(), QStringList{"1. E2-E4"});
    QCOMPARE(Ctl<QLabel>(w, "wp")->text(), QString(" 42.0"));
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), QString(" 42.0"));
    // 1... Nc6 2. Bb5 a6 3. Bxc6: the first black knight taken.
    QVERIFY(Play(w, {"b8c6", "f1b5", "a7a6", "b5c6"}));
    QCOMPARE(Ctl<QListWidget>(w, "black")->item(2)->text(), QString("1 Knights"));
    QCOMPARE(Ctl<QListWidget>(w, "black")->item(0)->text(), QString("0 Pawns"));
    QVERIFY(qAbs(CountPoints(w.Board()->Position(), 0) - 38.95) < 1e-9);
    QCOMPARE(Ctl<QLabel>(w, "bp")->text(), PointsText(CountPoints(w.Board()->Position(), 0)));
    QVERIFY(Play(w, {"d7c6"}));
    QCOMPARE(Ctl<QListWidget>(w, "white")->item(1)->text(), QString("1 Bishops"));
    QCOMPARE(Ctl<QLabel>(w, "wp")->text(), QString(" 38.5"));
    QCOMPARE(w.Hook().StatusLines().size(), 6);
    QCOMPARE(w.Hook().StatusLines().last(), QString("              D7-C6"));
}

void TestMainWindow::mateEvents() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    QVERIFY(Play(w, {"f2f3", "e7e5", "g2g4", "d8h4"}));
    QCOMPARE(ListTexts(w, "events").mid(0, 2), (QStringList{"Mate!!!", "Check!"}));
}

void TestMainWindow::engineAnswersAsBlack() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetSearchDepth(1);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(Play(w, {"e2e4"}));
    QTRY_COMPARE_WITH_TIMEOUT(w.Hook().StatusLines().size(), 2, CORVINA_TRY_MS);
    QVERIFY(w.Hook().StatusLines().last().startsWith(QString(14, ' ')));
    QVERIFY(w.Board()->WhiteToMove());
}

void TestMainWindow::navigationAndGoTo() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    QVERIFY(Play(w, {"e2e4", "e7e5", "g1f3"}));
    w.Hook().Trigger("mnuPrevious");
    QCOMPARE(w.Hook().StatusLines(), (QStringList{"1. E2-E4", "              E7-E5"}));
    w.Hook().Trigger("mnuPrevious");
    w.Hook().Trigger("mnuPrevious");
    QVERIFY(w.Hook().StatusLines().isEmpty());
    w.Hook().Trigger("mnuPrevious"); // at the start: nothing changes
    QVERIFY(w.Hook().StatusLines().isEmpty());
    w.Hook().Trigger("mnuNext");
    w.Hook().Trigger("mnuNext");
    QCOMPARE(w.Hook().StatusLines(), (QStringList{"1. E2-E4", "              E7-E5"}));
    w.Hook().Trigger("mnuNext");
    w.Hook().Trigger("mnuNext"); // at the end: nothing changes
    QCOMPARE(w.Hook().StatusLines().size(), 3);
    w.Hook().GoToLine(-1);
    QCOMPARE(w.Board()->CurrentMove(), 1);
    QVERIFY(w.Board()->WhiteToMove());
    QCOMPARE(w.Board()->Position(), std::string(StartPosition));
    w.Hook().GoToLine(0);
    QCOMPARE(w.Board()->CurrentMove(), 1);
    QVERIFY(!w.Board()->WhiteToMove());
    QCOMPARE(w.Board()->At(Square::E4), 'P');
    w.Hook().GoToLine(1);
    QCOMPARE(w.Board()->CurrentMove(), 2);
    QVERIFY(w.Board()->WhiteToMove());
    QCOMPARE(w.Hook().StatusLines().size(), 3); // Go To leaves the list alone
    // The dialog itself: OK with no selection shows the start.
    QTimer::singleShot(100, (&program.GoToDialog()), [&] {
        QCOMPARE(program.GoToDialog().listme->count(), 3);
        program.GoToDialog().accept();
    });
    w.Hook().Trigger("mnuGoToMove");
    QCOMPARE(w.Board()->Position(), std::string(StartPosition));
    QVERIFY(w.Board()->WhiteToMove());
}

void TestMainWindow::profileRoundTrip() {
    QStringList custom = DefaultProfile;
    custom[1] = "$00030201";
    custom[3] = "9"; // outside 0..6: the priority stays
    custom[5] = "2"; // only 1 means on
    custom[6] = "1";
    WriteFolder({"Custom"}, {{"Default", DefaultProfile}, {"Custom", custom}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QVERIFY(Folder_->Errors.isEmpty());
    QCOMPARE(w.Board()->ThinkingPriority(), TThreadPriority::tpNormal);
    QVERIFY(!w.Board()->BoardLines());
    QVERIFY(w.Board()->WhiteOnTop());
    const QStringList built = BuildProfile(w.Hook().CurrentProfile());
    QCOMPARE(built, (QStringList{"clMaroon", "$00030201", "4", "3", "Merlot.bmp", "0", "1", "0",
                                 "-1", "1"}));
    QVERIFY(WriteTextLines(ProgramPath("Settings/Again"), built));
    QFile file(ProgramPath("Settings/Again"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.count("\r\n"), 10);
    w.Board()->SetThinkingPriority(TThreadPriority::tpIdle);
    QCOMPARE(BuildProfile(w.Hook().CurrentProfile())[3], QString("6"));
}

void TestMainWindow::capturedPaneToggle() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.move(300, 200);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect before = w.geometry();
    QVERIFY(Ctl<QAction>(w, "mnuCPieces")->isChecked());
    Ctl<QAction>(w, "mnuCPieces")->trigger();
    QVERIFY(!Ctl<QAction>(w, "mnuCPieces")->isChecked());
    QTRY_COMPARE(w.width(), 625);
    Ctl<QAction>(w, "mnuCPieces")->trigger();
    QVERIFY(Ctl<QAction>(w, "mnuCPieces")->isChecked());
    QTRY_COMPARE(w.geometry(), before);
    Ctl<QAction>(w, "mnuLines")->trigger();
    QVERIFY(Ctl<QAction>(w, "mnuLines")->isChecked());
    QVERIFY(w.Board()->BoardLines());
}

void TestMainWindow::capturedPaneKeepsWindowOnScreen() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect area = w.screen()->availableGeometry();
    auto* pane = Ctl<QAction>(w, "mnuCPieces");
    pane->trigger(); // hidden
    QTRY_COMPARE(w.width(), 625);
    // At the screen's left edge the 50-pixel shift would push the a-file and the menu off it.
    w.move(area.left(), w.y());
    QTRY_COMPARE(w.frameGeometry().left(), area.left());
    pane->trigger(); // shown
    QTRY_COMPARE(w.width(), 814);
    QCOMPARE(w.frameGeometry().left(), area.left());
    QVERIFY(area.contains(w.frameGeometry().topLeft()));
    // Away from the edge the shift is kept.
    pane->trigger();
    QTRY_COMPARE(w.frameGeometry().left(), area.left() + 50);
}

void TestMainWindow::player2KeepsRightEdge() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    const int right = Ctl<QLabel>(w, "Player2")->geometry().right();
    w.Hook().SetPlayer2("A much longer name");
    QCOMPARE(Ctl<QLabel>(w, "Player2")->geometry().right(), right);
    QVERIFY(Ctl<QLabel>(w, "Player2")->width() > 60);
}

namespace {

// A stand-in for the desktop's opener, first on PATH: it notes what it was asked to open in
// `note` and ends with `exitCode`. No script at all: the opener is not installed.
struct TFakeOpener {
    QTemporaryDir Bin;
    QByteArray SavedPath = qgetenv("PATH");
    QString Note = Bin.filePath("opened.txt");

    explicit TFakeOpener(int exitCode) {
        if (exitCode >= 0) {
            QFile script(Bin.filePath("xdg-open"));
            if (script.open(QIODevice::WriteOnly))
                script.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n")
                                 .arg(Note)
                                 .arg(exitCode)
                                 .toUtf8());
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(Bin.path()));
    }
    ~TFakeOpener() { qputenv("PATH", SavedPath); }
    QString Opened() const {
        QFile f(Note);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

QStringList VisibleBoxes(const QWidget& w) {
    QStringList texts;
    for (QMessageBox* box : w.findChildren<QMessageBox*>())
        if (box->isVisible())
            texts << box->text();
    return texts;
}

} // namespace

void TestMainWindow::helpThatCannotOpenNamesTheFile_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode"); // -1: no opener installed
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QString>("failure"); // empty: the document opens
    const QString help = "Could not execute the help file";
    QTest::newRow("no viewer (xdg-open exits 3)") << "mnuHelpTopics"
                                                  << "help.html" << 3 << true << help;
    QTest::newRow("viewer fails, readme")
        << "mnuReadme"
        << "readme.doc" << 4 << true << "Could not execute the readme file";
    QTest::newRow("no viewer, NetGame help") << "mnuHelpOnNetGame"
                                             << "help_netgame.html" << 3 << true << help;
    QTest::newRow("opener not installed") << "mnuHelpTopics"
                                          << "help.html" << -1 << true << help;
    QTest::newRow("file missing") << "mnuHelpTopics"
                                  << "help.html" << 0 << false << help;
    QTest::newRow("opened") << "mnuHelpTopics"
                            << "help.html" << 0 << true << QString();
}

void TestMainWindow::helpThatCannotOpenNamesTheFile() {
    QFETCH(QString, item);
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(bool, fileThere);
    QFETCH(QString, failure);
    WriteFolder({}, {{"Default", DefaultProfile}});
    if (fileThere)
        QVERIFY(Folder_->Write(file, {"<html></html>"}));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TFakeOpener opener(exitCode);
    const QString path = QDir::toNativeSeparators(ProgramPath(file));
    Ctl<QAction>(w, item.toLatin1().constData())->trigger();
    if (failure.isEmpty()) {
        // The opener was given the file and ended well: nothing to report.
        QTRY_COMPARE_WITH_TIMEOUT(opener.Opened(), path, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(w.findChildren<QProcess*>().isEmpty(), 20000);
        QVERIFY(VisibleBoxes(w).isEmpty());
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(VisibleBoxes(w).size(), 1, 20000);
    const QString text = VisibleBoxes(w).first();
    QVERIFY2(text.startsWith(failure), qPrintable(text));
    QVERIFY2(text.endsWith("\n" + path), qPrintable(text));
    if (exitCode > 0)
        QCOMPARE(opener.Opened(), path);
}

void TestMainWindow::longNameShownWholeInMessageBox() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString name = "Tournament-" + QString(300, 'x') + "-final";
    // The real box this time: it is looked at while it waits for OK.
    SetErrorHandler({});
    QString shown;
    bool whole = false;
    QRect box;
    QTimer look;
    connect(&look, &QTimer::timeout, &w, [&] {
        auto* open = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!open || !open->isVisible())
            return;
        look.stop();
        const auto* label = open->findChild<QLabel*>("qt_msgbox_label");
        shown = label->text();
        // Every line wrapped at a space fits the label, and all the lines fit its height.
        const int room = label->contentsRect().width();
        whole = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                  : label->sizeHint().width() <= label->width();
        for (const QString& word : shown.split(QRegularExpression("\\s+")))
            whole = whole && label->fontMetrics().horizontalAdvance(word) <= room;
        box = open->frameGeometry();
        open->accept();
    });
    look.start(20);
    QVERIFY(!w.Hook().SaveSettingsAs(name));
    QVERIFY2(whole, qPrintable(shown));
    QVERIFY(w.screen()->availableGeometry().contains(box.topLeft()));
    QVERIFY(box.width() <= w.screen()->availableGeometry().width());
    // The name is shortened in its middle: its beginning, its end and the reason stay.
    QVERIFY2(shown.startsWith("Cannot write the file"), qPrintable(shown));
    QVERIFY2(shown.contains("/Settings/Tourn") && shown.contains(QChar(0x2026)) &&
                 shown.contains("xxx-final"),
             qPrintable(shown));
    QVERIFY2(shown.contains("too long"), qPrintable(shown));
    QVERIFY(!QFileInfo::exists(ProgramPath("Settings/" + name)));
}

void TestMainWindow::dropOffTheBoardCancelsTheDrag() {
    WriteFolder({}, {{"Default", DefaultProfile}});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetComputerPlaysBlack(false);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TChessBrd* b = w.Board();
    const auto drag = [b](Square from, QPoint to) {
        const QPoint start = b->SquareRect(from).center();
        const auto send = [b](QEvent::Type type, QPoint at, Qt::MouseButton button,
                              Qt::MouseButtons held) {
            QMouseEvent e(type, QPointF(at), QPointF(b->mapToGlobal(at)), button, held,
                          Qt::NoModifier);
            QApplication::sendEvent(b, &e);
        };
        send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, (start + to) / 2, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    };
    // Let go over the events list, and on the board's border: the piece goes back, quietly.
    const QListWidget* events = Ctl<QListWidget>(w, "events");
    drag(Square::E2, b->mapFromGlobal(events->mapToGlobal(events->rect().center())));
    drag(Square::G1, QPoint(b->width() - 5, b->height() / 2));
    QVERIFY(ListTexts(w, "events").isEmpty());
    QCOMPARE(b->At(Square::E2), 'P');
    QCOMPARE(b->At(Square::G1), 'N');
    QVERIFY(w.Hook().StatusLines().isEmpty());
    QVERIFY(b->WhiteToMove());
    // A square the piece cannot reach is still an illegal move.
    drag(Square::E2, b->SquareRect(Square::E5).center());
    QCOMPARE(ListTexts(w, "events"), QStringList{"Illegal Move!"});
    drag(Square::E2, b->SquareRect(Square::E4).center());
    QCOMPARE(w.Hook().StatusLines(), QStringList{"1. E2-E4"});
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
