// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key list of the language files: every translatable text of the program, once, with the
// section and key it is read from, its built-in English default and where it goes. The list is
// read in its order by every Apply; the first BaseEntryCount entries are the program's original
// texts, the entries after them (section "Extras") the texts of later menu items and the texts
// the program shows by itself: tallies, events and messages.
//
// A target is named by the objectName of its window and of its control, so that the language
// layer includes no window: an empty control name is the window's caption, Item >= 0 names an
// item of a radio group or combo box, and a name that is no control (a program-wide text, or a
// caption a window keeps and shows by its own state) is whatever the window bound under it
// (see TTextTargets).

#include <QList>
#include <QString>

#include <cstddef>
#include <span>

struct TTextEntry {
    const char* Section;
    const char* Key;
    const char* Default; // UTF-8
    const char* Window;
    const char* Target;
    int Item = -1;

    QString DefaultText() const { return QString::fromUtf8(Default); }
};

inline constexpr std::size_t BaseEntryCount = 126;
// The texts of a game's end, resigning, offering a draw, the clocks, the hint and the
// evaluation line ("Extras").
inline constexpr std::size_t GameEndEntryCount = 33;

// The program-wide texts (window name ProgramTexts) and the captions kept by windows.
namespace TextIds {
inline constexpr const char* ProgramTexts = "ProgramTexts";
inline constexpr const char* LoadSettingsMsg1 = "LoadSettingsMsg1";
inline constexpr const char* SaveSettingsCaption = "SaveSettingsCaption";
inline constexpr const char* SaveSettingsLabel1 = "SaveSettingsLabel1";
inline constexpr const char* SaveSettingsMsg1 = "SaveSettingsMsg1";
// frmCorvina: the challenge menu item's captions outside and inside challenge mode.
inline constexpr const char* ChallengeMenuText = "ChallengeMenuText";
inline constexpr const char* ChallengeEndText = "ChallengeEndText";
// frmNew: the switch button's captions in the basic and the expanded state.
inline constexpr const char* SwitchBasicCaption = "SwitchBasicCaption";
inline constexpr const char* SwitchAdvancedCaption = "SwitchAdvancedCaption";
// frmCorvina: the piece words of the captured-piece tallies (pawns, bishops, knights, rooks,
// queens) and the texts of the events list.
inline constexpr const char* TallyWords[5] = {"TallyPawns", "TallyBishops", "TallyKnights",
                                              "TallyRooks", "TallyQueens"};
inline constexpr const char* EventCastle = "EventCastle";
inline constexpr const char* EventCheck = "EventCheck";
inline constexpr const char* EventMate = "EventMate";
inline constexpr const char* EventStaleMate = "EventStaleMate";
inline constexpr const char* EventPromotion = "EventPromotion";
inline constexpr const char* EventDraw = "EventDraw";
inline constexpr const char* EventThreefold = "EventThreefold";
inline constexpr const char* EventIllegalMove = "EventIllegalMove";
inline constexpr const char* EventEngineStopped = "EventEngineStopped";
// frmNew: the faults of a layout, also named for pasted and loaded positions.
inline constexpr const char* LayoutKingsMissing = "LayoutKingsMissing";
inline constexpr const char* LayoutTooManyPawns = "LayoutTooManyPawns";
inline constexpr const char* LayoutTooManyPromoted = "LayoutTooManyPromoted";
inline constexpr const char* LayoutOnlyKings = "LayoutOnlyKings";
inline constexpr const char* LayoutTooManyKings = "LayoutTooManyKings";
} // namespace TextIds

std::span<const TTextEntry> LanguageTable();

// A program-wide text (TextIds::LoadSettingsMsg1 ...) in the language applied last, else its
// English default: the one way the program reads these texts.
QString ProgramText(const char* id);

struct TTextKey {
    QString Section;
    QString Key;
    QString Default;
};
// Each section and key of the table once (a key that feeds several targets is read once per
// target, but stands once in a language file), in table order.
QList<TTextKey> LanguageKeys();
