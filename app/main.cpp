#include "about/ProgramIcon.h"
#include "app/Main1.h"
#include "app/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvina 3 ME");
    QApplication::setWindowIcon(ProgramIcon()); // every window shows the program's icon
    TProgram program;
    program.MainWindow().show();
    return app.exec();
}
