// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Metadata.h"

#include <algorithm>
#include <array>
#include <exception>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string_view>

#include "pictures/Format.h"
#include "pictures/GifBlocks.h"
#include "settings/Failure.h"

// Exiv2 0.27's pointers are std::auto_ptr, deprecated since C++11.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace velmora::pictures {
namespace {

#if EXIV2_TEST_VERSION(0, 28, 0)
std::string profileBytes(Exiv2::Image& image) {
    if (!image.iccProfileDefined()) return {};
    const Exiv2::DataBuf& icc = image.iccProfile();
    return {reinterpret_cast<const char*>(icc.c_data()), icc.size()};
}
long valueOf(const Exiv2::Exifdatum& d) { return static_cast<long>(d.toInt64()); }
#else
std::string profileBytes(Exiv2::Image& image) {
    if (!image.iccProfileDefined()) return {};
    const Exiv2::DataBuf* icc = image.iccProfile();
    return {reinterpret_cast<const char*>(icc->pData_), static_cast<std::size_t>(icc->size_)};
}
long valueOf(const Exiv2::Exifdatum& d) { return d.toLong(); }
#endif

constexpr const char* kOrientation = "Exif.Image.Orientation";

// Tags that say how the file is laid out, not what it shows or who made it.
bool describesLayout(std::string_view key) {
    static constexpr std::array<std::string_view, 7> kLayout = {kOrientation,
                                                                "Exif.Image.ExifTag",
                                                                "Exif.Image.GPSTag",
                                                                "Exif.Image.XResolution",
                                                                "Exif.Image.YResolution",
                                                                "Exif.Image.ResolutionUnit",
                                                                "Exif.Image.YCbCrPositioning"};
    return std::find(kLayout.begin(), kLayout.end(), key) != kLayout.end();
}

bool isPosition(std::string_view key) {
    return key == "Exif.GPSInfo.GPSLatitude" || key == "Exif.GPSInfo.GPSLongitude" ||
           key == "Xmp.exif.GPSLatitude" || key == "Xmp.exif.GPSLongitude";
}

void readExif(const Exiv2::ExifData& exif, Metadata& m) {
    for (const Exiv2::Exifdatum& d : exif) {
        const std::string key = d.key();
        if (key == kOrientation) {
            const long o = valueOf(d);
            if (o >= 1 && o <= 8) m.orientation = static_cast<int>(o);
        } else if (isPosition(key)) {
            m.position = true;
        } else if (d.groupName() != "GPSInfo" && !describesLayout(key)) {
            m.other = true;
        }
    }
}

void readXmp(const Exiv2::XmpData& xmp, Metadata& m) {
    for (const Exiv2::Xmpdatum& d : xmp) {
        if (isPosition(d.key())) {
            m.position = true;
        } else {
            m.other = true;
        }
    }
}

// Exiv2 reads no metadata from a GIF: its XMP block is found here.
Metadata gifMetadataOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const GifMetadata gif = gifMetadata(bytes);
    Metadata m;
    m.other = gif.comment;
    if (gif.xmp.empty()) return m;
    Exiv2::XmpData xmp;
    if (Exiv2::XmpParser::decode(xmp, gif.xmp) != 0) {
        m.other = true;  // unreadable, so it may say anything
        return m;
    }
    readXmp(xmp, m);
    return m;
}

}  // namespace

void initializeMetadata() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::XmpParser::initialize();
#ifdef EXV_ENABLE_BMFF
        Exiv2::enableBMFF(true);
#endif
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    });
}

Metadata readMetadata(const std::string& path) {
    initializeMetadata();
    Metadata m;
    try {
        if (formatOfFile(path) == Format::Gif) return gifMetadataOf(path);
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        readExif(image->exifData(), m);
        readXmp(image->xmpData(), m);
        if (!image->iptcData().empty()) m.other = true;
        m.iccProfile = profileBytes(*image);
    } catch (const std::exception&) {
        // a format Exiv2 does not know, or a file it cannot parse: no tags
        return Metadata{};
    }
    return m;
}

void stripMetadata(const std::string& path) {
    initializeMetadata();
    try {
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        const auto orientation = exif.findKey(Exiv2::ExifKey(kOrientation));
        Exiv2::ExifData kept;
        if (orientation != exif.end()) kept.add(*orientation);
        image->setExifData(kept);
        image->clearIptcData();
        image->clearXmpData();
        image->clearXmpPacket();
        image->clearComment();
        image->writeMetadata();
    } catch (const std::exception& e) {
        throw Failure(e.what());
    }
}

}  // namespace velmora::pictures

#pragma GCC diagnostic pop
