// SPDX-License-Identifier: GPL-3.0-or-later
// The engine thread's priority levels as the Linux scheduler sees them, read back from the
// kernel for the thread that applied them.
#include "engine/ChessThread.h"
#include "engine/LinuxPriority.h"

#include <QtTest>

#include <future>
#include <thread>

namespace {

constexpr TThreadPriority Levels[] = {TThreadPriority::tpIdle,        TThreadPriority::tpLowest,
                                      TThreadPriority::tpLower,       TThreadPriority::tpNormal,
                                      TThreadPriority::tpHigher,      TThreadPriority::tpHighest,
                                      TThreadPriority::tpTimeCritical};

struct TApplied {
    bool Exact = false;
    TLinuxPriority Now;
};

// Each level on a fresh thread, which starts at the test's own normal level.
TApplied ApplyOnFreshThread(TThreadPriority level) {
    TApplied out;
    std::thread t([&] {
        out.Exact = ApplyPriorityToThisThread(level);
        out.Now = CurrentThreadPriority();
    });
    t.join();
    return out;
}

} // namespace

class TestLinuxPriority : public QObject {
    Q_OBJECT
private slots:
    void levelsAreOrdered();
    void eachLevelReachesTheKernel();
    void engineThreadAppliesTheJobsLevel();
};

// A higher level never gets a larger nice value, and only Idle leaves the normal policy.
void TestLinuxPriority::levelsAreOrdered() {
    for (int i = 1; i < 7; ++i) {
        const TLinuxPriority lower = LinuxPriorityFor(Levels[i - 1]);
        const TLinuxPriority higher = LinuxPriorityFor(Levels[i]);
        QVERIFY(higher.Nice <= lower.Nice || lower.IdlePolicy);
        QVERIFY(!higher.IdlePolicy);
    }
    QVERIFY(LinuxPriorityFor(TThreadPriority::tpIdle).IdlePolicy);
    QCOMPARE(LinuxPriorityFor(TThreadPriority::tpNormal).Nice, 0);
    QVERIFY(LinuxPriorityFor(TThreadPriority::tpLowest).Nice > 0);
    QVERIFY(LinuxPriorityFor(TThreadPriority::tpTimeCritical).Nice < 0);
}

void TestLinuxPriority::eachLevelReachesTheKernel() {
    const int before = CurrentThreadPriority().Nice;
    for (TThreadPriority level : Levels) {
        const TLinuxPriority want = LinuxPriorityFor(level);
        const TApplied got = ApplyOnFreshThread(level);
        QCOMPARE(got.Now.IdlePolicy, want.IdlePolicy);
        if (want.IdlePolicy) {
            QVERIFY(got.Exact);
            continue;
        }
        // Lowering oneself is always allowed; raising needs the right to, else normal.
        if (want.Nice >= 0 || got.Exact)
            QCOMPARE(got.Now.Nice, want.Nice);
        else
            QCOMPARE(got.Now.Nice, 0);
    }
    // Only the threads that applied a level were changed.
    QCOMPARE(CurrentThreadPriority().Nice, before);
}

void TestLinuxPriority::engineThreadAppliesTheJobsLevel() {
    for (TThreadPriority level : {TThreadPriority::tpIdle, TThreadPriority::tpLower}) {
        TChessThread thread;
        std::promise<TLinuxPriority> seen;
        thread.OnMoveFound = [&](std::uint64_t, int, int) {
            seen.set_value(CurrentThreadPriority());
        };
        TEngineJob job;
        job.Position = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
        job.SearchDepth = 1;
        job.Priority = level;
        auto result = seen.get_future();
        thread.Submit(job);
        QCOMPARE(result.wait_for(std::chrono::seconds(30)), std::future_status::ready);
        const TLinuxPriority now = result.get();
        QCOMPARE(now.IdlePolicy, LinuxPriorityFor(level).IdlePolicy);
        if (!now.IdlePolicy)
            QCOMPARE(now.Nice, LinuxPriorityFor(level).Nice);
        thread.Shutdown();
    }
}

QTEST_GUILESS_MAIN(TestLinuxPriority)
#include "tst_linux_priority.moc"
