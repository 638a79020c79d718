// SPDX-License-Identifier: GPL-3.0-or-later
// The real corvina-lobby against raw sockets: a normal visit, garbage, floods, oversized
// messages, a client that never identifies and one that never reads.
#include "net/lobby/LobbyProtocol.h"
#include "tests/net/LobbyKit.h"

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <memory>

using namespace LobbyProtocol;

namespace {

// A raw client: everything it receives, as one stream.
struct TRaw {
    QTcpSocket S;
    QByteArray In;
    explicit TRaw(quint16 port) {
        QObject::connect(&S, &QTcpSocket::readyRead, &S, [this] { In += S.readAll(); });
        S.connectToHost(QHostAddress::LocalHost, port);
    }
    bool Up() { return S.state() == QAbstractSocket::ConnectedState || S.waitForConnected(5000); }
    void Say(const QByteArray& bytes) {
        S.write(bytes);
        S.flush();
    }
    bool Closed() const { return S.state() == QAbstractSocket::UnconnectedState; }
};

QByteArray Identify(const QByteArray& name, const QByteArray& password = "") {
    return FormatIdentify(password, name, "Here", "Master");
}

// Adds n clients identified as prefix0, prefix1 ..., each once it is welcomed.
void AddWelcomed(std::vector<std::unique_ptr<TRaw>>& out, quint16 port, int n,
                 const QByteArray& prefix) {
    for (int i = 0; i < n; ++i) {
        out.push_back(std::make_unique<TRaw>(port));
        QVERIFY(out.back()->Up());
        out.back()->Say(Identify(prefix + QByteArray::number(i)));
        QTRY_VERIFY(out.back()->In.contains("Welcome"));
    }
}

} // namespace

class TestLobbyServer : public QObject {
    Q_OBJECT
private slots:
    void visit();
    void garbageIsIgnored();
    void floodAndOversize();
    void unidentifiedTimesOut();
    void slowReaderIsDropped();
    void fullLobbyAndCommandLine();
    void clientGoneWhileWrittenTo();
    void busyChatDropsNobody();
    void perAddressAndIdle();
    void adminKickAndBan();
    void encodings();
    void lookAlikeNames();
};

void TestLobbyServer::visit() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start());
    TRaw a(lobby.Port), b(lobby.Port);
    QVERIFY(a.Up() && b.Up());
    a.Say("gtl");
    QTRY_VERIFY(a.In.contains("err Identify first."));
    a.Say(Identify("Ann"));
    QTRY_VERIFY(a.In.contains("inf Welcome to the lobby, Ann."));
    b.Say(Identify("ANN"));
    QTRY_VERIFY(b.In.contains("err The name ANN is already in use"));
    b.Say(Identify("Bob"));
    QTRY_VERIFY(b.In.contains("inf Welcome to the lobby, Bob. 1 other player is here."));
    a.Say(FormatCreate());
    QTRY_VERIFY(a.In.contains("inf You are waiting for an opponent."));
    b.In.clear();
    b.Say("gtl");
    QTRY_VERIFY(b.In.contains("\"Bob\""));
    QCOMPARE(b.In, FormatListRow({"Ann", "Here", "Master", "waiting for an opponent"}) +
                       FormatListRow({"Bob", "Here", "Master", "in the lobby"}));
    b.In.clear();
    b.Say("jng 1");
    QTRY_VERIFY(b.In.contains("err You cannot join your own game."));
    b.Say("jng 2");
    QTRY_VERIFY(b.In.contains("err There is no such row"));
    b.Say("jng 0");
    QTRY_VERIFY(b.In.contains("djn 127.0.0.1"));
    QTRY_VERIFY(a.In.contains("inf Bob is joining your game."));
    // A chat goes out under the sender's identified name, whatever name the frame claims.
    a.In.clear();
    b.Say(FormatSay("Ann", "hi\x01 all"));
    QTRY_VERIFY(a.In.contains("msg <<Bob>> hi all"));
    QTRY_VERIFY(b.In.contains("msg <<Bob>> hi all"));
    b.Say("prt");
    QTRY_VERIFY(b.Closed());
    QVERIFY(lobby.WaitFor("leave Bob"));
    QVERIFY(lobby.Log.contains("game created by Ann"));
    QVERIFY(lobby.Log.contains("join Bob"));
}

