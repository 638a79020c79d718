// SPDX-License-Identifier: GPL-3.0-or-later
// The appearance dialogs and the settings-profile commands, driven through the real windows
// that the program creates, in a temporary program folder with the shipped themes.
#include "app/Colors1.h"
#include "app/LoadSet.h"
#include "app/Main1.h"
#include "app/Options1.h"
#include "app/PieceSet1.h"
#include "app/Program.h"
#include "app/ProgramTexts.h"
#include "app/Theme1.h"
#include "board/ChessBrd.h"
#include "formats/Profile.h"
#include "language/LanguageTable.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowParts.h"

#include <QAction>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {

QStringList Profile(int line, const QString& value) {
    QStringList p = DefaultProfile;
    p[line - 1] = value;
    return p;
}

QImage Background(const TfrmCorvina& w) {
    return Ctl<QLabel>(w, "back")->pixmap().toImage();
}

QImage Decode(const QString& file) {
    QImageReader reader(file);
    return reader.read();
}

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void jpegDecoderPresent();
    void everyShippedThemeDecodes();
    void themeApply();
    void startUpStepAppliesStoredTheme();
    void colorsKeepTheirSwatches();
    void optionsPriority();
    void pieceSetOkWithNothingSelected();
    void pieceSetClickAndOk();
    void saveRefusesProtectedAndBadNames();
    void paneProfileTwice();
    void savedProfileNamesAppliedPieceSet();
    void loadSetListAndAutoLoad();
    void deleteProtectsDefaultByName();
    void unloadableProfileNotSaved();
    void highlightMovesKeptBesideTheProfiles();

private:
    std::unique_ptr<TTestFolder> Folder_;
    QStringList Infos_;
};

void TestAppearance::init() {
    Folder_ = std::make_unique<TTestFolder>();
    QVERIFY(Folder_->Dir.isValid());
    QVERIFY(QDir().mkpath(Folder_->Dir.filePath("bg")));
    for (int i = 0; i < TfrmTheme::ThemeCount; ++i) {
        const QString file = TfrmTheme::ThemeFile(i);
        QVERIFY(QFile::copy(CORVINA_DATA_DIR "/bg/" + file, Folder_->Dir.filePath("bg/" + file)));
    }
    QVERIFY(Folder_->Prepare({}, {{"Default", DefaultProfile}}));
    Infos_.clear();
    SetInformationHandler([this](const QString&, const QString& text) { Infos_ << text; });
}

void TestAppearance::cleanup() {
    SetInformationHandler({});
    Folder_.reset();
}

// Without Qt's JPEG plugin no theme can be shown.
void TestAppearance::jpegDecoderPresent() {
    QVERIFY2(QImageReader::supportedImageFormats().contains("jpeg"),
             "Qt's JPEG image plugin is missing");
}

void TestAppearance::everyShippedThemeDecodes() {
    const QStringList expected = {"meridian.jpg", "standard.jpg", "stone.jpg",
                                  "metal.jpg",    "charcoal.jpg", "Crystal.jpg"};
    for (int i = 0; i < TfrmTheme::ThemeCount; ++i) {
        // The names are matched exactly, capital C included.
        QCOMPARE(TfrmTheme::ThemeFile(i), expected[i]);
        const QString file = CORVINA_DATA_DIR "/bg/" + expected[i];
        const QImage picture = Decode(file);
        QVERIFY2(!picture.isNull(), qPrintable(file));
        QCOMPARE(picture.size(), QSize(814, 661));
        QVERIFY2(QFileInfo(file).size() < 150 * 1024, qPrintable(file));
    }
    QVERIFY(TfrmTheme::ThemeFile(-1).isEmpty());
    QVERIFY(TfrmTheme::ThemeFile(6).isEmpty());
}

