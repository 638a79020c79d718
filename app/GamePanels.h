// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panels that report on the game beside the board: the events list (newest first), the
// move list, the two captured-piece tallies and the two points labels. The move list holds
// the recorded half-moves up to the position shown; tallies and points are read off the
// position on the board, so they stay true after navigation, loading or a new game.

#include <QString>
#include <QStringList>

#include <array>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class TChessBrd;

// The texts the panels show by themselves, English until the language texts replace them.
struct TPanelTexts {
    // The tallies' piece words: pawns, bishops, knights, rooks, queens (see TallyTexts).
    std::array<QString, 5> TallyWords;
    QString Castle = "Castle!";
    QString Check = "Check!";
    QString Mate = "Mate!!!";
    QString StaleMate = "Stale Mate!";
    QString Promotion = "Pawn Promoted";
    QString Draw = "Draw!";
    QString Threefold = "Threefold!";
    QString IllegalMove = "Illegal Move!";
    QString EngineStopped = "Engine stopped!";
};

class TGamePanels {
public:
    TGamePanels(TChessBrd* board, QListWidget* events, QPlainTextEdit* status, QListWidget* white,
                QListWidget* black, QLabel* wp, QLabel* bp);

    // The board's game events: the move list, the event texts, and a refresh once the whole
    // half-move stands on the board.
    void BindBoard();

    void AddEvent(const QString& text);
    void ClearEvents();

    // Points and tallies of the position on the board.
    void Refresh();

    // Read as each event happens; a change of the tally words shows at the next Refresh.
    TPanelTexts Texts;

    QStringList MoveList() const;
    void SetMoveList(const QStringList& lines);
    // The recorded half-moves that lead to the position shown, and no others.
    void ShowMovesToPosition();

private:
    TChessBrd* Board_;
    QListWidget* Events_;
    QPlainTextEdit* Status_;
    QListWidget* White_;
    QListWidget* Black_;
    QLabel* Wp_;
    QLabel* Bp_;
};
