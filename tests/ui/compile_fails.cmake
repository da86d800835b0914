# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# cmake -DBINARY_DIR=… -DTARGET=… -DMESSAGE=… -P compile_fails.cmake
#
# Builds TARGET, shows what the compiler said, and fails exactly when the
# build failed with MESSAGE among the compiler's words. Its test is marked
# WILL_FAIL: an entry that compiles, or one that fails for another reason,
# makes the test fail.
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BINARY_DIR}" --target "${TARGET}"
    RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
message("${said}")
if(NOT result EQUAL 0 AND said MATCHES "${MESSAGE}")
    message(FATAL_ERROR "${TARGET} fails to build, as it must: ${CMAKE_MATCH_0}")
endif()
