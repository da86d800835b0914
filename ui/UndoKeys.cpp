// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/UndoKeys.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QWidget>
#include <utility>

namespace velmora::ui {
namespace {

QList<QKeySequence> undoKeys() { return QKeySequence::keyBindings(QKeySequence::Undo); }

QList<QKeySequence> redoKeys() {
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& own :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        if (!keys.contains(own)) keys << own;  // one key twice would be ambiguous
    }
    return keys;
}

bool isOneOf(const QKeyEvent* event, const QList<QKeySequence>& keys) {
    const QKeySequence pressed(event->keyCombination());
    return keys.contains(pressed);
}

// Sees a key before a text field claims it as a shortcut of its own; lets the
// field have it only when it has typing to undo or redo with that key.
class FieldUndoFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        const bool undo = isOneOf(key, undoKeys());
        const bool redo = isOneOf(key, redoKeys());
        if (!undo && !redo) return QObject::eventFilter(watched, event);
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field == nullptr) field = watched->findChild<QLineEdit*>();  // a spin field's line
        const bool fieldTakes =
            field != nullptr && !field->isReadOnly() &&
            ((undo && key->matches(QKeySequence::Undo) && field->isUndoAvailable()) ||
             (redo && key->matches(QKeySequence::Redo) && field->isRedoAvailable()));
        if (fieldTakes) return false;
        key->ignore();  // left unclaimed, the window's shortcut takes it
        return true;
    }
};

}  // namespace

void routeUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo) {
    auto* filter = new FieldUndoFilter(window);
    for (QWidget* field : window->findChildren<QLineEdit*>()) field->installEventFilter(filter);
    for (QWidget* spin : window->findChildren<QAbstractSpinBox*>())
        spin->installEventFilter(filter);
    auto* undoKey = new QShortcut(window);
    undoKey->setKeys(undoKeys());
    QObject::connect(undoKey, &QShortcut::activated, window, std::move(undo));
    auto* redoKey = new QShortcut(window);
    redoKey->setKeys(redoKeys());
    QObject::connect(redoKey, &QShortcut::activated, window, std::move(redo));
}

}  // namespace velmora::ui