void TestLobbyServer::garbageIsIgnored() {
    TLobbyProcess lobby;
    // Twenty connections in a row from here, some still closing when the next one comes.
    QVERIFY(lobby.Start({"--max-per-address", "100"}));
    auto* rng = QRandomGenerator::global();
    for (int i = 0; i < 20; ++i) {
        TRaw g(lobby.Port);
        QVERIFY(g.Up());
        QByteArray junk(1 + rng->bounded(3000), '\0');
        for (char& c : junk)
            c = static_cast<char>(rng->bounded(256));
        g.Say(i % 2 ? junk : "jns " + junk);
        g.Say("zzz unknown tag");
        QTest::qWait(30);
    }
    TRaw ok(lobby.Port);
    QVERIFY(ok.Up());
    ok.Say(Identify("Still", ""));
    QTRY_VERIFY(ok.In.contains("inf Welcome to the lobby, Still."));
}

void TestLobbyServer::floodAndOversize() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start());
    TRaw f(lobby.Port), big(lobby.Port), calm(lobby.Port);
    QVERIFY(f.Up() && big.Up() && calm.Up());
    f.Say(Identify("Flood"));
    calm.Say(Identify("Calm"));
    QTRY_VERIFY(f.In.contains("Welcome"));
    // Faster than 20 a second for as long as it takes a loaded machine to notice.
    QElapsedTimer t;
    t.start();
    while (!f.Closed() && !f.In.contains("kck") && t.elapsed() < 60000) {
        f.Say(FormatSay("Flood", "x"));
        QTest::qWait(5);
    }
    QTRY_VERIFY2(f.In.contains("kck flooding the lobby"),
                 qPrintable(f.In.right(300) + "\n" + lobby.Log));
    QTRY_VERIFY(f.Closed());
    big.Say(FormatSay("Big", QByteArray(5000, 'y')));
    QTRY_VERIFY(big.In.contains("kck sending a message over 4 KiB"));
    QTRY_VERIFY(big.Closed());
    QVERIFY(!calm.Closed());
}

void TestLobbyServer::unidentifiedTimesOut() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start({"--identify-timeout", "300"}));
    // The named client is welcomed before the idle one connects: on a loaded machine the
    // server may not read an identification within 300 ms of the connection.
    TRaw named(lobby.Port);
    QVERIFY(named.Up());
    named.Say(Identify("Named"));
    QTRY_VERIFY(named.In.contains("Welcome"));
    TRaw idle(lobby.Port);
    QVERIFY(idle.Up());
    QTRY_VERIFY(idle.Closed());
    QVERIFY(lobby.Log.contains("did not identify in time"));
    QVERIFY(!named.Closed());
}

// One client stops reading while others chat: it is dropped, and a client that reads gets
// every line, in order.
void TestLobbyServer::slowReaderIsDropped() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start({"--pace-ms", "2"}));
    QTcpSocket slow;
    slow.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    slow.connectToHost(QHostAddress::LocalHost, lobby.Port);
    QVERIFY(slow.waitForConnected(5000));
    slow.write(Identify("Slow"));
    slow.flush();
    TRaw reader(lobby.Port);
    QVERIFY(reader.Up());
    reader.Say(Identify("Reader"));
    QVERIFY(lobby.WaitFor("identify Reader"));
    QVERIFY(lobby.WaitFor("identify Slow"));
    // The slow socket is left alone: its data stays unread from here on.
    slow.setReadBufferSize(1);
    std::vector<std::unique_ptr<TRaw>> talkers;
    for (int i = 0; i < 4; ++i) {
        talkers.push_back(std::make_unique<TRaw>(lobby.Port));
        QVERIFY(talkers.back()->Up());
        talkers.back()->Say(Identify("T" + QByteArray::number(i)));
    }
    QVERIFY(lobby.WaitFor("identify T3"));
    const QByteArray line(900, 'z');
    int sent = 0;
    QElapsedTimer t;
    t.start();
    while (!lobby.Log.contains("too slow to read") && t.elapsed() < 30000) {
        for (auto& talker : talkers) {
            talker->Say(FormatSay("T", QByteArray::number(sent) + ' ' + line));
            ++sent;
        }
        QTest::qWait(70); // 14 lines a second from each talker: under the flood limit
    }
    QVERIFY2(lobby.Log.contains("dropping Slow"), qPrintable(lobby.Log.right(2000)));
    QTRY_VERIFY_WITH_TIMEOUT(reader.In.count("msg <<T") == sent, CORVINA_TRY_MS);
    for (auto& talker : talkers)
        QVERIFY(!talker->Closed());
}

