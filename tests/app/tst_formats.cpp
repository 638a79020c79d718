// SPDX-License-Identifier: GPL-3.0-or-later
// The program's text formats and panel figures, read and written by pure functions: each case
// a row of text in, value out.
#include "chess/ChessGame.h"
#include "formats/ChallengeList.h"
#include "formats/GameText.h"
#include "formats/LayoutFile.h"
#include "formats/Points.h"
#include "formats/Profile.h"
#include "formats/SavedGame.h"

#include <QtTest>

#include <random>

using Counts = std::array<int, 5>;
Q_DECLARE_METATYPE(Counts)

namespace {

std::string Placement(const char* text) {
    std::string s(text);
    s.resize(64, ' ');
    return s;
}

} // namespace

class TestFormats : public QObject {
    Q_OBJECT
private slots:
    void points_data();
    void points();
    void tallies_data();
    void tallies();
    void talliesCountCapturesInRandomGames();
    void profile_data();
    void profile();
    void profileRoundTrip();
    void savedGame_data();
    void savedGame();
    void challengeLines_data();
    void challengeLines();
    void challengeListBounds();
    void layout_data();
    void layout();
};

void TestFormats::points_data() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("text");
    QTest::newRow("start, White") << StartPosition << 1 << " 42.0";
    QTest::newRow("start, Black") << StartPosition << 0 << " 42.0";
    QTest::newRow("bare kings") << QString::fromStdString(Placement("k") + "") << 0 << "  0.0";
    // Two white queens and seven pawns: a pawn became a queen.
    QTest::newRow("promoted queen")
        << QString("rnbqkbnrpppppppp                                QPPPPPPPRNBQKBNR") << 1
        << " 50.9";
    QTest::newRow("knight missing")
        << QString("r bqkbnrpppppppp                                PPPPPPPPRNBQKBNR") << 0
        << " 39.0";
}

void TestFormats::points() {
    QFETCH(QString, position);
    QFETCH(int, side);
    QFETCH(QString, text);
    QCOMPARE(PointsText(CountPoints(position.toStdString(), side)), text);
}

void TestFormats::tallies_data() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<int>("side");
    QTest::addColumn<Counts>("counts");
    QTest::newRow("start") << QString(StartPosition) << 1 << Counts{0, 0, 0, 0, 0};
    QTest::newRow("bare black king")
        << QString::fromStdString(Placement("k") + "") << 0 << Counts{8, 2, 2, 2, 1};
    QTest::newRow("black knight taken")
        << QString("r bqkbnrpppppppp                                PPPPPPPPRNBQKBNR") << 0
        << Counts{0, 0, 1, 0, 0};
    // A pawn that became a second queen is no missing pawn.
    QTest::newRow("promotion")
        << QString("rnbqkbnrpppppppp                                QPPPPPPPRNBQKBNR") << 1
        << Counts{0, 0, 0, 0, 0};
    // The promoted queen taken again: one pawn is gone for good.
    QTest::newRow("promoted piece taken")
        << QString("rnbqkbnrpppppppp                                 PPPPPPPRNBQKBNR") << 1
        << Counts{1, 0, 0, 0, 0};
    // Three knights from an under-promotion, and a rook lost: the extra knight covers a pawn.
    QTest::newRow("under-promotion")
        << QString("rnbqkbnrpppppppp                                 PPPPPPPRNBQKBNN") << 1
        << Counts{0, 0, 0, 1, 0};
}

void TestFormats::tallies() {
    QFETCH(QString, position);
    QFETCH(int, side);
    QFETCH(Counts, counts);
    QCOMPARE(TallyCounts(position.toStdString(), side), counts);
    const QStringList texts = TallyTexts(counts);
    QCOMPARE(texts.size(), 5);
    QCOMPARE(texts[2], QString("%1 Knights").arg(counts[2]));
    // A language's words: the count before the word, or where the word puts "%1".
    const QStringList translated =
        TallyTexts(counts, {"Bauern", "Läufer: %1", "%1%", "", "Ферзи: %1"});
    QCOMPARE(translated,
             (QStringList{QString("%1 Bauern").arg(counts[0]), QString("Läufer: %1").arg(counts[1]),
                          QString("%1%").arg(counts[2]), QString("%1 ").arg(counts[3]),
                          QString("Ферзи: %1").arg(counts[4])}));
}

