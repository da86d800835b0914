// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a picture file is, from its header and metadata; its pixels are not
// decoded.
#pragma once

#include <string>

#include "pictures/Values.h"

namespace velmora::pictures {

/// The facts of the file at `path`. A file that cannot be read, or is no
/// picture of a known format, is not readable and says why, naming it.
[[nodiscard]] Facts readFacts(const std::string& path);

/// Whether the PNG at `path` is animated (APNG): its animation chunk comes
/// before its first image data.
[[nodiscard]] bool isAnimatedPng(const std::string& path);

/// "urlaub.jpg": how messages name the picture at `path`.
[[nodiscard]] std::string pictureName(const std::string& path);

}  // namespace velmora::pictures
