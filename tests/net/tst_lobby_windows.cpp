// SPDX-License-Identifier: GPL-3.0-or-later
// The real lobby window against the real corvina-lobby on a free loopback port: the checks
// before connecting, identify, lists, chat, kick and ban, a wrong password, the server going
// away, and two main windows that meet in the lobby and end up in a direct NetGame.
#include "app/Program.h"
#include "net/lobby/LobbyProtocol.h"
#include "netui/Client.h"
#include "tests/mainwindow/TestFolder.h"
#include "tests/mainwindow/WindowMoves.h"
#include "tests/net/LobbyKit.h"
#include "tests/net/NetTestKit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QSpinBox>

#include <memory>

namespace {

QStringList Lines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

struct TLobbyUser {
    TfrmClient W;
    QStringList Errors;
    TLobbyUser() {
        W.OnError = [this](const QString& text) { Errors << text; };
        W.show();
    }
    void Fill(const QString& name, quint16 port, const QString& password = {}) {
        W.txtName->setText(name);
        W.skill->setCurrentIndex(3);
        W.ad->setText("127.0.0.1");
        W.port->setValue(port);
        W.pword->setText(password);
    }
    bool Connected() { return W.Connection().IsConnected() && !W.cmdConnect->isEnabled(); }
    QStringList Status() const { return Lines(W.alog); }
};

} // namespace

class TestLobbyWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checksBeforeConnecting();
    void identifyListAndChat();
    void handOverToNetGame();
    void kickAndBan();
    void wrongPasswordAndServerGone();
    void hostNameAndConnectionError();
    void joinAfterClearingAndReconnecting();
    void hostileJoinAnswers();

private:
    std::unique_ptr<TTestFolder> Folder_;
    std::unique_ptr<TLobbyProcess> Lobby_;
};

void TestLobbyWindows::init() {
    Folder_ = std::make_unique<TTestFolder>();
    QVERIFY(Folder_->Prepare({}, {{"Default", DefaultProfile}}));
    Lobby_ = std::make_unique<TLobbyProcess>();
}

void TestLobbyWindows::cleanup() {
    Lobby_.reset();
    Folder_.reset();
}

void TestLobbyWindows::checksBeforeConnecting() {
    TLobbyUser u;
    TfrmClient& w = u.W;
    QCOMPARE(w.windowTitle(), QString("Connect To NetGame Server"));
    QCOMPARE(w.txtName->text(), QString("Player1"));
    QCOMPARE(w.txtPlace->text(), QString("Nowhereland"));
    QCOMPARE(w.skill->currentIndex(), -1);
    QCOMPARE(w.skill->count(), 5);
    QCOMPARE(w.port->value(), 2469);
    QVERIFY(w.adtypeIP->isChecked());
    QVERIFY(w.cmdConnect->isEnabled() && w.GroupBox1->isEnabled() && w.GroupBox2->isEnabled());
    for (QPushButton* b : {w.cmdDisconnect, w.cmdGetList, w.cmdCreate, w.cmdJoin, w.cmdSay})
        QVERIFY(!b->isEnabled());
    // The first missing item only, and nothing opened.
    w.txtName->clear();
    w.txtPlace->clear();
    w.cmdConnect->click();
    w.txtName->setText("Ann");
    w.cmdConnect->click();
    w.txtPlace->setText("Here");
    w.cmdConnect->click();
    w.skill->setCurrentIndex(0);
    w.port->setValue(65536);
    w.ad->setText("127.0.0.1");
    w.cmdConnect->click();
    w.port->setValue(2469);
    w.ad->setText("not an address");
    w.cmdConnect->click();
    QCOMPARE(u.Errors.mid(0, 4),
             QStringList({"You must enter your name:", "You must enter your country/region:",
                          "You must enter your skill:",
                          "Port 65536 is not a TCP port. Choose a port from 1 to 65535."}));
    QVERIFY(u.Errors.at(4).startsWith("\"not an address\" is not an IP address."));
    QVERIFY(u.Status().isEmpty());
    QVERIFY(!w.Connection().IsConnecting() && !w.Connection().IsConnected());
}