// In a game without promotions the tally read off the position equals the captures counted
// one by one as the game's capture events report them.
void TestFormats::talliesCountCapturesInRandomGames() {
    std::mt19937 random(20261208);
    int games = 0, captures = 0;
    for (int g = 0; g < 60; ++g) {
        TChessGame game;
        game.ResetGame();
        Counts counted[2] = {};
        bool promoted = false;
        game.OnCapture = [&](TObject*, Square, Square, char piece) {
            const int kind = QString("pbnrq").indexOf(QChar(piece).toLower());
            if (kind >= 0)
                ++counted[QChar(piece).isUpper() ? 1 : 0][static_cast<std::size_t>(kind)];
        };
        game.OnPromotion = [&](TObject*, Square, Square, char&) { promoted = true; };
        for (int ply = 0; ply < 160 && !promoted; ++ply) {
            const auto moves = game.LegalMoves();
            if (moves.empty())
                break;
            const auto& [from, to] = moves[random() % moves.size()];
            QVERIFY(game.MakeMove(from, to));
            if (promoted)
                break;
            for (int side : {0, 1}) {
                QCOMPARE(TallyCounts(game.Position(), side), counted[side]);
            }
        }
        captures += std::accumulate(counted[0].begin(), counted[0].end(), 0) +
                    std::accumulate(counted[1].begin(), counted[1].end(), 0);
        ++games;
    }
    QVERIFY2(captures > 200,
             qPrintable(QString("only %1 captures in %2 games").arg(captures).arg(games)));
}

void TestFormats::profile_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("bad");
    QTest::addColumn<QString>("error");
    const QStringList ok = {"clMaroon", "$00030201", "4", "3",  "Merlot.bmp",
                            "2",        "1",         "0", "-1", "1"};
    QTest::newRow("complete") << ok << QList<int>{} << "";
    QStringList badDepth = ok;
    badDepth[2] = "deep";
    QTest::newRow("line 3 no number")
        << badDepth << QList<int>{3} << "line 3: \"deep\" is not a valid";
    QTest::newRow("four lines") << ok.mid(0, 4) << QList<int>{5, 6, 7, 8, 9, 10}
                                << "lines 5 to 10: missing";
    QTest::newRow("nine lines") << ok.mid(0, 9) << QList<int>{10} << "line 10: missing";
    QStringList badColour = ok;
    badColour[1] = "clNoSuchColour";
    QTest::newRow("no colour") << badColour << QList<int>{2}
                               << "line 2: \"clNoSuchColour\" is not a colour";
    QStringList badFlag = ok;
    badFlag[9] = "yes";
    QTest::newRow("line 10 no number") << badFlag << QList<int>{10} << "line 10";
    // An empty piece-set line is what a profile saved with no set chosen used to hold.
    QStringList noSet = badDepth;
    noSet[4] = "";
    QTest::newRow("no piece set and a bad depth")
        << noSet << QList<int>{3, 5}
        << "line 3: \"deep\" is not a valid integer value.\n"
           "Settings profile \"Mine\", line 5: names no piece set.";
    QTest::newRow("empty file") << QStringList() << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
                                << "lines 1 to 10: missing";
}

