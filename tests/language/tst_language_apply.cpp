// SPDX-License-Identifier: GPL-3.0-or-later
// Apply of the language dialog over the real windows of the program, offscreen: which texts
// change, the defaults of the others, shared keys, the two captions shown by a window's state,
// the stored language index at start-up and in profiles, language lists that name no usable
// file, the texts the program shows by itself (tallies, events, layout faults), and the
// toolkit's translation for the standard buttons.
#include "app/ProgramTexts.h"
#include "language/LanguageTable.h"
#include "setup/New1.h"
#include "tests/language/LanguageFolder.h"
#include "tests/mainwindow/WindowMoves.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

namespace {

bool IsBoundTarget(const TTextEntry& e) {
    return LanguageTargets().Bound(e.Window, e.Target);
}

// Targets of windows and menu items that later builds add.
bool LaterTarget(const TTextEntry& e) {
    return QByteArray(e.Window) == "frmClient" || QByteArray(e.Section) == "Extras";
}

// After an Apply of `file`, every control of the table shows the file's text or, without the
// key, the default: the last entry of a target wins.
void VerifyEveryControl(const TIniFile& file) {
    QMap<QString, QString> expected;
    for (const TTextEntry& e : LanguageTable()) {
        if (IsBoundTarget(e) || LaterTarget(e))
            continue;
        const QString id = QString("%1/%2/%3").arg(e.Window, e.Target).arg(e.Item);
        expected[id] = file.ReadString(e.Section, e.Key, e.DefaultText());
    }
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QStringList part = it.key().split('/');
        const QString shown = LanguageTargets().Text(part[0], part[1], part[2].toInt());
        if (shown != it.value())
            QFAIL(qPrintable(QString("%1 shows \"%2\", not \"%3\"").arg(it.key(), shown, *it)));
    }
}

} // namespace

class TestLanguageApply : public QObject {
    Q_OBJECT
private slots:
    void everyTargetIsThere();
    void partialFileChangesOnlyItsTexts();
    void sharedKeysSetEveryTarget();
    void challengeModeGetsTheEndText();
    void expandedNewGameGetsTheBasicText();
    void programTextsReachTheSettingsCommands();
    void noRowSelectedUsesTheFirstLanguage();
    void startUpAndProfilesApplyTheStoredIndex();
    void emptyListUsesEnglishThenDefaults();
    void dataOutsideTheLangFolderGivesDefaults();
    void laterWindowsAndMenuItemsBindByName();
    void talliesEventsAndLayoutFaultsFollowTheLanguage();
    void standardButtonsFollowTheLanguage();
};

void TestLanguageApply::everyTargetIsThere() {
    TLanguageFolder f;
    f.Start();
    QCOMPARE(LanguageTable().size(), BaseEntryCount + 24 + GameEndEntryCount);
    for (const TTextEntry& e : LanguageTable()) {
        if (LaterTarget(e))
            continue;
        const bool there =
            IsBoundTarget(e) ||
            (e.Item < 0 ? LanguageTargets().FindControl(e.Window, e.Target) != nullptr
                        : !Shown(e.Window, e.Target, e.Item).isEmpty());
        if (!there)
            QFAIL(
                qPrintable(QString("no target %1/%2 item %3").arg(e.Window, e.Target).arg(e.Item)));
    }
    auto* language = f.Main().findChild<QAction*>("mnuLanguage");
    QVERIFY(language && language->isEnabled());
    QCOMPARE(f.Lang().windowTitle(), QString("Select Language"));
}

