// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The controls of both windows, made at the fixed pixel positions of the
// windows' forms. The windows cannot be resized, so there are no layouts.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace velmora::ui {

class SpinEdit;

inline constexpr int kBoxHeight = 17;  // tick boxes and radio buttons

/// A fixed window: its title, its size, where it stands, and a title bar with
/// a close and a minimise button but none to maximise. A screen reader reads
/// it as a window. Call it from the window's constructor.
void setUpFixedWindow(QWidget* window, const QString& title, QSize size, QPoint at);

[[nodiscard]] QFont pixelFont(const QString& face, int pixels, bool bold = false,
                              bool italic = false);

/// A label's caption as a field's accessible name: without its colon, which a
/// screen reader would read aloud.
[[nodiscard]] QString nameFromLabel(const QString& caption);

/// Gives `w` the object name by which readers and tests find it.
template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y);

/// A flat button: no border until the pointer is over it. The keyboard
/// reaches it by Tab and presses it by Space, Return or Enter; a click never
/// gives it the focus.
QToolButton* addFlatButton(QWidget* parent, const char* name, const QString& caption,
                           const QRect& geometry);

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& geometry);

// The controls that show a value of the settings get their names from the
// binding tables (Bindings.h); the others are named where they are made.

/// A text field without a label, and one under its label.
QLineEdit* addEdit(QWidget* parent, int x, int y, int width);
QLineEdit* addEdit(QWidget* parent, const QString& label, int x, int y, int width);

SpinEdit* addSpin(QWidget* parent, const QString& label, int x, int y, int width);

/// A tick box or radio button, as wide as its caption unless `width` is given.
template <typename Box>
Box* addBox(QWidget* parent, const QString& caption, int x, int y, int width = 0) {
    auto* box = new Box(caption, parent);
    box->setGeometry(x, y, width > 0 ? width : box->sizeHint().width(), kBoxHeight);
    return box;
}

/// Makes `list` a list in the window's colour with a single selection.
void setUpList(QListView* list, const QRect& geometry);

template <typename View>
View* addList(QWidget* parent, const QRect& geometry) {
    auto* list = new View(parent);
    setUpList(list, geometry);
    return list;
}

/// A page's read-only help text down its right side.
QPlainTextEdit* addHelpText(QWidget* page, const char* name, const QStringList& lines);

}  // namespace velmora::ui
