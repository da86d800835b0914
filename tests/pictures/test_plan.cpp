// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a place wants of a picture, decided from its facts alone; the
// signatures formats are known by; the sizes publishing speaks of.
#include <gtest/gtest.h>

#include <string>

#include "pictures/Format.h"
#include "pictures/Notes.h"
#include "pictures/Pixels.h"
#include "pictures/Plan.h"

namespace velmora::pictures {
namespace {

using namespace std::string_literals;

TEST(FormatOf, KnowsEachSignatureAndNoName) {
    const struct {
        std::string head;
        Format format;
    } rows[] = {
        {"\xFF\xD8\xFF\xE0"s, Format::Jpeg},
        {"\x89PNG\r\n\x1A\n"s, Format::Png},
        {"GIF89a"s, Format::Gif},
        {"GIF87a"s, Format::Gif},
        {"RIFF\x10\0\0\0WEBPVP8 "s, Format::WebP},
        {"RIFF\x10\0\0\0WAVEfmt "s, Format::Other},
        {"II*\0"s, Format::Tiff},
        {"MM\0*"s, Format::Tiff},
        {"BM\x36\0"s, Format::Bmp},
        {"\0\0\1\0\1\0"s, Format::Ico},
        {"\0\0\0\x18"
         "ftypheic\0\0\0\0mif1heic"s,
         Format::Heic},
        {"\0\0\0\x18"
         "ftypmif1\0\0\0\0mif1heic"s,
         Format::Heic},
        {"\0\0\0\x1C"
         "ftypavif\0\0\0\0avifmif1"s,
         Format::Other},
        {"\0\0\0\x1C"
         "ftypmif1\0\0\0\0mif1avif"s,
         Format::Other},
        {"<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\">"s, Format::Svg},
        {"<svg width=\"10\">"s, Format::Svg},
        {"<?xml version=\"1.0\"?><html>"s, Format::Other},
        {"GIF"s, Format::Other},
        {""s, Format::Other},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(formatOf(row.head), row.format) << row.head;
    }
}

TEST(Fitted, ImgPlacesBoundTheLongerSideBackgroundsTheArea) {
    const struct {
        Size size;
        Place place;
        Size fitted;
    } rows[] = {
        {{4032, 3024}, Place::PictureRow, {1200, 900}},
        {{3024, 4032}, Place::PictureRow, {900, 1200}},
        {{4032, 3024}, Place::Heading, {800, 600}},
        {{4032, 3024}, Place::TextPicture, {800, 600}},
        {{4032, 3024}, Place::Corner, {300, 225}},
        {{4032, 3024}, Place::LinkDots, {48, 36}},
        {{1200, 900}, Place::PictureRow, {1200, 900}},
        {{640, 480}, Place::Heading, {640, 480}},
        {{10000, 10}, Place::Corner, {300, 1}},
        // backgrounds tile: a long strip stays, a photo goes to 4 million pixels
        {{2000, 20}, Place::Background, {2000, 20}},
        {{2000, 2000}, Place::LinkBackground, {2000, 2000}},
        {{4000, 3000}, Place::Background, {2309, 1732}},
        {{8000, 6000}, Place::LinkBackground, {2309, 1732}},
    };
    for (const auto& row : rows) {
        const Size got = fitted(row.size, boundOf(row.place));
        EXPECT_EQ(got, row.fitted)
            << row.size.width << "x" << row.size.height << " in place "
            << static_cast<int>(row.place) << ": " << got.width << "x" << got.height;
        const Bound b = boundOf(row.place);
        if (b.area > 0) {
            EXPECT_LE(static_cast<std::int64_t>(got.width) * got.height, b.area);
        }
    }
}

Facts photo(Format format, int width, int height) {
    Facts f;
    f.readable = true;
    f.format = format;
    f.width = width;
    f.height = height;
    f.bytes = static_cast<std::uint64_t>(width) * height / 4;
    return f;
}

TEST(PlanCopy, WantsACopyOverTheBoundOrWithAPositionOrInAnUnshownFormat) {
    const Plan over = planCopy(photo(Format::Jpeg, 4032, 3024), Place::PictureRow);
    EXPECT_TRUE(over.wanted && over.overBound);
    EXPECT_EQ(over.format, Format::Jpeg);
    EXPECT_EQ(over.width, 1200);
    EXPECT_EQ(over.height, 900);
    // about 240 kB, as photos at quality 85 take
    EXPECT_NEAR(static_cast<double>(over.estimatedBytes), 240'000, 10'000);

    const Plan within = planCopy(photo(Format::Jpeg, 1200, 900), Place::PictureRow);
    EXPECT_FALSE(within.wanted || within.overBound);

    Facts located = photo(Format::Jpeg, 1200, 900);
    located.position = true;
    const Plan stripped = planCopy(located, Place::PictureRow);
    EXPECT_TRUE(stripped.wanted && stripped.position && !stripped.overBound);
    EXPECT_EQ(stripped.width, 1200);
    EXPECT_EQ(stripped.estimatedBytes, located.bytes);  // its metadata gone, its pixels kept

    Facts talkative = photo(Format::Jpeg, 1200, 900);
    talkative.otherMetadata = true;
    talkative.foreignProfile = true;
    EXPECT_FALSE(planCopy(talkative, Place::PictureRow).wanted);

    for (Format f : {Format::Heic, Format::Tiff}) {
        const Plan small = planCopy(photo(f, 40, 30), Place::PictureRow);
        EXPECT_TRUE(small.wanted && small.unshownFormat && !small.overBound);
        EXPECT_EQ(small.format, Format::Jpeg);
        EXPECT_EQ(small.width, 40);
    }
}

TEST(PlanCopy, KeepsFormatsBrowsersShowAndMakesStillGifsPng) {
    const struct {
        Format in;
        Format out;
    } rows[] = {{Format::Png, Format::Png},   {Format::WebP, Format::WebP},
                {Format::Gif, Format::Png},   {Format::Bmp, Format::Png},
                {Format::Heic, Format::Jpeg}, {Format::Tiff, Format::Jpeg}};
    for (const auto& row : rows) {
        const Plan p = planCopy(photo(row.in, 3000, 2000), Place::Heading);
        EXPECT_TRUE(p.wanted);
        EXPECT_EQ(p.format, row.out) << static_cast<int>(row.in);
        EXPECT_EQ(p.width, 800);
        EXPECT_EQ(p.height, 533);
        EXPECT_GT(p.estimatedBytes, 0U);
    }
}

TEST(PlanCopy, NeverOffersOneForAnimationsSvgIcoOrTheUnreadable) {
    Facts moving = photo(Format::Gif, 1600, 1200);
    moving.animated = true;
    const Plan tooBig = planCopy(moving, Place::PictureRow);
    EXPECT_TRUE(tooBig.animatedTooBig);
    EXPECT_FALSE(tooBig.wanted);
    EXPECT_EQ(tooBig.width, 1600);  // never re-encoded, so never smaller

    moving.position = true;
    const Plan located = planCopy(moving, Place::PictureRow);
    EXPECT_TRUE(located.wanted && located.animatedTooBig);
    EXPECT_EQ(located.format, Format::Gif);

    for (Format f : {Format::Svg, Format::Ico, Format::Other}) {
        EXPECT_FALSE(planCopy(photo(f, 5000, 5000), Place::LinkDots).wanted);
    }
    Facts broken = photo(Format::Jpeg, 5000, 5000);
    broken.readable = false;
    EXPECT_FALSE(planCopy(broken, Place::LinkDots).wanted);
}

TEST(JpegReduction, DecodesAtTheSmallestPowerOfTwoFractionStillLargeEnough) {
    EXPECT_EQ(jpegReduction({4032, 3024}, {1200, 900}), 2);
    EXPECT_EQ(jpegReduction({8000, 6000}, {1200, 900}), 4);
    EXPECT_EQ(jpegReduction({4032, 3024}, {800, 600}), 4);
    EXPECT_EQ(jpegReduction({4032, 3024}, {48, 36}), 8);
    EXPECT_EQ(jpegReduction({1300, 975}, {1200, 900}), 1);
    // 2401 / 2 rounds up to 1201: still enough
    EXPECT_EQ(jpegReduction({2401, 1801}, {1200, 900}), 2);
    EXPECT_EQ(jpegReduction({2397, 1797}, {1200, 900}), 1);
}

TEST(Notes, SayTheSizeWithADecimalCommaThePositionAndTheFormat) {
    EXPECT_EQ(sizeText(800), "800 Bytes");
    EXPECT_EQ(sizeText(240'400), "240 kB");
    EXPECT_EQ(sizeText(999'499), "999 kB");
    EXPECT_EQ(sizeText(999'600), "1,0 MB");
    EXPECT_EQ(sizeText(5'100'000), "5,1 MB");
    EXPECT_EQ(sizeText(5'149'999), "5,1 MB");
    EXPECT_EQ(sizeText(12'960'000), "13,0 MB");

    Facts f = photo(Format::Jpeg, 4032, 3024);
    f.bytes = 5'100'000;
    f.position = true;
    EXPECT_EQ(
        notesFor(f, "urlaub.jpg"),
        (std::vector<std::string>{"urlaub.jpg ist 5,1 MB groß: Besucher warten lange darauf.",
                                  "urlaub.jpg verrät, wo es aufgenommen wurde (GPS-Position)."}));
    Facts heic = photo(Format::Heic, 400, 300);
    heic.bytes = kLargeBytes;  // not over
    EXPECT_EQ(notesFor(heic, "urlaub.heic"),
              std::vector<std::string>{"urlaub.heic zeigen die meisten Browser nicht."});
    heic.bytes = kLargeBytes + 1;
    EXPECT_EQ(notesFor(heic, "urlaub.heic").size(), 2U);
    EXPECT_EQ(notesFor(photo(Format::Tiff, 10, 10), "scan.tif"),
              std::vector<std::string>{"scan.tif zeigen die meisten Browser nicht."});
    EXPECT_TRUE(notesFor(photo(Format::Png, 10, 10), "logo.png").empty());

    // the question before a copy: the size only where it changes, the
    // position only where there is one, the format only where browsers fail
    const Plan row = planCopy(f, Place::PictureRow);
    EXPECT_EQ(copyQuestion(f, row, "urlaub.jpg"),
              "urlaub.jpg ist 4032 × 3024 Pixel und 5,1 MB groß. Für die Seite eine Kopie mit "
              "1200 × 900 Pixeln ohne GPS-Position anlegen (etwa " +
                  sizeText(row.estimatedBytes) + ")?");
    Facts located = photo(Format::Jpeg, 1200, 900);
    located.bytes = 400'000;
    located.position = true;
    EXPECT_EQ(copyQuestion(located, planCopy(located, Place::PictureRow), "weg.jpg"),
              "weg.jpg ist 1200 × 900 Pixel und 400 kB groß. Für die Seite "
              "eine Kopie ohne GPS-Position anlegen (etwa 400 kB)?");
    heic.width = 4032;
    heic.height = 3024;
    const std::string asked = copyQuestion(heic, planCopy(heic, Place::Heading), "urlaub.heic");
    const std::string before =
        "urlaub.heic ist 4032 × 3024 Pixel und 1,0 MB groß. Die "
        "meisten Browser zeigen HEIC-Bilder nicht. Für die Seite eine "
        "Kopie mit 800 × 600 Pixeln anlegen (etwa ";
    EXPECT_EQ(asked.substr(0, before.size()), before);
}

}  // namespace
}  // namespace velmora::pictures
