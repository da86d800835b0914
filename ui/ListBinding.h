// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// One list of the settings and the widget that shows it: the links
// (`ListBox2`, paired with the targets in `ListBox5`), the text lines
// (`ListBox1`) and the pictures (`ListBox3`, paired with the captions in
// `ListBox6`). The settings own the rows, their order and the selection: the
// user's selection goes into them, and their rows come back to the widget
// whole after a page is opened, or one change at a time after an operation
// or an undo.
//
// The list's own keys and menu ask the window for the operations: F2 and a
// double-click change the selected entry, Alt+Up and Alt+Down move it, the
// menu (Shift+F10, the menu key, the right button) offers "Ändern …", "Nach
// oben", "Nach unten" and "Löschen", and an entry dragged within the list is
// moved to where it is dropped.
#pragma once

#include <QObject>
#include <functional>

#include "settings/Fields.h"
#include "settings/PageSettings.h"
#include "wizard/History.h"

class QAbstractButton;
class QAction;
class QListWidget;
class QPoint;

namespace velmora::ui {

/// What the list's keys, menu and drags run.
struct ListActions {
    std::function<void()> change;                // the selected entry, in its dialog
    std::function<void(int by)> move;            // the selected entry, -1 up, +1 down
    std::function<void(int from, int to)> drag;  // entry `from` dropped at index `to`
    QAbstractButton* remove = nullptr;           // the page's delete button
};

class ListBinding : public QObject {
    Q_OBJECT
public:
    ListBinding(QListWidget* widget, PageSettings& settings, const ListField& field,
                ListActions actions);

    [[nodiscard]] const ListField& field() const noexcept { return field_; }

    /// Every row anew, and the selection.
    void showAll() const;
    /// One change of the rows, and the selection the settings hold then.
    void show(ListChange change) const;
    void showSelection() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] const StringList& list() const noexcept { return settings_.*field_.shown; }
    void showRows() const;
    QAction* addAction(const QString& text, const QKeySequence& key,
                       const std::function<void()>& run);
    void showMenu(const QPoint& at);

    QListWidget* widget_;
    PageSettings& settings_;
    const ListField& field_;
    ListActions actions_;
    QAction* change_ = nullptr;
    QAction* up_ = nullptr;
    QAction* down_ = nullptr;
    QAction* remove_ = nullptr;
};

}  // namespace velmora::ui
