// SPDX-License-Identifier: GPL-3.0-or-later
// The checks every piece-set bitmap of the tool passes before it is written.
#include "tools/pieceset/PieceArt.h"

#include <QColor>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace pieceart {
namespace {

// How many pixels of an n-by-n cell the cell border reaches through pixels that are not piece.
long Outside(int n, const std::function<bool(int, int)>& piece) {
    const std::vector<bool> reached = ReachFromBorder(n, piece);
    return long(std::count(reached.begin(), reached.end(), true));
}

// A pixel three or more pixels inside the piece: its whole 5-by-5 neighbourhood is piece.
template <typename Piece> bool Core(int x, int y, Piece piece) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (!piece(x + dx, y + dy))
                return false;
    return true;
}

// What a player reads as the piece's colour: the median lightness of its pixels, in per cent,
// is below the first for every black piece and above the second for every white one.
constexpr int BlackMedianBelow = 35;
constexpr int WhiteMedianAbove = 70;

} // namespace

QStringList Validate(const QImage& image) {
    if (image.isNull())
        return {QStringLiteral("no image")};
    const int s = image.height() / Rows;
    if (s < 8 || image.height() != s * Rows || image.width() != s * Columns)
        return {QStringLiteral("size %1x%2 is not 6 by 4 cells")
                    .arg(image.width())
                    .arg(image.height())};

    static const char* const names[Columns] = {"pawn", "knight", "bishop", "rook", "queen", "king"};
    QStringList faults;
    for (int c = 0; c < Columns; ++c) {
        for (int row : {1, 3}) {
            const QString where =
                QStringLiteral("%1 %2").arg(row == 1 ? "white" : "black", names[c]);
            auto grey = [&](int r, int x, int y) {
                return qGray(image.pixel(c * s + x, r * s + y));
            };
            auto piece = [&](int x, int y) {
                return x >= 0 && y >= 0 && x < s && y < s &&
                       image.pixel(c * s + x, row * s + y) == qRgb(0, 0, 0);
            };
            int count = 0, rim = 0, darkRim = 0, core = 0, coreLight = 0, coreDark = 0;
            std::vector<int> lightness;
            for (int y = 0; y < s; ++y) {
                for (int x = 0; x < s; ++x) {
                    const QRgb p = image.pixel(c * s + x, row * s + y);
                    if (p != qRgb(0, 0, 0) && p != qRgb(255, 255, 255))
                        faults << where + QStringLiteral(
                                              ": mask pixel (%1,%2) is neither black nor white")
                                              .arg(x)
                                              .arg(y);
                    const bool edge = x == 0 || y == 0 || x == s - 1 || y == s - 1;
                    if (edge && piece(x, y))
                        faults << where +
                                      QStringLiteral(": mask touches the cell border at (%1,%2)")
                                          .arg(x)
                                          .arg(y);
                    if (!piece(x, y))
                        continue;
                    ++count;
                    lightness.push_back(
                        QColor(image.pixel(c * s + x, (row - 1) * s + y)).lightness());
                    if (Core(x, y, piece)) {
                        ++core;
                        coreLight += grey(row - 1, x, y) >= 160;
                        coreDark += grey(row - 1, x, y) < 64;
                    }
                    if (!edge && !(piece(x + 1, y) && piece(x - 1, y) && piece(x, y + 1) &&
                                   piece(x, y - 1))) {
                        ++rim;
                        darkRim += grey(row - 1, x, y) < 64;
                    }
                }
            }
            if (count == 0) {
                faults << where + QStringLiteral(": mask has no piece");
                continue;
            }
            if (Outside(s, piece) + count != long(s) * s)
                faults << where + QStringLiteral(": mask has holes inside the piece");
            if (darkRim != rim)
                faults << where + QStringLiteral(": %1 of %2 edge pixels are not dark")
                                      .arg(rim - darkRim)
                                      .arg(rim);
            // Outlines darken a white piece and light lines lighten a black one; away from
            // its edge, a white piece is still mostly light and a black one mostly dark.
            const bool white = row == 1;
            if (white ? coreLight * 5 < core * 2 : coreDark * 2 <= core)
                faults << where + QStringLiteral(": only %1 of %2 pixels inside are %3")
                                      .arg(white ? coreLight : coreDark)
                                      .arg(core)
                                      .arg(white ? "light" : "dark");
            std::nth_element(lightness.begin(), lightness.begin() + count / 2, lightness.end());
            const int median = lightness[size_t(count / 2)] * 100 / 255;
            if (white ? median <= WhiteMedianAbove : median >= BlackMedianBelow)
                faults << where + QStringLiteral(": median lightness %1 %").arg(median);
        }
    }
    return faults;
}

} // namespace pieceart
