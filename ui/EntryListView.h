// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The view of a list the user edits: the links, the text lines, the
// pictures. It shows the rows of its model and reports what the user does;
// the settings own the rows and the selection (ListBinding).
//
// Two things it does beyond a plain list view. A key that moves through the
// rows selects the row it lands on even where it cannot move on, so after a
// delete, which leaves nothing selected, Up on the first row or Home selects
// the row the keys stand on. And an entry dragged within the list is not
// moved by the view: the view says where it was dropped, and the wizard
// moves it in the settings, undoably. The row the keys stand on without a
// selection (after a delete) is framed only once a key has moved the focus,
// as the style frames a focused button: a user who only clicks sees no row
// marked after a delete.
#pragma once

#include <QListView>

namespace velmora::ui {

class EntryListView : public QListView {
    Q_OBJECT
public:
    explicit EntryListView(QWidget* parent = nullptr);

signals:
    /// The entry at `from` was dropped to stand at `to`.
    void entryDropped(int from, int to);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace velmora::ui