// Each line is read on its own: a bad one spoils only its own field, and every bad line is
// named once.
void TestFormats::profile() {
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, bad);
    QFETCH(QString, error);
    const TProfileRead read = ParseProfile(lines, "Mine");
    QCOMPARE(read.BadLines, bad);
    QCOMPARE(read.Error.isEmpty(), error.isEmpty());
    QVERIFY2(read.Error.contains(error), qPrintable(read.Error));
    if (!error.isEmpty()) {
        QVERIFY(read.Error.startsWith("Settings profile \"Mine\", "));
        QCOMPARE(read.Error.count("Settings profile"), read.Error.count('\n') + 1);
    }
    if (bad.isEmpty())
        return;
    // The lines that read well still carry their values.
    if (read.Good(1))
        QCOMPARE(read.Value.Dark, QColor(128, 0, 0));
    if (read.Good(7))
        QVERIFY(read.Value.WhiteOnTop);
    if (read.Good(5))
        QCOMPARE(read.Value.PieceSetFile, QString("Merlot.bmp"));
}

void TestFormats::profileRoundTrip() {
    const QStringList lines = {"clMaroon", "$00030201", "4", "9",  "sub/Merlot.bmp",
                               "2",        "1",         "5", "-1", "0"};
    const TProfileRead read = ParseProfile(lines, "x");
    QVERIFY(read.Complete());
    QCOMPARE(read.Value.Dark, QColor(128, 0, 0));
    QCOMPARE(read.Value.Light, QColor(1, 2, 3));
    QCOMPARE(read.Value.PriorityCode, 9); // kept; applying it leaves the priority alone
    QVERIFY(!read.Value.BoardLines);      // only 1 means on
    QVERIFY(read.Value.WhiteOnTop);
    QCOMPARE(BuildProfile(read.Value), (QStringList{"clMaroon", "$00030201", "4", "9", "Merlot.bmp",
                                                    "0", "1", "5", "-1", "0"}));
}

void TestFormats::savedGame_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("accepted");
    const QString start = StartPosition;
    QTest::newRow("five lines") << QStringList{start, "A", "B", "false", "true"} << true;
    QTest::newRow("with moves") << QStringList{"1. E2-E4", start, "A", "B", "x", "y"} << true;
    QTest::newRow("four lines") << QStringList{start, "A", "B", "true"} << false;
    QTest::newRow("html page") << QStringList{"<!DOCTYPE html>", "<html>", "<body>hello</body>",
                                              "</html>",         "",       ""}
                               << false;
    QTest::newRow("png bytes") << QStringList{QString::fromLatin1("\x89PNG"), "\x1a", "IHDR", "x",
                                              "y"}
                               << false;
    QTest::newRow("no black king")
        << QStringList{QString(start).replace('k', ' '), "A", "B", "true", "true"} << false;
    QTest::newRow("two white kings")
        << QStringList{QString(start).replace('Q', 'K'), "A", "B", "true", "true"} << false;
    QTest::newRow("63 squares") << QStringList{start.left(63), "A", "B", "true", "true"} << false;
    QTest::newRow("a non-letter square")
        << QStringList{QString(start).replace(20, 1, QChar(0x00E9)), "A", "B", "true", "true"}
        << false;
}

void TestFormats::savedGame() {
    QFETCH(QStringList, lines);
    QFETCH(bool, accepted);
    QString error;
    const auto game = ParseSavedGame(lines, "/tmp/some game.cvg", &error);
    QCOMPARE(game.has_value(), accepted);
    if (!accepted) {
        QVERIFY2(error.contains("some game.cvg"), qPrintable(error));
        return;
    }
    const qsizetype n = lines.size();
    QCOMPARE(game->MoveList, lines.mid(0, n - 5));
    QCOMPARE(game->Player2, lines[n - 3]);
    QCOMPARE(BuildSavedGame(game->MoveList, game->Position, game->Player1, game->Player2,
                            game->ComputerWhite.value_or(false),
                            game->ComputerBlack.value_or(false))
                 .mid(0, n - 2),
             lines.mid(0, n - 2));
    // Flags change their setting only when they read exactly "true" or "false".
    QCOMPARE(game->ComputerWhite.has_value(), lines[n - 2] == "true" || lines[n - 2] == "false");
}

