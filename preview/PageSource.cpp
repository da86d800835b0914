// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/PageSource.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace velmora::vorschau {

void registerScheme() {
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // local: no page of another scheme may load from it
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QString PageSource::fileOf(const QUrl& url) const {
    if (folder_.isEmpty()) return {};
    const QString root = QFileInfo(folder_).canonicalFilePath();
    const QString name = QDir::cleanPath(root + QLatin1Char('/') + url.path());
    // a link that leads out of the folder leads nowhere
    const QString file = QFileInfo(name).canonicalFilePath();
    if (root.isEmpty() || !file.startsWith(root + QLatin1Char('/'))) return {};
    return QFileInfo(file).isFile() ? file : QString();
}

void PageSource::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (url.path().isEmpty() || url.path() == QLatin1String("/")) {
        auto* bytes = new QBuffer(job);
        bytes->setData(page_);
        job->reply("text/html", bytes);
        return;
    }
    const QString name = fileOf(url);
    auto* file = new QFile(name, job);
    if (name.isEmpty() || !file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(QMimeDatabase().mimeTypeForFile(name).name().toLatin1(), file);
}

void Gate::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.requestUrl().scheme() == QLatin1String(kScheme)) return;
    info.block(true);
}

bool namesRemotePictures(const QByteArray& page) {
    static const QRegularExpression remote(
        QStringLiteral(R"((?:src|background)\s*=\s*["']?\s*https?:|url\(\s*["']?\s*https?:)"),
        QRegularExpression::CaseInsensitiveOption);
    return remote.match(QString::fromLatin1(page)).hasMatch();
}

}  // namespace velmora::vorschau
