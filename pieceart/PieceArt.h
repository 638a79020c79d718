// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing of the built-in piece sets from their outlines, at any cell size. A piece-set
// bitmap is 6 columns (pawn, knight, bishop, rook, queen, king) by 4 rows (white pieces, their
// masks, black pieces, their masks) of square cells; in a mask, black is the piece and white
// the square showing through. The piece-set tool writes each shipped set's bitmap and, beside
// it, the outlines it was drawn from; the board draws a set from those outlines when the
// screen has more pixels than the bitmap.

#include <QByteArray>
#include <QImage>
#include <QPainterPath>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace pieceart {

constexpr int Columns = 6;
constexpr int Rows = 4;

// Where a black piece's light inner lines come from.
enum class Detail {
    // The gaps the font draws inside its black glyph.
    Gaps,
    // The lines of the white glyph, away from its outline: for black glyphs whose gaps are so
    // wide that the piece would read as a white one.
    WhiteLines,
};

// One set's drawing: per column, pawn to king, the white and the black glyph in the units of
// a 1000-pixel font; the cell of its shipped bitmap, and that bitmap's key (SetKey).
struct Outlines {
    std::array<QPainterPath, Columns> white, black;
    std::array<Detail, Columns> detail{};
    int cell = 40;
    QByteArray key;
};

// The whole bitmap with cells of `cell` pixels.
QImage DrawPieceSet(const Outlines& outlines, int cell);

// The pixels of an n-by-n grid (row by row) that its border reaches through pixels that are
// not walls.
std::vector<bool> ReachFromBorder(int n, const std::function<bool(int, int)>& wall);

// Names a bitmap by its pixels.
QByteArray SetKey(const QImage& bitmap);

// The outlines as text, and back; nothing for text that is not such a file.
QByteArray WriteOutlines(const Outlines& outlines);
std::optional<Outlines> ReadOutlines(const QByteArray& text);

// The outlines of the shipped set whose bitmap `bitmap` is, exactly; null for any other.
const Outlines* BuiltInOutlines(const QImage& bitmap);

} // namespace pieceart