void TestLanguageApply::partialFileChangesOnlyItsTexts() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"Partial", "partial.ini"}}));
    const QStringList partial = {
        "; a few texts only",   "[file menu]",    "1 = Spiel laden",    "[Colors]",
        "Label2=Weiße Felder:", "[StartNetGame]", "item2=Als Client",   "[NewGame]",
        "Combo1=Weiß",          "[MainForm]",     "Label3=Ereignisse:", "[Appearance Menu]",
        "0=&Aussehen"};
    QVERIFY(f.Write("lang/partial.ini", partial));
    f.Start();
    // Before the first Apply the windows show their designed captions.
    QCOMPARE(MenuItem(f.Main(), "mnuNextCh"), QString("Next Challenge"));
    QCOMPARE(Shown("frmColors", "Label1"), QString("Black squares:"));
    f.Apply(0);
    QCOMPARE(MenuItem(f.Main(), "mnuLoad"), QString("Spiel laden"));
    QCOMPARE(f.Main().findChild<QMenu*>("mnuAppearence")->title(), QString("&Aussehen"));
    QCOMPARE(Shown("frmColors", "Label2"), QString("Weiße Felder:"));
    QCOMPARE(Shown("frmStartNetGame", "rgCon", 1), QString("Als Client"));
    QCOMPARE(Shown("frmNew", "turn", 0), QString("Weiß"));
    QCOMPARE(Shown("frmCorvina", "Label4"), QString("Ereignisse:"));
    // Everything else takes its default, also where the window showed another text.
    QCOMPARE(MenuItem(f.Main(), "mnuNextCh"), QString("Ne&xt Challenge!"));
    QCOMPARE(Shown("frmColors", "Label1"), QString("Black Squares:"));
    QCOMPARE(Shown("frmStartNetGame", "rgCon", 0), QString("As a server (listening)"));
    QCOMPARE(Shown("frmNew", "turn", 1), QString("Black`s"));
    QCOMPARE(Shown("frmTheme", ""), QString("Select Background Theme"));
    QCOMPARE(Shown("frmStartNetGame", "Label2"), QString("IP Address"));
    VerifyEveryControl(TIniFile::FromLines(partial));
    QVERIFY(f.Errors.isEmpty());
}

void TestLanguageApply::sharedKeysSetEveryTarget() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"Shared", "shared.ini"}}));
    const QStringList shared = {
        "[NewGame]",      "Label=Name:",       "GroupBox1=Kopf",     "GroupBox3=PC",
        "[Colors]",       "Button1=Ändern...", "Button2=Grundfarbe", "[MainForm]",
        "Label4=Punkte:", "[Game Menu]",       "8=Neu beginnen"};
    QVERIFY(f.Write("lang/shared.ini", shared));
    f.Start();
    f.Apply(0);
    for (const char* label : {"Label1", "Label2"})
        QCOMPARE(Shown("frmNew", label), QString("Name:"));
    for (const char* mind : {"pl1", "pl2"}) {
        QCOMPARE(Shown("frmNew", mind), QString("Kopf"));
        QCOMPARE(Shown("frmNew", mind, 0), QString("Human"));
        QCOMPARE(Shown("frmNew", mind, 1), QString("PC"));
    }
    for (const char* b : {"cmdChange1", "cmdChange2"})
        QCOMPARE(Shown("frmColors", b), QString("Ändern..."));
    for (const char* b : {"cmdDefault1", "cmdDefault2"})
        QCOMPARE(Shown("frmColors", b), QString("Grundfarbe"));
    for (const char* l : {"Label5", "Label6"})
        QCOMPARE(Shown("frmCorvina", l), QString("Punkte:"));
    QCOMPARE(MenuItem(f.Main(), "mnuRestart"), QString("Neu beginnen"));
    QCOMPARE(Shown("frmCorvina", "cmdRestart"), QString("Neu beginnen"));
    VerifyEveryControl(TIniFile::FromLines(shared));
}

