// SPDX-License-Identifier: GPL-3.0-or-later
// Position string, history slots, navigation, move list and repetition.
#include "chess/MoveListReplay.h"
#include "tests/board/EventLog.h"

#include <QtTest>
#include <random>
#include <set>

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void squareHelpers();
    void settingPosition_data();
    void settingPosition();
    void positionKeepsTheRest();
    void freshGameHasNoLine();
    void navigation();
    void newMoveCutsTheLine();
    void goToPositionBounds();
    void threefoldByPlacementAlone();
    void blackStartsTheGame();
    void moveListReplays_data();
    void moveListReplays();
    void longGameBeyond256Moves();
    void copyIsIndependent();
    void fenRoundTrip();
    void fenRejects_data();
    void fenRejects();
};

void TestHistory::squareHelpers() {
    QCOMPARE(FileOf(Square::A8), 1);
    QCOMPARE(RankOf(Square::A8), 8);
    QCOMPARE(FileOf(Square::H1), 8);
    QCOMPARE(RankOf(Square::H1), 1);
    QCOMPARE(SquareAt(5, 2), Square::E2);
    QCOMPARE(SquareAt(0, 2), Square::None);
    QCOMPARE(SquareAt(1, 9), Square::None);
    QVERIFY(IsLightSquare(Square::A8));
    QVERIFY(IsLightSquare(Square::H1));
    QVERIFY(!IsLightSquare(Square::A1));
    QVERIFY(!IsLightSquare(Square::H8));
    QCOMPARE(SquareName(Square::E2), std::string("E2"));
    QCOMPARE(ParseSquare("e2"), Square::E2);
    QCOMPARE(ParseSquare("i2"), Square::None);
    TChessGame g;
    QCOMPARE(g.ColourAt(Square::A8), PieceColour::Black);
    QCOMPARE(g.ColourAt(Square::E1), PieceColour::White);
    QCOMPARE(g.ColourAt(Square::E4), PieceColour::Empty);
    QCOMPARE(g.ColourAt(Square::None), PieceColour::Empty);
}

void TestHistory::settingPosition_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray start = StartPosition;
    QTest::newRow("empty text") << QByteArray() << QByteArray(64, ' ');
    QTest::newRow("NewGame") << QByteArray("NewGame") << start;
    QTest::newRow("INIT") << QByteArray("INIT") << start;
    QTest::newRow("init and a blank") << QByteArray("init ") << (" n" + QByteArray(62, ' '));
    QTest::newRow("seventy characters") << (start + "PPPPPP") << start;
    QTest::newRow("bad letters empty their squares")
        << QByteArray("rxbqkbnr1ppppppp") << ("r bqkbnr ppppppp" + QByteArray(48, ' '));
    QTest::newRow("NUL ends the text") << QByteArray("rn\0bq", 5) << ("rn" + QByteArray(62, ' '));
}

void TestHistory::settingPosition() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    TChessGame g;
    g.SetPosition(text.toStdString());
    QCOMPARE(QByteArray::fromStdString(g.Position()), expected);
    QCOMPARE(g.Position().size(), std::size_t(64));
}

void TestHistory::positionKeepsTheRest() {
    TChessGame g;
    QVERIFY(Play(g, {"e2e4", "e7e5", "g1f3"}));
    g.SetPosition("4k3" + std::string(56, ' ') + "4K3");
    QVERIFY(!g.WhiteToMove());
    QCOMPARE(g.CurrentMove(), 2);
    QCOMPARE(g.CastlingAllowed(), CastleSet(AllCastling));
    std::vector<std::string> list;
    g.GetMoveList(list);
    QCOMPARE(list.size(), std::size_t(3));
}

void TestHistory::freshGameHasNoLine() {
    TChessGame g;
    QVERIFY(Play(g, {"e2e4", "e7e5"}));
    g.ResetGame();
    QVERIFY(!g.PreviousMove());
    QVERIFY(!g.NextMove());
    std::vector<std::string> list;
    g.GetMoveList(list);
    QVERIFY(list.empty());
    QCOMPARE(g.Position(), std::string(StartPosition));
    QCOMPARE(g.EnPassant(), Square::None);
}

