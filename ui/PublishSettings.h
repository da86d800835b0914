// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What publishing keeps between runs, and where: the server settings per
// page in the user's configuration (never the password, which only the
// keyring holds), and under the user's data folder the record of what was
// sent and Velmora's own known-hosts file.
//
//   ~/.config/velmora/publishing.conf        server, port, user, folder … per page
//   ~/.local/share/velmora/published         what went where, with SHA-256
//   ~/.local/share/velmora/known_hosts       host keys the user accepted
//   ~/.ssh/known_hosts                       read, never written
#pragma once

#include <QString>
#include <optional>

#include "publish/Values.h"

namespace velmora::ui {

/// Everything of a publish but the password.
struct ServerSettings {
    publish::Protocol protocol = publish::Protocol::Sftp;
    QString host;
    int port = publish::defaultPort(publish::Protocol::Sftp);
    /// The user typed the port; it no longer follows the protocol.
    bool portChosen = false;
    QString user;
    bool rememberPassword = false;
    QString keyFile;
    QString folder;
    QString webAddress;

    friend bool operator==(const ServerSettings&, const ServerSettings&) = default;
};

/// The settings of the last publish of the page at `realPath`, if any.
[[nodiscard]] std::optional<ServerSettings> loadServerSettings(const QString& realPath);
void saveServerSettings(const QString& realPath, const ServerSettings& settings);

/// The name of a password in the keyring: one per protocol, user, server
/// and port, so that the pages on one web space share it.
[[nodiscard]] QString keyringKey(const ServerSettings& settings);

/// A key file as typed, made absolute: "~/" is the home folder, and so is
/// the folder a relative name starts from, never the working directory.
[[nodiscard]] QString absoluteKeyFile(const QString& typed);

/// The absolute paths of the record and of Velmora's known-hosts file.
[[nodiscard]] QString recordFile();
[[nodiscard]] QString knownHostsFile();
/// The user's own ~/.ssh/known_hosts.
[[nodiscard]] QString userKnownHostsFile();

}  // namespace velmora::ui
