// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ListBinding.h"

#include <QAbstractButton>
#include <QAction>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QStringList>
#include <utility>

#include "ui/Utf8.h"

namespace velmora::ui {
namespace {

int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

}  // namespace

ListBinding::ListBinding(QListWidget* widget, PageSettings& settings, const ListField& field,
                         ListActions actions)
    : QObject(widget),
      widget_(widget),
      settings_(settings),
      field_(field),
      actions_(std::move(actions)) {
    // The selection is the user's own: the settings take it as it is.
    StringList& list = settings.*field.shown;
    connect(widget, &QListWidget::itemSelectionChanged, this,
            [widget, &list] { list.selected = selectedRow(widget); });
    change_ = addAction(QStringLiteral("Ändern …"), QKeySequence(Qt::Key_F2), actions_.change);
    up_ = addAction(QStringLiteral("Nach oben"), QKeySequence(Qt::ALT | Qt::Key_Up),
                    [this] { actions_.move(-1); });
    down_ = addAction(QStringLiteral("Nach unten"), QKeySequence(Qt::ALT | Qt::Key_Down),
                      [this] { actions_.move(+1); });
    remove_ =
        addAction(QStringLiteral("Löschen"), QKeySequence(), [this] { actions_.remove->click(); });
    connect(widget, &QListWidget::itemDoubleClicked, this, [this] { actions_.change(); });
    // The menu key and the right button come as a context menu request; no
    // platform sends one for Shift+F10, so that key asks for it here.
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showMenu(widget_->viewport()->mapToGlobal(at)); });
    addAction(QString(), QKeySequence(Qt::SHIFT | Qt::Key_F10), [this] {
        const QListWidgetItem* current = widget_->currentItem();
        const QPoint at = current != nullptr ? widget_->visualItemRect(current).center() : QPoint();
        showMenu(widget_->viewport()->mapToGlobal(at));
    });
    // Dragged within the list, an entry is moved by the settings, not by the
    // view: the view only shows where it would land.
    widget->setDragEnabled(true);
    widget->setDragDropMode(QAbstractItemView::InternalMove);
    widget->setDefaultDropAction(Qt::MoveAction);
    widget->setDropIndicatorShown(true);
    widget->viewport()->installEventFilter(this);
}

// The action's key works while the list has the focus, and the menu shows it.
QAction* ListBinding::addAction(const QString& text, const QKeySequence& key,
                                const std::function<void()>& run) {
    auto* action = new QAction(text, widget_);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, run);
    widget_->addAction(action);
    return action;
}

// The entries that cannot be moved or changed show greyed; the keys stay on,
// and an operation that has nothing to do changes nothing.
void ListBinding::showMenu(const QPoint& at) {
    const StringList& rows = list();
    const bool selected = rows.hasSelection();
    auto* menu = new QMenu(widget_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (auto [action, enabled] : {std::pair{change_, selected},
                                   {up_, selected && rows.selected > 0},
                                   {down_, selected && rows.selected < rows.count() - 1},
                                   {remove_, selected}}) {
        auto* item = menu->addAction(action->text(), action, &QAction::trigger);
        item->setShortcut(action->shortcut());
        item->setEnabled(enabled);
    }
    menu->popup(at);
}

void ListBinding::showRows() const {
    QStringList rows;
    rows.reserve(list().count());
    for (const std::string& entry : list().items) rows << qs(entry);
    widget_->clear();
    widget_->addItems(rows);
}

void ListBinding::showAll() const {
    {
        const QSignalBlocker quiet(widget_);
        showRows();
    }
    showSelection();
}

// When the current row is taken, the view moves the current row (and with the
// focus, the selection) to a neighbour on its own; that move must not reach
// the settings, so the list is silent until it shows the settings' selection.
void ListBinding::show(ListChange change) const {
    {
        const QSignalBlocker quiet(widget_);
        const auto text = [this](int row) { return qs(list().items[std::size_t(row)]); };
        switch (change.kind) {
            case ListChange::Kind::Appended:
                widget_->addItem(text(change.index));
                break;
            case ListChange::Kind::Inserted:
                widget_->insertItem(change.index, text(change.index));
                break;
            case ListChange::Kind::Removed:
                delete widget_->takeItem(change.index);
                break;
            case ListChange::Kind::Replaced:
                widget_->item(change.index)->setText(text(change.index));
                break;
            case ListChange::Kind::Moved:
                widget_->insertItem(change.to, widget_->takeItem(change.index));
                break;
            case ListChange::Kind::Cleared:
                widget_->clear();
                break;
            case ListChange::Kind::Refilled:
                showRows();
                break;
            case ListChange::Kind::None:
                break;
        }
    }
    showSelection();
}

// Exactly the selection the settings hold. Without one the view keeps no
// current row either, which a later key or focus change could turn into a
// selection the user never made.
void ListBinding::showSelection() const {
    const int row = list().selected;
    if (row == selectedRow(widget_) && row == widget_->currentRow()) return;
    const QSignalBlocker quiet(widget_);
    if (row < 0) {
        widget_->selectionModel()->clear();
    } else {
        widget_->setCurrentRow(row);
    }
}

// A drop of the list's own entry: the entry dragged is the one selected, and
// it lands before the row under the pointer, or after it in the row's lower
// half, or at the end below the rows. Anything else dropped here is the
// view's, or the window's.
bool ListBinding::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Drop) return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    if (drop->source() != widget_) return QObject::eventFilter(watched, event);
    const QPoint at = drop->position().toPoint();
    const QModelIndex under = widget_->indexAt(at);
    int to = list().count();
    if (under.isValid()) {
        to = under.row() + (at.y() > widget_->visualRect(under).center().y() ? 1 : 0);
    }
    // The view must not move or take the rows itself.
    drop->setDropAction(Qt::IgnoreAction);
    drop->accept();
    const int from = list().selected;
    if (to > from) --to;  // the entry leaves its place before it lands
    if (from >= 0 && to != from) actions_.drag(from, to);
    return true;
}

}  // namespace velmora::ui
