// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bench/Commands.h"

#include <cstdio>
#include <exception>
#include <map>

int UsageError(const std::string& message) {
    std::fprintf(stderr, "corvina-bench: %s\n", message.c_str());
    return 2;
}

int main(int argc, char** argv) {
    using Command = int (*)(const std::vector<std::string>&);
    const std::map<std::string, Command> commands = {
        {"legal", RunLegal},
        {"events", RunEvents},
        {"makemove", RunMakeMoveBench},
        {"perft", RunPerft},
        {"search", RunSearch},
        {"bench", RunBench},
        {"stoplatency", RunStopLatency},
        {"pgn", RunPgn},
        {"speed", RunSpeed},
        {"clockmatch", RunClockMatch},
    };
    if (argc < 2)
        return UsageError(
            "usage: corvina-bench "
            "legal|events|makemove|perft|search|bench|stoplatency|pgn|speed|clockmatch ...");
    const auto it = commands.find(argv[1]);
    if (it == commands.end())
        return UsageError(std::string("unknown subcommand '") + argv[1] + "'");
    try {
        return it->second(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const std::exception& e) {
        return UsageError(e.what());
    }
}
