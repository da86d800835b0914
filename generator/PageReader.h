// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a page back: the inverse of the generator, so that a page written
// last week can be opened and changed. The page itself is the document; the
// reader takes only what the generator writes and refuses everything else.
//
//   file ──readPageFile──▶ bytes ──readPage──▶ settings ──writePage──▶ the same bytes
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "generator/PageGenerator.h"
#include "settings/PageSettings.h"

namespace velmora {

/// The largest file taken as a page; a larger one is refused before it is
/// read whole.
inline constexpr std::size_t kMaxPageBytes = std::size_t{256} * 1024 * 1024;

/// A page read back: the settings that write it, and the lines they write.
struct ReadPage {
    PageSettings settings;
    CodeList lines;
};

/// The settings that write exactly `bytes`. Lines may end in CR LF or, all of
/// them, in LF alone; bytes from 0x80 up are read as Windows-1252. Every value
/// the page carries comes back; where a value holds the text that follows it
/// in its line, the first place that text appears ends the value, which
/// writes the same bytes. A value the page does not carry keeps its default.
/// Anything Velmora does not write throws Failure
/// "<name> ist keine Seite, die Velmora geschrieben hat (Zeile N)", N the
/// first line that differs from what Velmora would write there.
[[nodiscard]] ReadPage readPage(std::string_view bytes, const std::string& name);

/// The bytes of the file at `path`. A file of more than kMaxPageBytes is
/// refused as no page; one that cannot be read gives
/// "<name> kann nicht gelesen werden: <the system's reason>".
[[nodiscard]] std::string readPageFile(const std::string& path, const std::string& name);

}  // namespace velmora
