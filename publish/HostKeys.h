// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// SSH host keys as OpenSSH's known-hosts files hold them. Only the publish
// itself uses this; it is apart so that the files' rules can be read on
// their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::publish::hostkeys {

/// A key as the server sends it (the SSH wire form), taken apart.
struct Key {
    std::string type;         // "ssh-ed25519", as the key names itself
    std::string base64;       // as in a known-hosts line
    std::string fingerprint;  // "SHA256:" and the unpadded base64 of its SHA-256
};

/// The key in `blob`; an empty type when the blob names none.
[[nodiscard]] Key fromBlob(std::string_view blob);

/// How a known-hosts file names the host: "host", or "[host]:port" when the
/// port is not 22; lower case.
[[nodiscard]] std::string hostEntry(const std::string& host, int port);

enum class Verdict {
    Known,    // a file holds this key for the host
    Changed,  // a file holds another key of the same type for it, or revoked this one
    Unknown,  // no file holds a key of this type for the host
};

/// What the known-hosts files at `paths` (a missing one is empty) say about
/// `key` for the host named `entry`. Host names are matched as OpenSSH
/// matches them: lists, '*' and '?', '!' negation, and hashed names
/// ("|1|salt|hash"). "@cert-authority" lines are left out; "@revoked" ones
/// refuse their key.
[[nodiscard]] Verdict check(const std::vector<std::string>& paths, const std::string& entry,
                            const Key& key);

/// Adds a line for `key` to the known-hosts file at `path`, written anew
/// beside it and renamed over it, its folder made when needed. Returns an
/// error message, or an empty string.
[[nodiscard]] std::string add(const std::string& path, const std::string& entry, const Key& key);

}  // namespace velmora::publish::hostkeys
