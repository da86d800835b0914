// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where Strg+Z and the redo keys go in a window, decided in one place by the
// widget that has the focus. A text field that has typing to undo takes
// Strg+Z; otherwise the window's own undo runs. A QLineEdit claims Strg+Z
// even with nothing to undo, so a window shortcut alone would never see the
// key there.
//
// Redo is Strg+Umschalt+Z and Strg+Y, with the key scheme's own redo keys. A
// text field takes the key only where the scheme makes it the field's redo
// and the field has typing to redo; on X11, GNOME and KDE Strg+Y is no key of
// a text field's, so there it always redoes the window's change.
#pragma once

#include <functional>

class QWidget;

namespace velmora::ui {

/// Routes the undo and redo keys of `window`, whose text fields and spin
/// fields all exist by now, to `undo` and `redo` where no field takes them.
void routeUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo);

}  // namespace velmora::ui
