// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three lists that the editing operations (Editing.h) change, each a
// shown list with the never-shown list that pairs with it. The window's half
// of each (its view, its delete button, the dialog that changes an entry)
// is in ui/Bindings.h.
#pragma once

#include <array>

#include "settings/Fields.h"
#include "settings/PageSettings.h"

namespace velmora {

/// A shown list and the never-shown list that pairs with it.
struct ListField {
    Member<StringList> shown;
    Member<StringList> paired;  // nullptr for the text lines, which have no pair
};

inline constexpr ListField kLinks{&PageSettings::ListBox2, &PageSettings::ListBox5};
inline constexpr ListField kLines{&PageSettings::ListBox1, nullptr};
inline constexpr ListField kPictures{&PageSettings::ListBox3, &PageSettings::ListBox6};

/// In the order of the window's pages.
inline constexpr std::array<const ListField*, 3> kLists{&kLinks, &kLines, &kPictures};

}  // namespace velmora
