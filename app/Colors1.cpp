// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Colors1.h"

#include "board/ChessBrd.h"

#include <QColorDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

TfrmColors::TfrmColors(TChessBrd* board, QWidget* parent) : QDialog(parent), Board(board) {
    setObjectName("frmColors");
    setWindowTitle("Board Colors");
    setFixedSize(344, 132);
    auto button = [this](const QString& text, const char* name, QRect where) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(where);
        return b;
    };
    auto swatch = [this](const char* name, int y) {
        auto* f = new QFrame(this);
        f->setObjectName(name);
        f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        f->setAutoFillBackground(true);
        f->setGeometry(118, y, 41, 25);
        return f;
    };
    auto* label1 = new QLabel("Black squares:", this);
    label1->setObjectName("Label1");
    label1->setGeometry(8, 12, 108, 21);
    bs = swatch("bs", 10);
    cmdChange1 = button("Change...", "cmdChange1", QRect(166, 10, 84, 25));
    cmdDefault1 = button("Default", "cmdDefault1", QRect(256, 10, 80, 25));
    auto* label2 = new QLabel("White squares:", this);
    label2->setObjectName("Label2");
    label2->setGeometry(8, 48, 108, 21);
    ws = swatch("ws", 46);
    cmdChange2 = button("Change...", "cmdChange2", QRect(166, 46, 84, 25));
    cmdDefault2 = button("Default", "cmdDefault2", QRect(256, 46, 80, 25));
    BitBtn1 = button("OK", "BitBtn1", QRect(87, 94, 80, 27));
    BitBtn1->setDefault(true);
    BitBtn2 = button("Cancel", "BitBtn2", QRect(177, 94, 80, 27));
    color = new QColorDialog(this);
    color->setObjectName("color");
    SetSwatch(bs, &Dark, DefaultDark);
    SetSwatch(ws, &Light, DefaultLight);

    connect(cmdChange1, &QPushButton::clicked, this, &TfrmColors::cmdChange1Click);
    connect(cmdChange2, &QPushButton::clicked, this, &TfrmColors::cmdChange2Click);
    connect(cmdDefault1, &QPushButton::clicked, this, &TfrmColors::cmdDefault1Click);
    connect(cmdDefault2, &QPushButton::clicked, this, &TfrmColors::cmdDefault2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmColors::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmColors::SetSwatch(QFrame* swatch, QColor* colour, const QColor& value) {
    *colour = value;
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, value);
    swatch->setPalette(p);
}

void TfrmColors::Change(QFrame* swatch, QColor* colour) {
    color->setCurrentColor(*colour);
    if (color->exec() == QDialog::Accepted)
        SetSwatch(swatch, colour, color->selectedColor());
}

void TfrmColors::cmdChange1Click() {
    Change(bs, &Dark);
}

void TfrmColors::cmdChange2Click() {
    Change(ws, &Light);
}

void TfrmColors::cmdDefault1Click() {
    SetSwatch(bs, &Dark, DefaultDark);
}

void TfrmColors::cmdDefault2Click() {
    SetSwatch(ws, &Light, DefaultLight);
}

void TfrmColors::BitBtn1Click() {
    Board->SetSquareColorDark(Dark);
    Board->SetSquareColorLight(Light);
    accept();
}

// The swatches are not read back from the board: they show what was last chosen here.
void TfrmColors::Execute() {
    exec();
}
