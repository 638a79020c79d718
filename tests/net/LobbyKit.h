// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real corvina-lobby, started as a process on a free loopback port, its log read and its
// admin commands typed on its standard input.
#include <QProcess>
#include <QTcpServer>
#include <QtTest>

class TLobbyProcess {
public:
    ~TLobbyProcess() { Stop(); }

    bool Start(const QStringList& extra = {}) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return false;
        Port = probe.serverPort();
        probe.close();
        P.setProgram(CORVINA_LOBBY_EXE);
        P.setArguments(QStringList{"--port", QString::number(Port)} + extra);
        P.setProcessChannelMode(QProcess::SeparateChannels);
        QObject::connect(&P, &QProcess::readyReadStandardOutput, &P,
                         [this] { Log += QString::fromUtf8(P.readAllStandardOutput()); });
        P.start();
        if (!P.waitForStarted(10000))
            return false;
        return WaitFor("listening on port");
    }
    void Stop() {
        if (P.state() == QProcess::NotRunning)
            return;
        P.closeWriteChannel();
        P.kill();
        P.waitForFinished(5000);
    }
    void Admin(const QString& line) { P.write((line + '\n').toUtf8()); }
    bool WaitFor(const QString& text, int ms = 30000) {
        QElapsedTimer t;
        t.start();
        while (!Log.contains(text) && t.elapsed() < ms)
            QTest::qWait(20);
        return Log.contains(text);
    }

    QProcess P;
    quint16 Port = 0;
    QString Log;
};
