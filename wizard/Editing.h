// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The editing operations of the wizard's pages. Each works on the page
// settings alone and tells which entry of the shown list it changed, so a
// window can update that one row instead of rebuilding the list.
#pragma once

#include "settings/PageSettings.h"

namespace velmora {

/// What an operation did to the shown list of its page.
struct ListChange {
    enum class Kind : std::uint8_t { None, Appended, Removed, Cleared };
    Kind kind = Kind::None;
    int index = -1;  // the row appended or removed

    friend bool operator==(const ListChange&, const ListChange&) = default;
};

// "Links"
ListChange SpeedButton2Click(PageSettings& s);  // "Neuer Link"
ListChange SpeedButton5Click(PageSettings& s);  // "Link löschen"

// "Text"
ListChange Button1Click(PageSettings& s);       // "Hinzufügen"
ListChange SpeedButton6Click(PageSettings& s);  // "Zeilenumbruch"
ListChange SpeedButton7Click(PageSettings& s);  // "Zeile löschen"
ListChange SpeedButton8Click(PageSettings& s);  // "Alles löschen"
ListChange BitBtn8Click(PageSettings& s);       // picture "Einfügen"
ListChange BitBtn1Click(PageSettings& s);       // link "Einfügen"
/// The toggle group l, m, r: pressing an up toggle puts it down and the others
/// up; pressing the down one leaves all three up.
void pressToggle(PageSettings& s, Alignment pressed) noexcept;

// "Bilder"
ListChange SpeedButton3Click(PageSettings& s);  // "Neues Bild"
ListChange SpeedButton4Click(PageSettings& s);  // "Bild löschen"
/// Keeps the spacing count at 0 or more; returns whether it set the text.
bool SpinEdit3Change(PageSettings& s);

}  // namespace velmora
