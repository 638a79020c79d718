// SPDX-License-Identifier: GPL-3.0-or-later
// corvina-prioritybench: pins an engine search and a plain CPU-bound competitor to the same
// core, sets the engine thread's level as the engine thread does, and prints the share of
// the core each got over a fixed time.
//   corvina-prioritybench [SECONDS]
#include "engine/ChessEngine.h"
#include "engine/LinuxPriority.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

void PinToFirstCore() {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(0, &set);
    pthread_setaffinity_np(pthread_self(), sizeof set, &set);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    const struct {
        TThreadPriority Level;
        const char* Name;
    } levels[] = {{TThreadPriority::tpNormal, "Normal"},
                  {TThreadPriority::tpLower, "Lower"},
                  {TThreadPriority::tpLowest, "Lowest"},
                  {TThreadPriority::tpIdle, "Idle"}};
    std::printf("%-8s %12s %12s %10s\n", "level", "engine cpu", "other cpu", "other %");
    for (const auto& l : levels) {
        std::atomic<bool> stop{false};
        double engineCpu = 0, otherCpu = 0;
        auto engine = std::make_unique<TChessEngine>();
        std::thread searcher([&] {
            PinToFirstCore();
            ApplyPriorityToThisThread(l.Level);
            TEnginePosition p;
            p.Position = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
            p.SearchDepth = 6;
            const double start = ThreadSeconds();
            while (!stop.load())
                engine->ComputeMove(p);
            engineCpu = ThreadSeconds() - start;
        });
        std::thread other([&] {
            PinToFirstCore();
            const double start = ThreadSeconds();
            volatile unsigned long spin = 0;
            while (!stop.load())
                spin = spin + 1;
            otherCpu = ThreadSeconds() - start;
        });
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        stop.store(true);
        engine->StopRequested.store(true);
        searcher.join();
        other.join();
        std::printf("%-8s %11.2fs %11.2fs %9.0f%%\n", l.Name, engineCpu, otherCpu,
                    100.0 * otherCpu / (engineCpu + otherCpu));
    }
    return 0;
}
