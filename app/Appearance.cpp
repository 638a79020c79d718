// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Appearance.h"

#include "app/Colors1.h"
#include "app/Options1.h"
#include "app/PieceSet1.h"
#include "app/ProgramTexts.h"
#include "app/Theme1.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "language/Language1.h"
#include "uikit/ErrorReport.h"

#include <QAction>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

namespace {

// The "Highlight Moves" choice lives in a file of its own, beside al.dat, so that the settings
// profiles keep their ten lines: "0" switches the marks off, anything else leaves them on.
constexpr const char* HighlightFile = "hl.dat";

} // namespace

TAppearance::TAppearance(TChessBrd* board, QLabel* background, QAction* highlight)
    : Board_(board), Background_(background), Highlight_(highlight) {}

void TAppearance::SetDialogs(TfrmColors* colors, TfrmPieceSet* pieceSet, TfrmOptions* options,
                             TfrmTheme* theme) {
    frmColors = colors;
    frmPieceSet = pieceSet;
    frmOptions = options;
    frmTheme = theme;
}

bool TAppearance::SetBackgroundPicture(const QString& file) {
    QImageReader reader(file);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        ReportError(ProgramTexts().PictureUnreadable.arg(file, reader.errorString()));
        return false;
    }
    Background_->setPixmap(QPixmap::fromImage(picture));
    return true;
}

void TAppearance::mnuSetClick() {
    if (frmPieceSet)
        frmPieceSet->Execute(ProgramPath("pieces"));
}

void TAppearance::mnuColorsClick() {
    if (frmColors)
        frmColors->Execute();
}

void TAppearance::mnuThemeClick() {
    if (frmTheme)
        frmTheme->Execute();
}

void TAppearance::mnuOptionsClick() {
    if (frmOptions)
        frmOptions->Execute();
}

void TAppearance::mnuLanguageClick() {
    if (frmLang)
        frmLang->Execute();
}

void TAppearance::mnuHighlightClick() {
    Highlight_->setChecked(!Highlight_->isChecked());
    Board_->SetHighlightMoves(Highlight_->isChecked());
    QString error;
    if (!WriteTextLines(ProgramPath(HighlightFile), {Highlight_->isChecked() ? "1" : "0"}, &error))
        ReportError(error);
}

void TAppearance::LoadHighlightChoice() {
    const QString path = ProgramPath(HighlightFile);
    if (!QFileInfo::exists(path))
        return;
    const auto lines = ReadLinesReported(path);
    if (!lines)
        return;
    const bool on = lines->isEmpty() || lines->first().trimmed() != "0";
    Highlight_->setChecked(on);
    Board_->SetHighlightMoves(on);
}
