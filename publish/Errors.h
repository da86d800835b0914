// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How the publish library fails: every failure is a velmora::Failure whose
// message starts with one of these and goes on with what the server said.
// None holds the password. Inside the module only: the program meets these
// as the messages and kinds of plugin::Outcome.
#pragma once

#include <string>

#include "settings/Failure.h"

namespace velmora::publish {

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

}  // namespace velmora::publish
