// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PageDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace velmora::ui {
namespace {

// The first file of a drag when it lies on this machine; anything else, a
// text or a web address, is left to the control under the pointer.
QString draggedFile(const QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    return urls.isEmpty() || !urls.first().isLocalFile() ? QString() : urls.first().toLocalFile();
}

class PageDrop : public QObject {
public:
    PageDrop(QWidget* window, std::function<void(const QString&)> open)
        : QObject(window), window_(window), open_(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
            return QObject::eventFilter(watched, event);
        }
        auto* drop = static_cast<QDropEvent*>(event);  // the base of all three
        const QString file = draggedFile(drop);
        if (file.isEmpty() || !drop->possibleActions().testFlag(Qt::CopyAction)) {
            return QObject::eventFilter(watched, event);
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The file manager waits until the drop returns; a question or an
        // error box shown inside it would hold the file manager too.
        if (type == QEvent::Drop) {
            QTimer::singleShot(0, window_, [open = open_, file] { open(file); });
        }
        return true;
    }

private:
    QWidget* window_;
    std::function<void(const QString&)> open_;
};

}  // namespace

void acceptPageDrops(QWidget* window, const std::function<void(const QString&)>& open,
                     const QList<QWidget*>& except) {
    auto* filter = new PageDrop(window, open);
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
