// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmStartNetGame: the "Start NetGame" dialog. The player types a name, chooses to listen
// (server, plays White) or to connect (client, plays Black) and, as a client, the server's
// address. The dialog only gathers these values and hands them to whoever owns the game.

#include <QDialog>

#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

struct TNetStartValues {
    QString Name;
    QString Address;
    bool AsClient = false;
};

class TfrmStartNetGame : public QDialog {
public:
    explicit TfrmStartNetGame(QWidget* parent = nullptr);

    // --- Controls, named as designed.
    QLabel* Label1;
    QLineEdit* txtName;
    QLabel* Label2;
    QLineEdit* txtIP;
    QGroupBox* rgCon;
    QRadioButton* rgConServer;
    QRadioButton* rgConClient;
    QPushButton* cmdHelp;
    QPushButton* cmdStart;
    QPushButton* cmdCancel;

    // --- What the buttons ask of the dialog's owner. OnStart answers whether the game is
    // under way, in which case the dialog closes; on false it stays open.
    std::function<bool(const TNetStartValues& values)> OnStart;
    std::function<void()> OnCancel;
    std::function<void()> OnHelp;

    // The chosen item of rgCon: 0 listen, 1 connect.
    int ConnectionType() const;
    void SetConnectionType(int item);
    TNetStartValues Values() const;

    void cmdStartClick();
    void cmdCancelClick();
    void cmdHelpClick();
    void rgConClick();

private:
    QButtonGroup* Group_;
};
