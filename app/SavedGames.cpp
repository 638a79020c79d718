// Saved games and move-list export of the main window.
#include "app/Main1.h"
#include "app/core/ErrorReport.h"
#include "app/core/TextFile.h"

#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

QString FlagText(bool value) {
    return value ? "true" : "false";
}

// A flag line changes its setting only when it reads exactly "true" or "false".
void ApplyFlag(const QString& text, TChessBrd* board, void (TChessBrd::*setter)(bool)) {
    if (text == "true")
        (board->*setter)(true);
    else if (text == "false")
        (board->*setter)(false);
}

} // namespace

void TfrmCorvina::CreateFileDialogs() {
    saver = new QFileDialog(this, "Save Game");
    saver->setAcceptMode(QFileDialog::AcceptSave);
    saver->setNameFilters({"Corvina Files (*.cv)", "Corvina 3 Game (*.cvg)"});
    saver->setDefaultSuffix("cvg");
    load = new QFileDialog(this, "Load Game");
    load->setAcceptMode(QFileDialog::AcceptOpen);
    load->setFileMode(QFileDialog::ExistingFile);
    load->setNameFilters({"Corvina Files (*.cv)", "Corvina 3 Game (*.cvg)"});
    load->setDefaultSuffix("cvg");
    save = new QFileDialog(this, "Export Move List...");
    save->setAcceptMode(QFileDialog::AcceptSave);
    save->setNameFilters({"Text Files (*.txt)", "Data Files (*.dat)", "Any File (*.*)"});
    save->setDefaultSuffix("txt");
}

QStringList TfrmCorvina::StatusLines() const {
    const QString text = status->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

QStringList TfrmCorvina::SavedGameLines() const {
    QStringList lines = StatusLines();
    lines << QString::fromStdString(cb1->Position()) << Player1->text() << Player2->text()
          << FlagText(cb1->ComputerPlaysWhite()) << FlagText(cb1->ComputerPlaysBlack());
    return lines;
}

bool TfrmCorvina::SaveGameTo(const QString& path) {
    QString error;
    if (!WriteTextLines(path, SavedGameLines(), &error)) {
        ReportError(error + "\nThe game was not saved; an earlier file of that name is unchanged.");
        return false;
    }
    return true;
}

bool TfrmCorvina::LoadGameFrom(const QString& path) {
    QStringList lines;
    QString error;
    if (!ReadTextLines(path, lines, &error)) {
        ReportError(error);
        return false;
    }
    const qsizetype n = lines.size();
    if (n < 5) {
        ReportError(QString("The file \"%1\" is not a saved game: it has %2 line(s), and a saved "
                            "game ends with five lines (position, two players, two flags).")
                        .arg(path)
                        .arg(n));
        return false;
    }
    cb1->SetPosition(lines[n - 5].toStdString());
    Player1->setText(lines[n - 4]);
    Player1->adjustSize();
    SetPlayer2(lines[n - 3]);
    ApplyFlag(lines[n - 2], cb1, &TChessBrd::SetComputerPlaysWhite);
    ApplyFlag(lines[n - 1], cb1, &TChessBrd::SetComputerPlaysBlack);
    status->setPlainText(lines.mid(0, n - 5).join('\n'));
    return true;
}

bool TfrmCorvina::ExportMoveListTo(const QString& path) {
    QStringList list;
    cb1->GetMoveList(list);
    QString error;
    if (!WriteTextLines(path, list, &error)) {
        ReportError(error + "\nThe move list was not exported.");
        return false;
    }
    return true;
}

void TfrmCorvina::mnuSaveClick() {
    if (saver->exec() == QDialog::Accepted && !saver->selectedFiles().isEmpty())
        SaveGameTo(saver->selectedFiles().first());
}

void TfrmCorvina::mnuLoadClick() {
    if (load->exec() == QDialog::Accepted && !load->selectedFiles().isEmpty())
        LoadGameFrom(load->selectedFiles().first());
}

void TfrmCorvina::mnuExportClick() {
    if (save->exec() != QDialog::Accepted || save->selectedFiles().isEmpty())
        return;
    const QString path = save->selectedFiles().first();
    if (!path.isEmpty())
        ExportMoveListTo(path);
}
