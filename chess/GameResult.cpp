// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/GameResult.h"

#include <cctype>

namespace {

bool DarkSquare(std::size_t index) {
    // a8 (index 0) is a light square.
    return (index / 8 + index % 8) % 2 == 1;
}

} // namespace

std::string TGameResult::Score() const {
    if (!Over())
        return "*";
    if (Winner == PieceColour::White)
        return "1-0";
    if (Winner == PieceColour::Black)
        return "0-1";
    return "1/2-1/2";
}

std::string TGameResult::Termination() const {
    switch (Kind) {
    case TResultKind::None:
        return "unterminated";
    case TResultKind::TimeForfeit:
    case TResultKind::TimeAgainstBareMaterial:
        return "time forfeit";
    default:
        return "normal";
    }
}

bool IsDeadPosition(std::string_view position) {
    int minors[2] = {0, 0};
    bool bishopOn[2] = {false, false}; // light, dark
    bool knights = false;
    for (std::size_t i = 0; i < position.size() && i < 64; ++i) {
        const char c = position[i];
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'P':
        case 'R':
        case 'Q':
            return false;
        case 'N':
            knights = true;
            ++minors[ColourOfLetter(c) == PieceColour::White ? 0 : 1];
            break;
        case 'B':
            bishopOn[DarkSquare(i) ? 1 : 0] = true;
            ++minors[ColourOfLetter(c) == PieceColour::White ? 0 : 1];
            break;
        default:
            break;
        }
    }
    if (minors[0] + minors[1] <= 1)
        return true; // bare kings, or one minor piece against a bare king
    return !knights && !(bishopOn[0] && bishopOn[1]);
}

bool HasMatingMaterial(std::string_view position, PieceColour side) {
    int minors = 0;
    for (std::size_t i = 0; i < position.size() && i < 64; ++i) {
        const char c = position[i];
        if (ColourOfLetter(c) != side)
            continue;
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'P':
        case 'R':
        case 'Q':
            return true;
        case 'N':
        case 'B':
            ++minors;
            break;
        default:
            break;
        }
    }
    return minors >= 2;
}

TGameResult JudgePosition(const TChessGame& game) {
    const PieceColour mover = game.WhiteToMove() ? PieceColour::White : PieceColour::Black;
    if (!game.CanMove()) {
        if (game.KingAttackedAfter(mover, Square::A8, Square::A8))
            return {TResultKind::Checkmate, Opponent(mover), mover};
        return {TResultKind::Stalemate};
    }
    if (IsDeadPosition(game.Position()))
        return {TResultKind::DeadPosition};
    if (game.IsThreefold())
        return {TResultKind::Repetition};
    if (game.HalfMoveClock() >= FiftyMoveHalfMoves)
        return {TResultKind::FiftyMoves};
    return {};
}

TGameResult Resigned(PieceColour side) {
    return {TResultKind::Resignation, Opponent(side), side};
}

TGameResult DrawAgreed() {
    return {TResultKind::Agreement};
}

TGameResult FlagFell(std::string_view position, PieceColour side) {
    if (!HasMatingMaterial(position, Opponent(side)))
        return {TResultKind::TimeAgainstBareMaterial, PieceColour::Empty, side};
    return {TResultKind::TimeForfeit, Opponent(side), side};
}
