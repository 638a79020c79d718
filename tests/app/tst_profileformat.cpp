// SPDX-License-Identifier: GPL-3.0-or-later
// Colour text, priority codes and number lines of a settings profile.
#include "formats/ProfileFormat.h"

#include <QApplication>
#include <QPalette>
#include <QtTest>

Q_DECLARE_METATYPE(TThreadPriority)

class TestProfileFormat : public QObject {
    Q_OBJECT
private slots:
    void colourToText_data();
    void colourToText();
    void textToColour_data();
    void textToColour();
    void systemColours_data();
    void systemColours();
    void refusedColourText_data();
    void refusedColourText();
    void priorityCodes();
    void profileInt_data();
    void profileInt();
    void flags();
};

void TestProfileFormat::colourToText_data() {
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("maroon") << QColor(128, 0, 0) << "clMaroon";
    QTest::newRow("navy") << QColor(0, 0, 128) << "clNavy";
    QTest::newRow("red 1 green 2 blue 3") << QColor(1, 2, 3) << "$00030201";
    QTest::newRow("upper-case hex") << QColor(0xAB, 0xCD, 0xEF) << "$00EFCDAB";
    QTest::newRow("near maroon") << QColor(128, 0, 1) << "$00010080";
}

void TestProfileFormat::colourToText() {
    QFETCH(QColor, colour);
    QFETCH(QString, text);
    QCOMPARE(ColourToText(colour), text);
    QColor back;
    QVERIFY(TextToColour(text, &back));
    QCOMPARE(back, colour);
}

void TestProfileFormat::textToColour_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("name, other case") << "CLmaroon" << QColor(128, 0, 0);
    QTest::newRow("aqua") << "clAqua" << QColor(0, 255, 255);
    QTest::newRow("short hex, lower case") << "$ff" << QColor(255, 0, 0);
    QTest::newRow("decimal is BGR too") << "197121" << QColor(1, 2, 3);
    QTest::newRow("decimal with blanks") << " 128 " << QColor(128, 0, 0);
}

void TestProfileFormat::textToColour() {
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QColor got;
    QVERIFY(TextToColour(text, &got));
    QCOMPARE(got, colour);
}

void TestProfileFormat::systemColours_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::newRow("clBtnFace") << "clBtnFace" << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("hex $8000000F") << "$8000000F" << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("signed decimal")
        << "-2147483633" << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("clWindow") << "clwindow" << int(QPalette::Active) << int(QPalette::Base);
    QTest::newRow("clWindowText") << "clWindowText" << int(QPalette::Active) << int(QPalette::Text);
    QTest::newRow("clInfoBk by number")
        << "$80000018" << int(QPalette::Active) << int(QPalette::ToolTipBase);
    QTest::newRow("clScrollBar is index 0")
        << "$80000000" << int(QPalette::Active) << int(QPalette::Button);
}

void TestProfileFormat::systemColours() {
    QFETCH(QString, text);
    QFETCH(int, group);
    QFETCH(int, role);
    // A palette whose every role differs tells a wrong role apart from a right one.
    const QPalette saved = QApplication::palette();
    QPalette p;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r)
            p.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r), QColor(g * 40, r * 9, 7));
    QApplication::setPalette(p);
    QColor got;
    const bool ok = TextToColour(text, &got);
    QApplication::setPalette(saved);
    QVERIFY(ok);
    QCOMPARE(got, p.color(QPalette::ColorGroup(group), QPalette::ColorRole(role)));
}

void TestProfileFormat::refusedColourText_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("unknown name") << "clPink";
    QTest::newRow("bare dollar") << "$";
    QTest::newRow("not hex") << "$00GG0000";
    QTest::newRow("too wide") << "$100000000";
    QTest::newRow("top byte neither 0 nor system") << "$01000000";
    QTest::newRow("system index past the list") << "$80000019";
    QTest::newRow("minus one") << "-1";
    QTest::newRow("decimal with junk") << "12x";
    QTest::newRow("decimal beyond 32 bits") << "4294967296";
}

void TestProfileFormat::refusedColourText() {
    QFETCH(QString, text);
    QColor got(1, 2, 3);
    QVERIFY(!TextToColour(text, &got));
    QCOMPARE(got, QColor(1, 2, 3));
}

void TestProfileFormat::priorityCodes() {
    QCOMPARE(PriorityToCode(TThreadPriority::tpNormal), 3);
    QCOMPARE(PriorityToCode(TThreadPriority::tpTimeCritical), 0);
    QCOMPARE(PriorityToCode(TThreadPriority::tpIdle), 6);
    for (int code = 0; code <= 6; ++code) {
        TThreadPriority p = TThreadPriority::tpNormal;
        QVERIFY(CodeToPriority(code, &p));
        QCOMPARE(PriorityToCode(p), code);
    }
    TThreadPriority p = TThreadPriority::tpLower;
    QVERIFY(CodeToPriority(0, &p));
    QCOMPARE(p, TThreadPriority::tpTimeCritical);
    QVERIFY(CodeToPriority(6, &p));
    QCOMPARE(p, TThreadPriority::tpIdle);
    QVERIFY(!CodeToPriority(9, &p));
    QVERIFY(!CodeToPriority(-1, &p));
    QCOMPARE(p, TThreadPriority::tpIdle);
}

void TestProfileFormat::profileInt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "5" << true << 5;
    QTest::newRow("no theme") << "-1" << true << -1;
    QTest::newRow("plus and blanks") << "  +12\t" << true << 12;
    QTest::newRow("int max") << "2147483647" << true << 2147483647;
    QTest::newRow("int min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("past int") << "2147483648" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("inner blank") << "1 2" << false << 0;
    QTest::newRow("hex") << "0x10" << false << 0;
    QTest::newRow("fraction") << "3.0" << false << 0;
}

void TestProfileFormat::profileInt() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    int got = 77;
    QCOMPARE(ParseProfileInt(text, &got), ok);
    QCOMPARE(got, ok ? value : 77);
}

void TestProfileFormat::flags() {
    bool on = false;
    QVERIFY(ParseProfileFlag("1", &on));
    QVERIFY(on);
    QVERIFY(ParseProfileFlag("2", &on));
    QVERIFY(!on);
    on = true;
    QVERIFY(!ParseProfileFlag("on", &on));
    QVERIFY(on);
}

QTEST_MAIN(TestProfileFormat)
#include "tst_profileformat.moc"