void TestHistory::navigation() {
    TChessGame g;
    QVERIFY(Play(g, {"e2e4", "e7e5"}));
    std::vector<std::string> list;
    g.GetMoveList(list);
    QCOMPARE(list, (std::vector<std::string>{"1. E2-E4", "              E7-E5"}));
    QVERIFY(g.PreviousMove());
    QVERIFY(g.PreviousMove());
    QCOMPARE(g.Position(), std::string(StartPosition));
    QVERIFY(g.WhiteToMove());
    QCOMPARE(g.CurrentMove(), 1);
    QVERIFY(!g.PreviousMove());
    QVERIFY(g.NextMove());
    QVERIFY(!g.WhiteToMove());
    QCOMPARE(g.At(Square::E4), 'P');
    QCOMPARE(g.At(Square::E7), 'p');
    QCOMPARE(g.EnPassant(), Square::E3); // restored with the slot
    QVERIFY(g.NextMove());
    QVERIFY(!g.NextMove());
    QCOMPARE(g.CurrentMove(), 2);
}

void TestHistory::newMoveCutsTheLine() {
    TChessGame g;
    QVERIFY(Play(g, {"e2e4", "e7e5", "g1f3"}));
    QVERIFY(g.PreviousMove());
    QVERIFY(g.PreviousMove());
    QVERIFY(Play(g, {"c7c5"}));
    QVERIFY(!g.NextMove());
    std::vector<std::string> list;
    g.GetMoveList(list);
    QCOMPARE(list, (std::vector<std::string>{"1. E2-E4", "              C7-C5"}));
}

void TestHistory::goToPositionBounds() {
    TChessGame g;
    QVERIFY(Play(g, {"e2e4", "e7e5"}));
    QVERIFY(!g.GoToPosition(3, true));  // beyond the line
    QVERIFY(!g.GoToPosition(2, false)); // black's second half-move is not made yet
    QVERIFY(!g.GoToPosition(0, true));
    QCOMPARE(g.At(Square::E5), 'p'); // refusals change nothing
    QVERIFY(g.GoToPosition(1, false));
    QCOMPARE(g.At(Square::E7), 'p');
    QCOMPARE(g.At(Square::E4), 'P');
    QVERIFY(g.GoToPosition(2, true));
    QCOMPARE(g.At(Square::E5), 'p');
}

void TestHistory::threefoldByPlacementAlone() {
    // The same placement with different sides to move still counts.
    TChessGame g = FromFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
    QVERIFY(Play(g, {"a1a2", "e8d8", "a2a1", "d8e8"}));
    QVERIFY(!g.IsThreefold());
    QVERIFY(Play(g, {"e1d1", "e8d8", "d1e1"})); // Ra1/Ke1/Kd8 now after black's and white's moves
    QVERIFY(!g.IsThreefold());
    QVERIFY(Play(g, {"d8e8"}));
    QVERIFY(g.IsThreefold()); // R a1, K e1, k e8: slots (1,w), (3,w), (5,w)
}

void TestHistory::blackStartsTheGame() {
    TChessGame g;
    g.ResetGame();
    g.SetWhiteToMove(false);
    QVERIFY(Play(g, {"e7e5", "e2e4"}));
    std::vector<std::string> list;
    g.GetMoveList(list);
    QCOMPARE(list, (std::vector<std::string>{"1. ...   ", "              E7-E5", "2. E2-E4"}));
    QVERIFY(!g.GoToPosition(1, true)); // never played
    QVERIFY(g.GoToPosition(1, false));
    QCOMPARE(g.Position(), std::string(StartPosition));
    QVERIFY(!g.PreviousMove());
    QVERIFY(!g.IsThreefold());
    // Line k of the list is still the half-move whose position is GoToPosition((k+1)/2+1, odd).
    QVERIFY(g.GoToPosition((1 + 1) / 2 + 1, true));
    QCOMPARE(g.At(Square::E5), 'p');
    QCOMPARE(g.At(Square::E2), 'P');
    // The start placement is counted once, not twice through the unplayed white slot.
    TChessGame h;
    h.SetWhiteToMove(false);
    QVERIFY(Play(h, {"g8f6", "g1f3", "f6g8", "f3g1", "g8f6", "g1f3", "f6g8"}));
    QVERIFY(!h.IsThreefold());
    QVERIFY(Play(h, {"f3g1"}));
    QVERIFY(h.IsThreefold());
}

