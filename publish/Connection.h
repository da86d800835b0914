// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where a page goes: the user's web space and how to log in to it. Plain
// values, so that the dialog, the worker thread and the plugin boundary carry
// them without any transfer library's types.
#pragma once

#include <string>

namespace velmora::publish {

enum class Protocol {
    Sftp,    // "SFTP"
    FtpTls,  // "FTP mit TLS": explicit TLS on control and data connections
    Ftp,     // "FTP ohne Verschlüsselung": only when the user chose it
};

/// The port a protocol's server listens on unless told otherwise: 22 or 21.
[[nodiscard]] constexpr int defaultPort(Protocol p) noexcept {
    return p == Protocol::Sftp ? 22 : 21;
}

/// Every path in here is absolute: a publish never reads the working
/// directory, which opening another page changes.
struct Connection {
    Protocol protocol = Protocol::Sftp;
    std::string host;
    int port = 22;
    std::string user;
    /// Never written to any file, log or message.
    std::string password;
    /// SFTP only, optional: the private key to log in with. Without it only
    /// the password is offered, and no key is looked for anywhere else.
    std::string keyFile;
    std::string keyPassphrase;
    /// The folder on the server, relative to the folder the login lands in
    /// unless it starts with "/". Empty: the login folder itself.
    std::string folder;
    /// SFTP: Velmora's own known-hosts file. Read for the host's key, and the
    /// only file a key is ever written to: acceptedHostKey, when the server
    /// shows it.
    std::string knownHostsFile;
    /// SFTP: the user's ~/.ssh/known_hosts. Read, never written; a key it
    /// holds for the host (hashed host names included) is trusted.
    std::string userKnownHostsFile;
    /// SFTP: a host key the user agreed to trust after UnknownHostKey, as
    /// UnknownHostKey::key() gave it. Trusted when the server shows exactly
    /// this key, and then added to knownHostsFile.
    std::string acceptedHostKey;
    /// TLS: a file of authorities trusted besides the system's. For tests;
    /// the dialog never sets it.
    std::string extraAuthority;
};

}  // namespace velmora::publish
