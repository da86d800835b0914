// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A page's folder and a folder of photos beside it, photos made by real
// tools, copies made into the page, and every original's bytes compared at
// the end.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <atomic>
#include <filesystem>
#include <map>
#include <string>

#include "Photos.h"
#include "pictures/Copy.h"

namespace velmora::pictures {

namespace fs = std::filesystem;
using test::bytesOf;
using test::exiftoolTags;
using test::kConvert;
using test::run;

inline constexpr const char* kTags =
    " -GPSLatitude=52.5 -GPSLatitudeRef=N -GPSLongitude=13.4 -GPSLongitudeRef=E";

inline QImage read(const fs::path& file) {
    QImageReader reader(QString::fromStdString(file.string()));
    reader.setAutoTransform(false);
    return reader.read();
}

inline bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Copies : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = test::scratchFolder();
        ASSERT_FALSE(root_.empty());
        page_ = root_ / "seite";
        fotos_ = root_ / "fotos";  // outside the page's folder
        fs::create_directories(page_);
        fs::create_directories(fotos_);
    }
    void TearDown() override {
        for (const auto& [file, bytes] : originals_) {
            EXPECT_EQ(bytesOf(file), bytes) << "the original changed: " << file;
        }
        fs::remove_all(root_);
    }
    // Keeps `file`'s bytes to compare at the end.
    fs::path original(const fs::path& file) {
        originals_[file] = bytesOf(file);
        return file;
    }
    fs::path saved(const QImage& image, const std::string& name, int quality = -1) {
        fs::path file = fotos_ / name;
        QImageWriter writer(QString::fromStdString(file.string()));
        writer.setQuality(quality);
        EXPECT_TRUE(writer.write(image)) << name << ": " << writer.errorString().toStdString();
        return file;
    }
    // A photo that shows viewedPattern(width, height) upright, stored turned
    // by ImageMagick for `orientation` and tagged with exiftool.
    fs::path photo(int width, int height, int orientation, const std::string& tags,
                   int quality = 92, const std::string& name = "foto.jpg") {
        static const char* const kStored[] = {
            "",          "",           "-flop",       "-rotate 180",
            "-flip",     "-transpose", "-rotate -90", "-transverse",
            "-rotate 90"};
        const fs::path viewed = saved(test::viewedPattern(width, height), "viewed.png");
        fs::path file = fotos_ / name;
        EXPECT_EQ(run(std::string(kConvert) + " '" + viewed.string() + "' " + kStored[orientation] +
                      " -quality " + std::to_string(quality) + " '" + file.string() + "'"),
                  0);
        const std::string tagging =
            "exiftool -q -overwrite_original -Orientation#=" + std::to_string(orientation) + tags +
            " '" + file.string() + "'";
        EXPECT_EQ(run(tagging), 0) << tagging;
        return file;
    }
    // Whether a viewer that honours EXIF shows `file` upright: ImageMagick's.
    bool viewerShowsUpright(const fs::path& file) {
        const fs::path shown = root_ / "shown.png";
        run(std::string(kConvert) + " '" + file.string() + "' -auto-orient '" + shown.string() +
            "'");
        return test::upright(read(shown));
    }
    Made copyFor(const fs::path& file, Place place) {
        const std::atomic<bool> cancel{false};
        Made made = makeCopy(file.string(), page_.string(), place, cancel);
        EXPECT_EQ(made.kind, Made::Kind::Done) << made.message;
        return made;
    }
    fs::path inPage(const Made& made) const { return page_ / made.relativePath; }
    // No EXIF, XMP or IPTC, by exiftool and by Exiv2.
    void expectBare(const fs::path& copy) {
        EXPECT_EQ(exiftoolTags(copy), "") << copy;
        EXPECT_EQ(test::exiv2Entries(copy), 0) << copy;
    }

    fs::path root_, page_, fotos_;
    std::map<fs::path, std::string> originals_;
};

}  // namespace velmora::pictures