void TestLobbyWindows::identifyListAndChat() {
    QVERIFY(Lobby_->Start());
    TLobbyUser ann, bob;
    ann.Fill("Ann \"A\", B", Lobby_->Port);
    ann.W.txtPlace->setText("Lyon, FR");
    ann.W.cmdConnect->click();
    QCOMPARE(ann.Status(), QStringList{"Connecting..."});
    QTRY_VERIFY(ann.Connected());
    QTRY_COMPARE(ann.Status().size(), 3);
    // "Connecting..." went to the end, every later line to the top.
    QCOMPARE(ann.Status().at(2), QString("Connecting..."));
    QCOMPARE(ann.Status().at(1), QString("Connected."));
    QCOMPARE(ann.Status().at(0),
             QString("Welcome to the lobby, Ann \"A\", B. 0 other players are here."));
    QVERIFY(!ann.W.GroupBox1->isEnabled() && !ann.W.GroupBox2->isEnabled());
    for (QPushButton* b :
         {ann.W.cmdDisconnect, ann.W.cmdGetList, ann.W.cmdCreate, ann.W.cmdJoin, ann.W.cmdSay})
        QVERIFY(b->isEnabled());
    bob.Fill("Bob", Lobby_->Port);
    bob.W.cmdConnect->click();
    // Bob is on the server's list once the server has answered his identification; his socket
    // being connected says nothing about what the server has read.
    QTRY_VERIFY(bob.Connected());
    QTRY_VERIFY(bob.Status().contains("Welcome to the lobby, Bob. 1 other player is here."));

    // Get List twice without clearing: every player twice, and the row numbers as shown.
    ann.W.cmdGetList->click();
    QTRY_COMPARE(ann.W.plist->count(), 2);
    ann.W.cmdGetList->click();
    QTRY_COMPARE(ann.W.plist->count(), 4);
    QCOMPARE(Lines(ann.W.plist), QStringList({"Ann \"A\", B  Lyon, FR  Master  in the lobby",
                                              "Bob  Nowhereland  Master  in the lobby",
                                              "Ann \"A\", B  Lyon, FR  Master  in the lobby",
                                              "Bob  Nowhereland  Master  in the lobby"}));
    ann.W.cmdJoin->click();
    QCOMPARE(ann.Errors, QStringList{"You must select a player."});
    ann.W.plist->setCurrentRow(2);
    ann.W.cmdJoin->click();
    QTRY_COMPARE(ann.Status().at(0), QString("Error: You cannot join your own game."));
    ann.W.plist->setCurrentRow(3);
    ann.W.cmdJoin->click();
    QTRY_COMPARE(ann.Status().at(0), QString("Error: Bob is not waiting for an opponent."));

    // A chat line is shown when the server sends it back, to everybody.
    ann.W.say->setText("hello all");
    QTest::keyClick(ann.W.say, Qt::Key_Return);
    QVERIFY(ann.W.say->text().isEmpty());
    QVERIFY(Lines(ann.W.clist).isEmpty());
    QTRY_COMPARE(Lines(ann.W.clist), QStringList{"<<Ann \"A\", B>> hello all"});
    QTRY_COMPARE(Lines(bob.W.clist), QStringList{"<<Ann \"A\", B>> hello all"});
    // An admin's "say" is information for everybody.
    Lobby_->Admin("say Server closes at midnight");
    QTRY_COMPARE(bob.Status().at(0), QString("Server closes at midnight"));

    for (QPushButton* clear : {ann.W.clear1, ann.W.clear2, ann.W.clear3})
        clear->click();
    QVERIFY(Lines(ann.W.clist).isEmpty() && Lines(ann.W.plist).isEmpty() && ann.Status().isEmpty());

    bob.W.cmdDisconnect->click();
    QCOMPARE(bob.Status().at(0), QString("Disconnected from NetGame Server."));
    QVERIFY(bob.W.cmdConnect->isEnabled() && bob.W.GroupBox1->isEnabled());
    QVERIFY(Lobby_->WaitFor("leave Bob"));
    QVERIFY(Lobby_->Log.contains("Bob (#2 127.0.0.1:") && Lobby_->Log.contains(": parted"));
}

