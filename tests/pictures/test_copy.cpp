// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Facts and copies of pictures that real tools made: Qt and ImageMagick
// draw and turn them, exiftool tags them, heif-enc makes a HEIC. Each copy
// is checked by those tools and by Exiv2, and the original must keep every
// byte.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QColorSpace>
#include <QColorTransform>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <atomic>
#include <filesystem>
#include <map>
#include <string>

#include "CopyFixture.h"
#include "Photos.h"
#include "pictures/Copy.h"
#include "pictures/Facts.h"
#include "pictures/Plan.h"

namespace velmora::pictures {
namespace {

// The tagged photo: each tag really there, as exiftool sees it, and its
// facts as a viewer would tell them.
TEST_F(Copies, TaggedPhotoShowsItsFactsAsAViewerSeesIt) {
    const fs::path p3 = test::displayP3Profile(root_);
    const fs::path thumbnail = saved(test::viewedPattern(160, 120), "thumbnail.jpg");
    const fs::path file = original(
        photo(1200, 900, 6,
              std::string(kTags) + " -SerialNumber=X1234 -XMP-dc:Creator=Anna '-ICC_Profile<=" +
                  p3.string() + "' '-ThumbnailImage<=" + thumbnail.string() + "'"));
    const std::string tags = exiftoolTags(file);
    for (const char* tag :
         {"[IFD0] Orientation: Rotate 90 CW", "[GPS] GPSLatitude:", "[ExifIFD] SerialNumber: X1234",
          "[XMP-dc] Creator: Anna", "[ICC-header] ColorSpaceData: RGB", "[IFD1] ThumbnailImage:"}) {
        EXPECT_TRUE(holds(tags, tag)) << tag << " not in\n" << tags;
    }
    ASSERT_TRUE(viewerShowsUpright(file));

    const Facts f = readFacts(file.string());
    EXPECT_TRUE(f.readable) << f.problem;
    EXPECT_EQ(f.format, Format::Jpeg);
    EXPECT_EQ(f.width, 1200);  // stored 900 wide, shown turned
    EXPECT_EQ(f.height, 900);
    EXPECT_EQ(f.bytes, fs::file_size(file));
    EXPECT_TRUE(f.position && f.otherMetadata && f.foreignProfile);
    EXPECT_FALSE(f.animated);

    const Facts plain = readFacts(saved(test::viewedPattern(64, 48), "plain.jpg").string());
    EXPECT_FALSE(plain.position || plain.otherMetadata || plain.foreignProfile);
    EXPECT_EQ(plain.width, 64);

    const Facts missing = readFacts((fotos_ / "weg.jpg").string());
    EXPECT_FALSE(missing.readable);
    EXPECT_EQ(missing.problem, "weg.jpg lässt sich nicht lesen.");
}

// Every place: a copy within its bound, upright, in sRGB, with no metadata.
TEST_F(Copies, EachPlaceGetsAnUprightSrgbCopyWithinItsBoundAndNothingElse) {
    const fs::path p3 = test::displayP3Profile(root_);
    const fs::path file = original(
        photo(2400, 1800, 6,
              std::string(kTags) +
                  " -SerialNumber=X1234 -IPTC:By-line=Anna '-ICC_Profile<=" + p3.string() + "'"));
    const QColor inSrgb = QColorSpace(QColorSpace::DisplayP3)
                              .transformationToColorSpace(QColorSpace::SRgb)
                              .map(test::kPatch);
    // the check can fail: the colours differ
    ASSERT_GE(
        std::abs(inSrgb.red() - test::kPatch.red()) + std::abs(inSrgb.blue() - test::kPatch.blue()),
        15);
    const Facts facts = readFacts(file.string());
    int n = 0;
    for (Place place : {Place::Background, Place::Heading, Place::Corner, Place::LinkDots,
                        Place::LinkBackground, Place::TextPicture, Place::PictureRow}) {
        SCOPED_TRACE(static_cast<int>(place));
        const Plan plan = planCopy(facts, place);
        ASSERT_TRUE(plan.wanted && plan.overBound);
        const Made made = copyFor(file, place);
        EXPECT_EQ(made.relativePath,
                  ++n == 1 ? "bilder/foto.jpg" : "bilder/foto-" + std::to_string(n).append(".jpg"));
        EXPECT_FALSE(made.pixelsKept);
        const QImage copy = read(inPage(made));
        EXPECT_EQ(copy.width(), plan.width);
        EXPECT_EQ(copy.height(), plan.height);
        const Bound b = boundOf(place);
        if (b.longerSide > 0) {
            EXPECT_EQ(std::max(copy.width(), copy.height()), b.longerSide);
        }
        if (b.area > 0) {
            EXPECT_LE(static_cast<std::int64_t>(copy.width()) * copy.height(), b.area);
        }
        EXPECT_TRUE(test::upright(copy));
        expectBare(inPage(made));
        EXPECT_EQ(made.bytes, fs::file_size(inPage(made)));
        EXPECT_LT(made.bytes, facts.bytes);
        if (place != Place::LinkDots) {
            const QColor got = test::middle(copy);
            EXPECT_NEAR(got.red(), inSrgb.red(), 6);
            EXPECT_NEAR(got.green(), inSrgb.green(), 6);
            EXPECT_NEAR(got.blue(), inSrgb.blue(), 6);
        }
    }
}

TEST_F(Copies, EveryOrientationEndsUprightAsAViewerShowsIt) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const fs::path file =
            original(photo(1000, 600, orientation, "", 92, std::to_string(orientation) + ".jpg"));
        ASSERT_TRUE(viewerShowsUpright(file));
        const Made made = copyFor(file, Place::Heading);
        const QImage copy = read(inPage(made));
        EXPECT_EQ(copy.size(), QSize(800, 480));
        EXPECT_TRUE(test::upright(copy));
        EXPECT_FALSE(holds(exiftoolTags(inPage(made)), "Orientation"));
    }
}

