// SPDX-License-Identifier: GPL-3.0-or-later
// The scrolling credits control, judged by the pixels it paints and the events it raises.
#include "about/CreditLine.h"
#include "about/Credits.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtTest>

namespace {

const QRgb Black = qRgb(0, 0, 0);

QImage Shot(TScrollingCredits& c) {
    return c.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Bounding box of every pixel that differs from the background, within rows [top, bottom)
// and leaving out the one-pixel border.
QRect InkBox(const QImage& img, int top = 0, int bottom = -1, QRgb background = Black) {
    if (bottom < 0) {
        bottom = img.height();
    }
    QRect box;
    for (int y = std::max(1, top); y < std::min(bottom, img.height() - 1); ++y) {
        for (int x = 1; x < img.width() - 1; ++x) {
            if (img.pixel(x, y) != background) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

// Ink of one text drawn by the test itself, left-aligned at the top of a black image.
QRect ReferenceInk(const QString& text, const QFont& font) {
    QImage img(600, 60, QImage::Format_RGB32);
    img.fill(Black);
    {
        QPainter p(&img);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(10, 4, 580, 50), Qt::AlignLeft | Qt::AlignTop, text);
    }
    return InkBox(img);
}

// A control with plain settings and no border, so that every pixel off the background is text.
std::unique_ptr<TScrollingCredits> Plain(const QStringList& lines, QSize size = {305, 201}) {
    auto c = std::make_unique<TScrollingCredits>();
    c->resize(size);
    c->SetShowBorder(false);
    c->SetCredits(lines);
    return c;
}

int Pitch(const TScrollingCredits& c) {
    return QFontMetrics(c.CreditsFont().Font).height();
}

} // namespace

class TestScrollingCredits : public QObject {
    Q_OBJECT
private slots:
    void defaults();
    void escapedAmpersandIsNotBold();
    void colourAppliesToTheWholeLine();
    void markupOnlyLineTakesOnePitch();
    void staticLayoutFromTopMargin();
    void borderAndBackground();
    void scrollsOnePixelPerTick();
    void eachLineReportedOncePerPass();
    void emptyListEndsEachPassOnce();
    void visibleRestartsPassAndTimer();
    void realTimerRunsOnlyWhenVisibleAndAnimated();
    void handlersMayChangeTheControl();
    void clicks();
};

void TestScrollingCredits::defaults() {
    TScrollingCredits c;
    QCOMPARE(c.size(), QSize(305, 201));
    QCOMPARE(c.CreditsFont().Color, QColor(Qt::white));
    QCOMPARE(c.CreditsFont().Font.family(), QString("Tahoma"));
    QCOMPARE(c.BackgroundColor(), QColor(Qt::black));
    QCOMPARE(c.BorderColor(), QColor(Qt::white));
    QCOMPARE(c.Animate(), false);
    QCOMPARE(c.Interval(), 50);
    QCOMPARE(c.Visible(), true);
    QVERIFY(c.BackgroundImage().isNull());
    QCOMPARE(c.ShowBorder(), true);
    QVERIFY(!c.TimerActive());

    // The demonstration text shows every kind of mark-up, each once and one per line.
    const QStringList demo = c.Credits();
    QCOMPARE(demo, TScrollingCredits::DemonstrationText());
    int bold = 0, italic = 0, underline = 0, colour = 0, escaped = 0, unknown = 0, trailing = 0;
    for (const QString& line : demo) {
        // The "&" pairs of the line, read two characters at a time.
        int lineEscaped = 0, lineUnknown = 0, lineTrailing = 0;
        for (int i = 0; i < line.size(); ++i) {
            if (line[i] != '&') {
                continue;
            }
            if (i + 1 == line.size()) {
                ++lineTrailing;
            } else if (line[i + 1] == '&') {
                ++lineEscaped;
            } else if (!QString("biucBIUC").contains(line[i + 1])) {
                ++lineUnknown;
            }
            ++i;
        }
        const TCreditLine l = ParseCreditLine(line);
        const int kinds = l.Bold + l.Italic + l.Underline + l.Color.has_value() + lineEscaped +
                          lineUnknown + lineTrailing;
        QVERIFY2(kinds <= 1, qPrintable(line));
        bold += l.Bold;
        italic += l.Italic;
        underline += l.Underline;
        colour += l.Color.has_value();
        escaped += lineEscaped;
        unknown += lineUnknown;
        trailing += lineTrailing;
    }
    QCOMPARE(bold, 1);
    QCOMPARE(italic, 1);
    QCOMPARE(underline, 1);
    QCOMPARE(colour, 1);
    QCOMPARE(escaped, 1);
    QCOMPARE(unknown, 1);
    QCOMPARE(trailing, 1);
}

// "&&b" shows "&b" in the normal weight: its ink is as wide as the test's own normal rendering
// of "&b" and the text, and narrower than a bold one.
void TestScrollingCredits::escapedAmpersandIsNotBold() {
    const QString text = "&bMMMMMMMM";
    auto c = Plain({"&&bMMMMMMMM", "&bMMMMMMMM"});
    const int h = Pitch(*c);
    const QImage img = Shot(*c);
    const QFont normal = c->CreditsFont().Font;
    QFont bold = normal;
    bold.setBold(true);
    const QRect refNormal = ReferenceInk(text, normal);
    const QRect refBold = ReferenceInk("MMMMMMMM", bold);
    const QRect refNormalM = ReferenceInk("MMMMMMMM", normal);
    QVERIFY(refBold.width() > refNormalM.width());

    const QRect escaped = InkBox(img, 4, 4 + h);
    const QRect marked = InkBox(img, 4 + h, 4 + 2 * h);
    QCOMPARE(escaped.size(), refNormal.size());
    QCOMPARE(marked.width(), refBold.width());
    // Both lines are centred.
    QVERIFY(std::abs((escaped.left() + escaped.right()) / 2 - c->width() / 2) <= 2);
    QVERIFY(std::abs((marked.left() + marked.right()) / 2 - c->width() / 2) <= 2);
}

// A colour mark anywhere in the line colours all of the line's text; a malformed colour
// leaves the font's colour; the last colour mark counts.
void TestScrollingCredits::colourAppliesToTheWholeLine() {
    auto c = Plain({"before text &c0,255,0; after text", "&c300,0,0;malformed colour",
                    "&c255,0,0;first &c0,0,255;last", "no colour at all"});
    TCreditsFont yellow = c->CreditsFont();
    yellow.Color = QColor(255, 255, 0);
    c->SetCreditsFont(yellow);
    const int h = Pitch(*c);
    const QImage img = Shot(*c);

    // Every ink pixel of a band is a shade of `hue` (anti-aliased against black).
    auto allOfHue = [&](int line, QColor hue) {
        int ink = 0;
        for (int y = 4 + line * h; y < 4 + (line + 1) * h; ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QColor px = img.pixelColor(x, y);
                if (px.rgb() == Black) {
                    continue;
                }
                ++ink;
                if ((hue.red() == 0 && px.red() != 0) || (hue.green() == 0 && px.green() != 0) ||
                    (hue.blue() == 0 && px.blue() != 0)) {
                    qWarning() << "line" << line << "pixel" << x << y << px;
                    return false;
                }
            }
        }
        return ink > 20;
    };
    QVERIFY(allOfHue(0, QColor(0, 255, 0)));
    QVERIFY(allOfHue(1, QColor(255, 255, 0)));
    QVERIFY(allOfHue(2, QColor(0, 0, 255)));
    QVERIFY(allOfHue(3, QColor(255, 255, 0)));

    // The green covers the text on both sides of the mark: the whole width of the line.
    const QRect green = InkBox(img, 4, 4 + h);
    QCOMPARE(green.width(), ReferenceInk("before text  after text", c->CreditsFont().Font).width());
    // Fully covered pixels carry the exact colour.
    bool pure = false;
    for (int x = green.left(); x <= green.right() && !pure; ++x) {
        for (int y = green.top(); y <= green.bottom() && !pure; ++y) {
            pure = img.pixel(x, y) == qRgb(0, 255, 0);
        }
    }
    QVERIFY(pure);
}

// A line of mark-up alone draws nothing and still takes its line pitch: the text below it
// stands exactly where it would below an empty line.
void TestScrollingCredits::markupOnlyLineTakesOnePitch() {
    auto marked = Plain({"AAAA", "&b&i&u&c255,0,0;", "AAAA"});
    auto empty = Plain({"AAAA", "", "AAAA"});
    auto joined = Plain({"AAAA", "AAAA"});
    const int h = Pitch(*marked);
    const QImage a = Shot(*marked);
    QCOMPARE(a, Shot(*empty));
    QVERIFY(a != Shot(*joined));
    QVERIFY(InkBox(a, 4 + h, 4 + 2 * h).isEmpty() ||
            InkBox(a, 4 + h, 4 + 2 * h).top() >= 4 + 2 * h);
    QCOMPARE(InkBox(a, 4 + 2 * h).top() - InkBox(a, 0, 4 + h).top(), 2 * h);
}

// Standing still, the first line's top is 4 pixels below the top edge: its ink is where the
// test's own drawing of the same text 4 pixels down puts it. After scrolling, switching the
// animation off comes back to exactly that picture.
void TestScrollingCredits::staticLayoutFromTopMargin() {
    auto c = Plain({"AAAA", "&bBBBB"});
    const QImage still = Shot(*c);
    const QRect ink = InkBox(still, 0, 4 + Pitch(*c));
    QCOMPARE(ink.top(), ReferenceInk("AAAA", c->CreditsFont().Font).top());
    QVERIFY(ink.top() >= 4);

    c->SetAnimate(true);
    for (int i = 0; i < 40; ++i) {
        c->ScrollTick();
    }
    QVERIFY(Shot(*c) != still);
    c->SetAnimate(false);
    QCOMPARE(Shot(*c), still);
}

void TestScrollingCredits::borderAndBackground() {
    TScrollingCredits c;
    c.resize(60, 40);
    c.SetCredits({});
    QImage img = Shot(c);
    for (const QPoint p : {QPoint(0, 0), QPoint(59, 0), QPoint(0, 39), QPoint(59, 39),
                           QPoint(30, 0), QPoint(0, 20)}) {
        QCOMPARE(img.pixel(p), qRgb(255, 255, 255));
    }
    QVERIFY(InkBox(img).isEmpty());

    c.SetBorderColor(QColor(0, 0, 200));
    c.SetBackgroundColor(QColor(10, 20, 30));
    img = Shot(c);
    QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 200));
    QCOMPARE(img.pixel(30, 20), qRgb(10, 20, 30));
    c.SetShowBorder(false);
    QCOMPARE(Shot(c).pixel(0, 0), qRgb(10, 20, 30));
    // A translucent colour is painted opaque, so no earlier frame shows through it.
    c.SetCredits({"MMMM"});
    c.SetBackgroundColor(QColor(10, 20, 30, 60));
    img = Shot(c);
    QCOMPARE(Shot(c), img);
    QCOMPARE(img.pixel(1, 1), qRgb(10, 20, 30));
    c.SetCredits({});

