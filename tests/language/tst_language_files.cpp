// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped language files: each holds every key of the key list once and nothing else, the
// list names them all with a locale for the toolkit's own texts, English is the built-in
// defaults, every menu item has an accelerator of its own within its menu, and in every language
// each text of a button, label, check box, radio item, tally or event fits its control in the
// real windows.
#include "setup/New1.h"
#include "tests/language/LanguageFolder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <QtTest>

namespace {

const QString LangDir = QStringLiteral(CORVINA_DATA_DIR "/lang");

QString Key(const QString& section, const QString& key) {
    return section.toCaseFolded() + "/" + key.toCaseFolded();
}

QStringList LanguageFiles() {
    return QDir(LangDir).entryList({"*.ini"}, QDir::Files, QDir::Name);
}

// Pixels a control's text needs and the pixels it has; {0, 0} for what takes no text.
std::pair<int, int> Room(QObject* target, int item) {
    auto* w = qobject_cast<QWidget*>(target);
    if (!w || w->isWindow())
        return {0, 0};
    const QFontMetrics fm = w->fontMetrics();
    QStyle* style = w->style();
    auto plain = [](QString t) { return t.remove(u'&'); };
    if (item >= 0) {
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox opt;
            opt.initFrom(combo);
            opt.frame = true;
            const QRect field =
                style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, w);
            return {fm.horizontalAdvance(combo->itemText(item)), field.width()};
        }
        w = RadioItem(w, item);
        if (!w)
            return {0, 0};
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
        return {w->sizeHint().width(), w->width()};
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        const int margins = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) +
                            2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
        return {fm.horizontalAdvance(plain(b->text())) + margins, b->width()};
    }
    if (auto* b = qobject_cast<QToolButton*>(w))
        return {fm.horizontalAdvance(plain(b->text())) + 6, b->width()};
    if (auto* l = qobject_cast<QLabel*>(w))
        return {fm.horizontalAdvance(l->text()), l->contentsRect().width() - 2 * l->margin()};
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return {fm.horizontalAdvance(plain(g->title())) + 16, g->width()};
    return {0, 0};
}

// What is wrong with the accelerators of one menu's items (or the menu bar's titles): each needs
// one, and no two the same.
QStringList AcceleratorFaults(const QList<QAction*>& actions) {
    QStringList faults;
    QMap<QKeySequence, QString> used;
    for (const QAction* a : actions) {
        if (a->isSeparator())
            continue;
        const QString text = a->menu() ? a->menu()->title() : a->text();
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty() || QString(text).remove("&&").count(u'&') != 1)
            faults << QString("\"%1\" needs one accelerator").arg(text);
        else if (used.contains(key))
            faults << QString("\"%1\" has the accelerator of \"%2\"").arg(text, used[key]);
        else
            used.insert(key, text);
    }
    return faults;
}

// The pixels an item view leaves for an item's text: its viewport less the text's margins and,
// for a list that may fill up, a scroll bar.
int ItemRoom(const QListWidget* list, bool scrolls) {
    QStyle* style = list->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int bar = scrolls ? style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) : 0;
    return list->width() - 2 * list->frameWidth() - bar - 2 * margin;
}

} // namespace

class TestLanguageFiles : public QObject {
    Q_OBJECT
private slots:
    void listNamesEveryFile();
    void everyFileHasEveryKeyOnce();
    void englishIsTheDefaults();
    void everyMenuItemHasItsOwnAccelerator();
    void everyTextFitsItsControl();
};

