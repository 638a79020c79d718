// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the fuzz targets: reading the fuzzer's bytes as a stream of small choices,
// decoding a chess position from them, the checks that stop a run, and the filters for faults
// that are known and being mended elsewhere.

#include "chess/ChessGame.h"
#include "chess/Square.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Stops the run with a message; libFuzzer saves the input that led here.
#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz property failed: %s\n  ", #condition);                      \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fprintf(stderr, "\n");                                                            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// The fuzzer's bytes read front to back; past the end every read answers 0.
class TFuzzBytes {
public:
    TFuzzBytes(const std::uint8_t* data, std::size_t size) : Data_(data), Size_(size) {}
    bool Empty() const { return Pos_ >= Size_; }
    std::uint8_t Byte() { return Pos_ < Size_ ? Data_[Pos_++] : 0; }
    // A number in 0..n-1 (n > 0).
    int Below(int n) { return Byte() % n; }

private:
    const std::uint8_t* Data_;
    std::size_t Size_;
    std::size_t Pos_ = 0;
};

// A position as the board holds it: placement (64 characters, a8 first), side to move,
// castling bits and en passant square (board square 1..64, 0 for none).
struct TFuzzPosition {
    std::string Placement = std::string(64, ' ');
    bool WhiteToMove = true;
    int Castling = 0;
    int EnPassant = 0;
};

// Layouts that occur in games are the most interesting, so most squares are empty and the
// pieces come in about the proportions of a game; one byte in eight can ask for a layout
// with any number of kings, which a loaded saved game may hold.
inline TFuzzPosition DecodePosition(TFuzzBytes& in) {
    static constexpr char kLetters[] = "PPPPNBRQpppppnbrqKk";
    TFuzzPosition p;
    const std::uint8_t flags = in.Byte();
    for (char& c : p.Placement) {
        const int b = in.Byte();
        c = b < 160 ? ' ' : kLetters[(b - 160) % (sizeof kLetters - 1)];
    }
    if ((flags & 7) != 7) {
        // Exactly one king a side, on the squares the next two bytes name.
        for (char& c : p.Placement)
            if (c == 'K' || c == 'k')
                c = ' ';
        const int white = in.Below(64);
        int black = in.Below(64);
        if (black == white)
            black = (black + 1) % 64;
        p.Placement[static_cast<std::size_t>(white)] = 'K';
        p.Placement[static_cast<std::size_t>(black)] = 'k';
    }
    p.WhiteToMove = (flags & 8) == 0;
    p.Castling = (flags >> 4) & 15;
    p.EnPassant = in.Below(65);
    return p;
}

// A fresh game set up the way the new-game dialog and the FEN bridge do it.
inline void SetUpGame(TChessGame& game, const TFuzzPosition& p) {
    game.ResetGame();
    game.SetPosition(p.Placement);
    game.SetWhiteToMove(p.WhiteToMove);
    game.SetCastlingAllowed(static_cast<CastleSet>(p.Castling));
    game.SetEnPassant(static_cast<Square>(p.EnPassant));
}

// With CORVINA_FUZZ_STRICT=1 in the environment the cost filters of the targets are off, so a
// long run also tries the layouts that are slow to search.
inline bool StrictFuzzing() {
    static const bool strict = [] {
        const char* v = std::getenv("CORVINA_FUZZ_STRICT");
        return v && *v && *v != '0';
    }();
    return strict;
}
