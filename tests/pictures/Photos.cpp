// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Photos.h"

#include <stdio.h>   // popen
#include <stdlib.h>  // mkdtemp
#include <sys/wait.h>

#include <QColorSpace>
#include <QFile>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"  // Exiv2 0.27's std::auto_ptr
#include <exiv2/exiv2.hpp>

namespace velmora::pictures::test {

fs::path scratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "velmora-pictures-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

QImage viewedPattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525U + 1013904223U;
            const int n = static_cast<int>(noise >> 28) - 8;
            line[x] = qRgb(qBound(0, x * 255 / width + n, 255),
                           qBound(0, y * 255 / height + n, 255), qBound(0, 128 + n, 255));
        }
    }
    const int bw = width / 5;
    const int bh = height / 5;
    for (int y = 0; y < bh; ++y) {
        for (int x = 0; x < bw; ++x) {
            image.setPixel(x, y, qRgb(230, 20, 20));
            image.setPixel(width - 1 - x, y, qRgb(20, 20, 230));
        }
    }
    for (int y = height * 2 / 5; y < height * 3 / 5; ++y) {
        for (int x = width * 2 / 5; x < width * 3 / 5; ++x) image.setPixel(x, y, kPatch.rgb());
    }
    return image;
}

namespace {

QColor at(const QImage& image, double fx, double fy) {
    return image.pixelColor(static_cast<int>(fx * (image.width() - 1)),
                            static_cast<int>(fy * (image.height() - 1)));
}
bool red(const QColor& c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }
bool blue(const QColor& c) { return c.blue() > 180 && c.red() < 80 && c.green() < 80; }

}  // namespace

bool upright(const QImage& image) {
    return red(at(image, 0.05, 0.05)) && blue(at(image, 0.95, 0.05)) &&
           !red(at(image, 0.05, 0.95)) && !blue(at(image, 0.05, 0.95)) &&
           !red(at(image, 0.95, 0.95)) && !blue(at(image, 0.95, 0.95));
}

QColor middle(const QImage& image) {
    int r = 0, g = 0, b = 0, n = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx, ++n) {
            const QColor c = image.pixelColor(image.width() / 2 + dx, image.height() / 2 + dy);
            r += c.red();
            g += c.green();
            b += c.blue();
        }
    }
    return {r / n, g / n, b / n};
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string exiftoolTags(const fs::path& file) {
    const std::string all = output("exiftool -a -G1 -s -s '" + file.string() + "' 2>&1");
    std::istringstream lines(all);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        const std::string group = line.substr(0, line.find(']') + 1);
        // the file's layout: its resolution, a GIF's frames and loop
        static const std::array<std::string, 8> kFileOwn = {
            "[ExifTool]", "[System]", "[File]", "[Composite]", "[JFIF]", "[PNG", "[RIFF]", "[GIF]"};
        bool own = false;
        for (const std::string& g : kFileOwn) own = own || group.rfind(g, 0) == 0;
        if (!own) kept += line + "\n";
    }
    return kept;
}

int exiv2Entries(const fs::path& file) {
    auto image = Exiv2::ImageFactory::open(file.string());
    image->readMetadata();
    return static_cast<int>(image->exifData().count() + image->xmpData().count() +
                            image->iptcData().count());
}

fs::path displayP3Profile(const fs::path& folder) {
    fs::path file = folder / "display-p3.icc";
    QFile out(QString::fromStdString(file.string()));
    if (out.open(QIODevice::WriteOnly)) out.write(QColorSpace(QColorSpace::DisplayP3).iccProfile());
    return file;
}

}  // namespace velmora::pictures::test

#pragma GCC diagnostic pop
