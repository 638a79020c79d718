// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Material points and captured-piece tallies: both read off a position string alone, so the
// panels always describe the position on the board, whatever led to it.

#include <QString>
#include <QStringList>

#include <array>
#include <string>

// How many non-overlapping occurrences of the short text stand in the longer one.
int Hits(const QString& shortText, const QString& longText);

// Pawns 1, bishops 3.5, knights 3.05, rooks 5.48, queens 9.94; White is side 1, Black side 0.
double CountPoints(const std::string& position, int side);
// Right-aligned in five characters with one decimal: the full set reads " 42.0".
QString PointsText(double points);

// For one side, in the order pawns, bishops, knights, rooks, queens: how many are missing
// from a full set (8, 2, 2, 2, 1). Pieces beyond the full set can only come from promotions,
// so each of them stands for one of that side's pawns that is not missing.
std::array<int, 5> TallyCounts(const std::string& position, int side);
// The English piece words of a tally: "Pawns", "Bishops", "Knights", "Rooks", "Queens".
std::array<QString, 5> DefaultTallyWords();
// The five item texts of a tally: "0 Pawns", "1 Bishops", ... A word holding "%1" has the
// count put there instead ("Pawns: %1" gives "Pawns: 0").
QStringList TallyTexts(const std::array<int, 5>& counts,
                       const std::array<QString, 5>& words = DefaultTallyWords());