TEST_F(Copies, WithinItsBoundWithoutAPositionNoCopyIsWanted) {
    const Facts small = readFacts(original(photo(640, 480, 1, " -SerialNumber=X1234")).string());
    EXPECT_TRUE(small.otherMetadata);
    for (Place place : {Place::Heading, Place::PictureRow, Place::Background}) {
        EXPECT_FALSE(planCopy(small, place).wanted);
    }
    const Facts strip = readFacts(saved(test::viewedPattern(2000, 20), "streifen.png").string());
    EXPECT_FALSE(planCopy(strip, Place::Background).wanted);
    EXPECT_FALSE(planCopy(strip, Place::LinkBackground).wanted);
    EXPECT_TRUE(planCopy(strip, Place::PictureRow).wanted);
}

// Only a position: the original's pixels, orientation and profile kept.
TEST_F(Copies, APositionAloneIsStrippedWithThePixelsKept) {
    const fs::path p3 = test::displayP3Profile(root_);
    const fs::path file = original(photo(
        600, 400, 6, std::string(kTags) + " -SerialNumber=X1 '-ICC_Profile<=" + p3.string() + "'"));
    const Plan plan = planCopy(readFacts(file.string()), Place::Heading);
    ASSERT_TRUE(plan.wanted && plan.position && !plan.overBound);
    const Made made = copyFor(file, Place::Heading);
    EXPECT_TRUE(made.pixelsKept);
    EXPECT_EQ(made.relativePath, "bilder/foto.jpg");
    EXPECT_LE(made.bytes, fs::file_size(file));
    const std::string tags = exiftoolTags(inPage(made));
    EXPECT_FALSE(holds(tags, "[GPS]")) << tags;
    EXPECT_FALSE(holds(tags, "SerialNumber")) << tags;
    EXPECT_TRUE(holds(tags, "[IFD0] Orientation: Rotate 90 CW")) << tags;
    EXPECT_TRUE(holds(tags, "[ICC-header]")) << tags;
    EXPECT_EQ(read(inPage(made)), read(file));
    EXPECT_TRUE(viewerShowsUpright(inPage(made)));
    const Facts facts = readFacts(inPage(made).string());
    EXPECT_FALSE(facts.position || facts.otherMetadata);
}

