// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The engine's page, which never navigates: it loads the page it is told to
// and nothing else. A click on a web address opens it in the desktop's
// browser; a local page, a form, a refresh or a dropped file leave it where
// it is.
#pragma once

#include <QUrl>
#include <QWebEnginePage>

namespace velmora::vorschau {

class PreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

    /// Loads `url`, the one navigation this page accepts.
    void loadOwn(const QUrl& url);

    /// Where the desktop is to open a web address a link named.
    [[nodiscard]] static bool opensOutside(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    QUrl own_;
};

}  // namespace velmora::vorschau
