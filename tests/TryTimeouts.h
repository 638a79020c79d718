// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every test executable includes this first (see tests/CMakeLists.txt). The suite runs under
// AddressSanitizer on two loaded cores, where a window, a socket or a child process can take
// many times its idle time to answer. A QTRY_* waits for its condition and returns as soon as
// it holds, so a long limit costs nothing on success; Qt's default of 5 s was shorter than the
// worst case seen under load. A test that means a shorter limit says so with *_WITH_TIMEOUT.
#include <QtTest/qtestcase.h>

#define CORVINA_TRY_MS 30000

#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, CORVINA_TRY_MS)
#undef QTRY_VERIFY2
#define QTRY_VERIFY2(expr, messageExpression)                                                      \
    QTRY_VERIFY2_WITH_TIMEOUT(expr, messageExpression, CORVINA_TRY_MS)
#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT(expr, expected, CORVINA_TRY_MS)
