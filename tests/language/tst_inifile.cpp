// SPDX-License-Identifier: GPL-3.0-or-later
// The INI reader of the language files, driven from strings and bytes.
#include "language/IniFile.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

TIniFile Ini(const char* utf8) {
    return TIniFile::FromBytes(QByteArray(utf8));
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void namesIgnoreCaseAndBlanks() {
        const TIniFile f = Ini("[File Menu]\r\n  1 =  Load Game \t\r\n\tKEY\t=\tvalue\r\n");
        QCOMPARE(f.ReadString("file menu", "1", "d"), QString("Load Game"));
        QCOMPARE(f.ReadString("FILE MENU", "key", "d"), QString("value"));
        QCOMPARE(f.ReadString("File Menu", "Key", "d"), QString("value"));
        // Inner blanks of a name are part of it.
        QCOMPARE(f.ReadString("FileMenu", "1", "d"), QString("d"));
    }

    void valueIsAfterTheFirstEquals() {
        const TIniFile f = Ini("[s]\na = b = c\nempty=\nspaces =   \n==x\n");
        QCOMPARE(f.ReadString("s", "a", "d"), QString("b = c"));
        // A key that is there with nothing after "=" reads as empty, not as its default.
        QCOMPARE(f.ReadString("s", "empty", "d"), QString(""));
        QCOMPARE(f.ReadString("s", "spaces", "d"), QString(""));
        // A line with no key before "=" gives nothing.
        QCOMPARE(f.Sections().first().Values.size(), 3);
    }

    void valuesAreCutTo2047Characters() {
        const QString exact(TIniFile::MaxValueLength, u'x');
        const QString longer = exact + "yz";
        const TIniFile f = TIniFile::FromLines(
            {"[s]", "exact=" + exact, "long=" + longer, "pad=  " + exact + "  "});
        QCOMPARE(f.ReadString("s", "exact", {}).size(), 2047);
        QCOMPARE(f.ReadString("s", "long", {}), exact);
        // The blanks go before the cut.
        QCOMPARE(f.ReadString("s", "pad", {}), exact);
        // A character outside the basic plane is never cut in half.
        const QString clef = QString::fromUcs4(U"\U0001D11E");
        const TIniFile g = TIniFile::FromLines({"[s]", "k=" + QString(2046, u'a') + clef + "b"});
        QCOMPARE(g.ReadString("s", "k", {}), QString(2046, u'a'));
    }

    void missingThingsGiveTheDefault() {
        const TIniFile f = Ini("before=section\n[s]\nk=v\n");
        QCOMPARE(f.ReadString("s", "other", "def"), QString("def"));
        QCOMPARE(f.ReadString("t", "k", "def"), QString("def"));
        QCOMPARE(f.ReadString("", "before", "def"), QString("def"));
        QCOMPARE(TIniFile().ReadString("s", "k", "def"), QString("def"));
        QTemporaryDir dir;
        const TIniFile missing = TIniFile::Load(dir.filePath("nothing.ini"));
        QCOMPARE(missing.ReadString("s", "k", "def"), QString("def"));
        QVERIFY(missing.SectionNames().isEmpty());
        // A folder where the file should be reads as no file.
        QVERIFY(TIniFile::Load(dir.path()).SectionNames().isEmpty());
    }

    void sectionsInFileOrderAndTheFirstAnswers() {
        const TIniFile f = Ini("[Zulu]\nk=1\n[alpha]\nk=2\nk=3\n[ Mid ]\n[ZULU]\nk=4\nj=5\n[]\n");
        QCOMPARE(f.SectionNames(), (QStringList{"Zulu", "alpha", "Mid", "ZULU", ""}));
        QCOMPARE(f.ReadString("zulu", "k", "d"), QString("1"));
        // Only the first section of a name is read, as the platform's profile reader does.
        QCOMPARE(f.ReadString("zulu", "j", "d"), QString("d"));
        QCOMPARE(f.ReadString("Alpha", "k", "d"), QString("2"));
        QCOMPARE(f.ReadString("mid", "k", "d"), QString("d"));
    }

    void oddLinesGiveNothing() {
        const TIniFile f =
            Ini("; a comment=with equals\n[s\n[t]\n;k=commented\nno equals here\nk=v\n"
                "[u] trailing\nx=y\n[v]w]\nz=1\n");
        // "[s" never closes: it opens no section.
        QCOMPARE(f.SectionNames(), (QStringList{"t", "u", "v]w"}));
        QCOMPARE(f.ReadString("t", "k", "d"), QString("v"));
        QCOMPARE(f.ReadString("t", ";k", "d"), QString("d"));
        QCOMPARE(f.ReadString("t", "no equals here", "d"), QString("d"));
        QCOMPARE(f.ReadString("v]w", "z", "d"), QString("1"));
    }

    void lineEndsOfEveryKind() {
        const TIniFile f = Ini("[a]\rk=1\n[b]\r\nk=2\r\r\n[c]\nk=3");
        QCOMPARE(f.ReadString("a", "k", {}), QString("1"));
        QCOMPARE(f.ReadString("b", "k", {}), QString("2"));
        QCOMPARE(f.ReadString("c", "k", {}), QString("3"));
    }

    void utf8ElseWindows1252() {
        // Valid UTF-8 (with or without a byte order mark) is read as UTF-8.
        const TIniFile u = Ini("\xEF\xBB\xBF[\xC4\x8C"
                               "e\xC5\xA1tina]\ndata=czech.ini\n"
                               "[\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9]\n"
                               "k=\xE2\x82\xAC\n");
        QCOMPARE(u.SectionNames(),
                 (QStringList{QString::fromUtf8("Čeština"), QString::fromUtf8("Русский")}));
        QCOMPARE(u.ReadString(QString::fromUtf8("русский"), "K", {}), QString::fromUtf8("€"));
        // One byte that is no UTF-8 makes the whole file Windows-1252, the 8-bit code page
        // older language files were written in.
        const TIniFile w = Ini("[Fran\xE7"
                               "ais]\nk=\x80 \x93quoted\x94 \xC4\x8C\n");
        QCOMPARE(w.SectionNames(), QStringList{QString::fromUtf8("Français")});
        QCOMPARE(w.ReadString(QString::fromUtf8("FRANÇAIS"), "k", {}),
                 QString::fromUtf8("€ “quoted” Ä\u0152"));
    }

    void loadReadsAFileOnDisk() {
        QTemporaryDir dir;
        QFile file(dir.filePath("x.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Deutsch]\r\ndata=german.ini\r\n[English]\r\n");
        file.close();
        const TIniFile f = TIniFile::Load(file.fileName());
        QCOMPARE(f.SectionNames(), (QStringList{"Deutsch", "English"}));
        QCOMPARE(f.ReadString("deutsch", "DATA", "english.ini"), QString("german.ini"));
        QCOMPARE(f.ReadString("English", "data", "english.ini"), QString("english.ini"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
