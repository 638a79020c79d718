// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-lobby: a lobby where Corvina players meet before a direct NetGame.
#include "net/lobby/LobbyProtocol.h"
#include "net/server/LobbyServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

// A thousand clients need more descriptors than the usual soft limit of 1024.
void RaiseDescriptorLimit() {
    rlimit r{};
    if (getrlimit(RLIMIT_NOFILE, &r) == 0 && r.rlim_cur < r.rlim_max) {
        r.rlim_cur = r.rlim_max;
        setrlimit(RLIMIT_NOFILE, &r);
    }
}

void Print(const QString& line) {
    std::fputs(qPrintable(line + '\n'), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("corvina-lobby");
    QCoreApplication::setApplicationVersion("3.0");

    QCommandLineParser cl;
    cl.setApplicationDescription(
        "A lobby where Corvina players meet: they identify, list each other, chat, and pair up "
        "for a direct NetGame.\n\nAdmin commands on standard input: list | say TEXT | "
        "kick NAME REASON | kick #N REASON | ban ADDRESS");
    cl.addHelpOption();
    cl.addVersionOption();
    const QCommandLineOption port({"p", "port"}, "TCP port to listen on (default 2469).", "PORT",
                                  "2469");
    const QCommandLineOption password("password", "Password players must give.", "TEXT");
    const QCommandLineOption bans("bans", "File of banned addresses, one per line.", "FILE");
    const QCommandLineOption maxClients("max-clients", "Most connections at once (default 1000).",
                                        "N", "1000");
    const QCommandLineOption perAddress(
        "max-per-address", "Most connections at once from one address (default 8).", "N", "8");
    const QCommandLineOption idleMinutes(
        "idle-minutes", "Close a player who has sent nothing for this long (default 30; 0: never).",
        "MINUTES", "30");
    // For tests and tools: shorter waits than a lobby people use would want.
    QCommandLineOption identifyTimeout("identify-timeout", "", "MS", "30000");
    QCommandLineOption pace("pace-ms", "", "MS", "20");
    QCommandLineOption idleMs("idle-ms", "", "MS");
    for (QCommandLineOption* hidden : {&identifyTimeout, &pace, &idleMs})
        hidden->setFlags(QCommandLineOption::HiddenFromHelp);
    cl.addOptions(
        {port, password, bans, maxClients, perAddress, idleMinutes, identifyTimeout, pace, idleMs});
    cl.process(app);

    TLobbyOptions o;
    bool ok = false;
    const uint p = cl.value(port).toUInt(&ok);
    if (!ok || p < 1 || p > 65535) {
        std::fprintf(stderr, "corvina-lobby: the port must be a number from 1 to 65535\n");
        return 2;
    }
    o.Port = static_cast<quint16>(p);
    const int m = cl.value(maxClients).toInt(&ok);
    if (!ok || m < 1) {
        std::fprintf(stderr, "corvina-lobby: --max-clients must be a positive number\n");
        return 2;
    }
    o.MaxClients = m;
    o.MaxPerAddress = cl.value(perAddress).toInt(&ok);
    if (!ok || o.MaxPerAddress < 1) {
        std::fprintf(stderr, "corvina-lobby: --max-per-address must be a positive number\n");
        return 2;
    }
    const int idle = cl.value(idleMinutes).toInt(&ok);
    if (!ok || idle < 0 || idle > 100000) {
        std::fprintf(stderr, "corvina-lobby: --idle-minutes must be a number from 0 to 100000\n");
        return 2;
    }
    o.IdleMs = cl.isSet(idleMs) ? std::max(0LL, cl.value(idleMs).toLongLong()) : idle * 60000LL;
    o.IdentifyTimeoutMs = std::max(100, cl.value(identifyTimeout).toInt());
    o.PaceMs = std::clamp(cl.value(pace).toInt(), 0, 1000);
    o.Password = cl.value(password);
    if (!LobbyProtocol::PasswordCanBeEntered(o.Password.toUtf8())) {
        std::fprintf(stderr, "corvina-lobby: a password that holds \",\" or ends in \", cannot be "
                             "entered: a player's identification would run it into the name\n");
        return 2;
    }
    o.BanFile = cl.value(bans);

    RaiseDescriptorLimit();
    TLobbyServer server(o);
    server.OnLog = Print;
    QString error;
    if (!server.Start(&error)) {
        std::fprintf(stderr, "corvina-lobby: %s\n", qPrintable(error));
        return 1;
    }

    // Admin commands, one per line. Standard input that ends (a service, /dev/null) simply
    // stops being read.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            server.Admin(QString::fromUtf8(pending.left(end)));
            pending.remove(0, end + 1);
        }
        if (pending.size() > 4096)
            pending.clear(); // no command is that long
    });
    return app.exec();
}
