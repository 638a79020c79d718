// SPDX-License-Identifier: GPL-3.0-or-later
#include "pieceart/PieceArt.h"

#include <QCryptographicHash>
#include <QFile>

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace pieceart {
namespace {

// Pieces are drawn this many times larger than the cell; averaging back down gives each cell
// pixel its true coverage, which decides the mask. Large cells need fewer steps for the same
// smoothness, and would cost too much time and memory with eight.
int SupersampleFor(int cell) {
    return cell <= 48 ? 8 : cell <= 96 ? 4 : 2;
}
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

// One cell at its final size: which pixels are piece, and their grey.
struct Cell {
    int side;
    std::vector<bool> piece;
    std::vector<int> grey;
};

// Box-filters the drawing down to the cell. The grey is averaged over the covered part only,
// so an edge pixel takes the colour of the piece's edge, never a blend with the background.
Cell Reduce(const Map& silhouette, const Map& lightness, int side, int Supersample) {
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

std::vector<bool> ReachFromBorder(int n, const std::function<bool(int, int)>& wall) {
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

QImage DrawPieceSet(const Outlines& outlines, int cell) {
    const int Supersample = SupersampleFor(cell);
    std::array<QRectF, Columns> bounds;
    double largest = 0;
    for (int c = 0; c < Columns; ++c) {
        bounds[c] = outlines.white[c].boundingRect().united(outlines.black[c].boundingRect());
        largest = std::max({largest, bounds[c].width(), bounds[c].height()});
    }
    // One scale for the whole set keeps the font's proportions: the pawn stays smaller than
    // the king, and the largest piece keeps a margin of a sixteenth of the cell.
    const double margin = std::max(1.0, cell / 16.0);
    const int n = cell * Supersample;
    const double scale = (cell - 2 * margin) * Supersample / largest;

    QImage image(cell * Columns, cell * Rows, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int c = 0; c < Columns; ++c) {
        const QRectF& b = bounds[c];
        // Centred across the cell and down it, with the foot on a whole pixel so the base
        // line stays sharp.
        const double foot = std::round((cell + b.height() * scale / Supersample) / 2);
        const QTransform place(scale, 0, 0, scale, n / 2.0 - b.center().x() * scale,
                               foot * Supersample - b.bottom() * scale);
        const Map white = Coverage(place.map(outlines.white[c]), n);
        const Map black = Coverage(place.map(outlines.black[c]), n);
        Map both(n);
        for (size_t i = 0; i < both.v.size(); ++i)
            both.v[i] = std::max(white.v[i], black.v[i]);
        const Map outer = Silhouette(both);
        Map lines(n), whiteLines(n);
        if (outlines.detail[c] == Detail::Gaps) {
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
        Cell whitePiece = Reduce(whiteOuter, whiteShade, cell, Supersample);
        FillPockets(whitePiece, WhiteBody);
        DarkenRim(whitePiece, Outline);
        Cell blackPiece = Reduce(outer, blackShade, cell, Supersample);
        FillPockets(blackPiece, BlackBody);
        DarkenRim(blackPiece, BlackBody);
        Paint(image, c, 0, whitePiece, false);
        Paint(image, c, 1, whitePiece, true);
        Paint(image, c, 2, blackPiece, false);
        Paint(image, c, 3, blackPiece, true);
    }
    return image;
}

QByteArray SetKey(const QImage& bitmap) {
    const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < rgb.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(rgb.constScanLine(y)),
                                    qsizetype(rgb.width()) * 4));
    return hash.result().toHex();
}

namespace {

constexpr const char* Header = "corvina piece outlines 1";

QByteArray WritePath(const QPainterPath& path) {
    QByteArray line = path.fillRule() == Qt::WindingFill ? "W" : "O";
    auto number = [&](double v) { line += ' ' + QByteArray::number(v, 'f', 3); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::CurveToDataElement) {
            number(e.x), number(e.y);
            continue;
        }
        line += e.type == QPainterPath::MoveToElement   ? " M"
                : e.type == QPainterPath::LineToElement ? " L"
                                                        : " C";
        number(e.x), number(e.y);
    }
    return line;
}

std::optional<QPainterPath> ReadPath(const QByteArray& line) {
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.isEmpty() || (words[0] != "W" && words[0] != "O"))
        return std::nullopt;
    QPainterPath path;
    path.setFillRule(words[0] == "W" ? Qt::WindingFill : Qt::OddEvenFill);
    qsizetype i = 1;
    auto numbers = [&](int count, double* out) {
        for (int k = 0; k < count; ++k) {
            bool ok = i < words.size();
            out[k] = ok ? words[i++].toDouble(&ok) : 0;
            if (!ok || !std::isfinite(out[k]) || std::abs(out[k]) > 1e6)
                return false;
        }
        return true;
    };
    while (i < words.size()) {
        const QByteArray op = words[i++];
        double v[6];
        if (op == "M" && numbers(2, v))
            path.moveTo(v[0], v[1]);
        else if (op == "L" && numbers(2, v))
            path.lineTo(v[0], v[1]);
        else if (op == "C" && numbers(6, v))
            path.cubicTo(v[0], v[1], v[2], v[3], v[4], v[5]);
        else
            return std::nullopt;
    }
    return path;
}

} // namespace

QByteArray WriteOutlines(const Outlines& o) {
    QByteArray text =
        QByteArray(Header) + "\ncell " + QByteArray::number(o.cell) + "\nkey " + o.key + "\ndetail";
    for (Detail d : o.detail)
        text += d == Detail::Gaps ? " gaps" : " lines";
    text += '\n';
    for (int c = 0; c < Columns; ++c)
        text += WritePath(o.white[c]) + '\n' + WritePath(o.black[c]) + '\n';
    return text;
}

std::optional<Outlines> ReadOutlines(const QByteArray& text) {
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 4 + 2 * Columns || lines[0] != Header || !lines[1].startsWith("cell ") ||
        !lines[2].startsWith("key ") || !lines[3].startsWith("detail"))
        return std::nullopt;
    Outlines o;
    bool ok = false;
    o.cell = lines[1].mid(5).toInt(&ok);
    if (!ok || o.cell < 8 || o.cell > 512)
        return std::nullopt;
    o.key = lines[2].mid(4);
    const QList<QByteArray> details = lines[3].simplified().split(' ');
    if (details.size() != Columns + 1)
        return std::nullopt;
    for (int c = 0; c < Columns; ++c) {
        if (details[c + 1] != "gaps" && details[c + 1] != "lines")
            return std::nullopt;
        o.detail[c] = details[c + 1] == "gaps" ? Detail::Gaps : Detail::WhiteLines;
        const auto white = ReadPath(lines[4 + 2 * c]);
        const auto black = ReadPath(lines[5 + 2 * c]);
        if (!white || !black || white->isEmpty() || black->isEmpty())
            return std::nullopt;
        o.white[c] = *white;
        o.black[c] = *black;
    }
    return o;
}

const Outlines* BuiltInOutlines(const QImage& bitmap) {
    static const std::vector<Outlines> builtIn = [] {
        std::vector<Outlines> sets;
        for (const char* name : {"Merlot", "Bold", "Classic", "Staunton"}) {
            QFile file(QStringLiteral(":/pieces/%1.outline").arg(QLatin1String(name)));
            if (file.open(QIODevice::ReadOnly))
                if (auto o = ReadOutlines(file.readAll()))
                    sets.push_back(std::move(*o));
        }
        return sets;
    }();
    if (bitmap.isNull() || builtIn.empty())
        return nullptr;
    const QByteArray key = SetKey(bitmap);
    for (const Outlines& o : builtIn)
        if (o.key == key && bitmap.height() == Rows * o.cell)
            return &o;
    return nullptr;
}

} // namespace pieceart
