// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the publishing tests put on their servers: a page Velmora wrote with
// pictures beside it and in folders below, and the servers' side as a map of
// names to contents.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "publish/PageFiles.h"
#include "publish/Values.h"

namespace velmora::publish::testing {

namespace fs = std::filesystem;

/// Relative path to contents.
using Files = std::map<std::string, std::string>;

/// `size` bytes that differ for every `seed`.
[[nodiscard]] std::string randomBytes(std::size_t size, std::uint32_t seed);

/// Every regular file below `dir`, by its path relative to it.
[[nodiscard]] Files filesBelow(const fs::path& dir);

/// Writes `files` below `dir`, making folders.
void writeFiles(const fs::path& dir, const Files& files);

/// "" when `actual` holds exactly `expected`, else what differs, by name and
/// size (the contents are too long to print).
[[nodiscard]] std::string differences(const Files& expected, const Files& actual);

/// Whether `name` is a temporary file of a publish.
[[nodiscard]] bool isTemporary(const std::string& name);

/// The files of `server` that are no temporary files.
[[nodiscard]] Files withoutTemporaries(const Files& server);

/// A page of about 25 KB with three pictures: one beside it, one in a folder
/// below (its name with a blank and an umlaut, `pictureBytes` long) and one
/// two folders down. `version` changes the page's text and the pictures'
/// contents, at the same sizes.
[[nodiscard]] Files siteFiles(int version, std::size_t pictureBytes = 300'000);

/// The files the page "index.html" in `dir` takes to the server.
[[nodiscard]] std::vector<LocalFile> filesOf(const fs::path& dir);

/// Whether every file on `server` is as in `before` or as in `after`, or, when
/// absent though `before` had it, waits complete under a temporary name;
/// a description of the first one that is not.
[[nodiscard]] std::string oldOrNew(const Files& before, const Files& after, const Files& server);

}  // namespace velmora::publish::testing
