// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped challenge list: every line a legal position whose stated goal is true. A
// "mate in N" is proved twice: by the exact forced-mate search over the engine's move
// generation (mate in N and none in N - 1), and by the engine's own search, which must
// report that mate's score at the depth it needs. For short mates the rules of the game
// confirm the key move on their own, so the two move generators are checked against each
// other on exactly these positions.
#include "chess/ChessGame.h"
#include "engine/ChessEngine.h"
#include "tools/mate/MateSearch.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

namespace {

constexpr int ChallengeCount = 21;

QByteArray ReadDataFile(const char* name) {
    QFile file(QStringLiteral(CORVINA_DATA_DIR "/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", name);
    return file.readAll();
}

// Lines of a CR LF file; a bare LF anywhere leaves a CR-less line, which the caller rejects.
QList<QByteArray> CrLfLines(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The fields between the first "{" and the first "}", split at every ",".
QList<QByteArray> ChallengeFields(const QByteArray& line) {
    const qsizetype open = line.indexOf('{');
    const qsizetype close = line.indexOf('}');
    if (open < 0 || close < open)
        return {};
    return line.mid(open + 1, close - open - 1).split(',');
}

// A decimal integer, leading spaces allowed.
bool ReadDecimal(const QByteArray& field, int& value) {
    static const QRegularExpression decimal(QStringLiteral("^ *-?[0-9]+$"));
    if (!decimal.match(QString::fromLatin1(field)).hasMatch())
        return false;
    value = field.trimmed().toInt();
    return true;
}

// The rules' own forced-mate check, for short mates: every legal move of the rules, with
// each promotion piece for a pawn reaching the last rank; mate is what the game reports.
bool RulesDefenderLoses(const TChessGame& game, int moves, bool mated);

template <typename Visit> bool AnyRulesMove(const TChessGame& game, Visit visit) {
    for (const auto& [from, to] : game.LegalMoves()) {
        const char piece = game.At(from);
        const bool promotes =
            (piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1);
        for (char promotion : std::string(promotes ? "qrbn" : "q")) {
            TChessGame after = game.Detached();
            bool mated = false;
            after.OnMate = [&mated](TObject*, Square, Square) { mated = true; };
            after.SetPromotionPiece(promotion);
            if (!after.MakeMove(from, to))
                qFatal("the rules refused a move they listed as legal");
            if (visit(after, mated))
                return true;
        }
    }
    return false;
}

bool RulesMates(const TChessGame& game, int moves) {
    return moves > 0 && AnyRulesMove(game, [moves](const TChessGame& after, bool mated) {
               return RulesDefenderLoses(after, moves - 1, mated);
           });
}

bool RulesDefenderLoses(const TChessGame& game, int moves, bool mated) {
    if (mated)
        return true;
    if (moves == 0 || !game.CanMove())
        return false;
    return !AnyRulesMove(
        game, [moves](const TChessGame& after, bool) { return !RulesMates(after, moves); });
}

Square BoardSquare(int engineSquare) {
    return ToSquare(engineSquare + 1);
}

} // namespace

class TestChallenges : public QObject {
    Q_OBJECT
private slots:
    // The game reads at most 21 lines, each ending CR LF; the sources file names each
    // challenge's origin on the line of the same number.
    void filesHaveOneLinePerChallenge() {
        const QByteArray text = ReadDataFile("chlist.dat");
        QVERIFY(text.endsWith("\r\n"));
        const QList<QByteArray> lines = CrLfLines(text);
        QCOMPARE(lines.size(), ChallengeCount);
        for (const QByteArray& line : lines)
            QVERIFY2(line.endsWith('\r'), line.constData());

        const QList<QByteArray> sources = CrLfLines(ReadDataFile("chlist-sources.txt"));
        QCOMPARE(sources.size(), ChallengeCount);
        for (int i = 0; i < ChallengeCount; ++i) {
            const QByteArray number = QByteArray::number(i + 1) + ' ';
            QVERIFY2(sources[i].startsWith(number) && sources[i].trimmed().size() > number.size(),
                     sources[i].constData());
        }
    }

    // Rising difficulty: no mate is shorter than the one before it.
    void matesGrowLonger() {
        static const QRegularExpression mate(QStringLiteral("mate in ([0-9]+)$"));
        int previous = 0;
        for (const QByteArray& line : CrLfLines(ReadDataFile("chlist.dat"))) {
            const QList<QByteArray> fields = ChallengeFields(line.trimmed());
            QVERIFY(fields.size() >= 4);
            const auto match = mate.match(QString::fromLatin1(fields[2]));
            if (!match.hasMatch())
                continue;
            const int moves = match.captured(1).toInt();
            QVERIFY2(moves >= previous, fields[2].constData());
            previous = moves;
        }
    }

    void challenge_data() {
        QTest::addColumn<QByteArray>("line");
        const QList<QByteArray> lines = CrLfLines(ReadDataFile("chlist.dat"));
        for (int i = 0; i < lines.size(); ++i)
            QTest::addRow("%02d", i + 1) << lines[i].trimmed();
    }

    void challenge() {
        QFETCH(QByteArray, line);
        const QList<QByteArray> fields = ChallengeFields(line);
        QVERIFY2(fields.size() >= 4, "fewer than four fields between { and }");

        // The position string: 64 squares, a8 first, of piece letters and spaces only.
        const std::string position = fields[0].toStdString();
        QCOMPARE(position.size(), std::size_t(64));
        QVERIFY(position.find_first_not_of(" PNBRQKpnbrqk") == std::string::npos);
        QCOMPARE(std::count(position.begin(), position.end(), 'K'), 1);
        QCOMPARE(std::count(position.begin(), position.end(), 'k'), 1);
        for (int file = 0; file < 8; ++file) {
            for (int edge : {file, 56 + file})
                QVERIFY2(position[edge] != 'P' && position[edge] != 'p', "pawn on rank 1 or 8");
        }

        int blackToMove = 0;
        int computerBlack = 0;
        QVERIFY(ReadDecimal(fields[1], blackToMove));
        QVERIFY(ReadDecimal(fields[3], computerBlack));
        const bool whiteToMove = blackToMove == 0;
        // The user plays the side to move, the computer the other one.
        QCOMPARE(computerBlack != 0, whiteToMove);

        static const QRegularExpression goal(
            QStringLiteral("^(White|Black) to move: mate in ([1-9])$"));
        const QString description = QString::fromLatin1(fields[2]);
        const auto match = goal.match(description);
        QVERIFY2(match.hasMatch(), qPrintable("goal not checked: " + description));
        QCOMPARE(match.captured(1) == QLatin1String("White"), whiteToMove);
        const int moves = match.captured(2).toInt();

        // Loaded as the game loads a challenge: all four castling rights, kept only where
        // king and rook stand at home; no en passant square.
        const TEnginePosition loaded{position, whiteToMove, AllCastling, 0, 2 * moves - 1};
        auto board = std::make_unique<TEngineBoard>();
        board->LoadPosition(loaded);
        QVERIFY2(!board->SideInCheck(1 - board->SideToMove()), "the side not to move is in check");

        QVERIFY2(!CanForceMate(*board, moves - 1), "a shorter mate exists");
        const std::vector<EngineMove> keys = MatingMoves(*board, moves);
        QVERIFY2(!keys.empty(), "no forced mate");

        // The engine, searching the plies this mate needs, scores it as exactly this mate.
        auto engine = std::make_unique<TChessEngine>();
        const EngineMove best = engine->ComputeMove(loaded);
        QCOMPARE(engine->Score(), TChessEngine::MateScore - (2 * moves - 1));
        QVERIFY2(std::find(keys.begin(), keys.end(), best) != keys.end(), MoveText(best).c_str());

        TChessGame game;
        game.SetPosition(position);
        game.SetWhiteToMove(whiteToMove);
        game.SetCastlingAllowed(AllCastling);
        for (EngineMove key : keys)
            QVERIFY2(game.IsLegalMove(BoardSquare(MoveFrom(key)), BoardSquare(MoveTo(key))),
                     MoveText(key).c_str());
        if (moves <= 2) {
            QVERIFY2(RulesMates(game, moves), "the rules find no mate");
            QVERIFY2(!RulesMates(game, moves - 1), "the rules find a shorter mate");
        }
    }
};

QTEST_GUILESS_MAIN(TestChallenges)
#include "tst_challenges.moc"
