// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-lobbyshot: photographs the lobby at work. It starts corvina-lobby (from beside
// itself) on a free port, brings three players into it through real lobby windows, lists and
// chats, then pairs two main windows through the lobby and plays an opening move. It writes
//   OUT/lobby.png (a lobby window with players, chat and status), OUT/handover-white.png and
//   OUT/handover-black.png (the two main windows right after the hand-over).
//   corvina-lobbyshot OUT
// Run it under a real display (Xvfb) so the windows are drawn by the window system's style.
#include "app/Main1.h"
#include "app/Program.h"
#include "board/ChessBrd.h"
#include "netui/Client.h"
#include "netui/NetGame.h"
#include "netui/StartNetGame.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTcpServer>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

bool Wait(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

void Pause(int ms) {
    Wait([] { return false; }, ms);
}

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

void Enter(TfrmClient& l, const QString& name, const QString& region, int skill, quint16 port) {
    l.txtName->setText(name);
    l.txtPlace->setText(region);
    l.skill->setCurrentIndex(skill);
    l.ad->setText("127.0.0.1");
    l.port->setValue(port);
    l.show();
    l.cmdConnect->click();
    Wait([&] { return l.Connection().IsConnected(); });
    Pause(150);
}

void Say(TfrmClient& l, const QString& text) {
    l.say->setText(text);
    l.cmdSay->click();
    Pause(200);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : ".";
    const quint16 port = FreePort();
    QProcess lobby;
    lobby.start(QCoreApplication::applicationDirPath() + "/corvina-lobby",
                {"--port", QString::number(port)});
    if (!lobby.waitForStarted(5000))
        return 1;
    Pause(500);

    TfrmCorvina white, black;
    white.move(0, 0);
    black.move(640, 0);
    white.show();
    black.show();
    TfrmClient whiteLobby(&white), blackLobby(&black), third;
    ConnectLobby(whiteLobby, *white.NetGame());
    ConnectLobby(blackLobby, *black.NetGame());
    const quint16 netPort = FreePort();
    white.NetGame()->Connection().SetPort(netPort);
    black.NetGame()->Connection().SetPort(netPort);
    white.NetGame()->StartDialog().txtName->setText("Marta Kowalska");
    black.NetGame()->StartDialog().txtName->setText("Jonas \"JB\" Berg");

    Enter(third, "Ana Souza", "Porto Alegre, Brasil", 2, port);
    Enter(whiteLobby, "Marta Kowalska", "Kraków, Polska", 3, port);
    Enter(blackLobby, "Jonas \"JB\" Berg", "Uppsala", 1, port);
    blackLobby.move(200, 120);
    Say(third, "Hi all! Anyone up for a game?");
    Say(whiteLobby, "Hello Ana, I'll open a table in a moment.");
    whiteLobby.cmdCreate->click();
    Pause(300);
    Say(blackLobby, "I'll take it, Marta — good luck!");
    blackLobby.cmdGetList->click();
    Wait([&] { return blackLobby.plist->count() >= 3; });
    blackLobby.plist->setCurrentRow(1);
    Pause(300);
    blackLobby.raise();
    blackLobby.activateWindow();
    Pause(300);
    bool ok = blackLobby.grab().save(out + "/lobby.png");

    blackLobby.cmdJoin->click();
    ok = Wait([&] {
             return white.NetGame()->State() == TNetGame::TState::Playing &&
                    black.NetGame()->State() == TNetGame::TState::Playing;
         }) &&
         ok;
    Pause(500);
    white.Board()->PlayUserMove(ParseSquare("e2"), ParseSquare("e4"));
    Wait([&] { return black.Board()->Position() == white.Board()->Position(); });
    Pause(700);
    ok = white.grab().save(out + "/handover-white.png") && ok;
    ok = black.grab().save(out + "/handover-black.png") && ok;
    std::printf("%s: lobby.png, handover-white.png, handover-black.png in %s\n",
                ok ? "ok" : "FAILED", qPrintable(out));
    lobby.kill();
    lobby.waitForFinished(3000);
    return ok ? 0 : 1;
}