void TestFormats::challengeLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("description");
    const QString pos = "    k                                                       K   ";
    QTest::newRow("plain") << "{" + pos + ",0,Mate in 1,1}" << true << "Mate in 1";
    QTest::newRow("text around") << "before {" + pos + ", 1,Black: mate,0} after" << true
                                 << "Black: mate";
    QTest::newRow("three fields") << "{" + pos + ",0,Mate}" << false << "";
    QTest::newRow("flag no number") << "{" + pos + ",x,Mate,1}" << false << "";
    QTest::newRow("close before open") << "}" + pos + ",0,Mate,1{" << false << "";
    QTest::newRow("no braces") << pos + ",0,Mate,1" << false << "";
}

void TestFormats::challengeLines() {
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    QFETCH(QString, description);
    const auto c = ParseChallengeLine(line);
    QCOMPARE(c.has_value(), accepted);
    if (accepted) {
        QCOMPARE(c->Description, description);
        QCOMPARE(c->Position.size(), std::size_t(64));
        QCOMPARE(c->Position[4], 'k');
        QCOMPARE(c->Position[60], 'K');
    }
}

void TestFormats::challengeListBounds() {
    // One character outside ASCII takes one square, so the squares after it stay in place.
    QString odd = "    k                                                       K   ";
    odd[0] = QChar(0x2654);
    const auto c = ParseChallengeLine("{" + odd + ",0,x,1}");
    QVERIFY(c);
    QCOMPARE(c->Position.size(), std::size_t(64));
    QCOMPARE(c->Position[0], ' ');
    QCOMPARE(c->Position[60], 'K');

    QStringList lines;
    for (int i = 0; i < 23; ++i)
        lines << QString("{%1,0,Number %2,1}").arg(QString(StartPosition)).arg(i + 1);
    lines.insert(3, "not a challenge");
    lines.insert(5, "   ");
    const TChallengeList list = ParseChallengeList(lines);
    QCOMPARE(list.Count, TChallengeList::Capacity);
    QCOMPARE(list.Table[3].Description, QString("Number 4"));
    QCOMPARE(list.Skipped.size(), 3);
    QCOMPARE(list.Skipped[0], QString("line 4 is not a challenge"));
    QVERIFY(list.Skipped[1].startsWith("line 24 is past the 21"));
    QCOMPARE(BreakString("[", "]", "a[1;2;]b", ";"), (QStringList{"1", "2", ""}));
}

void TestFormats::layout_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("placed");
    QTest::addColumn<int>("turn"); // -1: no side
    const QString pos = QString(StartPosition) + ";";
    QTest::newRow("white") << QStringList{pos, "0"} << true << 0;
    QTest::newRow("black") << QStringList{pos, "1"} << true << 1;
    QTest::newRow("turn 7") << QStringList{pos, "7"} << true << -1;
    QTest::newRow("turn -1") << QStringList{pos, "-1"} << true << -1;
    QTest::newRow("turn text") << QStringList{pos, "Black"} << true << -1;
    QTest::newRow("no line 2") << QStringList{pos} << true << -1;
    QTest::newRow("64 characters") << QStringList{QString(StartPosition), "0"} << false << -1;
    QTest::newRow("empty") << QStringList() << false << -1;
}

void TestFormats::layout() {
    QFETCH(QStringList, lines);
    QFETCH(bool, placed);
    QFETCH(int, turn);
    QString error;
    const auto layout = ParseLayout(lines, "/tmp/a.cvl", &error);
    QCOMPARE(layout.has_value(), placed);
    if (!placed) {
        QCOMPARE(error, QString("Invalid layout file."));
        return;
    }
    QCOMPARE(layout->Position, std::string(StartPosition));
    QCOMPARE(layout->Turn.value_or(-1), turn);
    QCOMPARE(error.isEmpty(), turn >= 0);
    if (turn >= 0)
        QCOMPARE(BuildLayout(layout->Position, turn), lines);
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
