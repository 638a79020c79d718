// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-netdemo: one player of a NetGame demonstration. It opens the real main window, starts
// a NetGame through the NetGame menu and the start dialog, and plays its side of a given game by
// dragging the pieces with the mouse whenever its board lets it, saying chat lines on the way.
// tools/netdemo/run_netdemo.sh starts two of these under a virtual display and photographs them.
//
//   corvina-netdemo --server|--client --port P --player NAME [--address A] [--at X,Y]
//                   --moves "e2e4 e7e5 ..." [--say PLY:TEXT]... [--sync DIR --pause-at PLY]
//
// (Not --name: the X11 platform takes that one for itself.) With --sync, the player writes
// DIR/NAME.ready once the move list holds PLY lines and waits for DIR/go; at the end of the game it
// writes DIR/NAME.done and waits for DIR/quit. The port is set through the NetGame's internal
// setter, which only tools and tests use.
#include "app/Main1.h"
#include "board/ChessBrd.h"
#include "netui/NetGame.h"
#include "netui/StartNetGame.h"
#include "tests/mainwindow/WindowParts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>
#include <map>

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                   type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}

// Drags a piece as the hand would: press, lift past the drag distance, carry, drop.
void Drag(TChessBrd* board, const QString& move) {
    const std::string m = move.toStdString();
    const QPoint a = board->SquareRect(ParseSquare(m.substr(0, 2))).center();
    const QPoint b = board->SquareRect(ParseSquare(m.substr(2, 2))).center();
    Send(board, QEvent::MouseButtonPress, a, Qt::LeftButton);
    Send(board, QEvent::MouseMove, a + QPoint(10, 0), Qt::LeftButton);
    Send(board, QEvent::MouseMove, (a + b) / 2, Qt::LeftButton);
    Send(board, QEvent::MouseMove, b, Qt::LeftButton);
    Send(board, QEvent::MouseButtonRelease, b, Qt::NoButton);
}

int MoveCount(const TfrmCorvina& w) {
    const QString text = Ctl<QPlainTextEdit>(w, "status")->toPlainText();
    return text.isEmpty() ? 0 : static_cast<int>(text.split('\n').size());
}

void CloseBoxes(TfrmCorvina& w, const char* who) {
    for (QMessageBox* box : w.findChildren<QMessageBox*>())
        if (box->isVisible()) {
            std::printf("%s: box \"%s\" %s\n", who, qPrintable(box->text()),
                        qPrintable(box->detailedText()));
            box->close();
        }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvina 3 ME");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    bool server = true;
    quint16 port = 2468;
    QString name = "Player1";
    QString address = "127.0.0.1";
    QPoint at(0, 0);
    QStringList moves;
    std::multimap<int, QString> say;
    QString sync;
    int pauseAt = -1;
    for (int i = 1; i < argc; ++i) {
        const QString a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--server" || a == "--client")
            server = a == "--server";
        else if (a == "--port" && more)
            port = static_cast<quint16>(QString(argv[++i]).toUInt());
        else if (a == "--player" && more)
            name = argv[++i];
        else if (a == "--address" && more)
            address = argv[++i];
        else if (a == "--at" && more) {
            const QStringList xy = QString(argv[++i]).split(',');
            at = QPoint(xy.value(0).toInt(), xy.value(1).toInt());
        } else if (a == "--moves" && more)
            moves = QString(argv[++i]).split(' ', Qt::SkipEmptyParts);
        else if (a == "--say" && more) {
            const QString s = argv[++i];
            say.emplace(s.section(':', 0, 0).toInt(), s.section(':', 1));
        } else if (a == "--sync" && more)
            sync = argv[++i];
        else if (a == "--pause-at" && more)
            pauseAt = QString(argv[++i]).toInt();
        else {
            std::fprintf(stderr, "corvina-netdemo: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    const QByteArray who = name.toUtf8();

    TfrmCorvina w;
    w.move(at);
    w.show();
    w.NetGame()->Connection().SetPort(port);

    auto start = [&] {
        Ctl<QAction>(w, "mnuStartNetGame")->trigger();
        TfrmStartNetGame& d = w.NetGame()->StartDialog();
        d.txtName->setText(name);
        (server ? d.rgConServer : d.rgConClient)->click();
        d.txtIP->setText(address);
        d.cmdStart->click();
    };
    start();

    enum class Phase { Connecting, Playing, Paused, Done, Quitting };
    Phase phase = Phase::Connecting;
    QElapsedTimer sinceAction;
    sinceAction.start();
    int attempts = 1;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const int ply = MoveCount(w);
        switch (phase) {
        case Phase::Connecting:
            if (w.NetGame()->State() == TNetGame::TState::Playing) {
                std::printf("%s: connected\n", who.constData());
                phase = Phase::Playing;
                sinceAction.restart();
            } else if (!server && w.NetGame()->State() == TNetGame::TState::Waiting &&
                       w.findChild<QMessageBox*>() && sinceAction.elapsed() > 500) {
                // The host is not listening yet: try again.
                CloseBoxes(w, who.constData());
                Ctl<QAction>(w, "mnuEndNetGame")->trigger();
                if (++attempts > 40)
                    app.exit(1);
                start();
                sinceAction.restart();
            }
            return;
        case Phase::Playing:
            if (w.NetGame()->State() != TNetGame::TState::Playing) {
                std::printf("%s: the game ended early\n", who.constData());
                CloseBoxes(w, who.constData());
                app.exit(1);
                return;
            }
            for (auto it = say.begin(); it != say.end();) {
                if (it->first > ply) {
                    ++it;
                    continue;
                }
                Ctl<QLineEdit>(w, "txtmsg")->setText(it->second);
                Ctl<QPushButton>(w, "cmdSay")->click();
                it = say.erase(it);
            }
            if (!sync.isEmpty() && ply == pauseAt) {
                QFile(sync + "/" + name + ".ready").open(QIODevice::WriteOnly);
                std::printf("%s: paused at ply %d\n", who.constData(), ply);
                phase = Phase::Paused;
                return;
            }
            if (ply >= moves.size()) {
                std::printf("%s: game over after %d half-moves; moves sent %d, received %d "
                            "(%d played as half-moves), chat lines sent %d, received %d\n",
                            who.constData(), ply, w.NetGame()->Counts().MovesSent,
                            w.NetGame()->Counts().MovesReceived, w.NetGame()->Counts().MovesPlayed,
                            w.NetGame()->Counts().ChatsSent, w.NetGame()->Counts().ChatsReceived);
                if (!sync.isEmpty())
                    QFile(sync + "/" + name + ".done").open(QIODevice::WriteOnly);
                phase = Phase::Done;
                return;
            }
            if (w.Board()->isEnabled() && w.Board()->WhiteToMove() == server &&
                sinceAction.elapsed() > 700) {
                Drag(w.Board(), moves[ply]);
                sinceAction.restart();
            }
            return;
        case Phase::Paused:
            if (QFile::exists(sync + "/go")) {
                pauseAt = -1;
                phase = Phase::Playing;
            }
            return;
        case Phase::Done:
            if (sync.isEmpty() || QFile::exists(sync + "/quit")) {
                if (server)
                    Ctl<QAction>(w, "mnuEndNetGame")->trigger();
                phase = Phase::Quitting;
                sinceAction.restart();
            }
            return;
        case Phase::Quitting:
            if (sinceAction.elapsed() > 1500) {
                CloseBoxes(w, who.constData());
                app.exit(0);
            }
            return;
        }
    });
    tick.start(100);
    std::fflush(stdout);
    return app.exec();
}