void TestLanguageFiles::listNamesEveryFile() {
    const TIniFile list = TIniFile::Load(LangDir + "/info.ini");
    const QStringList names = list.SectionNames();
    QVERIFY(names.size() >= 1);
    QCOMPARE(names.first(), QString("English"));
    QStringList listed;
    for (const QString& name : names) {
        const QString file = TfrmLang::LanguageFile(list, name);
        QVERIFY2(!file.isEmpty(), qPrintable(name));
        QVERIFY2(QFileInfo::exists(QString(CORVINA_DATA_DIR "/") + file), qPrintable(file));
        QVERIFY2(!listed.contains(file), qPrintable(file));
        listed << file;
        // The toolkit's translation of the language's locale words the standard buttons.
        const QString locale = TfrmLang::LanguageLocale(list, name);
        QVERIFY2(QLocale(locale).language() != QLocale::C, qPrintable(name + ": " + locale));
        const QDir qt(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (QLocale(locale).language() != QLocale::English &&
            !qt.entryList({"qtbase_*.qm"}).isEmpty())
            QVERIFY2(qt.exists("qtbase_" + locale + ".qm"), qPrintable(name + ": " + locale));
    }
    for (const QString& file : LanguageFiles()) {
        if (file != "info.ini")
            QVERIFY2(listed.contains("lang/" + file), qPrintable(file + " is in no list entry"));
    }
}

void TestLanguageFiles::everyFileHasEveryKeyOnce() {
    QStringList expected;
    for (const TTextKey& k : LanguageKeys())
        expected << Key(k.Section, k.Key);
    // 118 keys feed the 126 original targets, 5 the later menu items, 19 the tallies, events and
    // layout faults, the rest the game's end, resigning, draws, the hint and the clocks.
    QCOMPARE(expected.size(), 142 + static_cast<int>(GameEndEntryCount));
    QCOMPARE(expected.removeDuplicates(), 0);
    int checked = 0;
    for (const QString& name : LanguageFiles()) {
        if (name == "info.ini")
            continue;
        QFile file(LangDir + "/" + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        QVERIFY2(!utf8.hasError(), qPrintable(name + " is not UTF-8"));
        QVERIFY2(text.startsWith(u';'), qPrintable(name + " does not start with a comment"));
        QStringList found;
        QStringList sections;
        const TIniFile ini = TIniFile::FromBytes(bytes);
        for (const TIniFile::TSection& s : ini.Sections()) {
            QVERIFY2(!sections.contains(s.Name.toCaseFolded()),
                     qPrintable(name + ": section twice: " + s.Name));
            sections << s.Name.toCaseFolded();
            for (const auto& [key, value] : s.Values) {
                const QString id = Key(s.Name, key);
                QVERIFY2(expected.contains(id), qPrintable(name + ": unknown key " + id));
                QVERIFY2(!found.contains(id), qPrintable(name + ": key twice " + id));
                QVERIFY2(!value.isEmpty(), qPrintable(name + ": empty " + id));
                found << id;
            }
        }
        for (const QString& id : expected)
            QVERIFY2(found.contains(id), qPrintable(name + ": missing " + id));
        ++checked;
    }
    QVERIFY(checked >= 1);
}

void TestLanguageFiles::englishIsTheDefaults() {
    const TIniFile english = TIniFile::Load(LangDir + "/english.ini");
    for (const TTextKey& k : LanguageKeys())
        QCOMPARE(english.ReadString(k.Section, k.Key, "<missing>"), k.Default);
}

void TestLanguageFiles::everyMenuItemHasItsOwnAccelerator() {
    TLanguageFolder f;
    for (const QString& name : QDir(LangDir).entryList(QDir::Files))
        QVERIFY(QFile::copy(LangDir + "/" + name, ProgramPath("lang/" + name)));
    f.Start();
    QVERIFY(f.Lang().langs->count() >= 1);
    QAction* challenges = f.Main().findChild<QAction*>("mnuChallenges");
    QVERIFY(challenges);
    QStringList faults;
    const auto check = [&faults, &f](const QString& language) {
        const QList<QAction*> titles = f.Main().menuBar()->actions();
        for (const QString& fault : AcceleratorFaults(titles))
            faults << language + ", menu bar: " + fault;
        for (const QAction* title : titles) {
            for (const QString& fault : AcceleratorFaults(title->menu()->actions()))
                faults << language + ", " + title->menu()->objectName() + ": " + fault;
        }
    };
    for (int i = 0; i < f.Lang().langs->count(); ++i) {
        f.Apply(i);
        const QString language = f.Lang().langs->item(i)->text();
        check(language);
        // The challenge item's other caption, in challenge mode.
        challenges->trigger();
        QVERIFY(f.Main().Hook().ChallengeMode());
        check(language);
        challenges->trigger();
        QVERIFY(!f.Main().Hook().ChallengeMode());
    }
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable("\n" + faults.join('\n')));
    QVERIFY(f.Errors.isEmpty());
}

void TestLanguageFiles::everyTextFitsItsControl() {
    TLanguageFolder f;
    for (const QString& name : QDir(LangDir).entryList(QDir::Files))
        QVERIFY(QFile::copy(LangDir + "/" + name, ProgramPath("lang/" + name)));
    f.Start();
    const int count = f.Lang().langs->count();
    QVERIFY(count >= 1);
    TfrmNew& newGame = f.Program->NewGameDialog();
    newGame.cmdSwitchClick(); // the editor's controls show in the expanded state only
    QStringList faults;
    for (int i = 0; i < count; ++i) {
        f.Apply(i);
        const QString language = f.Lang().langs->item(i)->text();
        QSet<QWidget*> windows;
        for (const TTextEntry& e : LanguageTable()) {
            if (QWidget* w = LanguageTargets().FindWindow(e.Window))
                windows.insert(w);
        }
        for (QWidget* w : windows) {
            w->show();
            if (w->layout())
                w->layout()->activate();
        }
        QCoreApplication::processEvents();
        for (const TTextEntry& e : LanguageTable()) {
            QObject* target = LanguageTargets().FindControl(e.Window, e.Target);
            auto* widget = qobject_cast<QWidget*>(target);
            // Rows a window never shows have no room to measure.
            if (!widget ||
                (widget->isHidden() && widget->parentWidget() && widget->parentWidget()->layout()))
                continue;
            const auto [needed, room] = Room(target, e.Item);
            if (needed > room) {
                faults << QString("%1: %2/%3 item %4 \"%5\" needs %6 px, has %7")
                              .arg(language, e.Window, e.Target)
                              .arg(e.Item)
                              .arg(LanguageTargets().Text(e.Window, e.Target, e.Item))
                              .arg(needed)
                              .arg(room);
            }
        }
        // The OK, Cancel and Close buttons of the program's dialogs, in the toolkit's words.
        for (QWidget* window : LanguageTargets().Windows()) {
            for (QPushButton* b : window->findChildren<QPushButton*>()) {
                if (b->property(StandardButtonProperty).toInt() == 0)
                    continue;
                const auto [needed, room] = Room(b, -1);
                if (needed > room)
                    faults << QString("%1: %2 \"%3\" needs %4 px, has %5")
                                  .arg(language, b->objectName(), b->text())
                                  .arg(needed)
                                  .arg(room);
            }
        }
        // The tallies as they show and the event texts as the events list would show them.
        for (const char* name : {"white", "black"}) {
            const auto* tally = f.Main().findChild<QListWidget*>(name);
            for (int row = 0; tally && row < tally->count(); ++row) {
                const QString text = tally->item(row)->text();
                if (tally->fontMetrics().horizontalAdvance(text) > ItemRoom(tally, false))
                    faults
                        << QString("%1: tally \"%2\" is wider than its list").arg(language, text);
            }
        }
        const auto* events = f.Main().findChild<QListWidget*>("events");
        QVERIFY(events);
        for (const TTextEntry& e : LanguageTable()) {
            if (!QByteArray(e.Key).startsWith("Event"))
                continue;
            const QString text =
                f.Lang().CurrentFile().ReadString(e.Section, e.Key, e.DefaultText());
            if (events->fontMetrics().horizontalAdvance(text) > ItemRoom(events, true))
                faults << QString("%1: event \"%2\" is wider than the events list")
                              .arg(language, text);
        }
        for (QWidget* w : windows)
            w->hide();
    }
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable("\n" + faults.join('\n')));
}

QTEST_MAIN(TestLanguageFiles)
#include "tst_language_files.moc"
