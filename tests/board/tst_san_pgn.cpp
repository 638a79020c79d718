// SPDX-License-Identifier: GPL-3.0-or-later
// SAN and PGN: single moves written and read from strings, every legal move of varied
// positions read back from what the writer made of it, whole games through PGN and back, and
// the PGN checked against pgn-extract, which nobody here wrote.
#include "chess/Fen.h"
#include "chess/Pgn.h"
#include "chess/PgnCollection.h"
#include "chess/San.h"
#include "tests/board/EventLog.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <set>

namespace {

const char* const PgnExtract = "/usr/games/pgn-extract";

// "e7e8n" style: from, to and an optional promotion letter.
TSanMove Uci(const char* text) {
    const std::string s = text;
    TSanMove m{ParseSquare(s.substr(0, 2)), ParseSquare(s.substr(2, 2)), 0};
    if (s.size() > 4)
        m.Promotion = static_cast<char>(std::toupper(static_cast<unsigned char>(s[4])));
    return m;
}

// Plays "e2e4" / "e7e8q" moves through PlaySanMove; names the first refused one.
bool PlayUci(TChessGame& g, const QStringList& moves) {
    for (const QString& m : moves)
        if (!PlaySanMove(g, Uci(m.toLatin1().constData()))) {
            qWarning("refused: %s in %s", qPrintable(m), ToFen(g).c_str());
            return false;
        }
    return true;
}

// Every legal move of the position, promotions once per piece.
std::vector<TSanMove> AllMoves(const TChessGame& g) {
    std::vector<TSanMove> out;
    for (const auto& [from, to] : g.LegalMoves()) {
        const bool promotes = std::toupper(static_cast<unsigned char>(g.At(from))) == 'P' &&
                              (RankOf(to) == 8 || RankOf(to) == 1);
        if (!promotes)
            out.push_back({from, to, 0});
        else
            for (char p : {'Q', 'R', 'B', 'N'})
                out.push_back({from, to, p});
    }
    return out;
}

// The recorded line as the board keeps it: each slot's placement, rights, squares.
QStringList History(const TChessGame& g) {
    std::vector<std::string> list;
    g.GetMoveList(list);
    QStringList out;
    for (const std::string& l : list)
        out << QString::fromStdString(l);
    const TRecordedLine line = RecordedLine(g);
    out << QString::fromStdString(ToFen(line.Start));
    TChessGame replay = line.Start;
    for (const TSanMove& m : line.Moves) {
        out << QString::fromStdString(ToFen(replay));
        PlaySanMove(replay, m);
    }
    out << QString::fromStdString(ToFen(g)) << QString::fromStdString(g.Position());
    return out;
}

// Reads the PGN text back into a fresh game.
bool Load(const std::string& text, TChessGame& game, TPgnError& error) {
    TChessGame start;
    std::vector<TSanMove> moves;
    if (!ReadPgn(text, start, moves, error))
        return false;
    game = start;
    for (const TSanMove& m : moves)
        if (!PlaySanMove(game, m))
            return false;
    return true;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    return text;
}

struct TGameCase {
    const char* Name;
    const char* Fen; // nullptr: the standard start
    QStringList Moves;
    const char* Result;
};

// Castling both ways on both sides, en passant both ways, promotion to every piece (with and
// without capture), checks, a discovered check, mate, and a game set up with black to move.
const TGameCase Games[] = {
    {"castling both sides, mate by O-O-O",
     nullptr,
     {"d2d4", "e7e6", "g1f3", "f7f5", "b1c3", "g8f6", "c1g5", "f8e7", "g5f6",
      "e7f6", "e2e4", "f5e4", "c3e4", "b7b6", "f3e5", "e8g8", "f1d3", "c8b7",
      "d1h5", "d8e7", "h5h7", "g8h7", "e4f6", "h7h6", "e5g4", "h6g5", "h2h4",
      "g5f4", "g2g3", "f4f3", "d3e2", "f3g2", "h1h2", "g2g1", "e1c1"},
     "1-0"},
    {"promotion to every piece",
     "1n1n4/P1P1P2k/8/8/8/8/p1p1p2K/1N1N4 w - - 0 1",
     {"a7b8q", "a2b1r", "c7d8b", "c2d1n", "e7e8n", "e2e1q", "b8b1", "h7h6"},
     "*"},
    {"black starts, en passant both ways, checks",
     "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
     {"d7d5", "e4e5", "f7f5", "e5f6", "g8f6", "a2a3", "c7c5", "b2b3", "c5c4", "d2d4", "c4d3",
      "d1d3", "d8a5", "c2c3"},
     "*"},
    {"fool's mate", nullptr, {"f2f3", "e7e5", "g2g4", "d8h4"}, "0-1"},
    {"stalemate", "7k/5Q2/6K1/8/8/8/8/8 w - - 0 1", {"g6h6"}, "1/2-1/2"},
};

} // namespace

