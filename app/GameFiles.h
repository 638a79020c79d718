// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saved games and the exported move list. The click handlers take the game first, then ask
// for a file, so a move made while a file dialog is open never lands in the file. The path
// functions do the work and report their own errors.

#include "chess/San.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QFileDialog;
class TChessGame;
class QWidget;
class TChessBrd;
class TGamePanels;
class TPlayerLabels;
class TfrmPgnGames;
struct TPgnHeader;

class TGameFiles {
public:
    TGameFiles(QWidget* window, TChessBrd* board, TGamePanels* panels, TPlayerLabels* players);

    void mnuSaveClick();
    void mnuLoadClick();
    void mnuExportClick();

    QStringList SavedGameLines() const;
    bool SaveGameTo(const QString& path, const QStringList& lines);
    // Restores the whole game when its move list replays from the start to its position;
    // otherwise places the pieces, takes the side to move from the last line of the list and
    // shows the list as it stands.
    bool LoadGameFrom(const QString& path);
    bool ExportMoveListTo(const QString& path, const QStringList& list);

    // PGN and FEN. The recorded game in SAN with its tags (White: Player1, Black: Player2).
    void mnuExportPGNClick();
    void mnuLoadPGNClick();
    QStringList PgnLines() const;
    // Adds what the window knows beyond the board (result, termination, clocks) to the tags.
    std::function<void(TPgnHeader& header)> CompleteHeader;
    bool ExportPgnTo(const QString& path, const QStringList& lines);
    // Reads the game of the file (the one chosen in PgnGames when it holds several) and, only
    // when every move of its main line is legal, replays it on the board as a new game;
    // otherwise reports why and changes nothing.
    bool LoadPgnFrom(const QString& path);
    // The position shown, with side, castling rights, en passant square and move number.
    QString CurrentFen() const;
    void mnuCopyFENClick();
    void mnuPasteFENClick();
    // Starts a new game from the FEN after the New Game dialog's layout checks.
    bool StartFromFen(const QString& fen);

    // The dialogs, for tests that fill them in.
    QFileDialog* Saver() const { return Saver_; }
    QFileDialog* Loader() const { return Loader_; }
    QFileDialog* Exporter() const { return Exporter_; }
    QFileDialog* PgnSaver() const { return PgnSaver_; }
    QFileDialog* PgnLoader() const { return PgnLoader_; }

private:
    // Shows a file dialog opened in the last folder used with a bare file name, and answers
    // the chosen file (empty when cancelled).
    QString Ask(QFileDialog* dialog);
    // A new game from `start` (players and computer sides kept), then `moves` played through
    // the rules with every event, as if played on the board; then the computer moves if it
    // is its turn.
    void StartGame(const TChessGame& start, const std::vector<TSanMove>& moves);

    TChessBrd* Board_;
    TGamePanels* Panels_;
    TPlayerLabels* Players_;
    QFileDialog* Saver_;
    QFileDialog* Loader_;
    QFileDialog* Exporter_;
    QFileDialog* PgnSaver_;
    QFileDialog* PgnLoader_;
    TfrmPgnGames* PgnGames_;
    QString LastFolder_;
};
