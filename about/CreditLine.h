// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One credits line with its mark-up taken out: the text to show and how to draw it.

#include <QColor>
#include <QString>
#include <QStringView>

#include <optional>

struct TCreditLine {
    QString Text;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    // The line's own colour; empty means the colour of the credits font.
    std::optional<QColor> Color;
};

// Takes the mark-up out of one credits line. It applies to the whole line wherever it stands:
//   "&&" a literal "&";  "&b", "&i", "&u" bold, italic, underlined;
//   "&c" R "," G "," B ";" the line's colour (decimal 0-255 each, ";" or the end of the line
//   ends it; the last "&c" of a line counts, and a malformed one means the font's colour);
//   "&" with any other character drops both; a last lone "&" is dropped.
// Letters are accepted in either case.
TCreditLine ParseCreditLine(QStringView line);

// The colour written after "&c" up to its ";": three decimal components 0-255 separated by
// commas, nothing else. Anything else answers empty.
std::optional<QColor> ParseCreditColor(QStringView components);
