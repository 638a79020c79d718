// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmOpInfo: the "Opponent Info" dialog. Shows the peer's name, the host name found by a
// reverse lookup of its address (looked up in the background, empty when there is none) and
// the address itself. Every field is read-only plain text.

#include <QDialog>
#include <QHostAddress>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmOpInfo : public QDialog {
public:
    explicit TfrmOpInfo(QWidget* parent = nullptr);

    // --- Controls, named as designed.
    QLabel* Label1;
    QLabel* Label2; // never shown
    QLabel* Label3; // never shown
    QLineEdit* txtName;
    QLineEdit* txtHost;
    QLineEdit* txtIP;
    QLineEdit* txtCountry; // never shown, never filled
    QLineEdit* txtSkill;   // never shown, never filled
    QPushButton* cmdClose;

    // Fills the fields; a null address leaves host and address empty.
    void ShowPeer(const QString& name, const QHostAddress& address);

private:
    int Lookup_ = 0; // the latest lookup; older answers are dropped
};