void TestLobbyWindows::handOverToNetGame() {
    QVERIFY(Lobby_->Start());
    const quint16 netPort = FreePort();
    QVERIFY(netPort != 0);
    TfrmCorvina alice, bob;
    TfrmClient aliceLobby(&alice), bobLobby(&bob);
    for (auto [w, l, name] : {std::tuple{&alice, &aliceLobby, "Alice"}, {&bob, &bobLobby, "Bob"}}) {
        w->show();
        w->NetGame()->Connection().SetPort(netPort);
        ConnectLobby(*l, *w->NetGame()); // the start dialogs keep their "Player1"
        l->txtName->setText(name);
        l->skill->setCurrentIndex(1);
        l->ad->setText("127.0.0.1");
        l->port->setValue(Lobby_->Port);
        l->show();
        l->cmdConnect->click();
        QTRY_VERIFY(l->Connection().IsConnected());
    }
    // Creating a game also listens for the opponent the lobby will send.
    aliceLobby.cmdCreate->click();
    QCOMPARE(alice.NetGame()->State(), TNetGame::TState::Waiting);
    QTRY_COMPARE(Lines(aliceLobby.alog).at(0), QString("You are waiting for an opponent."));
    for (TfrmClient* l : {&aliceLobby, &bobLobby}) {
        l->cmdGetList->click();
        QTRY_COMPARE(l->plist->count(), 2);
    }
    QCOMPARE(bobLobby.plist->item(0)->text(),
             QString("Alice  Nowhereland  Intermediate  waiting for an opponent"));
    // Rows of someone else, of an earlier list, stay.
    bobLobby.plist->insertItem(0, "Carol  Here  Beginner  in the lobby");
    bobLobby.plist->setCurrentRow(1);
    bobLobby.cmdJoin->click();
    // The lobby window hands over and hides; its connection stays up.
    QTRY_VERIFY(!bobLobby.isVisible());
    QTRY_COMPARE(bob.NetGame()->State(), TNetGame::TState::Playing);
    QTRY_COMPARE(alice.NetGame()->State(), TNetGame::TState::Playing);
    QTRY_COMPARE(Lines(aliceLobby.alog).at(0), QString("Bob is joining your game."));
    QCOMPARE(bob.NetGame()->StartDialog().txtIP->text(), QString("127.0.0.1"));
    QCOMPARE(bob.NetGame()->StartDialog().ConnectionType(), 1);
    QVERIFY(bobLobby.Connection().IsConnected());
    // Each plays under the name it gave the lobby, and the players' rows of the lobby, stale
    // now, are gone from both lists.
    QTRY_COMPARE(Ctl<QLabel>(alice, "Player2")->text(), QString("Bob"));
    QTRY_COMPARE(Ctl<QLabel>(bob, "Player1")->text(), QString("Alice"));
    QCOMPARE(Ctl<QLabel>(alice, "Player1")->text(), QString("Alice"));
    QCOMPARE(Ctl<QLabel>(bob, "Player2")->text(), QString("Bob"));
    QCOMPARE(Lines(bobLobby.plist), QStringList{"Carol  Here  Beginner  in the lobby"});
    QCOMPARE(Lines(aliceLobby.plist), QStringList{"Bob  Nowhereland  Intermediate  in the lobby"});
    QVERIFY(PlayMoves(alice, {"e2e4"}));
    QTRY_COMPARE(bob.Board()->Position(), alice.Board()->Position());
    QVERIFY(PlayMoves(bob, {"e7e5"}));
    QTRY_COMPARE(alice.Board()->Position(), bob.Board()->Position());
    // The hidden lobby window still hears the lobby.
    aliceLobby.say->setText("good luck");
    aliceLobby.cmdSay->click();
    QTRY_COMPARE(Lines(bobLobby.clist), QStringList{"<<Alice>> good luck"});
    QVERIFY(Lobby_->Log.contains("join Bob"));
}

void TestLobbyWindows::kickAndBan() {
    QTemporaryDir dir;
    const QString bans = dir.filePath("bans.txt");
    QVERIFY(Lobby_->Start({"--bans", bans}));
    TLobbyUser ann, bob;
    ann.Fill("Ann", Lobby_->Port);
    bob.Fill("Bob", Lobby_->Port);
    ann.W.cmdConnect->click();
    bob.W.cmdConnect->click();
    QTRY_VERIFY(ann.Connected() && bob.Connected());
    QVERIFY(Lobby_->WaitFor("identify Ann") && Lobby_->WaitFor("identify Bob"));
    Lobby_->Admin("kick bob shouting in the chat");
    QTRY_VERIFY(bob.W.cmdConnect->isEnabled());
    QCOMPARE(bob.Status().mid(0, 2),
             QStringList({"Disconnected from NetGame Server.",
                          "You were kicked from the server for shouting in the chat"}));
    QVERIFY(ann.Connected());
    Lobby_->Admin("ban 127.0.0.1");
    QTRY_VERIFY(ann.W.cmdConnect->isEnabled());
    QCOMPARE(ann.Status().mid(0, 2), QStringList({"Disconnected from NetGame Server.",
                                                  "You are banned from this server."}));
    QFile f(bans);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("127.0.0.1\n"));
    // Back again: still banned, and so after the server restarts with the same file.
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            Lobby_ = std::make_unique<TLobbyProcess>();
            QVERIFY(Lobby_->Start({"--bans", bans}));
            bob.W.port->setValue(Lobby_->Port);
        }
        bob.W.alog->clear();
        bob.W.cmdConnect->click();
        QTRY_COMPARE(bob.Status().value(0), QString("Disconnected from NetGame Server."));
        QVERIFY(bob.Status().contains("You are banned from this server."));
    }
    QVERIFY(Lobby_->Log.contains("1 banned addresses"));
}