// PNG and WebP are stripped by Exiv2's writers of their own chunks.
TEST_F(Copies, APngOrWebpWithinItsBoundLosesOnlyItsMetadata) {
    for (const char* name : {"karte.png", "karte.webp"}) {
        SCOPED_TRACE(name);
        const fs::path file = saved(test::viewedPattern(400, 300), name, 100);
        ASSERT_EQ(run("exiftool -q -overwrite_original -XMP-dc:Creator=Anna -SerialNumber=X1" +
                      std::string(kTags) + " '" + file.string() + "'"),
                  0);
        const std::string tags = exiftoolTags(original(file));
        ASSERT_TRUE(holds(tags, "[GPS] GPSLatitude:") && holds(tags, "[XMP-dc] Creator")) << tags;
        const Facts f = readFacts(file.string());
        ASSERT_TRUE(f.position && f.otherMetadata);
        const Made made = copyFor(file, Place::Heading);
        EXPECT_TRUE(made.pixelsKept);
        EXPECT_EQ(made.relativePath, std::string("bilder/") + name);
        expectBare(inPage(made));
        EXPECT_EQ(read(inPage(made)), read(file));
    }
}

// A small, well-compressed JPEG over its bound: encoded anew at quality 85
// it would grow, so its own pixels stay, only its metadata goes.
TEST_F(Copies, NeverLargerThanTheOriginal) {
    const fs::path file = original(photo(1300, 975, 1, kTags, 15));
    const Plan plan = planCopy(readFacts(file.string()), Place::PictureRow);
    ASSERT_TRUE(plan.overBound && plan.position);
    const Made made = copyFor(file, Place::PictureRow);
    EXPECT_TRUE(made.pixelsKept);
    EXPECT_LE(made.bytes, fs::file_size(file));
    EXPECT_EQ(made.width, 1300);
    EXPECT_EQ(read(inPage(made)), read(file));
    EXPECT_FALSE(holds(exiftoolTags(inPage(made)), "[GPS]"));
}

TEST_F(Copies, HeicBecomesAnUprightJpegWithoutItsPosition) {
    // as a phone makes it: the camera's EXIF in the HEIC from the start
    const fs::path tagged = photo(1000, 750, 1, kTags, 95, "kamera.jpg");
    const fs::path file = fotos_ / "urlaub.heic";
    ASSERT_EQ(run("heif-enc -q 80 -o '" + file.string() + "' '" + tagged.string() + "' >/dev/null"),
              0);
    ASSERT_TRUE(holds(exiftoolTags(file), "[GPS] GPSLatitude:"));
    original(file);
    const Facts f = readFacts(file.string());
    EXPECT_EQ(f.format, Format::Heic);
    EXPECT_EQ(f.width, 1000);
    EXPECT_EQ(f.height, 750);
    EXPECT_TRUE(f.position);  // Exiv2 reads HEIF boxes
    const Plan within = planCopy(f, Place::Background);
    EXPECT_TRUE(within.wanted && within.unshownFormat && !within.overBound);
    EXPECT_EQ(within.format, Format::Jpeg);

    const Made made = copyFor(file, Place::Heading);
    EXPECT_EQ(made.relativePath, "bilder/urlaub.jpg");
    EXPECT_EQ(made.format, Format::Jpeg);
    const QImage copy = read(inPage(made));
    EXPECT_EQ(copy.size(), QSize(800, 600));
    EXPECT_TRUE(test::upright(copy));
    expectBare(inPage(made));
}

