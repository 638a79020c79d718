// SPDX-License-Identifier: GPL-3.0-or-later
#include "netui/StartNetGame.h"

#include "net/NetProtocol.h"
#include "netui/NetTexts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmStartNetGame::TfrmStartNetGame(QWidget* parent) : QDialog(parent) {
    setObjectName("frmStartNetGame");
    setWindowTitle(NetTexts::StartCaption);
    auto* grid = new QGridLayout;
    Label1 = new QLabel(NetTexts::NameLabel, this);
    txtName = new QLineEdit(NetTexts::DefaultName, this);
    txtName->setMaxLength(static_cast<int>(NetProtocol::MaxNameLength));
    Label2 = new QLabel(NetTexts::AddressLabel, this);
    txtIP = new QLineEdit(NetTexts::DefaultAddress, this);
    txtIP->setMaxLength(255);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(txtName, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(txtIP, 1, 1);

    rgCon = new QGroupBox(NetTexts::ConnectionType, this);
    rgConServer = new QRadioButton(NetTexts::AsServer, rgCon);
    rgConClient = new QRadioButton(NetTexts::AsClient, rgCon);
    auto* radios = new QVBoxLayout(rgCon);
    radios->addWidget(rgConServer);
    radios->addWidget(rgConClient);
    Group_ = new QButtonGroup(this);
    Group_->addButton(rgConServer, 0);
    Group_->addButton(rgConClient, 1);

    cmdHelp = new QPushButton(NetTexts::Help, this);
    cmdStart = new QPushButton(NetTexts::Start, this);
    cmdCancel = new QPushButton(NetTexts::Cancel, this);
    cmdStart->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addStretch();
    buttons->addWidget(cmdStart);
    buttons->addWidget(cmdCancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(rgCon);
    column->addLayout(buttons);
    setMinimumWidth(340);
    // Every control carries its designed name, so that the language layer and the tests find it.
    const std::pair<QObject*, const char*> names[] = {
        {Label1, "Label1"},
        {txtName, "txtName"},
        {Label2, "Label2"},
        {txtIP, "txtIP"},
        {rgCon, "rgCon"},
        {rgConServer, "rgConServer"},
        {rgConClient, "rgConClient"},
        {cmdHelp, "cmdHelp"},
        {cmdStart, "cmdStart"},
        {cmdCancel, "cmdCancel"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    connect(cmdStart, &QPushButton::clicked, this, &TfrmStartNetGame::cmdStartClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TfrmStartNetGame::cmdCancelClick);
    connect(cmdHelp, &QPushButton::clicked, this, &TfrmStartNetGame::cmdHelpClick);
    connect(Group_, &QButtonGroup::idClicked, this, &TfrmStartNetGame::rgConClick);
    SetConnectionType(0);
}

int TfrmStartNetGame::ConnectionType() const {
    return rgConClient->isChecked() ? 1 : 0;
}

void TfrmStartNetGame::SetConnectionType(int item) {
    (item == 1 ? rgConClient : rgConServer)->setChecked(true);
    rgConClick();
}

TNetStartValues TfrmStartNetGame::Values() const {
    return {txtName->text(), txtIP->text().trimmed(), ConnectionType() == 1};
}

void TfrmStartNetGame::rgConClick() {
    txtIP->setEnabled(ConnectionType() == 1);
}

void TfrmStartNetGame::cmdStartClick() {
    if (OnStart && OnStart(Values()))
        accept();
}

void TfrmStartNetGame::cmdCancelClick() {
    if (OnCancel)
        OnCancel();
    reject();
}

void TfrmStartNetGame::cmdHelpClick() {
    if (OnHelp)
        OnHelp();
}
