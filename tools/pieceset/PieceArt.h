// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pieceart/PieceArt.h"

#include <QRawFont>
#include <QString>
#include <QStringList>

// The piece-set tool's side of the drawing: the outlines come from a font's chess glyphs, and
// every bitmap is checked before it is written. The drawing itself is the board's.
namespace pieceart {

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

// The set's outlines from the font's glyphs, with the style's mitre; its key is left empty.
Outlines GlyphOutlines(const QRawFont& font, const Style& style);

// Every fault found in a piece-set bitmap; empty when it is fit for the game.
QStringList Validate(const QImage& image);

} // namespace pieceart