TEST_F(Copies, AnimatedGifKeepsItsFramesAndLosesItsMetadata) {
    std::string frames;
    for (int i = 0; i < 3; ++i) {
        QImage frame = test::viewedPattern(1000, 200);
        QPainter(&frame).fillRect(i * 300, 100, 100, 100, Qt::green);
        frames += " '" + saved(frame, std::to_string(i) + ".png").string() + "'";
    }
    const fs::path file = fotos_ / "film.gif";
    ASSERT_EQ(
        run(std::string(kConvert) + " -delay 20 -loop 0" + frames + " '" + file.string() + "'"), 0);
    ASSERT_EQ(run("exiftool -q -overwrite_original -XMP-exif:GPSLatitude=52.5 "
                  "-XMP-exif:GPSLongitude=13.4 -XMP-dc:Creator=Anna -Comment=Hallo '" +
                  file.string() + "'"),
              0);
    ASSERT_TRUE(holds(exiftoolTags(file), "[XMP-exif] GPSLatitude"));
    original(file);
    const Facts f = readFacts(file.string());
    EXPECT_TRUE(f.animated && f.position);
    const Plan plan = planCopy(f, Place::Heading);
    EXPECT_TRUE(plan.wanted && plan.animatedTooBig);

    const Made made = copyFor(file, Place::Heading);
    EXPECT_EQ(made.relativePath, "bilder/film.gif");
    EXPECT_TRUE(made.pixelsKept);
    const std::string tags = exiftoolTags(inPage(made));
    EXPECT_FALSE(holds(tags, "XMP") || holds(tags, "Comment")) << tags;
    QImageReader before(QString::fromStdString(file.string()));
    QImageReader after(QString::fromStdString(inPage(made).string()));
    ASSERT_EQ(after.imageCount(), 3);
    EXPECT_EQ(after.loopCount(), before.loopCount());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(after.nextImageDelay(), before.nextImageDelay());
        EXPECT_EQ(after.read(), before.read()) << "frame " << i;
    }

    // a still GIF, a drawing, becomes a PNG: Qt writes no GIF
    const fs::path still = fotos_ / "still.gif";
    QImage flat(1000, 200, QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter draw(&flat);
    draw.fillRect(0, 0, 200, 40, QColor(230, 20, 20));
    draw.fillRect(800, 0, 200, 40, QColor(20, 20, 230));
    draw.end();
    const fs::path drawing = saved(flat, "drawing.png");
    ASSERT_EQ(run(std::string(kConvert) + " '" + drawing.string() + "' '" + still.string() + "'"),
              0);
    const Made png = copyFor(original(still), Place::Heading);
    EXPECT_EQ(png.relativePath, "bilder/still.png");
    EXPECT_EQ(read(inPage(png)).size(), QSize(800, 160));
    EXPECT_TRUE(test::upright(read(inPage(png))));
}

TEST_F(Copies, ApngIsToldByItsAnimationChunk) {
    const std::string png = bytesOf(saved(test::viewedPattern(40, 30), "bild.png"));
    // acTL: 3 frames, played forever, before the first image data
    std::string chunk("acTL\0\0\0\3\0\0\0\0", 12);
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), 12);
    std::string withCrc = std::string("\0\0\0\x08", 4) + chunk;
    for (int shift = 24; shift >= 0; shift -= 8)
        withCrc += static_cast<char>((crc >> shift) & 0xFF);
    const std::size_t idat = png.find("IDAT") - 4;
    test::writeBytes(fotos_ / "apng.png", png.substr(0, idat) + withCrc + png.substr(idat));
    EXPECT_TRUE(readFacts((fotos_ / "apng.png").string()).animated);
    EXPECT_FALSE(readFacts((fotos_ / "bild.png").string()).animated);
}

