// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PageDrop.h"

#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "ui/FileDrop.h"

namespace velmora::ui {

void acceptPageDrops(QWidget* window, const std::function<void(const QString&)>& open,
                     const QList<QWidget*>& except) {
    // The file manager waits until the drop returns; a question or an error
    // box shown inside it would hold the file manager too.
    auto* filter = new FileDrop(window, [window, open](const QString& file) {
        QTimer::singleShot(0, window, [open, file] { open(file); });
    });
    window->setAcceptDrops(true);
    window->installEventFilter(filter);
    // A control that takes drops of its own (a text field takes the file's
    // name as text) would get the page otherwise.
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const bool excepted = std::any_of(except.begin(), except.end(), [control](QWidget* e) {
            return e == control || e->isAncestorOf(control);
        });
        if (!excepted && control->acceptDrops()) control->installEventFilter(filter);
    }
}

}  // namespace velmora::ui
