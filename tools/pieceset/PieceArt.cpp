// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/pieceset/PieceArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace pieceart {
namespace {

// Pieces are drawn this many times larger than the cell; averaging back down gives each cell
// pixel its true coverage, which decides the mask.
constexpr int Supersample = 8;
// A cell pixel is piece when the piece covers more than this share of it. The mask is
// two-colour, so a lower threshold would leave a ring of background-tinted pixels.
constexpr double MaskThreshold = 0.45;

constexpr int Outline = 0;     // white pieces: outline and detail lines
constexpr int WhiteBody = 255; // white pieces: body
constexpr int BlackBody = 24;  // black pieces: body and edge, black once Crisp() has run
// Black pieces: the inner lines the drawing needs (the font's own gaps, or the white king's
// lines), so the shape reads inside the dark body. Crisp() lifts it to 220: light against the
// body, yet short of the white pieces' pure white body. The light outline a black piece needs
// on a dark square is the board's to draw, since only the board knows the square.
constexpr int BlackLine = 174;

// U+2654..U+2659 are the white king down to the pawn, U+265A..U+265F the black ones; our
// columns run from the pawn up to the king.
char32_t WhiteCode(int column) {
    return char32_t(0x2659 - column);
}
char32_t BlackCode(int column) {
    return char32_t(0x265F - column);
}

quint32 GlyphIndex(const QRawFont& font, char32_t code) {
    const QList<quint32> indexes = font.glyphIndexesForString(QString::fromUcs4(&code, 1));
    return indexes.size() == 1 ? indexes.front() : 0;
}

// A square map of 0..255 values: coverage, or lightness.
struct Map {
    int side;
    std::vector<int> v;
    explicit Map(int s, int fill = 0) : side(s), v(size_t(s) * s, fill) {}
    int& at(int x, int y) { return v[size_t(y) * side + x]; }
    int at(int x, int y) const { return v[size_t(y) * side + x]; }
};

Map Coverage(const QPainterPath& path, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(path, Qt::black);
    }
    Map map(side);
    for (int y = 0; y < side; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < side; ++x)
            map.at(x, y) = qAlpha(line[x]);
    }
    return map;
}

// The pixels of an n-by-n grid that the cell border reaches through pixels that are not walls.
template <typename Wall> std::vector<bool> ReachFromBorder(int n, Wall wall) {
    std::vector<bool> reached(size_t(n) * n, false);
    std::vector<std::pair<int, int>> stack;
    auto reach = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= n || y >= n || reached[size_t(y) * n + x] || wall(x, y))
            return;
        reached[size_t(y) * n + x] = true;
        stack.emplace_back(x, y);
    };
    for (int i = 0; i < n; ++i)
        reach(i, 0), reach(i, n - 1), reach(0, i), reach(n - 1, i);
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        reach(x + 1, y), reach(x - 1, y), reach(x, y + 1), reach(x, y - 1);
    }
    return reached;
}

// The glyph with everything it encloses filled in: what the background cannot reach from the
// border is piece, so the square never shows through inside an outline.
Map Silhouette(const Map& coverage) {
    const int n = coverage.side;
    const std::vector<bool> outside =
        ReachFromBorder(n, [&](int x, int y) { return coverage.at(x, y) >= 128; });
    Map result(n, 255);
    for (size_t i = 0; i < outside.size(); ++i)
        if (outside[i])
            result.v[i] = coverage.v[i];
    return result;
}

