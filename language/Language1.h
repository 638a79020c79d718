// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmLang (form frmLang): the "Select Language" dialog. Its list holds the languages named in
// lang/info.ini (one section per language, the section name shown, its "data" value naming the
// language file in the lang folder). Apply reads the chosen language file and rewrites every
// translatable text of the program (ApplyLanguageTexts); it is also run by the start-up step and
// by loading a settings profile, after they have selected the stored language index.

#include "language/IniFile.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class TTextTargets;

// Sets every text of LanguageTable() from `file`, each missing key giving its default, in table
// order; targets that are not there are skipped.
void ApplyLanguageTexts(const TIniFile& file, TTextTargets& targets);

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

    // Raised after each Apply with the index it used.
    std::function<void(TfrmLang* Sender, int index)> OnApplied;

private:
    TIniFile CurrentFile_;
    QString CurrentFileName_;
    int LanguageIndex_ = 0;
};
