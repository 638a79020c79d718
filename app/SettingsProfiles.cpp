// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsProfiles.h"

#include "app/LoadSet.h"
#include "app/ProgramTexts.h"
#include "app/Theme1.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "formats/ProfileFormat.h"
#include "language/Language1.h"
#include "language/LanguageTable.h"
#include "uikit/ErrorReport.h"

#include <QAction>
#include <QFileInfo>
#include <QImageReader>
#include <QInputDialog>

#include <algorithm>

namespace {

// A profile name is a file name inside Settings, never a path elsewhere.
bool PlainProfileName(const QString& name) {
    return !name.isEmpty() && !name.contains('/') && !name.contains('\\') && name != "." &&
           name != "..";
}

QString ProfilePath(const QString& name) {
    return ProgramPath("Settings/" + name);
}

} // namespace

TSettingsProfiles::TSettingsProfiles(QWidget* window, TChessBrd* board, TProfileTargets targets)
    : Window_(window), Board_(board), T_(std::move(targets)) {}

void TSettingsProfiles::SetDialogs(TfrmLoadSet* loadSet, TfrmTheme* theme) {
    frmLoadSet = loadSet;
    frmTheme = theme;
}

void TSettingsProfiles::SetLanguageDialog(TfrmLang* lang) {
    frmLang = lang;
    if (frmLang)
        frmLang->OnApplied = [this](TfrmLang*, int index) { LanguageIndex_ = index; };
}

void TSettingsProfiles::ApplyAtStartUp() {
    QString error;
    // Default is always there: one deleted by hand comes back as the window was designed.
    const QString defaultPath = ProfilePath(DefaultProfileName);
    const QStringList design = BuildProfile(DesignProfile());
    const bool defaultMissing = !QFileInfo::exists(defaultPath);
    if (defaultMissing)
        WriteTextLines(defaultPath, design);
    const QString marker = ProgramPath("al.dat");
    const auto al = ReadLinesReported(marker);
    if (!al)
        return;
    auto exists = [](const QString& name) {
        return PlainProfileName(name) && QFileInfo(ProfilePath(name)).isFile();
    };
    const bool named = !al->isEmpty() && !al->first().isEmpty();
    const bool fallBack = named && !exists(al->first());
    // Without a profile of the user's choice, the settings of the last run, else Default.
    const QString name = named && !fallBack            ? al->first()
                         : exists(LastUsedProfileName) ? LastUsedProfileName
                                                       : DefaultProfileName;
    QStringList profile = design; // the folder may not be written; the design still applies
    if (name != DefaultProfileName || !defaultMissing || QFileInfo::exists(defaultPath)) {
        const auto read = ReadLinesReported(ProfilePath(name));
        if (!read)
            return;
        profile = *read;
    }
    // The marker is emptied only once the replacement has been read, so an unreadable one does
    // not lose the name the user chose.
    if (fallBack && !WriteTextLines(marker, {}, &error)) {
        ReportError(error);
        return;
    }
    Apply(profile, name, true);
}

void TSettingsProfiles::ReadPieceSet(TProfileRead& read, const QString& name, QImage* set) const {
    if (!read.Good(plPieceSet + 1))
        return;
    const QString file = ProgramPath("pieces/" + read.Value.PieceSetFile);
    QImageReader reader(file);
    const QImage image = reader.read();
    QString fault;
    if (image.isNull())
        fault =
            QString("the piece set \"%1\" could not be read: %2.").arg(file, reader.errorString());
    else if (!TChessBrd::IsPieceSet(image))
        fault =
            QString("\"%1\" is no piece set (a bitmap of 6 x 4 squares is expected).").arg(file);
    if (fault.isEmpty()) {
        if (set)
            *set = image;
        return;
    }
    // Named in line order: the lines before 5 that failed have one sentence each.
    const auto before = std::count_if(read.BadLines.begin(), read.BadLines.end(),
                                      [](int line) { return line < plPieceSet + 1; });
    read.BadLines.insert(before, plPieceSet + 1);
    QStringList sentences = read.Error.isEmpty() ? QStringList() : read.Error.split('\n');
    sentences.insert(before, QString("Settings profile \"%1\", line 5: %2").arg(name, fault));
    read.Error = sentences.join('\n');
}

