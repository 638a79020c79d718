#include "Commands.h"

int RunPerft(const std::vector<std::string>&) { return UsageError("perft: not built yet"); }
int RunSearch(const std::vector<std::string>&) { return UsageError("search: not built yet"); }
int RunBench(const std::vector<std::string>&) { return UsageError("bench: not built yet"); }
