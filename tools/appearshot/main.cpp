// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-appearshot: pictures of the main window under each background theme and of each
// appearance and settings dialog, for looking at them.
//   corvina-appearshot OUTDIR PREFIX
#include "app/Colors1.h"
#include "app/LoadSet.h"
#include "app/Main1.h"
#include "app/Options1.h"
#include "app/PieceSet1.h"
#include "app/Program.h"
#include "app/Theme1.h"
#include "common/ProgramFolder.h"
#include "tools/ShotFile.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvina-appearshot OUTDIR PREFIX\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.show();
    QTest::qWait(300);
    bool ok = true;
    TfrmTheme& theme = program.ThemeDialog();
    for (int i = 0; i < TfrmTheme::ThemeCount; ++i) {
        theme.SelectIndex(i);
        theme.cmdApplyClick();
        ok = SaveGrab(w, out.filePath(prefix + "main-" +
                                      QFileInfo(TfrmTheme::ThemeFile(i)).baseName() + ".png")) &&
             ok;
    }
    auto dialog = [&](QDialog& d, const char* name) {
        d.show();
        ok = SaveGrab(d, out.filePath(prefix + "dialog-" + name + ".png")) && ok;
        d.hide();
    };
    dialog(theme, "theme");
    dialog(program.ColorsDialog(), "colors");
    program.OptionsDialog().Fill();
    dialog(program.OptionsDialog(), "options");
    program.PieceSetDialog().Execute(ProgramPath("pieces"));
    program.PieceSetDialog().filelistClick(0);
    ok = SaveGrab(program.PieceSetDialog(), out.filePath(prefix + "dialog-pieceset.png")) && ok;
    program.PieceSetDialog().hide();
    program.LoadSetDialog().SetFolder(ProgramPath("Settings"));
    program.LoadSetDialog().Select(0);
    dialog(program.LoadSetDialog(), "loadset");
    return ok ? 0 : 1;
}
