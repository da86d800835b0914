// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop notification "Seite gespeichert" after a finish: it says where
// the page went and offers to show it in the browser or in its folder, or to
// publish it. After a publish, "Seite veröffentlicht" takes its place, with
// the web address to open where the user gave one.
//
//   finish ──▶ pageSaved(path) ┄┄(event loop)┄┄▶ GetCapabilities ──▶ Notify ──▶ id
//   publish ──▶ pagePublished(where, web) ┄┄▶ the same, in place of the one shown
//   ActionInvoked(id, key) ──▶ browser (QDesktopServices)
//                          ├─▶ file manager (FileManager1.ShowItems, else the folder)
//                          └─▶ publishAsked(page)
//
// The finish never waits on D-Bus: every call is asynchronous and starts only
// after the wizard is hidden, so a slow or missing notification service leaves
// the finish as fast as without one. A desktop without the service gets no
// notification and no message.
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <optional>

namespace velmora::ui {

class NotificationSignals;

/// A path as a user reads it: below the home folder as "~/…".
[[nodiscard]] QString readablePath(const QString& path);

class PageNotice : public QObject {
    Q_OBJECT
public:
    explicit PageNotice(QObject* parent = nullptr);
    ~PageNotice() override;
    PageNotice(const PageNotice&) = delete;
    PageNotice& operator=(const PageNotice&) = delete;

    /// Announces the page just written at `absolutePath`; returns at once.
    void pageSaved(const QString& absolutePath);
    /// Announces a page put on the server: `where`, as a user reads it, and
    /// `webAddress`, which the notification opens when it is not empty.
    void pagePublished(const QString& where, const QString& webAddress);

signals:
    /// The user chose "Veröffentlichen" on the notification of `page`.
    void publishAsked(const QString& page);

private:
    struct Notice {
        QString summary;
        QString body;  // plain text
        QString page;
        QUrl web;  // the browser's address; empty: the page itself
        bool saved = false;
    };

    void announce(Notice notice);
    void send();
    void sendNotify(const Notice& notice, bool markup);
    void sent(const Notice& notice, uint id);
    void sendingEnded();
    void actionInvoked(uint id, const QString& key);
    void closed(uint id);
    void showInFolder(const QString& page);
    void openFolder(const QString& page);

    NotificationSignals* signals_ = nullptr;
    // The server's id of the notification on screen, 0 when none is, and
    // what it says.
    uint id_ = 0;
    Notice shown_;
    // One Notify at a time, so that a finish right after another replaces
    // its notification instead of racing it for an id: `next_` is what is
    // still to announce when the call in flight ends.
    bool sending_ = false;
    std::optional<Notice> next_;
};

}  // namespace velmora::ui
