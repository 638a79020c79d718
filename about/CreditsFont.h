// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base font of the credits lines together with the colour a line has without "&c".

#include <QColor>
#include <QFont>

struct TCreditsFont {
    QFont Font;
    QColor Color = Qt::white;

    // White "Tahoma" at 10 pixels. Where Tahoma is not installed (Debian has none) the font
    // system puts its sans-serif face in, DejaVu Sans, which runs wider; at 10 pixels the
    // about box's longest line still fits inside its panel.
    static TCreditsFont Default();

    bool operator==(const TCreditsFont& other) const = default;
};
