// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A picture's pixels as a viewer sees them, made to fit a place: turned as
// its EXIF orientation says, reduced with a filter that averages (a JPEG
// already while it is decoded), in sRGB.
#pragma once

#include <QImage>
#include <string>

#include "pictures/Plan.h"
#include "pictures/Values.h"

namespace velmora::pictures {

/// The stored picture turned as EXIF `orientation` (1 to 8) says.
[[nodiscard]] QImage turned(const QImage& stored, int orientation);

/// The largest power-of-two fraction (1, 1/2, 1/4, 1/8) that libjpeg can
/// decode `stored` at while keeping at least `wanted`, as its denominator.
[[nodiscard]] int jpegReduction(Size stored, Size wanted) noexcept;

/// The pixels of the `format` picture at `path`, shown as `orientation`
/// says, reduced to `size` (as shown) and converted to sRGB. Throws
/// Failure naming the picture when it cannot be read or is too large.
[[nodiscard]] QImage viewedPixels(const std::string& path, Format format, int orientation,
                                  Size size);

}  // namespace velmora::pictures
