// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/EventPrinter.h"

namespace {

std::string Squares(Square a, Square b) {
    return "(" + SquareName(a) + "," + SquareName(b) + ")";
}

} // namespace

void TEventPrinter::Attach(TChessGame& game) {
    auto move = [this](const char* name) {
        return
            [this, name](TObject*, Square a, Square b) { Events.push_back(name + Squares(a, b)); };
    };
    auto notify = [this](const char* name) {
        return [this, name](TObject*) { Events.emplace_back(name); };
    };
    game.OnLegalMove = move("LegalMove");
    game.OnCapture = [this](TObject*, Square a, Square b, char piece) {
        Events.push_back("Capture(" + SquareName(a) + "," + SquareName(b) + "," +
                         std::string(1, piece) + ")");
    };
    game.OnPromotion = [this](TObject*, Square a, Square b, char& piece) {
        Events.push_back("Promotion" + Squares(a, b));
        if (PromoteTo)
            piece = PromoteTo;
    };
    game.OnCastle = move("Castle");
    game.OnCheck = move("Check");
    game.OnMate = move("Mate");
    game.OnStaleMate = move("StaleMate");
    game.OnNoMatingMaterial = notify("NoMatingMaterial");
    game.OnThreefoldPosition = notify("ThreefoldPosition");
    game.OnDraw = notify("Draw");
    game.OnPaint = notify("Paint");
}

std::string TEventPrinter::Joined() const {
    std::string line;
    for (const std::string& e : Events)
        line += (line.empty() ? "" : " ") + e;
    return line;
}
