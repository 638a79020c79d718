// SPDX-License-Identifier: GPL-3.0-or-later
// The lobby's messages from plain strings: what the client writes, what it makes of every
// reply, the players' list splitter, and what the server reads from clients.
#include "net/lobby/LobbyProtocol.h"

#include <QtTest>

using namespace LobbyProtocol;

class TestLobbyProtocol : public QObject {
    Q_OBJECT
private slots:
    void clientMessages();
    void replyTags();
    void splitter_data();
    void splitter();
    void listRows();
    void serverFormatsSurviveTheSplitter();
    void identify();
    void chatAndJoin();
    void mergedClientReads();
    void cleanBytes();
    void mergedServerReads();
};

void TestLobbyProtocol::mergedServerReads() {
    using L = QList<QByteArray>;
    const QByteArray a = FormatListRow({"Ann", "x", "y", "in the lobby"});
    const QByteArray b = FormatListRow({"B \"lst \"", "lst ", "\"", "playing"});
    QCOMPARE(SplitServerRead(a), L{a});
    QCOMPARE(SplitServerRead(a + b), (L{a, b}));
    QCOMPARE(SplitServerRead(a + b + a), (L{a, b, a}));
    QCOMPARE(SplitServerRead(a + "inf hello"), (L{a, "inf hello"}));
    // Only a read that starts with a row is ever cut.
    QCOMPARE(SplitServerRead("inf x\"lst \"a\""), L{"inf x\"lst \"a\""});
    QCOMPARE(SplitServerRead("lst a,b,c,d"), L{"lst a,b,c,d"});
    QCOMPARE(SplitServerRead(""), L{});
    // Every cut row still reads as its own fields.
    for (const QByteArray& part : SplitServerRead(b + a))
        QVERIFY(ListRow(ParseMessage(part).Payload));
}

void TestLobbyProtocol::clientMessages() {
    QCOMPARE(FormatIdentify("", "Player1", "Nowhereland", "Newbie"),
             QByteArray("jns \"\",\"Player1\",\"Nowhereland\",\"Newbie\""));
    // No escaping: a quote or a comma in a name goes out as typed.
    QCOMPARE(FormatIdentify("p w", "A \"B\", C", "X,Y", "Grand Master"),
             QByteArray("jns \"p w\",\"A \"B\", C\",\"X,Y\",\"Grand Master\""));
    QCOMPARE(FormatGetList(), QByteArray("gtl"));
    QCOMPARE(FormatPart(), QByteArray("prt"));
    QCOMPARE(FormatCreate(), QByteArray("ctg w"));
    QCOMPARE(FormatJoin(0), QByteArray("jng 0"));
    QCOMPARE(FormatJoin(17), QByteArray("jng 17"));
    QCOMPARE(FormatSay("Ann", "hi there"), QByteArray("msg <<Ann>> hi there"));
}

void TestLobbyProtocol::replyTags() {
    const struct {
        const char* Bytes;
        TTag Tag;
        const char* Payload;
    } cases[] = {
        {"err No such row", TTag::Err, "No such row"},
        {"kck spamming", TTag::Kick, "spamming"},
        {"bnd", TTag::Banned, ""},
        {"bnd whatever", TTag::Banned, "whatever"},
        {"lst \"a\",\"b\",\"c\",\"d\"", TTag::List, "\"a\",\"b\",\"c\",\"d\""},
        {"msg <<a>> b", TTag::Msg, "<<a>> b"},
        {"inf hello", TTag::Info, "hello"},
        {"djn 10.0.0.7", TTag::Join, "10.0.0.7"},
        // The fourth character is skipped unchecked.
        {"inf:text", TTag::Info, "text"},
        {"xyz hello", TTag::Unknown, "hello"},
        {"in", TTag::Unknown, ""},
        {"", TTag::Unknown, ""},
    };
    for (const auto& c : cases) {
        const TMessage m = ParseMessage(c.Bytes);
        QCOMPARE(int(m.Tag), int(c.Tag));
        QCOMPARE(m.Payload, QByteArray(c.Payload));
    }
}

