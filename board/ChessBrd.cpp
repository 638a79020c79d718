#include "board/ChessBrd.h"

#include "engine/ChessThread.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* PieceLetters = "PNBRQKpnbrqk";

const QImage& DefaultPieceSet() {
    static const QImage set(":/SETMERLOT40.bmp");
    return set;
}

bool PicturePresent(const QImage& image) {
    return image.width() > 0 && image.height() > 0;
}

} // namespace

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
    Thread_ = std::make_unique<TChessThread>();
    // Runs on the engine thread: the move crosses to the user-interface thread as a queued
    // call, which Qt discards if the board is gone by then.
    Thread_->OnMoveFound = [this](std::uint64_t generation, int from, int to) {
        QMetaObject::invokeMethod(
            this, [this, generation, from, to] { EngineMoveFound(generation, from, to); },
            Qt::QueuedConnection);
    };
    PollTimer_.setInterval(500);
    QObject::connect(&PollTimer_, &QTimer::timeout, this, [this] { PollOutsideEngine(); });
}

TChessBrd::~TChessBrd() {
    PollTimer_.stop();
    if (Thread_)
        Thread_->Shutdown();
    Thread_.reset();
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
    StopThinking();
    ComputerPlaysBlack_ = v;
    StartThinking();
}

void TChessBrd::SetComputerPlaysWhite(bool v) {
    StopThinking();
    ComputerPlaysWhite_ = v;
    StartThinking();
}

bool TChessBrd::Thinking() const {
    return Thread_ && Thread_->Thinking();
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
    if (Thread_)
        Thread_->ApplyPriority(v);
}

// ---------------------------------------------------------------- operations

void TChessBrd::StartNewGame() {
    ResetGame();
    RepaintAll();
}

void TChessBrd::GetMoveList(QStringList& list) const {
    std::vector<std::string> lines;
    TChessGame::GetMoveList(lines);
    for (const auto& l : lines)
        list << QString::fromStdString(l);
}

bool TChessBrd::PlayUserMove(Square from, Square to) {
    StopThinking();
    const bool played = MakeMove(from, to);
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

// ---------------------------------------------------------------- engine hand-over

bool TChessBrd::ComputerToMove() const {
    return (ComputerPlaysWhite_ && WhiteToMove()) || (ComputerPlaysBlack_ && !WhiteToMove());
}

void TChessBrd::StopThinking() {
    if (!CustomEngine_ && Thread_) {
        if (!GameOver()) {
            ++EngineGeneration_;
            Thread_->Cancel();
            EngineAwake_ = false;
        } else if (EngineAwake_) {
            // After a reported mate or draw the engine stays awake: its search is dropped and
            // it starts again on whatever the caller sets up, once the caller has finished.
            ++EngineGeneration_;
            Thread_->Cancel();
            ScheduleKick();
        }
    }
    Held_ = true;
}

void TChessBrd::StartThinking() {
    if (!CustomEngine_) {
        EngineAwake_ = true;
        KickEngine();
        return;
    }
    if (!ComputerToMove() || !OnCalculateMove || Held_ || InOutsideEngine_)
        return;
    InOutsideEngine_ = true;
    Square oldsq = Square::None;
    Square newsq = Square::None;
    OnCalculateMove(this, oldsq, newsq);
    if (!Held_ && !MakeMove(oldsq, newsq) && OnCalculationFailed)
        OnCalculationFailed(this, oldsq, newsq);
    InOutsideEngine_ = false;
}

// The engine sleeps unless the computer is to move in a position where the board would
// accept a half-move; any change that could alter that goes through StopThinking and
// StartThinking, which call here again.
void TChessBrd::KickEngine() {
    if (!EngineAwake_ || CustomEngine_ || !Thread_ || !ComputerToMove())
        return;
    if (IsThreefold() || !CanMove())
        return;
    TEngineJob job;
    job.Position = Position();
    job.WhiteToMove = WhiteToMove();
    job.CastlingAllowed = CastlingAllowed();
    job.EnPassant = ToInt(EnPassant());
    job.SearchDepth = SearchDepth_;
    job.Priority = ThinkingPriority_;
    job.Generation = EngineGeneration_;
    Thread_->Submit(job);
}

void TChessBrd::ScheduleKick() {
    if (KickScheduled_)
        return;
    KickScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        KickScheduled_ = false;
        KickEngine();
    });
}

