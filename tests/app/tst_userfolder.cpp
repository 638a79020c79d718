// SPDX-License-Identifier: GPL-3.0-or-later
// The choice of the program folder (portable or per-user) and the filling of the per-user
// folder, on real folders and files.
#include "common/UserFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The relative paths of every file under `root` but the record of installed files, sorted.
QStringList FilesUnder(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.removeAll(InstalledRecordName);
    files.sort();
    return files;
}

// An installed tree: prefix/bin (no data) and prefix/share/corvina with the program's data.
void MakeInstalledTree(const QString& prefix) {
    QDir().mkpath(prefix + "/bin");
    WriteFile(prefix + "/share/corvina/chlist.dat", "1 position\n");
    WriteFile(prefix + "/share/corvina/pieces/Merlot.bmp", QByteArray(300, 'b'));
    WriteFile(prefix + "/share/corvina/Settings/Default", "clMaroon\r\n");
    WriteFile(prefix + "/share/corvina/al.dat", "");
    WriteFile(prefix + "/share/corvina/bg/stone.jpg", QByteArray(500, 'j'));
    WriteFile(prefix + "/share/corvina/lang/.hidden", "kept too");
}

} // namespace

class TestUserFolder : public QObject {
    Q_OBJECT
private slots:
    void planIsPortableExactlyWithDataAndWriting();
    void planNamesThePerUserFolder_data();
    void planNamesThePerUserFolder();
    void factsSeeDataOnlyAsFileAndFolder();
    void buildFolderIsPortable();
    void fillCopiesEverythingOnceThenOnlyWhatIsMissing();
    void fillBringsInNewVersionsOnlyOfUnchangedFiles();
    void fillLeavesLinksAndReportsWhatCannotBeMade();
    void fillMakesCopiesTheUserMayWrite();
    void prepareFillsThePerUserFolder();
    void prepareFallsBackToInstalledDataWithOneWarning();
    void prepareKeepsACompleteUserFolderWithoutInstalledData();
};

// Whatever the environment, the executable's folder is the program folder exactly when it
// holds the data and may be written; otherwise the folder is absolute or empty, never the
// executable's folder, and never relative.
void TestUserFolder::planIsPortableExactlyWithDataAndWriting() {
    const QStringList xdgs = {"", "/x/data", "relative/data", "/x/data/"};
    const QStringList homes = {"", "/home/u", "home"};
    for (bool data : {false, true})
        for (bool writable : {false, true})
            for (const QString& xdg : xdgs)
                for (const QString& home : homes) {
                    const TFolderFacts facts{"/opt/game/bin", writable, data, xdg, home};
                    const TFolderPlan plan = PlanProgramFolder(facts);
                    const QString what = QString("data %1 writable %2 xdg '%3' home '%4'")
                                             .arg(data)
                                             .arg(writable)
                                             .arg(xdg, home);
                    QVERIFY2(plan.Portable == (data && writable), qPrintable(what));
                    if (plan.Portable) {
                        QCOMPARE(plan.Folder, QString("/opt/game/bin"));
                        QVERIFY(plan.InstalledData.isEmpty());
                        continue;
                    }
                    QVERIFY2(plan.Folder.isEmpty() || QDir::isAbsolutePath(plan.Folder),
                             qPrintable(what));
                    QVERIFY2(plan.Folder != "/opt/game/bin", qPrintable(what));
                    QCOMPARE(plan.InstalledData,
                             data ? QString("/opt/game/bin") : QString("/opt/game/share/corvina"));
                }
}

void TestUserFolder::planNamesThePerUserFolder_data() {
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("folder");
    QTest::newRow("XDG_DATA_HOME") << "/d/share"
                                   << "/home/u"
                                   << "/d/share/corvina";
    QTest::newRow("trailing slash") << "/d/share/"
                                    << "/home/u"
                                    << "/d/share/corvina";
    QTest::newRow("unset: HOME") << ""
                                 << "/home/u"
                                 << "/home/u/.local/share/corvina";
    QTest::newRow("relative is ignored") << "share"
                                         << "/home/u"
                                         << "/home/u/.local/share/corvina";
    QTest::newRow("HOME with slash") << ""
                                     << "/home/u/"
                                     << "/home/u/.local/share/corvina";
    QTest::newRow("nothing") << ""
                             << ""
                             << "";
    QTest::newRow("relative HOME") << ""
                                   << "u"
                                   << "";
}

