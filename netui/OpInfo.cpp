// SPDX-License-Identifier: GPL-3.0-or-later
#include "netui/OpInfo.h"

#include "netui/NetTexts.h"

#include <QFormLayout>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* ReadOnlyField(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    return e;
}

} // namespace

TfrmOpInfo::TfrmOpInfo(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOpInfo");
    setWindowTitle(NetTexts::OpInfoCaption);
    auto* form = new QFormLayout;
    txtName = ReadOnlyField(this);
    txtHost = ReadOnlyField(this);
    txtIP = ReadOnlyField(this);
    txtCountry = ReadOnlyField(this);
    txtSkill = ReadOnlyField(this);
    Label1 = new QLabel(NetTexts::OpName, this);
    Label2 = new QLabel(NetTexts::OpCountry, this);
    Label3 = new QLabel(NetTexts::OpSkill, this);
    form->addRow(Label1, txtName);
    form->addRow(NetTexts::OpHost, txtHost);
    form->addRow(NetTexts::OpAddress, txtIP);
    // Country and skill never come over the wire: their labels and fields stay hidden.
    for (QWidget* unused : std::initializer_list<QWidget*>{Label2, Label3, txtCountry, txtSkill})
        unused->hide();
    cmdClose = new QPushButton(NetTexts::Close, this);
    cmdClose->setDefault(true);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(cmdClose, 0, Qt::AlignRight);
    setMinimumWidth(320);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    // Every control carries its designed name, so that the language layer and the tests find it.
    const std::pair<QObject*, const char*> names[] = {
        {Label1, "Label1"},         {Label2, "Label2"},     {Label3, "Label3"},
        {txtName, "txtName"},       {txtHost, "txtHost"},   {txtIP, "txtIP"},
        {txtCountry, "txtCountry"}, {txtSkill, "txtSkill"}, {cmdClose, "cmdClose"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);
}

void TfrmOpInfo::ShowPeer(const QString& name, const QHostAddress& address) {
    txtName->setText(name);
    txtHost->clear();
    const int lookup = ++Lookup_;
    if (address.isNull()) {
        txtIP->clear();
        return;
    }
    const QString dotted = address.toString();
    txtIP->setText(dotted);
    QHostInfo::lookupHost(dotted, this, [this, lookup, dotted](const QHostInfo& info) {
        // Without a name the lookup answers the address itself: that is no host name.
        if (lookup == Lookup_ && info.error() == QHostInfo::NoError && info.hostName() != dotted)
            txtHost->setText(info.hostName());
    });
}
