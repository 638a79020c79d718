// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-aboutshot PREFIX [SECONDS]
// Opens the about box as the game does (for instance under Xvfb with DISPLAY set), saves the
// screen as PREFIX-1.png after three seconds of scrolling and PREFIX-2.png after SECONDS more
// (10 by default), with the box alone at twice its size as PREFIX-box-1.png and -box-2.png,
// and prints the processor time the process used in between, as a share of
// one core, with the number of frames the credits painted.
// corvina-aboutshot --demo OUT.png saves the credits control with its default settings and
// demonstration text, standing still, at twice its size.
#include "about/AboutBox.h"
#include "about/Credits.h"
#include "about/ProgramIcon.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class PaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++Paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The whole screen, and the box alone at twice its size for a close look.
bool SaveScreen(const QString& prefix, int n, QWidget& box) {
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const QImage alone = box.grab().toImage();
    return screen.save(QString("%1-%2.png").arg(prefix).arg(n)) &&
           alone.scaled(alone.size() * 2).save(QString("%1-box-%2.png").arg(prefix).arg(n));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: corvina-aboutshot PREFIX [SECONDS] | --demo OUT.png\n");
        return 2;
    }
    if (args.size() == 3 && args[1] == "--demo") {
        // The control on its own with its defaults, standing still, at twice its size.
        TScrollingCredits demo;
        const QImage img = demo.grab().toImage();
        return img.scaled(img.size() * 2).save(args[2]) ? 0 : 1;
    }
    const QString prefix = args[1];
    bool ok = true;
    const int seconds = args.size() == 3 ? args[2].toInt(&ok) : 10;
    if (!ok || seconds < 1 || seconds > 600) {
        std::fprintf(stderr, "corvina-aboutshot: SECONDS must be 1 to 600\n");
        return 2;
    }
    QApplication::setWindowIcon(ProgramIcon());

    TAboutBox box;
    PaintCounter counter;
    box.cred->installEventFilter(&counter);
    bool saved = true;
    double cpuStart = 0;
    int paintsStart = 0;
    QElapsedTimer wall;

    QTimer::singleShot(3000, &box, [&] {
        saved &= SaveScreen(prefix, 1, box);
        cpuStart = CpuSeconds();
        paintsStart = counter.Paints;
        wall.start();
        QTimer::singleShot(seconds * 1000, &box, [&] {
            const double cpu = CpuSeconds() - cpuStart;
            const double elapsed = wall.nsecsElapsed() / 1e9;
            const int paints = counter.Paints - paintsStart;
            saved &= SaveScreen(prefix, 2, box);
            std::printf("open about box: %.2f s of processor in %.2f s = %.2f %% of one core\n",
                        cpu, elapsed, 100.0 * cpu / elapsed);
            std::printf("credits frames painted: %d (%.1f per second)\n", paints, paints / elapsed);
            box.OKButton->click();
        });
    });
    box.Execute();
    if (!saved) {
        std::fprintf(stderr, "corvina-aboutshot: could not save the screenshots\n");
        return 1;
    }
    std::printf("saved %s-1.png, %s-2.png and the box alone, twice its size, as %s-box-1.png "
                "and %s-box-2.png\n",
                qPrintable(prefix), qPrintable(prefix), qPrintable(prefix), qPrintable(prefix));
    return 0;
}
