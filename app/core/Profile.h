// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings profile as a value: the ten lines read into fields, and the ten lines written
// from them. Applying the value is the main window's business.

#include <QColor>
#include <QString>
#include <QStringList>

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

struct TProfileRead {
    TProfile Value;
    // Lines 1 .. GoodLines were read; a line that came after them failed, and Error says which
    // and why ("Settings profile "X", line 3: "deep" is not a valid integer value.").
    int GoodLines = 0;
    QString Error;
    bool Complete() const { return GoodLines == 10; }
};

TProfileRead ParseProfile(const QStringList& lines, const QString& name);
QStringList BuildProfile(const TProfile& profile);
