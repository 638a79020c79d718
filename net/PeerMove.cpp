// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/PeerMove.h"

std::string NormalisedPosition(const std::string& position) {
    std::string out(64, ' ');
    for (std::size_t k = 0; k < position.size() && k < 64; ++k)
        if (position[k] == ' ' || IsPieceLetter(position[k]))
            out[k] = position[k];
    return out;
}

std::optional<TPeerMove> FindPeerMove(const TChessGame& game, const std::string& position) {
    const std::string target = NormalisedPosition(position);
    static const char promotions[] = {'q', 'r', 'b', 'n'};
    for (const auto& [from, to] : game.LegalMoves()) {
        // Every half-move empties its from-square and fills its to-square.
        if (target[ToInt(from) - 1] != ' ' || target[ToInt(to) - 1] == ' ')
            continue;
        const char piece = game.At(from);
        const bool promotes =
            (piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1);
        for (char promotion : promotions) {
            TChessGame probe = game.Detached();
            probe.SetPromotionPiece(promotion);
            if (probe.MakeMove(from, to) && probe.Position() == target)
                return TPeerMove{from, to, promotes ? promotion : char(0)};
            if (!promotes)
                break;
        }
    }
    return std::nullopt;
}
