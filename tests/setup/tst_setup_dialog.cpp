// SPDX-License-Identifier: GPL-3.0-or-later
// The new-game dialog on its own: the layout editor, the layout checks and layout files.
#include "board/ChessBrd.h"
#include "common/TextFile.h"
#include "setup/New1.h"
#include "uikit/ErrorReport.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

// Pieces written from a8 onwards, the rest of the board empty.
QString Layout(const QString& pieces) {
    return pieces.leftJustified(64, ' ');
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}

// The pointer moves to a point of the editor board and clicks there without moving.
void ClickAt(TChessBrd* b, QPoint pos) {
    SendMouse(b, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
    SendMouse(b, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
    SendMouse(b, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

QString PositionOf(const TfrmNew& d) {
    return QString::fromStdString(d.board->Position());
}

const QString Start = StartPosition;

} // namespace

class TestSetupDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void createdBasicAndSwitches();
    void errorCheck_data();
    void errorCheck();
    void editorClicks_data();
    void editorClicks();
    void layoutRoundTrip();
    void badLayoutFiles_data();
    void badLayoutFiles();

private:
    std::unique_ptr<TfrmNew> Dialog_;
    QStringList Errors_;
    QTemporaryDir Folder_;
};

void TestSetupDialog::init() {
    Errors_.clear();
    SetErrorHandler([this](const QString& text) { Errors_ << text; });
    Dialog_ = std::make_unique<TfrmNew>();
}

void TestSetupDialog::cleanup() {
    Dialog_.reset();
    SetErrorHandler({});
}

// The state is the height; it survives a showing closed with Cancel.
void TestSetupDialog::createdBasicAndSwitches() {
    TfrmNew& d = *Dialog_;
    QCOMPARE(d.height(), 274);
    QCOMPARE(d.pos().y(), 200);
    QCOMPARE(d.w5->icon().pixmap(40, 40).toImage().convertToFormat(QImage::Format_ARGB32),
             d.board->PieceImage('Q')); // the palette shows the board's own pieces
    d.cmdSwitch->click();
    QCOMPARE(d.height(), 654);
    QCOMPARE(d.pos().y(), 80);
    QCOMPARE(d.cmdSwitch->text(), QString("<< Basic"));
    d.show();
    d.BitBtn2->click();
    QCOMPARE(d.height(), 654);
    d.cmdSwitch->click();
    QCOMPARE(d.height(), 274);
    QCOMPARE(d.pos().y(), 200);
    QCOMPARE(d.cmdSwitch->text(), QString("Advanced >>"));
}

void TestSetupDialog::errorCheck_data() {
    QTest::addColumn<QString>("pieces");
    QTest::addColumn<QString>("message");
    const QString promoted =
        "The board cannot contain more than 8 pawns (both existing and promoted).";
    const QString kings = "The board MUST contain the white and the black king!";
    QTest::newRow("standard position") << Start << QString();
    QTest::newRow("two queens, seven pawns") << "KkQQPPPPPPP" << promoted;
    QTest::newRow("two queens, six pawns") << "KkQQPPPPPP" << QString();
    QTest::newRow("three black rooks, six pawns") << "Kkrrrpppppp" << promoted;
    QTest::newRow("three white bishops, six pawns") << "KkBBBPPPPPP" << promoted;
    QTest::newRow("nine black pawns") << "Kkppppppppp"
                                      << "The board cannot contain more than 8 pawns.";
    QTest::newRow("no black king, nine pawns") << "KPPPPPPPPP" << kings;
    QTest::newRow("no king at all") << "QqRr" << kings;
    QTest::newRow("two white kings, nine pawns")
        << "KKkPPPPPPPPP"
        << "The board CANNOT contain more than one king of each color!";
    QTest::newRow("only the kings") << "Kk"
                                    << "The board cannot contain only the two kings.";
    QTest::newRow("pawns on the last ranks pass") << "PPPPPPPPKk" << QString();
}

void TestSetupDialog::errorCheck() {
    QFETCH(QString, pieces);
    QFETCH(QString, message);
    Dialog_->board->SetPosition(Layout(pieces).toStdString());
    QCOMPARE(Dialog_->PerformErrorCheck(), message);
}

void TestSetupDialog::editorClicks_data() {
    // Palette button (-1: none pressed since creation), the board before, the pointer's path
    // (moves, the click at the last point), the board after.
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QList<QPoint>>("path");
    QTest::addColumn<QString>("after");
    const QPoint e7(24 + 4 * 34 + 17, 24 + 34 + 17);
    const QPoint d4(24 + 3 * 34 + 17, 24 + 4 * 34 + 17);
    QTest::newRow("before any button: e7 onwards empty")
        << -1 << Start << QList<QPoint>{e7} << Start.left(12).leftJustified(64, ' ');
    QString noE7 = Start;
    noE7[12] = ' ';
    QTest::newRow("Clear empties one square") << 12 << Start << QList<QPoint>{e7} << noE7;
    QString queen = Layout("");
    queen[35] = 'Q';
    QTest::newRow("white queen on d4") << 4 << Layout("") << QList<QPoint>{d4} << queen;
    QString kingH1 = Layout("");
    kingH1[63] = 'k';
    QTest::newRow("border past h1 writes h1")
        << 11 << Layout("") << QList<QPoint>{QPoint(299, 299)} << kingH1;
    QTest::newRow("inside h1") << 11 << Layout("") << QList<QPoint>{QPoint(270, 290)} << kingH1;
    QTest::newRow("border beside the squares does nothing")
        << 0 << Layout("") << QList<QPoint>{QPoint(40, 299)} << Layout("");
    QTest::newRow("point outside the limits keeps the last one")
        << 4 << Layout("") << QList<QPoint>{d4, QPoint(310, 100)} << queen;
}

void TestSetupDialog::editorClicks() {
    QFETCH(int, button);
    QFETCH(QString, before);
    QFETCH(QList<QPoint>, path);
    QFETCH(QString, after);
    TfrmNew& d = *Dialog_;
    const QList<QToolButton*> buttons{d.w1,  d.w2,  d.w3,  d.w4,  d.w5,  d.w6,      d.bl1,
                                      d.bl2, d.bl3, d.bl4, d.bl5, d.bl6, d.cmdClear};
    if (button >= 0) {
        buttons[button]->click();
        QVERIFY(buttons[button]->isChecked());
    }
    d.board->SetPosition(before.toStdString());
    for (const QPoint& p : path)
        SendMouse(d.board, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
    ClickAt(d.board, path.last());
    QCOMPARE(PositionOf(d), after);
}

void TestSetupDialog::layoutRoundTrip() {
    TfrmNew& d = *Dialog_;
    const QString layout = Layout("    k   ").left(60) + "Q  K";
    d.board->SetPosition(layout.toStdString());
    d.turn->setCurrentIndex(1);
    const QString path = Folder_.filePath("mine.cvl");
    QVERIFY(d.SaveLayout(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), (layout + ";\r\n1\r\n").toLatin1());

    d.cmdClearAllClick();
    d.turn->setCurrentIndex(0);
    QVERIFY(d.LoadLayout(path));
    QCOMPARE(PositionOf(d), layout);
    QCOMPARE(d.turn->currentIndex(), 1);
    // Without a turn choice the layout is saved as White's.
    d.turn->setCurrentIndex(-1);
    QVERIFY(d.SaveLayout(path));
    QVERIFY(d.LoadLayout(path));
    QCOMPARE(d.turn->currentIndex(), 0);
    QVERIFY2(Errors_.isEmpty(), qPrintable(Errors_.join('\n')));
}

void TestSetupDialog::badLayoutFiles_data() {
    QTest::addColumn<QByteArray>("contents"); // the row "missing" writes no file
    QTest::addColumn<QStringList>("messageParts");
    QTest::addColumn<bool>("positionApplied");
    const QByteArray line1 = (Layout("Kk") + ";").toLatin1();
    const QStringList invalid{"Invalid layout file."};
    QTest::newRow("first line of 64") << Layout("Kk").toLatin1() + "\r\n0\r\n" << invalid << false;
    QTest::newRow("first line of 66") << line1 + ";\r\n0\r\n" << invalid << false;
    QTest::newRow("empty file") << QByteArray("") << invalid << false;
    QTest::newRow("missing") << QByteArray() << QStringList{"missing.cvl", "Cannot open"} << false;
    QTest::newRow("no second line") << line1 << QStringList{"bad.cvl", "line 2"} << true;
    QTest::newRow("turn not a number") << line1 + "\r\nx1\r\n"
                                       << QStringList{"bad.cvl", "\"x1\""} << true;
}

void TestSetupDialog::badLayoutFiles() {
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, messageParts);
    QFETCH(bool, positionApplied);
    TfrmNew& d = *Dialog_;
    const bool noFile = QByteArray(QTest::currentDataTag()) == "missing";
    const QString path = Folder_.filePath(noFile ? "missing.cvl" : "bad.cvl");
    if (!noFile) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }
    const QString before = Start;
    d.board->SetPosition(before.toStdString());
    d.turn->setCurrentIndex(1);
    QVERIFY(!d.LoadLayout(path));
    QCOMPARE(Errors_.size(), 1);
    for (const QString& part : messageParts)
        QVERIFY2(Errors_.first().contains(part), qPrintable(Errors_.first()));
    QCOMPARE(PositionOf(d), positionApplied ? Layout("Kk") : before);
    QCOMPARE(d.turn->currentIndex(), 1);
}

QTEST_MAIN(TestSetupDialog)
#include "tst_setup_dialog.moc"