void TestAppearance::themeApply() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    TfrmTheme& theme = program.ThemeDialog();
    theme.SelectIndex(5);
    theme.cmdApplyClick();
    QCOMPARE(w.Hook().ThemeIndex(), 5);
    const QImage crystal = Decode(Folder_->Dir.filePath("bg/Crystal.jpg"));
    QCOMPARE(Background(w).convertToFormat(QImage::Format_RGB32),
             crystal.convertToFormat(QImage::Format_RGB32));

    // An unreadable picture is reported by name; the picture and the index stay.
    QFile bad(Folder_->Dir.filePath("bg/stone.jpg"));
    QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("not a picture");
    bad.close();
    theme.SelectIndex(2);
    theme.cmdApplyClick();
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(Folder_->Errors.first().contains("stone.jpg"));
    QCOMPARE(w.Hook().ThemeIndex(), 5);
    QCOMPARE(Background(w).convertToFormat(QImage::Format_RGB32),
             crystal.convertToFormat(QImage::Format_RGB32));

    // With nothing selected the picture stays and -1 is stored.
    theme.SelectIndex(-1);
    QCOMPARE(theme.SelectedIndex(), -1);
    theme.cmdApplyClick();
    QCOMPARE(w.Hook().ThemeIndex(), -1);
    QCOMPARE(Background(w).convertToFormat(QImage::Format_RGB32),
             crystal.convertToFormat(QImage::Format_RGB32));
}

void TestAppearance::startUpStepAppliesStoredTheme() {
    QVERIFY(Folder_->Prepare({}, {{"Default", Profile(9, "4")}}));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    const QImage before = Background(w);
    w.Hook().Timer2Timer();
    QCOMPARE(w.Hook().ThemeIndex(), 4);
    QCOMPARE(
        Background(w).convertToFormat(QImage::Format_RGB32),
        Decode(Folder_->Dir.filePath("bg/charcoal.jpg")).convertToFormat(QImage::Format_RGB32));
    QVERIFY(Background(w) != before);
    QVERIFY(Folder_->Errors.isEmpty());
}

void TestAppearance::colorsKeepTheirSwatches() {
    QVERIFY(Folder_->Prepare({}, {{"Blue", Profile(1, "clBlue")}}));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    TfrmColors& colors = program.ColorsDialog();
    Ctl<QPushButton>(colors, "cmdDefault1")->click();
    QVERIFY(w.Hook().LoadSettings("Blue"));
    QCOMPARE(w.Board()->SquareColorDark(), QColor(Qt::blue));
    // The swatches show what was chosen here, not what the profile set on the board.
    QCOMPARE(colors.DarkSwatch(), TfrmColors::DefaultDark);
    QCOMPARE(colors.LightSwatch(), TfrmColors::DefaultLight);
    QCOMPARE(Ctl<QFrame>(colors, "bs")->palette().color(QPalette::Window), TfrmColors::DefaultDark);
    colors.BitBtn1Click();
    QCOMPARE(w.Board()->SquareColorDark(), TfrmColors::DefaultDark);
    QCOMPARE(w.Board()->SquareColorLight(), TfrmColors::DefaultLight);
}

void TestAppearance::optionsPriority() {
    TProgram program;
    TChessBrd* board = program.MainWindow().Board();
    TfrmOptions& options = program.OptionsDialog();
    board->SetThinkingPriority(TThreadPriority::tpNormal);
    board->SetSearchDepth(5);
    options.Fill();
    QCOMPARE(Ctl<QComboBox>(options, "prior")->currentText(), QString("Normal"));
    QCOMPARE(Ctl<QSpinBox>(options, "sd")->value(), 5);
    QCOMPARE(Ctl<QComboBox>(options, "engine")->currentIndex(), 0);
    Ctl<QComboBox>(options, "prior")->setCurrentIndex(6);
    QCOMPARE(Ctl<QComboBox>(options, "prior")->currentText(), QString("Idle"));
    // The spin box offers exactly the depths the board keeps.
    auto* sd = Ctl<QSpinBox>(options, "sd");
    QCOMPARE(sd->minimum(), 1);
    QCOMPARE(sd->maximum(), 8);
    sd->setValue(8);
    options.cmdOKClick();
    QCOMPARE(board->ThinkingPriority(), TThreadPriority::tpIdle);
    QCOMPARE(board->SearchDepth(), 8);
    board->SetSearchDepth(1);
    options.Fill();
    QCOMPARE(sd->value(), 1);
    // Every item maps back to the level it names.
    for (int code = 0; code <= 6; ++code) {
        Ctl<QComboBox>(options, "prior")->setCurrentIndex(code);
        options.cmdOKClick();
        options.Fill();
        QCOMPARE(Ctl<QComboBox>(options, "prior")->currentIndex(), code);
    }
}

