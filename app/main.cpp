#include "app/Main1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvina 3 ME");
    TfrmCorvina frmCorvina;
    frmCorvina.show();
    return app.exec();
}
