// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PageNotice.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>
#include <functional>
#include <utility>

#include "ui/ErrorHandler.h"
#include "ui/NotificationSignals.h"

namespace velmora::ui {

namespace {

const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");
const QString kNotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kFileManager = QStringLiteral("org.freedesktop.FileManager1");

// Action keys. "default" is a click on the notification itself; desktops show
// no button for it, so the browser has a key of its own for its button too.
const QString kDefaultAction = QStringLiteral("default");
const QString kBrowserAction = QStringLiteral("browser");
const QString kFolderAction = QStringLiteral("folder");
const QString kPublishAction = QStringLiteral("publish");
const QString kBrowserLabel = QStringLiteral("Im Browser ansehen");

QString folderOf(const QString& page) { return QFileInfo(page).absolutePath(); }

using ReplyHandler = std::function<void(const QDBusMessage&)>;
using FailureHandler = std::function<void(const QDBusError&)>;

// Sends a call and returns at once; the handler runs from the event loop
// when the answer comes, a failure in it going to the general error handler.
void callAsync(QObject* context, const QDBusMessage& call, ReplyHandler onReply,
               FailureHandler onError) {
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, onReply = std::move(onReply), onError = std::move(onError)] {
                         watcher->deleteLater();
                         guarded(nullptr, [&] {
                             if (watcher->isError()) {
                                 onError(watcher->error());
                             } else {
                                 onReply(watcher->reply());
                             }
                         });
                     });
}

}  // namespace

// The home folder may be reached through a link while the working directory,
// which the page's path comes from, is the real path.
QString readablePath(const QString& path) {
    const QString home = QDir::homePath();
    for (const QString& h : {home, QFileInfo(home).canonicalFilePath()}) {
        if (h.isEmpty() || h == QLatin1String("/")) continue;
        if (path == h) return QStringLiteral("~");
        if (path.startsWith(h + QLatin1Char('/'))) return QLatin1Char('~') + path.mid(h.size());
    }
    return path;
}

PageNotice::PageNotice(QObject* parent) : QObject(parent) {}

PageNotice::~PageNotice() = default;

void PageNotice::pageSaved(const QString& absolutePath) {
    const QString page = QDir::cleanPath(absolutePath);
    announce({QStringLiteral("Seite gespeichert"), readablePath(page), page, QUrl(), true});
}

void PageNotice::pagePublished(const QString& where, const QString& webAddress) {
    Notice notice{QStringLiteral("Seite veröffentlicht"), where, QString(), QUrl(), false};
    if (!webAddress.isEmpty()) {
        notice.web = QUrl::fromUserInput(webAddress);
        notice.body += QLatin1Char('\n') + webAddress;
    }
    announce(std::move(notice));
}

void PageNotice::announce(Notice notice) {
    next_ = std::move(notice);
    // From the event loop, so that the wizard is off the screen before the
    // first use of the bus connects to it.
    if (!sending_) {
        QTimer::singleShot(0, this, [this] { guarded(nullptr, [this] { send(); }); });
    }
}

void PageNotice::send() {
    if (sending_ || !next_) return;
    const Notice notice = std::move(*next_);
    next_.reset();
    if (!QDBusConnection::sessionBus().isConnected()) return;
    if (signals_ == nullptr) {
        signals_ = new NotificationSignals(this);
        connect(signals_, &NotificationSignals::ActionInvoked, this,
                [this](uint id, const QString& key) {
                    guarded(nullptr, [&] { actionInvoked(id, key); });
                });
        connect(signals_, &NotificationSignals::NotificationClosed, this,
                [this](uint id, uint /*reason*/) { closed(id); });
    }
    sending_ = true;
    callAsync(
        this,
        QDBusMessage::createMethodCall(kNotifications, kNotificationsPath, kNotifications,
                                       QStringLiteral("GetCapabilities")),
        [this, notice](const QDBusMessage& reply) {
            const QStringList capabilities = reply.arguments().value(0).toStringList();
            try {
                sendNotify(notice, capabilities.contains(QLatin1String("body-markup")));
            } catch (...) {
                sendingEnded();  // or no finish would ever be announced again
                throw;
            }
        },
        [this](const QDBusError&) { sendingEnded(); });
}

void PageNotice::sendNotify(const Notice& notice, bool markup) {
    const QString body = markup ? notice.body.toHtmlEscaped() : notice.body;
    const QString entry = QGuiApplication::desktopFileName();
    QVariantMap hints;
    if (!entry.isEmpty()) hints.insert(QStringLiteral("desktop-entry"), entry);
    QStringList actions;
    if (notice.saved) {
        actions = QStringList{kDefaultAction, kBrowserLabel,
                              kBrowserAction, kBrowserLabel,
                              kFolderAction,  QStringLiteral("Ordner öffnen"),
                              kPublishAction, QStringLiteral("Veröffentlichen")};
    } else if (notice.web.isValid()) {
        actions = QStringList{kDefaultAction, kBrowserLabel, kBrowserAction, kBrowserLabel};
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(kNotifications, kNotificationsPath,
                                                         kNotifications, QStringLiteral("Notify"));
    // The installed icon has the desktop entry's name.
    notify.setArguments({QStringLiteral("Velmora"), QVariant::fromValue(id_), entry, notice.summary,
                         body, actions, hints, QVariant::fromValue(qint32{-1})});
    callAsync(
        this, notify,
        [this, notice](const QDBusMessage& reply) {
            sent(notice, reply.arguments().value(0).toUInt());
            sendingEnded();
        },
        [this](const QDBusError&) { sendingEnded(); });
}

void PageNotice::sent(const Notice& notice, uint id) {
    id_ = id;
    shown_ = notice;
}

void PageNotice::sendingEnded() {
    sending_ = false;
    send();
}

void PageNotice::actionInvoked(uint id, const QString& key) {
    if (id == 0 || id != id_) return;
    if (key == kDefaultAction || key == kBrowserAction) {
        const QUrl url = shown_.saved ? QUrl::fromLocalFile(shown_.page) : shown_.web;
        if (!url.isValid()) return;
        if (!QDesktopServices::openUrl(url)) {
            showError(nullptr,
                      QStringLiteral("Der Browser ließ sich nicht starten, um %1 zu zeigen.")
                          .arg(shown_.saved ? readablePath(shown_.page) : url.toString()));
        }
    } else if (key == kFolderAction && shown_.saved) {
        showInFolder(shown_.page);
    } else if (key == kPublishAction && shown_.saved) {
        emit publishAsked(shown_.page);
    }
}

void PageNotice::closed(uint id) {
    if (id == id_) id_ = 0;
}

void PageNotice::showInFolder(const QString& page) {
    QDBusMessage show = QDBusMessage::createMethodCall(
        kFileManager, QStringLiteral("/org/freedesktop/FileManager1"), kFileManager,
        QStringLiteral("ShowItems"));
    show.setArguments(
        {QStringList{QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded)}, QString()});
    callAsync(
        this, show, [](const QDBusMessage&) {},
        [this, page](const QDBusError& error) {
            // A file manager that is slow to start may still show the page;
            // opening the folder as well would show it twice.
            if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout) return;
            openFolder(page);
        });
}

void PageNotice::openFolder(const QString& page) {
    const QString folder = folderOf(page);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        showError(nullptr,
                  QStringLiteral("Der Dateimanager ließ sich nicht starten, um den Ordner %1 zu "
                                 "zeigen.")
                      .arg(readablePath(folder)));
    }
}

}  // namespace velmora::ui
