// SPDX-License-Identifier: GPL-3.0-or-later
#include "netui/Client.h"

#include "net/NetProtocol.h"
#include "net/lobby/LobbyProtocol.h"
#include "net/lobby/LobbyText.h"
#include "netui/LobbyTexts.h"

#include "uikit/MessageBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace T = LobbyTexts;

namespace {

template <class W> W* Named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

// A list under its caption, with the tiny clear button at the caption's right.
QVBoxLayout* Captioned(QLabel* caption, QPushButton* clear, QWidget* body) {
    auto* head = new QHBoxLayout;
    head->addWidget(caption);
    head->addStretch();
    head->addWidget(clear);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addLayout(head);
    column->addWidget(body);
    return column;
}

} // namespace

TfrmClient::TfrmClient(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmClient");
    setWindowTitle(T::Caption);
    ct = new TLobbyConnection(this);

    GroupBox1 = Named(new QGroupBox(T::Id, this), "GroupBox1");
    Label1 = Named(new QLabel(T::Name, GroupBox1), "Label1");
    txtName = Named(new QLineEdit(T::DefaultName, GroupBox1), "txtName");
    txtName->setMaxLength(25);
    Label2 = Named(new QLabel(T::Region, GroupBox1), "Label2");
    txtPlace = Named(new QLineEdit(T::DefaultRegion, GroupBox1), "txtPlace");
    txtPlace->setMaxLength(25);
    Label3 = Named(new QLabel(T::Skill, GroupBox1), "Label3");
    skill = Named(new QComboBox(GroupBox1), "skill");
    skill->addItems(T::Skills);
    skill->setCurrentIndex(-1);
    auto* id = new QGridLayout(GroupBox1);
    id->addWidget(Label1, 0, 0);
    id->addWidget(txtName, 0, 1);
    id->addWidget(Label2, 1, 0);
    id->addWidget(txtPlace, 1, 1);
    id->addWidget(Label3, 2, 0);
    id->addWidget(skill, 2, 1);

    GroupBox2 = Named(new QGroupBox(T::ServerSpecs, this), "GroupBox2");
    adtypeIP = Named(new QRadioButton(T::ByAddress, GroupBox2), "adtypeIP");
    adtypeHost = Named(new QRadioButton(T::ByHost, GroupBox2), "adtypeHost");
    adtype = new QButtonGroup(this);
    adtype->addButton(adtypeIP, 0);
    adtype->addButton(adtypeHost, 1);
    adtypeIP->setChecked(true);
    ad = Named(new QLineEdit(GroupBox2), "ad");
    ad->setMaxLength(255);
    Label6 = Named(new QLabel(T::Port, GroupBox2), "Label6");
    port = Named(new QSpinBox(GroupBox2), "port");
    port->setRange(1, 65536);
    port->setValue(LobbyProtocol::DefaultPort);
    Label7 = Named(new QLabel(T::Password, GroupBox2), "Label7");
    pword = Named(new QLineEdit(GroupBox2), "pword");
    pword->setEchoMode(QLineEdit::Password);
    auto* server = new QGridLayout(GroupBox2);
    auto* radios = new QHBoxLayout;
    radios->addWidget(adtypeIP);
    radios->addWidget(adtypeHost);
    radios->addStretch();
    server->addLayout(radios, 0, 0, 1, 2);
    server->addWidget(ad, 1, 0, 1, 2);
    server->addWidget(Label6, 2, 0);
    server->addWidget(port, 2, 1);
    server->addWidget(Label7, 3, 0, 1, 2);
    server->addWidget(pword, 4, 0, 1, 2);

    cmdConnect = Named(new QPushButton(T::Connect, this), "cmdConnect");
    cmdDisconnect = Named(new QPushButton(T::Disconnect, this), "cmdDisconnect");
    cmdGetList = Named(new QPushButton(T::GetList, this), "cmdGetList");
    cmdCreate = Named(new QPushButton(T::Create, this), "cmdCreate");
    cmdJoin = Named(new QPushButton(T::Join, this), "cmdJoin");
    cmdSay = Named(new QPushButton(T::Say, this), "cmdSay");
    auto* buttons = new QGridLayout;
    buttons->addWidget(cmdConnect, 0, 0);
    buttons->addWidget(cmdDisconnect, 0, 1);
    buttons->addWidget(cmdGetList, 1, 0);
    buttons->addWidget(cmdCreate, 1, 1);
    buttons->addWidget(cmdJoin, 2, 0);

    auto* left = new QVBoxLayout;
    left->addWidget(GroupBox1);
    left->addWidget(GroupBox2);
    left->addLayout(buttons);
    left->addStretch();

    Label8 = Named(new QLabel(T::Chat, this), "Label8");
    Label5 = Named(new QLabel(T::Players, this), "Label5");
    Label4 = Named(new QLabel(T::Status, this), "Label4");
    clist = Named(new QListWidget(this), "clist");
    plist = Named(new QListWidget(this), "plist");
    alog = Named(new QListWidget(this), "alog");
    for (QListWidget* l : {clist, plist, alog})
        l->setWordWrap(false);
    clear1 = Named(new QPushButton(T::Clear, this), "clear1");
    clear2 = Named(new QPushButton(T::Clear, this), "clear2");
    clear3 = Named(new QPushButton(T::Clear, this), "clear3");
    for (QPushButton* b : {clear1, clear2, clear3}) {
        b->setFlat(true);
        b->setToolTip(T::Clear);
        b->setText(QStringLiteral("×"));
        b->setFixedSize(20, 18);
    }
    say = Named(new QLineEdit(this), "say");
    say->setMaxLength(static_cast<int>(MaxLine));
    auto* sayRow = new QHBoxLayout;
    sayRow->addWidget(say);
    sayRow->addWidget(cmdSay);

    auto* right = new QVBoxLayout;
    QVBoxLayout* chat = Captioned(Label8, clear1, clist);
    chat->addLayout(sayRow);
    right->addLayout(chat, 3);
    right->addLayout(Captioned(Label5, clear2, plist), 3);
    right->addLayout(Captioned(Label4, clear3, alog), 2);

    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left);
    whole->addLayout(right, 1);
    resize(800, 500);

    connect(cmdConnect, &QPushButton::clicked, this, &TfrmClient::cmdConnectClick);
    connect(cmdDisconnect, &QPushButton::clicked, this, &TfrmClient::cmdDisconnectClick);
    connect(cmdGetList, &QPushButton::clicked, this, &TfrmClient::cmdGetListClick);
    connect(cmdCreate, &QPushButton::clicked, this, &TfrmClient::cmdCreateClick);
    connect(cmdJoin, &QPushButton::clicked, this, &TfrmClient::cmdJoinClick);
    connect(cmdSay, &QPushButton::clicked, this, &TfrmClient::cmdSayClick);
    // "Say" is the window's default button: Enter in the chat line says it.
    connect(say, &QLineEdit::returnPressed, this, &TfrmClient::cmdSayClick);
    connect(clear1, &QPushButton::clicked, clist, &QListWidget::clear);
    connect(clear2, &QPushButton::clicked, plist, &QListWidget::clear);
    connect(clear3, &QPushButton::clicked, alog, &QListWidget::clear);

    connect(ct, &TLobbyConnection::connected, this, &TfrmClient::ctConnect);
    connect(ct, &TLobbyConnection::messageReceived, this, &TfrmClient::ClientProtocol);
    connect(ct, &TLobbyConnection::closed, this, &TfrmClient::ctDisconnect);
    connect(ct, &TLobbyConnection::failed, this, &TfrmClient::ctError);
    connect(ct, &TLobbyConnection::flooded, this, [this] {
        StatusTop(T::Flooded);
        ctDisconnect();
    });
    SetConnected(false);
}

