// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The plain values that cross the pictures module's door
// (plugin/PicturesPlugin.h): what a picture file is, what its place in the
// page wants of it, and how making a copy for that place ended. No Qt, Exiv2
// or libheif types and no exceptions, so that the wizard, its worker thread,
// publishing and the module all carry them. Of pictures/, the program
// includes this header alone.
//
// plugin::kPicturesPluginVersion covers this header as well as
// PicturesPlugin.h: raise it with every change here.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::pictures {

/// What a file holds, by its contents, not by its name.
enum class Format { Jpeg, Png, Gif, WebP, Heic, Tiff, Svg, Ico, Bmp, Other };

/// What a browser shows: every format but HEIC/HEIF, TIFF and those unknown.
[[nodiscard]] constexpr bool browsersShow(Format f) noexcept {
    return f != Format::Heic && f != Format::Tiff && f != Format::Other;
}

/// The wizard's picture fields, by where the page shows them.
enum class Place {
    Background,      // Edit1, tiled behind the page
    Heading,         // Edit8, beside the heading
    Corner,          // Edit9, the corner cell
    LinkDots,        // Edit6, before each link
    LinkBackground,  // Edit7, tiled behind the links
    TextPicture,     // Edit13, in the text
    PictureRow,      // Edit10, each picture of the row
};

/// How large a picture may be in its place: a longer side for an <img>, an
/// area for a background, which tiles, so a 2000 × 20 strip may stay.
struct Bound {
    int longerSide = 0;     // pixels; 0: bounded by area
    std::int64_t area = 0;  // pixels; 0: bounded by the longer side
};

[[nodiscard]] constexpr Bound boundOf(Place p) noexcept {
    switch (p) {
        case Place::Background:
        case Place::LinkBackground:
            return {0, 4'000'000};
        case Place::Heading:
            return {800, 0};
        case Place::Corner:
            return {300, 0};
        case Place::LinkDots:
            return {48, 0};
        case Place::TextPicture:
            return {800, 0};
        case Place::PictureRow:
            return {1200, 0};
    }
    return {};
}

/// Pictures with more pixels than this are not read at all: decoded in full
/// they would take 4 bytes a pixel (480 MB here). Phones take 12 to 108
/// million.
inline constexpr std::int64_t kMaxPixels = 120'000'000;

/// What a picture file is, as far as its header and metadata tell.
struct Facts {
    bool readable = false;
    /// Why not, when not readable: "urlaub.jpg lässt sich nicht lesen."
    std::string problem;
    Format format = Format::Other;
    /// As a viewer shows it: after the EXIF orientation (HEIC: after its
    /// own rotation). 0 for SVG, which has no pixel size of its own.
    int width = 0;
    int height = 0;
    std::uint64_t bytes = 0;
    /// More than one frame: GIF, WebP, PNG (APNG).
    bool animated = false;
    /// EXIF or XMP holds where it was taken.
    bool position = false;
    /// EXIF, XMP or IPTC holds more than the orientation and the position:
    /// the camera, its serial number, a thumbnail, a date, a name.
    bool otherMetadata = false;
    /// A colour profile other than sRGB (an iPhone's Display P3).
    bool foreignProfile = false;
};

/// What a place wants done with a picture.
struct Plan {
    /// A copy is offered; otherwise the picture is taken as it is.
    bool wanted = false;
    /// Why a copy is wanted; more than one may hold.
    bool overBound = false;
    bool position = false;
    bool unshownFormat = false;  // HEIC/HEIF or TIFF
    /// Animated and over the bound: never re-encoded, so the copy keeps its
    /// size and only loses its metadata. Say it is too big where it is.
    bool animatedTooBig = false;
    /// The copy as planned: its format, pixel size and about its bytes.
    Format format = Format::Other;
    int width = 0;
    int height = 0;
    std::uint64_t estimatedBytes = 0;
};

/// How making a copy ended.
struct Made {
    enum class Kind { Done, Failed, Cancelled };
    Kind kind = Kind::Done;
    /// Done: the copy, relative to the page's folder, '/'-separated:
    /// "bilder/urlaub.jpg".
    std::string relativePath;
    /// Failed: why, naming the picture.
    std::string message;
    Format format = Format::Other;
    int width = 0;
    int height = 0;
    std::uint64_t bytes = 0;
    /// The original's pixels with only the metadata stripped: a new encoding
    /// would have been larger, or only the position was wrong.
    bool pixelsKept = false;
};

}  // namespace velmora::pictures
