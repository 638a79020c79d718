// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-uci: the command readers from strings, moves applied by the engine board held to the
// board's rules over random games, the protocol in-process with a search stopped from the
// command thread, and a whole game against stockfish refereed by the rules.
#include "chess/Fen.h"
#include "chess/Pgn.h"
#include "chess/San.h"
#include "engine/uci/UciCommands.h"
#include "engine/uci/UciEngine.h"
#include "tools/ucimatch/UciMatch.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>

#include <chrono>
#include <mutex>
#include <thread>

namespace {

const char* const Stockfish = "/usr/games/stockfish";

// Output lines of an in-process engine, read safely while its search writes.
struct TOutput {
    std::mutex Mutex;
    std::vector<std::string> Lines;
    void Add(const std::string& line) {
        std::lock_guard lock(Mutex);
        Lines.push_back(line);
    }
    std::vector<std::string> Copy() {
        std::lock_guard lock(Mutex);
        return Lines;
    }
    void Clear() {
        std::lock_guard lock(Mutex);
        Lines.clear();
    }
    // Waits up to `ms` for a line beginning with `prefix`.
    std::string WaitFor(const std::string& prefix, int ms) {
        for (int waited = 0;; waited += 5) {
            for (const std::string& l : Copy())
                if (l.rfind(prefix, 0) == 0)
                    return l;
            if (waited >= ms)
                return {};
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
};

std::string UciText(const TSanMove& m) {
    std::string s = SquareName(m.From) + SquareName(m.To);
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (m.Promotion)
        s += static_cast<char>(std::tolower(static_cast<unsigned char>(m.Promotion)));
    return s;
}

// Whether the bestmove line names a legal move of the position after `moves` from the start.
bool LegalAnswer(const std::string& line, const std::vector<std::string>& moves) {
    TChessGame g;
    for (const std::string& m : moves) {
        TSanMove s{ParseSquare(m.substr(0, 2)), ParseSquare(m.substr(2, 2)),
                   m.size() > 4 ? static_cast<char>(std::toupper(m[4])) : '\0'};
        if (!PlaySanMove(g, s))
            return false;
    }
    if (line.rfind("bestmove ", 0) != 0)
        return false;
    const std::string m = line.substr(9, line.find(' ', 9) - 9);
    TSanMove s{ParseSquare(m.substr(0, 2)), ParseSquare(m.substr(2, 2)),
               m.size() > 4 ? static_cast<char>(std::toupper(m[4])) : '\0'};
    return !MoveToSan(g, s).empty();
}

} // namespace

class TestUci : public QObject {
    Q_OBJECT
private slots:
    void goArguments();
    void timeAllotment();
    void positionCommand();
    void movesFollowTheRulesInRandomGames();
    void handshakeAndDepthSearch();
    void stopEndsAnInfiniteSearch();
    void timedSearchAnswersInTime();
    void wholeGameAgainstStockfish();
};

void TestUci::goArguments() {
    TGoLimits l = ParseGoCommand(SplitWords("go wtime 60000 btime 59000 winc 1000 binc 900 "
                                            "movestogo 20"));
    QCOMPARE(l.WTime, 60000);
    QCOMPARE(l.BTime, 59000);
    QCOMPARE(l.WInc, 1000);
    QCOMPARE(l.BInc, 900);
    QCOMPARE(l.MovesToGo, 20);
    QVERIFY(!l.Infinite);
    l = ParseGoCommand(SplitWords("go  depth\t4"));
    QCOMPARE(l.Depth, 4);
    l = ParseGoCommand(SplitWords("go infinite"));
    QVERIFY(l.Infinite);
    l = ParseGoCommand(SplitWords("go movetime 99999999999999999999 depth x"));
    QCOMPARE(l.MoveTime, -1); // out of range reads as no limit rather than wrapping
    QCOMPARE(l.Depth, -1);
}

void TestUci::timeAllotment() {
    TGoLimits l;
    QCOMPARE(AllotTime(l, true).Hard, -1);
    l.MoveTime = 500;
    QCOMPARE(AllotTime(l, true, 0).Hard, 500);
    QCOMPARE(AllotTime(l, true, 80).Hard, 420); // what the host adds per move is kept back
    QVERIFY(AllotTime(l, true).Soft < AllotTime(l, true).Hard);
    l = {};
    l.WTime = 60000;
    l.BTime = 1000;
    const TTimeBudget w = AllotTime(l, true), b = AllotTime(l, false);
    QVERIFY(w.Hard > b.Hard);
    // Never more than half of what is left, and the soft limit below the hard one.
    for (int left : {0, 10, 60, 100, 1000, 60000}) {
        l.WTime = left;
        for (int togo : {0, 1, 5, 40}) {
            l.MovesToGo = togo;
            for (int overhead : {0, 50, 5000}) {
                const TTimeBudget t = AllotTime(l, true, overhead);
                QVERIFY(t.Hard >= 1 && t.Hard <= std::max(1, (left - overhead) / 2));
                QVERIFY(t.Soft <= t.Hard);
            }
        }
    }
    l.WTime = 10000;
    l.MovesToGo = 0;
    const int plain = AllotTime(l, true).Hard;
    l.WInc = 2000;
    QVERIFY(AllotTime(l, true).Hard > plain);
}

void TestUci::positionCommand() {
    TEngineBoard scratch;
    TUciPosition p;
    std::string error;
    QVERIFY(ParsePositionCommand(SplitWords("position startpos moves e2e4 c7c5 e4e5 d7d5 e5d6"),
                                 scratch, p, error));
    TChessGame g;
    QVERIFY(LoadFen(g, "rnbqkbnr/pp2pppp/3P4/2p5/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 3"));
    QCOMPARE(p.Placement, g.Position());
    QVERIFY(!p.WhiteToMove);
    QCOMPARE(p.EnPassant, 0);
    QVERIFY(ParsePositionCommand(SplitWords("position fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1 "
                                            "moves e1c1 e8g8"),
                                 scratch, p, error));
    QCOMPARE(p.Placement.substr(0, 8), std::string("r    rk "));
    QCOMPARE(p.Placement.substr(56, 8), std::string("  KR   R"));
    QCOMPARE(p.Castling, 0);
    // A bad move stops the list there and is named.
    QVERIFY(!ParsePositionCommand(SplitWords("position startpos moves e2e4 e2e4 d7d5"), scratch, p,
                                  error));
    QCOMPARE(error, std::string("illegal move e2e4"));
    QVERIFY(!p.WhiteToMove);
    QVERIFY(!ParsePositionCommand(SplitWords("position fen 8/8/8 w - -"), scratch, p, error));
    QVERIFY(!ParsePositionCommand(SplitWords("position"), scratch, p, error));
}

// The engine board applies "e2e4" moves exactly as the board's rules play them: random games
// from positions full of castling, en passant and promotions.
void TestUci::movesFollowTheRulesInRandomGames() {
    QRandomGenerator random(2468);
    TEngineBoard scratch;
    int plies = 0;
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                            "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
                            "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1"}) {
        for (int game = 0; game < 12; ++game) {
            TChessGame g;
            QVERIFY(LoadFen(g, fen));
            auto p = PositionFromFen(SplitWords(fen));
            QVERIFY(p);
            for (int ply = 0; ply < 80; ++ply) {
                const auto legal = g.LegalMoves();
                if (legal.empty())
                    break;
                const auto [from, to] = legal[random.bounded(int(legal.size()))];
                TSanMove m{from, to, 0};
                if (std::toupper(static_cast<unsigned char>(g.At(from))) == 'P' &&
                    (RankOf(to) == 8 || RankOf(to) == 1))
                    m.Promotion = "QRBN"[random.bounded(4)];
                QVERIFY(ApplyUciMove(scratch, *p, UciText(m)));
                QVERIFY(PlaySanMove(g, m));
                QCOMPARE(p->Placement, g.Position());
                QCOMPARE(p->WhiteToMove, g.WhiteToMove());
                QCOMPARE(p->EnPassant, ToInt(g.EnPassant()));
                QCOMPARE(p->Castling, int(PlayableCastling(g.Position(), g.CastlingAllowed())));
                ++plies;
            }
        }
    }
    QVERIFY(plies > 1000);
}

