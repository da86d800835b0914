// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A picture's format from its first bytes, and the extension a copy in it
// gets. A file's name may lie (a HEIC saved as .jpg); its signature does not.
#pragma once

#include <string>
#include <string_view>

#include "pictures/Values.h"

namespace velmora::pictures {

/// The format whose signature `head` (the file's first bytes, 64 suffice)
/// starts with; Other when none.
[[nodiscard]] Format formatOf(std::string_view head) noexcept;

/// The format of the file at `path`; Other when it cannot be read.
[[nodiscard]] Format formatOfFile(const std::string& path);

/// "jpg", "png", "gif", "webp", "heic", "tif", "svg", "ico", "bmp".
[[nodiscard]] const char* extensionOf(Format f) noexcept;

/// Whether the format can hold more than one frame.
[[nodiscard]] constexpr bool mayAnimate(Format f) noexcept {
    return f == Format::Gif || f == Format::WebP || f == Format::Png;
}

}  // namespace velmora::pictures
