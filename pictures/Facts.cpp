// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Facts.h"

#include <QColorSpace>
#include <QImageReader>
#include <QString>
#include <array>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "pictures/Format.h"
#include "pictures/Heif.h"
#include "pictures/Metadata.h"
#include "pictures/Setup.h"

namespace velmora::pictures {
namespace {

std::uint32_t bigEndian(const std::array<char, 8>& b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = at; i < at + 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[i]);
    return v;
}

// An sRGB profile parses to Qt's own sRGB; one Qt cannot parse counts as
// foreign, as it is surely not sRGB.
bool foreign(const QColorSpace& space) {
    return space.isValid() && space != QColorSpace(QColorSpace::SRgb);
}

bool foreignProfile(const std::string& icc) {
    if (icc.empty()) return false;
    const QColorSpace space =
        QColorSpace::fromIccProfile(QByteArray(icc.data(), static_cast<qsizetype>(icc.size())));
    return !space.isValid() || foreign(space);
}

Facts unreadable(Facts f, const std::string& path, const char* why = "") {
    f.readable = false;
    f.problem = pictureName(path) + " lässt sich nicht lesen" + why + ".";
    return f;
}

constexpr const char* kBroken = ": die Datei ist beschädigt";

void readHeif(Facts& f, const std::string& path) {
    const HeifHeader h = readHeifHeader(path);
    f.width = h.width;
    f.height = h.height;
    f.foreignProfile = foreign(h.colorSpace);
}

// Qt reads the header of every other format with pixels.
bool readHeader(Facts& f, const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid()) return false;
    f.width = size.width();
    f.height = size.height();
    if (f.format == Format::Png) {
        f.animated = isAnimatedPng(path);
    } else if (mayAnimate(f.format)) {
        f.animated = reader.imageCount() > 1;
    }
    return true;
}

void addMetadata(Facts& f, const std::string& path) {
    const Metadata m = readMetadata(path);
    f.position = m.position;
    f.otherMetadata = m.other;
    if (f.format != Format::Heic) {
        f.foreignProfile = foreignProfile(m.iccProfile);
        // a HEIC turns by its own boxes, which libheif has applied
        if (m.orientation >= 5) std::swap(f.width, f.height);
    }
}

}  // namespace

std::string pictureName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool isAnimatedPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(8);
    std::array<char, 8> chunk{};
    while (in.read(chunk.data(), chunk.size())) {
        const std::string_view type(chunk.data() + 4, 4);
        if (type == "acTL") return true;
        if (type == "IDAT" || type == "IEND") return false;
        in.seekg(static_cast<std::streamoff>(bigEndian(chunk, 0)) + 4, std::ios::cur);
    }
    return false;
}

Facts readFacts(const std::string& path) {
    setUp();
    Facts f;
    std::error_code error;
    f.bytes = std::filesystem::file_size(path, error);
    if (error) return unreadable(f, path);
    f.format = formatOfFile(path);
    try {
        switch (f.format) {
            case Format::Other:
                return unreadable(f, path, ": kein Bild in einem bekannten Format");
            case Format::Svg:
                break;  // no pixel size of its own, no metadata we read
            case Format::Heic:
                readHeif(f, path);
                break;
            default:
                if (!readHeader(f, path)) return unreadable(f, path, kBroken);
        }
        if (f.format != Format::Svg) addMetadata(f, path);
    } catch (const std::exception&) {
        return unreadable(f, path, kBroken);
    }
    f.readable = true;
    return f;
}

}  // namespace velmora::pictures
