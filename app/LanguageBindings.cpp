// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in the language texts: it registers itself, so that its menus and
// labels are found by their names, and binds the texts that are no control's caption: the
// challenge menu item's two captions, shown by challenge mode, and the program-wide texts of
// the settings commands.
#include "app/ChallengeMode.h"
#include "app/Main1.h"
#include "app/ProgramTexts.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"

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

    const struct {
        const char* Id;
        QString TProgramTexts::*Text;
    } programTexts[] = {
        {TextIds::LoadSettingsMsg1, &TProgramTexts::LoadSettingsMsg1},
        {TextIds::SaveSettingsCaption, &TProgramTexts::SaveSettingsCaption},
        {TextIds::SaveSettingsLabel1, &TProgramTexts::SaveSettingsLabel1},
        {TextIds::SaveSettingsMsg1, &TProgramTexts::SaveSettingsMsg1},
    };
    for (const auto& entry : programTexts) {
        targets.Bind(this, TextIds::ProgramTexts, entry.Id,
                     [text = entry.Text](const QString& value) { ProgramTexts().*text = value; });
    }
}
