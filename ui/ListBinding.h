// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// One list of the settings and the view that shows it: the links
// (`ListBox2`, paired with the targets in `ListBox5`), the text lines
// (`ListBox1`) and the pictures (`ListBox3`, paired with the captions in
// `ListBox6`). The settings own the rows, their order and the selection: the
// view reads the rows in place through its model, the user's selection goes
// into the settings, and the view hears of the rows anew after a page is
// opened, or one change at a time after an operation or an undo.
//
// The list's own keys and menu ask the window for the operations: F2 and a
// double-click change the selected entry, Alt+Up and Alt+Down move it, the
// menu (Shift+F10, the menu key, the right button) offers "Ändern …", "Nach
// oben", "Nach unten" and "Löschen", and an entry dragged within the list is
// moved to where it is dropped.
#pragma once

#include <QObject>
#include <functional>

#include "settings/PageSettings.h"
#include "ui/Bindings.h"
#include "wizard/History.h"

class QAbstractButton;
class QAction;
class QKeySequence;
class QPoint;

namespace velmora::ui {

class EntryListView;
class LinesModel;

/// What the list's keys, menu and drags run.
struct ListActions {
    std::function<void()> change;                // the selected entry, in its dialog
    std::function<void(int by)> move;            // the selected entry, -1 up, +1 down
    std::function<void(int from, int to)> drag;  // entry `from` dropped at index `to`
};

class ListBinding : public QObject {
    Q_OBJECT
public:
    ListBinding(const ListWindow& list, const WizardUi& ui, PageSettings& settings,
                ListActions actions);

    [[nodiscard]] const ListField& field() const noexcept { return *list_.field; }

    /// Every row anew, and the selection.
    void showAll();
    /// One change of the rows, and the selection the settings hold then.
    void show(ListChange change);
    /// The selection the settings hold; the view's current row stays where
    /// it is, or on the row `current` when that is given.
    void showSelection(int current = -1);

private:
    [[nodiscard]] const StringList& rows() const noexcept { return settings_.*list_.field->shown; }
    void takeSelection();
    QAction* addAction(const QString& text, const QKeySequence& key,
                       const std::function<void()>& run);
    void showMenu(const QPoint& at);

    const ListWindow& list_;
    EntryListView* view_;
    QAbstractButton* remove_;
    PageSettings& settings_;
    ListActions actions_;
    LinesModel* model_;
    bool showing_ = false;  // the view's selection follows the settings, not the user
    QAction* changeAction_ = nullptr;
    QAction* up_ = nullptr;
    QAction* down_ = nullptr;
    QAction* removeAction_ = nullptr;
};

}  // namespace velmora::ui
