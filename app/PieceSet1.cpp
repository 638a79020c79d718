// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PieceSet1.h"

#include "app/AppearanceHost.h"
#include "app/ProgramTexts.h"
#include "board/ChessBrd.h"
#include "formats/Profile.h"
#include "uikit/ErrorReport.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
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
    // Only a selected row counts: the list makes its first row current on taking the focus
    // without selecting it, and a click in the empty area below the rows clears the selection.
    connect(filelist, &QListWidget::itemSelectionChanged, this, [this] {
        const auto selected = filelist->selectedItems();
        if (!selected.isEmpty())
            filelistClick(filelist->row(selected.first()));
    });
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPieceSet::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TfrmPieceSet::cmdCancelClick);
}

void TfrmPieceSet::SetFolder(const QString& folder) {
    Folder = folder;
    {
        const QSignalBlocker quiet(filelist);
        filelist->clear();
        filelist->addItems(QDir(folder).entryList({"*.bmp"}, QDir::Files, QDir::Name));
        filelist->setCurrentRow(-1);
    }
    ShowCurrent();
    // The set on the board starts selected, with its preview.
    const QFileInfo current(Host->CurrentPieceSetFile());
    const auto rows = filelist->findItems(current.fileName(), Qt::MatchExactly);
    if (!rows.isEmpty() && QFileInfo(QDir(folder).filePath(current.fileName())) == current)
        filelistClick(filelist->row(rows.first()));
}

QString TfrmPieceSet::CurrentText() const {
    return txtCurrent->text();
}

void TfrmPieceSet::ShowCurrent() {
    // No file stands for the built-in set, which is the design's set file.
    const QString current = Host->CurrentPieceSetFile();
    txtCurrent->setText(current.isEmpty() ? DesignProfile().PieceSetFile
                                          : QFileInfo(current).fileName());
}

void TfrmPieceSet::changeEvent(QEvent* event) {
    // A profile loaded while this modeless dialog stayed open may have changed the set.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ShowCurrent();
    QDialog::changeEvent(event);
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
    if (!filelist->item(row)->isSelected()) {
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
    PreviewFile = file;
    pre->setPixmap(QPixmap::fromImage(image));
}

void TfrmPieceSet::cmdOKClick() {
    const auto selected = filelist->selectedItems();
    // Nothing selected, or a file that could not be previewed: the board keeps its set.
    const QString file =
        selected.isEmpty() ? QString() : QDir(Folder).filePath(selected.first()->text());
    if (!file.isEmpty() && file == PreviewFile) {
        if (!TChessBrd::IsPieceSet(Preview)) {
            ReportError(ProgramTexts().NotAPieceSet.arg(file));
            return;
        }
        Board->SetCustomPieceSet(Preview);
        Host->SetCurrentPieceSetFile(file);
        ShowCurrent();
    }
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
