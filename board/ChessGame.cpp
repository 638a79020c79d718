#include "board/ChessGame.h"

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

const int DiagonalDirs[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
// Along the rank towards a, towards h, then along the file towards 1, towards 8.
const int StraightDirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
const int KnightJumps[8][2] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                               {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};

char BoardAt(const char* board, int file, int rank) {
    return board[(8 - rank) * 8 + file - 1];
}

} // namespace

TChessGame::TChessGame() {
    std::memcpy(Squares_ + 1, StartPosition, 64);
    Squares_[0] = ' ';
}

TChessGame::TChessGame(const TChessGame& other) {
    *this = other;
}

TChessGame& TChessGame::operator=(const TChessGame& other) {
    if (this == &other)
        return *this;
    OnLegalMove = other.OnLegalMove;
    OnCapture = other.OnCapture;
    OnPromotion = other.OnPromotion;
    OnCastle = other.OnCastle;
    OnCheck = other.OnCheck;
    OnMate = other.OnMate;
    OnStaleMate = other.OnStaleMate;
    OnNoMatingMaterial = other.OnNoMatingMaterial;
    OnThreefoldPosition = other.OnThreefoldPosition;
    OnDraw = other.OnDraw;
    OnPaint = other.OnPaint;
    std::memcpy(Squares_, other.Squares_, sizeof Squares_);
    WhiteToMove_ = other.WhiteToMove_;
    CastlingAllowed_ = other.CastlingAllowed_;
    EnPassant_ = other.EnPassant_;
    CurrentMove_ = other.CurrentMove_;
    LastMove_ = other.LastMove_;
    LastWhiteToMove_ = other.LastWhiteToMove_;
    PromotionPiece_ = other.PromotionPiece_;
    GameOver_ = other.GameOver_;
    History_ = other.History_;
    FirstIndex_ = other.FirstIndex_;
    HistoryVersion_ = other.HistoryVersion_ + 1;
    // A copy is an independent game: it is never shown by the original's view.
    View_ = nullptr;
    return *this;
}

TChessGame TChessGame::Detached() const {
    TChessGame copy(*this);
    copy.ClearHandlers();
    return copy;
}

void TChessGame::ClearHandlers() {
    OnLegalMove = nullptr;
    OnCapture = nullptr;
    OnPromotion = nullptr;
    OnCastle = nullptr;
    OnCheck = nullptr;
    OnMate = nullptr;
    OnStaleMate = nullptr;
    OnNoMatingMaterial = nullptr;
    OnThreefoldPosition = nullptr;
    OnDraw = nullptr;
    OnPaint = nullptr;
}

// ---------------------------------------------------------------- position model

std::string TChessGame::Position() const {
    return std::string(Squares_ + 1, 64);
}

void TChessGame::SetPosition(const std::string& text) {
    View().StopThinking();
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
}

void TChessGame::SetWhiteToMove(bool value) {
    View().StopThinking();
    WhiteToMove_ = value;
    ++HistoryVersion_;
}

void TChessGame::SetEnPassant(Square value) {
    const int i = ToInt(value);
    if ((i >= 17 && i <= 24) || (i >= 41 && i <= 48)) {
        View().StopThinking();
        EnPassant_ = value;
    }
}

