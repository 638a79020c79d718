// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A temporary program folder for the language tests: the default profile and piece set, the
// challenge list, and language files written by each test; the real program's windows are
// created over it once the files are in place.
#include "app/Main1.h"
#include "app/Program.h"
#include "language/Language1.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"
#include "tests/mainwindow/TestFolder.h"

#include <QAction>
#include <QFile>

#include <memory>

struct TLanguageFolder : TTestFolder {
    std::unique_ptr<TProgram> Program;

    TLanguageFolder() {
        QDir().mkpath(Dir.filePath("lang"));
        QFile::copy(CORVINA_DATA_DIR "/chlist.dat", Dir.filePath("chlist.dat"));
        Prepare({"Default"}, {{"Default", DefaultProfile}});
    }
    ~TLanguageFolder() { Program.reset(); }

    bool WriteBytes(const QString& relative, const QByteArray& bytes) {
        QFile f(ProgramPath(relative));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    // lang/info.ini naming each language's file, in order.
    bool WriteList(const QList<QPair<QString, QString>>& languages) {
        QStringList lines;
        for (const auto& [name, file] : languages)
            lines << "[" + name + "]"
                  << "data=" + file;
        return Write("lang/info.ini", lines);
    }
    void Start() { Program = std::make_unique<TProgram>(); }
    TfrmCorvina& Main() const { return Program->MainWindow(); }
    TfrmLang& Lang() const { return Program->LanguageDialog(); }
    void Apply(int index) {
        Lang().SelectIndex(index);
        Lang().cmdApplyClick();
    }
};

// What a target shows now; empty where it is not there.
inline QString Shown(const char* window, const char* target, int item = -1) {
    return LanguageTargets().Text(window, target, item);
}

inline QString MenuItem(const TfrmCorvina& main, const char* name) {
    auto* a = main.findChild<QAction*>(name);
    return a ? a->text() : QString("<no %1>").arg(name);
}
