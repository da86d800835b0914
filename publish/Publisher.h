// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Putting a page on the user's web space, safely: every file goes up under a
// temporary name beside its place, its size on the server is checked, and
// only then is it renamed over the old one, the page last. A break at any
// moment leaves every file on the server old or new, never cut; the next
// publish finishes the job.
//
//   files ──publish──▶ list folders ─▶ send what changed (NAME.velmora-tmp-ID)
//         ─▶ check sizes ─▶ rename in order, page last ─▶ remove leftovers ─▶ record
//
// Runs on the caller's thread and blocks; the dialog runs it on a worker
// thread. The progress callbacks are called on that thread. Each call makes
// one connection and never a second: where the line breaks, it fails. A
// guard thread of its own ends any wait when the user cancels or nothing
// moves for 30 s (20 s to connect). No call reads or changes the working
// directory.
//
// SFTP replaces a file by deleting the old one and renaming the new one
// (libcurl sends OpenSSH's plain rename, which refuses an existing file, on
// Debian 12 and 13 alike); FTP renames over it in one step where the server
// allows that (vsftpd does), else deletes first too.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "publish/Connection.h"
#include "publish/PageFiles.h"
#include "publish/Record.h"
#include "settings/Failure.h"

namespace velmora::publish {

/// Sets up the transfer library (curl_global_init): once, before a second
/// thread publishes; publish and checkConnection call it too. The plugin
/// calls it when it is loaded.
void initializeTransfers();
/// Releases what initializeTransfers set up (curl_global_cleanup): once, at
/// the program's end, when no publish runs any more. Nothing publishes after.
void finishTransfers();

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

/// Every failure is a velmora::Failure whose message starts with one of
/// these and goes on with what the server said. None holds the password.
inline constexpr const char* kHostNotFound = "Server nicht gefunden";
inline constexpr const char* kConnectionRefused = "Verbindung abgelehnt";
inline constexpr const char* kTimeout = "Zeitüberschreitung";
inline constexpr const char* kLoginRefused = "Anmeldung abgelehnt: Benutzer oder Passwort falsch";
inline constexpr const char* kUntrustedCertificate =
    "Das Zertifikat des Servers ist nicht vertrauenswürdig";
inline constexpr const char* kHostKeyChanged = "Der Schlüssel des Servers hat sich geändert";
inline constexpr const char* kNoWritePermission = "Keine Schreibrechte im Ordner";
inline constexpr const char* kServerFull = "Der Server ist voll";
/// Anything else: this, then the server's own text.
inline constexpr const char* kTransferFailed = "Die Übertragung ist fehlgeschlagen";

/// The SFTP server showed a host key that neither known-hosts file holds for
/// it (a key of another type than a known one counts as unknown). Nothing was
/// sent, not even the password. The caller asks "Dem Server vertrauen?" with
/// the fingerprint and, on yes, connects again with
/// Connection::acceptedHostKey set to key().
class UnknownHostKey : public Failure {
public:
    UnknownHostKey(std::string keyType, std::string fingerprint, std::string key);
    /// As the key names itself: "ssh-ed25519", "ecdsa-sha2-nistp256", "ssh-rsa".
    [[nodiscard]] const std::string& keyType() const noexcept { return keyType_; }
    /// As `ssh-keygen -l -E sha256` prints it: "SHA256:" and the unpadded
    /// base64 of the SHA-256 of the key.
    [[nodiscard]] const std::string& fingerprint() const noexcept { return fingerprint_; }
    /// The key itself, base64 as in a known-hosts line.
    [[nodiscard]] const std::string& key() const noexcept { return key_; }

private:
    std::string keyType_;
    std::string fingerprint_;
    std::string key_;
};

/// The user stopped the publish ("Abbrechen").
class Cancelled : public Failure {
public:
    Cancelled();
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

/// "Verbindung prüfen": logs in, creates or opens the folder, writes a probe
/// file, writes a second one under a temporary name, renames that over the
/// first, checks sizes as a publish does, and deletes what it wrote. Passes
/// only where a publish would.
void checkConnection(const Connection& connection, Progress& progress);

/// Puts `files` (pageFiles' order: the page last) below the connection's
/// folder, each at its relative path, with the folders made as needed. Sends
/// a file whose content differs from what `record` says was last put there,
/// whose size on the server differs, or that the server lacks; with
/// `sendEverything` ("Alles neu hochladen") every file. Removes temporary
/// files that an earlier break left in the folders it lists; deletes nothing
/// else but the old files it replaces. Returns only when every file is in
/// place. `record` takes each file as it goes live and is saved before
/// publish returns or throws. One connection serves the whole publish.
Published publish(const Connection& connection, const std::vector<LocalFile>& files, Record& record,
                  bool sendEverything, Progress& progress);

}  // namespace velmora::publish
