// SPDX-License-Identifier: GPL-3.0-or-later
// The NetGame wire format and the receive buffer, from plain bytes; and finding the peer's
// half-move from the placement it sent.
#include "chess/Fen.h"
#include "net/NetProtocol.h"
#include "net/NetReceiveBuffer.h"
#include "net/PeerMove.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace NetProtocol;

namespace {

const QByteArray Start = StartPosition;

struct Msg {
    TNetTag Tag;
    QByteArray Payload;
    bool operator==(const Msg&) const = default;
};

QList<Msg> Collect(const std::vector<TNetMessage>& in) {
    QList<Msg> out;
    for (const auto& m : in)
        out << Msg{m.Tag, m.Payload};
    return out;
}

// Feeds the reads in order, then lets the link go quiet.
QList<Msg> Receive(const QList<QByteArray>& reads, TNetReceiveBuffer* keep = nullptr) {
    TNetReceiveBuffer local;
    TNetReceiveBuffer& b = keep ? *keep : local;
    QList<Msg> out;
    for (const QByteArray& r : reads)
        out << Collect(b.Feed(r));
    out << Collect(b.Flush());
    return out;
}

QList<Msg> AsMessages(const QList<QByteArray>& wire) {
    QList<Msg> out;
    for (const QByteArray& w : wire)
        out << Msg{TagOf(w.left(3)), w.mid(4)};
    return out;
}

// A game's worth of traffic as peers write it: each message one send. (A chat line that holds
// "txt " or "inf " could be cut there when it arrives byte by byte; peers write each message
// in one send, so that does not happen between real copies.)
QList<QByteArray> Traffic() {
    return {FormatInfo("Anna"),
            FormatMove("rnbqkbnrpppppppp                    P           PPPP PPPRNBQKBNR"),
            FormatChat("Anna: a text with mov in it, and txt"),
            FormatMove("rnbqkbnrpppp ppp            p       P           PPPP PPPRNBQKBNR"),
            FormatMove("rnbqkbnrpppp ppp            p       P      N    PPPP PPPRNBQKB R"),
            FormatChat("Anna: "),
            FormatChat("Anna: second line right after"),
            FormatInfo(""),
            FormatMove(StartPosition),
            "xyz something unknown",
            FormatChat("Anna: bye")};
}

} // namespace

class TestNetProtocol : public QObject {
    Q_OBJECT
private slots:
    void exactBytesGoOut();
    void textEncodings();
    void everyPayloadLengthRoundTrips();
    void cleaningRemoteText();
    void oneReadPerMessage();
    void everySplitIntoTwoReads();
    void byteByByteAndRandomChunks();
    void joinedMessages();
    void moveWaitsForItsSixtyEightBytes();
    void garbageAndFloods();
    void peerMoveFromPlacement();
    void peerMoveSpecialMoves();
};

void TestNetProtocol::exactBytesGoOut() {
    QCOMPARE(FormatMove(StartPosition), "mov " + Start);
    QCOMPARE(FormatMove(StartPosition).size(), 68);
    QCOMPARE(FormatMove("K"), QByteArray("mov K") + QByteArray(63, ' '));
    QCOMPARE(FormatMove(std::string(StartPosition) + "extra"), "mov " + Start);
    QCOMPARE(FormatInfo("Player1"), QByteArray("inf Player1"));
    QCOMPARE(FormatChat("Player1: hello"), QByteArray("txt Player1: hello"));
    QCOMPARE(FormatChat(""), QByteArray("txt "));
}

void TestNetProtocol::textEncodings() {
    // Older copies read 8-bit Windows-1252; what it can hold goes out that way.
    QCOMPARE(FormatInfo(QString::fromUtf8("José €5")), QByteArray("inf Jos\xE9 \x80"
                                                                  "5"));
    // A character it lacks sends the whole text as UTF-8.
    QCOMPARE(FormatChat(QString::fromUtf8("Łódź")), "txt " + QString::fromUtf8("Łódź").toUtf8());
    QCOMPARE(CleanText(QByteArray("Jos\xE9 \x80"), 64), QString::fromUtf8("José €"));
    QCOMPARE(CleanText(QString::fromUtf8("Łódź").toUtf8(), 64), QString::fromUtf8("Łódź"));
}

void TestNetProtocol::everyPayloadLengthRoundTrips() {
    QByteArray text;
    for (int n = 0; n <= 300; ++n) {
        for (const QByteArray& wire :
             {FormatInfo(QString::fromLatin1(text)), FormatChat(QString::fromLatin1(text))}) {
            const TNetMessage m = ParseMessage(wire);
            QCOMPARE(m.Payload, text);
            // Alone in its read, and fed one byte at a time: the same message comes out.
            QCOMPARE(Receive({wire}), AsMessages({wire}));
            QList<QByteArray> bytes;
            for (char c : wire)
                bytes << QByteArray(1, c);
            QCOMPARE(Receive(bytes), AsMessages({wire}));
        }
        text.append(char('a' + n % 26));
        if (n % 7 == 3)
            text.append(' ');
    }
    QCOMPARE(ParseMessage("inf").Payload, QByteArray());
    QCOMPARE(ParseMessage("in").Tag, TNetTag::Unknown);
    QCOMPARE(ParseMessage("mov?" + Start).Tag, TNetTag::Move); // the fourth byte is not looked at
    QCOMPARE(ParseMessage("MOV " + Start).Tag, TNetTag::Unknown);
    QCOMPARE(MovePosition("K"), std::string("K") + std::string(63, ' '));
}

