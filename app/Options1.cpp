// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Options1.h"

#include "board/ChessBrd.h"
#include "formats/ProfileFormat.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>

TfrmOptions::TfrmOptions(TChessBrd* board, QWidget* parent) : QDialog(parent), Board(board) {
    setObjectName("frmOptions");
    setWindowTitle("Engine Options");
    setFixedSize(260, 150);
    auto* engineLabel = new QLabel("Engine:", this);
    engineLabel->setObjectName("Label2");
    engineLabel->setGeometry(8, 10, 116, 21);
    engine = new QComboBox(this);
    engine->setObjectName("engine");
    engine->setGeometry(128, 8, 124, 23);
    engine->addItems({"Zendo's", "Custom"});
    // The second engine is listed but cannot be chosen.
    if (auto* model = qobject_cast<QStandardItemModel*>(engine->model()))
        model->item(1)->setEnabled(false);
    auto* depthLabel = new QLabel("Search Depth:", this);
    depthLabel->setObjectName("Label1");
    depthLabel->setGeometry(8, 44, 116, 21);
    sd = new QSpinBox(this);
    sd->setObjectName("sd");
    // Exactly the depths the board keeps.
    sd->setRange(TChessBrd::MinSearchDepth, TChessBrd::MaxSearchDepth);
    sd->setGeometry(128, 42, 124, 23);
    auto* priorLabel = new QLabel("Thinking Priority:", this);
    priorLabel->setObjectName("Label3");
    priorLabel->setGeometry(8, 78, 116, 21);
    prior = new QComboBox(this);
    prior->setObjectName("prior");
    // Item index = priority code of a settings profile.
    prior->addItems({"Time Critical", "Highest", "Higher", "Normal", "Lower", "Lowest", "Idle"});
    prior->setGeometry(128, 76, 124, 23);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(44, 114, 80, 27);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(136, 114, 80, 27);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmOptions::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmOptions::Fill() {
    prior->setCurrentIndex(PriorityToCode(Board->ThinkingPriority()));
    sd->setValue(Board->SearchDepth());
    engine->setCurrentIndex(0);
}

void TfrmOptions::cmdOKClick() {
    // The board keeps the depth within its own range.
    Board->SetSearchDepth(sd->value());
    TThreadPriority priority;
    if (CodeToPriority(prior->currentIndex(), &priority))
        Board->SetThinkingPriority(priority);
    accept();
}

void TfrmOptions::Execute() {
    Fill();
    exec();
}
