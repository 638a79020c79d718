// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/Language1.h"

#include "common/ProgramFolder.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"
#include "uikit/ListRows.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QTranslator>

void ApplyLanguageTexts(const TIniFile& file, TTextTargets& targets) {
    for (const TTextEntry& e : LanguageTable()) {
        const QString text = file.ReadString(QString::fromUtf8(e.Section), QString::fromUtf8(e.Key),
                                             e.DefaultText());
        targets.SetText(QString::fromUtf8(e.Window), QString::fromUtf8(e.Target), e.Item, text);
    }
}

void ShowStandardButtonTexts(const TTextTargets& targets) {
    const std::pair<QDialogButtonBox::StandardButton, QLatin1String> kinds[] = {
        {QDialogButtonBox::Ok, QLatin1String("OK")},
        {QDialogButtonBox::Cancel, QLatin1String("Cancel")},
        {QDialogButtonBox::Close, QLatin1String("Close")},
    };
    QSet<QObject*> tableTargets;
    for (const TTextEntry& e : LanguageTable())
        tableTargets.insert(
            targets.FindControl(QString::fromUtf8(e.Window), QString::fromUtf8(e.Target)));
    QDialogButtonBox texts; // words each kind as the toolkit does
    for (QWidget* window : targets.Windows()) {
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (tableTargets.contains(button) ||
                qobject_cast<QDialogButtonBox*>(button->parentWidget()))
                continue;
            QVariant kind = button->property(StandardButtonProperty);
            if (!kind.isValid()) {
                int found = 0;
                for (const auto& [standard, english] : kinds)
                    found = button->text() == english ? int(standard) : found;
                button->setProperty(StandardButtonProperty, found);
                kind = found;
            }
            if (kind.toInt() != 0) {
                const auto standard = QDialogButtonBox::StandardButton(kind.toInt());
                QPushButton* model = texts.button(standard);
                button->setText((model ? model : texts.addButton(standard))->text());
            }
        }
    }
}

TfrmLang::TfrmLang(QWidget* parent) : QDialog(parent) {
    setObjectName("frmLang");
    setWindowTitle("Select Language");
    setFixedSize(250, 264);
    Label1 = new QLabel("Languages:", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(8, 6, 234, 17);
    langs = new QListWidget(this);
    langs->setObjectName("langs");
    langs->setGeometry(8, 26, 234, 192);
    cmdApply = new QPushButton("Apply", this);
    cmdApply->setObjectName("cmdApply");
    cmdApply->setGeometry(40, 228, 80, 27);
    cmdApply->setDefault(true);
    cmdClose = new QPushButton("Close", this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setGeometry(130, 228, 80, 27);
    connect(cmdApply, &QPushButton::clicked, this, &TfrmLang::cmdApplyClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(langs, &QListWidget::itemDoubleClicked, this, &TfrmLang::cmdApplyClick);
    FormCreate();
}

void TfrmLang::FormCreate() {
    langs->clear();
    langs->addItems(TIniFile::Load(ProgramPath("lang/info.ini")).SectionNames());
}

QString TfrmLang::LanguageFile(const TIniFile& list, const QString& name) {
    const QString data = list.ReadString(name, "data", QString::fromLatin1(DefaultFile));
    // The file lies in the lang folder itself: a value that leads elsewhere names none.
    if (data.isEmpty() || data.contains(u'/') || data.contains(u'\\') || data == "." ||
        data == "..")
        return {};
    return "lang/" + data;
}

QString TfrmLang::LanguageLocale(const TIniFile& list, const QString& name) {
    return list.ReadString(name, "locale", QString());
}

void TfrmLang::UseQtTranslation(const QString& locale) {
    const bool english = locale.isEmpty() || QLocale(locale).language() == QLocale::English ||
                         QLocale(locale).language() == QLocale::C;
    if (!english && QtTranslator_ && locale == QtLocale_)
        return;
    if (QtTranslator_) {
        QCoreApplication::removeTranslator(QtTranslator_);
        delete QtTranslator_;
        QtTranslator_ = nullptr;
        QtLocale_.clear();
    }
    if (english)
        return;
    auto* translator = new QTranslator(this);
    if (!translator->load(QLocale(locale), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    QtTranslator_ = translator;
    QtLocale_ = locale;
}

void TfrmLang::SelectIndex(int index) {
    SelectListRow(langs, index);
}

int TfrmLang::SelectedIndex() const {
    return SelectedListRow(langs);
}

void TfrmLang::cmdApplyClick() {
    const int index = std::max(0, SelectedIndex());
    // Without a language list there is no name to look up: the English file is read, and
    // when it is missing too every text takes its built-in default.
    QString file = QString("lang/") + DefaultFile;
    QString locale;
    if (index < langs->count()) {
        const TIniFile list = TIniFile::Load(ProgramPath("lang/info.ini"));
        file = LanguageFile(list, langs->item(index)->text());
        locale = LanguageLocale(list, langs->item(index)->text());
    }
    CurrentFileName_ = file.isEmpty() ? QString() : ProgramPath(file);
    CurrentFile_ = file.isEmpty() ? TIniFile() : TIniFile::Load(CurrentFileName_);
    UseQtTranslation(locale);
    ShowStandardButtonTexts(LanguageTargets());
    ApplyLanguageTexts(CurrentFile_, LanguageTargets());
    LanguageIndex_ = index;
    if (OnApplied)
        OnApplied(this, index);
}

void TfrmLang::Execute() {
    exec();
}