void TestLanguageApply::challengeModeGetsTheEndText() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"Deutsch", "de.ini"}}));
    QVERIFY(f.Write("lang/de.ini", {"[Game Menu]", "5=Aufgaben!", "5alt=Aufgaben beenden"}));
    f.Start();
    f.Apply(0);
    QCOMPARE(MenuItem(f.Main(), "mnuChallenges"), QString("Aufgaben!"));
    f.Main().Hook().Trigger("mnuChallenges");
    QVERIFY(f.Main().Hook().ChallengeMode());
    QCOMPARE(MenuItem(f.Main(), "mnuChallenges"), QString("Aufgaben beenden"));

    // Applied while challenge mode is on: the item keeps the ending text, in the new language.
    QVERIFY(f.Write("lang/de.ini", {"[Game Menu]", "5=Puzzles!", "5alt=Puzzles beenden"}));
    f.Apply(0);
    QVERIFY(f.Main().Hook().ChallengeMode());
    QCOMPARE(MenuItem(f.Main(), "mnuChallenges"), QString("Puzzles beenden"));
    f.Main().Hook().Trigger("mnuChallenges");
    QCOMPARE(MenuItem(f.Main(), "mnuChallenges"), QString("Puzzles!"));
    // Without the keys the defaults return.
    QVERIFY(f.Write("lang/de.ini", {"[Game Menu]"}));
    f.Main().Hook().Trigger("mnuChallenges");
    f.Apply(0);
    QCOMPARE(MenuItem(f.Main(), "mnuChallenges"), QString("End &Challenge"));
    QVERIFY(f.Errors.isEmpty());
}

void TestLanguageApply::expandedNewGameGetsTheBasicText() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"Deutsch", "de.ini"}}));
    QVERIFY(f.Write("lang/de.ini", {"[NewGame]", "Button1=Erweitert >>", "Button1alt=<< Einfach"}));
    f.Start();
    TfrmNew& dialog = f.Program->NewGameDialog();
    f.Apply(0);
    QCOMPARE(dialog.cmdSwitch->text(), QString("Erweitert >>"));
    dialog.cmdSwitchClick();
    QVERIFY(dialog.Advanced());
    QCOMPARE(dialog.cmdSwitch->text(), QString("<< Einfach"));

    QVERIFY(f.Write("lang/de.ini", {"[NewGame]", "Button1=Mehr >>", "Button1alt=<< Weniger"}));
    f.Apply(0);
    QVERIFY(dialog.Advanced());
    QCOMPARE(dialog.cmdSwitch->text(), QString("<< Weniger"));
    dialog.cmdSwitchClick();
    QVERIFY(!dialog.Advanced());
    QCOMPARE(dialog.cmdSwitch->text(), QString("Mehr >>"));
}

void TestLanguageApply::programTextsReachTheSettingsCommands() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"Deutsch", "de.ini"}}));
    QVERIFY(f.Write("lang/de.ini", {"[SaveSettings]", "Caption=Einstellungen speichern",
                                    "Label1=Name:", "Msg1=Default ist geschützt", "[LoadSettings]",
                                    "Msg1=Nicht löschbar"}));
    f.Start();
    f.Apply(0);
    QStringList shown;
    SetInformationHandler(
        [&shown](const QString& caption, const QString& text) { shown << caption << text; });
    QVERIFY(!f.Main().Hook().SaveSettingsAs("Default"));
    SetInformationHandler({});
    QCOMPARE(shown, (QStringList{"Einstellungen speichern", "Default ist geschützt"}));
    QCOMPARE(ProgramText(TextIds::SaveSettingsLabel1), QString("Name:"));
    QCOMPARE(ProgramText(TextIds::LoadSettingsMsg1), QString("Nicht löschbar"));

    // Another language without these keys brings the defaults back.
    QVERIFY(f.Write("lang/de.ini", {"[SaveSettings]"}));
    f.Apply(0);
    QCOMPARE(ProgramText(TextIds::SaveSettingsCaption), QString("Save Settings"));
    QCOMPARE(ProgramText(TextIds::SaveSettingsLabel1), QString("Save Settings"));
    QCOMPARE(ProgramText(TextIds::SaveSettingsMsg1), QString("Save Settings"));
    QCOMPARE(ProgramText(TextIds::LoadSettingsMsg1),
             QString("You cannot delete the default options!"));
}