void TestLobbyServer::fullLobbyAndCommandLine() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start({"--max-clients", "2"}));
    TRaw a(lobby.Port), b(lobby.Port), c(lobby.Port);
    QVERIFY(a.Up() && b.Up() && c.Up());
    QTRY_VERIFY(c.In.startsWith("err The lobby is full (2 players)"));
    QTRY_VERIFY(c.Closed());
    QVERIFY(!a.Closed() && !b.Closed());

    QProcess help;
    help.start(CORVINA_LOBBY_EXE, {"--help"});
    QVERIFY(help.waitForFinished(10000));
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* option : {"--port", "--password", "--bans", "--max-clients"})
        QVERIFY2(text.contains(option), option);
    QProcess bad;
    bad.start(CORVINA_LOBBY_EXE, {"--port", "65536"});
    QVERIFY(bad.waitForFinished(10000));
    QCOMPARE(bad.exitCode(), 2);
    QVERIFY(bad.readAllStandardError().contains("1 to 65535"));
    bad.start(CORVINA_LOBBY_EXE, {"--password", "a\",\"b"});
    QVERIFY(bad.waitForFinished(10000));
    QCOMPARE(bad.exitCode(), 2);
    QVERIFY(bad.readAllStandardError().contains("cannot be entered"));
}

// Clients that close right after asking for the list: the server's next write to them fails
// while it is still sending them rows, and the failed write ends their connection at once.
// The server must outlive that and keep serving the others.
void TestLobbyServer::clientGoneWhileWrittenTo() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start({"--pace-ms", "0"}));
    std::vector<std::unique_ptr<TRaw>> stay;
    AddWelcomed(stay, lobby.Port, 4, "Stay");
    if (QTest::currentTestFailed())
        return;
    for (int round = 0; round < 10; ++round) {
        TRaw gone(lobby.Port);
        QVERIFY(gone.Up());
        const QByteArray name = "Gone" + QByteArray::number(round);
        gone.Say(Identify(name));
        QTRY_VERIFY2(gone.In.contains("Welcome"),
                     qPrintable(lobby.Log.right(1000) + lobby.P.readAllStandardError().left(3000)));
        // Everything sent so far has been read, so the close is a plain one (no reset); the
        // rows that follow it are refused by the closed socket.
        gone.Say("gtl");
        gone.S.close();
        QVERIFY2(lobby.WaitFor("leave " + name), qPrintable(lobby.Log.right(1500)));
        QCOMPARE(lobby.P.state(), QProcess::Running);
    }
    stay.front()->In.clear();
    stay.front()->Say("gtl");
    QTRY_VERIFY(stay.front()->In.contains("\"Stay3\""));
    QVERIFY(!stay.front()->In.contains("Gone"));
    QCOMPARE(lobby.P.state(), QProcess::Running);
}