class TestSanPgn : public QObject {
    Q_OBJECT
private slots:
    void sanWriterAndReader_data();
    void sanWriterAndReader();
    void everyLegalMoveReadsBack();
    void readerRefusals_data();
    void readerRefusals();
    void parserSkipsWhatIsNoMove();
    void parserRefusesBrokenText_data();
    void parserRefusesBrokenText();
    void replayNamesTheBadMove();
    void gamesRoundTrip_data();
    void gamesRoundTrip();
    void linesStayUnderEightyColumns();
    void fenRoundTrip();
    void pgnExtractAcceptsOurPgn();
    void pgnExtractOutputLoadsBack();
    void collectionAgreesWithPgnExtract();
};

void TestSanPgn::sanWriterAndReader_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("move");
    QTest::addColumn<QString>("san");
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    QTest::newRow("pawn step") << start << "e2e4"
                               << "e4";
    QTest::newRow("knight") << start << "g1f3"
                            << "Nf3";
    QTest::newRow("by file") << "r3k2r/8/8/8/8/8/8/1N1K1N2 w - - 0 1"
                             << "b1d2"
                             << "Nbd2";
    QTest::newRow("by rank") << "4k3/8/8/8/R7/8/R7/4K3 w - - 0 1"
                             << "a4a3"
                             << "R4a3";
    QTest::newRow("by both") << "8/k7/8/8/4Q2Q/8/8/K6Q w - - 0 1"
                             << "h4e1"
                             << "Qh4e1";
    QTest::newRow("no rival when pinned") << "4k3/8/8/b7/8/8/3N4/4K1N1 w - - 0 1"
                                          << "g1f3"
                                          << "Nf3";
    QTest::newRow("O-O") << "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"
                         << "e1g1"
                         << "O-O";
    QTest::newRow("O-O-O") << "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"
                           << "e1c1"
                           << "O-O-O";
    QTest::newRow("black O-O") << "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1"
                               << "e8g8"
                               << "O-O";
    QTest::newRow("black O-O-O") << "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1"
                                 << "e8c8"
                                 << "O-O-O";
    QTest::newRow("castling rook checks") << "5k2/8/8/8/8/8/8/4K2R w K - 0 1"
                                          << "e1g1"
                                          << "O-O+";
    QTest::newRow("en passant") << "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1"
                                << "e5d6"
                                << "exd6";
    QTest::newRow("black en passant") << "4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1"
                                      << "e4d3"
                                      << "exd3";
    QTest::newRow("capture") << "4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1"
                             << "e4d5"
                             << "exd5";
    QTest::newRow("piece capture") << "4k3/8/8/3p4/8/4N3/8/4K3 w - - 0 1"
                                   << "e3d5"
                                   << "Nxd5";
    QTest::newRow("=Q") << "8/4P3/8/8/8/8/k7/4K3 w - - 0 1"
                        << "e7e8q"
                        << "e8=Q";
    QTest::newRow("=R") << "8/4P3/8/8/8/8/k7/4K3 w - - 0 1"
                        << "e7e8r"
                        << "e8=R";
    QTest::newRow("=B") << "8/4P3/8/8/8/8/k7/4K3 w - - 0 1"
                        << "e7e8b"
                        << "e8=B";
    QTest::newRow("=N") << "8/4P3/8/8/8/8/k7/4K3 w - - 0 1"
                        << "e7e8n"
                        << "e8=N";
    QTest::newRow("capture =N+") << "3r4/4P1k1/8/8/8/8/8/4K3 w - - 0 1"
                                 << "e7d8n"
                                 << "exd8=N";
    QTest::newRow("=Q+") << "k7/4P3/8/8/8/8/8/4K3 w - - 0 1"
                         << "e7e8q"
                         << "e8=Q+";
    QTest::newRow("black =Q") << "4k3/8/8/8/8/8/p7/4K2R b - - 0 1"
                              << "a2a1q"
                              << "a1=Q+";
    QTest::newRow("check") << "4k3/8/8/8/8/8/8/R3K3 w - - 0 1"
                           << "a1a8"
                           << "Ra8+";
    QTest::newRow("mate") << "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1"
                          << "a1a8"
                          << "Ra8#";
    // The pawn taken en passant opened the line onto the king: check, which the board's own
    // check event (raised from the mover's trial alone) does not report.
    QTest::newRow("en passant uncovers check") << "k7/8/8/3pP3/8/8/8/K6B w - d6 0 1"
                                               << "e5d6"
                                               << "exd6+";
    QTest::newRow("black en passant opens rank") << "8/8/8/8/r1pP3K/8/8/7k b - d3 0 1"
                                                 << "c4d3"
                                                 << "cxd3+";
}