    // A picture is stretched over the whole control instead of the colour.
    QImage pic(2, 1, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 0, 0));
    pic.setPixel(1, 0, qRgb(0, 0, 255));
    c.SetBackgroundImage(pic);
    img = Shot(c);
    QCOMPARE(img.pixel(2, 2), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(57, 37), qRgb(0, 0, 255));
    // Text stands on the picture.
    c.SetCredits({"MMMM"});
    img = Shot(c);
    QCOMPARE(img.pixel(2, 2), qRgb(255, 0, 0));
    bool white = false;
    for (int y = 4; y < 4 + Pitch(c); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            white |= img.pixel(x, y) == qRgb(255, 255, 255);
        }
    }
    QVERIFY(white);
}

// Switched on, the text starts one line below the bottom edge and rises one pixel per tick.
void TestScrollingCredits::scrollsOnePixelPerTick() {
    auto c = Plain({"AAAA"}, {120, 60});
    const int h = Pitch(*c);
    const int stillTop = InkBox(Shot(*c)).top(); // the line's top is 4 here
    c->SetAnimate(true);
    for (int i = 0; i <= h; ++i) {
        QVERIFY2(InkBox(Shot(*c)).isEmpty(), "nothing shows before the line reaches the edge");
        c->ScrollTick();
    }
    // After h + 30 ticks in all the line's top is 30 pixels above the bottom edge.
    for (int i = h + 1; i < h + 30; ++i) {
        c->ScrollTick();
    }
    const int top30 = InkBox(Shot(*c)).top();
    QCOMPARE(top30, 60 - 30 + (stillTop - 4));
    c->ScrollTick();
    QCOMPARE(InkBox(Shot(*c)).top(), top30 - 1);
}

