// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-langshot: pictures of the main window and of every dialog in the languages named by
// their index in lang/info.ini, for looking at them.
//   corvina-langshot OUTDIR PREFIX INDEX...
#include "app/Main1.h"
#include "app/Program.h"
#include "language/Language1.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"
#include "setup/New1.h"
#include "tools/ShotFile.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QSet>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: corvina-langshot OUTDIR PREFIX INDEX...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.Hook().SetCapturedPane(true, false); // the captured-pieces pane with its labels
    w.show();
    QTest::qWait(300);
    TfrmLang& lang = program.LanguageDialog();
    bool ok = true;
    for (int a = 3; a < argc; ++a) {
        const int index = QString::fromLocal8Bit(argv[a]).toInt();
        lang.SelectIndex(index);
        lang.cmdApplyClick();
        const QString file = QFileInfo(lang.CurrentFileName()).baseName();
        const QString stem = out.filePath(prefix + (file.isEmpty() ? "default" : file) + "-");
        ok = SaveGrab(w, stem + "main.png") && ok;
        QSet<QWidget*> dialogs;
        for (const TTextEntry& e : LanguageTable()) {
            QWidget* d = LanguageTargets().FindWindow(e.Window);
            if (d && d != &w)
                dialogs.insert(d);
        }
        for (QWidget* d : dialogs) {
            d->show();
            ok = SaveGrab(*d, stem + d->objectName() + ".png") && ok;
            if (d == &program.NewGameDialog()) {
                program.NewGameDialog().cmdSwitchClick();
                ok = SaveGrab(*d, stem + d->objectName() + "-expanded.png") && ok;
                program.NewGameDialog().cmdSwitchClick();
            }
            d->hide();
        }
    }
    return ok ? 0 : 1;
}
