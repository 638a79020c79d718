#pragma once
#include "board/Square.h"

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
};
