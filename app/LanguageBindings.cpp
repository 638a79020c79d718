// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in the language texts: it registers itself, so that its menus and
// labels are found by their names, and binds the texts that are no control's caption: the
// challenge menu item's two captions, shown by challenge mode. The program-wide texts are read
// through the language table (ProgramText).
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
}
