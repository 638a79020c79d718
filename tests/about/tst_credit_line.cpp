// SPDX-License-Identifier: GPL-3.0-or-later
// The mark-up of a credits line, read from strings.
#include "about/CreditLine.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// "r,g,b" of the line's own colour, or "" when it takes the font's.
QString ColorText(const TCreditLine& l) {
    if (!l.Color) {
        return {};
    }
    return QString("%1,%2,%3").arg(l.Color->red()).arg(l.Color->green()).arg(l.Color->blue());
}

// Flags as letters, so that a failing row shows at a glance what was set.
QString Flags(const TCreditLine& l) {
    return QString(l.Bold ? "b" : "") + (l.Italic ? "i" : "") + (l.Underline ? "u" : "");
}

} // namespace

class TestCreditLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void composedLines();
};

void TestCreditLine::parse_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("color");

    QTest::newRow("plain") << "Hello, world"
                           << "Hello, world"
                           << ""
                           << "";
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
    QTest::newRow("other scripts") << "Ünïcödé ♞ 象棋"
                                   << "Ünïcödé ♞ 象棋"
                                   << ""
                                   << "";
    // The escaped ampersand must not go on to read the "b" as a mark.
    QTest::newRow("&&b is text") << "&&b"
                                 << "&b"
                                 << ""
                                 << "";
    QTest::newRow("&&&b") << "&&&b"
                          << "&"
                          << "b"
                          << "";
    QTest::newRow("&&&&") << "&&&&"
                          << "&&"
                          << ""
                          << "";
    QTest::newRow("marks anywhere") << "a&ib&uc"
                                    << "abc"
                                    << "iu"
                                    << "";
    QTest::newRow("upper case") << "&B&I&Ux&C1,2,3;"
                                << "x"
                                << "biu"
                                << "1,2,3";
    QTest::newRow("bold twice") << "&bA&bB"
                                << "AB"
                                << "b"
                                << "";
    QTest::newRow("unknown pair") << "a&xb"
                                  << "ab"
                                  << ""
                                  << "";
    QTest::newRow("unknown pair: space") << "a& b"
                                         << "ab"
                                         << ""
                                         << "";
    QTest::newRow("unknown pair: semicolon") << "&;x"
                                             << "x"
                                             << ""
                                             << "";
    QTest::newRow("trailing &") << "end&"
                                << "end"
                                << ""
                                << "";
    QTest::newRow("lone &") << "&"
                            << ""
                            << ""
                            << "";
    QTest::newRow("&& then trailing &") << "&&&"
                                        << "&"
                                        << ""
                                        << "";
    QTest::newRow("only mark-up") << "&b&i&u&c1,2,3;"
                                  << ""
                                  << "biu"
                                  << "1,2,3";

    QTest::newRow("colour in the middle") << "be&c0,255,0;fore"
                                          << "before"
                                          << ""
                                          << "0,255,0";
    QTest::newRow("colour first") << "&c255,0,0;red"
                                  << "red"
                                  << ""
                                  << "255,0,0";
    QTest::newRow("colour to the end") << "x&c1,2,3"
                                       << "x"
                                       << ""
                                       << "1,2,3";
    QTest::newRow("leading zeros") << "&c000,0255,007;z"
                                   << "z"
                                   << ""
                                   << "0,255,7";
    QTest::newRow("bounds") << "&c0,0,0;&c255,255,255;"
                            << ""
                            << ""
                            << "255,255,255";
    QTest::newRow("last colour counts") << "&c1,2,3;a&c4,5,6;b"
                                        << "ab"
                                        << ""
                                        << "4,5,6";
    QTest::newRow("colour then escaped &") << "&c1,2,3;&&c"
                                           << "&c"
                                           << ""
                                           << "1,2,3";
    QTest::newRow("text after ; kept") << "&c1,2,3;;x"
                                       << ";x"
                                       << ""
                                       << "1,2,3";

    // Every malformed colour falls back to the font colour, and its text up to ";" is eaten.
    QTest::newRow("two components") << "&c1,2;x"
                                    << "x"
                                    << ""
                                    << "";
    QTest::newRow("four components") << "&c1,2,3,4;x"
                                     << "x"
                                     << ""
                                     << "";
    QTest::newRow("trailing comma") << "&c1,2,3,;x"
                                    << "x"
                                    << ""
                                    << "";
    QTest::newRow("empty first") << "&c,2,3;x"
                                 << "x"
                                 << ""
                                 << "";
    QTest::newRow("empty middle") << "&c1,,3;x"
                                  << "x"
                                  << ""
                                  << "";
    QTest::newRow("empty last") << "&c1,2,;x"
                                << "x"
                                << ""
                                << "";
    QTest::newRow("nothing") << "&c;x"
                             << "x"
                             << ""
                             << "";
    QTest::newRow("nothing at end") << "x&c"
                                    << "x"
                                    << ""
                                    << "";
    QTest::newRow("letters") << "&cred;x"
                             << "x"
                             << ""
                             << "";
    QTest::newRow("hex") << "&c0x10,0,0;x"
                         << "x"
                         << ""
                         << "";
    QTest::newRow("256") << "&c256,0,0;x"
                         << "x"
                         << ""
                         << "";
    QTest::newRow("huge") << "&c99999999999999999999,0,0;x"
                          << "x"
                          << ""
                          << "";
    QTest::newRow("negative") << "&c-1,0,0;x"
                              << "x"
                              << ""
                              << "";
    QTest::newRow("plus") << "&c+1,0,0;x"
                          << "x"
                          << ""
                          << "";
    QTest::newRow("spaces") << "&c 1,2,3;x"
                            << "x"
                            << ""
                            << "";
    QTest::newRow("decimal point") << "&c1.5,2,3;x"
                                   << "x"
                                   << ""
                                   << "";
    QTest::newRow("malformed last wins") << "&c1,2,3;a&c300,0,0;b"
                                         << "ab"
                                         << ""
                                         << "";
    QTest::newRow("malformed then good") << "&c300,0,0;a&c7,8,9;b"
                                         << "ab"
                                         << ""
                                         << "7,8,9";
}

