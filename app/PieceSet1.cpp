// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PieceSet1.h"

#include "app/AppearanceHost.h"
#include "app/ProgramTexts.h"
#include "app/core/ErrorReport.h"
#include "board/ChessBrd.h"

#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

TfrmPieceSet::TfrmPieceSet(TChessBrd* board, IAppearanceHost* host, QWidget* parent)
    : QDialog(parent), Board(board), Host(host) {
    setObjectName("frmPieceSet");
    setWindowTitle("Select Piece Set");
    setFixedSize(370, 236);
    filelist = new QListWidget(this);
    filelist->setObjectName("filelist");
    filelist->setGeometry(8, 8, 169, 180);
    auto* label = new QLabel("Current Piece Set:", this);
    label->setObjectName("Label1");
    label->setGeometry(188, 8, 170, 17);
    txtCurrent = new QLineEdit("*.bmp", this);
    txtCurrent->setObjectName("txtCurrent");
    txtCurrent->setReadOnly(true);
    txtCurrent->setGeometry(188, 26, 172, 21);
    pre = new QLabel(this);
    pre->setObjectName("pre");
    pre->setGeometry(192, 56, 165, 164);
    pre->setScaledContents(true);
    pre->setAlignment(Qt::AlignCenter);
    pre->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(8, 198, 80, 27);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(97, 198, 80, 27);
    connect(filelist, &QListWidget::currentRowChanged, this, &TfrmPieceSet::filelistClick);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPieceSet::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TfrmPieceSet::cmdCancelClick);
}

void TfrmPieceSet::SetFolder(const QString& folder) {
    Folder = folder;
    const QSignalBlocker quiet(filelist);
    filelist->clear();
    filelist->addItems(QDir(folder).entryList({"*.bmp"}, QDir::Files, QDir::Name));
    filelist->setCurrentRow(-1);
}

QStringList TfrmPieceSet::Files() const {
    QStringList names;
    for (int i = 0; i < filelist->count(); ++i)
        names << filelist->item(i)->text();
    return names;
}

void TfrmPieceSet::filelistClick(int row) {
    if (row < 0 || row >= filelist->count())
        return;
    if (filelist->currentRow() != row) {
        const QSignalBlocker quiet(filelist);
        filelist->setCurrentRow(row);
    }
    const QString file = QDir(Folder).filePath(filelist->item(row)->text());
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull()) {
        ReportError(ProgramTexts().PictureUnreadable.arg(file, reader.errorString()));
        return;
    }
    Preview = image;
    pre->setPixmap(QPixmap::fromImage(image));
    txtCurrent->setText(filelist->item(row)->text());
}

void TfrmPieceSet::cmdOKClick() {
    const int row = filelist->currentRow();
    Host->SetCurrentPieceSetFile(row < 0 ? QString()
                                         : QDir(Folder).filePath(filelist->item(row)->text()));
    // The board refuses a bitmap that is not a piece set and keeps its pieces; with no preview
    // there is nothing to give it.
    if (!Preview.isNull())
        Board->SetCustomPieceSet(Preview);
    close();
}

void TfrmPieceSet::cmdCancelClick() {
    close();
}

void TfrmPieceSet::Execute(const QString& folder) {
    show();
    raise();
    activateWindow();
    SetFolder(folder);
}