// A played game's move list, read back against its last placement, gives the same game; the
// piece a promotion made is found from the placement and the moves that follow.
void TestHistory::moveListReplays_data() {
    QTest::addColumn<bool>("blackFirst");
    QTest::addColumn<QStringList>("moves");
    const QStringList toPromotion = {"a2a4", "b7b5", "a4b5", "c8b7",
                                     "b5b6", "b8c6", "b6a7", "a8b8"};
    QTest::newRow("no moves") << false << QStringList();
    QTest::newRow("opening") << false << QStringList{"e2e4", "e7e5", "g1f3"};
    QTest::newRow("black first") << true << QStringList{"e7e5", "d2d4", "e5d4"};
    QTest::newRow("queen") << false << toPromotion + QStringList{"a7a8q"};
    QTest::newRow("rook, by the placement") << false << toPromotion + QStringList{"a7a8r"};
    QTest::newRow("knight, by its next move")
        << false << toPromotion + QStringList{"a7a8n", "e7e6", "a8c7"};
}

void TestHistory::moveListReplays() {
    QFETCH(bool, blackFirst);
    QFETCH(QStringList, moves);
    TChessGame g;
    g.SetWhiteToMove(!blackFirst);
    std::vector<TSanMove> played;
    for (const QString& m : moves) {
        const std::string s = m.toStdString();
        const TSanMove move{ParseSquare(s.substr(0, 2)), ParseSquare(s.substr(2, 2)),
                            s.size() > 4 ? static_cast<char>(std::toupper(s[4])) : char(0)};
        QVERIFY2(PlaySanMove(g, move), s.c_str());
        played.push_back(move);
    }
    std::vector<std::string> list;
    g.GetMoveList(list);
    const auto game = ReplayMoveList(list, g.Position());
    QVERIFY(game);
    QCOMPARE(game->Start.WhiteToMove(), !blackFirst);
    QCOMPARE(game->Moves.size(), played.size());
    for (std::size_t i = 0; i < played.size(); ++i)
        QVERIFY2(game->Moves[i] == played[i], qPrintable(moves[int(i)]));
    QCOMPARE(WhiteToMoveAfter(list), list.empty() ? std::nullopt : std::optional(g.WhiteToMove()));

    // Another placement, a line out of turn or of another shape: no game.
    std::string other = g.Position();
    std::swap(other[4], other[60]); // the kings change places
    QVERIFY(!ReplayMoveList(list, other));
    if (list.size() < 2)
        return;
    auto swapped = list;
    std::swap(swapped[swapped.size() - 1], swapped[swapped.size() - 2]);
    QVERIFY(!ReplayMoveList(swapped, g.Position()));
    auto garbled = list;
    garbled.back() += "x";
    QVERIFY(!ReplayMoveList(garbled, g.Position()));
    QCOMPARE(WhiteToMoveAfter(garbled), std::nullopt);
}

