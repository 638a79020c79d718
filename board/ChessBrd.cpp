// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/ChessBrd.h"

#include "board/EngineHandOver.h"

#include <QEvent>
#include <QLabel>

#include <algorithm>
#include <cmath>

QFont TFont::ToQFont() const {
    QFont f(Name);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(Size * 96.0 / 72.0))));
    f.setBold(Bold);
    return f;
}

TChessBrd::TChessBrd(QWidget* parent) : QWidget(parent) {
    SetView(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(8 * SizeOfSquare_ + 2 * SizeOfBorder_, 8 * SizeOfSquare_ + 2 * SizeOfBorder_);
    BuildPieceImages();
    HandOver_ = std::make_unique<TEngineHandOver>(*this);
}

TChessBrd::~TChessBrd() {
    // An open promotion pop-up goes without an answer.
    CancelPromotion();
    // The engine goes first: a search in progress is stopped and its thread joined.
    HandOver_.reset();
    delete Floating_.data();
    SetView(nullptr);
}

// ---------------------------------------------------------------- properties

void TChessBrd::SetBoardLines(bool v) {
    BoardLines_ = v;
    RepaintAll();
}

void TChessBrd::SetBorderBitmap(const QImage& v) {
    BorderBitmap_ = v;
    RepaintAll();
}

void TChessBrd::SetBorderColor(const QColor& v) {
    BorderColor_ = v;
    RepaintAll();
}

void TChessBrd::SetComputerPlaysBlack(bool v) {
    CancelSelection();
    StopThinking();
    ComputerPlaysBlack_ = v;
    StartThinking();
    if (OnPlayersChange)
        OnPlayersChange(this);
}

void TChessBrd::SetComputerPlaysWhite(bool v) {
    CancelSelection();
    StopThinking();
    ComputerPlaysWhite_ = v;
    StartThinking();
    if (OnPlayersChange)
        OnPlayersChange(this);
}

bool TChessBrd::Thinking() const {
    return HandOver_->Thinking();
}

void TChessBrd::SetCoordFont(const TFont& v) {
    CoordFont_ = v;
    RepaintAll();
}

bool TChessBrd::IsPieceSet(const QImage& image) {
    return image.width() > 0 && image.height() > 0 && image.width() * 2 == image.height() * 3;
}

void TChessBrd::SetCustomPieceSet(const QImage& v) {
    if (!v.isNull() && !IsPieceSet(v))
        return;
    CustomPieceSet_ = v;
    BuildPieceImages();
    RepaintAll();
}

void TChessBrd::SetDisplayCoords(CoordSet v) {
    DisplayCoords_ = v & (West | North | East | South);
    RepaintAll();
}

void TChessBrd::SetLineStyle(const QPen& v) {
    LineStyle_ = v;
    RepaintAll();
}

void TChessBrd::SetSizeOfBorder(int v) {
    SizeOfBorder_ = v;
    const int side = 8 * SizeOfSquare_ + 2 * SizeOfBorder_;
    resize(side, side);
    RepaintAll();
}

void TChessBrd::SetSizeOfSquare(int v) {
    SizeOfSquare_ = v;
    const int side = 8 * SizeOfSquare_ + 2 * SizeOfBorder_;
    resize(side, side);
    RepaintAll();
}

void TChessBrd::SetSquareColorDark(const QColor& v) {
    SquareColorDark_ = v;
    RepaintAll();
}

void TChessBrd::SetSquareColorLight(const QColor& v) {
    SquareColorLight_ = v;
    RepaintAll();
}

void TChessBrd::SetSquareDark(const QImage& v) {
    SquareDark_ = v;
    RepaintAll();
}

void TChessBrd::SetSquareLight(const QImage& v) {
    SquareLight_ = v;
    RepaintAll();
}

void TChessBrd::SetWhiteOnTop(bool v) {
    WhiteOnTop_ = v;
    RepaintAll();
}

void TChessBrd::SetThinkingPriority(TThreadPriority v) {
    ThinkingPriority_ = v;
    HandOver_->ApplyPriority(v);
}

// ---------------------------------------------------------------- operations

void TChessBrd::StartNewGame() {
    Finished_ = false;
    ResetGame();
    RepaintAll();
    if (OnNewGame)
        OnNewGame(this);
}

void TChessBrd::GetMoveList(QStringList& list) const {
    std::vector<std::string> lines;
    TChessGame::GetMoveList(lines);
    for (const auto& l : lines)
        list << QString::fromStdString(l);
}

void TChessBrd::SetFinished(bool v) {
    Finished_ = v;
    if (v)
        StopThinking();
}

bool TChessBrd::PlayUserMove(Square from, Square to, char promotion) {
    if (Finished_) {
        if (OnIllegalMove)
            OnIllegalMove(this, from);
        return false;
    }
    StopThinking();
    const bool played = MakeMove(from, to, promotion);
    Held_ = false;
    StartThinking();
    return played;
}

Square TChessBrd::SquareAtPoint(int x, int y) const {
    const int s = SizeOfSquare_;
    if (s <= 0)
        return Square::None;
    const int xs = x - SizeOfBorder_;
    const int ys = y - SizeOfBorder_;
    if (xs < 0 || xs > 8 * s - 1 || ys < 0 || ys > 8 * s - 1)
        return Square::None;
    int column = std::min(xs / s, 7);
    int row = std::min(ys / s, 7);
    if (WhiteOnTop_) {
        column = 7 - column;
        row = 7 - row;
    }
    return ToSquare(row * 8 + column + 1);
}

QRect TChessBrd::SquareRect(Square square) const {
    const int f = FileOf(square);
    const int k = RankOf(square);
    const int s = SizeOfSquare_;
    const int b = SizeOfBorder_;
    if (WhiteOnTop_)
        return QRect((8 - f) * s + b, (k - 1) * s + b, s, s);
    return QRect((f - 1) * s + b, (8 - k) * s + b, s, s);
}

// ---------------------------------------------------------------- engine

void TChessBrd::StopThinking() {
    HandOver_->Stop();
    Held_ = true;
}

void TChessBrd::StartThinking() {
    HandOver_->Start();
}

bool TChessBrd::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    if (CustomEngine_ && e->type() != QEvent::Paint)
        HandOver_->PollOutsideEngine();
    return handled;
}