void TestNetProtocol::cleaningRemoteText() {
    QCOMPARE(CleanText(QByteArray("a\x01"
                                  "b\tc\r\nd\x7f"
                                  "e"),
                       64),
             QString("abcde"));
    QCOMPARE(CleanText(QString::fromUtf8("x\u2028y\u0085z"), 64), QString("xyz"));
    QCOMPARE(CleanText(QByteArray(100, 'n'), MaxNameLength).size(), 64);
    QCOMPARE(CleanText(QByteArray(5000, 'c'), MaxChatLength).size(), 1000);
    // Rich text stays the characters it is; the screen shows it as plain text.
    QCOMPARE(CleanText(QByteArray("<img src=x><a href=y>z</a>"), 64),
             QString("<img src=x><a href=y>z</a>"));
    // A cut never leaves half a surrogate pair.
    QString emoji;
    for (int i = 0; i < 40; ++i)
        emoji += QString::fromUtf8("😀");
    const QString cut = CleanText(emoji, 63);
    QCOMPARE(cut.size(), 62);
    QVERIFY(!cut.back().isHighSurrogate());
}

void TestNetProtocol::oneReadPerMessage() {
    // A peer that writes exactly the format, one message per read, always works.
    QCOMPARE(Receive(Traffic()), AsMessages(Traffic()));
}

void TestNetProtocol::everySplitIntoTwoReads() {
    // Any message cut into two reads at any point comes out whole, and the messages around
    // it are untouched.
    const QList<QByteArray> traffic = Traffic();
    for (int i = 0; i < traffic.size(); ++i) {
        for (int k = 1; k < traffic[i].size(); ++k) {
            QList<QByteArray> reads = traffic.mid(0, i);
            reads << traffic[i].left(k) << traffic[i].mid(k) << traffic.mid(i + 1);
            QCOMPARE(Receive(reads), AsMessages(traffic));
        }
    }
}

void TestNetProtocol::byteByByteAndRandomChunks() {
    const QList<QByteArray> traffic = Traffic();
    QList<QByteArray> bytes;
    for (const QByteArray& m : traffic)
        for (char c : m)
            bytes << QByteArray(1, c);
    QCOMPARE(Receive(bytes), AsMessages(traffic));

    // Reads that each hold the end of one message and the start of the next.
    QRandomGenerator rng(2468);
    for (int round = 0; round < 200; ++round) {
        QList<QByteArray> reads;
        bool afterWholeMove = false; // the last read ends with a complete move
        for (const QByteArray& m : traffic) {
            const qsizetype cut = rng.bounded(1, static_cast<int>(m.size()) + 1);
            // A move joined to the read that ends the move before it: a message starts right
            // after a complete one.
            if (afterWholeMove && m.startsWith("mov") && rng.bounded(2))
                reads.back() += m.left(cut);
            else
                reads << m.left(cut);
            if (cut < m.size())
                reads << m.mid(cut);
            afterWholeMove = m.startsWith("mov");
        }
        QCOMPARE(Receive(reads), AsMessages(traffic));
    }
}

void TestNetProtocol::joinedMessages() {
    // Moves have a fixed size and a recognisable shape: one read of moves comes apart, and a
    // text right after a complete move starts there.
    const QByteArray m1 = FormatMove(StartPosition);
    const QByteArray m2 =
        FormatMove("rnbqkbnrpppppppp                    P           PPPP PPPRNBQKBNR");
    QCOMPARE(Receive({m1 + m2 + FormatChat("A: hi"), m1}),
             AsMessages({m1, m2, FormatChat("A: hi"), m1}));
    // Inside a text still arriving nothing starts a message: two texts in one read, or a text
    // and a move, stay one message, as any receiver that takes a read as a message sees them.
    QCOMPARE(Receive({FormatInfo("Bob") + FormatChat("B: x")}),
             AsMessages({FormatInfo("Bob") + FormatChat("B: x")}));
    QCOMPARE(Receive({FormatInfo("Bob") + m1 + FormatChat("B: x")}),
             AsMessages({FormatInfo("Bob") + m1 + FormatChat("B: x")}));
    // So a chat line or a name holding a whole move shape is text, however it is cut into
    // reads, unless a read happens to begin exactly with the "mov ".
    const QByteArray chat = FormatChat("A: look " + m2 + " and " + m1);
    const QByteArray name = FormatInfo(QString::fromLatin1(m1));
    QCOMPARE(Receive({chat, name}), AsMessages({chat, name}));
    QCOMPARE(Receive({chat.left(7), chat.mid(7), name.left(30), name.mid(30)}),
             AsMessages({chat, name}));
    QCOMPARE(Receive({FormatChat("A: mov e2e4 please")}),
             AsMessages({FormatChat("A: mov e2e4 please")}));
}