void TestHistory::longGameBeyond256Moves() {
    // A random game without repeated placements, far past move 256.
    std::mt19937 rng(7);
    TChessGame g;
    std::set<std::string> seen{g.Position()};
    std::vector<std::string> positions{g.Position()};
    while (positions.size() < 601) {
        auto moves = g.LegalMoves();
        std::shuffle(moves.begin(), moves.end(), rng);
        std::stable_sort(moves.begin(), moves.end(), [&](const auto& a, const auto& b) {
            return (g.At(a.second) != ' ') < (g.At(b.second) != ' ');
        });
        bool played = false;
        for (const auto& [from, to] : moves) {
            TChessGame trial = g.Detached();
            trial.MakeMove(from, to);
            if (seen.count(trial.Position()) || !trial.CanMove())
                continue;
            QVERIFY(g.MakeMove(from, to));
            seen.insert(g.Position());
            positions.push_back(g.Position());
            played = true;
            break;
        }
        QVERIFY2(played, "the random game got stuck");
    }
    QCOMPARE(g.CurrentMove(), 301);
    std::vector<std::string> list;
    g.GetMoveList(list);
    QCOMPARE(list.size(), std::size_t(600));
    QVERIFY(QString::fromStdString(list[598]).startsWith("300. "));
    for (int n : {1, 200, 257, 300}) {
        QVERIFY(g.GoToPosition(n, true));
        QCOMPARE(g.Position(), positions[static_cast<std::size_t>(2 * (n - 1))]);
        QVERIFY(g.GoToPosition(n, false));
        QCOMPARE(g.Position(), positions[static_cast<std::size_t>(2 * (n - 1) + 1)]);
    }
    QVERIFY(g.GoToPosition(301, true));
    QCOMPARE(g.Position(), positions.back());
}

void TestHistory::copyIsIndependent() {
    TChessGame g;
    int raised = 0;
    g.OnLegalMove = [&raised](TObject*, Square, Square) { ++raised; };
    TChessGame copy = g.Detached();
    QVERIFY(Play(copy, {"e2e4"}));
    QCOMPARE(raised, 0);
    QCOMPARE(g.Position(), std::string(StartPosition));
    QVERIFY(Play(g, {"d2d4"}));
    QCOMPARE(raised, 1);
    QCOMPARE(copy.At(Square::D4), ' ');
    // A plain copy is just as bare; assigning a game takes its state and keeps the target's
    // own handlers.
    TChessGame plain = g;
    QVERIFY(!plain.OnLegalMove);
    TChessGame target;
    int targetRaised = 0;
    target.OnLegalMove = [&targetRaised](TObject*, Square, Square) { ++targetRaised; };
    target = g;
    QCOMPARE(target.Position(), g.Position());
    QCOMPARE(target.CurrentMove(), g.CurrentMove());
    QVERIFY(Play(target, {"d7d5"}));
    QCOMPARE(targetRaised, 1);
    QCOMPARE(raised, 1);
    std::vector<std::string> list;
    target.GetMoveList(list);
    QCOMPARE(list.size(), std::size_t(2));
}

void TestHistory::fenRoundTrip() {
    const std::string fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b Kq e3 0 1";
    TChessGame g;
    QVERIFY(LoadFen(g, fen));
    QCOMPARE(ToFen(g), fen);
    QVERIFY(!g.WhiteToMove());
    QCOMPARE(g.CastlingAllowed(), CastleSet(WhiteKingSide | BlackQueenSide));
    QCOMPARE(g.EnPassant(), Square::E3);
}

void TestHistory::fenRejects_data() {
    QTest::addColumn<QString>("fen");
    QTest::newRow("too few ranks") << "8/8/8/8/8/8/8 w - - 0 1";
    QTest::newRow("rank too long") << "9/8/8/8/8/8/8/8 w - - 0 1";
    QTest::newRow("bad letter") << "rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    QTest::newRow("bad side") << "8/8/8/8/8/8/8/8 x - - 0 1";
    QTest::newRow("bad castling") << "8/8/8/8/8/8/8/8 w KX - 0 1";
    QTest::newRow("en passant on rank 4") << "8/8/8/8/8/8/8/8 w - e4 0 1";
    QTest::newRow("empty") << "";
}

void TestHistory::fenRejects() {
    QFETCH(QString, fen);
    TChessGame g;
    QVERIFY(Play(g, {"e2e4"}));
    std::string error;
    QVERIFY(!LoadFen(g, fen.toStdString(), &error));
    QVERIFY(!error.empty());
    QCOMPARE(g.At(Square::E4), 'P'); // unchanged
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
