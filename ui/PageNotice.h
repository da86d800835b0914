// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop notification "Seite gespeichert" after a finish: it says where
// the page went and offers to show it in the browser or in its folder.
//
//   finish ──▶ pageSaved(path) ┄┄(event loop)┄┄▶ GetCapabilities ──▶ Notify ──▶ id
//   ActionInvoked(id, key) ──▶ browser (QDesktopServices)
//                          └─▶ file manager (FileManager1.ShowItems, else the folder)
//
// The finish never waits on D-Bus: every call is asynchronous and starts only
// after the wizard is hidden, so a slow or missing notification service leaves
// the finish as fast as without one. A desktop without the service gets no
// notification and no message.
#pragma once

#include <QObject>
#include <QString>

namespace velmora::ui {

class NotificationSignals;

class PageNotice : public QObject {
    Q_OBJECT
public:
    explicit PageNotice(QObject* parent = nullptr);
    ~PageNotice() override;
    PageNotice(const PageNotice&) = delete;
    PageNotice& operator=(const PageNotice&) = delete;

    /// Announces the page just written at `absolutePath`; returns at once.
    void pageSaved(const QString& absolutePath);

private:
    void send();
    void sendNotify(const QString& page, bool markup);
    void sent(const QString& page, uint id);
    void sendingEnded();
    void actionInvoked(uint id, const QString& key);
    void closed(uint id);
    void showInFolder(const QString& page);
    void openFolder(const QString& page);

    NotificationSignals* signals_ = nullptr;
    // The server's id of the notification on screen, 0 when none is, and the
    // page it names.
    uint id_ = 0;
    QString shown_;
    // One Notify at a time, so that a finish right after another replaces
    // its notification instead of racing it for an id: `next_` is the page
    // still to announce when the call in flight ends.
    bool sending_ = false;
    QString next_;
};

}  // namespace velmora::ui