// Several players chatting within their own limits can together say more than the pace lets
// out to each client. The lobby refuses what is over its budget, tells the talkers and counts
// it in the log; every client gets every line that was relayed, and none is dropped.
void TestLobbyServer::busyChatDropsNobody() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start({"--pace-ms", "200"})); // a budget of 3 lines a second
    std::vector<std::unique_ptr<TRaw>> all;
    AddWelcomed(all, lobby.Port, 6, "T");
    if (QTest::currentTestFailed())
        return;
    // Three talkers, ten lines a second each: under the flood limit, far over the budget.
    const QByteArray line(1000, 'z');
    for (int round = 0; round < 15; ++round) {
        for (int t = 0; t < 3; ++t)
            all[static_cast<size_t>(t)]->Say(FormatSay("x", line));
        QTest::qWait(100);
    }
    for (int t = 0; t < 3; ++t)
        QTRY_VERIFY(all[static_cast<size_t>(t)]->In.contains("inf Slow down: the lobby is busy."));
    QVERIFY(lobby.WaitFor("lines refused over the lobby's budget"));
    const auto relayed = [&](size_t i) { return all[i]->In.count("msg <<T"); };
    QTRY_VERIFY_WITH_TIMEOUT(relayed(0) > 0 && relayed(5) == relayed(0) &&
                                 relayed(3) == relayed(0) && relayed(1) == relayed(0),
                             CORVINA_TRY_MS);
    QVERIFY2(!lobby.Log.contains("dropping") &&
                 !QRegularExpression(", [1-9]\\d* deliveries skipped").match(lobby.Log).hasMatch(),
             qPrintable(lobby.Log.right(1500)));
    for (auto& c : all)
        QVERIFY(!c->Closed());
}

// One address may hold only so many connections, and a player who says nothing for too long
// is closed; the address's count goes down as its connections leave.
void TestLobbyServer::perAddressAndIdle() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start({"--max-per-address", "2", "--idle-ms", "3000"}));
    TRaw busy(lobby.Port), quiet(lobby.Port);
    QVERIFY(busy.Up() && quiet.Up());
    busy.Say(Identify("Busy"));
    quiet.Say(Identify("Quiet"));
    QTRY_VERIFY(busy.In.contains("Welcome") && quiet.In.contains("Welcome"));
    {
        TRaw third(lobby.Port);
        QVERIFY(third.Up());
        QTRY_VERIFY(third.In.startsWith("err Too many connections from your address (2)."));
        QTRY_VERIFY(third.Closed());
    }
    QVERIFY(lobby.WaitFor("too many connections from 127.0.0.1"));
    QElapsedTimer t;
    t.start();
    while (!quiet.Closed() && t.elapsed() < 60000) {
        busy.Say(FormatCreate());
        QTest::qWait(200);
    }
    QVERIFY(quiet.In.contains("err You have been idle too long; connect again to come back."));
    QVERIFY(lobby.WaitFor("leave Quiet"));
    QVERIFY(lobby.Log.contains("idle for"));
    QVERIFY(!busy.Closed());
    TRaw again(lobby.Port);
    QVERIFY(again.Up());
    again.Say(Identify("Again"));
    QTRY_VERIFY(again.In.contains("Welcome"));
}

// The admin's kick finds a player whose name holds spaces, however the command is spaced,
// and leaves alone a player whose name is only the first word of it. A ban holds even when
// the ban file cannot be written.
void TestLobbyServer::adminKickAndBan() {
    QTemporaryDir dir;
    TLobbyProcess lobby;
    QVERIFY(lobby.Start({"--bans", dir.filePath("no such folder/bans")}));
    TRaw evil(lobby.Port), guy(lobby.Port), plain(lobby.Port);
    QVERIFY(evil.Up() && guy.Up() && plain.Up());
    evil.Say(Identify("Evil"));
    guy.Say(Identify("Evil  Guy"));
    plain.Say(Identify("Plain"));
    for (TRaw* r : {&evil, &guy, &plain})
        QTRY_VERIFY(r->In.contains("Welcome"));
    lobby.Admin("  kick   evil  GUY    spamming the  chat ");
    QTRY_VERIFY(guy.In.contains("kck spamming the  chat"));
    QTRY_VERIFY(guy.Closed());
    QVERIFY(!evil.Closed());
    lobby.Admin("kick Plain");
    QTRY_VERIFY(plain.In.contains("kck no reason given"));
    lobby.Admin("kick Nobody Here");
    QVERIFY(lobby.WaitFor("kick: nobody is called Nobody"));
    QVERIFY(!evil.Closed());

    lobby.Admin("ban 127.0.0.1");
    QTRY_VERIFY(evil.In.contains("bnd"));
    QTRY_VERIFY(evil.Closed());
    QVERIFY(lobby.WaitFor("lasts until the server stops"));
    TRaw again(lobby.Port);
    QVERIFY(again.Up());
    QTRY_VERIFY(again.In.startsWith("bnd"));
}