void TChessBrd::EngineMoveFound(std::uint64_t generation, int from, int to) {
    // A move searched before the latest stop is dropped.
    if (generation != EngineGeneration_ || !EngineAwake_ || CustomEngine_)
        return;
    const bool played = MakeMove(ToSquare(from), ToSquare(to));
    // The next cycle: with the computer on both sides it now searches for the other side.
    if (played && generation == EngineGeneration_)
        KickEngine();
}

void TChessBrd::PollOutsideEngine() {
    if (!Held_ && CustomEngine_ && ComputerToMove() && !InOutsideEngine_)
        StartThinking();
}

bool TChessBrd::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    if (CustomEngine_ && e->type() != QEvent::Paint)
        PollOutsideEngine();
    return handled;
}

// ---------------------------------------------------------------- painting

const QImage& TChessBrd::ActivePieceSet() const {
    return IsPieceSet(CustomPieceSet_) ? CustomPieceSet_ : DefaultPieceSet();
}

void TChessBrd::BuildPieceImages() {
    const QImage set = ActivePieceSet().convertToFormat(QImage::Format_RGB32);
    const int s = set.height() / 4;
    PieceCell_ = s;
    for (int i = 0; i < 12; ++i) {
        QImage piece(s, s, QImage::Format_ARGB32);
        piece.fill(Qt::transparent);
        const int x0 = (i % 6) * s;
        const int y0 = (i / 6) * 2 * s;
        for (int y = 0; y < s && !set.isNull(); ++y) {
            const QRgb* src = reinterpret_cast<const QRgb*>(set.constScanLine(y0 + y));
            const QRgb* mask = reinterpret_cast<const QRgb*>(set.constScanLine(y0 + s + y));
            QRgb* dst = reinterpret_cast<QRgb*>(piece.scanLine(y));
            for (int x = 0; x < s; ++x)
                if (qGray(mask[x0 + x]) < 128)
                    dst[x] = src[x0 + x] | 0xff000000u;
        }
        PieceImages_[static_cast<std::size_t>(i)] = piece;
    }
}

QImage TChessBrd::PieceImage(char letter) const {
    const char* at = letter ? std::strchr(PieceLetters, letter) : nullptr;
    return at ? PieceImages_[static_cast<std::size_t>(at - PieceLetters)] : QImage();
}

void TChessBrd::ApplyGeometry() {
    const int a = (width() + height()) / 2 - 2 * SizeOfBorder_;
    SizeOfSquare_ = std::max(1, a / 8);
    const int side = 8 * SizeOfSquare_ + 2 * SizeOfBorder_;
    if (width() != side || height() != side)
        resize(side, side);
}

void TChessBrd::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The next full repaint rounds the size to whole squares and makes the control square.
    CanvasValid_ = false;
    update();
}

void TChessBrd::RepaintAll() {
    CanvasValid_ = false;
    if (FirstPaintDone_)
        FullRepaint();
    else
        update();
}

void TChessBrd::FullRepaint() {
    if (OnPaint)
        OnPaint(this);
    if (!FirstPaintDone_)
        BuildPieceImages();
    ApplyGeometry();
    if (Canvas_.size() != size())
        Canvas_ = QImage(size(), QImage::Format_RGB32);
    {
        QPainter p(&Canvas_);
        PaintBorder(p);
        PaintSquares(p);
    }
    PaintLines();
    PaintPieces();
    CanvasValid_ = true;
    update();
    if (!FirstPaintDone_) {
        FirstPaintDone_ = true;
        StartThinking();
        PollTimer_.start();
    }
}

void TChessBrd::paintEvent(QPaintEvent* e) {
    if (!CanvasValid_ || Canvas_.size() != size())
        FullRepaint();
    if (Canvas_.size() != size())
        return; // rounded to another size: that size's paint follows
    QPainter p(this);
    p.drawImage(e->rect(), Canvas_, e->rect());
}

