// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The challenge list: one challenge a line, "{position,side,description,computer}" with text
// outside the braces ignored.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string>

struct TChallenge {
    std::string Position; // decoded: one byte a square
    int BlackToMove = 0;  // 0: White to move
    QString Description;
    int ComputerBlack = 1; // not 0: the computer plays Black
};

// The fields between the first `open` and the first `close` of `line`, split at every
// `separator`; no list when `open` is missing or does not come before `close`.
std::optional<QStringList> BreakString(const QString& open, const QString& close,
                                       const QString& line, const QString& separator);

// One challenge from a line, or none when it has fewer than four fields or a flag that is not
// a decimal integer.
std::optional<TChallenge> ParseChallengeLine(const QString& line);

struct TChallengeList {
    static constexpr int Capacity = 21;
    std::array<TChallenge, Capacity> Table;
    int Count = 0;
    // One sentence for each line that could not be used ("line 4 is not a challenge").
    QStringList Skipped;
};

// Every usable line in order, at most Capacity of them; blank lines are passed over.
TChallengeList ParseChallengeList(const QStringList& lines);
