// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Plan.h"

#include <algorithm>
#include <cmath>

namespace velmora::pictures {
namespace {

// About what a photo takes as JPEG at quality 85: 1.8 bits a pixel.
constexpr double kJpegBytesPerPixel = 0.22;

std::uint64_t estimate(const Facts& f, const Plan& p) {
    if (!p.overBound && p.format == f.format) return f.bytes;  // its metadata stripped
    const double pixels = static_cast<double>(p.width) * p.height;
    const double share = pixels / (static_cast<double>(f.width) * f.height);
    const auto original = static_cast<double>(f.bytes);
    double bytes = 0;
    if (p.format == Format::Jpeg) {
        bytes = pixels * kJpegBytesPerPixel;
        if (f.format == Format::Jpeg) bytes = std::min(bytes, original);
    } else if (f.format == Format::Bmp) {
        bytes = pixels * 1.5;  // PNG of a photo: half its raw bytes
    } else {
        // the same way of coding: bytes shrink with the pixels, a little less
        bytes = std::min(original, original * share * 1.3);
    }
    return static_cast<std::uint64_t>(std::llround(bytes));
}

}  // namespace

Size fitted(Size size, Bound bound) noexcept {
    if (size.width <= 0 || size.height <= 0) return size;
    double scale = 1;
    if (bound.longerSide > 0) {
        scale = static_cast<double>(bound.longerSide) / std::max(size.width, size.height);
    } else if (bound.area > 0) {
        scale = std::sqrt(static_cast<double>(bound.area) /
                          (static_cast<double>(size.width) * size.height));
    }
    if (scale >= 1) return size;
    const auto side = [scale](int s) {
        return std::max(1, static_cast<int>(std::lround(s * scale)));
    };
    Size out{side(size.width), side(size.height)};
    // rounding may put an area one row over
    if (bound.area > 0 && static_cast<std::int64_t>(out.width) * out.height > bound.area) {
        out.height = std::max(1, out.height - 1);
    }
    return out;
}

Format copyFormat(Format format, bool overBound) noexcept {
    switch (format) {
        case Format::Heic:
        case Format::Tiff:
            return Format::Jpeg;
        case Format::Gif:
            return Format::Png;  // Qt writes no GIF
        case Format::Bmp:
            return overBound ? Format::Png : Format::Bmp;
        default:
            return format;
    }
}

Plan planCopy(const Facts& facts, Place place) noexcept {
    Plan p;
    if (!facts.readable || facts.format == Format::Svg || facts.format == Format::Ico ||
        facts.format == Format::Other) {
        return p;
    }
    const Size size{facts.width, facts.height};
    const Size bounded = fitted(size, boundOf(place));
    p.overBound = bounded != size;
    p.position = facts.position;
    p.unshownFormat = !browsersShow(facts.format);
    if (facts.animated) {
        // re-encoded it would stand still: only its metadata can go
        p.animatedTooBig = p.overBound;
        p.wanted = p.position;
        p.format = facts.format;
        p.width = facts.width;
        p.height = facts.height;
        p.estimatedBytes = facts.bytes;
        return p;
    }
    p.wanted = p.overBound || p.position || p.unshownFormat;
    p.format = copyFormat(facts.format, p.overBound);
    p.width = bounded.width;
    p.height = bounded.height;
    p.estimatedBytes = estimate(facts, p);
    return p;
}

}  // namespace velmora::pictures