void TestLobbyProtocol::splitter_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QList<QByteArray>>("fields");
    using L = QList<QByteArray>;
    QTest::newRow("quoted") << QByteArray("\"a b\",\"c,d\",\"e\",\"f\"")
                            << L{"a b", "c,d", "e", "f"};
    QTest::newRow("doubled quote") << QByteArray("\"say \"\"hi\"\"\",x") << L{"say \"hi\"", "x"};
    QTest::newRow("unquoted blank splits") << QByteArray("Ann Lee,Paris,Master,playing")
                                           << L{"Ann", "Lee", "Paris", "Master", "playing"};
    QTest::newRow("leading blanks") << QByteArray(" \t\"a\", b ,c") << L{"a", "b", "c"};
    QTest::newRow("empty between commas") << QByteArray("a,,b") << L{"a", "", "b"};
    QTest::newRow("trailing comma") << QByteArray("a,") << L{"a", ""};
    QTest::newRow("unclosed quote") << QByteArray("\"abc,def") << L{"abc,def"};
    QTest::newRow("quote mid field") << QByteArray("ab\"c,d") << L{"ab\"c", "d"};
    QTest::newRow("empty") << QByteArray() << L{};
    QTest::newRow("only blanks") << QByteArray("   ") << L{};
    QTest::newRow("zero byte ends") << QByteArray("a,b\0,c", 6) << L{"a", "b"};
    QTest::newRow("quoted then text") << QByteArray("\"a\"b,c") << L{"a", "b", "c"};
}

void TestLobbyProtocol::splitter() {
    QFETCH(QByteArray, payload);
    QFETCH(QList<QByteArray>, fields);
    QCOMPARE(SplitFields(payload), fields);
}

void TestLobbyProtocol::listRows() {
    QCOMPARE(ListRow("\"Ann Lee\",\"Paris, FR\",\"Master\",\"in the lobby\""),
             std::optional<QByteArray>("Ann Lee  Paris, FR  Master  in the lobby"));
    // Fields past the fourth are not shown.
    QCOMPARE(ListRow("a,b,c,d,e"), std::optional<QByteArray>("a  b  c  d"));
    QCOMPARE(ListRow("a,b,c"), std::nullopt);
    QCOMPARE(ListRow(""), std::nullopt);
    QCOMPARE(ListRow("a,,,"), std::optional<QByteArray>("a      "));
}

// Whatever a player calls themselves, the server's row comes out of the client's splitter whole.
void TestLobbyProtocol::serverFormatsSurviveTheSplitter() {
    const QList<QList<QByteArray>> players = {
        {"Ann", "Paris", "Master", "playing"},
        {"A \"B\", C", " lead", "trail ", ""},
        {"\"", "\"\"", ",", ", ,"},
        {"tab\there", "x", "y", "z"},
    };
    for (const QList<QByteArray>& p : players) {
        const TMessage m = ParseMessage(FormatListRow(p));
        QCOMPARE(int(m.Tag), int(TTag::List));
        QCOMPARE(SplitFields(m.Payload), p);
    }
    QCOMPARE(FormatBanned().left(3), QByteArray("bnd"));
    QCOMPARE(ParseMessage(FormatJoined("1.2.3.4")).Payload, QByteArray("1.2.3.4"));
    QCOMPARE(ParseMessage(FormatKick("why")).Payload, QByteArray("why"));
}