void TestSanPgn::sanWriterAndReader() {
    QFETCH(QString, fen);
    QFETCH(QString, move);
    QFETCH(QString, san);
    TChessGame g;
    QVERIFY(LoadFen(g, fen.toStdString()));
    const TSanMove m = Uci(move.toLatin1().constData());
    QCOMPARE(QString::fromStdString(MoveToSan(g, m)), san);
    TSanMove read;
    QCOMPARE(SanToMove(g, san.toStdString(), read), TSanResult::Ok);
    QCOMPARE(read, m);
}

// Any legal move the writer writes reads back as that move and as no other, and so does the
// same move in the coordinate and long algebraic forms other programs write ("e2e4", "e2-e4",
// "Ng1f3", "Ng1-f3", "d4xe5", "e1g1" for castling, "e7e8q"): positions from a long played
// game and from positions rich in rivals, promotions and castling.
void TestSanPgn::everyLegalMoveReadsBack() {
    std::vector<TChessGame> positions;
    for (const char* fen :
         {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
          "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
          "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
          "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
          "1N1N1N2/k7/8/8/8/8/8/QN1N1K1Q w - - 0 1", "2n1n3/1P3P2/8/8/8/8/8/k3K3 w - - 0 1"})
        positions.push_back(FromFen(fen));
    TChessGame g;
    PlayUci(g, Games[0].Moves);
    positions.push_back(g);
    int checked = 0;
    for (const TChessGame& p : positions) {
        std::set<std::string> written;
        for (const TSanMove& m : AllMoves(p)) {
            const std::string san = MoveToSan(p, m);
            QVERIFY2(!san.empty(), ToFen(p).c_str());
            QVERIFY2(written.insert(san).second, (san + " written twice").c_str());
            TSanMove read;
            QCOMPARE(SanToMove(p, san, read), TSanResult::Ok);
            QVERIFY2(read == m, san.c_str());
            ++checked;
            std::string from = SquareName(m.From), to = SquareName(m.To);
            for (std::string* name : {&from, &to})
                (*name)[0] =
                    static_cast<char>(std::tolower(static_cast<unsigned char>((*name)[0])));
            const char mover =
                static_cast<char>(std::toupper(static_cast<unsigned char>(p.At(m.From))));
            const bool takes =
                p.At(m.To) != ' ' || (mover == 'P' && FileOf(m.From) != FileOf(m.To));
            const std::string promo =
                m.Promotion ? std::string(1, static_cast<char>(std::tolower(m.Promotion))) : "";
            std::vector<std::string> forms = {from + to + promo, from + "-" + to + promo,
                                              from + (takes ? "x" : "-") + to + promo};
            if (mover != 'P')
                forms.push_back(mover + from + (takes ? "x" : "-") + to);
            for (const std::string& form : forms) {
                QVERIFY2(SanToMove(p, form, read) == TSanResult::Ok && read == m, form.c_str());
            }
        }
    }
    QVERIFY2(checked > 150, qPrintable(QString::number(checked)));
}

