// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-bench pgn FILE: each game of a PGN file replayed through the rules, one line each,
// so that a collection can be compared with another program's reading of it.
#include "chess/Fen.h"
#include "chess/Pgn.h"
#include "chess/PgnCollection.h"
#include "tools/bench/Commands.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The largest collection read, as Load PGN allows.
constexpr std::streamoff MaxPgnFile = 64LL * 1024 * 1024;

} // namespace

// Prints "N<TAB>FEN<TAB>result" per game (the final position, the result as written, "*" when
// none is), or "N<TAB>error: reason" for a game the rules cannot replay. Exit code 1 when any
// game failed.
int RunPgn(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return UsageError("usage: corvina-bench pgn FILE");
    std::ifstream in(args[0], std::ios::binary | std::ios::ate);
    if (!in)
        return UsageError("cannot open " + args[0]);
    const std::streamoff size = in.tellg();
    if (size > MaxPgnFile)
        return UsageError(args[0] + " is larger than 64 MiB");
    in.seekg(0);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int number = 0, failed = 0;
    for (const std::string_view piece : SplitPgnGames(text)) {
        ++number;
        TPgnGame pgn;
        TPgnError error;
        TChessGame start;
        std::vector<TSanMove> moves;
        if (!ParsePgn(piece, pgn, error) || !ReplayPgn(pgn, start, moves, error)) {
            ++failed;
            std::printf("%d\terror: %s\n", number, error.Sentence().c_str());
            continue;
        }
        TChessGame end = start.Detached();
        for (const TSanMove& m : moves)
            PlaySanMove(end, m);
        std::printf("%d\t%s\t%s\n", number, ToPortableFen(end).c_str(),
                    pgn.Result.empty() ? "*" : pgn.Result.c_str());
    }
    return failed ? 1 : 0;
}