void TestLobbyProtocol::identify() {
    auto id = ParseIdentify(ParseMessage(FormatIdentify("", "Ann", "Paris", "Master")).Payload);
    QVERIFY(id);
    QCOMPARE(id->Password, QByteArray());
    QCOMPARE(id->Name, QByteArray("Ann"));
    QCOMPARE(id->Region, QByteArray("Paris"));
    QCOMPARE(id->Skill, QByteArray("Master"));
    // Quotes and commas in a name, sent unescaped, stay in the name.
    id = ParseIdentify(ParseMessage(FormatIdentify("pw", "A \"B\", C", "X,Y", "Newbie")).Payload);
    QVERIFY(id);
    QCOMPARE(id->Name, QByteArray("A \"B\", C"));
    QCOMPARE(id->Region, QByteArray("X,Y"));
    // Even the separator itself in a name: password first, region and skill last.
    id = ParseIdentify(FormatIdentify("pw", "a\",\"b", "R", "S").mid(4));
    QVERIFY(id);
    QCOMPARE(id->Password, QByteArray("pw"));
    QCOMPARE(id->Name, QByteArray("a\",\"b"));
    for (const char* bad : {"", "\"", "abc", "\"a\",\"b\",\"c\"", "\"a\",\"b\",\"c\",\"d"})
        QVERIFY2(!ParseIdentify(bad), bad);
    // A password the server accepts at start is one that comes back whole.
    for (const char* pw :
         {"a\",\"b", "ab\",", "\",", "\",\"", "\"", "x\"", ",\"", "\",x", "p, w"}) {
        const QByteArray back = ParseIdentify(FormatIdentify(pw, "N\"", "R", "S").mid(4))->Password;
        QVERIFY2(PasswordCanBeEntered(pw) == (back == pw), pw);
    }
}

void TestLobbyProtocol::chatAndJoin() {
    QCOMPARE(ChatText("<<Ann>> hello"), QByteArray("hello"));
    QCOMPARE(ChatText("<<Ann>> a >> b"), QByteArray("a >> b"));
    QCOMPARE(ChatText("no frame"), QByteArray("no frame"));
    QCOMPARE(ChatText("<<unclosed"), QByteArray("<<unclosed"));
    QCOMPARE(JoinRow("0"), std::optional<int>(0));
    QCOMPARE(JoinRow("42"), std::optional<int>(42));
    for (const char* bad : {"", "-1", "1x", " 1", "9999999999", "1.5"})
        QVERIFY2(!JoinRow(bad), bad);
}

void TestLobbyProtocol::mergedClientReads() {
    using L = QList<QByteArray>;
    QCOMPARE(SplitClientRead("gtl"), L{"gtl"});
    QCOMPARE(SplitClientRead("gtlgtl"), (L{"gtl", "gtl"}));
    QCOMPARE(SplitClientRead("ctg wjng 12gtl"), (L{"ctg w", "jng 12", "gtl"}));
    QCOMPARE(SplitClientRead("gtlmsg <<a>> gtl"), (L{"gtl", "msg <<a>> gtl"}));
    QCOMPARE(SplitClientRead("jns \"\",\"a\",\"b\",\"c\""), L{"jns \"\",\"a\",\"b\",\"c\""});
    // A request right behind the identification is a message of its own.
    QCOMPARE(SplitClientRead("jns \"p\",\"a b\",\"c\",\"d\"gtl"),
             (L{"jns \"p\",\"a b\",\"c\",\"d\"", "gtl"}));
    QCOMPARE(SplitClientRead("jns \"\",\"a\",\"b\",\"c\"msg <<a>> hi"),
             (L{"jns \"\",\"a\",\"b\",\"c\"", "msg <<a>> hi"}));
    // An identification that never closes stays whole, as before.
    QCOMPARE(SplitClientRead("jns \"\",\"a\",\"b"), L{"jns \"\",\"a\",\"b"});
    QCOMPARE(SplitClientRead("prt"), L{"prt"});
    QCOMPARE(SplitClientRead(""), L{});
}

void TestLobbyProtocol::cleanBytes() {
    QCOMPARE(CleanBytes("a\x01"
                        "b\nc\x7f",
                        100),
             QByteArray("abc"));
    QCOMPARE(CleanBytes("abcdef", 3), QByteArray("abc"));
    // "é" is two bytes in UTF-8: a cut never leaves half of it.
    QCOMPARE(CleanBytes("a\xc3\xa9", 2), QByteArray("a"));
    QCOMPARE(CleanBytes("a\xc3\xa9", 3), QByteArray("a\xc3\xa9"));
}

QTEST_APPLESS_MAIN(TestLobbyProtocol)
#include "tst_lobbyprotocol.moc"