void TestSanPgn::readerRefusals_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("san");
    QTest::addColumn<int>("result");
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const int illegal = int(TSanResult::Illegal), ambiguous = int(TSanResult::Ambiguous),
              malformed = int(TSanResult::Malformed), ok = int(TSanResult::Ok);
    QTest::newRow("blocked") << start << "Ke2" << illegal;
    QTest::newRow("too far") << start << "e5" << illegal;
    QTest::newRow("castle through pieces") << start << "O-O" << illegal;
    QTest::newRow("two knights") << "4k3/8/8/8/8/8/8/1N1K1N2 w - - 0 1"
                                 << "Nd2" << ambiguous;
    QTest::newRow("two rooks") << "4k3/8/8/8/R7/8/R7/4K3 w - - 0 1"
                               << "Ra3" << ambiguous;
    QTest::newRow("promotion without piece") << "8/4P3/8/8/8/8/k7/4K3 w - - 0 1"
                                             << "e8" << illegal;
    QTest::newRow("piece on no last rank") << start << "e4=Q" << illegal;
    QTest::newRow("promotion to king") << "8/4P3/8/8/8/8/k7/4K3 w - - 0 1"
                                       << "e8=K" << malformed;
    QTest::newRow("king as castling") << "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"
                                      << "Kg1" << illegal;
    QTest::newRow("castling as the king's move") << "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1"
                                                 << "Ke8-c8" << ok;
    QTest::newRow("coordinates from an empty square") << start << "e3e4" << illegal;
    QTest::newRow("coordinates of the other side") << start << "e7e5" << illegal;
    QTest::newRow("coordinates promoting a knight") << start << "g1f3q" << malformed;
    QTest::newRow("en passant run together")
        << "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3"
        << "exf6e.p.+" << ok;
    QTest::newRow("nonsense") << start << "xyz" << malformed;
    QTest::newRow("square off board") << start << "Ni9" << malformed;
    QTest::newRow("upper-case file") << start << "E4" << malformed;
    QTest::newRow("empty") << start << "" << malformed;
    QTest::newRow("annotated") << start << "Nf3!?" << ok;
    QTest::newRow("zeros") << "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"
                           << "0-0-0" << ok;
    QTest::newRow("long algebraic") << start << "e2-e4" << ok;
    QTest::newRow("promotion without =") << "8/4P3/8/8/8/8/k7/4K3 w - - 0 1"
                                         << "e8N" << ok;
}

void TestSanPgn::readerRefusals() {
    QFETCH(QString, fen);
    QFETCH(QString, san);
    QFETCH(int, result);
    TChessGame g;
    QVERIFY(LoadFen(g, fen.toStdString()));
    TSanMove m;
    QCOMPARE(int(SanToMove(g, san.toStdString(), m)), result);
}

