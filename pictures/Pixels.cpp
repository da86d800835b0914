// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Pixels.h"

#include <QColorSpace>
#include <QImageReader>
#include <QString>
#include <QTransform>
#include <cstdint>

#include "pictures/Facts.h"
#include "pictures/Heif.h"
#include "settings/Failure.h"

namespace velmora::pictures {
namespace {

int ceilDiv(int a, int b) { return (a + b - 1) / b; }

[[noreturn]] void tooLarge(const std::string& path) {
    throw Failure(pictureName(path) +
                  " ist zu groß zum Verkleinern: mehr als 120 Millionen Pixel.");
}

[[noreturn]] void broken(const std::string& path) {
    throw Failure(pictureName(path) + " lässt sich nicht lesen: die Datei ist beschädigt.");
}

QImage decodeWithQt(const std::string& path, Format format, Size stored, Size wanted) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false);
    // libjpeg's accurate transform and smooth upsampling of the colours
    reader.setQuality(100);
    if (format == Format::Jpeg) {
        const int d = jpegReduction(stored, wanted);
        if (d > 1) {
            reader.setScaledSize(QSize(ceilDiv(stored.width, d), ceilDiv(stored.height, d)));
        }
    }
    QImage image = reader.read();
    if (image.isNull()) broken(path);
    return image;
}

QImage inSrgb(QImage image) {
    const QColorSpace srgb(QColorSpace::SRgb);
    if (!image.colorSpace().isValid() || image.colorSpace() == srgb) return image;
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32) {
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
    image.convertToColorSpace(srgb);
    return image;
}

}  // namespace

QImage turned(const QImage& stored, int orientation) {
    QTransform quarter;
    quarter.rotate(90);
    switch (orientation) {
        case 2:
            return stored.mirrored(true, false);
        case 3:
            return stored.mirrored(true, true);
        case 4:
            return stored.mirrored(false, true);
        case 5:
            return stored.transformed(quarter).mirrored(true, false);
        case 6:
            return stored.transformed(quarter);
        case 7:
            return stored.transformed(quarter).mirrored(false, true);
        case 8:
            return stored.transformed(QTransform().rotate(270));
        default:
            return stored;
    }
}

int jpegReduction(Size stored, Size wanted) noexcept {
    int d = 1;
    while (d < 8 && ceilDiv(stored.width, d * 2) >= wanted.width &&
           ceilDiv(stored.height, d * 2) >= wanted.height) {
        d *= 2;
    }
    return d;
}

QImage viewedPixels(const std::string& path, Format format, int orientation, Size size) {
    const bool sideways = orientation >= 5 && format != Format::Heic;
    const Size wanted = sideways ? Size{size.height, size.width} : size;
    QImage image;
    if (format == Format::Heic) {
        const HeifHeader header = readHeifHeader(path);
        if (static_cast<std::int64_t>(header.width) * header.height > kMaxPixels) tooLarge(path);
        image = decodeHeif(path);
    } else {
        const QSize stored = QImageReader(QString::fromStdString(path)).size();
        if (!stored.isValid()) broken(path);
        if (static_cast<std::int64_t>(stored.width()) * stored.height() > kMaxPixels) {
            tooLarge(path);
        }
        image = decodeWithQt(path, format, {stored.width(), stored.height()}, wanted);
    }
    // Qt's transforms do not all carry the colour space along
    const QColorSpace space = image.colorSpace();
    if (image.width() != wanted.width || image.height() != wanted.height) {
        image = image.scaled(wanted.width, wanted.height, Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    }
    image.setColorSpace(space);
    image = inSrgb(std::move(image));
    return format == Format::Heic ? image : turned(image, orientation);
}

}  // namespace velmora::pictures
