// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmLang (form frmLang): the "Select Language" dialog. Its list holds the languages named in
// lang/info.ini (one section per language, the section name shown, its "data" value naming the
// language file in the lang folder, its "locale" value the language's code for the toolkit's
// own texts). Apply reads the chosen language file and rewrites every translatable text of the
// program (ApplyLanguageTexts); it also puts the toolkit's translation of that locale in place,
// which words the standard buttons (OK, Cancel, Yes, No...) of message boxes, file and colour
// dialogs and of the program's own dialogs (ShowStandardButtonTexts). Apply is also run by the
// start-up step and by loading a settings profile, after they have selected the stored index.

#include "language/IniFile.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QTranslator;
class TTextTargets;

// Sets every text of LanguageTable() from `file`, each missing key giving its default, in table
// order; targets that are not there are skipped.
void ApplyLanguageTexts(const TIniFile& file, TTextTargets& targets);
// Words the OK, Cancel and Close push buttons of the registered windows as the toolkit's
// translation in place words them. Such a button is recognised by its English text the first
// time it is seen; a target of the language table and a button of a button box are left alone.
void ShowStandardButtonTexts(const TTextTargets& targets);
// The property that holds a push button's standard kind (a QDialogButtonBox::StandardButton),
// 0 for a button of none, once ShowStandardButtonTexts has seen it.
inline constexpr const char* StandardButtonProperty = "corvinaStandardButton";

class TfrmLang : public QDialog {
public:
    explicit TfrmLang(QWidget* parent = nullptr);

    // --- Controls, named as designed.
    QLabel* Label1;
    QListWidget* langs;
    QPushButton* cmdApply;
    QPushButton* cmdClose;

    // The language file used when the list names none.
    static constexpr const char* DefaultFile = "english.ini";
    // The language file named by section `name` of the language list, as a path below the
    // program folder ("lang/german.ini"). A "data" value that is not a plain file name (a path
    // separator, "." or "..") names no file: the answer is empty and every text its default.
    static QString LanguageFile(const TIniFile& list, const QString& name);
    // The "locale" value of section `name` ("de", "pt_BR"); empty when missing, which is English.
    static QString LanguageLocale(const TIniFile& list, const QString& name);

    // Fills `langs` from lang/info.ini; run once when the dialog is created.
    void FormCreate();
    // Selects row `index`; any index outside the list selects nothing.
    void SelectIndex(int index);
    int SelectedIndex() const;
    // Applies the selected language, the first when none is selected, and remembers its index.
    void cmdApplyClick();
    void Execute();

    int LanguageIndex() const { return LanguageIndex_; }
    // The language file of the last Apply, kept until the next one.
    const TIniFile& CurrentFile() const { return CurrentFile_; }
    QString CurrentFileName() const { return CurrentFileName_; }
    // The locale of the toolkit's translation in place; empty for none (English).
    QString QtLocale() const { return QtLocale_; }

    // Raised after each Apply with the index it used.
    std::function<void(TfrmLang* Sender, int index)> OnApplied;

private:
    // Puts the toolkit's translation for `locale` in place of the previous one; English, an
    // empty or unknown locale or one without a translation installed leave none in place.
    void UseQtTranslation(const QString& locale);

    QTranslator* QtTranslator_ = nullptr;
    QString QtLocale_;
    TIniFile CurrentFile_;
    QString CurrentFileName_;
    int LanguageIndex_ = 0;
};
