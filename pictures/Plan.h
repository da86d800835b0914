// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a place in the page wants of a picture: whether a copy, and which.
#pragma once

#include "pictures/Values.h"

namespace velmora::pictures {

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

/// `size` made to fit `bound`, its sides in proportion and never larger.
[[nodiscard]] Size fitted(Size size, Bound bound) noexcept;

/// The format a copy of a `format` picture is written in when its pixels
/// are encoded anew.
[[nodiscard]] Format copyFormat(Format format, bool overBound) noexcept;

/// Whether `place` wants a copy of a picture with these `facts`, and which.
/// A picture within its bound, without a position and in a format browsers
/// show is taken as it is; SVG and ICO have no pixel bound.
[[nodiscard]] Plan planCopy(const Facts& facts, Place place) noexcept;

}  // namespace velmora::pictures
