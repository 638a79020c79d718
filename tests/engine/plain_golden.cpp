// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the golden table of the benchmark suite from the plain engine: one line per
// position and depth, "index depth bestmove M score S depth D nodes N pv M...".
// usage: corvina-plain-golden [deepest depth, 6 unless given]
#include "engine/BenchSuite.h"
#include "tests/engine/OracleCase.h"
#include "tests/engine/PlainEngine.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    const int deepest = argc > 1 ? std::atoi(argv[1]) : 6;
    if (deepest < 1 || deepest > 8) {
        std::fprintf(stderr, "corvina-plain-golden: depth must be 1 to 8\n");
        return 2;
    }
    for (int depth = 1; depth <= deepest; ++depth) {
        for (int i = 0; i < int(std::size(BenchPositions)); ++i) {
            const TOracleCase c = OracleCaseFromFen(BenchPositions[i]);
            auto plain = std::make_unique<TPlainEngine>();
            const EngineMove best = plain->ComputeMove(c.Position(depth));
            std::printf("%d %d %s\n", i, depth, SearchLine(*plain, best).c_str());
            std::fflush(stdout);
        }
    }
    return 0;
}
