// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThemeArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int W = ThemeWidth;
constexpr int H = ThemeHeight;

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double Rand01(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    return (Hash(x, y, seed) & 0xFFFFFF) / double(0xFFFFFF);
}

// Smooth value noise in 0..1 with cells of `cell` pixels.
double ValueNoise(double x, double y, double cell, std::uint32_t seed) {
    const double fx = x / cell, fy = y / cell;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    const double tx = fx - ix, ty = fy - iy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto v = [&](int dx, int dy) { return Rand01(ix + dx + 4096, iy + dy + 4096, seed); };
    const double a = v(0, 0) + (v(1, 0) - v(0, 0)) * sx;
    const double b = v(0, 1) + (v(1, 1) - v(0, 1)) * sx;
    return a + (b - a) * sy;
}

// Several octaves of value noise, 0..1.
double Fractal(double x, double y, double cell, int octaves, std::uint32_t seed) {
    double sum = 0, weight = 0, amp = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += ValueNoise(x, y, cell, seed + o) * amp;
        weight += amp;
        amp *= 0.5;
        cell /= 2;
    }
    return sum / weight;
}

int Clamp(double v) {
    return std::clamp(int(std::lround(v)), 0, 255);
}

// Multiplies each pixel by a per-pixel factor and adds a fine grain.
template <class F> void Shade(QImage& img, double grain, std::uint32_t seed, F factor) {
    for (int y = 0; y < H; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const double f = factor(x, y);
            const double g = (Rand01(x, y, seed) - 0.5) * grain;
            const QRgb c = line[x];
            line[x] =
                qRgb(Clamp(qRed(c) * f + g), Clamp(qGreen(c) * f + g), Clamp(qBlue(c) * f + g));
        }
    }
}

// Darkens the edges so the controls in the middle stand out.
double Vignette(int x, int y, double strength) {
    const double dx = (x - W / 2.0) / (W / 2.0), dy = (y - H / 2.0) / (H / 2.0);
    return 1.0 - strength * std::min(1.0, (dx * dx + dy * dy) / 2.0);
}

QImage Canvas(const QGradient& fill) {
    QImage img(W, H, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(img.rect(), fill);
    return img;
}

QImage Meridian() {
    QLinearGradient g(0, 0, W, H);
    g.setColorAt(0, QColor(18, 30, 78));
    g.setColorAt(0.55, QColor(44, 26, 92));
    g.setColorAt(1, QColor(12, 14, 40));
    QImage img = Canvas(g);
    {
        // Soft bands of light across the sky, like a meridian line.
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 5; ++i) {
            QLinearGradient band(0, 0, W, 0);
            band.setColorAt(0, QColor(120, 160, 255, 0));
            band.setColorAt(0.5, QColor(150, 180, 255, 26 + i * 6));
            band.setColorAt(1, QColor(120, 160, 255, 0));
            QPainterPath path;
            const double y0 = 80 + i * 120;
            path.moveTo(0, y0);
            path.cubicTo(W * 0.3, y0 - 90, W * 0.7, y0 + 90, W, y0 - 20);
            path.lineTo(W, y0 + 18);
            path.cubicTo(W * 0.7, y0 + 110, W * 0.3, y0 - 60, 0, y0 + 30);
            path.closeSubpath();
            p.fillPath(path, band);
        }
        QRadialGradient glow(W * 0.78, H * 0.2, 260);
        glow.setColorAt(0, QColor(255, 210, 140, 70));
        glow.setColorAt(1, QColor(255, 210, 140, 0));
        p.fillRect(img.rect(), glow);
    }
    Shade(img, 5, 11, [](int x, int y) {
        return (0.85 + 0.3 * Fractal(x, y, 180, 3, 1)) * Vignette(x, y, 0.35);
    });
    return img;
}

QImage Standard() {
    QLinearGradient g(0, 0, 0, H);
    g.setColorAt(0, QColor(58, 78, 86));
    g.setColorAt(1, QColor(24, 36, 42));
    QImage img = Canvas(g);
    Shade(img, 4, 21, [](int x, int y) {
        return (0.92 + 0.16 * Fractal(x, y, 220, 2, 2)) * Vignette(x, y, 0.3);
    });
    return img;
}

