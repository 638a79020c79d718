// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/ChessGame.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

IBoardView TChessGame::SilentView_;

namespace {

std::uint64_t PlacementHash(const char* p) {
    // FNV-1a over the 64 characters.
    std::uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < 64; ++i) {
        h ^= static_cast<unsigned char>(p[i]);
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

TGameState::TGameState() {
    std::memcpy(Squares_ + 1, StartPosition, 64);
    Squares_[0] = ' ';
}

// ---------------------------------------------------------------- position model

std::string TChessGame::Position() const {
    return std::string(Squares_ + 1, 64);
}

void TChessGame::SetPosition(const std::string& text) {
    View().BeforeChange();
    std::memset(Squares_ + 1, ' ', 64);
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "init" || lower == "newgame") {
        std::memcpy(Squares_ + 1, StartPosition, 64);
    } else {
        for (std::size_t k = 0; k < text.size() && k < 64; ++k) {
            const char c = text[k];
            if (c == '\0')
                break;
            if (c == ' ' || IsPieceLetter(c))
                Squares_[k + 1] = c;
        }
    }
    View().RepaintAll();
    View().AfterChange(Square::None, Square::None);
}

void TChessGame::SetWhiteToMove(bool value) {
    View().BeforeChange();
    WhiteToMove_ = value;
    ++HistoryVersion_;
    View().AfterChange(Square::None, Square::None);
}

void TChessGame::SetEnPassant(Square value) {
    const int i = ToInt(value);
    if ((i >= 17 && i <= 24) || (i >= 41 && i <= 48)) {
        View().BeforeChange();
        EnPassant_ = value;
        View().AfterChange(Square::None, Square::None);
    }
}

void TChessGame::ResetGame() {
    View().BeforeChange();
    std::memcpy(Squares_ + 1, StartPosition, 64);
    WhiteToMove_ = true;
    CurrentMove_ = 1;
    LastMove_ = 1;
    LastWhiteToMove_ = true;
    EnPassant_ = Square::None;
    CastlingAllowed_ = AllCastling;
    FirstIndex_ = 0;
    StartClock_ = 0;
    MoveOffset_ = 0;
    ++HistoryVersion_;
    View().AfterChange(Square::None, Square::None);
}

void TChessGame::SetMoveCounters(std::int32_t halfMoveClock, std::int32_t moveNumber) {
    // Far beyond any game, and small enough that no sum with a move number overflows.
    constexpr std::int32_t Limit = 100000;
    StartClock_ = std::clamp(halfMoveClock, 0, Limit);
    MoveOffset_ = std::clamp(moveNumber, 1, Limit) - 1;
}

std::int32_t TChessGame::HalfMoveClock() const {
    const std::size_t shown = SlotIndex(CurrentMove_, WhiteToMove_);
    std::int32_t clock = 0;
    for (std::size_t i = shown; i > FirstIndex_; ++clock) {
        const MoveInfo& slot = History_.size() >= i ? History_[i - 1] : MoveInfo{};
        if (!slot.Written || !IsOnBoard(slot.FromSq) || !IsOnBoard(slot.ToSq))
            break; // no half-move recorded before: the game's start
        const char mover = slot.Position[static_cast<std::size_t>(ToInt(slot.FromSq) - 1)];
        const char taken = slot.Position[static_cast<std::size_t>(ToInt(slot.ToSq) - 1)];
        if (mover == 'P' || mover == 'p' || taken != ' ')
            return clock;
        --i;
    }
    return clock + StartClock_;
}

const MoveInfo& TChessGame::Slot(std::int32_t n, bool white) const {
    static const MoveInfo empty{};
    if (n < 1)
        return empty;
    const std::size_t i = SlotIndex(n, white);
    return i < History_.size() ? History_[i] : empty;
}

MoveInfo& TChessGame::WritableSlot(std::int32_t n, bool white) {
    const std::size_t i = SlotIndex(n, white);
    if (i >= History_.size())
        History_.resize(std::max(i + 1, History_.size() * 2));
    ++HistoryVersion_;
    return History_[i];
}

void TChessGame::RecordSlot(MoveInfo& slot) const {
    std::memcpy(slot.Position.data(), Squares_ + 1, 64);
    slot.Hash = PlacementHash(Squares_ + 1);
    slot.Castling = CastlingAllowed_;
    slot.EnPassant = EnPassant_;
    slot.Written = true;
}

bool TChessGame::GoToPosition(std::int32_t n, bool whiteToMove) {
    View().BeforeChange();
    if (n > LastMove_ || (n == LastMove_ && LastWhiteToMove_ && !whiteToMove) || n < 1)
        return false;
    // A game that began with black to move never played the white half of move 1.
    if (n == 1 && whiteToMove && StartedWithBlack())
        return false;
    const MoveInfo& slot = Slot(n, whiteToMove);
    if (!slot.Written)
        return false;
    CurrentMove_ = n;
    WhiteToMove_ = whiteToMove;
    const std::string old = Position();
    std::memcpy(Squares_ + 1, slot.Position.data(), 64);
    EnPassant_ = slot.EnPassant;
    CastlingAllowed_ = slot.Castling;
    ++HistoryVersion_;
    View().RedrawChanged(old);
    // The half-move that led here is the one recorded in the slot before, when that slot
    // belongs to the line being played.
    const std::size_t here = SlotIndex(n, whiteToMove);
    Square lastFrom = Square::None;
    Square lastTo = Square::None;
    if (here > FirstIndex_ && here - 1 < History_.size() && History_[here - 1].Written) {
        lastFrom = History_[here - 1].FromSq;
        lastTo = History_[here - 1].ToSq;
    }
    View().AfterChange(lastFrom, lastTo);
    return true;
}

bool TChessGame::PreviousMove() {
    return WhiteToMove_ ? GoToPosition(CurrentMove_ - 1, false) : GoToPosition(CurrentMove_, true);
}

bool TChessGame::NextMove() {
    return WhiteToMove_ ? GoToPosition(CurrentMove_, false) : GoToPosition(CurrentMove_ + 1, true);
}

void TChessGame::GetMoveList(std::vector<std::string>& list) const {
    const std::size_t end = SlotIndex(LastMove_, LastWhiteToMove_);
    if (end > 0 && StartedWithBlack())
        list.emplace_back("1. ...   ");
    for (std::size_t i = FirstIndex_; i < end; ++i) {
        const MoveInfo& slot = i < History_.size() ? History_[i] : Slot(0, true);
        const std::string squares = IsOnBoard(slot.FromSq)
                                        ? SquareName(slot.FromSq) + "-" + SquareName(slot.ToSq)
                                        : std::string("...");
        if (i % 2 == 0)
            list.push_back(std::to_string(i / 2 + 1) + ". " + squares);
        else
            list.push_back(std::string(14, ' ') + squares);
    }
}

bool TChessGame::IsThreefold() const {
    if (ThreefoldVersion_ == HistoryVersion_)
        return ThreefoldCache_;
    bool result = false;
    const std::size_t current = SlotIndex(CurrentMove_, WhiteToMove_);
    if (current < History_.size() && History_[current].Written) {
        const MoveInfo& here = History_[current];
        int count = 0;
        for (std::size_t j = current; j-- > FirstIndex_;) {
            const MoveInfo& s = History_[j];
            if (s.Written && s.Hash == here.Hash && s.Position == here.Position && ++count >= 2) {
                result = true;
                break;
            }
        }
    }
    ThreefoldVersion_ = HistoryVersion_;
    ThreefoldCache_ = result;
    return result;
}

bool TChessGame::IsPromotion(Square from, Square to) const {
    const char piece = At(from);
    return IsOnBoard(to) &&
           ((piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1));
}

bool TChessGame::MakeMove(Square from, Square to, char promotion) {
    // 1-2. Refuse an illegal half-move with no event and no change.
    GameOver_ = false;
    if (!IsLegalMove(from, to))
        return false;
    TObject* sender = this;
    const int f = ToInt(from);
    const int t = ToInt(to);
    const Square enPassantVictim = EnPassantVictim(from, to);
    const bool blackMoved = !WhiteToMove_;

    // 4. The slot of the position before the half-move. The first half-move of a game that
    //    starts with black to move marks the white slot of move 1 as never played.
    if (CurrentMove_ == 1 && LastMove_ == 1 && LastWhiteToMove_)
        FirstIndex_ = WhiteToMove_ ? 0 : 1;
    {
        MoveInfo& before = WritableSlot(CurrentMove_, WhiteToMove_);
        RecordSlot(before);
        before.FromSq = from;
        before.ToSq = to;
    }

    // 5-6. Move the piece.
    View().PaintEmptySquare(from);
    View().SlidePiece(from, to);
    const char captured = Squares_[t];
    Squares_[t] = Squares_[f];
    Squares_[f] = ' ';
    // The square is cleared first, or the captured piece would show around the capturer.
    View().PaintEmptySquare(to);
    View().PaintPiece(to, Squares_[t]);
    View().PaintLines();

    // 7. Side and move number.
    if (blackMoved)
        ++CurrentMove_;
    WhiteToMove_ = !WhiteToMove_;
    LastMove_ = CurrentMove_;
    LastWhiteToMove_ = WhiteToMove_;
    ++HistoryVersion_;

    // 8-9.
    if (OnLegalMove)
        OnLegalMove(sender, from, to);
    if (captured != ' ' && OnCapture)
        OnCapture(sender, from, to, captured);

    // 10. Promotion; a piece letter other than q, r, b or n becomes a queen.
    if ((Squares_[t] == 'P' || Squares_[t] == 'p') && (RankOf(to) == 8 || RankOf(to) == 1)) {
        // A person's choice holds for this half-move only; PromotionPiece stays as it was.
        char chosen = promotion;
        char& newPiece = promotion != 0 ? chosen : PromotionPiece_;
        if (OnPromotion)
            OnPromotion(sender, from, to, newPiece);
        char piece = static_cast<char>(std::toupper(static_cast<unsigned char>(newPiece)));
        if (piece != 'Q' && piece != 'R' && piece != 'B' && piece != 'N')
            piece = 'Q';
        Squares_[t] = RankOf(to) == 8 ? piece : static_cast<char>(piece + 32);
        View().PaintEmptySquare(to);
        View().PaintPiece(to, Squares_[t]);
        View().PaintLines();
    }

    // 11. En passant capture: the pawn behind the square, and only an enemy pawn.
    if (enPassantVictim != Square::None) {
        const int c = ToInt(enPassantVictim);
        if (OnCapture)
            OnCapture(sender, from, to, Squares_[c]);
        Squares_[c] = ' ';
        View().PaintEmptySquare(enPassantVictim);
        View().PaintLines();
    }

    // 12. New en passant square.
    const int rf = RankOf(from);
    const int rt = RankOf(to);
    if ((Squares_[t] == 'P' && rf == 2 && rt == 4) || (Squares_[t] == 'p' && rf == 7 && rt == 5))
        EnPassant_ = static_cast<Square>((f + t) / 2);
    else
        EnPassant_ = Square::None;

    // 13. The castling rook.
    struct RookHop {
        char king;
        Square from, to, corner, rookTo;
        char rook;
    };
    using S = Square;
    static const RookHop hops[4] = {{'K', S::E1, S::G1, S::H1, S::F1, 'R'},
                                    {'K', S::E1, S::C1, S::A1, S::D1, 'R'},
                                    {'k', S::E8, S::G8, S::H8, S::F8, 'r'},
                                    {'k', S::E8, S::C8, S::A8, S::D8, 'r'}};
    for (const RookHop& h : hops) {
        if (Squares_[t] != h.king || from != h.from || to != h.to)
            continue;
        Squares_[ToInt(h.rookTo)] = h.rook;
        Squares_[ToInt(h.corner)] = ' ';
        View().PaintEmptySquare(h.corner);
        View().PaintPiece(h.rookTo, h.rook);
        View().PaintLines();
        if (OnCastle)
            OnCastle(sender, from, to);
        break;
    }

    // 14. Castling rights, by the square the piece left.
    switch (from) {
    case S::A8:
        CastlingAllowed_ &= ~BlackQueenSide;
        break;
    case S::E8:
        CastlingAllowed_ &= ~(BlackQueenSide | BlackKingSide);
        break;
    case S::H8:
        CastlingAllowed_ &= ~BlackKingSide;
        break;
    case S::A1:
        CastlingAllowed_ &= ~WhiteQueenSide;
        break;
    case S::E1:
        CastlingAllowed_ &= ~(WhiteQueenSide | WhiteKingSide);
        break;
    case S::H1:
        CastlingAllowed_ &= ~WhiteKingSide;
        break;
    default:
        break;
    }

    // 15-16. Check, mate and stalemate, judged on the position after the whole half-move
    //        (castling rook moved, pawn taken en passant removed, pawn promoted).
    const bool givesCheck = KingAttackedOn(PieceColour::White, Squares_ + 1) ||
                            KingAttackedOn(PieceColour::Black, Squares_ + 1);
    const bool hasMove = CanMove();
    bool draw = false;
    if (givesCheck) {
        if (OnCheck)
            OnCheck(sender, from, to);
        if (!hasMove && OnMate) {
            GameOver_ = true;
            OnMate(sender, from, to);
        }
    } else if (!hasMove) {
        if (OnStaleMate)
            OnStaleMate(sender, from, to);
        draw = true;
    }

    // 17. Mating material.
    int whiteSum = 0;
    int blackSum = 0;
    for (int s = 1; s <= 64; ++s) {
        const char c = Squares_[s];
        int value = 0;
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'B':
            value = 3;
            break;
        case 'N':
            value = 2;
            break;
        case 'P':
        case 'R':
        case 'Q':
            value = 5;
            break;
        default:
            break;
        }
        (ColourOfLetter(c) == PieceColour::White ? whiteSum : blackSum) += value;
    }
    if (whiteSum < 5 && blackSum < 5) {
        if (OnNoMatingMaterial)
            OnNoMatingMaterial(sender);
        draw = true;
    }

    // 18. The slot of the new position.
    RecordSlot(WritableSlot(CurrentMove_, WhiteToMove_));
    LastMove_ = CurrentMove_;
    LastWhiteToMove_ = WhiteToMove_;

    // 19-22.
    if (IsThreefold()) {
        if (OnThreefoldPosition)
            OnThreefoldPosition(sender);
        draw = true;
    }
    if (draw && OnDraw) {
        GameOver_ = true;
        OnDraw(sender);
    }
    View().AfterChange(from, to);
    if (OnPaint)
        OnPaint(sender);
    return true;
}
