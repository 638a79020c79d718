// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's messages that no language file translates (yet), in one place. The texts a
// language file replaces are read through the language table (ProgramText, LanguageTable.h).

#include <QString>

#include <functional>

struct TProgramTexts {
    // %1: the name as typed.
    const QString BadSettingsName = "\"%1\" cannot be used as a settings name: a name must not be "
                                    "empty, \".\" or \"..\", nor contain \"/\" or \"\\\".";
    const QString BlankSettingsName = "\"%1\" cannot be used as a settings name: a name must not "
                                      "begin or end with a blank, nor be made of blanks only.";
    // %1: what the profile reader refused, one sentence per line.
    const QString ProfileNotSaved = "%1\nThe settings were not saved; an earlier file of that name "
                                    "is unchanged.";
    // Load Settings. %1: the name.
    const QString DeleteSettingsConfirm = "Delete the settings \"%1\"?";
    // %1: the file; %2: the reason.
    const QString DeleteFailed = "The settings file \"%1\" could not be deleted: %2";
    const QString NoProfileSelected = "Select the settings to load at start-up first.";
    // %1: the file.
    const QString NotAPieceSet = "\"%1\" is no piece set: its picture must be one and a half times "
                                 "as wide as it is high (six pieces across, four rows down).";
    // %1: the file; %2: the reason.
    const QString PictureUnreadable = "The picture \"%1\" could not be read: %2";

    // PGN and FEN. %1: the move with its number, as "12... Nbd7".
    const QString PgnIllegalMove = "Move %1 is not legal in this position.";
    const QString PgnAmbiguousMove = "Move %1 is ambiguous in this position.";
    // %1: the file; %2: what is wrong.
    const QString PgnNotAGame = "The file \"%1\" holds no PGN game that can be read: %2";
    const QString PgnNoGame = "The file \"%1\" holds no PGN game.";
    const QString PgnTooLong = "The game in \"%1\" is longer than any game of chess can be.";
    const QString PgnBadFen = "The FEN tag in \"%1\" is no valid position: %2";
    // %1: the fault of the layout, as the New Game dialog words it.
    const QString PgnBadLayout = "The position of the FEN tag cannot be played: %1";
    const QString PgnNotExported = "The game was not exported.";
    // The chooser of a PGN collection: caption, filter and columns; the progress while a
    // large file is read (%1: the file).
    const QString PgnGamesCaption = "Choose a Game";
    const QString PgnGamesFilter = "&Filter:";
    const QString PgnGamesWhite = "White";
    const QString PgnGamesBlack = "Black";
    const QString PgnGamesResult = "Result";
    const QString PgnGamesDate = "Date";
    const QString PgnGamesEvent = "Event";
    const QString PgnReading = "Reading \"%1\"...";
    // %1: what is wrong with the text.
    const QString FenInvalid = "The clipboard holds no valid FEN position: %1";
    const QString FenBadLayout = "The pasted position cannot be played: %1";
    // New Game, Load Game, Load PGN, Paste FEN and Challenges! during a NetGame.
    const QString EndNetGameQuestion = "End the network game?";
};

const TProgramTexts& ProgramTexts();

// An information box with an OK button; tests replace it to capture the texts.
void ShowInformation(const QString& caption, const QString& text);
// The same box without waiting for it (modal to `parent`'s window), for news that arrives
// while the player is busy with something else; the handler below captures it too.
class QWidget;
void OpenInformation(const QString& caption, const QString& text, QWidget* parent);
using TInformationHandler = std::function<void(const QString& caption, const QString& text)>;
// Replaces the box; an empty handler restores it.
void SetInformationHandler(TInformationHandler handler);

// A question box with Yes and No (No the default); true for Yes. Tests replace it to answer.
bool AskYesNo(const QString& caption, const QString& text);
using TQuestionHandler = std::function<bool(const QString& caption, const QString& text)>;
// Replaces the box; an empty handler restores it.
void SetQuestionHandler(TQuestionHandler handler);
