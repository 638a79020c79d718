// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of a game's end, of resigning and offering a draw, and of the evaluation line, read
// through the language table (the "Extras" keys of the same names) in the language applied
// last; their English defaults stand in the table. The four menu items' captions are set on the
// items by name; here they are the captions the items start with.

#include <QString>

#include <span>

struct TGameEndTexts {
    QString MateWhite;
    QString MateBlack;
    QString Stalemate;
    QString Repetition;
    QString FiftyMoves;
    QString DeadPosition;
    QString WhiteResigns;
    QString BlackResigns;
    QString Agreed;
    QString WhiteTime;
    QString BlackTime;
    QString WhiteTimeDraw;
    QString BlackTimeDraw;
    QString GameOverCaption;
    QString GameOver;
    QString Resign = "R&esign";
    QString OfferDraw = "Offer &Draw";
    QString ResignQuestion;
    QString WhiteOffersDraw;
    QString BlackOffersDraw;
    QString DrawDeclined;
    // Chat lines to the opponent of a NetGame, after the sender's name and ": ".
    QString ChatResign;
    QString ChatOfferDraw;
    // Engine > Hint and Engine > Show Evaluation, and the evaluation line (%1: moves, depth).
    QString Hint = "&Hint";
    QString ShowEvaluation = "Show &Evaluation";
    QString EvalWhiteMates;
    QString EvalBlackMates;
    QString EvalDepth;
};

// The texts as the language applied last words them.
TGameEndTexts GameEndTexts();

struct TGameEndTextId {
    const char* Id; // the language table's key and target in "Extras"
    QString TGameEndTexts::*Text;
};
std::span<const TGameEndTextId> GameEndTextIds();