void TestSanPgn::parserSkipsWhatIsNoMove() {
    const std::string text = "% a line for other programs\n"
                             "[Event \"A \\\"quoted\\\" name\"]\n[White \"W\"]\r\n"
                             "[Black \"B\"][Result \"1-0\"]\n[Site \"\"Mephisto\"\" ]\n\n"
                             "1. e4 {a comment (with a paren} e5 $1 2.Nf3 ; to the line's end\n"
                             "Nc6 (2... d6 (2... f5 3. exf5) 3. d4) 3. Bb5 a6!? 4... 1-0\n"
                             "[Event \"second game\"]\n1. d4 *\n";
    TPgnGame pgn;
    TPgnError error;
    QVERIFY(ParsePgn(text, pgn, error));
    QCOMPARE(pgn.Tag("Event"), std::string("A \"quoted\" name"));
    QCOMPARE(pgn.Tag("Black"), std::string("B"));
    QCOMPARE(pgn.Tag("Site"), std::string("\"Mephisto\"")); // doubled quotes, as written
    QCOMPARE(pgn.Result, std::string("1-0"));
    const std::vector<std::string> expected = {"e4", "e5", "Nf3", "Nc6", "Bb5", "a6!?"};
    QCOMPARE(pgn.Moves, expected);
    TChessGame start;
    std::vector<TSanMove> moves;
    QVERIFY(ReplayPgn(pgn, start, moves, error));
    QCOMPARE(moves.size(), std::size_t(6));
}

void TestSanPgn::parserRefusesBrokenText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    const int syntax = int(TPgnError::Kind::Syntax);
    QTest::newRow("open comment") << "1. e4 { never closed" << syntax;
    QTest::newRow("open tag") << "[Event \"x\n1. e4" << syntax;
    QTest::newRow("tag without value") << "[Event]\n1. e4" << syntax;
    QTest::newRow("stray paren") << "1. e4 ) e5" << syntax;
    // Everything after the "(" would be lost without a word.
    QTest::newRow("open variation") << "1. e4 e5 2. Nf3 (2. Nc3 Nf6 2... Nc6 3. Bb5 1-0" << syntax;
    QTest::newRow("nothing") << " \n\t\n" << int(TPgnError::Kind::NoGame);
    QTest::newRow("bad FEN") << "[FEN \"8/8/8 w - - 0 1\"]\n*" << int(TPgnError::Kind::BadFen);
    // Black stands in check with white to move: the first move would take the king.
    QTest::newRow("king to be taken")
        << "[FEN \"4k3/8/8/8/8/8/8/4QK2 w - - 0 1\"]\n1. Qxe8 *" << int(TPgnError::Kind::BadFen);
}

void TestSanPgn::parserRefusesBrokenText() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    TChessGame start;
    std::vector<TSanMove> moves;
    TPgnError error;
    QVERIFY(!ReadPgn(text.toStdString(), start, moves, error));
    QCOMPARE(int(error.What), kind);
    QVERIFY(!error.Sentence().empty());
}

void TestSanPgn::replayNamesTheBadMove() {
    TChessGame start;
    std::vector<TSanMove> moves;
    TPgnError error;
    QVERIFY(!ReadPgn("1. e4 e5 2. Nf3 Nc6 3. Bb5 Nbd7 *", start, moves, error));
    QCOMPARE(error.Sentence(), std::string("Move 3... Nbd7 is not legal in this position."));
    QVERIFY(!ReadPgn("[FEN \"4k3/8/8/8/8/8/8/1N1K1N2 w - - 0 1\"]\n1. Nd2", start, moves, error));
    QCOMPARE(error.Sentence(), std::string("Move 1. Nd2 is ambiguous in this position."));
}

void TestSanPgn::gamesRoundTrip_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(Games)); ++i)
        QTest::newRow(Games[i].Name) << i;
}

