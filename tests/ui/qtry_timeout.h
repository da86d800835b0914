// Included before anything else in every Qt test (tests/CMakeLists.txt).
//
// Qt 6.8's QTRY_* macros take the timeout as std::chrono::milliseconds and
// store its 64-bit count in an int inside the macro. GCC 14 reports that as
// -Wconversion on the test's own line, where no code of ours can avoid it.
// This is Qt 6.8's QTRY_IMPL with the narrowing written out; the rest of
// the macro, and the test's expression in it, keep every warning. Other Qt
// versions keep their own macro: 6.4 takes an int timeout and does not warn.
#pragma once

#include <QtTest/qtestcase.h>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0) && QT_VERSION < QT_VERSION_CHECK(6, 9, 0)
#undef QTRY_IMPL
#define QTRY_IMPL(expr, timeoutAsGiven)                                                      \
    const auto qt_test_timeoutAsMs = [&] {                                                   \
        using namespace std::chrono_literals;                                                \
        return std::chrono::milliseconds{timeoutAsGiven};                                    \
    }();                                                                                     \
    const int qt_test_timeoutValue = static_cast<int>(qt_test_timeoutAsMs.count());          \
    const int qt_test_step = qt_test_timeoutValue < 350 ? qt_test_timeoutValue / 7 + 1 : 50; \
    {QTRY_LOOP_IMPL(expr, qt_test_timeoutValue, qt_test_step)} QTRY_TIMEOUT_DEBUG_IMPL(      \
        expr, qt_test_timeoutValue, qt_test_step)
#endif