// OK with no row selected keeps the set on the board and its file, so the next profile saved
// loads back whole: every one of its ten lines applies.
void TestAppearance::pieceSetOkWithNothingSelected() {
    QVERIFY(QFile::copy(CORVINA_DATA_DIR "/pieces/Merlot.bmp",
                        Folder_->Dir.filePath("pieces/Another.bmp")));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    const QImage before = w.Board()->CustomPieceSet();
    QVERIFY(!before.isNull());
    const QString file = w.Hook().CurrentPieceSetFile();
    QCOMPARE(QFileInfo(file).fileName(), QString("Merlot.bmp"));
    for (const char* item :
         {"mnuSet", "mnuColors", "mnuTheme", "mnuOptions", "mnuLoadSet", "mnuSaveSet"})
        QVERIFY2(Ctl<QAction>(w, item)->isEnabled(), item);
    TfrmPieceSet& dialog = program.PieceSetDialog();
    // The menu item opens it without blocking, listing the program's piece sets, with the set
    // on the board named and selected.
    Ctl<QAction>(w, "mnuSet")->trigger();
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.isModal());
    QCOMPARE(dialog.Files(), (QStringList{"Another.bmp", "Merlot.bmp"}));
    QCOMPARE(dialog.CurrentText(), QString("Merlot.bmp"));
    auto* list = Ctl<QListWidget>(dialog, "filelist");
    QCOMPARE(list->selectedItems().value(0)->text(), QString("Merlot.bmp"));
    // A click on another row previews it; a click in the empty area below the rows then
    // leaves nothing selected.
    dialog.filelistClick(0);
    QCOMPARE(dialog.CurrentText(), QString("Merlot.bmp"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->viewport()->rect().bottomLeft() + QPoint(20, -5));
    QVERIFY(list->selectedItems().isEmpty());
    Ctl<QPushButton>(dialog, "cmdOK")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(w.Board()->CustomPieceSet(), before);
    QCOMPARE(w.Hook().CurrentPieceSetFile(), file);

    // Save, change everything, load: all ten lines come back, with no error.
    w.Board()->SetSquareColorDark(QColor(1, 2, 3));
    w.Board()->SetSearchDepth(6);
    w.Hook().Trigger("mnuLines");
    w.Hook().Trigger("mnuWOT");
    program.ThemeDialog().SelectIndex(3);
    program.ThemeDialog().cmdApplyClick();
    w.Hook().SetCapturedPane(false, false);
    QVERIFY(w.Hook().SaveSettingsAs("After"));
    const QStringList saved = Folder_->Read("Settings/After");
    QCOMPARE(saved, (QStringList{"$00030201", "clSilver", "6", "3", "Merlot.bmp", "1", "1", "0",
                                 "3", "0"}));
    QVERIFY(w.Hook().LoadSettings("Default"));
    QVERIFY(w.Hook().LoadSettings("After"));
    QVERIFY2(Folder_->Errors.isEmpty(), qPrintable(Folder_->Errors.join('\n')));
    QCOMPARE(BuildProfile(w.Hook().CurrentProfile()), saved);
    QVERIFY(w.Board()->BoardLines() && w.Board()->WhiteOnTop());
    QCOMPARE(w.Hook().ThemeIndex(), 3);
    QCOMPARE(w.width(), 625);
}

