// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Driving real main windows into a NetGame over loopback, as a user would: the NetGame menu,
// the start dialog, the chat entry and the message boxes.
#include "app/Main1.h"
#include "board/ChessBrd.h"
#include "netui/NetGame.h"
#include "netui/StartNetGame.h"
#include "tests/mainwindow/WindowParts.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QtTest>

// A port nobody listens on right now, chosen by the system.
inline quint16 FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::Any, 0))
        return 0;
    return probe.serverPort();
}

// Start NetGame from the menu, fill in the dialog and press Start.
inline void StartNet(TfrmCorvina& w, quint16 port, const QString& name, bool asClient,
                     const QString& address = "127.0.0.1") {
    w.NetGame()->Connection().SetPort(port);
    Ctl<QAction>(w, "mnuStartNetGame")->trigger();
    TfrmStartNetGame& d = w.NetGame()->StartDialog();
    d.txtName->setText(name);
    (asClient ? d.rgConClient : d.rgConServer)->click();
    d.txtIP->setText(address);
    d.cmdStart->click();
}

inline QStringList ChatLines(const TfrmCorvina& w) {
    return Ctl<QPlainTextEdit>(w, "chatlog")->toPlainText().split('\n');
}

inline QStringList MoveLines(const TfrmCorvina& w) {
    const QString text = Ctl<QPlainTextEdit>(w, "status")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

// Texts of the message boxes the window has open; closes them.
inline QStringList TakeBoxes(TfrmCorvina& w) {
    QStringList texts;
    for (QMessageBox* box : w.findChildren<QMessageBox*>()) {
        if (!box->isVisible())
            continue;
        texts << box->text();
        box->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return texts;
}

inline QMessageBox* OpenBox(TfrmCorvina& w) {
    for (QMessageBox* box : w.findChildren<QMessageBox*>())
        if (box->isVisible())
            return box;
    return nullptr;
}
