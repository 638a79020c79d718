// SPDX-License-Identifier: GPL-3.0-or-later
// The board subcommands: legal moves, the events of played moves, and the MakeMove benchmark.
#include "chess/ChessGame.h"
#include "chess/EventPrinter.h"
#include "chess/Fen.h"
#include "tools/bench/Commands.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <set>
#include <string>

namespace {

std::string Lower(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string MoveText(Square from, Square to) {
    return Lower(SquareName(from) + SquareName(to));
}

bool LoadOrComplain(TChessGame& game, const std::string& fen, int& code) {
    std::string error;
    if (LoadFen(game, fen, &error))
        return true;
    code = UsageError("malformed FEN: " + error);
    return false;
}

} // namespace

int RunLegal(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return UsageError("usage: corvina-bench legal FEN");
    TChessGame game;
    int code = 0;
    if (!LoadOrComplain(game, args[0], code))
        return code;
    std::vector<std::string> moves;
    for (const auto& [from, to] : game.LegalMoves())
        moves.push_back(MoveText(from, to));
    std::sort(moves.begin(), moves.end());
    for (const auto& m : moves)
        std::printf("%s\n", m.c_str());
    std::printf("total %zu\n", moves.size());
    return 0;
}

int RunEvents(const std::vector<std::string>& args) {
    if (args.empty())
        return UsageError("usage: corvina-bench events FEN MOVE...");
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& m = args[i];
        const bool sizeOk = m.size() == 4 || m.size() == 5;
        if (!sizeOk || ParseSquare(m.substr(0, 2)) == Square::None ||
            ParseSquare(m.substr(2, 2)) == Square::None ||
            (m.size() == 5 && std::string("qrbnQRBN").find(m[4]) == std::string::npos))
            return UsageError("bad move '" + m + "' (from-to like e2e4, optional q/r/b/n)");
    }
    TChessGame game;
    int code = 0;
    if (!LoadOrComplain(game, args[0], code))
        return code;
    TEventPrinter printer;
    printer.Attach(game);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& m = args[i];
        printer.PromoteTo = m.size() == 5 ? static_cast<char>(m[4]) : 0;
        printer.Events.clear();
        const bool ok = game.MakeMove(ParseSquare(m.substr(0, 2)), ParseSquare(m.substr(2, 2)));
        if (ok)
            std::printf("%s ok: %s\n", m.c_str(), printer.Joined().c_str());
        else
            std::printf("%s refused\n", m.c_str());
    }
    std::printf("position \"%s\"\n", game.Position().c_str());
    std::vector<std::string> list;
    game.GetMoveList(list);
    for (const auto& l : list)
        std::printf("%s\n", l.c_str());
    return 0;
}

namespace {

// A long game with no placement seen twice and no end: random legal half-moves from a fixed
// seed, preferring quiet ones so that material lasts.
std::vector<std::pair<Square, Square>> ScriptGame(int length) {
    std::mt19937 rng(20261208);
    TChessGame game;
    std::set<std::string> seen{game.Position()};
    std::vector<std::pair<Square, Square>> script;
    while (static_cast<int>(script.size()) < length) {
        auto moves = game.LegalMoves();
        std::shuffle(moves.begin(), moves.end(), rng);
        std::stable_sort(moves.begin(), moves.end(), [&](const auto& a, const auto& b) {
            return (game.At(a.second) != ' ') < (game.At(b.second) != ' ');
        });
        bool played = false;
        for (const auto& [from, to] : moves) {
            TChessGame trial = game;
            trial.MakeMove(from, to);
            if (seen.count(trial.Position()) || !trial.CanMove())
                continue;
            game.MakeMove(from, to);
            seen.insert(game.Position());
            script.emplace_back(from, to);
            played = true;
            break;
        }
        if (!played)
            break;
    }
    return script;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t i =
        std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
    return v[i];
}

} // namespace

int RunMakeMoveBench(const std::vector<std::string>& args) {
    int length = 400;
    int rounds = 200;
    if (!args.empty()) {
        length = std::atoi(args[0].c_str());
        if (length < 40)
            return UsageError("usage: corvina-bench makemove [HALF_MOVES >= 40] [ROUNDS]");
    }
    if (args.size() > 1)
        rounds = std::max(1, std::atoi(args[1].c_str()));
    const auto script = ScriptGame(length);
    const int n = static_cast<int>(script.size());
    if (n < 40)
        return UsageError("could not script a long enough game");
    std::vector<double> first, last;
    long long events = 0;
    for (int r = 0; r < rounds; ++r) {
        TChessGame game;
        auto count = [&events](auto&&...) { ++events; };
        game.OnLegalMove = count;
        game.OnCapture = count;
        game.OnPromotion = count;
        game.OnCastle = count;
        game.OnCheck = count;
        game.OnMate = count;
        game.OnStaleMate = count;
        game.OnNoMatingMaterial = count;
        game.OnThreefoldPosition = count;
        game.OnDraw = count;
        game.OnPaint = count;
        for (int i = 0; i < n; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            const bool ok = game.MakeMove(script[i].first, script[i].second);
            const auto t1 = std::chrono::steady_clock::now();
            if (!ok)
                return UsageError("scripted move refused at half-move " + std::to_string(i + 1));
            const double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
            if (i < 20)
                first.push_back(us);
            else if (i >= n - 20)
                last.push_back(us);
        }
    }
    std::printf("game %d half-moves, %d rounds, %lld events\n", n, rounds, events);
    std::printf("first 20: median %.2f us p99 %.2f us\n", Percentile(first, 0.5),
                Percentile(first, 0.99));
    std::printf("last 20:  median %.2f us p99 %.2f us\n", Percentile(last, 0.5),
                Percentile(last, 0.99));
    return 0;
}