void TestLanguageApply::noRowSelectedUsesTheFirstLanguage() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"First", "first.ini"}, {"Second", "second.ini"}}));
    QVERIFY(f.Write("lang/first.ini", {"[File Menu]", "6=Ende"}));
    QVERIFY(f.Write("lang/second.ini", {"[File Menu]", "6=Sortir"}));
    f.Start();
    QCOMPARE(f.Lang().langs->count(), 2);
    QCOMPARE(f.Lang().langs->item(1)->text(), QString("Second"));
    f.Apply(1);
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Sortir"));
    QCOMPARE(f.Main().Hook().LanguageIndex(), 1);
    f.Apply(-1);
    QCOMPARE(f.Lang().SelectedIndex(), -1);
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Ende"));
    QCOMPARE(f.Lang().LanguageIndex(), 0);
    QCOMPARE(f.Main().Hook().LanguageIndex(), 0);
    // The index goes into saved profiles.
    f.Apply(1);
    QVERIFY(f.Main().Hook().SaveSettingsAs("Mine"));
    QCOMPARE(f.Read("Settings/Mine").value(7), QString("1"));
}

void TestLanguageApply::startUpAndProfilesApplyTheStoredIndex() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"First", "first.ini"}, {"Second", "second.ini"}}));
    QVERIFY(f.Write("lang/first.ini", {"[File Menu]", "6=Ende"}));
    QVERIFY(f.Write("lang/second.ini", {"[File Menu]", "6=Sortir"}));
    QStringList second = DefaultProfile;
    second[7] = "1";
    QStringList beyond = DefaultProfile;
    beyond[7] = "9";
    QVERIFY(f.Prepare({"Second"}, {{"Second", second}, {"Beyond", beyond}}));
    f.Start();
    QCOMPARE(f.Main().Hook().LanguageIndex(), 1);
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Quit")); // not applied before the step
    f.Main().Hook().Timer2Timer();
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Sortir"));
    QCOMPARE(f.Lang().SelectedIndex(), 1);

    QVERIFY(f.Main().Hook().LoadSettings("Default"));
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Ende"));
    QVERIFY(f.Main().Hook().LoadSettings("Second"));
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Sortir"));
    // An index past the list selects nothing: the first language, stored as 0.
    QVERIFY(f.Main().Hook().LoadSettings("Beyond"));
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Ende"));
    QCOMPARE(f.Main().Hook().LanguageIndex(), 0);
    QCOMPARE(f.Main().Hook().CurrentProfile().LanguageIndex, 0);
    QVERIFY(f.Errors.isEmpty());
}

void TestLanguageApply::emptyListUsesEnglishThenDefaults() {
    TLanguageFolder f;
    QVERIFY(f.Write("lang/english.ini", {"[File Menu]", "6=Leave"}));
    f.Start();
    QCOMPARE(f.Lang().langs->count(), 0);
    f.Apply(0);
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Leave"));
    QCOMPARE(f.Main().Hook().LanguageIndex(), 0);
    QVERIFY(QFile::remove(ProgramPath("lang/english.ini")));
    f.Apply(3);
    QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("&Quit"));
    VerifyEveryControl(TIniFile());
    QVERIFY(f.Errors.isEmpty());
}

