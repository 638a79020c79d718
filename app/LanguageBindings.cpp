// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in the language texts: it registers itself, so that its menus and
// labels are found by their names, and binds the texts that are no control's caption: the
// challenge menu item's two captions, shown by challenge mode, the tallies' piece words and the
// events list's texts. The program-wide texts are read through the language table (ProgramText).
#include "app/ChallengeMode.h"
#include "app/GamePanels.h"
#include "app/Main1.h"
#include "app/ProgramTexts.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"

#include <QPushButton>

void TfrmCorvina::BindLanguageTexts() {
    TTextTargets& targets = LanguageTargets();
    targets.AddWindow(this);
    const QString window = objectName();
    TChallengeMode* challenges = Challenges_.get();
    targets.Bind(this, window, TextIds::ChallengeMenuText, [challenges](const QString& text) {
        challenges->MenuText = text;
        challenges->ShowMenuCaption();
    });
    targets.Bind(this, window, TextIds::ChallengeEndText, [challenges](const QString& text) {
        challenges->EndText = text;
        challenges->ShowMenuCaption();
    });

    // The challenge button shares the menu item's text, but not its accelerator: on the window
    // an Alt+letter would compete with the menu bar's.
    QPushButton* restart = cmdRestart;
    targets.Bind(this, window, "cmdRestart", [restart](const QString& text) {
        QString plain;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'&' && i + 1 < text.size())
                ++i; // "&&" stands for one "&"
            plain += text[i];
        }
        restart->setText(plain);
    });

    TGamePanels* panels = Panels_.get();
    for (int i = 0; i < 5; ++i) {
        targets.Bind(this, window, TextIds::TallyWords[i], [panels, i](const QString& text) {
            panels->Texts.TallyWords[static_cast<std::size_t>(i)] = text;
            panels->Refresh();
        });
    }
    BindMembers(targets, this, window, &panels->Texts,
                {{TextIds::EventCastle, &TPanelTexts::Castle},
                 {TextIds::EventCheck, &TPanelTexts::Check},
                 {TextIds::EventMate, &TPanelTexts::Mate},
                 {TextIds::EventStaleMate, &TPanelTexts::StaleMate},
                 {TextIds::EventPromotion, &TPanelTexts::Promotion},
                 {TextIds::EventDraw, &TPanelTexts::Draw},
                 {TextIds::EventThreefold, &TPanelTexts::Threefold},
                 {TextIds::EventIllegalMove, &TPanelTexts::IllegalMove},
                 {TextIds::EventEngineStopped, &TPanelTexts::EngineStopped}});
}
