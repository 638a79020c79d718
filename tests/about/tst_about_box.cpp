// SPDX-License-Identifier: GPL-3.0-or-later
// The about box: its geometry, icon and credits control, its text, and how it opens and closes.
#include "about/AboutBox.h"
#include "about/AboutCredits.h"
#include "about/CreditLine.h"
#include "about/Credits.h"
#include "about/ProgramIcon.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {

QString Marks(const QString& line) {
    const TCreditLine l = ParseCreditLine(line);
    QString s = QString(l.Bold ? "b" : "") + (l.Italic ? "i" : "") + (l.Underline ? "u" : "");
    if (l.Color) {
        s += QString(" %1,%2,%3").arg(l.Color->red()).arg(l.Color->green()).arg(l.Color->blue());
    }
    return s;
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void programIcon();
    void creditsText();
    void everyLineFits();
    void opensAnimatedAndOkStops();
    void anyCloseStops();
    void tickRepaintsOnlyTheCredits();
};

void TestAboutBox::layout() {
    TAboutBox box;
    QCOMPARE(box.windowTitle(), QString("About"));
    QCOMPARE(box.size(), QSize(369, 334));
    QVERIFY(box.OKButton->isDefault());
    QCOMPARE(box.OKButton->text(), QString("OK"));

    TScrollingCredits& c = *box.cred;
    QCOMPARE(c.size(), QSize(297, 273));
    QCOMPARE(c.BackgroundColor(), QColor(Qt::black));
    QCOMPARE(c.BorderColor(), QColor(Qt::white));
    QCOMPARE(c.CreditsFont().Color, QColor(Qt::white));
    QCOMPARE(c.CreditsFont().Font.family(), QString("Tahoma"));
    QCOMPARE(c.Interval(), 50);
    QVERIFY(!c.Animate());
    QCOMPARE(c.Credits(), AboutCreditsText());

    // Nothing overlaps and everything lies inside the client area.
    const QRect client(QPoint(0, 0), box.size());
    const QRect icon = box.ProgramIcon->geometry();
    const QRect cred = c.geometry();
    const QRect ok = box.OKButton->geometry();
    for (const QRect& r : {icon, cred, ok}) {
        QVERIFY(client.contains(r));
    }
    QVERIFY(!icon.intersects(cred) && !icon.intersects(ok) && !cred.intersects(ok));

    // Centred on the screen, whatever the parent.
    QWidget parent;
    parent.setGeometry(5, 5, 200, 150);
    parent.show();
    TAboutBox child(&parent);
    child.show();
    QVERIFY(QTest::qWaitForWindowExposed(&child));
    const QRect screen = child.screen()->availableGeometry();
    // The window frame is unknown until the box is first shown, so the client area is what
    // gets centred; the frame may shift it by its own width.
    const QPoint off = child.frameGeometry().center() - screen.center();
    QVERIFY2(std::abs(off.x()) <= 4 && std::abs(off.y()) <= 4,
             qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
    QVERIFY(child.geometry().center() != parent.geometry().center());
}

// The icon is a 32 x 32 picture of our own, shown at the top left of the box.
void TestAboutBox::programIcon() {
    const QImage icon(ProgramIconResource);
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(!ProgramIcon().isNull());
    TAboutBox box;
    QCOMPARE(box.ProgramIcon->geometry(), QRect(8, 8, 32, 32));
    // A pixmap holds premultiplied pixels, and the rounding of a faint edge pixel on the way
    // back depends on the processor's instruction set: compare in the pixmap's own form.
    QCOMPARE(
        box.ProgramIcon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
        icon.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // Shown in the box: the label's pixels are the icon's (it is opaque in its middle).
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QImage shot = box.grab().toImage();
    QCOMPARE(shot.pixel(8 + 16, 8 + 28), icon.pixel(16, 28));
    QCOMPARE(qAlpha(icon.pixel(16, 16)), 255);
}

// The lines come in their order: title, notices, terms, credits, thanks, web and mail,
// closing line.
void TestAboutBox::creditsText() {
    const QStringList t = AboutCreditsText();
    auto text = [&](int i) { return ParseCreditLine(t[i]).Text; };
    QCOMPARE(t.size(), 35);
    QCOMPARE(t[0], QString("&b&u&c255,0,0;Corvina v3.0 Meridian Edition (Build 3.1)"));
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(!text(i).isEmpty());
    }
    QVERIFY(text(1).contains("Corvina developers"));
    QCOMPARE(t[4], QString());
    for (int i = 5; i <= 9; ++i) {
        QVERIFY(!text(i).isEmpty());
    }
    QVERIFY(t.mid(5, 5).join(' ').contains("GNU General Public License, version 3 or"));
    QCOMPARE(t[10], QString());
    QCOMPARE(text(11), QString("Credits:"));
    QCOMPARE(Marks(t[11]), QString("bu 0,255,0"));
    QCOMPARE(t[12], QString());
    for (int i = 13; i <= 22; ++i) {
        QVERIFY(!text(i).isEmpty());
    }
    const QString names = t.mid(13, 10).join(' ');
    for (const char* who : {"Corvina developers", "The Qt Company", "LGPL", "libjpeg-turbo",
                            "Independent JPEG Group", "DejaVu", "Bitstream"}) {
        QVERIFY2(names.contains(who), who);
    }
    QCOMPARE(t[23], QString());
    QCOMPARE(text(24), QString("Special Thanks:"));
    QCOMPARE(Marks(t[24]), QString("bu 0,255,0"));
    QVERIFY(!text(25).isEmpty());
    QCOMPARE(t[26], QString());
    QCOMPARE(t[27], QString("Website:"));
    QCOMPARE(Marks(t[28]), QString("bu 0,255,255"));
    QCOMPARE(t[29], QString());
    QCOMPARE(t[30], QString("E-mail:"));
    QCOMPARE(Marks(t[31]), QString("bu 0,255,255"));
    QCOMPARE(Marks(t[32]), QString("bu 0,255,255"));
    QVERIFY(text(32).startsWith("or "));
    QCOMPARE(t[33], QString());
    QCOMPARE(t[34], QString("&bFor more info please check the readme.doc file!"));
}

// No line of the box is wider than the panel inside its border, in the style it is drawn in.
void TestAboutBox::everyLineFits() {
    TAboutBox box;
    for (const QString& line : AboutCreditsText()) {
        const TCreditLine l = ParseCreditLine(line);
        QFont f = box.cred->CreditsFont().Font;
        f.setBold(l.Bold);
        f.setItalic(l.Italic);
        QVERIFY2(QFontMetrics(f).horizontalAdvance(l.Text) <= box.cred->width() - 8,
                 qPrintable(l.Text));
    }
}

// Opened, the box scrolls its credits; OK closes it with the OK result and stops them.
void TestAboutBox::opensAnimatedAndOkStops() {
    TAboutBox box;
    bool seenAnimated = false;
    QStringList shown;
    box.cred->OnShowCredit = [&](TObject*, const QString& s) { shown += s; };
    QTimer::singleShot(0, &box, [&] {
        seenAnimated =
            box.isVisible() && box.isModal() && box.cred->Animate() && box.cred->TimerActive();
        // Scroll the first line into view and let it paint.
        for (int i = 0; i < 20; ++i) {
            box.cred->ScrollTick();
        }
        box.cred->grab();
        QTest::mouseClick(box.OKButton, Qt::LeftButton);
    });
    QCOMPARE(box.Execute(), int(QDialog::Accepted));
    QVERIFY(seenAnimated);
    QVERIFY(!box.cred->Animate());
    QVERIFY(!box.cred->TimerActive());
    QVERIFY(!box.isVisible());
    QCOMPARE(shown.value(0), QString("Corvina v3.0 Meridian Edition (Build 3.1)"));

    // Opened again, it starts from the bottom and reports the first line again.
    shown.clear();
    QTimer::singleShot(0, &box, [&] {
        for (int i = 0; i < 20; ++i) {
            box.cred->ScrollTick();
        }
        box.cred->grab();
        box.OKButtonClick();
    });
    QCOMPARE(box.Execute(), int(QDialog::Accepted));
    QCOMPARE(shown.value(0), QString("Corvina v3.0 Meridian Edition (Build 3.1)"));
}

// Escape and the window's close button stop the credits as OK does.
void TestAboutBox::anyCloseStops() {
    TAboutBox box;
    QTimer::singleShot(0, &box, [&] { QTest::keyClick(&box, Qt::Key_Escape); });
    QCOMPARE(box.Execute(), int(QDialog::Rejected));
    QVERIFY(!box.cred->Animate());
    QVERIFY(!box.cred->TimerActive());

    QTimer::singleShot(0, &box, [&] { box.close(); });
    box.Execute();
    QVERIFY(!box.cred->TimerActive());
}

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject {
public:
    QHash<QObject*, int> Paints;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++Paints[watched];
        }
        return false;
    }
};

// A tick repaints the credits and nothing else of the box, so the scroll stays cheap.
void TestAboutBox::tickRepaintsOnlyTheCredits() {
    TAboutBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.cred->SetInterval(0); // ticks come from the test alone
    box.cred->SetAnimate(true);
    QCoreApplication::processEvents();
    PaintCounter counter;
    for (QWidget* w :
         {static_cast<QWidget*>(&box), static_cast<QWidget*>(box.cred),
          static_cast<QWidget*>(box.OKButton), static_cast<QWidget*>(box.ProgramIcon)}) {
        w->installEventFilter(&counter);
    }
    for (int i = 0; i < 10; ++i) {
        box.cred->ScrollTick();
        QCoreApplication::processEvents();
    }
    QCOMPARE(counter.Paints.value(box.cred), 10);
    QCOMPARE(counter.Paints.value(&box), 0);
    QCOMPARE(counter.Paints.value(box.OKButton), 0);
    QCOMPARE(counter.Paints.value(box.ProgramIcon), 0);
}

QTEST_MAIN(TestAboutBox)
#include "tst_about_box.moc"