// In each pass every line is reported once, in order and the first included; painting again
// without a tick reports nothing new; the next pass and a restart report them all again.
void TestScrollingCredits::eachLineReportedOncePerPass() {
    auto c = Plain({"one", "&btwo", "&c0,255,0;three", "four&"}, {120, 30});
    QStringList reported;
    int passes = 0;
    c->OnShowCredit = [&](TObject* sender, const QString& text) {
        QCOMPARE(sender, static_cast<TObject*>(c.get()));
        reported += text;
    };
    c->AfterLastCredit = [&](TObject*) { ++passes; };
    const QStringList all = {"one", "two", "three", "four"};
    c->SetAnimate(true);

    QStringList firstPass;
    int ticks = 0;
    while (passes == 0 && ticks < 1000) {
        c->ScrollTick();
        ++ticks;
        Shot(*c);
        Shot(*c);
        // A line is never reported before it has come up to the bottom edge.
        if (!reported.isEmpty() && firstPass.isEmpty()) {
            QVERIFY(ticks > Pitch(*c));
        }
        if (passes == 0) {
            firstPass = reported;
        }
    }
    QCOMPARE(passes, 1);
    QCOMPARE(firstPass, all);

    reported.clear();
    while (passes == 1 && ticks < 2000) {
        c->ScrollTick();
        ++ticks;
        Shot(*c);
    }
    QCOMPARE(reported, all);

    // Switching the animation off and on in mid-pass starts a fresh pass.
    reported.clear();
    for (int i = 0; i < 30; ++i) {
        c->ScrollTick();
        Shot(*c);
    }
    QVERIFY(!reported.isEmpty());
    c->SetAnimate(false);
    c->SetAnimate(true);
    reported.clear();
    for (int i = 0; i < 40; ++i) {
        c->ScrollTick();
        Shot(*c);
    }
    QCOMPARE(reported.mid(0, 2), all.mid(0, 2));
}

