// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Test pictures made by real tools: Qt draws a photo-like pattern whose
// corners tell which way is up, ImageMagick turns and converts it,
// exiftool tags it, heif-enc makes a HEIC of it. And what those tools, and
// Exiv2, then find in a copy.
#pragma once

#include <QColor>
#include <QImage>
#include <filesystem>
#include <string>

namespace velmora::pictures::test {

namespace fs = std::filesystem;

/// A new empty folder, removed by the caller.
[[nodiscard]] fs::path scratchFolder();

/// Runs `command` through the shell; its exit status (-1 when it did not run).
int run(const std::string& command);
/// What `command` printed on standard output.
[[nodiscard]] std::string output(const std::string& command);
/// ImageMagick's convert by its full path: another may come first on PATH.
inline constexpr const char* kConvert = "/usr/bin/convert";

/// A `width` × `height` picture as a viewer should see it: a noisy gradient
/// (so that it compresses like a photo), a red block in the top left
/// corner, a blue one in the top right, a flat patch of kPatch in the middle.
[[nodiscard]] QImage viewedPattern(int width, int height);
inline const QColor kPatch(200, 120, 60);

/// Whether `image` shows viewedPattern's corners where they belong.
[[nodiscard]] bool upright(const QImage& image);
/// The colour in the middle of `image`, averaged over a few pixels.
[[nodiscard]] QColor middle(const QImage& image);

/// The file's bytes.
[[nodiscard]] std::string bytesOf(const fs::path& file);
/// Writes `bytes` to `file`.
void writeBytes(const fs::path& file, const std::string& bytes);

/// The tags exiftool finds, one "GROUP:NAME" a line (-G1 -s), without the
/// file's own (System, File, Composite, and the JFIF/PNG/RIFF layout).
[[nodiscard]] std::string exiftoolTags(const fs::path& file);
/// How many EXIF, XMP and IPTC entries Exiv2 reads.
[[nodiscard]] int exiv2Entries(const fs::path& file);

/// The ICC profile of Display P3, as Qt writes it, in a file for exiftool.
[[nodiscard]] fs::path displayP3Profile(const fs::path& folder);

}  // namespace velmora::pictures::test
