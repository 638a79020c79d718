// SPDX-License-Identifier: GPL-3.0-or-later
// The board control's drawing: the canvas, the border, squares, lines and pieces.
#include "board/ChessBrd.h"

#include "board/EngineHandOver.h"
#include "pieceart/PieceArt.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* PieceLetters = "PNBRQKpnbrqk";
// The squares the piece sets are made for: the main window's at its designed size.
constexpr int SetSquare = 44;
// Light against every dark square, yet no whiter than a white piece's body.
constexpr QRgb OutlineColour = qRgb(208, 208, 208);

const QImage& DefaultPieceSet() {
    static const QImage set(":/SETMERLOT40.bmp");
    return set;
}

bool PicturePresent(const QImage& image) {
    return image.width() > 0 && image.height() > 0;
}

// A masked piece scaled smoothly to `size` pixels. The colours are averaged over the piece's
// own pixels only (premultiplied), and the mask stays two-valued: a pixel is the piece's where
// at least half of it was, so the edges stay as crisp as the set's own.
QImage ScaledPiece(const QImage& piece, int size) {
    const QImage scaled = piece.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
    QImage out(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < size; ++x)
            dst[x] = qAlpha(src[x]) >= 128 ? (src[x] | 0xff000000u) : 0u;
    }
    return out;
}

// The light outline a black piece gets on a dark square, where its dark edge would sink into
// the square: the pixels up to `width` pixels outside the piece (by any of their eight
// neighbours), within its image, so within its square.
QImage DarkSquareOutline(const QImage& piece, int width) {
    const int w = piece.width(), h = piece.height();
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && qAlpha(piece.pixel(x, y)) == 255;
    };
    QImage out(w, h, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (opaque(x, y))
                continue;
            bool near = false;
            for (int dy = -width; dy <= width && !near; ++dy)
                for (int dx = -width; dx <= width && !near; ++dx)
                    near = opaque(x + dx, y + dy);
            if (near)
                out.setPixel(x, y, OutlineColour);
        }
    }
    out.setDevicePixelRatio(piece.devicePixelRatio());
    return out;
}

// The twelve masked pieces ("PNBRQKpnbrqk") of a piece-set bitmap.
std::array<QImage, 12> CutPieces(const QImage& bitmap) {
    const QImage set = bitmap.convertToFormat(QImage::Format_RGB32);
    const int s = set.height() / 4;
    std::array<QImage, 12> pieces;
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
        pieces[static_cast<std::size_t>(i)] = piece;
    }
    return pieces;
}

} // namespace

// ---------------------------------------------------------------- painting

const QImage& TChessBrd::ActivePieceSet() const {
    return IsPieceSet(CustomPieceSet_) ? CustomPieceSet_ : DefaultPieceSet();
}

void TChessBrd::BuildPieceImages() {
    const QImage& set = ActivePieceSet();
    PieceCell_ = set.height() / 4;
    PieceImages_ = CutPieces(set);
    // A shipped set is known by its pixels, so a profile naming its file finds its outlines.
    SetOutlines_ = pieceart::BuiltInOutlines(set);
    FittedSize_ = -1;
}

int TChessBrd::DrawnPieceSize() const {
    if (SizeOfSquare_ < 1)
        return PieceCell_;
    // On squares larger than those the sets are made for, a piece grows with its square and
    // keeps its margin in proportion.
    if (SizeOfSquare_ > SetSquare)
        return std::min(SizeOfSquare_, PieceCell_ * SizeOfSquare_ / SetSquare);
    // A set whose cells are larger than the squares would spill over the neighbouring squares
    // and the frame, where a half-move's repaint of one square cannot reach.
    return std::min(PieceCell_, SizeOfSquare_);
}

// The pieces at the size they are drawn, in the screen's own pixels: the set's cells as they
// are when they fit the square on a screen of one pixel per unit; otherwise a shipped set is
// drawn again from its outlines at that many pixels, and any other set is scaled smoothly.
const std::array<QImage, 12>& TChessBrd::DrawnPieces() const {
    const qreal ratio = devicePixelRatioF();
    const int logical = DrawnPieceSize();
    if (ratio == 1 && logical == PieceCell_)
        return PieceImages_;
    const int pixels = std::max(1, qRound(logical * ratio));
    if (FittedSize_ != pixels || FittedRatio_ != ratio) {
        if (SetOutlines_) {
            FittedImages_ = CutPieces(pieceart::DrawPieceSet(*SetOutlines_, pixels));
        } else {
            for (std::size_t i = 0; i < PieceImages_.size(); ++i)
                FittedImages_[i] = ScaledPiece(PieceImages_[i], pixels);
        }
        for (QImage& image : FittedImages_)
            image.setDevicePixelRatio(ratio);
        FittedSize_ = pixels;
        FittedRatio_ = ratio;
    }
    return FittedImages_;
}

