// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-ucimatch: plays one game between two UCI engines, every move checked by Corvina's
// rules, and prints it as PGN with the result.
//   corvina-ucimatch <white engine> <black engine> [white go command] [black go command]
//                    [max plies]
// e.g. corvina-ucimatch ./corvina-uci /usr/games/stockfish "go depth 3" "go depth 1" 400
#include "chess/Pgn.h"
#include "tools/ucimatch/UciMatch.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr,
                     "usage: %s <white engine> <black engine> [white go] [black go] "
                     "[max plies]\n",
                     argv[0]);
        return 2;
    }
    TMatchPlayer white{args[1], {}, args.size() > 3 ? args[3] : "go depth 3"};
    TMatchPlayer black{args[2], {}, args.size() > 4 ? args[4] : "go depth 3"};
    // Any stockfish plays at its weakest: it is the sparring partner, not the judge.
    for (TMatchPlayer* p : {&white, &black})
        if (p->Program.contains("stockfish"))
            p->Setup << "setoption name Skill Level value 0";
    const int maxPlies = args.size() > 5 ? args[5].toInt() : 400;
    const TMatchResult r = PlayMatch(white, black, maxPlies);
    TPgnHeader header;
    header.Event = "corvina-ucimatch";
    header.White = white.Program.toStdString();
    header.Black = black.Program.toStdString();
    for (const std::string& line : WritePgn(r.Game, header))
        std::printf("%s\n", line.c_str());
    if (!r.Error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(r.Error));
        return 1;
    }
    std::printf("\nresult %s after %lld half-moves\n", qPrintable(r.Result),
                static_cast<long long>(r.Moves.size()));
    return 0;
}
