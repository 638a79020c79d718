// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-pgnshot: plays a game in one main window, exports it as PGN, loads that file into a
// second main window and pictures the second, for looking at a loaded game.
//   corvina-pgnshot OUTDIR PREFIX
#include "app/Main1.h"
#include "app/PgnGames.h"
#include "app/Program.h"
#include "board/ChessBrd.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvina-pgnshot OUTDIR PREFIX\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const QString pgn = out.filePath(prefix + "game.pgn");
    // Castling on both sides, an en passant capture, checks, and mate by castling long.
    const char* const moves[] = {"d2d4", "e7e6", "g1f3", "f7f5", "b1c3", "g8f6", "c1g5",
                                 "f8e7", "g5f6", "e7f6", "e2e4", "f5e4", "c3e4", "b7b6",
                                 "f3e5", "e8g8", "f1d3", "c8b7", "d1h5", "d8e7", "h5h7",
                                 "g8h7", "e4f6", "h7h6", "e5g4", "h6g5", "h2h4", "g5f4",
                                 "g2g3", "f4f3", "d3e2", "f3g2", "h1h2", "g2g1", "e1c1"};
    {
        TProgram played;
        TfrmCorvina& w = played.MainWindow();
        w.Board()->SetComputerPlaysBlack(false);
        w.Hook().SetPlayer1("Edith White");
        w.Hook().SetPlayer2("Bruno Black");
        for (const char* m : moves) {
            const std::string s = m;
            if (!w.Board()->PlayUserMove(ParseSquare(s.substr(0, 2)),
                                         ParseSquare(s.substr(2, 2)))) {
                std::fprintf(stderr, "refused %s\n", m);
                return 1;
            }
        }
        if (!w.Hook().ExportPgnTo(pgn))
            return 1;
    }
    TProgram loaded;
    TfrmCorvina& w = loaded.MainWindow();
    w.show();
    QTest::qWait(300);
    if (!w.Hook().LoadPgnFrom(pgn))
        return 1;
    QTest::qWait(500);
    const QString file = out.filePath(prefix + "loaded.png");
    const bool ok = w.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    QFile f(pgn);
    if (f.open(QIODevice::ReadOnly))
        std::printf("%s", f.readAll().constData());
    f.close();

    // The same game three times over, under other names: the chooser of a collection, filtered.
    QByteArray game;
    if (f.open(QIODevice::ReadOnly))
        game = f.readAll();
    const QString collection = out.filePath(prefix + "collection.pgn");
    QFile c(collection);
    if (!c.open(QIODevice::WriteOnly))
        return 1;
    for (const char* white : {"Edith White", "Zoë Żółć-Ørsted", "Anna Karenina von Habsburg"})
        c.write(QByteArray(game).replace("Edith White", white) + "\n");
    c.close();
    auto* chooser = w.findChild<TfrmPgnGames*>("frmPgnGames");
    const QString chooserFile = out.filePath(prefix + "chooser.png");
    bool chooserOk = false;
    QTimer poll;
    poll.start(50);
    QObject::connect(&poll, &QTimer::timeout, chooser, [&] {
        if (!chooser->isVisible())
            return;
        poll.stop();
        QTest::keyClicks(chooser->txtFilter, "an");
        QTest::qWait(100);
        chooserOk = chooser->grab().save(chooserFile);
        chooser->reject();
    });
    w.Hook().LoadPgnFrom(collection);
    std::printf("%s %s\n", chooserOk ? "wrote" : "FAILED", qPrintable(chooserFile));
    // Stays up a little for a picture of the whole screen.
    QTest::qWait(argc > 3 ? 0 : 1500);
    return ok ? 0 : 1;
}