// Grows the bright parts of a map by `radius` pixels (a square max filter, row then column).
Map Dilate(const Map& map, int radius) {
    const int n = map.side;
    Map across(n), result(n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            for (int d = std::max(0, x - radius); d <= std::min(n - 1, x + radius); ++d)
                across.at(x, y) = std::max(across.at(x, y), map.at(d, y));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            for (int d = std::max(0, y - radius); d <= std::min(n - 1, y + radius); ++d)
                result.at(x, y) = std::max(result.at(x, y), across.at(x, d));
    return result;
}

Map Erode(const Map& map, int radius) {
    Map inverse(map.side);
    for (size_t i = 0; i < map.v.size(); ++i)
        inverse.v[i] = 255 - map.v[i];
    Map result = Dilate(inverse, radius);
    for (int& v : result.v)
        v = 255 - v;
    return result;
}

// A touch more contrast, so one-pixel lines come out black or white rather than grey.
int Crisp(int grey) {
    return std::clamp((grey - 128) * 2 + 128, 0, 255);
}

// The font's bishop wears a round cap with a cross. Ours gets a pointed mitre with a slit,
// the shape players look for, on the font's collar and foot. Coordinates are in units of the
// 1000-pixel font the glyphs come from; `white` and `black` are the two glyphs.
void GiveMitre(QPainterPath& white, QPainterPath& black) {
    const QRectF box = black.boundingRect();
    const double cx = box.center().x(), stroke = 42, half = 165;
    const double top = box.top() + 80, bottom = -340, middle = bottom - 120;
    // A teardrop: widest low down, drawn up to a point.
    QPainterPath mitre;
    mitre.moveTo(cx, top);
    mitre.cubicTo(cx + 0.35 * half, top + 60, cx + half, middle - 100, cx + half, middle);
    mitre.cubicTo(cx + half, bottom - 45, cx + 80, bottom, cx, bottom);
    mitre.cubicTo(cx - 80, bottom, cx - half, bottom - 45, cx - half, middle);
    mitre.cubicTo(cx - half, middle - 100, cx - 0.35 * half, top + 60, cx, top);
    mitre.closeSubpath();
    const double radius = 40;
    QPainterPath knob;
    knob.addEllipse(QPointF(cx, top - radius + 5), radius, radius);

    QPainterPathStroker thick;
    thick.setWidth(2 * stroke);
    QPainterPathStroker thin;
    thin.setWidth(stroke);
    thin.setCapStyle(Qt::FlatCap);
    QPainterPath slitLine;
    slitLine.moveTo(cx + 1.2 * half, middle - 150);
    slitLine.lineTo(cx - 0.25 * half, middle + 5);
    const QPainterPath slitStroke = thin.createStroke(slitLine);

    QPainterPath foot;
    foot.addRect(QRectF(box.left() - 1, bottom, box.width() + 2, box.bottom() - bottom + 1));
    const QPainterPath mitreRing = thick.createStroke(mitre).intersected(mitre);
    const QPainterPath knobRing = thick.createStroke(knob).intersected(knob);
    // The slit starts at the white mitre's outline; in the black one it stops short of the
    // edge, so it stays a closed cut that shows light.
    const QPainterPath slit = slitStroke.intersected(mitre);
    const QPainterPath cut = slitStroke.intersected(mitre.subtracted(mitreRing));
    white =
        white.intersected(foot).united(mitreRing.subtracted(knob)).united(knobRing).united(slit);
    black = black.intersected(foot).united(mitre.subtracted(cut)).united(knob);
}

// One cell at its final size: which pixels are piece, and their grey.
struct Cell {
    int side;
    std::vector<bool> piece;
    std::vector<int> grey;
};

// Box-filters the drawing down to the cell. The grey is averaged over the covered part only,
// so an edge pixel takes the colour of the piece's edge, never a blend with the background.
Cell Reduce(const Map& silhouette, const Map& lightness, int side) {
    Cell cell{side, std::vector<bool>(size_t(side) * side), std::vector<int>(size_t(side) * side)};
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            long weight = 0, sum = 0;
            for (int sy = 0; sy < Supersample; ++sy) {
                for (int sx = 0; sx < Supersample; ++sx) {
                    const int hx = x * Supersample + sx, hy = y * Supersample + sy;
                    weight += silhouette.at(hx, hy);
                    sum += long(silhouette.at(hx, hy)) * lightness.at(hx, hy);
                }
            }
            const size_t i = size_t(y) * side + x;
            cell.piece[i] = weight > MaskThreshold * 255 * Supersample * Supersample;
            cell.grey[i] = weight ? int((sum + weight / 2) / weight) : 0;
        }
    }
    return cell;
}

// Thresholding can close a pocket of background at small sizes (between the queen's points,
// behind the knight's mane); the square must not show through there, so it becomes piece in
// the rim colour.
void FillPockets(Cell& cell, int rim) {
    const int n = cell.side;
    const std::vector<bool> open =
        ReachFromBorder(n, [&](int x, int y) { return bool(cell.piece[size_t(y) * n + x]); });
    for (size_t i = 0; i < open.size(); ++i) {
        if (!open[i] && !cell.piece[i]) {
            cell.piece[i] = true;
            cell.grey[i] = rim;
        }
    }
}

// Piece pixels next to the square get the rim colour, so every piece has a closed edge.
void DarkenRim(Cell& cell, int rim) {
    const int n = cell.side;
    auto piece = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < n && y < n && cell.piece[size_t(y) * n + x];
    };
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            if (piece(x, y) &&
                !(piece(x + 1, y) && piece(x - 1, y) && piece(x, y + 1) && piece(x, y - 1)))
                cell.grey[size_t(y) * n + x] = std::min(cell.grey[size_t(y) * n + x], rim);
        }
    }
}

// Outside the piece the cell stays black, so the set also suits drawing by AND with the mask
// followed by OR with the piece.
void Paint(QImage& image, int column, int row, const Cell& cell, bool asMask) {
    const int n = cell.side;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const size_t i = size_t(y) * n + x;
            const int g =
                asMask ? (cell.piece[i] ? 0 : 255) : (cell.piece[i] ? Crisp(cell.grey[i]) : 0);
            image.setPixel(column * n + x, row * n + y, qRgb(g, g, g));
        }
    }
}

} // namespace