void TestAppearance::pieceSetClickAndOk() {
    QVERIFY(QFile::copy(CORVINA_DATA_DIR "/pieces/Merlot.bmp",
                        Folder_->Dir.filePath("pieces/Another.bmp")));
    Folder_->Write("pieces/Broken.bmp", {"not a bitmap"});
    Folder_->Write("pieces/notes.txt", {"not listed"});
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    TfrmPieceSet& dialog = program.PieceSetDialog();
    dialog.Execute(Folder_->Dir.filePath("pieces"));
    QCOMPARE(dialog.Files(), (QStringList{"Another.bmp", "Broken.bmp", "Merlot.bmp"}));
    // The label names the set on the board, not the row being previewed.
    QCOMPARE(Ctl<QLineEdit>(dialog, "txtCurrent")->text(), QString("Merlot.bmp"));
    dialog.filelistClick(0);
    QCOMPARE(Ctl<QLineEdit>(dialog, "txtCurrent")->text(), QString("Merlot.bmp"));
    // An unreadable file is reported by name; the preview stays.
    dialog.filelistClick(1);
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(Folder_->Errors.first().contains("Broken.bmp"));
    QVERIFY(!Ctl<QLabel>(dialog, "pre")->pixmap().isNull());
    // OK on the unreadable row keeps the board's set.
    dialog.cmdOKClick();
    QCOMPARE(Folder_->Errors.size(), 1);
    QCOMPARE(w.Hook().CurrentPieceSetFile(), Folder_->Dir.filePath("pieces/Merlot.bmp"));
    dialog.Execute(Folder_->Dir.filePath("pieces"));
    dialog.filelistClick(0);
    dialog.cmdOKClick();
    QCOMPARE(w.Hook().CurrentPieceSetFile(), Folder_->Dir.filePath("pieces/Another.bmp"));
    QCOMPARE(Ctl<QLineEdit>(dialog, "txtCurrent")->text(), QString("Another.bmp"));
    QVERIFY(w.Hook().SaveSettingsAs("Mine"));
    QCOMPARE(Folder_->Read("Settings/Mine").value(4), QString("Another.bmp"));
}

void TestAppearance::saveRefusesProtectedAndBadNames() {
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Board()->SetSearchDepth(7);
    QVERIFY(!w.Hook().SaveSettingsAs("Default"));
    QCOMPARE(Infos_, QStringList{ProgramText(TextIds::SaveSettingsMsg1)});
    QCOMPARE(Folder_->Read("Settings/Default"), DefaultProfile);
    // Only the exact name is protected.
    QVERIFY(w.Hook().SaveSettingsAs("default"));
    const QStringList saved = Folder_->Read("Settings/default");
    QCOMPARE(saved.size(), 10);
    QCOMPARE(saved[2], QString("7"));
    QVERIFY(Folder_->Errors.isEmpty());
    // A name never writes outside Settings.
    const QStringList bad = {"", ".", "..", "../escape", "sub/name", "back\\slash"};
    for (const QString& name : bad)
        QVERIFY2(!w.Hook().SaveSettingsAs(name), qPrintable(name));
    QCOMPARE(Folder_->Errors.size(), bad.size());
    QVERIFY(!QFileInfo::exists(Folder_->Dir.filePath("escape")));
    QCOMPARE(QDir(Folder_->Dir.filePath("Settings")).entryList(QDir::Files),
             (QStringList{"Default", "default"}));
}

