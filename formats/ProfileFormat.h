// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "engine/ThreadPriority.h"

#include <QColor>
#include <QString>

// The pieces of a settings profile's text: a profile is ten lines, in this order.
enum TProfileLine : int {
    plDarkColour,     // colour text
    plLightColour,    // colour text
    plSearchDepth,    // decimal integer
    plPriority,       // priority code 0..6
    plPieceSet,       // file name under pieces/
    plBoardLines,     // 1 on, any other number off
    plWhiteOnTop,     // 1 on, any other number off
    plLanguage,       // language index
    plTheme,          // theme index, -1 when none was chosen
    plCapturedPieces, // 1 shown, any other number hidden
    plLineCount
};

// One of the sixteen basic colour names ("clMaroon") when the colour is exactly that one, else
// "$" and eight upper-case hex digits of 0x00BBGGRR (low byte red). Alpha is not recorded.
QString ColourToText(const QColor& c);

// Reads colour text: the sixteen names, "$" + hex or a decimal number (both 0x00BBGGRR), and the
// names or numbers (0x80000000 | index) of system colours, which stand for the platform's
// colour of that element. Names match without regard to case. False, with *out unchanged,
// for anything else.
bool TextToColour(const QString& text, QColor* out);

// Priority code of a profile: 6 - level, from 0 (time critical) to 6 (idle).
int PriorityToCode(TThreadPriority p);
// False, with *out unchanged, for a code outside 0..6.
bool CodeToPriority(int code, TThreadPriority* out);

// A decimal integer with an optional sign and surrounding blanks; false otherwise (including
// values outside int).
bool ParseProfileInt(const QString& text, int* out);

// Lines 6, 7 and 10: must be a number; 1 means on, any other number off.
QString FlagToText(bool on);
bool ParseProfileFlag(const QString& text, bool* out);
