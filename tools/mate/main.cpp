// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-mate: shortest forced mate of a FEN position, with every key move, as a challenge
// would load it (all four castling rights where king and rook stand at home).
//   corvina-mate "FEN" [max-moves]

#include "chess/ChessGame.h"
#include "chess/Fen.h"
#include "engine/ChessEngine.h"
#include "tools/mate/MateSearch.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: corvina-mate FEN [max-moves]\n");
        return 2;
    }
    TChessGame game;
    std::string error;
    if (!LoadFen(game, argv[1], &error)) {
        std::fprintf(stderr, "bad FEN: %s\n", error.c_str());
        return 2;
    }
    const int maxMoves = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::string placement = game.Position();
    const TEnginePosition position{placement, game.WhiteToMove(), AllCastling, 0, 1};

    auto board = std::make_unique<TEngineBoard>();
    board->LoadPosition(position);
    std::printf("{%s,%d,...,%d}\n", placement.c_str(), game.WhiteToMove() ? 0 : 1,
                game.WhiteToMove() ? 1 : 0);
    if (board->SideInCheck(1 - board->SideToMove()))
        std::printf("illegal: the side not to move is in check\n");
    const int n = ShortestMate(*board, maxMoves);
    if (n == 0) {
        std::printf("no mate in %d\n", maxMoves);
        return 1;
    }
    std::printf("mate in %d:", n);
    for (EngineMove m : MatingMoves(*board, n))
        std::printf(" %s", MoveText(m).c_str());
    std::printf("\n");

    auto engine = std::make_unique<TChessEngine>();
    TEnginePosition searched = position;
    searched.SearchDepth = 2 * n - 1;
    const EngineMove best = engine->ComputeMove(searched);
    std::printf("engine depth %d: %s score %d nodes %llu\n", searched.SearchDepth,
                MoveText(best).c_str(), engine->Score(),
                static_cast<unsigned long long>(engine->Nodes()));
    return 0;
}
