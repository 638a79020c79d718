// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GameEnd.h"

#include "app/GameEndTexts.h"
#include "app/GamePanels.h"
#include "app/ProgramTexts.h"
#include "board/ChessBrd.h"
#include "chess/Pgn.h"
#include "engine/ChessEngine.h"
#include "language/LanguageTable.h"
#include "language/TextTargets.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

// The computer takes a draw offered after this many moves when its score is this close to
// level (hundredths of a pawn), or at once in a dead position.
constexpr int DrawOfferMinMoves = 30;
constexpr int DrawOfferMargin = 50;

} // namespace

TGameEnd::TGameEnd(QMainWindow* window, TChessBrd* board, TGamePanels* panels)
    : QObject(window), Window_(window), Board_(board), Panels_(panels) {
    QMenu* game = window->menuBar()->findChild<QMenu*>("mnuGame");
    game->addSeparator();
    Resign_ = game->addAction(GameEndTexts().Resign);
    Resign_->setObjectName("mnuResign");
    OfferDraw_ = game->addAction(GameEndTexts().OfferDraw);
    OfferDraw_->setObjectName("mnuOfferDraw");
    connect(Resign_, &QAction::triggered, this, &TGameEnd::ResignClick);
    connect(OfferDraw_, &QAction::triggered, this, &TGameEnd::OfferDrawClick);

    Line_ = new QLabel(board->parentWidget());
    Line_->setObjectName("lblResult");
    Line_->setTextFormat(Qt::PlainText);
    Line_->setStyleSheet("color: yellow");
    Line_->setGeometry(9, 4, 260, 20);
    Line_->hide();

    // The last event of a half-move: the whole move stands on the board.
    auto painted = board->OnPaint;
    board->OnPaint = [this, painted](TObject* sender) {
        if (painted)
            painted(sender);
        AfterHalfMove();
    };
    auto refused = board->OnIllegalMove;
    board->OnIllegalMove = [this, refused](TObject* sender, Square square) {
        if (Board_->Finished())
            Panels_->AddEvent(GameEndTexts().GameOver);
        else if (refused)
            refused(sender, square);
    };
    // A new game, a loaded one or a challenge starts the board again: the line goes with it.
    auto started = board->OnNewGame;
    board->OnNewGame = [this, started](TObject* sender) {
        Line_->hide();
        if (started)
            started(sender);
    };
}

TGameResult TGameEnd::Result() const {
    return Board_->Finished() ? Result_ : TGameResult{};
}

QString TGameEnd::Line(const TGameResult& r) {
    const TGameEndTexts& t = GameEndTexts();
    const bool white = r.Winner == PieceColour::White;
    const bool whiteLost = r.Loser == PieceColour::White;
    switch (r.Kind) {
    case TResultKind::None:
        return {};
    case TResultKind::Checkmate:
        return white ? t.MateWhite : t.MateBlack;
    case TResultKind::Stalemate:
        return t.Stalemate;
    case TResultKind::Repetition:
        return t.Repetition;
    case TResultKind::FiftyMoves:
        return t.FiftyMoves;
    case TResultKind::DeadPosition:
        return t.DeadPosition;
    case TResultKind::Resignation:
        return whiteLost ? t.WhiteResigns : t.BlackResigns;
    case TResultKind::Agreement:
        return t.Agreed;
    case TResultKind::TimeForfeit:
        return whiteLost ? t.WhiteTime : t.BlackTime;
    case TResultKind::TimeAgainstBareMaterial:
        return whiteLost ? t.WhiteTimeDraw : t.BlackTimeDraw;
    }
    return {};
}

void TGameEnd::CompleteHeader(TPgnHeader& header) const {
    const TGameResult r = Result();
    if (!r.Over())
        return;
    header.Result = r.Score();
    header.Termination = r.Termination();
}

void TGameEnd::AfterHalfMove() {
    if (Board_->Finished())
        return;
    const TGameResult r = JudgePosition(*Board_);
    if (r.Over())
        End(r);
}