TEST_F(Copies, TransparentPngWebpAndTiffKeepOrChangeTheirFormat) {
    QImage clear = test::viewedPattern(2000, 1000).convertToFormat(QImage::Format_ARGB32);
    QPainter painter(&clear);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(0, 800, 2000, 200, Qt::transparent);
    painter.end();
    const fs::path png = saved(clear, "klar.png");
    ASSERT_EQ(run("exiftool -q -overwrite_original -XMP-dc:Creator=Anna" + std::string(kTags) +
                  " '" + png.string() + "'"),
              0);
    ASSERT_TRUE(holds(exiftoolTags(png), "[XMP-dc] Creator"));
    const Made a = copyFor(original(png), Place::Heading);
    EXPECT_EQ(a.relativePath, "bilder/klar.png");
    const QImage copy = read(inPage(a));
    EXPECT_EQ(copy.size(), QSize(800, 400));
    EXPECT_EQ(qAlpha(copy.pixel(400, 390)), 0);
    EXPECT_EQ(qAlpha(copy.pixel(400, 10)), 255);
    EXPECT_TRUE(test::upright(copy.copy(0, 0, 800, 300).scaled(800, 400)));
    expectBare(inPage(a));

    const Made b =
        copyFor(original(saved(test::viewedPattern(2000, 1500), "bild.webp", 90)), Place::Heading);
    EXPECT_EQ(b.relativePath, "bilder/bild.webp");
    EXPECT_EQ(read(inPage(b)).size(), QSize(800, 600));

    const Made c =
        copyFor(original(saved(test::viewedPattern(400, 300), "scan.tif")), Place::Heading);
    EXPECT_EQ(c.relativePath, "bilder/scan.jpg");
    EXPECT_EQ(read(inPage(c)).size(), QSize(400, 300));
    EXPECT_TRUE(test::upright(read(inPage(c))));
}

TEST_F(Copies, BrokenMissingAndHugePicturesFailNamingThem) {
    test::writeBytes(fotos_ / "text.jpg", "Hallo");
    test::writeBytes(fotos_ / "kaputt.jpg",
                     std::string("\xFF\xD8\xFF\xE0", 4) + std::string(500, 'x'));
    // a PNG whose header says 12000 × 11000: more than we decode
    std::string png = bytesOf(saved(test::viewedPattern(16, 16), "riesig.png"));
    const std::string size("\0\0\x2E\xE0\0\0\x2A\xF8", 8);
    png.replace(16, 8, size);
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
    test::writeBytes(fotos_ / "riesig.png", png);
    ASSERT_EQ(read(fotos_ / "riesig.png").isNull(), true);
    ASSERT_EQ(QImageReader(QString::fromStdString((fotos_ / "riesig.png").string())).size(),
              QSize(12000, 11000));

    const struct {
        const char* name;
        const char* message;
    } rows[] = {
        {"kaputt.jpg", "kaputt.jpg l\u00e4sst sich nicht lesen: die Datei ist besch\u00e4digt."},
        {"weg.jpg", "weg.jpg l\u00e4sst sich nicht lesen."},
        {"text.jpg", "text.jpg l\u00e4sst sich nicht lesen: kein Bild in einem bekannten Format."},
        {"riesig.png",
         "riesig.png ist zu gro\u00df zum Verkleinern: mehr als 120 Millionen Pixel."},
    };
    for (const auto& row : rows) {
        const std::atomic<bool> cancel{false};
        const Made made =
            makeCopy((fotos_ / row.name).string(), page_.string(), Place::Heading, cancel);
        EXPECT_EQ(made.kind, Made::Kind::Failed) << row.name;
        EXPECT_EQ(made.message, row.message);
    }
    EXPECT_TRUE(!fs::exists(page_ / "bilder") || fs::is_empty(page_ / "bilder"));
}

TEST_F(Copies, CancelledLeavesNothingBehind) {
    const fs::path file = original(saved(test::viewedPattern(2000, 1500), "bild.jpg"));
    const std::atomic<bool> cancel{true};
    const Made made = makeCopy(file.string(), page_.string(), Place::Heading, cancel);
    EXPECT_EQ(made.kind, Made::Kind::Cancelled);
    EXPECT_TRUE(!fs::exists(page_ / "bilder") || fs::is_empty(page_ / "bilder"));
}

TEST_F(Copies, FortyEightMegapixelPhotoForThePictureRow) {
    const fs::path file = original(saved(test::viewedPattern(8000, 6000), "gross.jpg", 90));
    const Made made = copyFor(file, Place::PictureRow);
    const QImage copy = read(inPage(made));
    EXPECT_EQ(copy.size(), QSize(1200, 900));
    EXPECT_TRUE(test::upright(copy));
    EXPECT_LT(made.bytes, fs::file_size(file) / 10);
}

}  // namespace
}  // namespace velmora::pictures
