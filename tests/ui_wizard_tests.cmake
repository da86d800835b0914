# Qt Test of the wizard window and its spin field, driven as a user would.
function(velmora_wizard_test name source)
    add_executable(${name} ${source} ui/test_wizard_support.h)
    target_link_libraries(${name} PRIVATE velmora::ui Qt6::Test)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT QT_QPA_PLATFORM=offscreen
        TIMEOUT 120)
endfunction()

velmora_wizard_test(ui_spinedit_tests ui/test_spinedit.cpp)
velmora_wizard_test(ui_wizard_controls_tests ui/test_wizard_controls.cpp)
velmora_wizard_test(ui_wizard_pages_tests ui/test_wizard_pages.cpp)
velmora_wizard_test(ui_wizard_finish_tests ui/test_wizard_finish.cpp)