void TestLanguageApply::dataOutsideTheLangFolderGivesDefaults() {
    TLanguageFolder f;
    const QStringList evil = {"[File Menu]", "6=EVIL"};
    QVERIFY(f.Write("evil.ini", evil));
    QDir().mkpath(ProgramPath("lang/sub"));
    QVERIFY(f.Write("lang/sub/evil.ini", evil));
    QVERIFY(f.Write("lang/good.ini", {"[File Menu]", "6=Good"}));
    QVERIFY(f.WriteList({{"Good", "good.ini"},
                         {"Up", "../evil.ini"},
                         {"Sub", "sub/evil.ini"},
                         {"Back", "sub\\evil.ini"},
                         {"Absolute", ProgramPath("evil.ini")},
                         {"Dots", ".."},
                         {"Missing", "nothing.ini"},
                         {"NoData", ""}}));
    f.Start();
    QCOMPARE(f.Lang().langs->count(), 8);
    for (int i = 1; i < 8; ++i) {
        f.Apply(0);
        QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("Good"));
        f.Apply(i);
        QCOMPARE(MenuItem(f.Main(), "mnuQuit"), QString("&Quit"));
        QCOMPARE(f.Main().Hook().LanguageIndex(), i);
    }
    QVERIFY(f.Errors.isEmpty());
}

void TestLanguageApply::laterWindowsAndMenuItemsBindByName() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"Deutsch", "de.ini"}}));
    QVERIFY(f.Write("lang/de.ini", {"[NetGameServer]", "Button6=Sagen", "GroupBox1=Kennung",
                                    "[Extras]", "CopyFEN=Stellung kopieren (FEN)"}));
    f.Start();
    // Applying before they exist skips them.
    f.Apply(0);
    // A lobby window built later, parented to the main window, and later menu items.
    auto* client = new QDialog(&f.Main());
    client->setObjectName("frmClient");
    // The program's own lobby window has this name too: the later window takes its place.
    LanguageTargets().AddWindow(client);
    auto* group = new QGroupBox("ID", client);
    group->setObjectName("GroupBox1");
    auto* label = new QLabel("Password (if server protected)", group);
    label->setObjectName("Label7");
    auto* say = new QPushButton("Say", client);
    say->setObjectName("cmdSay");
    // Menu items of the main window that came after the table's 126 texts.
    QAction* copy = f.Main().findChild<QAction*>("mnuCopyFEN");
    QAction* highlight = f.Main().findChild<QAction*>("mnuHighlight");
    QVERIFY(copy && highlight);
    highlight->setText("Highlight moves");
    f.Apply(0);
    QCOMPARE(client->windowTitle(), QString("Connect To NetGame Server"));
    QCOMPARE(group->title(), QString("Kennung"));
    QCOMPARE(label->text(), QString("Password (if server is protected)"));
    QCOMPARE(say->text(), QString("Sagen"));
    // The main window's own chat button keeps its name apart from the lobby window's.
    QCOMPARE(Shown("frmCorvina", "cmdSay"), QString("Say"));
    QCOMPARE(copy->text(), QString("Stellung kopieren (FEN)"));
    QCOMPARE(highlight->text(), QString("&Highlight Moves"));
    delete client;
    f.Apply(0); // a window gone is skipped again
}

