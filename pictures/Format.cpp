// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Format.h"

#include <array>
#include <fstream>

namespace velmora::pictures {
namespace {

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// ISO base media files name their kind in the brands of their first box;
// HEIF stills and image sequences by these. AVIF (avif, avis) is another
// codec in the same box, which we do not read.
bool isHeif(std::string_view head) {
    if (head.size() < 12 || head.substr(4, 4) != "ftyp") return false;
    static constexpr std::array<std::string_view, 8> kBrands = {"heic", "heix", "hevc", "hevx",
                                                                "heim", "heis", "mif1", "msf1"};
    const std::string_view major = head.substr(8, 4);
    for (std::string_view brand : kBrands) {
        if (major == brand) return major != "mif1" || head.find("avif") == std::string_view::npos;
    }
    return false;
}

// SVG is text: an XML declaration, comments or a doctype may come first.
bool isSvg(std::string_view head) {
    std::size_t start = 0;
    if (startsWith(head, "\xEF\xBB\xBF")) start = 3;
    const std::string_view text = head.substr(start);
    return (startsWith(text, "<?xml") || startsWith(text, "<svg") || startsWith(text, "<!")) &&
           head.find("<svg") != std::string_view::npos;
}

}  // namespace

Format formatOf(std::string_view head) noexcept {
    if (startsWith(head, "\xFF\xD8\xFF")) return Format::Jpeg;
    if (startsWith(head, "\x89PNG\r\n\x1A\n")) return Format::Png;
    if (startsWith(head, "GIF87a") || startsWith(head, "GIF89a")) return Format::Gif;
    if (startsWith(head, "RIFF") && head.substr(8, 4) == "WEBP") return Format::WebP;
    if (startsWith(head, std::string_view("II*\0", 4)) ||
        startsWith(head, std::string_view("MM\0*", 4))) {
        return Format::Tiff;
    }
    if (startsWith(head, "BM")) return Format::Bmp;
    if (startsWith(head, std::string_view("\0\0\1\0", 4))) return Format::Ico;
    if (isHeif(head)) return Format::Heic;
    if (isSvg(head)) return Format::Svg;
    return Format::Other;
}

Format formatOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    // SVG may start with a long comment; 1 KiB holds the root element's start.
    std::array<char, 1024> head{};
    in.read(head.data(), head.size());
    return formatOf(std::string_view(head.data(), static_cast<std::size_t>(in.gcount())));
}

const char* extensionOf(Format f) noexcept {
    switch (f) {
        case Format::Jpeg:
            return "jpg";
        case Format::Png:
            return "png";
        case Format::Gif:
            return "gif";
        case Format::WebP:
            return "webp";
        case Format::Heic:
            return "heic";
        case Format::Tiff:
            return "tif";
        case Format::Svg:
            return "svg";
        case Format::Ico:
            return "ico";
        case Format::Bmp:
            return "bmp";
        case Format::Other:
            break;
    }
    return "bin";
}

}  // namespace velmora::pictures