QImage Stone() {
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(QColor(90, 85, 78));
    // Mottled rock: broad patches, finer speckle, and dark veins where the noise crosses a
    // narrow band.
    Shade(img, 10, 31, [](int x, int y) {
        const double broad = Fractal(x, y, 140, 4, 3);
        const double vein = std::abs(Fractal(x + 500, y, 90, 3, 7) - 0.5);
        const double crack = vein < 0.012 ? 0.6 + vein * 30 : 1.0;
        return (0.62 + 0.6 * broad) * crack * Vignette(x, y, 0.4);
    });
    return img;
}

QImage Metal() {
    QLinearGradient g(0, 0, 0, H);
    g.setColorAt(0, QColor(150, 156, 164));
    g.setColorAt(0.35, QColor(104, 110, 118));
    g.setColorAt(0.5, QColor(136, 142, 150));
    g.setColorAt(1, QColor(70, 74, 82));
    QImage img = Canvas(g);
    // Brushed: noise stretched far along the rows, barely across them.
    Shade(img, 3, 41, [](int x, int y) {
        const double streak = ValueNoise(x, y, 1, 5) * 0.25 + ValueNoise(x / 60.0, y, 1, 6) * 0.75;
        return (0.86 + 0.2 * streak) * Vignette(x, y, 0.25);
    });
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Rivets along the edges.
    for (int x = 20; x < W; x += 60)
        for (int y : {14, H - 14}) {
            QRadialGradient r(x - 2, y - 2, 7);
            r.setColorAt(0, QColor(220, 224, 230));
            r.setColorAt(1, QColor(60, 64, 70));
            p.setBrush(r);
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(x, y), 5, 5);
        }
    return img;
}

QImage Charcoal() {
    QRadialGradient g(W / 2.0, H / 2.0, W * 0.7);
    g.setColorAt(0, QColor(52, 52, 54));
    g.setColorAt(1, QColor(16, 16, 18));
    QImage img = Canvas(g);
    Shade(img, 6, 51,
          [](int x, int y) { return 0.85 + 0.3 * Fractal(x * 0.5, y * 2.0, 60, 3, 8); });
    return img;
}

QImage Crystal() {
    QLinearGradient g(0, 0, W, H);
    g.setColorAt(0, QColor(20, 60, 96));
    g.setColorAt(1, QColor(10, 28, 58));
    QImage img = Canvas(g);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        // Facets: triangles over a jittered grid, each lit from the upper left.
        const int cols = 9, rows = 8;
        std::vector<QPointF> pt((cols + 1) * (rows + 1));
        for (int r = 0; r <= rows; ++r)
            for (int c = 0; c <= cols; ++c) {
                const bool edge = r == 0 || c == 0 || r == rows || c == cols;
                const double jx = edge ? 0 : (Rand01(c, r, 61) - 0.5) * 70;
                const double jy = edge ? 0 : (Rand01(c, r, 62) - 0.5) * 70;
                pt[r * (cols + 1) + c] =
                    QPointF(c * W / double(cols) + jx, r * H / double(rows) + jy);
            }
        auto at = [&](int c, int r) { return pt[r * (cols + 1) + c]; };
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                for (int half = 0; half < 2; ++half) {
                    const QPointF a = at(c, r), b = half ? at(c + 1, r + 1) : at(c + 1, r),
                                  d = half ? at(c, r + 1) : at(c + 1, r + 1);
                    const double light = Rand01(c * 2 + half, r, 63);
                    QLinearGradient f(a, d);
                    f.setColorAt(0, QColor(140, 210, 255, int(20 + 60 * light)));
                    f.setColorAt(1, QColor(40, 90, 160, int(10 + 30 * (1 - light))));
                    QPainterPath tri;
                    tri.moveTo(a);
                    tri.lineTo(b);
                    tri.lineTo(d);
                    tri.closeSubpath();
                    p.fillPath(tri, f);
                    p.setPen(QPen(QColor(190, 235, 255, 60), 1));
                    p.drawPath(tri);
                }
    }
    Shade(img, 3, 71, [](int x, int y) { return Vignette(x, y, 0.35); });
    return img;
}

} // namespace

QImage DrawTheme(const QString& name) {
    if (name == "meridian")
        return Meridian();
    if (name == "standard")
        return Standard();
    if (name == "stone")
        return Stone();
    if (name == "metal")
        return Metal();
    if (name == "charcoal")
        return Charcoal();
    if (name == "Crystal")
        return Crystal();
    return {};
}
