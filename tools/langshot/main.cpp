// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-langshot: pictures of the main window and of every dialog in the languages named by
// their index in lang/info.ini, for looking at them. The main window plays a few half-moves
// (captures, a check, castling) in each language so that its tallies and events show; the
// message boxes and the input prompt show the toolkit's standard buttons and a layout fault;
// each menu is pictured open.
//   corvina-langshot OUTDIR PREFIX INDEX...
#include "app/Main1.h"
#include "app/Program.h"
#include "app/ProgramTexts.h"
#include "board/ChessBrd.h"
#include "language/Language1.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"
#include "setup/New1.h"
#include "tools/ShotFile.h"

#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
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
        TNewGame game;
        game.Player1 = "Player1";
        game.Player2 = "Player2";
        game.ComputerBlack = false;
        w.Hook().ApplyNewGame(game);
        for (const char* move :
             {"e2e4", "d7d5", "e4d5", "d8d5", "g1f3", "d5e5", "f1e2", "c8g4", "e1g1"})
            w.Board()->PlayUserMove(ParseSquare(std::string(move, 2)), ParseSquare(move + 2));
        const QString file = QFileInfo(lang.CurrentFileName()).baseName();
        const QString stem = out.filePath(prefix + (file.isEmpty() ? "default" : file) + "-");
        ok = SaveGrab(w, stem + "main.png") && ok;
        for (QAction* title : w.menuBar()->actions()) {
            QMenu* menu = title->menu();
            menu->popup(w.mapToGlobal(QPoint(0, 0)));
            ok = SaveGrab(*menu, stem + menu->objectName() + ".png") && ok;
            menu->hide();
        }
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
        QMessageBox fault(QMessageBox::Critical, "Error", TfrmNew::LayoutFault(QString(64, ' ')),
                          QMessageBox::Ok, &w);
        QMessageBox question(QMessageBox::Question, "Corvina", ProgramTexts().EndNetGameQuestion,
                             QMessageBox::Yes | QMessageBox::No, &w);
        QInputDialog prompt(&w);
        prompt.setWindowTitle(ProgramText(TextIds::SaveSettingsCaption));
        prompt.setLabelText(ProgramText(TextIds::SaveSettingsLabel1));
        const std::pair<QWidget*, const char*> boxes[] = {
            {&fault, "fault"}, {&question, "question"}, {&prompt, "prompt"}};
        for (const auto& [box, name] : boxes) {
            box->show();
            ok = SaveGrab(*box, stem + name + ".png") && ok;
            box->hide();
        }
    }
    return ok ? 0 : 1;
}
