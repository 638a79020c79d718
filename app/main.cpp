#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvina 3 ME");
    QLabel placeholder("Corvina 3 Meridian Edition\n\nThe rules are in place; the board window "
                       "arrives with the next build.");
    placeholder.setAlignment(Qt::AlignCenter);
    placeholder.resize(480, 200);
    placeholder.setWindowTitle("Corvina 3 Meridian Edition");
    placeholder.show();
    return app.exec();
}