// With no lines the control shows only background and border, and every pass ends as soon as
// the offset falls below zero with one AfterLastCredit.
void TestScrollingCredits::emptyListEndsEachPassOnce() {
    TScrollingCredits c;
    c.resize(80, 20);
    c.SetCredits({});
    int raised = 0;
    QList<int> at;
    c.AfterLastCredit = [&](TObject* sender) {
        QCOMPARE(sender, static_cast<TObject*>(&c));
        ++raised;
    };
    c.SetAnimate(true);
    for (int tick = 1; tick <= 200; ++tick) {
        const int before = raised;
        c.ScrollTick();
        QVERIFY(raised - before <= 1);
        if (raised != before) {
            at += tick;
        }
        const QImage img = Shot(c);
        QCOMPARE(img.pixel(0, 0), qRgb(255, 255, 255));
        QVERIFY(InkBox(img).isEmpty());
    }
    // The first pass starts a line below the bottom edge; later ones at the edge itself,
    // and each runs down to -1 before it ends.
    const int h = Pitch(c);
    QVERIFY(at.size() >= 3);
    QCOMPARE(at[0], 20 + h + 2);
    for (int i = 1; i < at.size(); ++i) {
        QCOMPARE(at[i] - at[i - 1], 20 + 2);
    }
}

