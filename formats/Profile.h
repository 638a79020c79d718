// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings profile as a value: the ten lines read into fields, and the ten lines written
// from them. Applying the value is the main window's business.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

// The protected profile, compared exactly ("default" is another profile).
inline const QString DefaultProfileName = QStringLiteral("Default");
// The settings as they stood when the program last ended; start-up applies them when al.dat
// names no profile.
inline const QString LastUsedProfileName = QStringLiteral("Last used");

struct TProfile {
    QColor Dark;
    QColor Light;
    int SearchDepth = 1;
    int PriorityCode = 3; // outside 0..6 the priority is left as it is
    QString PieceSetFile; // file name only, under pieces/
    bool BoardLines = false;
    bool WhiteOnTop = false;
    int LanguageIndex = 0;
    int ThemeIndex = -1;
    bool CapturedPieces = false;
};

// The main window as designed: maroon and silver squares, depth 1, normal priority, the
// built-in piece set's file, no lines, White at the bottom, no captured-pieces pane.
TProfile DesignProfile();

struct TProfileRead {
    TProfile Value;
    // The lines (1..10) that could not be read, in order; their fields keep the values of
    // TProfile. Error names each of them once, in one text ("Settings profile "X", line 3:
    // "deep" is not a valid integer value."), and is empty when every line was read.
    QList<int> BadLines;
    QString Error;
    bool Complete() const { return BadLines.isEmpty(); }
    bool Good(int line) const { return !BadLines.contains(line); }
};

// Reads every line on its own, so that one bad line spoils only itself. Line 5 must name a
// file; whether that file is a piece set is for the caller to find out.
TProfileRead ParseProfile(const QStringList& lines, const QString& name);
QStringList BuildProfile(const TProfile& profile);