void TestAppearance::paneProfileTwice() {
    QVERIFY(Folder_->Prepare({}, {{"Default", Profile(10, "0")}, {"Shown", Profile(10, "1")}}));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint start = w.pos();
    QVERIFY(w.Hook().LoadSettings("Shown"));
    QCOMPARE(w.width(), 814);
    const QPoint first = w.pos();
    QCOMPARE(first, start - QPoint(50, 0));
    QVERIFY(w.Hook().LoadSettings("Shown"));
    QCOMPARE(w.pos(), first);
    QCOMPARE(w.width(), 814);
    QVERIFY(Ctl<QAction>(w, "mnuCPieces")->isChecked());
    QVERIFY(w.Hook().LoadSettings("Default"));
    QCOMPARE(w.pos(), start);
    QCOMPARE(w.width(), 625);
}

void TestAppearance::savedProfileNamesAppliedPieceSet() {
    QVERIFY(QFile::copy(CORVINA_DATA_DIR "/pieces/Merlot.bmp",
                        Folder_->Dir.filePath("pieces/Other.bmp")));
    QVERIFY(Folder_->Prepare({}, {{"P", Profile(5, "Other.bmp")}}));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QVERIFY(w.Hook().LoadSettings("P"));
    QVERIFY(w.Hook().SaveSettingsAs("New"));
    const QStringList saved = Folder_->Read("Settings/New");
    QCOMPARE(saved.value(4), QString("Other.bmp"));
    QCOMPARE(saved, Folder_->Read("Settings/P"));
}

void TestAppearance::loadSetListAndAutoLoad() {
    QVERIFY(Folder_->Prepare({"Default"}, {{"default", Profile(3, "6")}, {"Zed", DefaultProfile}}));
    TProgram program;
    TfrmLoadSet& dialog = program.LoadSetDialog();
    dialog.SetFolder(Folder_->Dir.filePath("Settings"));
    QCOMPARE(dialog.Names(), (QStringList{"Default", "Zed", "default"}));
    // Auto-load with nothing selected is refused and al.dat stays.
    dialog.SetAutoLoad(true);
    dialog.Select(-1);
    dialog.cmdOKClick();
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY(dialog.Chosen().isEmpty());
    QCOMPARE(Folder_->Read("al.dat"), QStringList{"Default"});
    dialog.Select(2);
    dialog.cmdOKClick();
    QCOMPARE(dialog.Chosen(), QString("default"));
    QCOMPARE(Folder_->Read("al.dat"), QStringList{"default"});
    // Without the check box al.dat is left alone.
    dialog.SetAutoLoad(false);
    dialog.Select(1);
    dialog.cmdOKClick();
    QCOMPARE(dialog.Chosen(), QString("Zed"));
    QCOMPARE(Folder_->Read("al.dat"), QStringList{"default"});
}

// Default is protected by its name wherever it sorts; any other profile goes once the user
// confirms; names of blanks are refused; a Default deleted by hand comes back at start-up.
void TestAppearance::deleteProtectsDefaultByName() {
    QVERIFY(Folder_->Prepare({}, {{"ClassicTest", DefaultProfile}, {"Zed", DefaultProfile}}));
    TProgram program;
    TfrmLoadSet& dialog = program.LoadSetDialog();
    QStringList asked;
    bool answer = false;
    dialog.ConfirmDelete = [&](const QString& name) {
        asked << name;
        return answer;
    };
    dialog.SetFolder(Folder_->Dir.filePath("Settings"));
    QCOMPARE(dialog.Names(), (QStringList{"ClassicTest", "Default", "Zed"}));
    dialog.Select(1);
    dialog.cmdDeleteClick();
    QCOMPARE(Infos_, QStringList{"You cannot delete the default options!"});
    QVERIFY(asked.isEmpty());
    QVERIFY(QFileInfo::exists(Folder_->Dir.filePath("Settings/Default")));
    dialog.Select(-1);
    dialog.cmdDeleteClick();
    QCOMPARE(dialog.Names().size(), 3);
    // The first entry is an ordinary profile: deleted only once confirmed.
    dialog.Select(0);
    dialog.cmdDeleteClick();
    QCOMPARE(asked, QStringList{"ClassicTest"});
    QCOMPARE(dialog.Names().size(), 3);
    answer = true;
    dialog.Select(0);
    dialog.cmdDeleteClick();
    QCOMPARE(dialog.Names(), (QStringList{"Default", "Zed"}));
    QCOMPARE(Infos_.size(), 1);
    QVERIFY(Folder_->Errors.isEmpty());

    // Names made of blanks, or with blanks around them, are refused with a message.
    TfrmCorvina& w = program.MainWindow();
    for (const QString name : {"   ", " Zed", "Default "})
        QVERIFY2(!w.Hook().SaveSettingsAs(name), qPrintable(name));
    QCOMPARE(Folder_->Errors.size(), 3);
    QVERIFY(Folder_->Errors.first().contains("blank"));
    QCOMPARE(QDir(Folder_->Dir.filePath("Settings")).entryList(QDir::Files),
             (QStringList{"Default", "Zed"}));
}

