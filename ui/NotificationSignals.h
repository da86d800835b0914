// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The signals of the desktop's notification service, for PageNotice.
#pragma once

#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QString>

namespace velmora::ui {

/// Matched by path and interface from whichever connection sends them:
/// naming the service would make Qt look up its owner with a blocking call.
/// The ids tell our notification from other programs'.
class NotificationSignals : public QDBusAbstractInterface {
    Q_OBJECT
public:
    explicit NotificationSignals(QObject* parent)
        : QDBusAbstractInterface(QString(), QStringLiteral("/org/freedesktop/Notifications"),
                                 "org.freedesktop.Notifications", QDBusConnection::sessionBus(),
                                 parent) {}

signals:
    void ActionInvoked(uint id, const QString& key);
    void NotificationClosed(uint id, uint reason);
};

}  // namespace velmora::ui
