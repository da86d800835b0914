// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/LinesModel.h"

#include "ui/Utf8.h"

namespace velmora::ui {

LinesModel::LinesModel(const std::vector<std::string>& lines, QObject* parent)
    : QAbstractListModel(parent), lines_(lines), rows_(static_cast<int>(lines.size())) {}

int LinesModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant LinesModel::data(const QModelIndex& index, int role) const {
    const auto row = static_cast<std::size_t>(index.row());
    if (role != Qt::DisplayRole || !index.isValid() || row >= lines_.size()) return {};
    return qs(lines_[row]);
}

Qt::ItemFlags LinesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

Qt::DropActions LinesModel::supportedDropActions() const { return Qt::MoveAction; }

void LinesModel::show(ListChange change) {
    const int row = change.index;
    switch (change.kind) {
        case ListChange::Kind::Appended:
        case ListChange::Kind::Inserted:
            beginInsertRows({}, row, row);
            ++rows_;
            endInsertRows();
            break;
        case ListChange::Kind::Removed:
            beginRemoveRows({}, row, row);
            --rows_;
            endRemoveRows();
            break;
        case ListChange::Kind::Replaced:
            emit dataChanged(index(row), index(row), {Qt::DisplayRole});
            break;
        case ListChange::Kind::Moved: {
            // Qt names the row a moved one lands before, counted before the move.
            const int before = change.to > row ? change.to + 1 : change.to;
            beginMoveRows({}, row, row, {}, before);
            endMoveRows();
            break;
        }
        case ListChange::Kind::Cleared:
        case ListChange::Kind::Refilled:
            reset();
            break;
        case ListChange::Kind::None:
            break;
    }
}

void LinesModel::reset() {
    beginResetModel();
    rows_ = static_cast<int>(lines_.size());
    endResetModel();
}

}  // namespace velmora::ui
