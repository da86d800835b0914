// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/FileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <utility>

namespace velmora::ui {
namespace {

QString droppedFile(const QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return {};
    if (!event->possibleActions().testFlag(Qt::CopyAction)) return {};
    return urls.first().toLocalFile();
}

}  // namespace

FileDrop::FileDrop(QObject* parent, std::function<void(const QString&)> take)
    : QObject(parent), take_(std::move(take)) {}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto* drop = static_cast<QDropEvent*>(event);  // the base of all three
    const QString file = droppedFile(drop);
    if (file.isEmpty()) return QObject::eventFilter(watched, event);
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) take_(file);
    return true;
}

}  // namespace velmora::ui
