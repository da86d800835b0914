// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/PageFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <set>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "generator/AsciiEncoder.h"
#include "generator/PageReader.h"
#include "settings/Failure.h"

namespace velmora::publish {
namespace {

bool isAsciiSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAlpha(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }

char lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithNoCase(std::string_view s, std::string_view prefix) noexcept {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lower(s[i]) != prefix[i]) return false;
    }
    return true;
}

int hexValue(char c) noexcept {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A numeric reference "&#N;" or "&#xH;" at the start of `s`, as a browser
// reads it (the ';' may be missing); the length 0 when there is none.
std::pair<char32_t, std::size_t> numericReference(std::string_view s) noexcept {
    if (!s.starts_with("&#")) return {0, 0};
    std::size_t i = 2;
    const bool hex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
    if (hex) ++i;
    const std::size_t digits = i;
    std::uint32_t v = 0;
    for (; i < s.size(); ++i) {
        const int d = hex ? hexValue(s[i]) : (isDigit(s[i]) ? s[i] - '0' : -1);
        if (d < 0) break;
        v = std::min<std::uint32_t>(v * (hex ? 16U : 10U) + static_cast<std::uint32_t>(d),
                                    0x110000);
    }
    if (i == digits) return {0, 0};
    if (i < s.size() && s[i] == ';') ++i;
    const bool valid = v != 0 && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF);
    return {valid ? static_cast<char32_t>(v) : char32_t{0xFFFD}, i};
}

// The attribute value as the browser has it: bytes from 0x80 up read as
// Windows-1252, then character references decoded, to UTF-8.
std::string decodeValue(std::string_view raw) {
    std::string ascii;
    appendWindows1252AsAscii(ascii, raw);
    static constexpr std::array<std::pair<std::string_view, char>, 5> kNamed = {
        {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}}};
    std::string out;
    std::size_t i = 0;
    while (i < ascii.size()) {
        const std::string_view rest = std::string_view(ascii).substr(i);
        if (rest[0] != '&') {
            out += rest[0];
            ++i;
            continue;
        }
        if (const auto [c, length] = numericReference(rest); length != 0) {
            appendUtf8(out, c);
            i += length;
            continue;
        }
        const auto* named = std::find_if(kNamed.begin(), kNamed.end(), [rest](const auto& n) {
            return rest.starts_with(n.first);
        });
        if (named != kNamed.end()) {
            out += named->second;
            i += named->first.size();
        } else {
            out += '&';
            ++i;
        }
    }
    return out;
}

// The values of src, background and href in the tags of an HTML text, in
// order. Comments and the insides of style and script are no tags.
std::vector<std::pair<std::string, bool>> namesIn(std::string_view html) {
    std::vector<std::pair<std::string, bool>> names;  // value, whether a link (href)
    std::size_t i = 0;
    const auto skipPast = [&](std::string_view end, bool noCase) {
        while (i < html.size()) {
            const std::string_view rest = html.substr(i);
            if (noCase ? startsWithNoCase(rest, end) : rest.starts_with(end)) {
                i += end.size();
                return;
            }
            ++i;
        }
    };
    while (i < html.size()) {
        if (html.substr(i).starts_with("<!--")) {
            i += 4;
            skipPast("-->", false);
            continue;
        }
        if (html[i] != '<' || i + 1 >= html.size() || !isAlpha(html[i + 1])) {
            ++i;
            continue;
        }
        ++i;
        std::string tag;
        while (i < html.size() && (isAlpha(html[i]) || isDigit(html[i]))) tag += lower(html[i++]);
        while (i < html.size() && html[i] != '>') {
            if (isAsciiSpace(html[i]) || html[i] == '/') {
                ++i;
                continue;
            }
            std::string attribute;
            while (i < html.size() && !isAsciiSpace(html[i]) && html[i] != '=' && html[i] != '>') {
                attribute += lower(html[i++]);
            }
            while (i < html.size() && isAsciiSpace(html[i])) ++i;
            if (i >= html.size() || html[i] != '=') continue;
            ++i;
            while (i < html.size() && isAsciiSpace(html[i])) ++i;
            std::size_t start = i;
            std::size_t end = i;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                const char quote = html[i];
                start = i + 1;
                end = std::min(html.find(quote, start), html.size());
                i = std::min(end + 1, html.size());
            } else {
                while (i < html.size() && !isAsciiSpace(html[i]) && html[i] != '>') ++i;
                end = i;
            }
            if (attribute == "src" || attribute == "background" || attribute == "href") {
                names.emplace_back(decodeValue(html.substr(start, end - start)),
                                   attribute == "href");
            }
        }
        if (i < html.size()) ++i;
        if (tag == "style" || tag == "script") skipPast("</" + tag, true);
    }
    return names;
}