bool TSettingsProfiles::Apply(const QStringList& lines, const QString& name, bool startUp) {
    TProfileRead read = ParseProfile(lines, name);
    QImage set;
    ReadPieceSet(read, name, &set);
    const TProfile& p = read.Value;
    // Every line that reads well is applied; the bad ones are named together at the end.
    if (read.Good(1))
        Board_->SetSquareColorDark(p.Dark);
    if (read.Good(2))
        Board_->SetSquareColorLight(p.Light);
    if (read.Good(3))
        Board_->SetSearchDepth(p.SearchDepth);
    TThreadPriority priority;
    if (read.Good(4) && CodeToPriority(p.PriorityCode, &priority))
        Board_->SetThinkingPriority(priority);
    if (read.Good(5)) {
        Board_->SetCustomPieceSet(set);
        PieceSetFile_ = ProgramPath("pieces/" + p.PieceSetFile);
    }
    if (read.Good(6)) {
        T_.Lines->setChecked(p.BoardLines);
        Board_->SetBoardLines(p.BoardLines);
    }
    if (read.Good(7))
        T_.SetWhiteOnTop(p.WhiteOnTop);
    if (read.Good(8))
        LanguageIndex_ = p.LanguageIndex;
    if (read.Good(9))
        ThemeIndex_ = p.ThemeIndex;
    // At start-up the language and the theme dialogs do not exist yet: the one-shot start-up
    // step applies both.
    if (!startUp && read.Good(8))
        ApplyLanguage();
    // At start-up the window has no place yet: it opens centred, so nothing is moved.
    if (read.Good(10))
        T_.SetCapturedPane(p.CapturedPieces, !startUp);
    if (!startUp && read.Good(9) && frmTheme) {
        frmTheme->SelectIndex(ThemeIndex_);
        frmTheme->cmdApplyClick();
    }
    if (!read.Complete()) {
        ReportError(read.Error);
        return false;
    }
    return true;
}

TProfile TSettingsProfiles::Current() const {
    TProfile p;
    p.Dark = Board_->SquareColorDark();
    p.Light = Board_->SquareColorLight();
    p.SearchDepth = Board_->SearchDepth();
    p.PriorityCode = PriorityToCode(Board_->ThinkingPriority());
    // No file yet means the built-in set, which is the design's set file.
    p.PieceSetFile = PieceSetFile_.isEmpty() ? DesignProfile().PieceSetFile
                                             : QFileInfo(PieceSetFile_).fileName();
    p.BoardLines = T_.Lines->isChecked();
    // The player's own choice, not a turn the game in progress gave the board.
    p.WhiteOnTop = T_.WhiteOnTop();
    p.LanguageIndex = LanguageIndex_;
    p.ThemeIndex = ThemeIndex_;
    p.CapturedPieces = T_.CapturedPane();
    return p;
}

void TSettingsProfiles::mnuSaveSetClick() {
    bool ok = false;
    const QString name =
        QInputDialog::getText(Window_, ProgramText(TextIds::SaveSettingsCaption),
                              ProgramText(TextIds::SaveSettingsLabel1), QLineEdit::Normal, {}, &ok);
    if (ok)
        SaveAs(name);
}

bool TSettingsProfiles::SaveAs(const QString& name) {
    const QStringList lines = BuildProfile(Current());
    // Only the exact name is protected; "default" is another profile.
    if (name == DefaultProfileName) {
        ShowInformation(ProgramText(TextIds::SaveSettingsCaption),
                        ProgramText(TextIds::SaveSettingsMsg1));
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
    return Write(name, lines);
}

bool TSettingsProfiles::Write(const QString& name, const QStringList& lines) {
    // Never a file the loader would refuse: it would fail at every start as the auto-load.
    TProfileRead check = ParseProfile(lines, name);
    ReadPieceSet(check, name, nullptr);
    if (!check.Complete()) {
        ReportError(ProgramTexts().ProfileNotSaved.arg(check.Error));
        return false;
    }
    QString error;
    if (!WriteTextLines(ProfilePath(name), lines, &error)) {
        ReportError(error);
        return false;
    }
    return true;
}

void TSettingsProfiles::mnuLoadSetClick() {
    if (!frmLoadSet)
        return;
    if (const auto name = frmLoadSet->Execute(ProgramPath("Settings")))
        Load(*name);
}

bool TSettingsProfiles::Load(const QString& name) {
    if (!PlainProfileName(name)) {
        ReportError(ProgramTexts().BadSettingsName.arg(name));
        return false;
    }
    const auto lines = ReadLinesReported(ProfilePath(name));
    return lines && Apply(*lines, name, false);
}

// A loaded profile's language, between its lines 1 to 9 and its line 10.
void TSettingsProfiles::ApplyLanguage() {
    if (!frmLang)
        return;
    frmLang->SelectIndex(LanguageIndex_);
    frmLang->cmdApplyClick();
}
