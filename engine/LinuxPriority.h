// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine thread's priority in terms Linux honours. The default scheduler ignores the
// static priorities a thread library sets, so each level becomes a scheduling policy and a
// nice value of the calling thread.

#include "engine/ThreadPriority.h"

struct TLinuxPriority {
    bool IdlePolicy = false; // SCHED_IDLE: runs only when nothing else wants the processor
    int Nice = 0;            // under SCHED_OTHER; -20 (most) .. 19 (least)
};

// Idle: SCHED_IDLE. Lowest: nice 15. Lower: nice 5. Normal: 0. Higher: -5. Highest: -10.
// Time Critical: -15.
TLinuxPriority LinuxPriorityFor(TThreadPriority priority);

// Applies the level to the calling thread. A negative nice value that the process may not use
// falls back to 0, and a thread that may no longer raise itself stays where it is; the answer
// is false when the thread did not get exactly the level asked for.
bool ApplyPriorityToThisThread(TThreadPriority priority);

// What the calling thread has now (for tests and tools).
TLinuxPriority CurrentThreadPriority();
