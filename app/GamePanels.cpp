// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GamePanels.h"

#include "board/ChessBrd.h"
#include "formats/Points.h"
#include "uikit/ErrorReport.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>

TGamePanels::TGamePanels(TChessBrd* board, QListWidget* events, QPlainTextEdit* status,
                         QListWidget* white, QListWidget* black, QLabel* wp, QLabel* bp)
    : Board_(board), Events_(events), Status_(status), White_(white), Black_(black), Wp_(wp),
      Bp_(bp) {
    Texts.TallyWords = DefaultTallyWords();
}

void TGamePanels::BindBoard() {
    TChessBrd* b = Board_;
    // After a played half-move the recorded line ends with it: show exactly that line.
    b->OnLegalMove = [this](TObject*, Square, Square) { ShowMovesToPosition(); };
    b->OnCastle = [this](TObject*, Square, Square) { AddEvent(Texts.Castle); };
    b->OnCheck = [this](TObject*, Square, Square) { AddEvent(Texts.Check); };
    b->OnMate = [this](TObject*, Square, Square) { AddEvent(Texts.Mate); };
    b->OnStaleMate = [this](TObject*, Square, Square) { AddEvent(Texts.StaleMate); };
    b->OnPromotion = [this](TObject*, Square, Square, char&) { AddEvent(Texts.Promotion); };
    b->OnDraw = [this](TObject*) { AddEvent(Texts.Draw); };
    b->OnThreefoldPosition = [this](TObject*) { AddEvent(Texts.Threefold); };
    b->OnIllegalMove = [this](TObject*, Square) { AddEvent(Texts.IllegalMove); };
    // The board parked its engine after refusing the engine's move: never a silent stall.
    b->OnEngineError = [this](TObject*, Square, Square, const std::string& message) {
        AddEvent(Texts.EngineStopped);
        ReportError(QString::fromStdString(message) +
                    "\nThe computer has stopped; Engine > Start Thinking lets it try again.");
    };
    // The last event of a half-move: promotion and en passant have changed the board by now.
    b->OnPaint = [this](TObject*) { Refresh(); };
}

void TGamePanels::AddEvent(const QString& text) {
    Events_->insertItem(0, text);
}

void TGamePanels::ClearEvents() {
    Events_->clear();
}

void TGamePanels::Refresh() {
    const std::string position = Board_->Position();
    Wp_->setText(PointsText(CountPoints(position, 1)));
    Bp_->setText(PointsText(CountPoints(position, 0)));
    for (int side : {1, 0}) {
        QListWidget* tally = side == 1 ? White_ : Black_;
        const QStringList texts = TallyTexts(TallyCounts(position, side), Texts.TallyWords);
        for (int i = 0; i < texts.size() && i < tally->count(); ++i)
            if (tally->item(i)->text() != texts[i])
                tally->item(i)->setText(texts[i]);
    }
}

QStringList TGamePanels::MoveList() const {
    const QString text = Status_->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

void TGamePanels::SetMoveList(const QStringList& lines) {
    Status_->setPlainText(lines.join('\n'));
    Status_->verticalScrollBar()->setValue(Status_->verticalScrollBar()->maximum());
}

void TGamePanels::ShowMovesToPosition() {
    QStringList list;
    Board_->GetMoveList(list);
    // Line k of the move list is half-move k: the position after n lines has move number
    // n div 2 + 1 with White to move exactly when n is even.
    const int shown = 2 * (Board_->CurrentMove() - 1) + (Board_->WhiteToMove() ? 0 : 1);
    SetMoveList(list.mid(0, std::min<qsizetype>(shown, list.size())));
}