void TestUci::handshakeAndDepthSearch() {
    TOutput out;
    {
        TUciEngine engine([&out](const std::string& l) { out.Add(l); });
        QVERIFY(engine.Command("uci"));
        QVERIFY(engine.Command("setoption name Depth value 3"));
        QCOMPARE(engine.Depth(), 3);
        QVERIFY(engine.Command("setoption name Depth value 99"));
        QCOMPARE(engine.Depth(), 3);
        // Option names are not case-sensitive, and may hold spaces.
        QVERIFY(engine.Command("setoption name depth value 2"));
        QCOMPARE(engine.Depth(), 2);
        QVERIFY(engine.Command("setoption name MOVE overhead value 120"));
        QCOMPARE(engine.Overhead(), 120);
        QVERIFY(engine.Command("setoption name Move Overhead value 5001"));
        QCOMPARE(engine.Overhead(), 120);
        QVERIFY(engine.Command("setoption name Depth value 3"));
        QVERIFY(engine.Command("isready"));
        QVERIFY(engine.Command("ucinewgame"));
        QVERIFY(engine.Command("position startpos moves e2e4 e7e5 g1f3"));
        QVERIFY(engine.Command("go"));
        QVERIFY(!out.WaitFor("bestmove", 20000).empty());
        QVERIFY(!engine.Command("quit"));
    }
    const std::vector<std::string> lines = out.Copy();
    QCOMPARE(lines[0], std::string("id name Corvina"));
    QCOMPARE(lines[1], std::string("id author the Corvina developers"));
    QVERIFY(lines[2].rfind("option name Depth type spin", 0) == 0);
    QCOMPARE(lines[3],
             std::string("option name Move Overhead type spin default 50 min 0 max 5000"));
    QCOMPARE(lines[4], std::string("uciok"));
    QVERIFY(std::find(lines.begin(), lines.end(), "readyok") != lines.end());
    std::vector<std::string> infos;
    for (const std::string& l : lines)
        if (l.rfind("info depth", 0) == 0)
            infos.push_back(l);
    QCOMPARE(infos.size(), std::size_t(3));
    for (int d = 1; d <= 3; ++d) {
        const std::string& l = infos[std::size_t(d - 1)];
        QVERIFY2(l.rfind("info depth " + std::to_string(d) + " score cp ", 0) == 0, l.c_str());
        QVERIFY2(l.find(" nodes ") != std::string::npos && l.find(" nps ") != std::string::npos &&
                     l.find(" pv ") != std::string::npos,
                 l.c_str());
    }
    QVERIFY(LegalAnswer(lines.back(), {"e2e4", "e7e5", "g1f3"}));
}

