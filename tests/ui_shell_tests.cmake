# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Qt Test of the application shell: start-up, start window, error handler.
function(velmora_shell_test name source)
    velmora_qt_test(${name} ${source} ui/test_box_answerer.h 60)
    target_compile_definitions(${name} PRIVATE
        VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()

velmora_shell_test(ui_shell_app_tests ui/test_shell_app.cpp)
# A program file name with capitals and a dot, so that the title rule gives
# another title than Qt's own default would.
set_target_properties(ui_shell_app_tests PROPERTIES OUTPUT_NAME "ShellAPP.Tests")

velmora_shell_test(ui_shell_window_tests ui/test_shell_windows.cpp)

# Qt's own texts are German whatever language the environment names: run once
# under the C locale and once under an English one.
velmora_shell_test(ui_shell_language_tests ui/test_shell_language.cpp)
add_test(NAME ui_shell_language_tests_en_US COMMAND ui_shell_language_tests)
set_tests_properties(ui_shell_language_tests_en_US PROPERTIES
    ENVIRONMENT ${VELMORA_OFFSCREEN} TIMEOUT 60)
set_tests_properties(ui_shell_language_tests PROPERTIES
    ENVIRONMENT_MODIFICATION "LANG=set:C;LC_ALL=unset:;LC_MESSAGES=unset:;LANGUAGE=unset:")
set_tests_properties(ui_shell_language_tests_en_US PROPERTIES
    ENVIRONMENT_MODIFICATION "LANG=set:en_US.UTF-8;LC_ALL=unset:;LC_MESSAGES=unset:;LANGUAGE=unset:")

# The program itself answers --help without a desktop; the version it names
# is the project's.
velmora_shell_test(ui_command_line_tests ui/test_command_line.cpp)
target_compile_definitions(ui_command_line_tests PRIVATE
    VELMORA_PROGRAM="$<TARGET_FILE:velmora>" VELMORA_VERSION="${PROJECT_VERSION}")
add_dependencies(ui_command_line_tests velmora)