bool hasScheme(std::string_view name) noexcept {
    if (name.empty() || !isAlpha(name[0])) return false;
    for (const char c : name.substr(1)) {
        if (c == ':') return true;
        if (!isAlpha(c) && !isDigit(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return false;
}

// "%XX" decoded, except "%2F", which a web server does not take as a folder.
std::string percentDecoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
            const auto c = static_cast<char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
            if (c != '/') {
                out += c;
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// How a name in a page reaches a file.
struct Target {
    enum class Kind { None, Path, Outside } kind = Kind::None;
    std::string path;  // Path, Outside: relative to the published page's folder
};

// `name` as written in a page whose folder is `pageFolder` (relative to the
// published page's folder, "" or ending in '/').
Target resolve(std::string name, const std::string& pageFolder) {
    std::erase_if(name, [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
    const auto first = std::find_if_not(name.begin(), name.end(), isAsciiSpace);
    const auto last = std::find_if_not(name.rbegin(), name.rend(), isAsciiSpace).base();
    name = first < last ? std::string(first, last) : std::string();
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.empty() || name[0] == '#' || name.starts_with("//") || hasScheme(name)) return {};
    name = percentDecoded(name.substr(0, name.find_first_of("?#")));
    if (name.empty()) return {};
    if (name[0] == '/') return {Target::Kind::Outside, name};
    // A name that ends in '/' names a folder.
    const std::size_t lastSlash = name.rfind('/');
    const std::string_view lastPart =
        std::string_view(name).substr(lastSlash == std::string::npos ? 0 : lastSlash + 1);
    if (lastPart.empty() || lastPart == "." || lastPart == "..") return {};
    std::vector<std::string> parts;
    int above = 0;  // how far the name leaves the published page's folder
    const std::string joined = pageFolder + name;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t slash = std::min(joined.find('/', start), joined.size());
        const std::string part = joined.substr(start, slash - start);
        start = slash + 1;
        if (part == "..") {
            if (parts.empty()) {
                ++above;
            } else {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
    }
    std::string path;
    for (int k = 0; k < above; ++k) path += "../";
    for (std::size_t k = 0; k < parts.size(); ++k) path += (k == 0 ? "" : "/") + parts[k];
    return {above > 0 ? Target::Kind::Outside : Target::Kind::Path, path};
}

// Whether the file at `path` is a page Velmora wrote, and then its bytes.
std::optional<std::string> velmoraPage(const std::string& path, const std::string& name) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::array<char, 8> head{};
    const ssize_t n = read(fd, head.data(), head.size());
    close(fd);
    const std::string_view start(head.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    if (!start.starts_with("<html>\r\n") && !start.starts_with("<html>\n")) return std::nullopt;
    try {
        std::string bytes = readPageFile(path, name);
        (void)readPage(bytes, name);
        return bytes;
    } catch (const Failure&) {
        return std::nullopt;
    }
}

class Collector {
public:
    explicit Collector(std::string folder) : folder_(std::move(folder)) {}

    // Adds everything the page at `relative` names, then the page.
    void page(const std::string& relative, const std::string& bytes) {
        pages_.insert(relative);
        const std::size_t slash = relative.rfind('/');
        const std::string pageFolder =
            slash == std::string::npos ? std::string() : relative.substr(0, slash + 1);
        for (const auto& [name, link] : namesIn(bytes)) {
            const Target target = resolve(name, pageFolder);
            if (target.kind == Target::Kind::Outside) {
                problem(PageProblem::Kind::Outside, target.path);
            } else if (target.kind == Target::Kind::Path) {
                file(target.path, link);
            }
        }
        add(relative);
    }

    PageFiles result() { return std::move(result_); }

private:
    void file(const std::string& relative, bool link) {
        if (pages_.contains(relative)) return;
        if (added_.contains(relative)) {
            add(relative, !link);
            return;
        }
        const std::string local = folder_ + "/" + relative;
        struct stat st = {};
        if (stat(local.c_str(), &st) != 0) {
            problem(PageProblem::Kind::Missing, relative);
            return;
        }
        if (S_ISDIR(st.st_mode)) return;
        if (link) {
            if (auto bytes = velmoraPage(local, relative.substr(relative.rfind('/') + 1))) {
                page(relative, *bytes);
                return;
            }
        }
        add(relative, !link);
    }

    void add(const std::string& relative, bool picture = false) {
        if (added_.insert(relative).second) {
            result_.files.push_back({relative, folder_ + "/" + relative, picture});
            return;
        }
        // a file linked first and shown later is a picture all the same
        if (picture) {
            for (LocalFile& file : result_.files) {
                if (file.relativePath == relative) file.picture = true;
            }
        }
    }

    void problem(PageProblem::Kind kind, const std::string& name) {
        if (!problems_.insert({kind, name}).second) return;
        result_.problems.push_back({kind, name});
    }

    std::string folder_;
    std::set<std::string> pages_;
    std::set<std::string> added_;
    std::set<std::pair<PageProblem::Kind, std::string>> problems_;
    PageFiles result_;
};

}  // namespace

std::string PageProblem::message() const {
    return name + (kind == Kind::Missing ? " fehlt" : " liegt außerhalb des Ordners der Seite");
}

PageFiles pageFiles(const std::string& pagePath) {
    if (!pagePath.starts_with('/')) throw std::invalid_argument("pageFiles: not absolute");
    const std::size_t slash = pagePath.rfind('/');
    const std::string folder = slash == 0 ? std::string() : pagePath.substr(0, slash);
    const std::string name = pagePath.substr(slash + 1);
    Collector collector(folder);
    collector.page(name, readPageFile(pagePath, name));
    return collector.result();
}

}  // namespace velmora::publish
