// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Copy.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QString>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include "pictures/Destination.h"
#include "pictures/Facts.h"
#include "pictures/Format.h"
#include "pictures/GifBlocks.h"
#include "pictures/Metadata.h"
#include "pictures/Pixels.h"
#include "pictures/Plan.h"
#include "pictures/Setup.h"
#include "settings/Failure.h"

namespace velmora::pictures {
namespace fs = std::filesystem;
namespace {

struct Cancelled {};

void stopIf(const std::atomic<bool>& cancel) {
    if (cancel.load()) throw Cancelled{};
}

const char* writerFormat(Format f) {
    switch (f) {
        case Format::Png:
            return "png";
        case Format::WebP:
            return "webp";
        case Format::Bmp:
            return "bmp";
        default:
            return "jpeg";
    }
}

QImage onWhite(const QImage& image) {
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    return flat;
}

// Qt's readers keep a PNG's text chunks (XMP among them) and a JPEG's
// comments in the image, and its writers write them back: the pixels go out
// in an image of their own, with nothing but them and their colours.
void encode(const QImage& pixels, Format format, const fs::path& to, const std::string& name) {
    const QImage source =
        format == Format::Jpeg && pixels.hasAlphaChannel() ? onWhite(pixels) : pixels;
    QImage bare(source.constBits(), source.width(), source.height(), source.bytesPerLine(),
                source.format());
    if (!source.colorTable().isEmpty()) bare.setColorTable(source.colorTable());
    QImageWriter writer(QString::fromStdString(to.string()), writerFormat(format));
    if (format == Format::Jpeg) {
        writer.setQuality(85);
        writer.setProgressiveScanWrite(true);
        writer.setOptimizedWrite(true);
    } else if (format == Format::WebP) {
        writer.setQuality(85);
    }
    if (!writer.write(bare)) {
        throw Failure("Die Kopie von " + name +
                      " lässt sich nicht schreiben: " + writer.errorString().toStdString());
    }
}

void copyBytes(const std::string& from, const fs::path& to, Format format) {
    std::ifstream in(from, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.eof() && in.fail()) throw Failure(pictureName(from) + " lässt sich nicht lesen.");
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << (format == Format::Gif ? gifWithoutMetadata(bytes) : bytes);
    out.close();
    if (!out) throw Failure("Die Kopie von " + pictureName(from) + " lässt sich nicht schreiben.");
}

// The original's bytes with its position and other metadata gone; its
// orientation and colour profile stay, so it shows as before.
void strip(const std::string& file, Format format, const fs::path& to) {
    copyBytes(file, to, format);
    if (format == Format::Jpeg || format == Format::Png || format == Format::WebP) {
        stripMetadata(to.string());
    }
}

// Whatever went wrong before, the copy must not carry what it was made to
// leave behind.
void verify(const fs::path& copy, bool pixelsKept, const std::string& name) {
    const Metadata m = readMetadata(copy.string());
    if (m.position || m.other || (!pixelsKept && m.orientation != 1)) {
        throw Failure("Die Kopie von " + name + " trägt noch Metadaten.");
    }
}

std::uint64_t sizeOf(const fs::path& path) { return fs::file_size(path); }

Made copy(const std::string& file, const std::string& pageFolder, Place place,
          const std::atomic<bool>& cancel) {
    const Facts facts = readFacts(file);
    if (!facts.readable) throw Failure(facts.problem);
    const Plan plan = planCopy(facts, place);
    const std::string name = pictureName(file);
    stopIf(cancel);
    PendingFile pending(fs::path(pageFolder) / "bilder");
    Made made;
    made.format = plan.format == Format::Other ? facts.format : plan.format;
    made.width = plan.width != 0 ? plan.width : facts.width;
    made.height = plan.height != 0 ? plan.height : facts.height;
    // SVG and ICO have no plan: their bytes are copied as they are
    const bool anew = !facts.animated && plan.format != Format::Other &&
                      (plan.overBound || plan.format != facts.format);
    if (anew) {
        const int orientation = readMetadata(file).orientation;
        const QImage pixels =
            viewedPixels(file, facts.format, orientation, {plan.width, plan.height});
        stopIf(cancel);
        encode(pixels, plan.format, pending.path(), name);
        made.width = pixels.width();
        made.height = pixels.height();
    }
    // a format browsers do not show must change, whatever it costs
    if (!anew || (browsersShow(facts.format) && sizeOf(pending.path()) > facts.bytes)) {
        strip(file, facts.format, pending.path());
        made = Made{Made::Kind::Done, {}, {}, facts.format, facts.width, facts.height, 0, true};
    }
    verify(pending.path(), made.pixelsKept, name);
    stopIf(cancel);
    const std::string stem = fs::path(file).stem().string();
    made.relativePath =
        "bilder/" + pending.place(stem.empty() ? "bild" : stem, extensionOf(made.format));
    made.bytes = sizeOf(fs::path(pageFolder) / made.relativePath);
    return made;
}

Made failed(std::string message) {
    Made m;
    m.kind = Made::Kind::Failed;
    m.message = std::move(message);
    return m;
}

}  // namespace

Made makeCopy(const std::string& file, const std::string& pageFolder, Place place,
              const std::atomic<bool>& cancel) noexcept {
    try {
        try {
            setUp();
            return copy(file, pageFolder, place, cancel);
        } catch (const Cancelled&) {
            Made m;
            m.kind = Made::Kind::Cancelled;
            return m;
        } catch (const std::bad_alloc&) {
            return failed(pictureName(file) + " ist zu groß für den freien Speicher.");
        } catch (const std::exception& e) {
            return failed(e.what());
        }
    } catch (...) {
        return failed({});  // no memory left for the message
    }
}

}  // namespace velmora::pictures
