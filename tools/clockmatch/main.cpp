// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-clockmatch: the engine plays itself through the board's own engine hand-over
// under a clock (1+0 unless told otherwise), as a game in the window is played: the board asks
// for the time left before each search, and the clock charges each side the time between the
// half-moves as the user-interface thread sees it. Each game opens with a different pair of
// half-moves. It prints every game's result and the least time a side had left, then the
// score and the losses on time.
#include "board/ChessBrd.h"
#include "chess/GameResult.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

struct TMatchGame {
    TGameResult Result;
    int HalfMoves = 0;
    long long LeastLeft[2] = {0, 0}; // ms, White's and Black's
};

TMatchGame PlayOne(TChessBrd& board, int number, long long baseMs, long long incMs) {
    TMatchGame game;
    board.StartNewGame();
    // A different opening each game: the n-th legal move for White, another for Black.
    for (int ply = 0; ply < 2; ++ply) {
        const auto moves = board.LegalMoves();
        const auto& move = moves[static_cast<std::size_t>((number * (ply ? 7 : 3) + ply) %
                                                          static_cast<int>(moves.size()))];
        board.MakeMove(move.first, move.second);
    }
    long long left[2] = {baseMs, baseMs};
    game.LeastLeft[0] = game.LeastLeft[1] = baseMs;
    QElapsedTimer turn;
    turn.start();
    QEventLoop loop;
    const auto side = [&board] { return board.WhiteToMove() ? 0 : 1; };
    board.EngineClock = [&](int& whiteMs, int& blackMs, int& incrementMs) {
        const long long spent = turn.elapsed();
        whiteMs = static_cast<int>(std::max(0LL, left[0] - (side() == 0 ? spent : 0)));
        blackMs = static_cast<int>(std::max(0LL, left[1] - (side() == 1 ? spent : 0)));
        incrementMs = static_cast<int>(incMs);
        return true;
    };
    int played = board.CurrentMove() * 2 + (board.WhiteToMove() ? 0 : 1);
    board.OnPaint = [&](TObject*) {
        // The board also raises OnPaint when it is drawn whole: only a half-move counts.
        const int now = board.CurrentMove() * 2 + (board.WhiteToMove() ? 0 : 1);
        if (now == played)
            return;
        played = now;
        const int mover = 1 - side();
        left[mover] -= turn.elapsed();
        turn.restart();
        game.LeastLeft[mover] = std::min(game.LeastLeft[mover], left[mover]);
        ++game.HalfMoves;
        if (left[mover] <= 0) {
            game.Result =
                FlagFell(board.Position(), mover == 0 ? PieceColour::White : PieceColour::Black);
        } else {
            left[mover] += incMs;
            game.Result = JudgePosition(board);
        }
        if (game.Result.Over()) {
            board.SetFinished(true);
            loop.quit();
        }
    };
    board.OnEngineError = [&](TObject*, Square, Square, const std::string& message) {
        std::fprintf(stderr, "game %d: %s\n", number + 1, message.c_str());
        game.Result = DrawAgreed();
        loop.quit();
    };
    // A flag that falls while its side is still thinking.
    QTimer flag;
    flag.setInterval(5);
    QObject::connect(&flag, &QTimer::timeout, [&] {
        const int mover = side();
        if (left[mover] - turn.elapsed() <= 0) {
            game.LeastLeft[mover] = 0;
            game.Result =
                FlagFell(board.Position(), mover == 0 ? PieceColour::White : PieceColour::Black);
            board.SetFinished(true);
            loop.quit();
        }
    });
    flag.start();
    board.StartThinking();
    loop.exec();
    board.StopThinking();
    board.OnPaint = nullptr;
    board.EngineClock = nullptr;
    return game;
}

constexpr const char* Usage = "usage: corvina-clockmatch [GAMES] [MINUTES] [INCREMENT_S]\n";

} // namespace

int main(int argc0, char** argv0) {
    const std::vector<std::string> args(argv0 + 1, argv0 + argc0);
    int games = 20;
    double minutes = 1;
    int increment = 0;
    try {
        if (args.size() > 0)
            games = std::stoi(args[0]);
        if (args.size() > 1)
            minutes = std::stod(args[1]);
        if (args.size() > 2)
            increment = std::stoi(args[2]);
    } catch (const std::exception&) {
        std::fputs(Usage, stderr);
        return 2;
    }
    if (games < 1 || minutes <= 0 || increment < 0 || args.size() > 3) {
        std::fputs(Usage, stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "corvina-clockmatch";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    TChessBrd board;
    board.SetSearchDepth(TChessBrd::MaxSearchDepth);
    board.SetAnimationDelay(2);
    board.SetComputerPlaysWhite(true);
    board.SetComputerPlaysBlack(true);
    board.resize(400, 400);
    board.show();
    // The first paint wakes the engine: let it happen before the first game.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const auto baseMs = static_cast<long long>(minutes * 60000);
    std::printf("clock %g+%d, depth up to %d, %d games\n", minutes, increment, board.SearchDepth(),
                games);
    int wins[3] = {0, 0, 0}; // White, Black, draws
    int onTime = 0;
    long long least = baseMs;
    for (int i = 0; i < games; ++i) {
        const TMatchGame g = PlayOne(board, i, baseMs, increment * 1000LL);
        const bool timeLoss = g.Result.Kind == TResultKind::TimeForfeit ||
                              g.Result.Kind == TResultKind::TimeAgainstBareMaterial;
        onTime += timeLoss ? 1 : 0;
        ++wins[g.Result.Winner == PieceColour::White   ? 0
               : g.Result.Winner == PieceColour::Black ? 1
                                                       : 2];
        least = std::min({least, g.LeastLeft[0], g.LeastLeft[1]});
        std::printf("game %2d  %-7s  %-12s  %3d plies  least left: white %6.1f s, black %6.1f s\n",
                    i + 1, g.Result.Score().c_str(), g.Result.Termination().c_str(),
                    g.HalfMoves + 2, static_cast<double>(g.LeastLeft[0]) / 1000,
                    static_cast<double>(g.LeastLeft[1]) / 1000);
        std::fflush(stdout);
    }
    std::printf("white won %d, black won %d, drawn %d; lost on time %d; least time left %.1f s\n",
                wins[0], wins[1], wins[2], onTime, static_cast<double>(least) / 1000);
    return onTime == 0 ? 0 : 1;
}