void TChessBrd::Invalidate(const QRect& rect) {
    update(rect);
}

void TChessBrd::PaintBorder(QPainter& p) {
    const int w = width();
    const int h = height();
    const int b = SizeOfBorder_;
    const int s = SizeOfSquare_;
    p.save();
    QRegion clip(0, 0, w, h);
    clip -= QRegion(b, b, w - 2 * b, h - 2 * b);
    p.setClipRegion(clip);
    if (PicturePresent(BorderBitmap_)) {
        p.setBrushOrigin(0, 0);
        p.fillRect(0, 0, w, h, QBrush(BorderBitmap_));
    } else {
        p.fillRect(0, 0, w, h, BorderColor_);
    }
    const QFont font = CoordFont_.ToQFont();
    p.setFont(font);
    p.setPen(CoordFont_.Color);
    const QFontMetrics fm(font);
    const int pt = CoordFont_.Size;
    const int t = (b - pt) / 2 + 1;
    const int m = (s - pt) / 2;
    const int hq = fm.height() / 4;
    // Text is placed by its top-left corner.
    auto text = [&](int x, int y, const QString& str) { p.drawText(x, y + fm.ascent(), str); };
    const QString files = WhiteOnTop_ ? "HGFEDCBA" : "ABCDEFGH";
    for (int i = 0; i < 8; ++i) {
        const QString rank = QString::number(WhiteOnTop_ ? i + 1 : 8 - i);
        const int y = i * s + b + m;
        const int x = i * s + b + m;
        if (DisplayCoords_ & West)
            text(t, y, rank);
        if (DisplayCoords_ & East)
            text(w + t - b, y, rank);
        if (DisplayCoords_ & North)
            text(x, t - hq, files.mid(i, 1));
        if (DisplayCoords_ & South)
            text(x, h + t - b - hq, files.mid(i, 1));
    }
    p.setPen(LineStyle_);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPoint outer[] = {{0, 0}, {w - 1, 0}, {w - 1, w - 1}, {0, w - 1}, {0, 0}};
    p.drawPolyline(outer, 5);
    const QPoint inner[] = {
        {b - 1, b - 1}, {w - b, b - 1}, {w - b, w - b}, {b - 1, w - b}, {b - 1, b - 1}};
    p.drawPolyline(inner, 5);
    p.restore();
}

void TChessBrd::FillSquareArea(QPainter& p, const QRect& rect, bool light) {
    const QImage& picture = light ? SquareLight_ : SquareDark_;
    if (PicturePresent(picture)) {
        // Tiles start at the control's corner, so a single square lines up with the rest.
        p.setBrushOrigin(0, 0);
        p.fillRect(rect, QBrush(picture));
    } else {
        p.fillRect(rect, light ? SquareColorLight_ : SquareColorDark_);
    }
}

void TChessBrd::PaintSquares(QPainter& p) {
    for (bool light : {false, true})
        for (int i = 1; i <= 64; ++i)
            if (IsLightSquare(ToSquare(i)) == light)
                FillSquareArea(p, SquareRect(ToSquare(i)), light);
}

void TChessBrd::PaintEmptySquare(Square square) {
    if (!IsOnBoard(square) || Canvas_.size() != size())
        return;
    QPainter p(&Canvas_);
    const QRect r = SquareRect(square);
    p.setClipRect(r);
    FillSquareArea(p, r, IsLightSquare(square));
    Invalidate(r);
}

void TChessBrd::PaintPiece(Square square, char letter) {
    const char* at = letter ? std::strchr(PieceLetters, letter) : nullptr;
    if (!at || !IsOnBoard(square) || Canvas_.size() != size())
        return;
    const QImage& image = PieceImages_[static_cast<std::size_t>(at - PieceLetters)];
    const QRect r = SquareRect(square);
    const int offset = (SizeOfSquare_ - PieceCell_) / 2;
    QPainter p(&Canvas_);
    p.drawImage(r.topLeft() + QPoint(offset, offset), image);
    Invalidate(QRect(r.topLeft() + QPoint(offset, offset), image.size()));
}

