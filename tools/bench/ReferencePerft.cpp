// SPDX-License-Identifier: GPL-3.0-or-later
// The reference engine's perft time, for `corvina-bench speed`: both counts run on the same
// machine in the same minute, so their ratio means something where the times alone do not.
// The engine is started and made ready first; only the perft itself is timed.
#include "tools/bench/Commands.h"

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <chrono>

namespace {

// Seconds to wait for any one answer; a perft 6 takes about one.
constexpr int AnswerTimeoutMs = 120000;

// Reads lines until one starts with `prefix`; the line, or an empty array on timeout or exit.
QByteArray WaitForLine(QProcess& process, const QByteArray& prefix) {
    for (;;) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line.startsWith(prefix))
                return line;
        }
        if (process.state() != QProcess::Running || !process.waitForReadyRead(AnswerTimeoutMs))
            return {};
    }
}

} // namespace

long long ReferencePerftMilliseconds(int depth, unsigned long long leaves, std::string& note) {
    QString program = QStandardPaths::findExecutable("stockfish");
    if (program.isEmpty())
        program = QStandardPaths::findExecutable("stockfish", {"/usr/games"});
    if (program.isEmpty()) {
        note = "not installed";
        return -1;
    }
    QProcess process;
    process.start(program, QStringList());
    if (!process.waitForStarted()) {
        note = "could not be started";
        return -1;
    }
    process.write("uci\nisready\n");
    if (WaitForLine(process, "readyok").isEmpty()) {
        note = "did not answer";
        process.kill();
        process.waitForFinished();
        return -1;
    }
    const auto start = std::chrono::steady_clock::now();
    process.write("position startpos\ngo perft " + QByteArray::number(depth) + "\n");
    const QByteArray answer = WaitForLine(process, "Nodes searched");
    const auto stop = std::chrono::steady_clock::now();
    process.write("quit\n");
    if (!process.waitForFinished(AnswerTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    if (answer.isEmpty()) {
        note = "did not answer";
        return -1;
    }
    if (answer.mid(answer.indexOf(':') + 1).trimmed().toULongLong() != leaves) {
        note = "counted " + answer.toStdString() + ", not " + std::to_string(leaves);
        return -1;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(stop - start).count();
}
