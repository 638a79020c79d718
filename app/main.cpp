// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/ProgramIcon.h"
#include "app/Main1.h"
#include "app/Program.h"
#include "common/ProgramFolder.h"
#include "common/UserFolder.h"
#include "uikit/MessageBox.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvina 3 ME");
    QApplication::setWindowIcon(ProgramIcon()); // every window shows the program's icon
    // The installation test sets CORVINA_TEST_QUIT_AFTER_START: the program then writes its
    // warnings to standard error instead of a message box, prints the program folder and
    // quits after its start-up step, so that a script can check what start-up did.
    const bool quitAfterStart = qEnvironmentVariableIsSet("CORVINA_TEST_QUIT_AFTER_START");
    const QString folder = PrepareProgramFolder(
        ReadFolderFacts(QCoreApplication::applicationDirPath()), [&](const QString& text) {
            if (quitAfterStart)
                std::fprintf(stderr, "%s\n", qPrintable(text));
            else
                NewMessageBox(QMessageBox::Warning, "Corvina", text, nullptr)->exec();
        });
    SetProgramFolder(folder);
    TProgram program;
    if (quitAfterStart) {
        TfrmCorvina& main = program.MainWindow();
        // The check compares the folder before and after: this run leaves no settings behind.
        main.KeepLastUsed = false;
        main.OnStartUpStep = [step = main.OnStartUpStep, folder](int language, int theme) {
            if (step)
                step(language, theme);
            std::printf("program folder: %s\n", qPrintable(folder));
            QCoreApplication::quit();
        };
    }
    program.MainWindow().show();
    return app.exec();
}
