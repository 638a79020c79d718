// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes every event a game raises as short text, in the order raised: "LegalMove(E2,E4)",
// "Capture(E5,D6,p)", "Promotion(E7,E8)", "NoMatingMaterial", "Paint" and so on. The
// command-line tool and the tests read games through the same words.

#include "chess/ChessGame.h"

#include <string>
#include <vector>

class TEventPrinter {
public:
    std::vector<std::string> Events;
    // The piece an OnPromotion handler chooses; 0 leaves the game's own PromotionPiece.
    char PromoteTo = 0;

    // Assigns every event handler of the game; the printer must outlive them.
    void Attach(TChessGame& game);
    // The events separated by single spaces.
    std::string Joined() const;
};
