// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the preview's engine may load: the page it is given and the files of
// the page's folder and below, under the scheme "vorschau:". Every other
// request is refused before it leaves the process, whatever names it: a
// picture, a background, a style sheet, a frame, a form, a refresh.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>

namespace velmora::vorschau {

inline constexpr char kScheme[] = "vorschau";

/// Registers the scheme; before the application object exists.
void registerScheme();

/// Serves the page at vorschau://HOST/ and the folder's files below it.
class PageSource : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void setPage(const QByteArray& bytes) { page_ = bytes; }
    void setFolder(const QString& folder) { folder_ = folder; }
    [[nodiscard]] const QByteArray& page() const { return page_; }
    [[nodiscard]] const QString& folder() const { return folder_; }
    void requestStarted(QWebEngineUrlRequestJob* job) override;

    /// The file `url` names, if it lies in the page's folder or below.
    [[nodiscard]] QString fileOf(const QUrl& url) const;

private:
    QByteArray page_;
    QString folder_;
};

/// Lets through only requests of the scheme "vorschau".
class Gate : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

/// Whether the page names a picture or background by a web address, which
/// the engine refuses before any request is made, so the window says so.
[[nodiscard]] bool namesRemotePictures(const QByteArray& page);

}  // namespace velmora::vorschau
