#pragma once

#include <QImage>
#include <QRawFont>
#include <QString>
#include <QStringList>

// A piece-set bitmap: 6 columns (pawn, knight, bishop, rook, queen, king) by 4 rows (white
// pieces, their masks, black pieces, their masks) of square cells. In a mask, black is the
// piece and white the square showing through.
namespace pieceart {

constexpr int Columns = 6;
constexpr int Rows = 4;

// Loads the glyph source; an invalid font or one without the chess glyphs is an error.
QRawFont LoadChessFont(const QString& path, QString* error);

// Draws the whole bitmap with cells of side `cell` pixels.
QImage DrawPieceSet(const QRawFont& font, int cell);

// Every fault found in a piece-set bitmap; empty when it is fit for the game.
QStringList Validate(const QImage& image);

} // namespace pieceart
