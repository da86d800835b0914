// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ListBinding.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>

namespace velmora::ui {
namespace {

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

}  // namespace

ListBinding::ListBinding(QListWidget* widget, StringList& list, const StringList* partner)
    : widget_(widget), list_(list), partner_(partner) {
    QObject::connect(widget, &QListWidget::itemSelectionChanged, widget,
                     [widget, &list] { list.selected = selectedRow(widget); });
}

void ListBinding::showRows() const {
    QStringList rows;
    rows.reserve(list_.count());
    for (const std::string& entry : list_.items) rows << qs(entry);
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
        const auto text = [this](int row) {
            return qs(list_.items[static_cast<std::size_t>(row)]);
        };
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
    const int row = list_.selected;
    if (row == selectedRow(widget_) && row == widget_->currentRow()) return;
    const QSignalBlocker quiet(widget_);
    if (row < 0) {
        widget_->selectionModel()->clear();
    } else {
        widget_->setCurrentRow(row);
    }
}

}  // namespace velmora::ui