void TestUci::stopEndsAnInfiniteSearch() {
    TOutput out;
    TUciEngine engine([&out](const std::string& l) { out.Add(l); });
    QVERIFY(engine.Command("position fen r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R "
                           "w KQkq - 4 4"));
    QVERIFY(engine.Command("go infinite"));
    // Answered while the search runs.
    QVERIFY(engine.Command("isready"));
    QVERIFY(!out.WaitFor("readyok", 30000).empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    QVERIFY(out.WaitFor("bestmove", 0).empty());
    const auto before = std::chrono::steady_clock::now();
    QVERIFY(engine.Command("stop"));
    const auto took = std::chrono::steady_clock::now() - before;
    const std::string best = out.WaitFor("bestmove", 0);
    QVERIFY2(!best.empty(), "stop returns once the best move is out");
    QVERIFY(took < std::chrono::seconds(10));
    TChessGame g;
    QVERIFY(LoadFen(g, "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4"));
    const std::string m = best.substr(9);
    QVERIFY(!MoveToSan(g, {ParseSquare(m.substr(0, 2)), ParseSquare(m.substr(2, 2)), 0}).empty());
    // A stop with no search is harmless.
    QVERIFY(engine.Command("stop"));
}

void TestUci::timedSearchAnswersInTime() {
    TOutput out;
    TUciEngine engine([&out](const std::string& l) { out.Add(l); });
    QVERIFY(engine.Command("position startpos"));
    QVERIFY(engine.Command("go wtime 2000 btime 2000"));
    QVERIFY(!out.WaitFor("bestmove", 10000).empty());
    QVERIFY(LegalAnswer(out.WaitFor("bestmove", 0), {}));
    // With no time at all, still a legal move.
    QVERIFY(engine.Command("position startpos moves d2d4"));
    QVERIFY(engine.Command("go movetime 0"));
    engine.WaitForSearch();
    std::vector<std::string> lines = out.Copy();
    QVERIFY(LegalAnswer(lines.back(), {"d2d4"}));

    // Under a clock the search goes on past the depths a person may choose, while time lasts.
    out.Clear();
    QVERIFY(engine.Command("position fen 7k/8/8/8/8/8/8/K7 w - - 0 1"));
    QVERIFY(engine.Command("go movetime 1500"));
    engine.WaitForSearch();
    int deepest = 0;
    for (const std::string& l : out.Copy())
        if (l.rfind("info depth ", 0) == 0)
            deepest = std::max(deepest, std::atoi(l.c_str() + 11));
    QVERIFY2(deepest > TChessEngine::MaxSearchDepth, qPrintable(QString::number(deepest)));

    // With no legal move, after a search of another position: the null move, scored as mated
    // or as a draw, never the earlier position's move.
    for (const char* go : {"go depth 3", "go wtime 1000 btime 1000", "go infinite"}) {
        for (const auto& [fen, score] : {std::pair{"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "mate 0"},
                                         {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "cp 0"}}) {
            out.Clear();
            QVERIFY(engine.Command("position startpos"));
            QVERIFY(engine.Command("go depth 3"));
            engine.WaitForSearch();
            QVERIFY(engine.Command(std::string("position fen ") + fen));
            QVERIFY(engine.Command(go));
            engine.WaitForSearch();
            lines = out.Copy();
            QCOMPARE(lines.back(), std::string("bestmove 0000"));
            QCOMPARE(lines[lines.size() - 2], "info depth 0 score " + std::string(score));
        }
    }
}

// A whole game, corvina-uci at depth 3 against stockfish at its weakest, every move checked
// by the board's rules; it ends in mate, a draw the rules know, or at the move limit.
void TestUci::wholeGameAgainstStockfish() {
    if (!QFileInfo::exists(Stockfish))
        QSKIP("stockfish is not installed");
    const TMatchPlayer corvina{CORVINA_UCI_PATH, {}, "go depth 3"};
    const TMatchPlayer stockfish{
        Stockfish,
        {"setoption name Skill Level value 0", "setoption name Threads value 1"},
        "go depth 1"};
    for (bool corvinaWhite : {true, false}) {
        const TMatchResult r =
            corvinaWhite ? PlayMatch(corvina, stockfish, 300) : PlayMatch(stockfish, corvina, 300);
        QVERIFY2(r.Error.isEmpty(),
                 qPrintable(r.Error + "\n" + r.Log.mid(r.Log.size() - 20).join('\n')));
        QVERIFY(r.Moves.size() > 10);
        QCOMPARE(QString::fromStdString(GameResult(r.Game)), r.Result);
        if (r.Moves.size() < 300)
            QVERIFY2(r.Result != "*", qPrintable(r.Moves.join(' ')));
        qInfo("corvina %s: %s after %lld half-moves", corvinaWhite ? "white" : "black",
              qPrintable(r.Result), static_cast<long long>(r.Moves.size()));
    }
}

QTEST_GUILESS_MAIN(TestUci)
#include "tst_uci.moc"
