// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The name under which a chosen file goes into the page: the page is written
// into the working directory and names its pictures relative to it.
#pragma once

#include <string>

namespace velmora {

/// The absolute `file` named from the absolute `folder`, with "/" between
/// its parts: "bild.png" beside, "bilder/bild.png" below, "../aussen/bild.png"
/// outside. The folders on both sides count by their real place, so a file
/// reached through a linked folder gets the same name as by its own path; the
/// file keeps its own name even when it is itself a link. Parts that do not
/// exist are taken as written.
[[nodiscard]] std::string relativeName(const std::string& file, const std::string& folder);

}  // namespace velmora
