// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ListBinding.h"

#include <QAbstractButton>
#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QToolButton>
#include <algorithm>
#include <utility>

#include "ui/EntryListView.h"
#include "ui/LinesModel.h"

namespace velmora::ui {

ListBinding::ListBinding(const ListWindow& list, const WizardUi& ui, PageSettings& settings,
                         ListActions actions)
    : QObject(ui.*list.view),
      list_(list),
      view_(ui.*list.view),
      remove_(ui.*list.remove),
      settings_(settings),
      actions_(std::move(actions)),
      model_(new LinesModel((settings.*list.field->shown).items, this)) {
    view_->setModel(model_);
    // The selection is the user's own: the settings take it as it is.
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListBinding::takeSelection);
    changeAction_ =
        addAction(QStringLiteral("Ändern …"), QKeySequence(Qt::Key_F2), actions_.change);
    up_ = addAction(QStringLiteral("Nach oben"), QKeySequence(Qt::ALT | Qt::Key_Up),
                    [this] { actions_.move(-1); });
    down_ = addAction(QStringLiteral("Nach unten"), QKeySequence(Qt::ALT | Qt::Key_Down),
                      [this] { actions_.move(+1); });
    removeAction_ =
        addAction(QStringLiteral("Löschen"), QKeySequence(), [this] { remove_->click(); });
    connect(view_, &QAbstractItemView::doubleClicked, this, [this] { actions_.change(); });
    // The menu key and the right button come as a context menu request; no
    // platform sends one for Shift+F10, so that key asks for it here.
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showMenu(view_->viewport()->mapToGlobal(at)); });
    addAction(QString(), QKeySequence(Qt::SHIFT | Qt::Key_F10), [this] {
        const QModelIndex current = view_->currentIndex();
        const QPoint at = current.isValid() ? view_->visualRect(current).center() : QPoint();
        showMenu(view_->viewport()->mapToGlobal(at));
    });
    view_->setDragEnabled(true);
    view_->setDragDropMode(QAbstractItemView::InternalMove);
    view_->setDefaultDropAction(Qt::MoveAction);
    view_->setDropIndicatorShown(true);
    connect(view_, &EntryListView::entryDropped, this,
            [this](int from, int to) { actions_.drag(from, to); });
}

void ListBinding::takeSelection() {
    if (showing_) return;
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    (settings_.*list_.field->shown).selected = selected.isEmpty() ? -1 : selected.first().row();
}

// The action's key works while the list has the focus, and the menu shows it.
QAction* ListBinding::addAction(const QString& text, const QKeySequence& key,
                                const std::function<void()>& run) {
    auto* action = new QAction(text, view_);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, run);
    view_->addAction(action);
    return action;
}

// The entries that cannot be moved or changed show greyed; the keys stay on,
// and an operation that has nothing to do changes nothing.
void ListBinding::showMenu(const QPoint& at) {
    const StringList& entries = rows();
    const bool selected = entries.hasSelection();
    auto* menu = new QMenu(view_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (auto [action, enabled] : {std::pair{changeAction_, selected},
                                   {up_, selected && entries.selected > 0},
                                   {down_, selected && entries.selected < entries.count() - 1},
                                   {removeAction_, selected}}) {
        auto* item = menu->addAction(action->text(), action, &QAction::trigger);
        item->setShortcut(action->shortcut());
        item->setEnabled(enabled);
    }
    menu->popup(at);
}

void ListBinding::showAll() {
    showing_ = true;
    model_->reset();
    showing_ = false;
    showSelection();
}

// When the current row is taken, the view selects a neighbour on its own;
// that must not reach the settings, whose selection the view then shows. A
// delete leaves nothing selected, and the keys go on from where the entry
// stood: the entry after it, or the new last one.
void ListBinding::show(ListChange change) {
    showing_ = true;
    model_->show(change);
    showing_ = false;
    showSelection(change.kind == ListChange::Kind::Removed ? change.index : -1);
}

// Exactly the selection the settings hold. Without one the view keeps its
// current row, from which a key selects, but shows nothing selected.
void ListBinding::showSelection(int current) {
    const int count = rows().count();
    QItemSelectionModel* selection = view_->selectionModel();
    showing_ = true;
    if (rows().hasSelection()) {
        selection->setCurrentIndex(model_->index(rows().selected),
                                   QItemSelectionModel::ClearAndSelect);
    } else {
        selection->clearSelection();
        if (current < 0) current = view_->currentIndex().row();
        if (current >= 0 && count > 0) {
            selection->setCurrentIndex(model_->index(std::min(current, count - 1)),
                                       QItemSelectionModel::NoUpdate);
        }
    }
    showing_ = false;
}

}  // namespace velmora::ui
