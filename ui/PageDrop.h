// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A page dropped from a file manager on a window opens it. Fields that take
// a dropped picture keep their own drop, so they are left out.
#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace velmora::ui {

/// Makes `window` and every control in it, but those in `except`, open a
/// local file dropped on them with `open`, once the drop has ended.
void acceptPageDrops(QWidget* window, const std::function<void(const QString&)>& open,
                     const QList<QWidget*>& except = {});

}  // namespace velmora::ui
