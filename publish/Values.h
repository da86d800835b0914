// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The plain values that cross the module's door (plugin/PublishPlugin.h):
// where a page goes and how to log in, the files it takes, what a running
// publish reports, and how each call ended. No transfer library's types and
// no exceptions, so that the dialog, its worker thread and the module all
// carry them. Of publish/, the program includes this header alone.
//
// plugin::kPluginVersion covers this header as well as PublishPlugin.h:
// raise it with every change here.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

/// Where a page goes: the user's web space and how to log in to it. Every
/// path in here is absolute: a publish never reads the working directory,
/// which opening another page changes.
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
    /// UnknownHostKey::key() gave it (plugin::Outcome::key beyond the door).
    /// Trusted when the server shows exactly this key, and then added to
    /// knownHostsFile.
    std::string acceptedHostKey;
    /// TLS: a file of authorities trusted besides the system's. For tests;
    /// the dialog never sets it.
    std::string extraAuthority;
};

/// One file to put on the server.
struct LocalFile {
    /// Below the page's folder, '/'-separated, as it goes below the server
    /// folder: "bild.jpg", "bilder/urlaub.jpg".
    std::string relativePath;
    /// Absolute.
    std::string localPath;
    /// Named by a page as a picture (src, background), not only linked.
    bool picture = false;
};

/// What a running publish reports, and how the user stops it.
struct Progress {
    /// Bytes of file contents sent so far, of all that this publish sends;
    /// called often while a file goes up, and last with done == total.
    std::function<void(std::uint64_t done, std::uint64_t total)> bytes;
    /// The file now going up, by its relative path.
    std::function<void(const std::string& relativePath)> file;
    /// Set from any thread ("Abbrechen"): the publish stops within a second
    /// and throws Cancelled, every file on the server old or new.
    std::atomic<bool> cancel{false};
};

/// What a publish did.
struct Published {
    /// The relative paths of the files sent, in the order they went live.
    std::vector<std::string> sent;
    /// Bytes of file contents sent.
    std::uint64_t bytes = 0;
    /// How many old files had to be deleted before the new one could be
    /// renamed into place: SFTP through libcurl always (OpenSSH refuses a plain
    /// rename onto an existing file), FTP only where the server refuses to
    /// rename over a file. In between, the complete new file waits under its
    /// temporary name. Every other replacement was one atomic rename.
    std::size_t deletedFirst = 0;
};

}  // namespace velmora::publish

// The module's answers: every failure comes back as one of these, with the
// message the publish library gave it.
namespace velmora::plugin {

/// How a connection check or a publish ended.
struct Outcome {
    enum class Kind {
        Done,
        Failed,          // `message` says why, as the publish library words it
        UnknownHostKey,  // ask about `keyType` and `fingerprint`, then again with `key`
        Cancelled,
    };
    Kind kind = Kind::Done;
    std::string message;
    std::string keyType;
    std::string fingerprint;
    std::string key;
    publish::Published published;  // a publish that is Done
};

/// The files a page takes to the server, or why they cannot be known.
struct FilesOutcome {
    std::vector<publish::LocalFile> files;  // in upload order, the page last
    /// What cannot arrive, each as the dialog shows it: "bild.jpg fehlt".
    std::vector<std::string> problems;
    std::string error;  // empty: the page was read
};

/// The end of a keyring job.
struct KeyringReply {
    enum class Kind { Done, NotFound, Failed };
    Kind kind = Kind::Done;
    std::string password;  // a read that is Done
    std::string error;     // Failed: the keyring's own words
};

/// How a keyring job reports its end.
using KeyringDone = std::function<void(const KeyringReply&)>;

}  // namespace velmora::plugin
