// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-pieceshot: chooses each piece set of the program folder's pieces/ through the real
// Piece Set dialog and saves a picture of the main window's board, with every piece on a
// light and on a dark square; then the dialog previewing the last set, and the set-up dialog's
// editor board with the default set.
//   corvina-pieceshot OUTDIR PREFIX
#include "app/Main1.h"
#include "app/PieceSet1.h"
#include "app/Program.h"
#include "board/ChessBrd.h"
#include "common/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

namespace {

// Rank 8 down to rank 1. Each piece of each colour stands once on a light and once on a dark
// square; the extra kings stand on e7 (dark) and e2 (light).
const std::string Showcase = "rnbqkbnr"
                             "ppppkppp"
                             "q r b n "
                             "        "
                             "        "
                             " Q R B N"
                             "PPPPKPPP"
                             "RNBQKBNR";

bool Save(QWidget& w, const QString& file) {
    QTest::qWait(150);
    const bool ok = w.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvina-pieceshot OUTDIR PREFIX\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    TProgram program;
    TfrmCorvina& w = program.MainWindow();
    w.show();
    QTest::qWait(300);
    TChessBrd& board = *w.Board();
    board.SetComputerPlaysBlack(false);
    board.SetComputerPlaysWhite(false);
    board.SetPosition(Showcase);
    bool ok = true;
    TfrmPieceSet& dialog = program.PieceSetDialog();
    dialog.Execute(ProgramPath("pieces"));
    const QStringList files = dialog.Files();
    dialog.hide();
    for (int i = 0; i < files.size(); ++i) {
        dialog.Execute(ProgramPath("pieces"));
        dialog.filelistClick(i);
        dialog.cmdOKClick();
        ok = Save(board, out.filePath(prefix + QFileInfo(files[i]).baseName() + ".png")) && ok;
    }
    // The dialog itself, previewing the last set.
    dialog.Execute(ProgramPath("pieces"));
    dialog.filelistClick(static_cast<int>(files.size()) - 1);
    ok = Save(dialog, out.filePath(prefix + "dialog.png")) && ok;
    dialog.hide();
    // The set-up dialog's editor: 34-pixel squares in the board's own colours, always with
    // the compiled-in default set.
    TChessBrd editor;
    editor.SetSizeOfBorder(24);
    editor.SetSizeOfSquare(34);
    editor.resize(8 * 34 + 48, 8 * 34 + 48);
    editor.SetComputerPlaysBlack(false);
    editor.SetPosition(Showcase);
    editor.show();
    ok = Save(editor, out.filePath(prefix + "editor.png")) && ok;
    return ok ? 0 : 1;
}
