// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The private key a user gives for an SFTP login, read only as far as the
// dialog needs it before a login: to know whether to ask for a passphrase.
#pragma once

#include <string>

namespace velmora::publish {

/// Whether the private key in the file at `path` is kept under a passphrase:
/// OpenSSH's own format names a cipher other than "none", PEM says
/// "ENCRYPTED". A file that cannot be read is left to the login, which names
/// the problem: false.
[[nodiscard]] bool keyNeedsPassphrase(const std::string& path);

}  // namespace velmora::publish