int TChessBrd::DrawnPieceOffset() const {
    return (SizeOfSquare_ - DrawnPieceSize()) / 2;
}

QSize TChessBrd::CanvasSize() const {
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

QImage TChessBrd::PieceImage(char letter) const {
    const char* at = letter ? std::strchr(PieceLetters, letter) : nullptr;
    return at ? DrawnPieces()[static_cast<std::size_t>(at - PieceLetters)] : QImage();
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
    // The canvas has the screen's own pixels, so lines, text and pieces stay sharp on a screen
    // with more pixels per unit; everything is drawn on it in the control's units.
    if (Canvas_.size() != CanvasSize() || Canvas_.devicePixelRatio() != devicePixelRatioF()) {
        Canvas_ = QImage(CanvasSize(), QImage::Format_RGB32);
        Canvas_.setDevicePixelRatio(devicePixelRatioF());
    }
    for (int i = 1; i <= 64; ++i)
        Marks_[static_cast<std::size_t>(i)] = WantedMarks(ToSquare(i));
    {
        QPainter p(&Canvas_);
        PaintBorder(p);
        PaintSquares(p);
        for (int i = 1; i <= 64; ++i)
            PaintMarks(p, ToSquare(i));
    }
    // The grid lies on top of the pieces, as a half-move's repaint leaves it.
    PaintPieces();
    PaintLines();
    CanvasValid_ = true;
    update();
    if (!FirstPaintDone_) {
        FirstPaintDone_ = true;
        StartThinking();
        HandOver_->StartPolling();
    }
}

void TChessBrd::paintEvent(QPaintEvent* e) {
    if (!CanvasValid_ || Canvas_.size() != CanvasSize() ||
        Canvas_.devicePixelRatio() != devicePixelRatioF())
        FullRepaint();
    if (Canvas_.size() != CanvasSize())
        return; // rounded to another size: that size's paint follows
    QPainter p(this);
    const qreal ratio = Canvas_.devicePixelRatio();
    const QRectF area(e->rect());
    p.drawImage(area, Canvas_, QRectF(area.topLeft() * ratio, area.size() * ratio));
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
    if (!IsOnBoard(square) || Canvas_.size() != CanvasSize())
        return;
    QPainter p(&Canvas_);
    const QRect r = SquareRect(square);
    p.setClipRect(r);
    FillSquareArea(p, r, IsLightSquare(square));
    PaintMarks(p, square);
    Invalidate(r);
}

void TChessBrd::PaintPiece(Square square, char letter) {
    const char* at = letter ? std::strchr(PieceLetters, letter) : nullptr;
    if (!at || !IsOnBoard(square) || Canvas_.size() != CanvasSize())
        return;
    const auto index = static_cast<std::size_t>(at - PieceLetters);
    const QImage& image = DrawnPieces()[index];
    const QRect r = SquareRect(square);
    const int offset = DrawnPieceOffset();
    QPainter p(&Canvas_);
    p.setClipRect(r);
    if (index >= 6 && !IsLightSquare(square)) {
        const std::size_t black = index - 6;
        if (OutlineKeys_[black] != image.cacheKey()) {
            Outlines_[black] =
                DarkSquareOutline(image, std::max(1, qRound(image.devicePixelRatio())));
            OutlineKeys_[black] = image.cacheKey();
        }
        p.drawImage(r.topLeft() + QPoint(offset, offset), Outlines_[black]);
    }
    p.drawImage(r.topLeft() + QPoint(offset, offset), image);
    Invalidate(QRect(r.topLeft() + QPoint(offset, offset), image.deviceIndependentSize().toSize()));
}

void TChessBrd::PaintPieces() {
    for (int i = 1; i <= 64; ++i)
        if (At(ToSquare(i)) != ' ')
            PaintPiece(ToSquare(i), At(ToSquare(i)));
}

void TChessBrd::PaintLines() {
    if (!BoardLines_ || Canvas_.size() != CanvasSize())
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