void TGameEnd::End(const TGameResult& result) {
    if (Board_->Finished() || !result.Over())
        return;
    Result_ = result;
    Board_->SetFinished(true);
    const QString line = Line(result);
    // Above the board; the events keep the board's own texts ("Mate!!!" on top).
    ShowLine(line);
    // Shown once the event that ended the game has run its course, and not waited for: a box
    // waiting inside the board's events would hold up the half-move and whatever comes next.
    QTimer::singleShot(
        0, this, [this, line] { OpenInformation(GameEndTexts().GameOverCaption, line, Window_); });
}

void TGameEnd::ShowLine(const QString& line) {
    // The line reaches from the board's left edge to the first control beside it on the same
    // strip (the opponent's clock or name). A long line, as many translations are, gets a
    // smaller font; what still does not fit ends in "…", and the whole line is in the tooltip
    // and in the message box.
    const QRect strip = Line_->geometry();
    int right = Board_->geometry().right();
    for (QObject* child : Line_->parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w != Line_ && w->isVisible() && w->x() > strip.left() &&
            w->geometry().top() < strip.bottom() && w->geometry().bottom() > strip.top())
            right = std::min(right, w->x() - 6);
    }
    const int width = std::max(40, right - strip.left());
    QFont font = Line_->font();
    font.setBold(true);
    int size = QFontInfo(font).pointSize();
    while (size > 7 && QFontMetrics(font).horizontalAdvance(line) > width)
        font.setPointSize(--size);
    Line_->setFont(font);
    Line_->setText(QFontMetrics(font).elidedText(line, Qt::ElideRight, width));
    Line_->setToolTip(line);
    Line_->resize(width, strip.height());
    Line_->show();
    Line_->raise();
}

PieceColour TGameEnd::LocalSide() const {
    const bool computerWhite = Board_->ComputerPlaysWhite();
    const bool computerBlack = Board_->ComputerPlaysBlack();
    if (computerWhite != computerBlack)
        return computerWhite ? PieceColour::Black : PieceColour::White;
    return Board_->WhiteToMove() ? PieceColour::White : PieceColour::Black;
}

void TGameEnd::ResignClick() {
    if (Board_->Finished())
        return;
    if (!AskYesNo(QString(Resign_->text()).remove('&'), GameEndTexts().ResignQuestion))
        return;
    if (NetGameActive && NetGameActive() && SayInChat)
        SayInChat(GameEndTexts().ChatResign);
    End(Resigned(LocalSide()));
}

bool TGameEnd::ComputerAcceptsDraw() const {
    const std::string position = Board_->Position();
    if (IsDeadPosition(position))
        return true;
    if (Board_->CurrentMove() - 1 < DrawOfferMinMoves)
        return false;
    // The score at the depth the computer plays at, for the side to move.
    auto engine = std::make_unique<TChessEngine>();
    TEnginePosition p;
    p.Position = position;
    p.WhiteToMove = Board_->WhiteToMove();
    p.CastlingAllowed = Board_->CastlingAllowed();
    p.EnPassant = ToInt(Board_->EnPassant());
    p.SearchDepth = Board_->SearchDepth();
    engine->ComputeMove(p);
    return std::abs(engine->Score()) <= DrawOfferMargin;
}

void TGameEnd::OfferDrawClick() {
    if (Board_->Finished())
        return;
    if (NetGameActive && NetGameActive()) {
        if (SayInChat)
            SayInChat(GameEndTexts().ChatOfferDraw);
        return;
    }
    const TGameEndTexts& t = GameEndTexts();
    if (!Board_->ComputerPlaysWhite() && !Board_->ComputerPlaysBlack()) {
        // Two people at one board: the other one answers.
        const bool white = LocalSide() == PieceColour::White;
        if (AskYesNo(t.OfferDraw, white ? t.WhiteOffersDraw : t.BlackOffersDraw))
            End(DrawAgreed());
        return;
    }
    if (ComputerAcceptsDraw()) {
        End(DrawAgreed());
        return;
    }
    ShowInformation(t.OfferDraw, t.DrawDeclined);
}