// Hiding and showing the control restarts the pass from the bottom edge; the timer runs only
// while the control is visible and animated.
void TestScrollingCredits::visibleRestartsPassAndTimer() {
    auto c = Plain({"one", "two", "three"}, {120, 30});
    QStringList reported;
    c->OnShowCredit = [&](TObject*, const QString& text) { reported += text; };
    QVERIFY(!c->TimerActive());
    c->SetAnimate(true);
    QVERIFY(c->TimerActive());
    for (int i = 0; i < 50; ++i) {
        c->ScrollTick();
        Shot(*c);
    }
    QCOMPARE(reported, QStringList({"one", "two", "three"}));

    c->SetVisible(false);
    QVERIFY(!c->Visible());
    QVERIFY(!c->TimerActive());
    c->SetVisible(true);
    QVERIFY(c->TimerActive());
    // Back at the bottom edge: nothing in view and nothing reported until the next tick.
    reported.clear();
    QVERIFY(InkBox(Shot(*c)).isEmpty());
    QVERIFY(reported.isEmpty());
    c->ScrollTick();
    Shot(*c);
    QCOMPARE(reported, QStringList({"one"}));

    // hide() and show() are the same property.
    c->hide();
    QVERIFY(!c->Visible() && !c->TimerActive());
    c->show();
    QVERIFY(c->Visible() && c->TimerActive());
    c->SetAnimate(false);
    QVERIFY(!c->TimerActive());
    c->SetVisible(false);
    c->SetAnimate(true);
    QVERIFY(!c->TimerActive());
    c->SetVisible(true);
    QVERIFY(c->TimerActive());
    // An interval of zero or less holds the timer rather than spinning it.
    c->SetInterval(0);
    QVERIFY(!c->TimerActive());
    c->SetInterval(-5);
    QVERIFY(!c->TimerActive());
    c->SetInterval(20);
    QVERIFY(c->TimerActive());
}

// The real timer: passes follow one another while shown and animated, and stop otherwise.
void TestScrollingCredits::realTimerRunsOnlyWhenVisibleAndAnimated() {
    TScrollingCredits c;
    c.resize(60, 6);
    c.SetCredits({});
    c.SetInterval(1);
    int passes = 0;
    c.AfterLastCredit = [&](TObject*) { ++passes; };
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    QTest::qWait(60);
    QCOMPARE(passes, 0);
    c.SetAnimate(true);
    QTRY_VERIFY_WITH_TIMEOUT(passes >= 2, CORVINA_TRY_MS);

    c.SetVisible(false);
    int held = passes;
    QTest::qWait(150);
    QCOMPARE(passes, held);
    c.SetVisible(true);
    QTRY_VERIFY_WITH_TIMEOUT(passes > held, CORVINA_TRY_MS);

    c.SetAnimate(false);
    held = passes;
    QTest::qWait(150);
    QCOMPARE(passes, held);
}

// Handlers run after the paint is over, so one may change the text or stop the scroll without
// a recursive repaint.
void TestScrollingCredits::handlersMayChangeTheControl() {
    QTest::failOnWarning(QRegularExpression(".*"));
    auto c = Plain({"one", "two"}, {100, 40});
    c->show();
    QVERIFY(QTest::qWaitForWindowExposed(c.get()));
    int shown = 0;
    c->OnShowCredit = [&](TObject*, const QString&) {
        ++shown;
        c->SetCredits({"changed", "text", "here"});
    };
    c->AfterLastCredit = [&](TObject*) { c->SetAnimate(false); };
    c->SetAnimate(true);
    for (int i = 0; i < 300 && c->Animate(); ++i) {
        c->ScrollTick();
        c->repaint();
    }
    QVERIFY(shown > 0);
    QVERIFY(!c->Animate());
    QVERIFY(!c->TimerActive());
    QCOMPARE(c->Credits().first(), QString("changed"));
}

void TestScrollingCredits::clicks() {
    TScrollingCredits c;
    int clicks = 0, doubles = 0;
    c.OnClick = [&](TObject* sender) {
        QCOMPARE(sender, static_cast<TObject*>(&c));
        ++clicks;
    };
    c.OnDblClick = [&](TObject*) { ++doubles; };
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks, 1);
    QTest::mouseDClick(&c, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(doubles, 1);
}

QTEST_MAIN(TestScrollingCredits)
#include "tst_scrolling_credits.moc"
