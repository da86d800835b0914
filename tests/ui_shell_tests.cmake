# Qt Test of the application shell: start-up, start window, error handler.
function(velmora_shell_test name source)
    velmora_qt_test(${name} ${source} ui/test_shell_boxes.h 60)
    target_compile_definitions(${name} PRIVATE
        VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()

velmora_shell_test(ui_shell_app_tests ui/test_shell_app.cpp)
# A program file name with capitals and a dot, so that the title rule gives
# another title than Qt's own default would.
set_target_properties(ui_shell_app_tests PROPERTIES OUTPUT_NAME "ShellAPP.Tests")

velmora_shell_test(ui_shell_window_tests ui/test_shell_windows.cpp)