void TChessBrd::PaintPieces() {
    for (int i = 1; i <= 64; ++i)
        if (At(ToSquare(i)) != ' ')
            PaintPiece(ToSquare(i), At(ToSquare(i)));
}

void TChessBrd::PaintLines() {
    if (!BoardLines_ || Canvas_.size() != size())
        return;
    QPainter p(&Canvas_);
    p.setPen(QPen(LineStyle_.color(), 1));
    const int b = SizeOfBorder_;
    const int s = SizeOfSquare_;
    for (int i = 1; i <= 7; ++i) {
        p.drawLine(i * s + b, b, i * s + b, height() - b);
        p.drawLine(b, i * s + b, width() - b, i * s + b);
    }
    Invalidate(QRect(b, b, 8 * s, 8 * s));
}

void TChessBrd::RedrawChanged(const std::string& oldPosition) {
    for (int i = 1; i <= 64; ++i) {
        const Square sq = ToSquare(i);
        const char old = static_cast<std::size_t>(i - 1) < oldPosition.size()
                             ? oldPosition[static_cast<std::size_t>(i - 1)]
                             : ' ';
        if (old == At(sq))
            continue;
        PaintEmptySquare(sq);
        if (At(sq) != ' ')
            PaintPiece(sq, At(sq));
    }
    PaintLines();
}

// ---------------------------------------------------------------- floating piece and slide

void TChessBrd::ShowFloatingPiece(char letter, QPoint topLeftInControl) {
    const char* at = std::strchr(PieceLetters, letter);
    if (!at || letter == '\0')
        return;
    QWidget* host = window();
    if (!Floating_) {
        Floating_ = new QLabel(host);
        Floating_->setAttribute(Qt::WA_TransparentForMouseEvents);
        Floating_->setAttribute(Qt::WA_TranslucentBackground);
        Floating_->setStyleSheet("background: transparent");
    }
    const QImage& image = PieceImages_[static_cast<std::size_t>(at - PieceLetters)];
    Floating_->setPixmap(QPixmap::fromImage(image));
    Floating_->resize(image.size());
    Floating_->move(host == this ? topLeftInControl : mapTo(host, topLeftInControl));
    Floating_->show();
    Floating_->raise();
}

void TChessBrd::HideFloatingPiece() {
    if (Floating_)
        Floating_->hide();
}

void TChessBrd::SlidePiece(Square from, Square to) {
    if (!AnimateMoves_ || (from == DragFrom_ && to == DropTo_))
        return;
    PaintLines();
    AnimateMove(from, to, AnimationDelay_);
}

void TChessBrd::AnimateMove(Square from, Square to, int delay) {
    if (Dragging_ || !IsOnBoard(from) || !IsOnBoard(to) || !isVisible())
        return;
    const char letter = At(from);
    if (!std::strchr(PieceLetters, letter) || letter == '\0')
        return;
    const int offset = (SizeOfSquare_ - PieceCell_) / 2;
    const QPoint start = SquareRect(from).topLeft() + QPoint(offset, offset);
    const QPoint end = SquareRect(to).topLeft() + QPoint(offset, offset);
    if (delay >= 1)
        repaint(); // the emptied from-square shows under the sliding piece
    ShowFloatingPiece(letter, start);
    QWidget* host = window();
    auto step = [&](QPoint pt) {
        const QRect before = Floating_->geometry();
        Floating_->move(host == this ? pt : mapTo(host, pt));
        if (delay < 1)
            return;
        QElapsedTimer clock;
        clock.start();
        host->repaint(before.united(Floating_->geometry()));
        while (clock.elapsed() <= delay) {
        }
    };
    const int dx = end.x() - start.x();
    const int dy = end.y() - start.y();
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (upper == 'N') {
        // Along the row first, then along the file.
        const int sx = dx >= 0 ? 1 : -1;
        const int sy = dy >= 0 ? 1 : -1;
        for (int x = 0; x != dx + sx; x += sx)
            step({start.x() + x, start.y()});
        for (int y = sy; y != dy + sy; y += sy)
            step({end.x(), start.y() + y});
    } else if (std::abs(dx) >= std::abs(dy)) {
        const int sx = dx >= 0 ? 1 : -1;
        const double ratio = dx == 0 ? 0.0 : static_cast<double>(dy) / std::abs(dx);
        double y = start.y();
        for (int x = 0; x != dx + sx; x += sx, y += ratio)
            step({start.x() + x, static_cast<int>(y)});
    } else {
        const int sy = dy >= 0 ? 1 : -1;
        const double ratio = static_cast<double>(dx) / std::abs(dy);
        double x = start.x();
        for (int y = 0; y != dy + sy; y += sy, x += ratio)
            step({static_cast<int>(x), start.y() + y});
    }
    HideFloatingPiece();
}