void TestLobbyWindows::wrongPasswordAndServerGone() {
    QVERIFY(Lobby_->Start({"--password", "pässwort"}));
    TLobbyUser u;
    // The snowman has no Windows-1252 byte: the whole identification, password included, then
    // goes out in UTF-8, and the server reads it all that way.
    u.Fill("Jürgen ☃", Lobby_->Port, "guess");
    u.W.cmdConnect->click();
    QTRY_VERIFY(u.Status().contains("Error: Wrong password: this lobby is protected."));
    QTRY_VERIFY(u.W.cmdConnect->isEnabled());
    QCOMPARE(u.Status().at(0), QString("Disconnected from NetGame Server."));
    u.W.alog->clear();
    u.W.pword->setText("pässwort");
    u.W.cmdConnect->click();
    QTRY_VERIFY(u.Status().value(0).startsWith("Welcome to the lobby, Jürgen ☃."));
    // The server goes away: disconnected, once, and no error line for it.
    Lobby_->Stop();
    QTRY_VERIFY(u.W.cmdConnect->isEnabled());
    QCOMPARE(u.Status().at(0), QString("Disconnected from NetGame Server."));
    QCOMPARE(u.Status().count("Disconnected from NetGame Server."), 1);
    QVERIFY(u.Errors.isEmpty());
}

void TestLobbyWindows::hostNameAndConnectionError() {
    QVERIFY(Lobby_->Start());
    TLobbyUser u;
    u.Fill("Ann", Lobby_->Port);
    u.W.adtypeHost->setChecked(true);
    u.W.ad->setText("localhost");
    u.W.cmdConnect->click();
    QTRY_VERIFY(u.Connected());
    u.W.cmdDisconnect->click();
    Lobby_->Stop();
    u.W.alog->clear();
    u.W.cmdConnect->click();
    QTRY_COMPARE(u.Status().size(), 2);
    QVERIFY2(u.Status().at(0).startsWith("Connection Error "), qPrintable(u.Status().at(0)));
    QCOMPARE(u.Status().at(1), QString("Connecting..."));
    QVERIFY(u.W.cmdConnect->isEnabled());
    QTest::qWait(200);
    QCOMPARE(u.Status().size(), 2); // reported once
    QVERIFY(u.Errors.isEmpty());
    QVERIFY(u.W.findChildren<QMessageBox*>().isEmpty());
}

