# Qt Test of the wizard window and its spin field, driven as a user would, and
# of how both windows read (look).
foreach(name spinedit wizard_controls wizard_pages wizard_finish wizard_lists look)
    velmora_qt_test(ui_${name}_tests ui/test_${name}.cpp ui/test_wizard_support.h 120)
endforeach()
