// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The private key a user gives for SFTP.
#pragma once

#include <QString>

namespace velmora::ui {

/// A key file as typed, made absolute: "~/" is the home folder, and so is
/// the folder a relative name starts from, never the working directory.
[[nodiscard]] QString absoluteKeyFile(const QString& typed);

/// Whether the private key in `file` is kept under a passphrase. A file
/// that cannot be read is left to the login, which names the problem.
[[nodiscard]] bool keyNeedsPassphrase(const QString& file);

}  // namespace velmora::ui
