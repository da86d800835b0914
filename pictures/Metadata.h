// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A picture's EXIF, XMP and IPTC and its colour profile, through Exiv2. The
// one file that includes Exiv2: it builds against 0.27 (Debian 12) and 0.28
// (Debian 13), whose errors, pointers and accessors differ.
#pragma once

#include <string>

namespace velmora::pictures {

struct Metadata {
    /// Exif.Image.Orientation, 1 to 8; 1 when absent or out of range.
    int orientation = 1;
    /// EXIF or XMP holds a latitude or longitude.
    bool position = false;
    /// Tags beyond the orientation, the position and the few that describe
    /// only the file's layout (resolution, pointers).
    bool other = false;
    /// The embedded ICC profile's bytes; empty when none.
    std::string iccProfile;
};

/// What Exiv2 finds in the file at `path`: nothing where it knows neither
/// the file nor its format.
[[nodiscard]] Metadata readMetadata(const std::string& path);

/// Removes every EXIF tag but the orientation, and all XMP, IPTC and the
/// comment, from the file at `path` (JPEG, PNG, WebP), in place. Its pixels
/// and colour profile stay. Throws Failure with Exiv2's words.
void stripMetadata(const std::string& path);

/// Sets up Exiv2 for use from any thread, once: the XMP toolkit, the reader
/// of HEIF boxes (off in 0.27 until asked), and no warnings on stderr.
void initializeMetadata();

}  // namespace velmora::pictures
