// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ucimatch/UciMatch.h"

#include "chess/Pgn.h"
#include "chess/San.h"

#include <QElapsedTimer>

bool TUciProcess::Start(const TMatchPlayer& player, QString& error) {
    Process_ = std::make_unique<QProcess>();
    Process_->setProcessChannelMode(QProcess::SeparateChannels);
    Process_->start(player.Program, {});
    if (!Process_->waitForStarted(10000)) {
        error = player.Program + " did not start";
        return false;
    }
    Send("uci");
    if (WaitFor("uciok", 10000).isEmpty()) {
        error = player.Program + " did not answer uci";
        return false;
    }
    for (const QString& line : player.Setup)
        Send(line);
    Send("isready");
    if (WaitFor("readyok", 10000).isEmpty()) {
        error = player.Program + " did not answer isready";
        return false;
    }
    return true;
}

void TUciProcess::Send(const QString& line) {
    if (Log)
        Log->append(Tag + "> " + line);
    Process_->write(line.toUtf8() + '\n');
    Process_->waitForBytesWritten(1000);
}

QString TUciProcess::WaitFor(const QString& prefix, int ms) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qsizetype end = Pending_.indexOf('\n');
        if (end >= 0) {
            const QString line = QString::fromUtf8(Pending_.left(end)).trimmed();
            Pending_.remove(0, end + 1);
            if (Log)
                Log->append(Tag + ": " + line);
            if (line.startsWith(prefix))
                return line;
            continue;
        }
        const qint64 left = ms - clock.elapsed();
        if (left <= 0 || Process_->state() != QProcess::Running)
            return {};
        Process_->waitForReadyRead(static_cast<int>(std::min<qint64>(left, 200)));
        Pending_ += Process_->readAllStandardOutput();
    }
}

void TUciProcess::Stop() {
    if (!Process_)
        return;
    if (Process_->state() == QProcess::Running) {
        Send("quit");
        if (!Process_->waitForFinished(5000))
            Process_->kill();
        Process_->waitForFinished(1000);
    }
}

TMatchResult PlayMatch(const TMatchPlayer& white, const TMatchPlayer& black, int maxPlies,
                       int moveTimeoutMs) {
    TMatchResult r;
    TUciProcess engines[2];
    const TMatchPlayer* players[2] = {&white, &black};
    for (int i = 0; i < 2; ++i) {
        engines[i].Log = &r.Log;
        engines[i].Tag = i == 0 ? "w" : "b";
        if (!engines[i].Start(*players[i], r.Error)) {
            r.Result = "*";
            return r;
        }
        engines[i].Send("ucinewgame");
    }
    r.Result = "*";
    for (int ply = 0; ply < maxPlies; ++ply) {
        const int side = r.Game.WhiteToMove() ? 0 : 1;
        TUciProcess& engine = engines[side];
        engine.Send("position startpos" +
                    (r.Moves.isEmpty() ? QString() : " moves " + r.Moves.join(' ')));
        engine.Send(players[side]->Go);
        const QString answer = engine.WaitFor("bestmove", moveTimeoutMs);
        const QStringList words = answer.split(' ', Qt::SkipEmptyParts);
        if (words.size() < 2) {
            r.Error = QString("%1 gave no move at ply %2").arg(players[side]->Program).arg(ply);
            break;
        }
        const std::string text = words[1].toStdString();
        TSanMove move;
        if (text.size() >= 4) {
            move.From = ParseSquare(text.substr(0, 2));
            move.To = ParseSquare(text.substr(2, 2));
        }
        if (text.size() == 5)
            move.Promotion = static_cast<char>(std::toupper(static_cast<unsigned char>(text[4])));
        const std::string san = MoveToSan(r.Game, move);
        if (san.empty() || !PlaySanMove(r.Game, move)) {
            r.Error = QString("%1 played %2, which the rules refuse at ply %3")
                          .arg(players[side]->Program, words[1])
                          .arg(ply);
            break;
        }
        r.Moves << words[1];
        const std::string result = GameResult(r.Game);
        if (result != "*") {
            r.Result = QString::fromStdString(result);
            break;
        }
    }
    for (TUciProcess& e : engines)
        e.Stop();
    return r;
}
