// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Site.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "settings/PageSettings.h"

namespace velmora::publish::testing {

std::string randomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFFU);
    return bytes;
}

Files filesBelow(const fs::path& dir) {
    Files files;
    if (!fs::exists(dir)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        files[entry.path().lexically_relative(dir).generic_string()] = all.str();
    }
    return files;
}

void writeFiles(const fs::path& dir, const Files& files) {
    for (const auto& [name, bytes] : files) {
        fs::create_directories((dir / name).parent_path());
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc) << bytes;
    }
}

std::string differences(const Files& expected, const Files& actual) {
    std::string out;
    for (const auto& [name, bytes] : expected) {
        const auto there = actual.find(name);
        if (there == actual.end()) {
            out += name + " missing; ";
        } else if (there->second != bytes) {
            out += name + " has " + std::to_string(there->second.size()) + " bytes, not the " +
                   std::to_string(bytes.size()) + " expected; ";
        }
    }
    for (const auto& [name, bytes] : actual) {
        if (!expected.contains(name)) out += name + " unexpected; ";
    }
    return out;
}

bool isTemporary(const std::string& name) {
    return name.find(".velmora-tmp-") != std::string::npos;
}

Files withoutTemporaries(const Files& server) {
    Files files;
    for (const auto& [name, bytes] : server) {
        if (!isTemporary(name)) files[name] = bytes;
    }
    return files;
}

Files siteFiles(int version, std::size_t pictureBytes) {
    PageSettings s;
    s.Edit1 = "hintergrund.jpg";
    s.Edit8.clear();
    s.ListBox2.items.push_back("Start");
    s.ListBox5.items.push_back("index.html");
    // a page long enough to go up in several pieces
    for (int line = 0; line < 400; ++line) {
        s.ListBox1.items.push_back("Version " + std::to_string(version) + ", Zeile " +
                                   std::to_string(line) + ": Urlaub am Meer, mit Bildern.");
    }
    for (const char* picture : {"bilder/Sch\xC3\xB6ne Aussicht.jpg", "bilder/klein/stern.gif"}) {
        s.ListBox3.items.push_back(picture);
        s.ListBox6.items.push_back("");
    }
    CodeList lines;
    writePage(s, lines);
    const auto seed = static_cast<std::uint32_t>(version) * 10;
    return {{"index.html", composeFileBytes(lines.lines())},
            {"hintergrund.jpg", randomBytes(pictureBytes / 6, seed + 1)},
            {"bilder/Sch\xC3\xB6ne Aussicht.jpg", randomBytes(pictureBytes, seed + 2)},
            {"bilder/klein/stern.gif", randomBytes(pictureBytes / 150, seed + 3)}};
}

std::vector<LocalFile> filesOf(const fs::path& dir) {
    return pageFiles((dir / "index.html").string()).files;
}

std::string oldOrNew(const Files& before, const Files& after, const Files& server) {
    std::set<std::string> names;
    for (const auto& [name, bytes] : before) names.insert(name);
    for (const auto& [name, bytes] : after) names.insert(name);
    for (const auto& [name, bytes] : withoutTemporaries(server)) {
        if (!names.contains(name)) return name + " should not be on the server";
    }
    for (const std::string& name : names) {
        const auto old = before.find(name);
        const auto fresh = after.find(name);
        const auto there = server.find(name);
        if (there != server.end()) {
            if ((old == before.end() || there->second != old->second) &&
                (fresh == after.end() || there->second != fresh->second)) {
                return name + " is cut or foreign (" + std::to_string(there->second.size()) +
                       " bytes)";
            }
            continue;
        }
        if (old == before.end()) continue;  // not sent yet
        // briefly absent: the complete new file waits under its temporary name
        const bool waiting = std::any_of(server.begin(), server.end(), [&](const auto& file) {
            return file.first.starts_with(name + ".velmora-tmp-") && fresh != after.end() &&
                   file.second == fresh->second;
        });
        if (!waiting) return name + " is gone without its new version waiting";
    }
    return {};
}

}  // namespace velmora::publish::testing
