// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of a game's end, of resigning and offering a draw, and of the evaluation line, read
// through the language table (the "Extras" keys of the same names) in the language applied
// last. The four menu items' captions are set on the items by name; here they are the captions
// the items start with.

#include <QString>

#include <span>

struct TGameEndTexts {
    QString MateWhite = "Checkmate — White wins";
    QString MateBlack = "Checkmate — Black wins";
    QString Stalemate = "Stalemate — draw";
    QString Repetition = "Draw by threefold repetition";
    QString FiftyMoves = "Draw by the fifty-move rule";
    QString DeadPosition = "Draw by insufficient material";
    QString WhiteResigns = "White resigns — Black wins";
    QString BlackResigns = "Black resigns — White wins";
    QString Agreed = "Draw agreed";
    QString WhiteTime = "White lost on time — Black wins";
    QString BlackTime = "Black lost on time — White wins";
    QString WhiteTimeDraw = "White ran out of time, but Black cannot mate — draw";
    QString BlackTimeDraw = "Black ran out of time, but White cannot mate — draw";
    QString GameOverCaption = "Game Over";
    QString GameOver = "The game is over.";
    QString Resign = "R&esign";
    QString OfferDraw = "Offer &Draw";
    QString ResignQuestion = "Do you really want to resign this game?";
    QString WhiteOffersDraw = "White offers a draw. Does Black accept?";
    QString BlackOffersDraw = "Black offers a draw. Does White accept?";
    QString DrawDeclined = "The computer declines the draw; play on.";
    // Chat lines to the opponent of a NetGame, after the sender's name and ": ".
    QString ChatResign = "I resign.";
    QString ChatOfferDraw = "I offer a draw (say so in the chat if you agree).";
    // Engine > Hint and Engine > Show Evaluation, and the evaluation line (%1: moves, depth).
    QString Hint = "&Hint";
    QString ShowEvaluation = "Show &Evaluation";
    QString EvalWhiteMates = "White mates in %1";
    QString EvalBlackMates = "Black mates in %1";
    QString EvalDepth = "depth %1";
};

// The texts as the language applied last words them.
TGameEndTexts GameEndTexts();

struct TGameEndTextId {
    const char* Id; // the language table's key and target in "Extras"
    QString TGameEndTexts::*Text;
};
std::span<const TGameEndTextId> GameEndTextIds();