void TestSanPgn::gamesRoundTrip() {
    QFETCH(int, index);
    const TGameCase& c = Games[index];
    TChessGame g;
    if (c.Fen)
        QVERIFY(LoadFen(g, c.Fen));
    QVERIFY(PlayUci(g, c.Moves));
    TPgnHeader header;
    header.White = "Zoë \"the\" Player";
    header.Black = "B\\C";
    const std::vector<std::string> lines = WritePgn(g, header);
    const std::string text = Joined(lines);
    QVERIFY2(text.find(std::string("[Result \"") + c.Result + "\"]") != std::string::npos,
             text.c_str());
    QCOMPARE(text.find("[FEN ") != std::string::npos, c.Fen != nullptr);

    TChessGame back;
    TPgnError error;
    QVERIFY2(Load(text, back, error), (error.Sentence() + "\n" + text).c_str());
    QCOMPARE(History(back), History(g));
    TPgnGame pgn;
    QVERIFY(ParsePgn(text, pgn, error));
    QCOMPARE(pgn.Tag("White"), header.White);
    QCOMPARE(pgn.Tag("Black"), header.Black);
    QCOMPARE(pgn.Result, std::string(c.Result));
    // Written again, the same text.
    QCOMPARE(WritePgn(back, header), lines);
}

void TestSanPgn::linesStayUnderEightyColumns() {
    // A long game: the knights dance until the placement comes back a third time.
    TChessGame g;
    int played = 0;
    for (int i = 0; i < 60 && !g.IsThreefold(); ++i) {
        const QStringList cycle = {"g1f3", "g8f6", "f3g1", "f6g8"};
        if (!PlayUci(g, {cycle[i % 4]}))
            break;
        ++played;
    }
    QVERIFY(played >= 8);
    const std::vector<std::string> lines = WritePgn(g, {});
    for (const std::string& l : lines)
        QVERIFY2(l.size() < 80, l.c_str());
    QCOMPARE(lines.back().substr(lines.back().size() - 7), std::string("1/2-1/2"));
}

// A FEN of every position of the games reads back to the same position and the same FEN,
// move counters included: the half-move clock counted here move by move, the move number
// going on from the one the game was set up with.
void TestSanPgn::fenRoundTrip() {
    for (const TGameCase& c : Games) {
        TChessGame g;
        int clock = 0, number = 1;
        if (c.Fen) {
            // The same position later in some game: its counters travel with it.
            const std::string fen = std::string(c.Fen).substr(0, std::string(c.Fen).rfind(' '));
            const std::string later = fen.substr(0, fen.rfind(' ')) + " 37 88";
            QVERIFY(LoadFen(g, later));
            QCOMPARE(ToPortableFen(g).substr(ToPortableFen(g).size() - 6), std::string(" 37 88"));
            clock = 37;
            number = 88;
        }
        for (const QString& m : c.Moves) {
            const Square from = ParseSquare(m.left(2).toStdString());
            const Square to = ParseSquare(m.mid(2, 2).toStdString());
            const bool pawnOrCapture =
                std::toupper(static_cast<unsigned char>(g.At(from))) == 'P' || g.At(to) != ' ';
            const bool blackMoved = !g.WhiteToMove();
            QVERIFY(PlayUci(g, {m}));
            clock = pawnOrCapture ? 0 : clock + 1;
            number += blackMoved ? 1 : 0;
            const std::string fen = ToPortableFen(g);
            QVERIFY2(fen.ends_with(" " + std::to_string(clock) + " " + std::to_string(number)),
                     fen.c_str());
            TChessGame back;
            std::string why;
            QVERIFY2(LoadFen(back, fen, &why), why.c_str());
            QCOMPARE(back.Position(), g.Position());
            QCOMPARE(back.WhiteToMove(), g.WhiteToMove());
            QCOMPARE(back.EnPassant(), g.EnPassant());
            QCOMPARE(back.CastlingAllowed(), PlayableCastling(g.Position(), g.CastlingAllowed()));
            QCOMPARE(QString::fromStdString(ToPortableFen(back)), QString::fromStdString(fen));
        }
        // Stepping back shows the counters of the position stepped to.
        if (g.PreviousMove() && g.PreviousMove()) {
            TChessGame replay;
            QVERIFY(LoadFen(replay, ToPortableFen(g)));
            QCOMPARE(ToPortableFen(replay), ToPortableFen(g));
        }
        // The PGN of a game set up later in a game numbers its moves from there, and reads
        // back to the same counters.
        if (c.Fen) {
            while (g.NextMove()) {
            }
            const std::vector<std::string> pgn = WritePgn(g, {});
            const std::string text = Joined(pgn);
            QVERIFY2(text.find(" 37 88\"]") != std::string::npos, text.c_str());
            QVERIFY2(text.find("\n88.") != std::string::npos, text.c_str());
            TChessGame back;
            TPgnError error;
            QVERIFY2(Load(text, back, error), error.Sentence().c_str());
            QCOMPARE(ToPortableFen(back), ToPortableFen(g));
            QCOMPARE(Joined(WritePgn(back, {})), text);
        }
    }
    // A right whose king has left its square is not written.
    TChessGame moved = FromFen("r3k2r/8/8/8/8/8/8/R2K3R w KQkq - 0 1");
    QCOMPARE(ToPortableFen(moved), std::string("r3k2r/8/8/8/8/8/8/R2K3R w kq - 0 1"));
}