void TChessGame::ResetGame() {
    View().StopThinking();
    std::memcpy(Squares_ + 1, StartPosition, 64);
    WhiteToMove_ = true;
    CurrentMove_ = 1;
    LastMove_ = 1;
    LastWhiteToMove_ = true;
    EnPassant_ = Square::None;
    CastlingAllowed_ = AllCastling;
    FirstIndex_ = 0;
    ++HistoryVersion_;
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
    View().StopThinking();
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

// ---------------------------------------------------------------- rules

bool TChessGame::IsLegalMove(Square from, Square to) const {
    if (!IsOnBoard(from) || !IsOnBoard(to))
        return false;
    if (IsThreefold())
        return false;
    return IsLegalIgnoringRepetition(from, to);
}

bool TChessGame::IsLegalIgnoringRepetition(Square from, Square to) const {
    if (!IsOnBoard(from) || !IsOnBoard(to))
        return false;
    const PieceColour mover = ColourAt(from);
    if (mover != (WhiteToMove_ ? PieceColour::White : PieceColour::Black))
        return false;
    if (ColourAt(to) == mover)
        return false;
    bool ok = false;
    switch (std::toupper(static_cast<unsigned char>(At(from)))) {
    case 'P':
        ok = PawnMoveOk(from, to);
        break;
    case 'N':
        ok = KnightMoveOk(from, to);
        break;
    case 'B':
        ok = BishopMoveOk(from, to);
        break;
    case 'R':
        ok = RookMoveOk(from, to);
        break;
    case 'Q':
        ok = QueenMoveOk(from, to);
        break;
    case 'K':
        ok = KingMoveOk(from, to);
        break;
    default:
        break;
    }
    if (!ok)
        return false;
    // The king-safety trial. An en passant capture also removes the pawn it takes, so that a
    // capture which opens a line onto the mover's own king is refused.
    const bool enPassantCapture = (At(from) == 'P' || At(from) == 'p') && to == EnPassant_ &&
                                  FileOf(from) != FileOf(to) && At(to) == ' ';
    if (!enPassantCapture)
        return !KingAttackedAfter(mover, from, to);
    char trial[64];
    std::memcpy(trial, Squares_ + 1, 64);
    trial[ToInt(to) - 1] = trial[ToInt(from) - 1];
    trial[ToInt(from) - 1] = ' ';
    trial[ToInt(SquareAt(FileOf(to), RankOf(from))) - 1] = ' ';
    return !KingAttackedOn(mover, trial);
}

bool TChessGame::PawnMoveOk(Square from, Square to) const {
    const int df = std::abs(FileOf(to) - FileOf(from));
    const int rf = RankOf(from);
    const int rt = RankOf(to);
    const bool white = At(from) == 'P';
    const PieceColour enemy = white ? PieceColour::Black : PieceColour::White;
    const bool oneStep = white ? rt == rf + 1 : rf == rt + 1;
    if (oneStep) {
        if (df == 0)
            return At(to) == ' ';
        if (df == 1)
            return ColourAt(to) == enemy || to == EnPassant_;
        return false;
    }
    const int home = white ? 2 : 7;
    const int target = white ? 4 : 5;
    if (df == 0 && rf == home && rt == target) {
        const Square between = static_cast<Square>((ToInt(from) + ToInt(to)) / 2);
        return At(to) == ' ' && At(between) == ' ';
    }
    return false;
}

bool TChessGame::KnightMoveOk(Square from, Square to) const {
    const int df = std::abs(FileOf(to) - FileOf(from));
    const int dr = std::abs(RankOf(to) - RankOf(from));
    return (df == 2 && dr == 1) || (df == 1 && dr == 2);
}

bool TChessGame::LineWalkHits(Square from, Square to, const int (*dirs)[2], int count) const {
    const PieceColour own = ColourAt(from);
    for (int d = 0; d < count; ++d) {
        for (int step = 1; step <= 7; ++step) {
            const Square s =
                SquareAt(FileOf(from) + dirs[d][0] * step, RankOf(from) + dirs[d][1] * step);
            if (s == Square::None)
                break;
            if (s == to)
                return ColourAt(s) != own;
            if (At(s) != ' ')
                break;
        }
    }
    return false;
}

bool TChessGame::BishopMoveOk(Square from, Square to) const {
    return LineWalkHits(from, to, DiagonalDirs, 4);
}

bool TChessGame::RookMoveOk(Square from, Square to) const {
    return LineWalkHits(from, to, StraightDirs, 4);
}

bool TChessGame::QueenMoveOk(Square from, Square to) const {
    return BishopMoveOk(from, to) || RookMoveOk(from, to);
}

bool TChessGame::KingMoveOk(Square from, Square to) const {
    const int df = std::abs(FileOf(to) - FileOf(from));
    const int dr = std::abs(RankOf(to) - RankOf(from));
    if (df <= 1 && dr <= 1)
        return true;
    struct Castle {
        Square king, dest;
        CanStillCastle right;
        Square corner;
        char rook;
        Square empty[3];
        Square safe[3];
    };
    using S = Square;
    static const Castle castles[4] = {
        {S::E1, S::G1, WhiteKingSide, S::H1, 'R', {S::F1, S::G1, S::None}, {S::E1, S::F1, S::G1}},
        {S::E1, S::C1, WhiteQueenSide, S::A1, 'R', {S::B1, S::C1, S::D1}, {S::E1, S::D1, S::C1}},
        {S::E8, S::G8, BlackKingSide, S::H8, 'r', {S::F8, S::G8, S::None}, {S::E8, S::F8, S::G8}},
        {S::E8, S::C8, BlackQueenSide, S::A8, 'r', {S::B8, S::C8, S::D8}, {S::E8, S::D8, S::C8}},
    };
    for (const Castle& c : castles) {
        if (from != c.king || to != c.dest)
            continue;
        if (!(CastlingAllowed_ & c.right) || At(c.corner) != c.rook)
            return false;
        for (Square e : c.empty)
            if (e != S::None && At(e) != ' ')
                return false;
        const PieceColour colour = ColourAt(from);
        for (Square a : c.safe)
            if (KingAttackedAfter(colour, from, a))
                return false;
        return true;
    }
    return false;
}

bool TChessGame::KingAttackedAfter(PieceColour colour, Square from, Square to) const {
    char trial[64];
    std::memcpy(trial, Squares_ + 1, 64);
    if (IsOnBoard(from) && IsOnBoard(to) && from != to) {
        trial[ToInt(to) - 1] = trial[ToInt(from) - 1];
        trial[ToInt(from) - 1] = ' ';
    }
    return KingAttackedOn(colour, trial);
}

bool TChessGame::KingAttackedOn(PieceColour colour, const char* board) {
    const bool white = colour == PieceColour::White;
    const char king = white ? 'K' : 'k';
    int k = -1;
    for (int i = 0; i < 64; ++i)
        if (board[i] == king) {
            k = i;
            break;
        }
    if (k < 0)
        return true;
    const int file = k % 8 + 1;
    const int rank = 8 - k / 8;
    const char ePawn = white ? 'p' : 'P';
    const char eKnight = white ? 'n' : 'N';
    const char eBishop = white ? 'b' : 'B';
    const char eRook = white ? 'r' : 'R';
    const char eQueen = white ? 'q' : 'Q';
    const char eKing = white ? 'k' : 'K';
    auto inside = [](int f, int r) { return f >= 1 && f <= 8 && r >= 1 && r <= 8; };

    const int pawnRank = white ? rank + 1 : rank - 1;
    for (int df : {-1, 1})
        if (inside(file + df, pawnRank) && BoardAt(board, file + df, pawnRank) == ePawn)
            return true;
    for (const auto& j : KnightJumps)
        if (inside(file + j[0], rank + j[1]) && BoardAt(board, file + j[0], rank + j[1]) == eKnight)
            return true;
    auto rayHits = [&](const int(*dirs)[2], char slider) {
        for (int d = 0; d < 4; ++d) {
            for (int step = 1; step <= 7; ++step) {
                const int f = file + dirs[d][0] * step;
                const int r = rank + dirs[d][1] * step;
                if (!inside(f, r))
                    break;
                const char c = BoardAt(board, f, r);
                if (c == ' ')
                    continue;
                if (c == slider || c == eQueen || (c == eKing && step == 1))
                    return true;
                break;
            }
        }
        return false;
    };
    return rayHits(DiagonalDirs, eBishop) || rayHits(StraightDirs, eRook);
}

bool TChessGame::CanMove() const {
    const PieceColour side = WhiteToMove_ ? PieceColour::White : PieceColour::Black;
    for (int s = 1; s <= 64; ++s) {
        if (ColourOfLetter(Squares_[s]) != side)
            continue;
        for (int t = 1; t <= 64; ++t)
            if (IsLegalIgnoringRepetition(static_cast<Square>(s), static_cast<Square>(t)))
                return true;
    }
    return false;
}

std::vector<std::pair<Square, Square>> TChessGame::LegalMoves() const {
    std::vector<std::pair<Square, Square>> moves;
    if (IsThreefold())
        return moves;
    for (int s = 1; s <= 64; ++s) {
        if (Squares_[s] == ' ')
            continue;
        for (int t = 1; t <= 64; ++t)
            if (IsLegalIgnoringRepetition(static_cast<Square>(s), static_cast<Square>(t)))
                moves.emplace_back(static_cast<Square>(s), static_cast<Square>(t));
    }
    return moves;
}

bool TChessGame::MakeMove(Square from, Square to) {
    // 1-2. Refuse an illegal half-move with no event and no change.
    GameOver_ = false;
    if (!IsLegalMove(from, to))
        return false;
    TObject* sender = this;
    const int f = ToInt(from);
    const int t = ToInt(to);
    const Square enPassantBefore = EnPassant_;
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
        if (OnPromotion)
            OnPromotion(sender, from, to, PromotionPiece_);
        char piece = static_cast<char>(std::toupper(static_cast<unsigned char>(PromotionPiece_)));
        if (piece != 'Q' && piece != 'R' && piece != 'B' && piece != 'N')
            piece = 'Q';
        Squares_[t] = RankOf(to) == 8 ? piece : static_cast<char>(piece + 32);
        View().PaintEmptySquare(to);
        View().PaintPiece(to, Squares_[t]);
        View().PaintLines();
    }

    // 11. En passant capture.
    if (to == enPassantBefore) {
        Square c = Square::None;
        if (RankOf(to) == 6 && Squares_[t] == 'P')
            c = SquareAt(FileOf(to), 5);
        else if (RankOf(to) == 3 && Squares_[t] == 'p')
            c = SquareAt(FileOf(to), 4);
        if (c != Square::None) {
            if (OnCapture)
                OnCapture(sender, from, to, Squares_[ToInt(c)]);
            Squares_[ToInt(c)] = ' ';
            View().PaintEmptySquare(c);
            View().PaintLines();
        }
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
    if (OnPaint)
        OnPaint(sender);
    return true;
}