void TestUserFolder::planNamesThePerUserFolder() {
    QFETCH(QString, xdg);
    QFETCH(QString, home);
    QFETCH(QString, folder);
    const TFolderPlan plan = PlanProgramFolder({"/usr/bin", false, false, xdg, home});
    QVERIFY(!plan.Portable);
    QCOMPARE(plan.Folder, folder);
    QCOMPARE(plan.InstalledData, QString("/usr/share/corvina"));
}

void TestUserFolder::factsSeeDataOnlyAsFileAndFolder() {
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(!HoldsProgramData(root));
    QVERIFY(WriteFile(root + "/chlist.dat", "x"));
    QVERIFY(!HoldsProgramData(root));
    QVERIFY(WriteFile(root + "/pieces", "a file, not the folder"));
    QVERIFY(!HoldsProgramData(root));
    QVERIFY(QFile::remove(root + "/pieces"));
    QVERIFY(QDir().mkpath(root + "/pieces"));
    QVERIFY(HoldsProgramData(root));
    QCOMPARE(ReadFolderFacts(root).ExeFolderHasData, true);
    QCOMPARE(ReadFolderFacts(root).ExeFolderWritable, true);
    // The probe leaves nothing behind.
    QCOMPARE(FilesUnder(root), QStringList{"chlist.dat"});

    if (geteuid() != 0) {
        QVERIFY(QFile::setPermissions(root, QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(ReadFolderFacts(root).ExeFolderWritable, false);
        QVERIFY(!PlanProgramFolder(ReadFolderFacts(root)).Portable);
        QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QVERIFY(QDir(root + "/pieces").removeRecursively());
    QCOMPARE(ReadFolderFacts(root).ExeFolderHasData, false);
}

// The build copies data/ beside the executables, so running from the build folder stays
// portable: the program's files are the build folder's.
void TestUserFolder::buildFolderIsPortable() {
    const QString build = QCoreApplication::applicationDirPath();
    const TFolderFacts facts = ReadFolderFacts(build);
    QVERIFY2(facts.ExeFolderHasData, qPrintable(build));
    QVERIFY(facts.ExeFolderWritable);
    QCOMPARE(PrepareProgramFolder(facts, [](const QString& text) { QFAIL(qPrintable(text)); }),
             QDir::cleanPath(build));
}

void TestUserFolder::fillCopiesEverythingOnceThenOnlyWhatIsMissing() {
    QTemporaryDir dir;
    const QString installed = dir.path() + "/usr/share/corvina";
    const QString user = dir.path() + "/home/.local/share/corvina";
    MakeInstalledTree(dir.path() + "/usr");

    TFillResult first = FillMissingFiles(installed, user);
    QCOMPARE(first.Failed, QStringList());
    QCOMPARE(first.Copied, FilesUnder(installed));
    QCOMPARE(FilesUnder(user), FilesUnder(installed));
    for (const QString& f : FilesUnder(installed))
        QCOMPARE(ReadFile(user + "/" + f), ReadFile(installed + "/" + f));

    // The user changes one file, adds one, and loses another.
    QVERIFY(WriteFile(user + "/Settings/Default", "clNavy\r\n"));
    QVERIFY(WriteFile(user + "/Settings/Mine", "mine\r\n"));
    QVERIFY(QFile::remove(user + "/bg/stone.jpg"));
    const QDateTime chlistTime = QFileInfo(user + "/chlist.dat").lastModified();

    const TFillResult second = FillMissingFiles(installed, user);
    QCOMPARE(second.Failed, QStringList());
    QCOMPARE(second.Copied, QStringList{"bg/stone.jpg"});
    QCOMPARE(ReadFile(user + "/bg/stone.jpg"), ReadFile(installed + "/bg/stone.jpg"));
    QCOMPARE(ReadFile(user + "/Settings/Default"), QByteArray("clNavy\r\n"));
    QCOMPARE(ReadFile(user + "/Settings/Mine"), QByteArray("mine\r\n"));
    QCOMPARE(QFileInfo(user + "/chlist.dat").lastModified(), chlistTime);

    // A whole lost folder comes back too; a complete folder copies nothing.
    QVERIFY(QDir(user + "/pieces").removeRecursively());
    QCOMPARE(FillMissingFiles(installed, user).Copied, QStringList{"pieces/Merlot.bmp"});
    QCOMPARE(FillMissingFiles(installed, user).Copied, QStringList());
}

// After an upgrade the installed files differ from the copies: a copy the user never touched
// takes the new version, one the user changed keeps the user's, and without a trustworthy
// record of what was copied nothing present is replaced.
void TestUserFolder::fillBringsInNewVersionsOnlyOfUnchangedFiles() {
    QTemporaryDir dir;
    const QString installed = dir.path() + "/usr/share/corvina";
    const QString user = dir.path() + "/user";
    MakeInstalledTree(dir.path() + "/usr");
    QVERIFY(FillMissingFiles(installed, user).Failed.isEmpty());
    QVERIFY(WriteFile(user + "/Settings/Default", "clNavy\r\n"));
    QVERIFY(WriteFile(installed + "/Settings/Default", "clGreen\r\n"));
    QVERIFY(WriteFile(installed + "/chlist.dat", "2 positions\n"));
    QVERIFY(WriteFile(installed + "/lang/new.ini", "[x]\n"));

    const TFillResult upgrade = FillMissingFiles(installed, user);
    QCOMPARE(upgrade.Failed, QStringList());
    QCOMPARE(upgrade.Updated, QStringList{"chlist.dat"});
    QCOMPARE(upgrade.Copied, QStringList{"lang/new.ini"});
    QCOMPARE(ReadFile(user + "/chlist.dat"), QByteArray("2 positions\n"));
    QCOMPARE(ReadFile(user + "/Settings/Default"), QByteArray("clNavy\r\n"));
    // Nothing is left to do, and the user's Default survives the next upgrade too.
    const TFillResult again = FillMissingFiles(installed, user);
    QVERIFY(again.Copied.isEmpty() && again.Updated.isEmpty());
    QVERIFY(WriteFile(installed + "/Settings/Default", "clBlue\r\n"));
    QVERIFY(FillMissingFiles(installed, user).Updated.isEmpty());
    QCOMPARE(ReadFile(user + "/Settings/Default"), QByteArray("clNavy\r\n"));

    // A lost or garbled record replaces nothing.
    for (const QByteArray& record : {QByteArray(), QByteArray("garbage\nxx chlist.dat\n")}) {
        QVERIFY(WriteFile(user + "/" + InstalledRecordName, record));
        QVERIFY(WriteFile(installed + "/chlist.dat", "3 positions " + record + "\n"));
        QVERIFY(FillMissingFiles(installed, user).Updated.isEmpty());
        QCOMPARE(ReadFile(user + "/chlist.dat"), QByteArray("2 positions\n"));
    }
}

void TestUserFolder::fillLeavesLinksAndReportsWhatCannotBeMade() {
    QTemporaryDir dir;
    const QString installed = dir.path() + "/usr/share/corvina";
    const QString user = dir.path() + "/user";
    MakeInstalledTree(dir.path() + "/usr");
    QVERIFY(QDir().mkpath(user + "/bg"));
    // A link to nowhere stands where a shipped file would go: it is the user's, and copying
    // through it would write wherever it points.
    QVERIFY(QFile::link(dir.path() + "/nowhere", user + "/bg/stone.jpg"));
    // A file stands where a shipped folder would go: that folder's files cannot be made.
    QVERIFY(WriteFile(user + "/pieces", "in the way"));
    const TFillResult result = FillMissingFiles(installed, user);
    QVERIFY(!result.Copied.contains("bg/stone.jpg"));
    QVERIFY(!QFileInfo::exists(dir.path() + "/nowhere"));
    QCOMPARE(result.Failed.size(), 1);
    QVERIFY2(result.Failed.first().contains("pieces"), qPrintable(result.Failed.first()));
    QVERIFY(result.Copied.contains("chlist.dat"));

    // The target itself cannot be made under a regular file.
    const TFillResult none = FillMissingFiles(installed, user + "/pieces/corvina");
    QVERIFY(none.Copied.isEmpty());
    QCOMPARE(none.Failed.size(), 1);
}

void TestUserFolder::fillMakesCopiesTheUserMayWrite() {
    QTemporaryDir dir;
    const QString installed = dir.path() + "/usr/share/corvina";
    MakeInstalledTree(dir.path() + "/usr");
    QVERIFY(QFile::setPermissions(installed + "/Settings/Default",
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QString user = dir.path() + "/user";
    QCOMPARE(FillMissingFiles(installed, user).Failed, QStringList());
    QVERIFY(QFileInfo(user + "/Settings/Default").permissions() & QFile::WriteOwner);
}

void TestUserFolder::prepareFillsThePerUserFolder() {
    QTemporaryDir dir;
    MakeInstalledTree(dir.path() + "/usr");
    const TFolderFacts facts{dir.path() + "/usr/bin", true, false, dir.path() + "/xdg", ""};
    QStringList warnings;
    const auto warn = [&](const QString& text) { warnings << text; };
    QCOMPARE(PrepareProgramFolder(facts, warn), dir.path() + "/xdg/corvina");
    QCOMPARE(FilesUnder(dir.path() + "/xdg/corvina"),
             FilesUnder(dir.path() + "/usr/share/corvina"));
    QVERIFY(QFile::remove(dir.path() + "/xdg/corvina/al.dat"));
    QCOMPARE(PrepareProgramFolder(facts, warn), dir.path() + "/xdg/corvina");
    QVERIFY(QFileInfo::exists(dir.path() + "/xdg/corvina/al.dat"));
    QCOMPARE(warnings, QStringList());
}

void TestUserFolder::prepareFallsBackToInstalledDataWithOneWarning() {
    QTemporaryDir dir;
    MakeInstalledTree(dir.path() + "/usr");
    QVERIFY(WriteFile(dir.path() + "/blocked", "a file where the data folder should be"));
    QStringList warnings;
    const auto warn = [&](const QString& text) { warnings << text; };

    // The per-user folder cannot be made: the installed data, read-only, with one message.
    TFolderFacts facts{dir.path() + "/usr/bin", false, false, dir.path() + "/blocked", ""};
    QCOMPARE(PrepareProgramFolder(facts, warn), dir.path() + "/usr/share/corvina");
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(dir.path() + "/blocked/corvina"),
             qPrintable(warnings.first()));
    QVERIFY2(warnings.first().contains("settings cannot be saved"), qPrintable(warnings.first()));

    // No folder can be named at all.
    warnings.clear();
    facts.XdgDataHome.clear();
    QCOMPARE(PrepareProgramFolder(facts, warn), dir.path() + "/usr/share/corvina");
    QCOMPARE(warnings.size(), 1);

    // Neither installed data nor a user folder: a message, and no crash.
    warnings.clear();
    const TFolderFacts bare{dir.path() + "/elsewhere/bin", false, false, dir.path() + "/x", ""};
    PrepareProgramFolder(bare, warn);
    QCOMPARE(warnings.size(), 1);
}

void TestUserFolder::prepareKeepsACompleteUserFolderWithoutInstalledData() {
    QTemporaryDir dir;
    MakeInstalledTree(dir.path() + "/old");
    QVERIFY(FillMissingFiles(dir.path() + "/old/share/corvina", dir.path() + "/xdg/corvina")
                .Failed.isEmpty());
    const TFolderFacts facts{dir.path() + "/moved/bin", false, false, dir.path() + "/xdg", ""};
    QStringList warnings;
    QCOMPARE(PrepareProgramFolder(facts, [&](const QString& text) { warnings << text; }),
             dir.path() + "/xdg/corvina");
    QCOMPARE(warnings, QStringList());
}

QTEST_GUILESS_MAIN(TestUserFolder)
#include "tst_userfolder.moc"
