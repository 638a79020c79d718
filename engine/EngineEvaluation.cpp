// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's evaluation: the square values prepared once per search and the pawn terms.
#include "engine/ChessEngine.h"

#include "engine/BitCount.h"
#include "engine/EngineTables.h"
#include "engine/StaticScore.h"

#include <algorithm>
#include <bit>
#include <cstring>

using namespace EngineTables;
using namespace StaticScoreParts;

void TChessEngine::PrepareEvaluation() {
    for (int s = 0; s < 64; ++s) {
        for (int colour : {ColourWhite, ColourBlack}) {
            const int m = colour == ColourWhite ? s : MirrorSquare(s);
            SquareValue[colour][PiecePawn][s] = 100 + PawnTable[m];
            SquareValue[colour][PieceKnight][s] = 300 + MinorTable[m];
            SquareValue[colour][PieceBishop][s] = 300 + MinorTable[m];
            SquareValue[colour][PieceRook][s] = 500;
            SquareValue[colour][PieceQueen][s] = 900;
        }
    }
    // Knights, bishops, rooks and queens only: pawns and kings do not count here.
    int material[2] = {0, 0};
    int kingFile[2] = {-1, -1};
    for (int s = 0; s < 64; ++s) {
        const int colour = SquareColour[s];
        if (colour == ColourEmpty)
            continue;
        if (SquarePiece[s] >= PieceKnight && SquarePiece[s] <= PieceQueen)
            material[colour] += PieceValue[SquarePiece[s]];
        if (SquarePiece[s] == PieceKing && kingFile[colour] < 0)
            kingFile[colour] = s % 8;
    }
    // A king hides behind its pawns while the opponent keeps more than a rook and three
    // minor pieces' worth; below that it walks to the centre. Fixed for the whole search.
    for (int colour : {ColourWhite, ColourBlack}) {
        const bool middleGame = material[1 - colour] > 1400;
        for (int s = 0; s < 64; ++s) {
            const int m = colour == ColourWhite ? s : MirrorSquare(s);
            SquareValue[colour][PieceKing][s] = middleGame ? KingMiddleTable[m] : KingEndTable[m];
            if (!middleGame || kingFile[colour] < 0)
                continue;
            if (kingFile[colour] >= 5)
                SquareValue[colour][PiecePawn][s] += ShelterKingSide[m];
            else if (kingFile[colour] <= 2)
                SquareValue[colour][PiecePawn][s] += ShelterQueenSide[m];
        }
    }
    RecountValues();
    std::memset(PawnStore, 0, sizeof PawnStore);
}

template <bool Hardware>
[[gnu::always_inline]] inline void TChessEngine::CountPawnTermsBody(TPawnTerms& terms) const {
    auto count = [](std::uint64_t squares) __attribute__((always_inline)) {
        if constexpr (Hardware)
            return std::popcount(squares);
        else
            return CountOf(squares);
    };
    const std::uint64_t white = Pieces[ColourWhite][PiecePawn];
    const std::uint64_t black = Pieces[ColourBlack][PiecePawn];
    terms.Known = true;
    terms.Pawns[ColourWhite] = white;
    terms.Pawns[ColourBlack] = black;
    for (int c : {ColourWhite, ColourBlack})
        terms.Files[c] = static_cast<std::uint8_t>(FilesOf(Pieces[c][PiecePawn]));
    for (int c : {ColourWhite, ColourBlack}) {
        const std::uint64_t pawns = Pieces[c][PiecePawn];
        const std::uint32_t own = terms.Files[c];
        const std::uint32_t other = terms.Files[1 - c];
        // A pawn with another of its side further up its file stands on a doubled file.
        std::uint64_t above = pawns << 8;
        above |= above << 8;
        above |= above << 16;
        above |= above << 32;
        const std::uint32_t doubled = FilesOf(pawns & above);
        const std::uint32_t isolated = own & ~((own << 1) | (own >> 1));
        const std::uint32_t free = own & ~(other | (other << 1) | (other >> 1));
        int sum = -5 * count(pawns & SquaresOfFiles(doubled));
        sum -= 20 * count(pawns & SquaresOfFiles(isolated));
        sum -= 10 * count(pawns & SquaresOfFiles(isolated & ~other));
        for (std::uint64_t q = pawns & SquaresOfFiles(free); q != 0; q &= q - 1)
            sum += 2 * SquareValue[c][PiecePawn][std::countr_zero(q)];
        terms.Score[c] = sum;
    }
}

void TChessEngine::CountPawnTerms(TPawnTerms& terms) const {
    if (BitCount::HardwareCount)
        CountPawnTermsWithHardware(terms);
    else
        CountPawnTermsPlain(terms);
}

void TChessEngine::CountPawnTermsPlain(TPawnTerms& terms) const {
    CountPawnTermsBody<false>(terms);
}

CORVINA_HARDWARE_COUNT void TChessEngine::CountPawnTermsWithHardware(TPawnTerms& terms) const {
    CountPawnTermsBody<true>(terms);
}

int TChessEngine::Evaluate() const {
    return StaticScore();
}