// Old clients send Windows-1252, ours UTF-8 when the text does not fit it: both are read as the
// same text for the password, the names, the log and the admin's commands, and every message
// goes out in one encoding as a whole.
void TestLobbyServer::encodings() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start({"--password", "pässwort"}));
    TRaw old(lobby.Port), wrong(lobby.Port), utf(lobby.Port);
    QVERIFY(old.Up() && wrong.Up() && utf.Up());
    wrong.Say(Identify("W", "passwort"));
    QTRY_VERIFY(wrong.In.contains("err Wrong password"));
    old.Say(Identify("J\xFCrgen", "p\xE4sswort"));
    QTRY_VERIFY(old.In.contains("inf Welcome to the lobby, J\xFCrgen."));
    utf.Say(Identify("JÜRGEN", "pässwort"));
    QTRY_VERIFY(utf.In.contains("err The name J\xDCRGEN is already in use"));
    utf.Say(Identify("Zoë ☃", "pässwort"));
    QTRY_VERIFY(utf.In.contains("inf Welcome to the lobby, Zoë ☃."));
    QVERIFY(lobby.Log.contains("identify Jürgen (#"));
    old.Say(FormatSay("x", "caf\xE9"));
    QTRY_VERIFY(utf.In.contains("msg <<J\xFCrgen>> caf\xE9"));
    utf.Say(FormatSay("x", "café ☃"));
    QTRY_VERIFY(old.In.contains("msg <<Zoë ☃>> café ☃"));
    lobby.Admin("kick Jürgen für immer");
    QTRY_VERIFY(old.In.contains("kck f\xFCr immer"));
    QTRY_VERIFY(old.Closed());
}

// Names that look the same are one name: composed or not, with blanks of any kind around them,
// with invisible characters in them. A name no keyboard can type is kicked by its number.
void TestLobbyServer::lookAlikeNames() {
    TLobbyProcess lobby;
    QVERIFY(lobby.Start());
    TRaw bob(lobby.Port), zoe(lobby.Port), other(lobby.Port), odd(lobby.Port);
    QVERIFY(bob.Up() && zoe.Up() && other.Up() && odd.Up());
    bob.Say(Identify("\xC2\xA0 Bob"));
    QTRY_VERIFY(bob.In.contains("inf Welcome to the lobby, Bob."));
    zoe.Say(Identify("Zoe\xCC\x88  \xE2\x80\x83Smith")); // e + combining diaeresis, em space
    QTRY_VERIFY(zoe.In.contains("inf Welcome to the lobby, Zo\xEB Smith."));
    for (const QByteArray& same : {QByteArray("Bob\xC2\xA0"),
                                   QByteArray("\xE2\x80\xAE"
                                              "bOb\xE2\x80\x8B"),
                                   QByteArray("Zo\xC3\xAB Smith")}) {
        other.In.clear();
        other.Say(Identify(same));
        QTRY_VERIFY2(other.In.contains("is already in use"), same);
    }
    other.Say(Identify("\xC2\xAD\xE2\x80\x8B "));
    QTRY_VERIFY(other.In.contains("err You must give a name."));
    odd.Say(Identify("Odd\x81\x8D"));
    QTRY_VERIFY(odd.In.contains("inf Welcome to the lobby, Odd."));
    lobby.Admin("kick Bob\u00A0 look-alike");
    QTRY_VERIFY(bob.In.contains("kck look-alike"));
    lobby.Admin("list");
    QVERIFY(lobby.WaitFor("connections"));
    const QRegularExpressionMatch m = QRegularExpression("  Odd \\(#(\\d+) 127").match(lobby.Log);
    QVERIFY2(m.hasMatch(), qPrintable(lobby.Log));
    lobby.Admin("kick #" + m.captured(1) + " odd bytes");
    QTRY_VERIFY(odd.In.contains("kck odd bytes"));
    QVERIFY(!zoe.Closed());
}

QTEST_MAIN(TestLobbyServer)
#include "tst_lobbyserver.moc"
