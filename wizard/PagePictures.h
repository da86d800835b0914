// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The pictures that a page's settings name, and where the page shows each:
// what copies made for the web before publishing are made for.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/Values.h"
#include "settings/Fields.h"
#include "settings/PageSettings.h"

namespace velmora {

/// Where the page shows the picture of each of kPictureFields.
inline constexpr std::array<pictures::Place, kPictureFields.size()> kPicturePlaces{
    pictures::Place::Background, pictures::Place::Heading,        pictures::Place::Corner,
    pictures::Place::LinkDots,   pictures::Place::LinkBackground, pictures::Place::TextPicture,
    pictures::Place::PictureRow,
};

/// A picture's name within a text line: `line.substr(begin, size)`.
struct Source {
    std::size_t begin = 0;
    std::size_t size = 0;
};

/// The pictures a text line names: each src="NAME", src='NAME', or src=NAME
/// up to a blank or '>', as a browser reads it. A quote that never closes
/// ends the search.
[[nodiscard]] std::vector<Source> sourcesIn(std::string_view line);

/// Each picture the settings name, in the picture fields, the picture list
/// and the text lines, by its name as they hold it, with the place of the
/// tightest bound among those that show it: a picture both in the row and
/// beside the heading is made for the heading.
[[nodiscard]] std::map<std::string, pictures::Place> picturePlaces(const PageSettings& s);

}  // namespace velmora
