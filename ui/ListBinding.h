// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// One list of the settings and the widget that shows it. The settings own
// the rows and the selection: the user's selection goes into them, and their
// rows come back to the widget whole after a page is opened, or one change at
// a time after an operation. The link and picture lists name the second list
// of their pair, which is never shown.
#pragma once

#include "settings/PageSettings.h"
#include "wizard/History.h"

class QListWidget;

namespace velmora::ui {

class ListBinding {
public:
    ListBinding(QListWidget* widget, StringList& list, const StringList* partner);

    [[nodiscard]] QListWidget* widget() const noexcept { return widget_; }
    [[nodiscard]] const StringList& list() const noexcept { return list_; }
    /// The list that pairs with this one, or nullptr for the text lines.
    [[nodiscard]] const StringList* partner() const noexcept { return partner_; }

    /// Every row anew, and the selection.
    void showAll() const;
    /// One operation's change, and the selection it left.
    void show(ListChange change) const;
    void showSelection() const;

private:
    void showRows() const;

    QListWidget* widget_;
    StringList& list_;
    const StringList* partner_;
};

}  // namespace velmora::ui
