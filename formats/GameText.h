// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Position strings as they come from files: one character a square, decoded before any
// square is indexed, so that a character outside the piece letters never shifts the squares
// after it.

#include <QString>

#include <string>

// Each character of the text becomes one byte: a piece letter stays, anything else that is
// not a plain ASCII character becomes a space. Words such as "init" pass through unchanged.
std::string DecodePosition(const QString& text);

// A playable placement: exactly 64 characters, each a piece letter or a space, with one king
// of each colour.
bool IsGamePosition(const QString& text);
