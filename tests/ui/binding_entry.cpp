// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// An entry of the binding tables as a slip would write it: a control name
// misspelt, or a value of the settings that no control of the wizard shows.
// Neither may compile (tests/ui_wizard_tests.cmake). A well-spelt entry
// beside them shows that the file compiles but for the slip.
#include "ui/Bindings.h"

namespace velmora::ui {

[[maybe_unused]] constexpr Binding<QLineEdit, std::string> kWellSpelt = VELMORA_BIND(Edit19);
#if defined(VELMORA_MISSPELT)
[[maybe_unused]] constexpr Binding<QLineEdit, std::string> kSlip = VELMORA_BIND(Edit91);
#elif defined(VELMORA_NO_CONTROL)
[[maybe_unused]] constexpr Binding<QRadioButton, int> kSlip = VELMORA_BIND(HeadingSize);
#endif

}  // namespace velmora::ui
