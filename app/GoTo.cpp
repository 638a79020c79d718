// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GoTo.h"

#include "uikit/ListRows.h"

#include <QListWidget>
#include <QPushButton>

TfrmGoTo::TfrmGoTo(QWidget* parent) : QDialog(parent) {
    setObjectName("frmGoTo");
    setWindowTitle("Go To Move...");
    setFixedSize(217, 296);
    listme = new QListWidget(this);
    listme->setObjectName("listme");
    listme->setGeometry(8, 8, 201, 241);
    listme->setFont(QFont("DejaVu Sans Mono", 9));
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(24, 258, 75, 25);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(118, 258, 75, 25);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmGoTo::SelectedIndex() const {
    return SelectedListRow(listme);
}

std::optional<int> TfrmGoTo::Execute(const QStringList& lines) {
    listme->clear();
    listme->addItems(lines);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return SelectedIndex();
}
