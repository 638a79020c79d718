// Whole-file reading and writing on real files, program paths and the error hook.
#include "app/core/ErrorReport.h"
#include "app/core/ProgramFolder.h"
#include "app/core/TextFile.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsAnyLineEnd_data();
    void readsAnyLineEnd();
    void writesCrLfUtf8();
    void roundTripsNonAscii();
    void missingFileNamesIt();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void programPath_data();
    void programPath();
    void reportGoesToHandler();

private:
    QTemporaryDir dir_;
};

void TestTextFile::init() {
    QVERIFY(dir_.isValid());
}

void TestTextFile::readsAnyLineEnd_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QStringList abc{"alpha", "", "gamma"};
    QTest::newRow("CR LF") << QByteArray("alpha\r\n\r\ngamma\r\n") << abc;
    QTest::newRow("LF") << QByteArray("alpha\n\ngamma\n") << abc;
    QTest::newRow("CR") << QByteArray("alpha\r\rgamma\r") << abc;
    QTest::newRow("mixed, no final end") << QByteArray("alpha\r\n\rgamma") << abc;
    QTest::newRow("LF CR is two ends") << QByteArray("alpha\n\rgamma\n") << abc;
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("UTF-8 BOM skipped") << QByteArray("\xEF\xBB\xBFx\r\ny") << QStringList{"x", "y"};
    // Not valid UTF-8, so the whole file is single-byte: é, € and the 0x80-0x9F quotes.
    QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x80\n\x93q\x94 \x8A\x9F\xFF")
                                  << QStringList{u"Café €"_qs, u"\u201Cq\u201D \u0160\u0178ÿ"_qs};
    QTest::newRow("cut-off UTF-8 sequence") << QByteArray("ok\n\xC3") << QStringList{"ok", "Ã"};
}

void TestTextFile::readsAnyLineEnd() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const QString path = dir_.filePath("in.txt");
    WriteBytes(path, bytes);
    QStringList read{"stale"};
    QString error;
    QVERIFY(ReadTextLines(path, read, &error));
    QCOMPARE(read, lines);
}

void TestTextFile::writesCrLfUtf8() {
    const QString path = dir_.filePath("out.txt");
    QVERIFY(WriteTextLines(path, {"clMaroon", "", u"Ж é"_qs}));
    QCOMPARE(ReadBytes(path), QByteArray("clMaroon\r\n\r\n\xD0\x96 \xC3\xA9\r\n"));
    QVERIFY(WriteTextLines(path, {}));
    QCOMPARE(ReadBytes(path), QByteArray());
}

void TestTextFile::roundTripsNonAscii() {
    // Cyrillic and accented names both in the contents and in the file name itself.
    const QString path = dir_.filePath(u"Профиль élan"_qs);
    const QStringList lines{u"Шахматы"_qs, u"Ærøskøbing café"_qs, "plain", "€"};
    QVERIFY(WriteTextLines(path, lines));
    QStringList read;
    QVERIFY(ReadTextLines(path, read));
    QCOMPARE(read, lines);
}

void TestTextFile::missingFileNamesIt() {
    const QString path = dir_.filePath("nowhere.txt");
    QStringList read{"kept"};
    QString error;
    QVERIFY(!ReadTextLines(path, read, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(read, QStringList{"kept"});
    QVERIFY(!ReadTextLines(dir_.path(), read, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(dir_.path())), qPrintable(error));
}

void TestTextFile::failedWriteKeepsOldFile_data() {
    // Root ignores permissions, so the failures come from the shape of the path instead.
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("kept");
    QTest::newRow("parent is a file") << "plain/child.txt"
                                      << "plain";
    QTest::newRow("target is a folder") << "folder"
                                        << "plain";
}

void TestTextFile::failedWriteKeepsOldFile() {
    QFETCH(QString, target);
    QFETCH(QString, kept);
    const QString plain = dir_.filePath("plain");
    QVERIFY(WriteTextLines(plain, {"old"}));
    QVERIFY(QDir(dir_.path()).mkpath("folder"));
    const QString path = dir_.filePath(target);
    QString error;
    QVERIFY(!WriteTextLines(path, {"new"}, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(ReadBytes(dir_.filePath(kept)), QByteArray("old\r\n"));
    QVERIFY(QFileInfo(dir_.filePath("folder")).isDir());
}

void TestTextFile::programPath_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("path");
    QTest::newRow("leading backslash") << "/opt/corv"
                                       << "\\Settings\\Default"
                                       << "/opt/corv/Settings/Default";
    QTest::newRow("no leading separator") << "/opt/corv"
                                          << "pieces\\x.bmp"
                                          << "/opt/corv/pieces/x.bmp";
    QTest::newRow("folder ends in slash") << "/opt/corv/"
                                          << "\\al.dat"
                                          << "/opt/corv/al.dat";
    QTest::newRow("short folder name kept whole") << "/a"
                                                  << "\\lang\\info.ini"
                                                  << "/a/lang/info.ini";
    QTest::newRow("root folder") << "/"
                                 << "\\bg\\stone.jpg"
                                 << "/bg/stone.jpg";
    QTest::newRow("nothing relative") << "/opt/corv"
                                      << ""
                                      << "/opt/corv";
}

void TestTextFile::programPath() {
    QFETCH(QString, folder);
    QFETCH(QString, relative);
    QFETCH(QString, path);
    SetProgramFolder(folder);
    QCOMPARE(ProgramFolder(), folder);
    QCOMPARE(ProgramPath(relative), path);
    SetProgramFolder(QString());
    QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
}

void TestTextFile::reportGoesToHandler() {
    QStringList seen;
    SetErrorHandler([&seen](const QString& text) { seen << text; });
    ReportError("'x' is not a valid integer value");
    ReportError("second");
    SetErrorHandler({});
    QCOMPARE(seen, (QStringList{"'x' is not a valid integer value", "second"}));
}

QTEST_MAIN(TestTextFile)
#include "tst_textfile.moc"
