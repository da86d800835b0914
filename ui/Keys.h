// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeyEvent>

namespace velmora::ui {

/// Return on the main block or Enter on the keypad.
[[nodiscard]] inline bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace velmora::ui
