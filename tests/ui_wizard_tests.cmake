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
