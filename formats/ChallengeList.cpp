// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/ChallengeList.h"

#include "formats/GameText.h"
#include "formats/ProfileFormat.h"

std::optional<QStringList> BreakString(const QString& open, const QString& close,
                                       const QString& line, const QString& separator) {
    const qsizetype start = line.indexOf(open);
    const qsizetype end = line.indexOf(close);
    if (start < 0 || end < 0 || start >= end)
        return std::nullopt;
    const qsizetype from = start + open.size();
    return line.mid(from, end - from).split(separator);
}

std::optional<TChallenge> ParseChallengeLine(const QString& line) {
    const auto fields = BreakString("{", "}", line, ",");
    TChallenge c;
    if (!fields || fields->size() < 4 || !ParseProfileInt(fields->at(1), &c.BlackToMove) ||
        !ParseProfileInt(fields->at(3), &c.ComputerBlack))
        return std::nullopt;
    c.Position = DecodePosition(fields->at(0));
    c.Description = fields->at(2);
    return c;
}

TChallengeList ParseChallengeList(const QStringList& lines) {
    TChallengeList list;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (lines[k].trimmed().isEmpty())
            continue;
        const auto challenge = ParseChallengeLine(lines[k]);
        if (!challenge) {
            list.Skipped << QString("line %1 is not a challenge").arg(k + 1);
            continue;
        }
        if (list.Count == TChallengeList::Capacity) {
            list.Skipped << QString("line %1 is past the %2 challenges the list holds")
                                .arg(k + 1)
                                .arg(TChallengeList::Capacity);
            continue;
        }
        list.Table[static_cast<std::size_t>(list.Count++)] = *challenge;
    }
    return list;
}
