// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/Profile.h"

#include "formats/ProfileFormat.h"

#include <QFileInfo>

#include <algorithm>
#include <functional>

TProfile DesignProfile() {
    TProfile p;
    p.Dark = QColor(0x80, 0, 0);
    p.Light = QColor(0xC0, 0xC0, 0xC0);
    p.PieceSetFile = "Merlot.bmp";
    return p;
}

TProfileRead ParseProfile(const QStringList& lines, const QString& name) {
    TProfileRead read;
    TProfile& p = read.Value;
    QStringList faults;
    auto fail = [&](int line, const QString& what) {
        read.BadLines << line;
        faults << QString("Settings profile \"%1\", line %2: %3")
                      .arg(name, QString::number(line), what);
        return false;
    };
    auto colour = [&](int line, QColor* out) {
        return TextToColour(lines[line - 1], out) ||
               fail(line, QString("\"%1\" is not a colour.").arg(lines[line - 1]));
    };
    auto number = [&](int line, int* out) {
        return ParseProfileInt(lines[line - 1], out) ||
               fail(line, QString("\"%1\" is not a valid integer value.").arg(lines[line - 1]));
    };
    auto flag = [&](int line, bool* out) {
        int value = 0;
        if (!number(line, &value))
            return false;
        *out = value == 1;
        return true;
    };
    auto fileName = [&](int line, QString* out) {
        const QString file = QFileInfo(lines[line - 1]).fileName();
        if (file.trimmed().isEmpty())
            return fail(line, QString("names no piece set."));
        *out = file;
        return true;
    };
    const std::function<bool()> steps[plLineCount] = {
        [&] { return colour(1, &p.Dark); },           [&] { return colour(2, &p.Light); },
        [&] { return number(3, &p.SearchDepth); },    [&] { return number(4, &p.PriorityCode); },
        [&] { return fileName(5, &p.PieceSetFile); }, [&] { return flag(6, &p.BoardLines); },
        [&] { return flag(7, &p.WhiteOnTop); },       [&] { return number(8, &p.LanguageIndex); },
        [&] { return number(9, &p.ThemeIndex); },     [&] { return flag(10, &p.CapturedPieces); },
    };
    const int present = static_cast<int>(std::min<qsizetype>(lines.size(), plLineCount));
    for (int i = 0; i < present; ++i)
        steps[i]();
    // The lines a short file lacks are named together.
    if (present < plLineCount) {
        for (int line = present + 1; line <= plLineCount; ++line)
            read.BadLines << line;
        const QString which = present + 1 == plLineCount
                                  ? QString("line %1").arg(plLineCount)
                                  : QString("lines %1 to %2").arg(present + 1).arg(plLineCount);
        faults << QString("Settings profile \"%1\", %2: missing; a profile has ten lines, this "
                          "one %3.")
                      .arg(name, which, QString::number(lines.size()));
    }
    if (!faults.isEmpty())
        read.Error = faults.join('\n');
    return read;
}

QStringList BuildProfile(const TProfile& p) {
    return {ColourToText(p.Dark),
            ColourToText(p.Light),
            QString::number(p.SearchDepth),
            QString::number(p.PriorityCode),
            QFileInfo(p.PieceSetFile).fileName(),
            p.BoardLines ? "1" : "0",
            p.WhiteOnTop ? "1" : "0",
            QString::number(p.LanguageIndex),
            QString::number(p.ThemeIndex),
            p.CapturedPieces ? "1" : "0"};
}
