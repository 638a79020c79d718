// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program, run from an installed tree (made by install_tree.sh) with a fresh
// per-user folder: start-up fills the folder, a profile saved there is the one the next start
// loads, and the installed files stay untouched.
#include "app/Main1.h"
#include "app/Program.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "common/UserFolder.h"
#include "uikit/ErrorReport.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString Prefix = CORVINA_INSTALLED_PREFIX;

QStringList FilesUnder(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Start-up as main() runs it, for an executable in the installed bin folder.
std::unique_ptr<TProgram> Start(const QString& xdg, QStringList& warnings) {
    TFolderFacts facts = ReadFolderFacts(Prefix + "/bin");
    facts.XdgDataHome = xdg;
    SetProgramFolder(PrepareProgramFolder(facts, [&](const QString& text) { warnings << text; }));
    auto program = std::make_unique<TProgram>();
    bool stepped = false;
    TfrmCorvina& main = program->MainWindow();
    main.OnStartUpStep = [step = main.OnStartUpStep, &stepped](int language, int theme) {
        step(language, theme);
        stepped = true;
    };
    main.show();
    if (!QTest::qWaitFor([&] { return stepped; }, 20000))
        return nullptr;
    main.OnStartUpStep = {};
    return program;
}

} // namespace

class TestInstalledStart : public QObject {
    Q_OBJECT
private slots:
    void profileSavedInTheUserFolderIsLoadedNextTime();
};

void TestInstalledStart::profileSavedInTheUserFolderIsLoadedNextTime() {
    QVERIFY2(HoldsProgramData(Prefix + "/share/corvina"), qPrintable(Prefix));
    const QStringList installedBefore = FilesUnder(Prefix + "/share/corvina");
    QTemporaryDir xdg;
    const QString user = xdg.path() + "/corvina";
    QStringList errors, warnings;
    SetErrorHandler([&](const QString& text) { errors << text; });

    {
        auto program = Start(xdg.path(), warnings);
        QVERIFY(program);
        QCOMPARE(ProgramFolder(), user);
        QCOMPARE(FilesUnder(user), installedBefore);
        TfrmCorvina& main = program->MainWindow();
        main.Board()->SetSquareColorDark(QColor(0, 0, 128));
        main.Board()->SetSearchDepth(2);
        QVERIFY(main.Hook().SaveSettingsAs("Evening"));
        // What the Load Settings dialog's auto-load box writes.
        QVERIFY(WriteTextLines(ProgramPath("al.dat"), {"Evening"}));
    }
    QVERIFY(QFileInfo(user + "/Settings/Evening").isFile());
    QVERIFY(!QFileInfo::exists(Prefix + "/share/corvina/Settings/Evening"));
    QCOMPARE(FilesUnder(Prefix + "/share/corvina"), installedBefore);

    {
        auto program = Start(xdg.path(), warnings);
        QVERIFY(program);
        TChessBrd* board = program->MainWindow().Board();
        QCOMPARE(board->SquareColorDark(), QColor(0, 0, 128));
        QCOMPARE(board->SearchDepth(), 2);
    }
    QCOMPARE(warnings, QStringList());
    QCOMPARE(errors, QStringList());
    SetErrorHandler({});
    SetProgramFolder({});
}

QTEST_MAIN(TestInstalledStart)
#include "tst_installed_start.moc"
