// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/PagePictures.h"

#include <climits>

namespace velmora {
namespace {

// A background's bound is an area, which lets a strip stay that no <img>
// bound would: it is the loosest.
int tightness(pictures::Place p) noexcept {
    const int side = pictures::boundOf(p).longerSide;
    return side > 0 ? side : INT_MAX;
}

void shownAt(std::map<std::string, pictures::Place>& places, const std::string& name,
             pictures::Place place) {
    if (name.empty()) return;
    const auto [at, added] = places.emplace(name, place);
    if (!added && tightness(place) < tightness(at->second)) at->second = place;
}

}  // namespace

std::vector<Source> sourcesIn(std::string_view line) {
    std::vector<Source> sources;
    for (std::size_t src = line.find("src="); src != std::string_view::npos;) {
        std::size_t begin = src + 4;
        std::size_t end = std::string_view::npos;
        if (begin < line.size() && (line[begin] == '"' || line[begin] == '\'')) {
            end = line.find(line[begin], begin + 1);
            if (end == std::string_view::npos) break;
            ++begin;
        } else {
            end = line.find_first_of(" \t>", begin);
            if (end == std::string_view::npos) end = line.size();
        }
        sources.push_back({begin, end - begin});
        src = line.find("src=", end);
    }
    return sources;
}

std::map<std::string, pictures::Place> picturePlaces(const PageSettings& s) {
    std::map<std::string, pictures::Place> places;
    for (std::size_t i = 0; i < kPictureFields.size(); ++i)
        shownAt(places, s.*kPictureFields[i], kPicturePlaces[i]);
    for (const std::string& name : s.ListBox3.items)
        shownAt(places, name, pictures::Place::PictureRow);
    for (const std::string& line : s.ListBox1.items) {
        for (const Source& source : sourcesIn(line))
            shownAt(places, line.substr(source.begin, source.size), pictures::Place::TextPicture);
    }
    return places;
}

}  // namespace velmora
