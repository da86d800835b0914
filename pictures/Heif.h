// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// HEIC/HEIF through libheif, which Qt cannot read. libheif decodes the whole
// picture at once and cannot reduce while decoding: a 48-million-pixel photo
// takes its full size in memory (see the benchmark's figures).
#pragma once

#include <QColorSpace>
#include <QImage>
#include <string>

namespace velmora::pictures {

struct HeifHeader {
    /// As shown: after the file's own rotation and mirroring.
    int width = 0;
    int height = 0;
    /// Invalid where the file names none (then it is sRGB).
    QColorSpace colorSpace;
};

/// The primary picture's header. Throws Failure with libheif's words.
[[nodiscard]] HeifHeader readHeifHeader(const std::string& path);

/// The primary picture's pixels, turned as the file says, in its colour
/// space, with its transparency. Throws Failure with libheif's words.
[[nodiscard]] QImage decodeHeif(const std::string& path);

}  // namespace velmora::pictures
