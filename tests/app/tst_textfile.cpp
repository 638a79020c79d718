// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reading and writing on real files, program paths and the error hook.
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "uikit/ErrorReport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

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

// A tiny tmpfs mounted for one test and taken away with it, so a full disk is real.
class TinyDisk {
public:
    explicit TinyDisk(const QString& path) : path_(QFile::encodeName(path)) {
        QDir().mkpath(path);
        mounted_ = ::mount("tmpfs", path_.constData(), "tmpfs", 0, "size=64k") == 0;
        if (!mounted_)
            why_ = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~TinyDisk() {
        if (mounted_)
            ::umount2(path_.constData(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    QString Why() const { return why_; }

private:
    QByteArray path_;
    bool mounted_ = false;
    QString why_;
};

// Writes blocks until the disk refuses one; answers how many bytes went in.
qint64 FillDisk(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return -1;
    const QByteArray block(4096, 'x');
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::write(fd, block.constData(), block.size());
        if (n <= 0)
            break;
        total += n;
    }
    ::close(fd);
    return total;
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
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void refusesHugeFile_data();
    void refusesHugeFile();
    void endlessDeviceIsRefused();
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
    QTest::newRow("only one BOM skipped")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringList{u"\uFEFFx"_qs};
    QTest::newRow("BOM alone") << QByteArray("\xEF\xBB\xBF") << QStringList();
    QTest::newRow("BOM later is text")
        << QByteArray("a\n\xEF\xBB\xBF") << QStringList{"a", u"\uFEFF"_qs};
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
    // A first line that itself starts with U+FEFF survives the dropped byte order mark.
    const QStringList marked{u"\uFEFFmarked"_qs, u"\uFEFF"_qs};
    QVERIFY(WriteTextLines(path, marked));
    QVERIFY(ReadTextLines(path, read));
    QCOMPARE(read, marked);
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

void TestTextFile::fullDiskKeepsOldFile_data() {
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("lineLength");
    // A five-line saved game stays in the write buffer until it is flushed; a large file goes
    // to the disk while it is written. Both must fail on a full disk.
    QTest::newRow("small, buffered") << 5 << 64;
    QTest::newRow("larger than the buffer") << 400 << 100;
}

void TestTextFile::fullDiskKeepsOldFile() {
    QFETCH(int, lineCount);
    QFETCH(int, lineLength);
    const QString mount = dir_.filePath("tiny");
    TinyDisk disk(mount);
    if (!disk.Mounted())
        QSKIP(qPrintable("Mounting a 64 KiB tmpfs is not permitted here (" + disk.Why() +
                         "); the full-disk save is tested only where mounting is allowed, as "
                         "root in CI."));
    const QString path = mount + "/game.cvg";
    const QStringList old{"old", "rnbqkbnrpppppppp", "1. E2-E4"};
    QVERIFY(WriteTextLines(path, old));
    const QByteArray oldBytes = ReadBytes(path);
    QVERIFY(FillDisk(mount + "/filler") > 0);

    const QStringList lines(lineCount, QString(lineLength, u'n'));
    QString error;
    QVERIFY2(!WriteTextLines(path, lines, &error), "a save on a full disk reported success");
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(ReadBytes(path), oldBytes);
    // Nothing is left behind beside the old file and the filler.
    QCOMPARE(QDir(mount).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // Once there is room again the same save goes through.
    QVERIFY(QFile::remove(mount + "/filler"));
    QVERIFY2(WriteTextLines(path, lines, &error), qPrintable(error));
    QStringList read;
    QVERIFY(ReadTextLines(path, read));
    QCOMPARE(read, lines);
}

void TestTextFile::refusesHugeFile_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("readable");
    QTest::newRow("at the limit") << MaxTextFileBytes << true;
    QTest::newRow("one byte over") << MaxTextFileBytes + 1 << false;
    QTest::newRow("100 MiB") << qint64(100) * 1024 * 1024 << false;
}

void TestTextFile::refusesHugeFile() {
    QFETCH(qint64, size);
    QFETCH(bool, readable);
    // A sparse file: as large as asked, without taking the disk space.
    const QString path = dir_.filePath("huge.cvg");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(size));
    }
    QStringList read{"kept"};
    QString error;
    QCOMPARE(ReadTextLines(path, read, &error), readable);
    if (readable) {
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.first().size(), size);
        return;
    }
    QCOMPARE(read, QStringList{"kept"});
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)) && error.contains("MiB"),
             qPrintable(error));
}

void TestTextFile::endlessDeviceIsRefused() {
    // A device has no size to check first; the reading itself stops at the limit.
    QStringList read{"kept"};
    QString error;
    QVERIFY(!ReadTextLines("/dev/zero", read, &error));
    QVERIFY2(error.contains("/dev/zero") && error.contains("MiB"), qPrintable(error));
    QCOMPARE(read, QStringList{"kept"});
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