namespace {

// Runs pgn-extract on `input`; its output file, or an empty array when it failed or warned.
QByteArray RunPgnExtract(const QByteArray& input, const QStringList& options, QString& complaint) {
    QTemporaryDir dir;
    const QString in = dir.filePath("in.pgn"), out = dir.filePath("out.pgn");
    QFile f(in);
    if (!f.open(QIODevice::WriteOnly) || f.write(input) != input.size())
        return {};
    f.close();
    QProcess p;
    p.start(PgnExtract, QStringList{"-s", "-o" + out} + options + QStringList{in});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return {};
    complaint = QString::fromUtf8(p.readAllStandardError());
    QFile o(out);
    return o.open(QIODevice::ReadOnly) ? o.readAll() : QByteArray();
}

// Each game case played on a fresh game.
TChessGame PlayedCase(const TGameCase& c) {
    TChessGame g;
    if (c.Fen && !LoadFen(g, c.Fen))
        qFatal("bad test FEN %s", c.Fen);
    if (!PlayUci(g, c.Moves))
        qFatal("bad test game %s", c.Name);
    return g;
}

} // namespace

void TestSanPgn::pgnExtractAcceptsOurPgn() {
    if (!QFileInfo::exists(PgnExtract))
        QSKIP("pgn-extract is not installed");
    for (const TGameCase& c : Games) {
        const TChessGame g = PlayedCase(c);
        TPgnHeader header;
        header.White = "White Player";
        header.Black = "Black Player";
        header.Date = "2026.12.08";
        QString complaint;
        const QByteArray written = RunPgnExtract(
            QByteArray::fromStdString(Joined(WritePgn(g, header))), {"--fixresulttags"}, complaint);
        QCOMPARE(complaint, QString());
        // Every game comes through, with its moves and its result untouched.
        QVERIFY2(written.contains(QByteArray("[Result \"") + c.Result + "\"]"), written);
        TChessGame back;
        TPgnError error;
        QVERIFY2(Load(written.toStdString(), back, error), error.Sentence().c_str());
        QCOMPARE(History(back), History(g));
    }
}

