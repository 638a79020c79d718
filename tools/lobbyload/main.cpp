// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-lobbyload: loads a corvina-lobby over loopback and prints what it measured.
//   corvina-lobbyload [--clients 1000] [--rounds 20] [--pairs 50] [--lobby PATH | --port N]
// It connects the clients, identifies them, has some of them list, sends chat lines one at
// a time and times their fan-out to every client, pairs players through create and join, and
// keeps one client that never reads. It prints connect time, the 50th and 99th percentile of
// the fan-out latency, lines lost, joins answered, whether the silent client was dropped,
// and the server's resident memory (when it started the server itself).
#include "net/lobby/LobbyProtocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace LobbyProtocol;

namespace {

QElapsedTimer Clock;

struct TClient {
    QTcpSocket S;
    bool Welcomed = false;
    int Rows = 0;
    int Joined = 0;
    std::vector<qint64> Latency; // per chat round, -1 until it arrives
};

void WaitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

long RssKb(qint64 pid) {
    QFile f(QString("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// User and system CPU the process has used, in milliseconds.
qint64 CpuMs(qint64 pid) {
    QFile f(QString("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> v = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (v.size() < 13)
        return -1;
    return (v[11].toLongLong() + v[12].toLongLong()) * 1000 / sysconf(_SC_CLK_TCK);
}

qint64 Percentile(std::vector<qint64> v, double p) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser cl;
    cl.addHelpOption();
    const QCommandLineOption clientsOpt("clients", "Clients.", "N", "1000");
    const QCommandLineOption roundsOpt("rounds", "Chat lines.", "N", "20");
    const QCommandLineOption pairsOpt("pairs", "Create/join pairs.", "N", "50");
    const QCommandLineOption lobbyOpt("lobby", "The corvina-lobby to start.", "PATH");
    const QCommandLineOption portOpt("port", "A lobby already running on 127.0.0.1.", "PORT");
    cl.addOptions({clientsOpt, roundsOpt, pairsOpt, lobbyOpt, portOpt});
    cl.process(app);
    const int n = std::max(2, cl.value(clientsOpt).toInt());
    const int rounds = std::max(1, cl.value(roundsOpt).toInt());
    const int pairs = std::clamp(cl.value(pairsOpt).toInt(), 0, n / 2);

    rlimit r{};
    if (getrlimit(RLIMIT_NOFILE, &r) == 0) {
        r.rlim_cur = r.rlim_max;
        setrlimit(RLIMIT_NOFILE, &r);
    }

    quint16 port = static_cast<quint16>(cl.value(portOpt).toUInt());
    QProcess server;
    if (port == 0) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
        probe.close();
        const QString exe = cl.isSet(lobbyOpt)
                                ? cl.value(lobbyOpt)
                                : QCoreApplication::applicationDirPath() + "/corvina-lobby";
        server.setProgram(exe);
        QStringList args{"--port", QString::number(port), "--max-clients", QString::number(n + 10)};
        // Every client comes from 127.0.0.1; a lobby that limits one address must allow that.
        QProcess help;
        help.start(exe, {"--help"});
        help.waitForFinished(5000);
        if (help.readAllStandardOutput().contains("--max-per-address"))
            args << "--max-per-address" << QString::number(n + 10);
        server.setArguments(args);
        server.setProcessChannelMode(QProcess::SeparateChannels);
        server.start();
        if (!server.waitForStarted(5000)) {
            std::fprintf(stderr, "cannot start %s\n", qPrintable(exe));
            return 1;
        }
        QThread::msleep(500);
    }
    Clock.start();

    // --- Connect and identify.
    std::vector<std::unique_ptr<TClient>> clients;
    std::vector<qint64> sentAt(static_cast<size_t>(rounds), 0);
    for (int i = 0; i < n; ++i) {
        auto c = std::make_unique<TClient>();
        TClient* p = c.get();
        p->Latency.assign(static_cast<size_t>(rounds), -1);
        QObject::connect(&p->S, &QTcpSocket::connected, &p->S, [p, i] {
            p->S.write(FormatIdentify("", "p" + QByteArray::number(i), "Load", "Master"));
        });
        QObject::connect(&p->S, &QTcpSocket::readyRead, &p->S, [p, &sentAt] {
            // The server paces its messages, so a read ends where a message does; several
            // messages in one read are told apart by their tags.
            const QByteArray in = p->S.readAll();
            const qint64 now = Clock.elapsed();
            if (in.contains("inf Welcome"))
                p->Welcomed = true;
            p->Rows += static_cast<int>(in.count("lst \""));
            p->Joined += static_cast<int>(in.count("djn "));
            qsizetype from = 0, at;
            while ((at = in.indexOf(">> R", from)) >= 0) {
                const qsizetype end = in.indexOf(';', at);
                if (end < 0)
                    break;
                const int k = in.mid(at + 4, end - at - 4).toInt();
                if (k >= 0 && k < static_cast<int>(p->Latency.size()) && p->Latency[k] < 0)
                    p->Latency[k] = now - sentAt[static_cast<size_t>(k)];
                from = end;
            }
        });
        p->S.connectToHost(QHostAddress::LocalHost, port);
        clients.push_back(std::move(c));
        if (i % 50 == 49)
            QCoreApplication::processEvents();
    }
    WaitUntil(
        [&] {
            return std::all_of(clients.begin(), clients.end(),
                               [](const auto& c) { return c->Welcomed; });
        },
        60000);
    const qint64 connectMs = Clock.elapsed();
    const auto welcomed =
        std::count_if(clients.begin(), clients.end(), [](const auto& c) { return c->Welcomed; });

    // --- One client that never reads again, with a small receive window.
    QTcpSocket silent;
    silent.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    silent.connectToHost(QHostAddress::LocalHost, port);
    silent.waitForConnected(5000);
    silent.write(FormatIdentify("", "silent", "Load", "Newbie"));
    silent.flush();
    silent.setReadBufferSize(1);

    // --- Ten clients list everybody.
    const qint64 cpuBefore = server.state() == QProcess::Running ? CpuMs(server.processId()) : -1;
    for (int i = 0; i < 10; ++i)
        clients[static_cast<size_t>(i)]->S.write(FormatGetList());
    WaitUntil([&] { return clients[9]->Rows >= n; }, 120000);
    const qint64 listMs = Clock.elapsed() - connectMs;
    const qint64 listCpuMs = cpuBefore >= 0 ? CpuMs(server.processId()) - cpuBefore : -1;

    // --- Chat fan-out: one line at a time from a different client each time.
    for (int round = 0; round < rounds; ++round) {
        TClient& from = *clients[static_cast<size_t>((round * 7) % n)];
        sentAt[static_cast<size_t>(round)] = Clock.elapsed();
        from.S.write(FormatSay("x", "R" + QByteArray::number(round) + ";" + QByteArray(60, 'z')));
        from.S.flush();
        const int k = round;
        WaitUntil(
            [&] {
                return std::all_of(clients.begin(), clients.end(), [k](const auto& c) {
                    return c->Latency[static_cast<size_t>(k)] >= 0;
                });
            },
            2000);
    }
    std::vector<qint64> all;
    long lost = 0;
    for (const auto& c : clients)
        for (qint64 l : c->Latency)
            l < 0 ? ++lost : (all.push_back(l), 0);

    // --- Pairs: the even one creates, the odd one lists and joins.
    for (int i = 0; i < pairs; ++i)
        clients[static_cast<size_t>(2 * i)]->S.write(FormatCreate());
    QThread::msleep(100);
    WaitUntil([] { return false; }, 300);
    for (int i = 0; i < pairs; ++i) {
        // Row 2i of a list the joiner has not asked for: the first list of client 2i+1 holds
        // every player in order of arrival. Clients below ten already hold one list.
        TClient& j = *clients[static_cast<size_t>(2 * i + 1)];
        if (2 * i + 1 >= 10) {
            j.S.write(FormatGetList());
        }
    }
    WaitUntil(
        [&] {
            for (int i = 0; i < pairs; ++i)
                if (clients[static_cast<size_t>(2 * i + 1)]->Rows < n)
                    return false;
            return true;
        },
        120000);
    for (int i = 0; i < pairs; ++i)
        clients[static_cast<size_t>(2 * i + 1)]->S.write(FormatJoin(2 * i));
    WaitUntil(
        [&] {
            for (int i = 0; i < pairs; ++i)
                if (clients[static_cast<size_t>(2 * i + 1)]->Joined == 0)
                    return false;
            return true;
        },
        10000);
    int joined = 0;
    for (int i = 0; i < pairs; ++i)
        joined += clients[static_cast<size_t>(2 * i + 1)]->Joined > 0;

    // The silent client has been sent every chat line and a list. Most clients leave; ten
    // keep the lobby talking (each under the flood limit) until the silent one's backlog is
    // too much for the server, for a minute at most: a lobby with a chat budget relays only
    // that much of it, so the backlog grows more slowly.
    for (size_t i = 11; i < clients.size(); ++i)
        clients[i]->S.abort();
    const QByteArray filler(900, 'f');
    QElapsedTimer fill;
    fill.start();
    int fillers = 0;
    // A client that does not read does not see the server close either: the server's log
    // tells (when this tool started the server; otherwise the socket's state is all there is).
    QByteArray log;
    const auto dropped = [&] {
        log += server.readAllStandardOutput();
        return log.contains("dropping silent") || silent.state() != QAbstractSocket::ConnectedState;
    };
    while (fill.elapsed() < 60000 && !dropped()) {
        clients[static_cast<size_t>(fillers % 10)]->S.write(FormatSay("x", filler));
        ++fillers;
        WaitUntil([] { return false; }, 8);
    }
    WaitUntil(dropped, 5000);
    const qint64 fillMs = fill.elapsed();
    const bool silentDropped = dropped();

    const long rss = server.state() == QProcess::Running ? RssKb(server.processId()) : -1;
    std::printf("clients                 %d (identified %lld)\n", n,
                static_cast<long long>(welcomed));
    std::printf("connect+identify        %lld ms\n", static_cast<long long>(connectMs));
    std::printf("players' list (%d rows) %lld ms for ten clients at once\n", n,
                static_cast<long long>(listMs));
    if (listCpuMs >= 0)
        std::printf("server CPU during lists %lld ms, %.0f %% of a core\n",
                    static_cast<long long>(listCpuMs),
                    100.0 * listCpuMs / std::max<qint64>(1, listMs));
    std::printf(
        "chat fan-out            %d lines x %d clients: p50 %lld ms, p99 %lld ms, max %lld ms\n",
        rounds, n, static_cast<long long>(Percentile(all, 0.5)),
        static_cast<long long>(Percentile(all, 0.99)),
        static_cast<long long>(all.empty() ? -1 : *std::max_element(all.begin(), all.end())));
    std::printf("chat lines lost         %ld\n", lost);
    std::printf("joins answered          %d of %d\n", joined, pairs);
    std::printf("silent client dropped   %s, after %d lines of 900 bytes (%lld ms)\n",
                silentDropped ? "yes" : "no", fillers, static_cast<long long>(fillMs));
    if (rss >= 0)
        std::printf("server resident memory  %.1f MB\n", rss / 1024.0);
    server.kill();
    server.waitForFinished(3000);
    return lost == 0 && welcomed == n ? 0 : 1;
}
