// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A GIF without its comments and foreign application blocks (XMP among
// them), every frame and the loop kept. Exiv2 reads GIF but cannot write it.
#pragma once

#include <string>
#include <string_view>

namespace velmora::pictures {

/// What a GIF tells beyond its frames: the XMP packet of its XMP block
/// (empty without one) and whether it carries a comment.
struct GifMetadata {
    std::string xmp;
    bool comment = false;
};
[[nodiscard]] GifMetadata gifMetadata(std::string_view gif);

/// The GIF `gif` with its blocks walked and only those kept that draw it:
/// frames, their timing, the loop count and the colour profile. Throws
/// Failure when the blocks do not add up.
[[nodiscard]] std::string gifWithoutMetadata(std::string_view gif);

}  // namespace velmora::pictures
