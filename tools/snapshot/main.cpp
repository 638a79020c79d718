// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-snapshot: opens the real main window, plays the given half-moves, optionally holds a
// piece half-way through a drag, and saves a picture of the whole screen. For looking at the
// program under a virtual X display:
//   corvina-snapshot OUT.png [--drag e2e4] [--depth N] [--human] [--computer-white]
//                    [--stay SECONDS] [--challenge N]
//                    [--dialog basic|advanced|pieceset|loadset]
//                    [--player2 NAME] [--load FILE] [--delay MS] [--fen FEN]
//                    [--click SQUARE]... [--at X,Y] [--trigger ITEM]...
//                    [--save-settings NAME] [--clock SECONDS+INCREMENT] [--wait MS] MOVE...
// --computer-white hands White to the computer once the moves are played; --stay keeps the
// window open that long after the picture, for measuring the program at rest; --delay sets
// the board's AnimationDelay (milliseconds per pixel of a slide); --fen starts from a layout
// (with --human); each --click clicks a square once the moves are played, in order; --at
// places the window's frame at X,Y once it is shown; each --trigger runs a menu item of the
// main window by its name (mnuCPieces, mnuHelpTopics...) and --save-settings saves the
// settings under NAME, with the picture taken while the box they open, if any, is up;
// --clock starts the game under that time control (in seconds, so that a flag can fall soon)
// and --wait takes the picture that many milliseconds after the moves instead of 600.
#include "app/Main1.h"
#include "app/Program.h"
#include "board/ChessBrd.h"
#include "chess/Fen.h"
#include "setup/New1.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                   type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvina 3 ME");
    if (argc < 2) {
        std::fprintf(stderr, "usage: corvina-snapshot OUT.png [--drag e2e4] [--human] MOVE...\n");
        return 2;
    }
    const QString out = argv[1];
    QString drag;
    bool human = false;
    bool computerWhite = false;
    int depth = 0;
    int stay = 0;
    int challenge = 0;
    int delay = -1;
    QString dialog;
    QString player2;
    QString load;
    QStringList moves;
    QString fen;
    QStringList clicks;
    QString clock;
    int wait = 600;
    // --at, --trigger and --save-settings, run in the order given once the window is up.
    QStringList steps;
    for (int i = 2; i < argc; ++i) {
        const QString a = argv[i];
        if (a == "--drag" && i + 1 < argc)
            drag = argv[++i];
        else if (a == "--depth" && i + 1 < argc)
            depth = QString(argv[++i]).toInt();
        else if (a == "--human")
            human = true;
        else if (a == "--computer-white")
            computerWhite = true;
        else if (a == "--dialog" && i + 1 < argc)
            dialog = argv[++i];
        else if (a == "--challenge" && i + 1 < argc)
            challenge = QString(argv[++i]).toInt();
        else if (a == "--player2" && i + 1 < argc)
            player2 = argv[++i];
        else if (a == "--load" && i + 1 < argc)
            load = argv[++i];
        else if (a == "--delay" && i + 1 < argc)
            delay = QString(argv[++i]).toInt();
        else if (a == "--fen" && i + 1 < argc)
            fen = argv[++i];
        else if (a == "--click" && i + 1 < argc)
            clicks << argv[++i];
        else if (a == "--trigger" && i + 1 < argc)
            steps << a << argv[++i];
        else if ((a == "--save-settings" || a == "--at") && i + 1 < argc)
            steps << a << argv[++i];
        else if (a == "--clock" && i + 1 < argc)
            clock = argv[++i];
        else if (a == "--wait" && i + 1 < argc)
            wait = QString(argv[++i]).toInt();
        else if (a == "--stay" && i + 1 < argc)
            stay = QString(argv[++i]).toInt();
        else
            moves << a;
    }
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    TfrmNew& frmNew = program.NewGameDialog();
    if (human)
        w.Board()->SetComputerPlaysBlack(false);
    if (depth > 0)
        w.Board()->SetSearchDepth(depth);
    if (delay >= 0)
        w.Board()->SetAnimationDelay(delay);
    w.move(60, 40);
    w.show();
    if (!clock.isEmpty()) {
        TNewGame game;
        game.Player1 = w.Hook().Player1();
        game.Player2 = w.Hook().Player2();
        game.ComputerBlack = !human;
        game.Clock = {clock.section('+', 0, 0).toInt(), clock.section('+', 1, 1).toInt()};
        w.Hook().ApplyNewGame(game);
    }
    if (!fen.isEmpty() && !LoadFen(*w.Board(), fen.toStdString()))
        std::fprintf(stderr, "not a FEN: %s\n", qPrintable(fen));
    if (challenge > 0) {
        w.Hook().Trigger("mnuChallenges");
        for (int i = 1; i < challenge; ++i)
            w.Hook().Trigger("mnuNextCh");
    }
    if (!player2.isEmpty())
        w.Hook().SetPlayer2(player2);
    if (!steps.isEmpty()) {
        QTimer::singleShot(1500, [&] {
            const bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(out);
            std::printf("%s %s: window frame at %d,%d, %dx%d\n", ok ? "saved" : "could not save",
                        qPrintable(out), w.frameGeometry().x(), w.frameGeometry().y(),
                        w.frameGeometry().width(), w.frameGeometry().height());
            QTimer::singleShot(0, [&app, ok] { app.exit(ok ? 0 : 1); });
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QDialog*>(top); box && box->isVisible())
                    box->reject();
            for (QDialog* box : w.findChildren<QDialog*>())
                if (box->isVisible())
                    box->reject();
        });
        QTimer::singleShot(300, [&] {
            for (qsizetype i = 0; i + 1 < steps.size(); i += 2) {
                const QString& value = steps[i + 1];
                if (steps[i] == "--at") {
                    w.move(value.section(',', 0, 0).toInt(), value.section(',', 1, 1).toInt());
                } else if (steps[i] == "--save-settings") {
                    w.Hook().SaveSettingsAs(value);
                } else if (auto* item = w.findChild<QAction*>(value)) {
                    item->trigger();
                }
                QApplication::processEvents();
            }
        });
        return app.exec();
    }
    // A picture of whatever stands on the screen in 900 ms, message boxes and dialogs
    // included, which then close, and the program with them.
    auto grabSoonAndQuit = [&] {
        QTimer::singleShot(900, [&] {
            const bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(out);
            std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(out));
            QTimer::singleShot(0, [&app, ok] { app.exit(ok ? 0 : 1); });
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QDialog*>(top); box && box->isVisible())
                    box->reject();
        });
    };
    if (!load.isEmpty()) {
        // The picture is taken while the load's message, if any, is on the screen.
        grabSoonAndQuit();
        w.Hook().LoadGameFrom(load);
        return app.exec();
    }
    if (dialog == "pieceset" || dialog == "loadset") {
        // The settings dialogs as the menu opens them.
        grabSoonAndQuit();
        if (dialog == "pieceset")
            w.Hook().Trigger("mnuSet");
        else
            w.Hook().Trigger("mnuLoadSet");
        return app.exec();
    }
    if (!dialog.isEmpty()) {
        // The new-game dialog with a small layout on its editor board.
        if (dialog == "advanced") {
            frmNew.cmdSwitchClick();
            frmNew.board->SetPosition(std::string(6, ' ') + "k" + std::string(14, ' ') + "p" +
                                      std::string(28, ' ') + "Q" + std::string(5, ' ') + "PP" +
                                      std::string(5, ' ') + "K ");
        }
        QTimer::singleShot(900, [&] {
            const bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(out);
            std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(out));
            frmNew.reject();
            QTimer::singleShot(0, [&app, ok] { app.exit(ok ? 0 : 1); });
        });
        w.Hook().Trigger("mnuNew");
        return app.exec();
    }
    int next = 0;
    QTimer step;
    QObject::connect(&step, &QTimer::timeout, [&] {
        if (w.Board()->Thinking())
            return;
        if (next < moves.size()) {
            const std::string m = moves[next].toStdString();
            const Square from = ParseSquare(m.substr(0, 2));
            const Square to = ParseSquare(m.substr(2, 2));
            // The computer's own replies are skipped when they are in the list too.
            if (w.Board()->At(from) != ' ' && w.Board()->IsLegalMove(from, to))
                w.Board()->PlayUserMove(from, to);
            ++next;
            return;
        }
        step.stop();
        for (const QString& c : clicks) {
            const QPoint at = w.Board()->SquareRect(ParseSquare(c.toStdString())).center();
            Send(w.Board(), QEvent::MouseButtonPress, at, Qt::LeftButton);
            Send(w.Board(), QEvent::MouseButtonRelease, at, Qt::NoButton);
        }
        if (computerWhite)
            w.Board()->SetComputerPlaysWhite(true);
        if (!drag.isEmpty()) {
            const std::string m = drag.toStdString();
            const QPoint a = w.Board()->SquareRect(ParseSquare(m.substr(0, 2))).center();
            const QPoint b = w.Board()->SquareRect(ParseSquare(m.substr(2, 2))).center();
            Send(w.Board(), QEvent::MouseButtonPress, a, Qt::LeftButton);
            Send(w.Board(), QEvent::MouseMove, a + QPoint(8, 0), Qt::LeftButton);
            Send(w.Board(), QEvent::MouseMove, (a + b) / 2 + QPoint(9, 7), Qt::LeftButton);
        }
        QTimer::singleShot(wait, [&] {
            const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
            const bool ok = shot.save(out);
            std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(out));
            QTimer::singleShot(stay * 1000, [&app, ok] { app.exit(ok ? 0 : 1); });
        });
    });
    step.start(400);
    return app.exec();
}
