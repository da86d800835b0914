// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/Listing.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <utility>
#include <vector>

namespace velmora::publish {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isNumber(std::string_view s) noexcept {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// "12:00" or "2024": what follows the day.
bool isTimeOrYear(std::string_view s) noexcept {
    const std::size_t colon = s.find(':');
    if (colon == std::string_view::npos) return s.size() == 4 && isNumber(s);
    return isNumber(s.substr(0, colon)) && isNumber(s.substr(colon + 1));
}

struct Field {
    std::string_view text;
    std::size_t start = 0;  // in the line
};

// The first `most` blank-separated fields of `line`.
std::vector<Field> fieldsOf(std::string_view line, std::size_t most) {
    std::vector<Field> fields;
    std::size_t i = 0;
    while (i < line.size() && fields.size() < most) {
        while (i < line.size() && line[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) fields.push_back({line.substr(start, i - start), start});
    }
    return fields;
}

// Whether the fields around `m` are a size, then a month, a day and a time
// or year: an owner or a group may be named like a month, a name may hold
// one too, and the first such run is the date.
bool isDate(const std::vector<Field>& fields, std::size_t m) {
    return std::find(kMonths.begin(), kMonths.end(), fields[m].text) != kMonths.end() &&
           isNumber(fields[m - 1].text) && isNumber(fields[m + 1].text) &&
           fields[m + 1].text.size() <= 2 && isTimeOrYear(fields[m + 2].text);
}

std::optional<std::pair<std::string, Entry>> parseLine(std::string_view line) {
    if (line.empty() || (line[0] != '-' && line[0] != 'd' && line[0] != 'l')) return std::nullopt;
    // type and rights, links, owner, group, size, month, day, time, name
    const std::vector<Field> fields = fieldsOf(line, 12);
    for (std::size_t m = 2; m + 3 < fields.size(); ++m) {
        if (!isDate(fields, m)) continue;
        Entry entry;
        const std::string_view size = fields[m - 1].text;
        if (std::from_chars(size.data(), size.data() + size.size(), entry.size).ec != std::errc()) {
            return std::nullopt;
        }
        entry.folder = line[0] == 'd';
        entry.link = line[0] == 'l';
        std::string_view name = line.substr(fields[m + 2].start + fields[m + 2].text.size() + 1);
        if (entry.link) name = name.substr(0, name.find(" -> "));
        if (name.empty() || name == "." || name == "..") return std::nullopt;
        return std::pair{std::string(name), entry};
    }
    return std::nullopt;
}

}  // namespace

Listing parseListing(std::string_view text) {
    Listing listing;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (auto entry = parseLine(line))
            listing.insert_or_assign(std::move(entry->first), entry->second);
    }
    return listing;
}

}  // namespace velmora::publish
