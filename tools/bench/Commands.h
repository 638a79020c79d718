// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

// Each subcommand takes its arguments (without the subcommand's name) and answers the exit
// code: 0 done, 2 bad arguments (after a one-line message on stderr).
int RunLegal(const std::vector<std::string>& args);
int RunEvents(const std::vector<std::string>& args);
int RunMakeMoveBench(const std::vector<std::string>& args);
int RunPerft(const std::vector<std::string>& args);
int RunSearch(const std::vector<std::string>& args);
int RunBench(const std::vector<std::string>& args);
int RunStopLatency(const std::vector<std::string>& args);
int RunPgn(const std::vector<std::string>& args);
int RunSpeed(const std::vector<std::string>& args);
// The engine against itself under a clock, through the board (needs no display).
int RunClockMatch(const std::vector<std::string>& args);

// Milliseconds the reference engine `stockfish` (looked up on PATH, then in /usr/games) takes
// for perft `depth` from the starting position, from the request to its answer; -1 with a
// sentence in `note` when it is not installed, does not answer or counts other than `leaves`.
long long ReferencePerftMilliseconds(int depth, unsigned long long leaves, std::string& note);

int UsageError(const std::string& message);
