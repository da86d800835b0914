// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The protocols a page goes up by, each with its name in the configuration
// and the name the choice "Verbindung" shows, in that choice's order.
#pragma once

#include <array>
#include <cstddef>

#include "publish/Values.h"

namespace velmora::ui {

struct ProtocolNames {
    publish::Protocol protocol;
    /// In publishing.conf and in the names of passwords in the keyring.
    const char* key;
    /// UTF-8.
    const char* shown;
};

inline constexpr std::array<ProtocolNames, 3> kProtocols{{
    {publish::Protocol::Sftp, "sftp", "SFTP"},
    {publish::Protocol::FtpTls, "ftp-tls", "FTP mit TLS"},
    {publish::Protocol::Ftp, "ftp", "FTP ohne Verschl\u00FCsselung"},
}};

/// The row of `p` in kProtocols, which is its place in the choice.
[[nodiscard]] constexpr std::size_t protocolRow(publish::Protocol p) noexcept {
    for (std::size_t i = 0; i < kProtocols.size(); ++i) {
        if (kProtocols[i].protocol == p) return i;
    }
    return 0;
}

}  // namespace velmora::ui
