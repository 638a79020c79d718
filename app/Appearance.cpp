// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's appearance, engine-options and settings-profile commands: it opens the
// dialogs and applies what they hand back; the dialogs change the board, and the window only
// through IAppearanceHost.
#include "app/Colors1.h"
#include "app/LoadSet.h"
#include "app/Main1.h"
#include "app/Options1.h"
#include "app/PieceSet1.h"
#include "app/ProgramTexts.h"
#include "app/Theme1.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "language/Language1.h"
#include "uikit/ErrorReport.h"

#include "board/ChessBrd.h"

#include <QAction>
#include <QFileInfo>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>

namespace {

// The "Highlight Moves" choice lives in a file of its own, beside al.dat, so that the settings
// profiles keep their ten lines: "0" switches the marks off, anything else leaves them on.
constexpr const char* HighlightFile = "hl.dat";

// A profile name is a file name inside Settings, never a path elsewhere.
bool PlainProfileName(const QString& name) {
    return !name.isEmpty() && !name.contains('/') && !name.contains('\\') && name != "." &&
           name != "..";
}

} // namespace

void TfrmCorvina::SetAppearanceDialogs(TfrmColors* colors, TfrmPieceSet* pieceSet,
                                       TfrmOptions* options, TfrmLoadSet* loadSet,
                                       TfrmTheme* theme) {
    frmColors = colors;
    frmPieceSet = pieceSet;
    frmOptions = options;
    frmLoadSet = loadSet;
    frmTheme = theme;
}

void TfrmCorvina::ConnectAppearanceMenus() {
    connect(mnuSet, &QAction::triggered, this, &TfrmCorvina::mnuSetClick);
    connect(mnuColors, &QAction::triggered, this, &TfrmCorvina::mnuColorsClick);
    connect(mnuTheme, &QAction::triggered, this, &TfrmCorvina::mnuThemeClick);
    connect(mnuOptions, &QAction::triggered, this, &TfrmCorvina::mnuOptionsClick);
    connect(mnuSaveSet, &QAction::triggered, this, &TfrmCorvina::mnuSaveSetClick);
    connect(mnuLoadSet, &QAction::triggered, this, &TfrmCorvina::mnuLoadSetClick);
    connect(mnuLanguage, &QAction::triggered, this, &TfrmCorvina::mnuLanguageClick);
}

bool TfrmCorvina::SetBackgroundPicture(const QString& file) {
    QImageReader reader(file);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        ReportError(ProgramTexts().PictureUnreadable.arg(file, reader.errorString()));
        return false;
    }
    back->setPixmap(QPixmap::fromImage(picture));
    return true;
}

void TfrmCorvina::mnuSetClick() {
    if (frmPieceSet)
        frmPieceSet->Execute(ProgramPath("pieces"));
}

void TfrmCorvina::mnuColorsClick() {
    if (frmColors)
        frmColors->Execute();
}

void TfrmCorvina::mnuThemeClick() {
    if (frmTheme)
        frmTheme->Execute();
}

void TfrmCorvina::mnuOptionsClick() {
    if (frmOptions)
        frmOptions->Execute();
}

void TfrmCorvina::mnuSaveSetClick() {
    const TProgramTexts& texts = ProgramTexts();
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, texts.SaveSettingsCaption, texts.SaveSettingsLabel1, QLineEdit::Normal, {}, &ok);
    if (ok)
        SaveSettingsAs(name);
}

bool TfrmCorvina::SaveSettingsAs(const QString& name) {
    const QStringList lines = BuildProfile(CurrentProfile());
    // Only the exact name is protected; "default" is another profile.
    if (name == DefaultProfileName) {
        ShowInformation(ProgramTexts().SaveSettingsCaption, ProgramTexts().SaveSettingsMsg1);
        return false;
    }
    if (!PlainProfileName(name)) {
        ReportError(ProgramTexts().BadSettingsName.arg(name));
        return false;
    }
    // A name of blanks shows as an empty entry, and one that only differs by blanks from
    // another cannot be told apart in the list.
    if (name.trimmed() != name) {
        ReportError(ProgramTexts().BlankSettingsName.arg(name));
        return false;
    }
    return WriteProfile(name, lines);
}

bool TfrmCorvina::WriteProfile(const QString& name, const QStringList& lines) {
    // Never a file the loader would refuse: it would fail at every start as the auto-load.
    TProfileRead check = ParseProfile(lines, name);
    ReadPieceSet(check, name, nullptr);
    if (!check.Complete()) {
        ReportError(ProgramTexts().ProfileNotSaved.arg(check.Error));
        return false;
    }
    QString error;
    if (!WriteTextLines(ProgramPath("Settings/" + name), lines, &error)) {
        ReportError(error);
        return false;
    }
    return true;
}

void TfrmCorvina::mnuLoadSetClick() {
    if (!frmLoadSet)
        return;
    if (const auto name = frmLoadSet->Execute(ProgramPath("Settings")))
        LoadSettings(*name);
}

bool TfrmCorvina::LoadSettings(const QString& name) {
    if (!PlainProfileName(name)) {
        ReportError(ProgramTexts().BadSettingsName.arg(name));
        return false;
    }
    const auto lines = ReadLinesReported(ProgramPath("Settings/" + name));
    return lines && ApplyProfile(*lines, name, false);
}

void TfrmCorvina::SetLanguageDialog(TfrmLang* lang) {
    frmLang = lang;
    if (frmLang)
        frmLang->OnApplied = [this](TfrmLang*, int index) { LanguageIndex_ = index; };
}

void TfrmCorvina::mnuLanguageClick() {
    if (frmLang)
        frmLang->Execute();
}

// A loaded profile's language, between its lines 1 to 9 and its line 10.
void TfrmCorvina::ApplyLanguage() {
    if (!frmLang)
        return;
    frmLang->SelectIndex(LanguageIndex_);
    frmLang->cmdApplyClick();
}

void TfrmCorvina::mnuHighlightClick() {
    mnuHighlight->setChecked(!mnuHighlight->isChecked());
    cb1->SetHighlightMoves(mnuHighlight->isChecked());
    QString error;
    if (!WriteTextLines(ProgramPath(HighlightFile), {mnuHighlight->isChecked() ? "1" : "0"},
                        &error))
        ReportError(error);
}

void TfrmCorvina::LoadHighlightChoice() {
    const QString path = ProgramPath(HighlightFile);
    if (!QFileInfo::exists(path))
        return;
    const auto lines = ReadLinesReported(path);
    if (!lines)
        return;
    const bool on = lines->isEmpty() || lines->first().trimmed() != "0";
    mnuHighlight->setChecked(on);
    cb1->SetHighlightMoves(on);
}