// The loader checks a profile before it is written: one it would refuse is never saved.
void TestAppearance::unloadableProfileNotSaved() {
    QVERIFY(QFile::copy(CORVINA_DATA_DIR "/pieces/Merlot.bmp",
                        Folder_->Dir.filePath("pieces/Gone.bmp")));
    QVERIFY(Folder_->Prepare({}, {{"G", Profile(5, "Gone.bmp")}}));
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    QVERIFY(w.Hook().LoadSettings("G"));
    QVERIFY(QFile::remove(Folder_->Dir.filePath("pieces/Gone.bmp")));
    QVERIFY(!w.Hook().SaveSettingsAs("New"));
    QCOMPARE(Folder_->Errors.size(), 1);
    QVERIFY2(Folder_->Errors.first().contains("line 5"), qPrintable(Folder_->Errors.first()));
    QVERIFY(!QFileInfo::exists(Folder_->Dir.filePath("Settings/New")));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"

// "Highlight Moves" starts checked, switches the board's marks, and is kept in hl.dat across
// start-ups; the profiles keep their ten lines and read as before. The board takes clicked
// half-moves like dragged ones.
void TestAppearance::highlightMovesKeptBesideTheProfiles() {
    {
        TProgram program;
        TfrmCorvina& w = program.MainWindow();
        QAction* item = Ctl<QAction>(w, "mnuHighlight");
        QVERIFY(item->isCheckable());
        QVERIFY(item->isChecked());
        QVERIFY(w.Board()->HighlightMoves());
        QVERIFY(w.Board()->ClickMoves());
        QVERIFY(w.Board()->ChoosePromotion());
        item->trigger();
        QVERIFY(!item->isChecked());
        QVERIFY(!w.Board()->HighlightMoves());
        QCOMPARE(Folder_->Read("hl.dat"), QStringList{"0"});
        QVERIFY(w.Hook().SaveSettingsAs("Saved"));
        QCOMPARE(Folder_->Read("Settings/Saved").size(), 10);
        QVERIFY(w.Hook().LoadSettings("Default"));
        QVERIFY(!w.Board()->HighlightMoves());

        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        TChessBrd* board = w.Board();
        QTest::mouseClick(board, Qt::LeftButton, {}, board->SquareRect(Square::E2).center());
        QCOMPARE(board->Selected(), Square::E2);
        QTest::mouseClick(board, Qt::LeftButton, {}, board->SquareRect(Square::E4).center());
        QCOMPARE(w.Hook().StatusLines().value(0), QString("1. E2-E4"));
    }
    {
        TProgram program;
        TfrmCorvina& w = program.MainWindow();
        QAction* item = Ctl<QAction>(w, "mnuHighlight");
        QVERIFY(!item->isChecked());
        QVERIFY(!w.Board()->HighlightMoves());
        item->trigger();
        QVERIFY(w.Board()->HighlightMoves());
        QCOMPARE(Folder_->Read("hl.dat"), QStringList{"1"});
    }
    QVERIFY(Folder_->Errors.isEmpty());
}
