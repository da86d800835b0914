// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/PreviewPage.h"

#include <QDesktopServices>

#include "preview/PageSource.h"

namespace velmora::vorschau {
namespace {

// A link with target=_blank asks for a window: this one takes the address it
// would have shown and is gone.
class Catcher : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (PreviewPage::opensOutside(url)) QDesktopServices::openUrl(url);
        deleteLater();
        return false;
    }
};

}  // namespace

void PreviewPage::loadOwn(const QUrl& url) {
    own_ = url;
    load(url);
}

bool PreviewPage::opensOutside(const QUrl& url) {
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("mailto");
}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (isMainFrame && url == own_ && type != NavigationTypeLinkClicked &&
        type != NavigationTypeFormSubmitted) {
        own_ = QUrl();  // once: a refresh to itself is refused as well
        return true;
    }
    const bool clicked = type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted;
    // a frame of the page shows a file of its folder, as a browser would
    if (!isMainFrame && !clicked && url.scheme() == QLatin1String(kScheme)) return true;
    if (type == NavigationTypeLinkClicked && opensOutside(url)) QDesktopServices::openUrl(url);
    return false;
}

QWebEnginePage* PreviewPage::createWindow(WebWindowType) { return new Catcher(profile(), this); }

}  // namespace velmora::vorschau
