// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop's keyring through QtKeychain: the Secret Service (GNOME and
// others) or KWallet. Passwords go there and nowhere else; QtKeychain's
// fallback to a plain file stays off.
#pragma once

#include <string>

#include "publish/Values.h"

namespace velmora::plugin {

class Keyring {
public:
    /// Whether a keyring answers on the session bus, or would be started.
    [[nodiscard]] bool available() const noexcept;

    void read(const std::string& key, KeyringDone done) const noexcept;
    void write(const std::string& key, const std::string& password,
               KeyringDone done) const noexcept;
    void remove(const std::string& key, KeyringDone done) const noexcept;
};

}  // namespace velmora::plugin
