// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GameEndTexts.h"

#include "language/LanguageTable.h"

#include <array>

TGameEndTexts GameEndTexts() {
    TGameEndTexts texts;
    for (const TGameEndTextId& id : GameEndTextIds()) {
        const QString text = ProgramText(id.Id);
        if (!text.isNull())
            texts.*id.Text = text; // the menu items' keys name no program-wide text
    }
    return texts;
}

std::span<const TGameEndTextId> GameEndTextIds() {
    static const std::array<TGameEndTextId, 28> ids{{
        {"GameEndMateWhite", &TGameEndTexts::MateWhite},
        {"GameEndMateBlack", &TGameEndTexts::MateBlack},
        {"GameEndStalemate", &TGameEndTexts::Stalemate},
        {"GameEndRepetition", &TGameEndTexts::Repetition},
        {"GameEndFiftyMoves", &TGameEndTexts::FiftyMoves},
        {"GameEndDeadPosition", &TGameEndTexts::DeadPosition},
        {"GameEndWhiteResigns", &TGameEndTexts::WhiteResigns},
        {"GameEndBlackResigns", &TGameEndTexts::BlackResigns},
        {"GameEndAgreed", &TGameEndTexts::Agreed},
        {"GameEndWhiteTime", &TGameEndTexts::WhiteTime},
        {"GameEndBlackTime", &TGameEndTexts::BlackTime},
        {"GameEndWhiteTimeDraw", &TGameEndTexts::WhiteTimeDraw},
        {"GameEndBlackTimeDraw", &TGameEndTexts::BlackTimeDraw},
        {"GameEndGameOverCaption", &TGameEndTexts::GameOverCaption},
        {"GameEndGameOver", &TGameEndTexts::GameOver},
        {"GameEndResign", &TGameEndTexts::Resign},
        {"GameEndOfferDraw", &TGameEndTexts::OfferDraw},
        {"GameEndResignQuestion", &TGameEndTexts::ResignQuestion},
        {"GameEndWhiteOffersDraw", &TGameEndTexts::WhiteOffersDraw},
        {"GameEndBlackOffersDraw", &TGameEndTexts::BlackOffersDraw},
        {"GameEndDrawDeclined", &TGameEndTexts::DrawDeclined},
        {"GameEndChatResign", &TGameEndTexts::ChatResign},
        {"GameEndChatOfferDraw", &TGameEndTexts::ChatOfferDraw},
        {"GameEndHint", &TGameEndTexts::Hint},
        {"GameEndShowEvaluation", &TGameEndTexts::ShowEvaluation},
        {"GameEndEvalWhiteMates", &TGameEndTexts::EvalWhiteMates},
        {"GameEndEvalBlackMates", &TGameEndTexts::EvalBlackMates},
        {"GameEndEvalDepth", &TGameEndTexts::EvalDepth},
    }};
    return ids;
}
