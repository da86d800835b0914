# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Qt Test of the wizard window and its spin field, driven as a user would, and
# of how both windows read (look).
foreach(name spinedit wizard_controls wizard_pages wizard_finish wizard_lists wizard_pictures
        wizard_open look)
    velmora_qt_test(ui_${name}_tests ui/test_${name}.cpp ui/test_wizard_support.h 120)
endforeach()
# Pages far beyond what anyone types, each in a child process whose address
# space is limited.
velmora_qt_test(ui_wizard_limits_tests ui/test_wizard_limits.cpp ui/test_wizard_support.h 300)
# A page made with the keyboard alone: offscreen, whose keys follow the
# Windows scheme, and on X11 under a window manager, whose keys follow X11's.
velmora_qt_test(ui_wizard_keyboard_tests ui/test_wizard_keyboard.cpp ui/test_wizard_support.h 60)
add_test(NAME ui_wizard_keyboard_tests_x11
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/under_window_manager.sh
            $<TARGET_FILE:ui_wizard_keyboard_tests>)
set_tests_properties(ui_wizard_keyboard_tests_x11 PROPERTIES
    ENVIRONMENT "DBUS_SESSION_BUS_ADDRESS=disabled:" TIMEOUT 60 LABELS desktop)
# A binding table entry for a control that is misspelt, or that the wizard
# does not have, fails the build with the compiler's own words: each is
# compiled by a test of its own, never by the build.
foreach(slip MISSPELT NO_CONTROL)
    string(TOLOWER "binding_${slip}" target)
    add_library(${target} OBJECT EXCLUDE_FROM_ALL ui/binding_entry.cpp)
    target_link_libraries(${target} PRIVATE velmora::ui)
    target_compile_definitions(${target} PRIVATE VELMORA_${slip})
endforeach()
foreach(case "binding_misspelt;Edit91" "binding_no_control;HeadingSize")
    list(GET case 0 target)
    list(GET case 1 member)
    # GCC's "'X' is not a member of 'Y'" and clang's "no member named 'X' in 'Y'",
    # in whichever quotes the locale gives
    add_test(NAME ${target}_fails_the_build
        COMMAND ${CMAKE_COMMAND} -DBINARY_DIR=${PROJECT_BINARY_DIR} -DTARGET=${target}
                "-DMESSAGE=(${member}[^ ]* is not a member of|no member named [^ ]*${member}[^ ]* in) [^ ]*velmora::ui::WizardUi"
                -P ${CMAKE_CURRENT_SOURCE_DIR}/ui/compile_fails.cmake)
    set_tests_properties(${target}_fails_the_build PROPERTIES WILL_FAIL TRUE TIMEOUT 120)
endforeach()
# The wizard's side of the preview against a stand-in for the preview
# program, which speaks its messages without a web engine.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_executable(preview_standin ui/preview_standin.cpp)
target_link_libraries(preview_standin PRIVATE velmora::core Qt6::Widgets)
velmora_qt_test(ui_wizard_preview_tests ui/test_wizard_preview.cpp ui/test_wizard_support.h 120)
target_compile_definitions(ui_wizard_preview_tests PRIVATE
    VELMORA_STANDIN="$<TARGET_FILE:preview_standin>")
add_dependencies(ui_wizard_preview_tests preview_standin)