void TestNetProtocol::moveWaitsForItsSixtyEightBytes() {
    TNetReceiveBuffer b;
    const QByteArray m = "mov " + QByteArray("0123456789", 10).repeated(7).left(64);
    QVERIFY(b.Feed(m.left(67)).empty());
    QVERIFY(b.Flush().empty()); // a quiet link does not cut a move short
    const auto got = Collect(b.Feed(m.right(1) + "txt A: z"));
    // Not a position, yet a move all the same: the board keeps the letters it knows.
    QCOMPARE(got, QList<Msg>({{TNetTag::Move, m.mid(4)}}));
    QCOMPARE(Collect(b.Flush()), QList<Msg>({{TNetTag::Text, "A: z"}}));
}

void TestNetProtocol::garbageAndFloods() {
    // Random bytes: whatever comes out, nothing crashes, memory stays bounded.
    QRandomGenerator rng(15);
    TNetReceiveBuffer b;
    qsizetype fed = 0;
    while (fed < 300 * 1024 && !b.Overflowed()) {
        QByteArray chunk(rng.bounded(1, 4000), Qt::Uninitialized);
        for (char& c : chunk)
            c = static_cast<char>(rng.bounded(256));
        b.Feed(chunk);
        b.Flush();
        fed += chunk.size();
        QVERIFY(b.Pending() <= MaxPending);
    }

    // 64 KiB without one complete message is the limit; a byte more drops the peer.
    TNetReceiveBuffer limit;
    limit.Feed("txt ");
    limit.Feed(QByteArray(MaxPending - 4, 'x'));
    QVERIFY(!limit.Overflowed());
    QCOMPARE(limit.Pending(), MaxPending);
    limit.Feed("y");
    QVERIFY(limit.Overflowed());
    QCOMPARE(limit.OverflowSize(), MaxPending + 1);
    QCOMPARE(limit.Pending(), 0);
    QVERIFY(limit.Feed(FormatChat("later")).empty());

    // A flood of one byte at a time stays linear: a mebibyte is taken in well under a second
    // in an ordinary build, and overflows at its 64 KiB mark.
    TNetReceiveBuffer trickle;
    const QByteArray one("m");
    trickle.Feed("txt ");
    for (int i = 0; i < 1024 * 1024 && !trickle.Overflowed(); ++i)
        trickle.Feed(one);
    QVERIFY(trickle.Overflowed());
}

void TestNetProtocol::peerMoveFromPlacement() {
    // From the start and from a middle game, every legal half-move is found back from the
    // placement it leaves, and nothing else is.
    for (const char* fen :
         {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
          "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R b KQkq - 0 1"}) {
        TChessGame game;
        QVERIFY(LoadFen(game, fen));
        for (const auto& [from, to] : game.LegalMoves()) {
            TChessGame after = game.Detached();
            QVERIFY(after.MakeMove(from, to));
            const auto found = FindPeerMove(game, after.Position());
            QVERIFY(found);
            QCOMPARE(found->From, from);
            QCOMPARE(found->To, to);
            QCOMPARE(found->Promotion, char(0));
        }
        QVERIFY(!FindPeerMove(game, game.Position()));
    }
    TChessGame game;
    TChessGame two = game.Detached();
    QVERIFY(two.MakeMove(Square::E2, Square::E4) && two.MakeMove(Square::E7, Square::E5));
    QVERIFY(!FindPeerMove(game, two.Position())); // two half-moves at once
    QVERIFY(!FindPeerMove(game, "garbage"));
}

void TestNetProtocol::peerMoveSpecialMoves() {
    TChessGame game;
    QVERIFY(LoadFen(game, "r3k2r/1P6/8/3pP3/8/8/8/R3K2R w KQkq d6 0 1"));
    struct Case {
        Square from, to;
        char promotion;
    };
    const Case cases[] = {{Square::E1, Square::G1, 0},   {Square::E1, Square::C1, 0},
                          {Square::E5, Square::D6, 0},   {Square::B7, Square::B8, 'q'},
                          {Square::B7, Square::A8, 'n'}, {Square::B7, Square::A8, 'r'},
                          {Square::B7, Square::B8, 'b'}};
    for (const Case& c : cases) {
        TChessGame after = game.Detached();
        if (c.promotion)
            after.SetPromotionPiece(c.promotion);
        QVERIFY(after.MakeMove(c.from, c.to));
        const auto found = FindPeerMove(game, after.Position());
        QVERIFY(found);
        QCOMPARE(found->From, c.from);
        QCOMPARE(found->To, c.to);
        QCOMPARE(found->Promotion, c.promotion);
    }
}

QTEST_GUILESS_MAIN(TestNetProtocol)
#include "tst_netprotocol.moc"