// pgn-extract turns long-algebraic moves into its own SAN; that SAN reads back to the game.
void TestSanPgn::pgnExtractOutputLoadsBack() {
    if (!QFileInfo::exists(PgnExtract))
        QSKIP("pgn-extract is not installed");
    for (const TGameCase& c : Games) {
        const TChessGame g = PlayedCase(c);
        QByteArray text = "[Event \"x\"]\n[Site \"?\"]\n[Date \"????.??.??\"]\n[Round \"-\"]\n"
                          "[White \"a\"]\n[Black \"b\"]\n[Result \"*\"]\n";
        if (c.Fen)
            text += QByteArray("[SetUp \"1\"]\n[FEN \"") + c.Fen + "\"]\n";
        text += "\n";
        for (const QString& m : c.Moves)
            text += m.toLatin1() + " ";
        text += "*\n";
        QString complaint;
        const QByteArray written = RunPgnExtract(text, {}, complaint);
        QVERIFY2(!written.contains("e2e4") && written.contains("1."), written);
        TChessGame back;
        TPgnError error;
        QVERIFY2(Load(written.toStdString(), back, error),
                 (error.Sentence() + "\n" + written.toStdString()).c_str());
        QCOMPARE(History(back), History(g));
    }
}

// A collection as other programs write them (coordinate moves, games without tags, comments
// holding brackets) is cut into its games, and corvina-bench pgn reaches the same final
// position in each as pgn-extract does.
void TestSanPgn::collectionAgreesWithPgnExtract() {
    QCOMPARE(SplitPgnGames("").size(), std::size_t(0));
    QCOMPARE(SplitPgnGames("{only a comment}\n% escape\n").size(), std::size_t(0));
    const std::string_view tagless = "1. e4 e5 1-0 {after [the] result} 1. d4 *\n2. c4 0-1";
    const std::vector<std::string_view> three = SplitPgnGames(tagless);
    QCOMPARE(three.size(), std::size_t(3));
    QCOMPARE(three[1], std::string_view("{after [the] result} 1. d4 *"));

    QByteArray text;
    int count = 0;
    for (const TGameCase& c : Games) {
        text += "[Event \"x\"]\n[White \"a\"] [Black \"b\"]\n";
        if (c.Fen)
            text += QByteArray("[SetUp \"1\"]\n[FEN \"") + c.Fen + "\"]\n";
        text += "\n{a comment\n[that looks like a tag]}\n";
        for (const QString& m : c.Moves)
            text += m.toLatin1() + (count % 2 ? "\n" : " ");
        text += QByteArray(c.Result) + "\n\n";
        ++count;
        if (!c.Fen) { // and the same game in SAN with no tags, right after
            text += QByteArray::fromStdString(
                        Joined(WritePgn(PlayedCase(c), {}))
                            .substr(Joined(WritePgn(PlayedCase(c), {})).find("\n\n") + 2)) +
                    "\n";
            ++count;
        }
    }
    QTemporaryDir dir;
    const QString file = dir.filePath("collection.pgn");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
    f.close();
    QCOMPARE(int(SplitPgnGames(text.toStdString()).size()), count);

    QProcess bench;
    bench.start(CORVINA_BENCH_PATH, {"pgn", file});
    QVERIFY(bench.waitForFinished(60000));
    QCOMPARE(bench.exitCode(), 0);
    const QList<QByteArray> lines = bench.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(int(lines.size()), count);
    if (!QFileInfo::exists(PgnExtract))
        QSKIP("pgn-extract is not installed");
    QString complaint;
    const QByteArray extracted = RunPgnExtract(text, {"-F"}, complaint);
    QList<QByteArray> fens;
    for (qsizetype at = 0; (at = extracted.indexOf("{ \"", at)) >= 0; at += 3)
        fens << extracted.mid(at + 3, extracted.indexOf('"', at + 3) - at - 3);
    QCOMPARE(int(fens.size()), count);
    for (int i = 0; i < count; ++i) {
        const QList<QByteArray> ours = lines[i].split('\t');
        QCOMPARE(ours.value(0), QByteArray::number(i + 1));
        // Placement, side to move and castling rights (the en passant field differs by
        // convention: pgn-extract names the square after every double step).
        QCOMPARE(ours.value(1).split(' ').mid(0, 3), fens[i].split(' ').mid(0, 3));
    }
}

QTEST_APPLESS_MAIN(TestSanPgn)
#include "tst_san_pgn.moc"