QRawFont LoadChessFont(const QString& path, QString* error) {
    QRawFont font(path, 1000, QFont::PreferNoHinting);
    if (!font.isValid()) {
        *error = QStringLiteral("cannot load the font %1").arg(path);
        return {};
    }
    for (char32_t code = 0x2654; code <= 0x265F; ++code) {
        const quint32 glyph = GlyphIndex(font, code);
        if (!font.supportsCharacter(code) || glyph == 0 || font.pathForGlyph(glyph).isEmpty()) {
            *error = QStringLiteral("%1 has no glyph for U+%2").arg(path).arg(uint(code), 4, 16);
            return {};
        }
    }
    return font;
}

QImage DrawPieceSet(const QRawFont& font, const Style& style) {
    struct Glyphs {
        QPainterPath white, black;
        QRectF bounds;
    };
    const int cell = style.cell;
    std::array<Glyphs, Columns> glyphs;
    double largest = 0;
    for (int c = 0; c < Columns; ++c) {
        Glyphs& g = glyphs[c];
        g.white = font.pathForGlyph(GlyphIndex(font, WhiteCode(c)));
        g.black = font.pathForGlyph(GlyphIndex(font, BlackCode(c)));
        if (c == 2 && style.mitre)
            GiveMitre(g.white, g.black);
        g.bounds = g.white.boundingRect().united(g.black.boundingRect());
        largest = std::max({largest, g.bounds.width(), g.bounds.height()});
    }
    // One scale for the whole set keeps the font's proportions: the pawn stays smaller than
    // the king, and the largest piece keeps a margin of a sixteenth of the cell.
    const double margin = std::max(1.0, cell / 16.0);
    const int n = cell * Supersample;
    const double scale = (cell - 2 * margin) * Supersample / largest;

    QImage image(cell * Columns, cell * Rows, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int c = 0; c < Columns; ++c) {
        const QRectF& b = glyphs[c].bounds;
        // Centred across the cell and down it, with the foot on a whole pixel so the base
        // line stays sharp.
        const double foot = std::round((cell + b.height() * scale / Supersample) / 2);
        const QTransform place(scale, 0, 0, scale, n / 2.0 - b.center().x() * scale,
                               foot * Supersample - b.bottom() * scale);
        const Map white = Coverage(place.map(glyphs[c].white), n);
        const Map black = Coverage(place.map(glyphs[c].black), n);
        Map both(n);
        for (size_t i = 0; i < both.v.size(); ++i)
            both.v[i] = std::max(white.v[i], black.v[i]);
        const Map outer = Silhouette(both);
        Map lines(n), whiteLines(n);
        if (style.detail[c] == Detail::Gaps) {
            // The black glyph's inner lines are the gaps it encloses. They are a hair wide at
            // this size, so they are widened by half a pixel, but kept off the edge.
            const Map blackOuter = Silhouette(black);
            for (size_t i = 0; i < both.v.size(); ++i)
                lines.v[i] = std::max(0, blackOuter.v[i] - black.v[i]);
            // Dark on a white piece, the same lines need no widening.
            whiteLines = lines;
            lines = Dilate(lines, Supersample / 4);
            const Map inner = Erode(blackOuter, Supersample);
            for (size_t i = 0; i < both.v.size(); ++i) {
                lines.v[i] = std::min(lines.v[i], inner.v[i]);
                whiteLines.v[i] = std::min(whiteLines.v[i], inner.v[i]);
            }
        } else {
            // The white glyph's own lines, less its outline: what lies two and a half pixels
            // or more inside the silhouette.
            const Map inner = Erode(outer, Supersample * 5 / 2);
            for (size_t i = 0; i < both.v.size(); ++i)
                lines.v[i] = std::min(white.v[i], inner.v[i]);
            whiteLines = lines;
        }
        Map whiteShade(n), blackShade(n);
        for (size_t i = 0; i < both.v.size(); ++i) {
            whiteShade.v[i] = WhiteBody - (WhiteBody - Outline) * whiteLines.v[i] / 255;
            blackShade.v[i] = BlackBody + (BlackLine - BlackBody) * lines.v[i] / 255;
        }
        // A white piece reads as white only when most of it is body, not outline. The
        // queen's points stand so close that at these sizes the gaps between them would be
        // outline only: her white silhouette closes them, up to a pixel wide.
        const int close = c == 4 ? Supersample : 0;
        const Map whiteOuter = Erode(Dilate(outer, close), close);
        Cell whitePiece = Reduce(whiteOuter, whiteShade, cell);
        FillPockets(whitePiece, WhiteBody);
        DarkenRim(whitePiece, Outline);
        Cell blackPiece = Reduce(outer, blackShade, cell);
        FillPockets(blackPiece, BlackBody);
        DarkenRim(blackPiece, BlackBody);
        Paint(image, c, 0, whitePiece, false);
        Paint(image, c, 1, whitePiece, true);
        Paint(image, c, 2, blackPiece, false);
        Paint(image, c, 3, blackPiece, true);
    }
    return image;
}

} // namespace pieceart
