// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A server folder's listing as libcurl hands it over: FTP's LIST text
// (vsftpd has no MLSD) and the long-format lines of SFTP, both as `ls -l`
// writes them. Only the publish uses this; it is apart so that the parser
// can be read and tested on its own.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace velmora::publish {

struct Entry {
    std::uint64_t size = 0;
    bool folder = false;
    bool link = false;  // to a file or to a folder: the line does not say
};

/// By name.
using Listing = std::map<std::string, Entry>;

/// The entries of `text`, "." and ".." left out. A line reads
/// "-rw-r--r-- 1 user group 1234 Jan 1 12:00 name", with the year for the
/// time where the file is old, and with or without the group. The name is
/// all after the blank that ends the date, blanks in front of it included;
/// a link's " -> target" goes. Lines of another shape ("total 12") are
/// passed over.
[[nodiscard]] Listing parseListing(std::string_view text);

}  // namespace velmora::publish