int TfrmClient::AddressType() const {
    return adtypeHost->isChecked() ? 1 : 0;
}

void TfrmClient::Error(const QString& text) {
    if (OnError) {
        OnError(text);
        return;
    }
    // Not modal for the whole program: the game and the lobby keep running behind it.
    QMessageBox* box = NewMessageBox(QMessageBox::Critical, T::ErrorCaption, text, this);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void TfrmClient::Add(QListWidget* list, const QString& line, bool atTop) {
    const QString text = NetProtocol::CleanText(line, MaxLine);
    if (atTop)
        list->insertItem(0, text);
    else
        list->addItem(text);
    while (list->count() > MaxLines)
        delete list->takeItem(atTop ? list->count() - 1 : 0);
}

void TfrmClient::StatusTop(const QString& line) {
    Add(alog, line, true);
}

void TfrmClient::SetConnected(bool on) {
    GroupBox1->setEnabled(!on);
    GroupBox2->setEnabled(!on);
    cmdConnect->setEnabled(!on);
    for (QPushButton* b : {cmdDisconnect, cmdGetList, cmdCreate, cmdJoin, cmdSay})
        b->setEnabled(on);
}

// ---------------------------------------------------------------- connecting

void TfrmClient::cmdConnectClick() {
    if (txtName->text().isEmpty())
        return Error(T::NeedName);
    if (txtPlace->text().isEmpty())
        return Error(T::NeedRegion);
    if (skill->currentIndex() < 0)
        return Error(T::NeedSkill);
    if (port->value() > 65535)
        return Error(T::BadPort);
    const QString where = ad->text().trimmed();
    if (AddressType() == 0) {
        QHostAddress address;
        if (!address.setAddress(where))
            return Error(T::BadAddress.arg(where));
    } else if (where.isEmpty()) {
        return Error(T::NeedHost);
    }
    ct->ConnectTo(where, static_cast<quint16>(port->value()));
    Add(alog, T::Connecting, false);
}

// The server numbers the "lst" rows it sends from the start of each connection, and "jng"
// names a row by that number. The players' list is not the same count: it keeps the rows of
// earlier visits, it can be cleared, and it drops its oldest rows when full. So each row keeps
// the server's number for it; rows of an earlier visit have none.
constexpr int ServerRowRole = Qt::UserRole;
// The player's name (the row's first field), by which the rows of a player are found.
constexpr int NameRole = Qt::UserRole + 1;

void TfrmClient::ctConnect() {
    RowsReceived_ = 0;
    JoinAsked_ = false;
    for (int i = 0; i < plist->count(); ++i)
        plist->item(i)->setData(ServerRowRole, QVariant());
    StatusTop(T::Connected);
    SetConnected(true);
    // Each message goes out in one encoding as a whole, so that the server reads every field
    // of it the same way.
    ct->Send(LobbyText::Encode(
        LobbyProtocol::FormatIdentify(pword->text().toUtf8(), txtName->text().toUtf8(),
                                      txtPlace->text().toUtf8(), skill->currentText().toUtf8())));
}

void TfrmClient::cmdDisconnectClick() {
    ct->Send(LobbyProtocol::FormatPart());
    ct->Close();
    ctDisconnect();
}

void TfrmClient::ctDisconnect() {
    StatusTop(T::Disconnected);
    SetConnected(false);
}

void TfrmClient::ctError(int code, const QString& reason) {
    // Reported once, here; the connection is closed and the window back to disconnected.
    StatusTop(T::ConnectionError.arg(code).arg(reason));
    if (!cmdConnect->isEnabled())
        ctDisconnect();
}

// ---------------------------------------------------------------- commands

void TfrmClient::cmdGetListClick() {
    ct->Send(LobbyProtocol::FormatGetList());
}

void TfrmClient::cmdCreateClick() {
    ct->Send(LobbyProtocol::FormatCreate());
    if (OnCreateGame)
        OnCreateGame();
}

void TfrmClient::cmdJoinClick() {
    const int row = plist->currentRow();
    if (row < 0 || !plist->currentItem()->isSelected())
        return Error(T::NeedPlayer);
    const QVariant serverRow = plist->currentItem()->data(ServerRowRole);
    if (!serverRow.isValid())
        return Error(T::OldRow);
    if (ct->Send(LobbyProtocol::FormatJoin(serverRow.toInt()))) {
        JoinAsked_ = true;
        JoinedName_ = plist->currentItem()->data(NameRole).toString();
    }
}

void TfrmClient::cmdSayClick() {
    if (!ct->IsConnected())
        return;
    ct->Send(LobbyText::Encode(
        LobbyProtocol::FormatSay(txtName->text().toUtf8(), say->text().toUtf8())));
    say->clear();
}

// ---------------------------------------------------------------- what the server says

void TfrmClient::ClientProtocol(const QByteArray& message) {
    using namespace LobbyProtocol;
    const TMessage m = ParseMessage(message);
    const QString text = NetProtocol::CleanText(m.Payload, MaxLine);
    switch (m.Tag) {
    case TTag::Err:
        StatusTop(T::ErrorPrefix + text);
        break;
    case TTag::Kick:
        StatusTop(T::Kicked + text);
        cmdDisconnectClick();
        break;
    case TTag::Banned:
        StatusTop(T::Banned);
        cmdDisconnectClick();
        break;
    case TTag::List: {
        // A row with fewer than four fields still takes its place in the list, so that the
        // row numbers a join sends stay those the server counted.
        const std::optional<QByteArray> row = ListRow(m.Payload);
        Add(plist, NetProtocol::CleanText(row ? *row : SplitFields(m.Payload).join("  "), MaxLine),
            false);
        QListWidgetItem* item = plist->item(plist->count() - 1);
        item->setData(ServerRowRole, RowsReceived_++);
        const QList<QByteArray> fields = SplitFields(m.Payload);
        if (!fields.isEmpty())
            item->setData(NameRole, NetProtocol::CleanText(fields.first(), MaxLine));
        break;
    }
    case TTag::Msg:
        Add(clist, text, false);
        break;
    case TTag::Info:
        StatusTop(text);
        break;
    case TTag::Join: {
        // The address goes straight to a connection attempt: only the answer to our own join,
        // and only an address as such (no host name to look up, no port, no group address).
        const QString address = text.trimmed();
        QHostAddress a;
        if (!JoinAsked_) {
            StatusTop(T::UnaskedJoin);
            break;
        }
        if (!a.setAddress(address) || a.isMulticast() || a.isBroadcast()) {
            StatusTop(T::BadJoin.arg(address));
            break;
        }
        JoinAsked_ = false;
        if (OnJoinGame)
            OnJoinGame(address);
        // Both players' rows (one of them waiting for an opponent) no longer hold.
        DropRowsOf(JoinedName_);
        DropRowsOf(txtName->text());
        hide();
        break;
    }
    default:
        break; // any other tag is ignored
    }
}

void TfrmClient::DropRowsOf(const QString& name) {
    for (int i = plist->count() - 1; i >= 0; --i)
        if (plist->item(i)->data(NameRole).toString() == name)
            delete plist->takeItem(i);
}
