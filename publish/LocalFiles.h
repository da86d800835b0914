// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The small files publishing keeps on this computer (the record, Velmora's
// known hosts): read whole, and replaced in one step so that a crash leaves
// the old one or the new one.
#pragma once

#include <string>
#include <string_view>

namespace velmora::publish {

/// Writes `text` to a temporary file beside `path`, flushes it to disk and
/// renames it over `path`, making the missing folders first (0700). Returns 0
/// or the errno of what failed; nothing is left behind on failure.
[[nodiscard]] int replaceFile(const std::string& path, std::string_view text);

/// The contents of the file at `path`; `error` receives 0, or the errno
/// (ENOENT for a missing file).
[[nodiscard]] std::string readFile(const std::string& path, int& error);

}  // namespace velmora::publish
