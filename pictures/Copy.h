// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The copy of a picture fit for its place, in bilder/ below the page's
// folder. The original is only read.
#pragma once

#include <atomic>
#include <string>

#include "pictures/Values.h"

namespace velmora::pictures {

/// The copy of `file` that `place` wants, in PAGEFOLDER/bilder/, named after
/// `file` with its format's extension and never replacing a file. Its pixels
/// are encoded anew where its size or format must change, and kept with
/// only the metadata stripped where that is all, or where a new encoding
/// would have more bytes than the original. Blocks; `cancel` stops it
/// between its steps, leaving nothing behind. Never throws.
[[nodiscard]] Made makeCopy(const std::string& file, const std::string& pageFolder, Place place,
                            const std::atomic<bool>& cancel) noexcept;

}  // namespace velmora::pictures
