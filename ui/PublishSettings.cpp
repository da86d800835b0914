// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PublishSettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "ui/Protocols.h"

namespace velmora::ui {
namespace {

using publish::Protocol;

// ~/.config/velmora/publishing.conf, whatever the program file is called.
QSettings configuration() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("velmora"),
                     QStringLiteral("publishing"));
}

QString protocolKey(Protocol p) { return QString::fromLatin1(kProtocols[protocolRow(p)].key); }

// The page's real path below one group: "/home/anna/www/index.html" is
// written as "home\anna\www\index.html\…" in the section [Seiten].
QString groupOf(const QString& realPath) { return QStringLiteral("Seiten/") + realPath; }

QString dataFile(const char* name) {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("velmora/") + QString::fromLatin1(name));
}

}  // namespace

std::optional<ServerSettings> loadServerSettings(const QString& realPath) {
    QSettings file = configuration();
    file.beginGroup(groupOf(realPath));
    if (!file.contains(QStringLiteral("Server"))) return std::nullopt;
    ServerSettings s;
    const QString protocol = file.value(QStringLiteral("Verbindung")).toString();
    for (const ProtocolNames& names : kProtocols) {
        if (protocol == QLatin1String(names.key)) s.protocol = names.protocol;
    }
    s.host = file.value(QStringLiteral("Server")).toString();
    s.port = file.value(QStringLiteral("Port"), publish::defaultPort(s.protocol)).toInt();
    if (s.port < 1 || s.port > 65535) s.port = publish::defaultPort(s.protocol);
    s.portChosen = s.port != publish::defaultPort(s.protocol);
    s.user = file.value(QStringLiteral("Benutzer")).toString();
    s.rememberPassword = file.value(QStringLiteral("PasswortMerken")).toBool();
    s.keyFile = file.value(QStringLiteral("Schluesseldatei")).toString();
    s.folder = file.value(QStringLiteral("Ordner")).toString();
    s.webAddress = file.value(QStringLiteral("Adresse")).toString();
    return s;
}

void saveServerSettings(const QString& realPath, const ServerSettings& s) {
    QSettings file = configuration();
    file.beginGroup(groupOf(realPath));
    file.setValue(QStringLiteral("Verbindung"), protocolKey(s.protocol));
    file.setValue(QStringLiteral("Server"), s.host);
    file.setValue(QStringLiteral("Port"), s.port);
    file.setValue(QStringLiteral("Benutzer"), s.user);
    file.setValue(QStringLiteral("PasswortMerken"), s.rememberPassword);
    file.setValue(QStringLiteral("Schluesseldatei"), s.keyFile);
    file.setValue(QStringLiteral("Ordner"), s.folder);
    file.setValue(QStringLiteral("Adresse"), s.webAddress);
}

QString keyringKey(const ServerSettings& s) {
    return QStringLiteral("%1://%2@%3:%4")
        .arg(protocolKey(s.protocol), s.user, s.host.toLower(), QString::number(s.port));
}

QString absoluteKeyFile(const QString& typed) {
    QString name = typed.trimmed();
    if (name.isEmpty()) return name;
    if (name == QLatin1String("~") || name.startsWith(QLatin1String("~/"))) name = name.mid(2);
    return QDir::cleanPath(QDir::home().absoluteFilePath(name));
}

QString recordFile() { return dataFile("published"); }

QString knownHostsFile() { return dataFile("known_hosts"); }

QString userKnownHostsFile() { return QDir::home().filePath(QStringLiteral(".ssh/known_hosts")); }

}  // namespace velmora::ui
