// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TfrmClient: the lobby window "Connect To NetGame Server". The player identifies (name,
// region, skill), connects to a lobby server, lists the players, chats, creates a game or joins
// one. When the server answers a join with the opponent's address, the window hands it to
// the direct NetGame and hides, its lobby connection staying open.

#include "net/LobbyConnection.h"

#include <QWidget>

#include <functional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TfrmClient : public QWidget {
public:
    explicit TfrmClient(QWidget* parent = nullptr);

    // --- Controls, named as designed.
    QGroupBox* GroupBox1; // "ID"
    QLabel *Label1, *Label2, *Label3;
    QLineEdit* txtName;
    QLineEdit* txtPlace;
    QComboBox* skill;
    QGroupBox* GroupBox2; // the server
    QRadioButton* adtypeIP;
    QRadioButton* adtypeHost;
    QLineEdit* ad;
    QLabel *Label6, *Label7;
    QSpinBox* port;
    QLineEdit* pword;
    QLabel *Label8, *Label5, *Label4;
    QListWidget* clist;
    QListWidget* plist;
    QListWidget* alog;
    QLineEdit* say;
    QPushButton *cmdConnect, *cmdDisconnect, *cmdGetList, *cmdCreate, *cmdJoin, *cmdSay;
    QPushButton *clear1, *clear2, *clear3;

    TLobbyConnection& Connection() { return *ct; }

    // --- What the window asks of the direct NetGame. OnJoinGame: the server paired us with
    // the player at this address; start a NetGame as client to it. OnCreateGame: we wait for
    // an opponent; listen for them unless a NetGame is already under way.
    std::function<void(const QString& address)> OnJoinGame;
    std::function<void()> OnCreateGame;
    // An error box; tests replace it to read the text.
    std::function<void(const QString& text)> OnError;

    // Takes the rows of the player called `name` off the players' list: after a hand-over
    // they no longer say what the player does. A new Get List shows them as they stand.
    void DropRowsOf(const QString& name);

    // The chosen item of adtype: 0 IP address, 1 host.
    int AddressType() const;

    // --- Handlers.
    void cmdConnectClick();
    void cmdDisconnectClick();
    void cmdGetListClick();
    void cmdCreateClick();
    void cmdJoinClick();
    void cmdSayClick();
    void ClientProtocol(const QByteArray& message);

    // Lists keep at most this many lines, the oldest dropped; a line at most MaxLine characters.
    static constexpr int MaxLines = 2000;
    static constexpr qsizetype MaxLine = 1000;

private:
    void ctConnect();
    void ctDisconnect();
    void ctError(int code, const QString& reason);
    void SetConnected(bool on);
    void StatusTop(const QString& line);
    void Error(const QString& text);
    static void Add(QListWidget* list, const QString& line, bool atTop);

    TLobbyConnection* ct;
    QButtonGroup* adtype;
    // "lst" rows received over the current connection: the server's number for the next row.
    int RowsReceived_ = 0;
    // A "jng" has gone out and no opponent's address has come back for it yet.
    bool JoinAsked_ = false;
    // The name on the row that join asked for.
    QString JoinedName_;
};
