// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/core/Profile.h"

#include "app/core/ProfileFormat.h"

#include <QFileInfo>

#include <functional>

TProfileRead ParseProfile(const QStringList& lines, const QString& name) {
    TProfileRead read;
    TProfile& p = read.Value;
    auto fail = [&](int line, const QString& what) {
        read.Error = QString("Settings profile \"%1\", line %2: %3").arg(name).arg(line).arg(what);
        return false;
    };
    auto present = [&](int line) {
        return line <= lines.size() ||
               fail(line,
                    QString("missing; a profile has ten lines, this one %1.").arg(lines.size()));
    };
    auto colour = [&](int line, QColor* out) {
        if (!present(line))
            return false;
        return TextToColour(lines[line - 1], out) ||
               fail(line, QString("\"%1\" is not a colour.").arg(lines[line - 1]));
    };
    auto number = [&](int line, int* out) {
        if (!present(line))
            return false;
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
        if (!present(line))
            return false;
        *out = QFileInfo(lines[line - 1]).fileName();
        return true;
    };
    // The lines are read in order; the first that fails ends the reading.
    const std::function<bool()> steps[10] = {
        [&] { return colour(1, &p.Dark); },           [&] { return colour(2, &p.Light); },
        [&] { return number(3, &p.SearchDepth); },    [&] { return number(4, &p.PriorityCode); },
        [&] { return fileName(5, &p.PieceSetFile); }, [&] { return flag(6, &p.BoardLines); },
        [&] { return flag(7, &p.WhiteOnTop); },       [&] { return number(8, &p.LanguageIndex); },
        [&] { return number(9, &p.ThemeIndex); },     [&] { return flag(10, &p.CapturedPieces); },
    };
    for (const auto& step : steps) {
        if (!step())
            break;
        ++read.GoodLines;
    }
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
