// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// The bytes of the output file: every line in plain ASCII (appendAsAscii),
/// each followed by CR LF, the last one included. Plain ASCII reads the same
/// under any charset that a web server may name for the page.
[[nodiscard]] std::string composeFileBytes(const std::vector<std::string>& lines);

/// Replaces the file `name` in the absolute `folder` by `bytes`; `name` may
/// lead into a folder below or above it, and an absolute `name` stands for
/// itself. Reads no working directory.
/// The old file stays untouched until every byte is written and flushed,
/// except where the folder takes no new file but the page may be written:
/// then the page is rewritten in place.
/// Throws Failure "Cannot create file <name>" or "Stream write error", the
/// name as given.
/// A write past the process's file size limit is reported as that error only
/// where SIGXFSZ is ignored, as the program does from its start; otherwise
/// the system ends the process.
void writeOutputFile(const std::string& folder, const std::string& name, std::string_view bytes);

}  // namespace velmora
