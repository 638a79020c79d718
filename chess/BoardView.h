// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "chess/Square.h"

#include <string>

// What the game model asks of whatever shows it. The model runs the rules and calls these at
// the moments a half-move or a property change must be seen; a model without a view (tools,
// tests, copies) uses the silent defaults.
class IBoardView {
public:
    virtual ~IBoardView() = default;
    // Called before the model changes position, side, en passant square or history slot
    // shown, so that nothing reading the game (the engine) runs while it changes.
    virtual void BeforeChange() {}
    virtual void RepaintAll() {}
    virtual void PaintEmptySquare(Square) {}
    virtual void PaintPiece(Square, char) {}
    virtual void PaintLines() {}
    // Slide the piece from one square to the other when the view animates such a half-move.
    virtual void SlidePiece(Square, Square) {}
    virtual void RedrawChanged(const std::string&) {}
    // Called once the model has finished a change of the game: a half-move, a step through
    // the history, or a position, side or en passant square written from outside. The two
    // squares are those of the half-move that led to the position now shown, or None when
    // no half-move is known to have led there.
    virtual void AfterChange(Square /*lastFrom*/, Square /*lastTo*/) {}
};
