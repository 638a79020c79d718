// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-uci: the Corvina engine for programs that speak UCI on standard input and output.
#include "engine/uci/UciEngine.h"

#include <iostream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    // Reading standard input would flush the tied standard output from this thread while the
    // search thread writes its lines; every line is flushed as it is written, so untie them.
    std::cin.tie(nullptr);
    TUciEngine engine([](const std::string& line) { std::cout << line << '\n' << std::flush; });
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!engine.Command(line))
            return 0;
    }
    // Input ended: let a search that was started finish and answer, as "quit" would not.
    engine.WaitForSearch();
    return 0;
}
