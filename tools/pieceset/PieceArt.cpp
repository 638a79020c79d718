// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/pieceset/PieceArt.h"

#include <QPainterPath>

#include <algorithm>

namespace pieceart {
namespace {

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

Outlines GlyphOutlines(const QRawFont& font, const Style& style) {
    Outlines outlines;
    outlines.cell = style.cell;
    outlines.detail = style.detail;
    for (int c = 0; c < Columns; ++c) {
        outlines.white[c] = font.pathForGlyph(GlyphIndex(font, WhiteCode(c)));
        outlines.black[c] = font.pathForGlyph(GlyphIndex(font, BlackCode(c)));
        if (c == 2 && style.mitre)
            GiveMitre(outlines.white[c], outlines.black[c]);
    }
    return outlines;
}

} // namespace pieceart
