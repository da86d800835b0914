// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/EntryListView.h"

#include <QDropEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace velmora::ui {
namespace {

bool movesThroughRows(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
        default:
            return false;
    }
}

// The style's own drawing of a row; the focus frame of a row that is not
// selected only after keyboard use.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shown(option);
        const QWidget* view = option.widget;
        const bool byKeys =
            view != nullptr && view->window()->testAttribute(Qt::WA_KeyboardFocusChange);
        if (!byKeys && !shown.state.testFlag(QStyle::State_Selected))
            shown.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, shown, index);
    }
};

}  // namespace

EntryListView::EntryListView(QWidget* parent) : QListView(parent) {
    setItemDelegate(new EntryDelegate(this));
}

// Qt's view selects the row a key moves to, but a key that finds no other
// row (Up on the first) leaves the row it stands on unselected.
void EntryListView::keyPressEvent(QKeyEvent* event) {
    QListView::keyPressEvent(event);
    const QModelIndex current = currentIndex();
    if (movesThroughRows(event) && current.isValid() && !selectionModel()->hasSelection())
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
}

// The entry dragged is the one selected, and it lands before the row under
// the pointer, or after it in the row's lower half, or at the end below the
// rows. Anything else dropped here is the view's, or the window's.
void EntryListView::dropEvent(QDropEvent* event) {
    if (event->source() != this) {
        QListView::dropEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QModelIndex under = indexAt(at);
    int to = model()->rowCount();
    if (under.isValid()) to = under.row() + (at.y() > visualRect(under).center().y() ? 1 : 0);
    // the rows are the settings' to move, not the view's to take
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const int from = selected.isEmpty() ? -1 : selected.first().row();
    if (to > from) --to;  // the entry leaves its place before it lands
    if (from >= 0 && to != from) emit entryDropped(from, to);
}

}  // namespace velmora::ui
