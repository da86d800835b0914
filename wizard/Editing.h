// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The editing operations of the wizard's pages. Each works on the page
// settings alone and returns its Step (History.h): what it changed, which
// rows of the shown list a window updates, and how to undo it. An operation
// that changed nothing returns a step that changed nothing.
#pragma once

#include "settings/PageSettings.h"
#include "wizard/History.h"
#include "wizard/Lists.h"

namespace velmora {

// "Links"
Step SpeedButton2Click(PageSettings& s);  // "Neuer Link"
Step SpeedButton5Click(PageSettings& s);  // "Link löschen"

// "Text"
Step Button1Click(PageSettings& s);       // "Hinzufügen"
Step SpeedButton6Click(PageSettings& s);  // "Zeilenumbruch"
Step SpeedButton7Click(PageSettings& s);  // "Zeile löschen"
Step SpeedButton8Click(PageSettings& s);  // "Alles löschen"
Step BitBtn8Click(PageSettings& s);       // picture "Einfügen"
Step BitBtn1Click(PageSettings& s);       // link "Einfügen"
/// The toggle group l, m, r: pressing an up toggle puts it down and the others
/// up; pressing the down one leaves all three up.
void pressToggle(PageSettings& s, Alignment pressed) noexcept;

// "Bilder"
Step SpeedButton3Click(PageSettings& s);  // "Neues Bild"
Step SpeedButton4Click(PageSettings& s);  // "Bild löschen"
/// Keeps the spacing count at 0 or more; returns whether it set the text.
bool SpinEdit3Change(PageSettings& s);

// Any of the three lists of Lists.h. A drag within a list is Step::move.

/// "Ändern": the selected entry, and its pair's, get the texts of `entry`;
/// the entry stays selected. Without a selection nothing changes.
Step changeSelected(PageSettings& s, const ListField& list, Entry entry);
/// "Nach oben" (`by` -1) and "Nach unten" (+1): the selected entry, with its
/// pair's, moves `by` places and the selection with it. Past an edge, or
/// without a selection, nothing changes.
Step moveSelected(PageSettings& s, const ListField& list, int by);

}  // namespace velmora
