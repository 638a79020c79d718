// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GameClock.h"

#include "app/GameEnd.h"
#include "board/ChessBrd.h"
#include "chess/Pgn.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

namespace {

QLabel* MakeFace(QWidget* stage, const char* name) {
    auto* face = new QLabel(stage);
    face->setObjectName(name);
    face->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    face->setAlignment(Qt::AlignCenter);
    face->setAutoFillBackground(true);
    QFont font("DejaVu Sans Mono", 10);
    font.setBold(true);
    face->setFont(font);
    face->resize(72, 21);
    face->hide();
    return face;
}

// The half-moves of the recorded line up to the position shown.
int HalfMovesPlayed(const TChessBrd& board) {
    return 2 * (board.CurrentMove() - 1) + (board.WhiteToMove() ? 0 : 1) -
           (board.StartedWithBlack() ? 1 : 0);
}

} // namespace

TGameClock::TGameClock(QWidget* stage, TChessBrd* board, TGameEnd* end, QLabel* player1,
                       QLabel* player2)
    : QObject(stage), Board_(board), End_(end), Player1_(player1), Player2_(player2) {
    setObjectName("GameClock");
    Faces_ = {MakeFace(stage, "lblClockWhite"), MakeFace(stage, "lblClockBlack")};
    Now = [] {
        static QElapsedTimer steady = [] {
            QElapsedTimer t;
            t.start();
            return t;
        }();
        return steady.elapsed();
    };
    Timer_ = new QTimer(this);
    Timer_->setInterval(100);
    connect(Timer_, &QTimer::timeout, this, &TGameClock::Tick);

    // The whole half-move stands on the board by its last event: charge its maker.
    auto painted = board->OnPaint;
    board->OnPaint = [this, painted](TObject* sender) {
        AfterHalfMove();
        if (painted)
            painted(sender);
    };
    auto started = board->OnNewGame;
    board->OnNewGame = [this, started](TObject* sender) {
        Stop();
        if (started)
            started(sender);
    };
    board->EngineClock = [this](int& whiteMs, int& blackMs, int& incrementMs) {
        if (!Running_)
            return false;
        Charge();
        whiteMs = static_cast<int>(Left_[0]);
        blackMs = static_cast<int>(Left_[1]);
        incrementMs = Control_.IncrementSeconds * 1000;
        return true;
    };
}

void TGameClock::Start(const TTimeControl& control) {
    Stop();
    Control_ = control;
    if (!control.On() || (Allowed && !Allowed()))
        return;
    Left_.fill(static_cast<long long>(control.BaseSeconds) * 1000);
    Last_ = Now();
    Played_ = HalfMovesPlayed(*Board_);
    Running_ = true;
    Timer_->start();
    Show();
}

void TGameClock::Stop() {
    Running_ = false;
    Clocks_.clear();
    Timer_->stop();
    for (QLabel* face : Faces_)
        face->hide();
}

long long TGameClock::Remaining(PieceColour side) const {
    return Left_[static_cast<std::size_t>(Index(side))];
}

PieceColour TGameClock::SideToMove() const {
    return Board_->WhiteToMove() ? PieceColour::White : PieceColour::Black;
}

void TGameClock::Charge() {
    const long long now = Now();
    const long long spent = now - Last_;
    Last_ = now;
    // A modal dialog (a message, a file dialog, the New Game dialog) holds the game up.
    if (!Running_ || QApplication::activeModalWidget())
        return;
    long long& left = Left_[static_cast<std::size_t>(Index(SideToMove()))];
    left = std::max(0LL, left - spent);
}

void TGameClock::Tick() {
    if (!Running_)
        return;
    if (Allowed && !Allowed()) {
        Stop();
        return;
    }
    Charge();
    if (Board_->Finished()) {
        // Ended by the rules or by a player: the clocks stand as they are.
        Running_ = false;
        Timer_->stop();
    } else if (Remaining(SideToMove()) <= 0) {
        Running_ = false;
        Timer_->stop();
        End_->End(FlagFell(Board_->Position(), SideToMove()));
    }
    Show();
}

void TGameClock::AfterHalfMove() {
    if (!Running_)
        return;
    // The board also raises its OnPaint when it is drawn whole: only a new half-move counts.
    const int played = HalfMovesPlayed(*Board_);
    if (played == Played_)
        return;
    Played_ = played;
    // The side to move has changed: the time since the last look belongs to its opponent.
    const PieceColour mover = Opponent(SideToMove());
    const long long now = Now();
    long long& left = Left_[static_cast<std::size_t>(Index(mover))];
    if (!QApplication::activeModalWidget())
        left = std::max(0LL, left - (now - Last_));
    Last_ = now;
    if (left <= 0) {
        Tick(); // the flag fell before the half-move was made
        return;
    }
    left += static_cast<long long>(Control_.IncrementSeconds) * 1000;
    if (played >= 1) {
        Clocks_.resize(static_cast<std::size_t>(played));
        Clocks_.back() = PgnClock(left);
    }
    Show();
}

void TGameClock::Show() {
    const bool whiteBottom = !Board_->WhiteOnTop();
    QLabel* bottom = Faces_[whiteBottom ? 0 : 1];
    QLabel* top = Faces_[whiteBottom ? 1 : 0];
    bottom->move(Player1_->geometry().right() + 6, Player1_->y());
    top->move(Player2_->x() - top->width() - 6, Player2_->y());
    for (int i = 0; i < 2; ++i) {
        QLabel* face = Faces_[static_cast<std::size_t>(i)];
        face->setText(QString::fromStdString(ClockFace(Left_[static_cast<std::size_t>(i)])));
        const bool running = Running_ && Index(SideToMove()) == i;
        const bool out = Left_[static_cast<std::size_t>(i)] <= 0;
        face->setStyleSheet(out       ? "background: #b00000; color: white"
                            : running ? "background: white; color: black"
                                      : "background: #c0c0c0; color: #404040");
        face->show();
        face->raise();
    }
}

void TGameClock::CompleteHeader(TPgnHeader& header) const {
    if (!Control_.On() || Faces_[0]->isHidden())
        return;
    header.TimeControl = Control_.PgnTag();
    header.Clocks = Clocks_;
}