void TestCreditLine::parse() {
    QFETCH(QString, line);
    QFETCH(QString, text);
    QFETCH(QString, flags);
    QFETCH(QString, color);
    const TCreditLine l = ParseCreditLine(line);
    QCOMPARE(l.Text, text);
    QCOMPARE(Flags(l), flags);
    QCOMPARE(ColorText(l), color);
}

// Lines built from pieces whose meaning is known as they are chosen: the parser must give back
// exactly the text and marks the pieces stand for, whatever their order.
void TestCreditLine::composedLines() {
    QRandomGenerator rng(20261208);
    const QString plain = "abcxyzBCU;,0123 é♞";
    for (int round = 0; round < 3000; ++round) {
        QString line;
        QString text;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        std::optional<QColor> color;
        const int pieces = rng.bounded(8);
        for (int p = 0; p < pieces; ++p) {
            switch (rng.bounded(7)) {
            case 0:
            case 1: {
                // Plain text may hold ";" and "," and letters that are marks after "&".
                const int len = rng.bounded(1, 5);
                for (int i = 0; i < len; ++i) {
                    const QChar c = plain[rng.bounded(int(plain.size()))];
                    line += c;
                    text += c;
                }
                break;
            }
            case 2:
                line += "&&";
                text += "&";
                break;
            case 3: {
                const char* marks[] = {"&b", "&i", "&u", "&B", "&I", "&U"};
                const int m = rng.bounded(6);
                line += marks[m];
                bold |= m % 3 == 0;
                italic |= m % 3 == 1;
                underline |= m % 3 == 2;
                break;
            }
            case 4: {
                const QColor c(rng.bounded(256), rng.bounded(256), rng.bounded(256));
                line += QString("&c%1,%2,%3;").arg(c.red()).arg(c.green()).arg(c.blue());
                color = c;
                break;
            }
            case 5: {
                const QString bad[] = {"&c1,2;", "&c1,2,3,4;", "&c256,0,0;", "&c,,;", "&cx;"};
                line += bad[rng.bounded(5)];
                color.reset();
                break;
            }
            case 6:
                line += QString("&") + QChar(u"xyz#-!?"[rng.bounded(7)]);
                break;
            }
        }
        if (rng.bounded(4) == 0) {
            line += "&";
        }
        const TCreditLine l = ParseCreditLine(line);
        QCOMPARE(l.Text, text);
        QCOMPARE(l.Bold, bold);
        QCOMPARE(l.Italic, italic);
        QCOMPARE(l.Underline, underline);
        QCOMPARE(l.Color.has_value(), color.has_value());
        if (color) {
            QCOMPARE(*l.Color, *color);
        }
    }
}

QTEST_APPLESS_MAIN(TestCreditLine)
#include "tst_credit_line.moc"