void TestLanguageApply::talliesEventsAndLayoutFaultsFollowTheLanguage() {
    TLanguageFolder f;
    QVERIFY(f.WriteList({{"Deutsch", "de.ini"}, {"Leer", "empty.ini"}}));
    QVERIFY(f.Write("lang/de.ini",
                    {"[Extras]", "TallyPawns=Bauern", "TallyRooks=Türme: %1", "EventCheck=Schach!",
                     "EventMate=Matt!!!", "LayoutKingsMissing=Ohne Könige geht es nicht!",
                     "[Game Menu]", "8=Aufgabe &neu starten"}));
    QVERIFY(f.Write("lang/empty.ini", {"[Extras]"}));
    f.Start();
    TfrmCorvina& w = f.Main();
    w.Board()->SetComputerPlaysBlack(false);
    f.Apply(0);
    const auto tally = [&w](const char* side) {
        QStringList texts;
        const auto* list = w.findChild<QListWidget*>(side);
        for (int i = 0; list && i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    };
    QCOMPARE(tally("black"),
             (QStringList{"0 Bauern", "0 Bishops", "0 Knights", "Türme: 0", "0 Queens"}));
    QVERIFY(PlayMoves(w, {"f2f3", "e7e5", "g2g4", "d8h4"}));
    QCOMPARE(tally("white"),
             (QStringList{"0 Bauern", "0 Bishops", "0 Knights", "Türme: 0", "0 Queens"}));
    const auto* events = w.findChild<QListWidget*>("events");
    QCOMPARE(events->item(0)->text(), QString("Matt!!!"));
    QCOMPARE(events->item(1)->text(), QString("Schach!"));
    QCOMPARE(TfrmNew::LayoutFault(QString(64, u' ')), QString("Ohne Könige geht es nicht!"));
    // The menu item keeps its accelerator, the challenge button beside the board does not.
    QCOMPARE(MenuItem(w, "mnuRestart"), QString("Aufgabe &neu starten"));
    QCOMPARE(Shown("frmCorvina", "cmdRestart"), QString("Aufgabe neu starten"));

    // Another language without the keys: the English texts; the events already listed stay.
    f.Apply(1);
    QCOMPARE(tally("black"),
             (QStringList{"0 Pawns", "0 Bishops", "0 Knights", "0 Rooks", "0 Queens"}));
    QCOMPARE(TfrmNew::LayoutFault(QString(64, u' ')),
             QString("The board MUST contain the white and the black king!"));
    QCOMPARE(Shown("frmCorvina", "cmdRestart"), QString("Restart Challenge"));
    QCOMPARE(events->item(0)->text(), QString("Matt!!!"));
    QVERIFY(f.Errors.isEmpty());
}

void TestLanguageApply::standardButtonsFollowTheLanguage() {
    const QDir qt(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!qt.exists("qtbase_de.qm"))
        QSKIP("the toolkit's German translation (qt6-translations-l10n) is not installed");
    TLanguageFolder f;
    QVERIFY(f.Write("lang/info.ini",
                    {"[Deutsch]", "data=de.ini", "locale=de", "[English]", "data=en.ini",
                     "locale=en", "[Nowhere]", "data=en.ini", "locale=xx_YY"}));
    f.Start();
    const auto standard = [](QDialogButtonBox::StandardButton which) {
        QDialogButtonBox box;
        return box.addButton(which)->text();
    };
    const auto* goTo = LanguageTargets().FindWindow("frmGoTo");
    QVERIFY(goTo);
    const auto button = [goTo](const char* name) {
        const auto* b = goTo->findChild<QPushButton*>(name);
        return b ? b->text() : QString("<no %1>").arg(name);
    };
    QCOMPARE(button("cmdCancel"), QString("Cancel"));

    f.Apply(0);
    QCOMPARE(f.Lang().QtLocale(), QString("de"));
    QCOMPARE(standard(QDialogButtonBox::Cancel), QString("Abbrechen"));
    QCOMPARE(button("cmdCancel"), QString("Abbrechen"));
    QCOMPARE(button("cmdOK"), standard(QDialogButtonBox::Ok));
    QCOMPARE(f.Lang().cmdClose->text(), QString("Schließen"));
    // A button of the language table keeps the language file's text (here its default).
    QCOMPARE(Shown("frmStartNetGame", "cmdCancel"), QString("Cancel"));

    // English, and a locale without a translation, take the translation away again.
    for (int index : {1, 2, 0, 1}) {
        f.Apply(index);
        const bool german = index == 0;
        QCOMPARE(f.Lang().QtLocale(), german ? QString("de") : QString());
        const QString cancel = german ? "Abbrechen" : "Cancel";
        QCOMPARE(standard(QDialogButtonBox::Cancel), cancel);
        QCOMPARE(button("cmdCancel"), cancel);
        QCOMPARE(f.Lang().cmdClose->text(), QString(german ? "Schließen" : "Close"));
    }
    QVERIFY(f.Errors.isEmpty());
}

QTEST_MAIN(TestLanguageApply)
#include "tst_language_apply.moc"
