// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LinuxPriority.h"

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#endif

TLinuxPriority LinuxPriorityFor(TThreadPriority priority) {
    switch (priority) {
    case TThreadPriority::tpIdle:
        return {true, 0};
    case TThreadPriority::tpLowest:
        return {false, 15};
    case TThreadPriority::tpLower:
        return {false, 5};
    case TThreadPriority::tpNormal:
        return {false, 0};
    case TThreadPriority::tpHigher:
        return {false, -5};
    case TThreadPriority::tpHighest:
        return {false, -10};
    case TThreadPriority::tpTimeCritical:
        return {false, -15};
    }
    return {};
}

#if defined(__linux__)

namespace {

// On Linux a nice value set for a thread id applies to that thread only.
id_t ThisThread() {
    return static_cast<id_t>(syscall(SYS_gettid));
}

bool SetPolicy(int policy) {
    sched_param param{};
    param.sched_priority = 0;
    return pthread_setschedparam(pthread_self(), policy, &param) == 0;
}

bool SetNice(int nice) {
    return setpriority(PRIO_PROCESS, ThisThread(), nice) == 0;
}

} // namespace

bool ApplyPriorityToThisThread(TThreadPriority priority) {
    const TLinuxPriority want = LinuxPriorityFor(priority);
    if (want.IdlePolicy)
        return SetPolicy(SCHED_IDLE);
    bool exact = true;
    int policy = 0;
    sched_param param{};
    if (pthread_getschedparam(pthread_self(), &policy, &param) == 0 && policy != SCHED_OTHER)
        exact = SetPolicy(SCHED_OTHER);
    if (!SetNice(want.Nice)) {
        exact = false;
        // Without the right to raise itself the thread takes the normal level if it may.
        if (want.Nice < 0)
            SetNice(0);
    }
    return exact && CurrentThreadPriority().Nice == want.Nice;
}

TLinuxPriority CurrentThreadPriority() {
    TLinuxPriority now;
    int policy = 0;
    sched_param param{};
    if (pthread_getschedparam(pthread_self(), &policy, &param) == 0)
        now.IdlePolicy = policy == SCHED_IDLE;
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, ThisThread());
    if (errno == 0)
        now.Nice = nice;
    return now;
}

#else

bool ApplyPriorityToThisThread(TThreadPriority) {
    return false;
}

TLinuxPriority CurrentThreadPriority() {
    return {};
}

#endif
