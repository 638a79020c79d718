// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A temporary program folder with the default piece set and profile, and a capture of every
// reported error, so that each test starts the real main window from known files.
#include "common/ProgramFolder.h"
#include "common/TextFile.h"
#include "uikit/ErrorReport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

inline const QStringList DefaultProfile = {"clMaroon", "clSilver", "4", "3",  "Merlot.bmp",
                                           "0",        "0",        "0", "-1", "1"};

struct TTestFolder {
    QTemporaryDir Dir;
    QStringList Errors;

    TTestFolder() {
        SetProgramFolder(Dir.path());
        SetErrorHandler([this](const QString& text) { Errors << text; });
        QDir().mkpath(Dir.filePath("Settings"));
        QDir().mkpath(Dir.filePath("pieces"));
        QFile::copy(CORVINA_DATA_DIR "/pieces/Merlot.bmp", Dir.filePath("pieces/Merlot.bmp"));
    }
    ~TTestFolder() {
        SetErrorHandler({});
        SetProgramFolder({});
    }
    bool Write(const QString& relative, const QStringList& lines) {
        return WriteTextLines(ProgramPath(relative), lines);
    }
    QStringList Read(const QString& relative) const {
        QStringList lines;
        ReadTextLines(ProgramPath(relative), lines);
        return lines;
    }
    // al.dat and the profiles named in the map.
    bool Prepare(const QStringList& al, const QMap<QString, QStringList>& profiles) {
        bool ok = Write("al.dat", al);
        for (auto it = profiles.begin(); it != profiles.end(); ++it)
            ok = Write("Settings/" + it.key(), it.value()) && ok;
        return ok;
    }
};
