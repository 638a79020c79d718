// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The processor's bit-count instruction, which nearly every x86-64 in use has and the plain
// x86-64 instruction set lacks. Code that counts much is built twice, once for the
// instruction (CORVINA_HARDWARE_COUNT), and HardwareCount, found when the program starts,
// picks which one runs.

#if defined(__x86_64__)
#define CORVINA_HARDWARE_COUNT __attribute__((target("popcnt")))
#else
#define CORVINA_HARDWARE_COUNT
#endif

namespace BitCount {

inline bool HasHardwareCount() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt");
#else
    return false;
#endif
}

inline const bool HardwareCount = HasHardwareCount();

} // namespace BitCount
