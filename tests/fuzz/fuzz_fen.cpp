// SPDX-License-Identifier: GPL-3.0-or-later
// The FEN bridge on any text: a FEN that loads writes back as a FEN that loads to the same game.
#include "chess/ChessGame.h"
#include "chess/Fen.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TChessGame game;
    if (!LoadFen(game, text))
        return 0;
    const std::string fen = ToFen(game);
    TChessGame again;
    std::string error;
    FUZZ_CHECK(LoadFen(again, fen, &error), "\"%s\" wrote \"%s\", refused: %s", text.c_str(),
               fen.c_str(), error.c_str());
    FUZZ_CHECK(ToFen(again) == fen && again.Position() == game.Position(),
               "\"%s\" came back as \"%s\"", fen.c_str(), ToFen(again).c_str());
    return 0;
}
