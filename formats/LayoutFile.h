// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout file of the position editor: the 64-character placement followed by ";", then
// the side to move, 0 for White and 1 for Black.

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

struct TLayout {
    std::string Position; // decoded: one byte a square
    // No side when line 2 is missing or is neither 0 nor 1; the placement still applies.
    std::optional<int> Turn;
};

QStringList BuildLayout(const std::string& position, int turn);

// No layout at all when line 1 is not exactly 65 characters ("Invalid layout file."); a
// layout without a side, and *error set, when line 2 is unusable.
std::optional<TLayout> ParseLayout(const QStringList& lines, const QString& fileName,
                                   QString* error);

inline constexpr const char* InvalidLayoutText = "Invalid layout file.";
