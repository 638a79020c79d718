// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LoadSet.h"

#include "app/ProgramTexts.h"
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "formats/Profile.h"
#include "language/LanguageTable.h"
#include "uikit/ErrorReport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

TfrmLoadSet::TfrmLoadSet(QWidget* parent) : QDialog(parent) {
    setObjectName("frmLoadSet");
    setWindowTitle("Load Settings");
    setFixedSize(340, 262);
    listo = new QListWidget(this);
    listo->setObjectName("listo");
    listo->setGeometry(8, 8, 324, 180);
    cbox = new QCheckBox("Auto-Load selected settings at game startup", this);
    cbox->setObjectName("cbox");
    cbox->setGeometry(8, 194, 324, 21);
    cmdDelete = new QPushButton("Delete", this);
    cmdDelete->setObjectName("cmdDelete");
    cmdDelete->setGeometry(8, 226, 80, 27);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(164, 226, 80, 27);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(252, 226, 80, 27);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmLoadSet::cmdOKClick);
    connect(cmdDelete, &QPushButton::clicked, this, &TfrmLoadSet::cmdDeleteClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TfrmLoadSet::cmdCancelClick);
    ConfirmDelete = [this](const QString& name) {
        return QMessageBox::question(
                   this, windowTitle(), ProgramTexts().DeleteSettingsConfirm.arg(name),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
}

void TfrmLoadSet::SetFolder(const QString& folder) {
    Folder = folder;
    listo->clear();
    listo->addItems(QDir(folder).entryList(QDir::Files, QDir::Name));
}

QStringList TfrmLoadSet::Names() const {
    QStringList names;
    for (int i = 0; i < listo->count(); ++i)
        names << listo->item(i)->text();
    return names;
}

void TfrmLoadSet::Select(int row) {
    listo->setCurrentRow(row);
    if (row < 0)
        listo->clearSelection();
}

void TfrmLoadSet::SetAutoLoad(bool on) {
    cbox->setChecked(on);
}

bool TfrmLoadSet::AutoLoad() const {
    return cbox->isChecked();
}

QString TfrmLoadSet::SelectedName() const {
    const auto selected = listo->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void TfrmLoadSet::cmdOKClick() {
    const QString name = SelectedName();
    if (cbox->isChecked()) {
        // Marking nothing for auto-load is refused, and nothing is applied.
        if (name.isEmpty()) {
            ReportError(ProgramTexts().NoProfileSelected);
            return;
        }
        QString error;
        if (!WriteTextLines(ProgramPath("al.dat"), {name}, &error)) {
            ReportError(error);
            return;
        }
    }
    Chosen_ = name;
    accept();
}

void TfrmLoadSet::cmdDeleteClick() {
    const QString name = SelectedName();
    if (name.isEmpty())
        return;
    // Default is protected by its name, wherever it sorts.
    if (name == DefaultProfileName) {
        ShowInformation(windowTitle(), ProgramText(TextIds::LoadSettingsMsg1));
        return;
    }
    if (!ConfirmDelete(name))
        return;
    QFile file(QDir(Folder).filePath(name));
    if (!file.remove())
        ReportError(ProgramTexts().DeleteFailed.arg(file.fileName(), file.errorString()));
    SetFolder(Folder);
}

void TfrmLoadSet::cmdCancelClick() {
    reject();
}

std::optional<QString> TfrmLoadSet::Execute(const QString& folder) {
    Chosen_.clear();
    SetFolder(folder);
    if (exec() != QDialog::Accepted || Chosen_.isEmpty())
        return std::nullopt;
    return Chosen_;
}