// ---------------------------------------------------------------- pointer input

bool TChessBrd::DropAccepted(Square target) const {
    if (Thinking() || target == Square::None)
        return false;
    return target == DragFrom_ || IsLegalMove(DragFrom_, target);
}

void TChessBrd::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(this, e->button(), e->modifiers(), pos.x(), pos.y());
    if (Resizable_ && e->button() == Qt::LeftButton && pos.x() >= width() - 10 &&
        pos.y() >= height() - 10) {
        Resizing_ = true;
        return;
    }
    const Square sq = SquareAtPoint(pos.x(), pos.y());
    if (sq != Square::None && At(sq) != ' ') {
        DragFrom_ = sq;
        PressPos_ = pos;
        PressPending_ = true;
    }
}

void TChessBrd::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(this, e->modifiers(), pos.x(), pos.y());
    if (Resizable_) {
        if (Resizing_) {
            const int v = std::clamp(std::max(pos.x(), pos.y()), ResizeMinSize_, ResizeMaxSize_);
            if (v != width())
                resize(v, height());
            return;
        }
        if (pos.x() >= width() - 10 && pos.y() >= height() - 10) {
            setCursor(Qt::SizeFDiagCursor);
            if (e->buttons() & Qt::LeftButton && !Dragging_ && !PressPending_)
                Resizing_ = true;
        } else {
            unsetCursor();
        }
    }
    if (PressPending_ && (e->buttons() != Qt::NoButton) &&
        (pos - PressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        PressPending_ = false;
        Dragging_ = true;
        PaintEmptySquare(DragFrom_);
        PaintLines();
        ShowFloatingPiece(At(DragFrom_), pos - QPoint(SizeOfSquare_ / 2, SizeOfSquare_ / 2));
    }
    if (Dragging_ && Floating_) {
        const QPoint topLeft = pos - QPoint(SizeOfSquare_ / 2, SizeOfSquare_ / 2);
        Floating_->move(window() == this ? topLeft : mapTo(window(), topLeft));
        const Square target = rect().contains(pos) ? SquareAtPoint(pos.x(), pos.y()) : Square::None;
        setCursor(DropAccepted(target) ? Qt::ClosedHandCursor : Qt::ForbiddenCursor);
    }
}

void TChessBrd::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(this, e->button(), e->modifiers(), pos.x(), pos.y());
    if (Resizing_) {
        Resizing_ = false;
        return;
    }
    if (Dragging_) {
        EndDrag(pos);
        return;
    }
    const bool click = PressPending_ || rect().contains(pos);
    PressPending_ = false;
    if (click && OnClick)
        OnClick(this);
}

void TChessBrd::EndDrag(QPoint pos) {
    Dragging_ = false;
    unsetCursor();
    HideFloatingPiece();
    const Square target = rect().contains(pos) ? SquareAtPoint(pos.x(), pos.y()) : Square::None;
    if (DropAccepted(target)) {
        DropTo_ = target;
        if (target == DragFrom_) {
            PaintPiece(DragFrom_, At(DragFrom_));
            PaintLines();
        } else {
            PlayUserMove(DragFrom_, DropTo_);
        }
        return;
    }
    PaintPiece(DragFrom_, At(DragFrom_));
    PaintLines();
    if (OnIllegalMove)
        OnIllegalMove(this, DragFrom_);
}