// The server numbers the rows it has sent since the connection began. A list that was cleared,
// or kept from an earlier visit, shows other numbers; Join Game still asks for the player the
// chosen row shows.
void TestLobbyWindows::joinAfterClearingAndReconnecting() {
    QVERIFY(Lobby_->Start());
    TLobbyUser ann, bob, carl, dan;
    for (auto [u, name] : {std::pair{&ann, "Ann"}, {&bob, "Bob"}, {&carl, "Carl"}}) {
        u->Fill(name, Lobby_->Port);
        u->W.cmdConnect->click();
        QTRY_VERIFY(u->Connected());
        QVERIFY(Lobby_->WaitFor(QString("identify ") + name));
    }
    carl.W.cmdCreate->click();
    QVERIFY(Lobby_->WaitFor("game created by Carl"));
    ann.W.cmdGetList->click();
    QTRY_COMPARE(ann.W.plist->count(), 3);
    ann.W.clear2->click();
    bob.W.cmdDisconnect->click();
    QVERIFY(Lobby_->WaitFor("leave Bob"));
    dan.Fill("Dan", Lobby_->Port);
    dan.W.cmdConnect->click();
    QTRY_VERIFY(dan.Connected());
    QVERIFY(Lobby_->WaitFor("identify Dan"));
    dan.W.cmdCreate->click();
    QVERIFY(Lobby_->WaitFor("game created by Dan"));
    ann.W.cmdGetList->click();
    QTRY_COMPARE(ann.W.plist->count(), 3);
    QCOMPARE(ann.W.plist->item(2)->text(),
             QString("Dan  Nowhereland  Master  waiting for an opponent"));
    ann.W.plist->setCurrentRow(2);
    ann.W.cmdJoin->click();
    QVERIFY2(Lobby_->WaitFor("joins Dan"), qPrintable(ann.Status().join('\n')));
    QVERIFY(!Lobby_->Log.contains("joins Carl"));
    // The answer has reached Ann's window once the rows of the two who met are gone.
    QTRY_COMPARE(ann.W.plist->count(), 1);

    // Back in the lobby: the old rows stay in the list but for the two players who met, and
    // the new ones come after them.
    ann.W.show();
    ann.W.cmdDisconnect->click();
    ann.W.cmdConnect->click();
    QTRY_VERIFY(ann.Connected());
    QTRY_COMPARE(ann.Status().filter("Welcome to the lobby, Ann.").size(), 2);
    ann.W.cmdGetList->click();
    QTRY_COMPARE(ann.W.plist->count(), 4);
    const QString carlRow = "Carl  Nowhereland  Master  waiting for an opponent";
    QCOMPARE(ann.W.plist->item(0)->text(), carlRow);
    QCOMPARE(ann.W.plist->item(1)->text(), carlRow);
    // A row from the earlier visit names nobody the server can tell; the new row does.
    ann.W.plist->setCurrentRow(0);
    ann.W.cmdJoin->click();
    QCOMPARE(ann.Errors.size(), 1);
    ann.W.plist->setCurrentRow(1);
    ann.W.cmdJoin->click();
    QVERIFY2(Lobby_->WaitFor("joins Carl"), qPrintable(ann.Status().join('\n')));
    QCOMPARE(Lobby_->Log.count(" joins "), 2);
}

// A server that hands out opponents nobody asked for, or names one by anything but an
// address: no game is started, and the window stays.
void TestLobbyWindows::hostileJoinAnswers() {
    QTcpServer fake;
    QVERIFY(fake.listen(QHostAddress::LocalHost, 0));
    TLobbyUser u;
    QStringList joins;
    u.W.OnJoinGame = [&joins](const QString& address) { joins << address; };
    u.Fill("Ann", fake.serverPort());
    u.W.cmdConnect->click();
    QTRY_VERIFY(fake.hasPendingConnections());
    QTcpSocket* server = fake.nextPendingConnection();
    QTRY_VERIFY(u.Connected());
    const auto say = [server](const QByteArray& message) {
        server->write(message);
        server->flush();
        QTest::qWait(60); // one message a read
    };
    say("djn 127.0.0.1");
    say("lst \"Bob\",\"Here\",\"Master\",\"waiting\"");
    QTRY_COMPARE(u.W.plist->count(), 1);
    u.W.plist->setCurrentRow(0);
    u.W.cmdJoin->click();
    for (const char* bad : {"djn bad.example", "djn 127.0.0.1:80", "djn ", "djn 224.0.0.1"})
        say(bad);
    QCOMPARE(joins, QStringList());
    QVERIFY(u.W.isVisible());
    say("djn 127.0.0.1");
    QTRY_COMPARE(joins, QStringList{"127.0.0.1"});
    QVERIFY(!u.W.isVisible());
    // One join, one game.
    say("djn 127.0.0.1");
    QCOMPARE(joins.size(), 1);

    // A thousand list rows at once are a flood, however few reads carry them.
    QByteArray rows;
    for (int i = 0; i < 1500; ++i)
        rows += LobbyProtocol::FormatListRow({"P" + QByteArray::number(i), "R", "S", "T"});
    server->write(rows);
    QTRY_VERIFY(u.W.cmdConnect->isEnabled());
    QVERIFY(u.Status().contains("The server sent too much too fast; the connection was closed."));
    QVERIFY(u.W.plist->count() <= 1 + TLobbyConnection::MaxPerSecond);
}

QTEST_MAIN(TestLobbyWindows)
#include "tst_lobby_windows.moc"
