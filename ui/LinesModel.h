// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The rows of a list view, read in place from the core's lines: the entries
// of a list of the settings (StringList) or the lines of "HTML Code"
// (CodeList). Nothing is copied: a row's text is made when the view draws
// it, so a page of a million lines costs the views only the rows on screen.
//
// The core changes its lines first and the model hears of it afterwards
// (show, reset). Until then the views go on seeing the number of rows they
// last heard of, and a row the lines no longer hold reads as empty, so that
// the views are never told of a row that is not there.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "wizard/History.h"

namespace velmora::ui {

class LinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    LinesModel(const std::vector<std::string>& lines, QObject* parent);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    /// Rows may be dragged and dropped between rows, within their view.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    [[nodiscard]] Qt::DropActions supportedDropActions() const override;

    /// Tells the views of `change`, which the lines have made already.
    void show(ListChange change);
    /// Every row anew.
    void reset();

private:
    const std::vector<std::string>& lines_;
    int rows_;  // the number of rows the views last heard of
};

}  // namespace velmora::ui
