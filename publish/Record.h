// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What Velmora last put where: per server and folder, each file's size and
// SHA-256. A file is sent again when its content differs from what was put
// there, so a picture changed at the same size goes up too.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "publish/Values.h"

namespace velmora::publish {

struct SentFile {
    std::uint64_t size = 0;
    std::string sha256;  // 64 lower-case hex digits

    friend bool operator==(const SentFile&, const SentFile&) = default;
};

/// Kept in a plain text file of its own, never in the page's settings. Holds
/// no password.
class Record {
public:
    /// An empty record that saves to the absolute `path`.
    explicit Record(std::string path);

    /// The record saved at the absolute `path`; an empty one when there is
    /// none yet. Lines it cannot read are left out (their files are sent
    /// again). A file that exists but cannot be read throws Failure.
    [[nodiscard]] static Record load(const std::string& path);

    /// Writes the record atomically (a temporary file beside it, then a
    /// rename), making its folder when needed. Throws Failure
    /// "Die Liste der hochgeladenen Dateien kann nicht gespeichert werden:
    /// <path>: <reason>".
    void save() const;

    /// The key of a server folder: protocol, user, host, port and folder.
    [[nodiscard]] static std::string place(const Connection& c);

    /// What was last put at `relativePath` below `place`, or nullptr.
    [[nodiscard]] const SentFile* find(const std::string& place,
                                       const std::string& relativePath) const;
    void put(const std::string& place, const std::string& relativePath, SentFile sent);

    [[nodiscard]] const std::string& path() const noexcept { return path_; }

private:
    std::string path_;
    std::map<std::string, std::map<std::string, SentFile>> places_;
};

/// The SHA-256 of the file at the absolute `path`, read in pieces, as 64
/// lower-case hex digits; `size` receives its length. Throws Failure
/// "<path> kann nicht gelesen werden: <reason>".
[[nodiscard]] std::string fileSha256(const std::string& path, std::uint64_t& size);

}  // namespace velmora::publish
