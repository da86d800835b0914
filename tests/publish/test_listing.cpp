// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Folder listings as vsftpd's LIST and OpenSSH's SFTP server write them, with
// the names and owners that a reader of the columns can mistake.
#include <gtest/gtest.h>

#include <string>

#include "publish/Listing.h"

namespace velmora::publish {
namespace {

struct Row {
    std::string name;
    std::uint64_t size;
    bool folder;
    bool link;
};

TEST(Listing, ReadsEveryShape) {
    const Listing listing = parseListing(
        "total 12\r\n"
        "drwxr-xr-x    2 0        0            4096 Jan 01 12:00 .\r\n"
        "drwxr-xr-x    3 0        0            4096 Jan 01 12:00 ..\r\n"
        "-rw-r--r--    1 0        0            1234 Jan 01 12:00 index.html\r\n"
        "-rw-r--r--    1 0        0               0 Dec 31  2023 leer.txt\r\n"
        "drwxr-xr-x    2 0        0            4096 Feb 02 08:15 Ordner mit Leerzeichen\r\n"
        "-rw-r--r--    1 0        0               3 Jan 01 12:00   zwei vorne.jpg\r\n"
        "-rw-r--r--    1 nobody   nogroup    300000 Mar  5 09:41 Sch\xC3\xB6ne Aussicht.jpg\n"
        "lrwxrwxrwx    1 nobody   nogroup        12 Mar  5 09:41 bilder -> echte-bilder\n"
        "-rw-r--r--    1 nobody   nogroup         5 Mar  5 09:41 x -> y.jpg\n"
        "-rw-r--r--    1 May      Jun            77 Jan  1 12:00 Jan 1 12:00 monat.jpg\n"
        "-rw-r--r--    1 owner    55 Feb 29  2024 ohne Gruppe.txt\n");
    const std::vector<Row> expected = {
        {"  zwei vorne.jpg", 3, false, false},
        {"Jan 1 12:00 monat.jpg", 77, false, false},
        {"Ordner mit Leerzeichen", 4096, true, false},
        {"Sch\xC3\xB6ne Aussicht.jpg", 300000, false, false},
        {"bilder", 12, false, true},
        {"index.html", 1234, false, false},
        {"leer.txt", 0, false, false},
        {"ohne Gruppe.txt", 55, false, false},
        {"x -> y.jpg", 5, false, false},
    };
    ASSERT_EQ(listing.size(), expected.size());
    auto entry = listing.begin();
    for (const Row& row : expected) {
        EXPECT_EQ(entry->first, row.name);
        EXPECT_EQ(entry->second.size, row.size) << row.name;
        EXPECT_EQ(entry->second.folder, row.folder) << row.name;
        EXPECT_EQ(entry->second.link, row.link) << row.name;
        ++entry;
    }
}

}  // namespace
}  // namespace velmora::publish
