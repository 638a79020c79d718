// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRawFont>
#include <QString>
#include <QStringList>

#include <array>

// A piece-set bitmap: 6 columns (pawn, knight, bishop, rook, queen, king) by 4 rows (white
// pieces, their masks, black pieces, their masks) of square cells. In a mask, black is the
// piece and white the square showing through.
namespace pieceart {

constexpr int Columns = 6;
constexpr int Rows = 4;

// Where a black piece's light inner lines come from, besides the light line that runs just
// inside its edge.
enum class Detail {
    // The gaps the font draws inside its black glyph.
    Gaps,
    // The lines of the white glyph, away from its outline: for black glyphs whose gaps are so
    // wide that the piece would read as a white one.
    WhiteLines,
};

// How one set is drawn from its font.
struct Style {
    int cell = 40;
    // The font's bishop wears a round cap; give it a pointed mitre with a slit instead.
    bool mitre = false;
    // Per column, pawn to king.
    std::array<Detail, Columns> detail{};
};

// Loads the glyph source; an invalid font or one without the chess glyphs is an error.
QRawFont LoadChessFont(const QString& path, QString* error);

// Draws the whole bitmap with cells of side `style.cell` pixels.
QImage DrawPieceSet(const QRawFont& font, const Style& style);

// Every fault found in a piece-set bitmap; empty when it is fit for the game.
QStringList Validate(const QImage& image);

} // namespace pieceart
