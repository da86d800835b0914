// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Heif.h"

#include <libheif/heif.h>

#include <QPointF>
#include <memory>

#include "pictures/Values.h"
#include "settings/Failure.h"

namespace velmora::pictures {
namespace {

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleFree {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct NclxFree {
    void operator()(heif_color_profile_nclx* n) const { heif_nclx_color_profile_free(n); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleFree>;

void check(heif_error e) {
    if (e.code != heif_error_Ok) throw Failure(e.message != nullptr ? e.message : "libheif");
}

struct Opened {
    Context context;
    Handle handle;
};

Opened openHeif(const std::string& path) {
    Opened o;
    o.context.reset(heif_context_alloc());
    if (!o.context) throw Failure("libheif");
    check(heif_context_read_from_file(o.context.get(), path.c_str(), nullptr));
    heif_image_handle* handle = nullptr;
    check(heif_context_get_primary_image_handle(o.context.get(), &handle));
    o.handle.reset(handle);
    return o;
}

// nclx names its primaries by number; libheif gives their chromaticities.
QColorSpace fromNclx(const heif_color_profile_nclx& n) {
    if (n.color_primaries == heif_color_primaries_ITU_R_BT_709_5) return {};
    return QColorSpace(QPointF(n.color_primary_white_x, n.color_primary_white_y),
                       QPointF(n.color_primary_red_x, n.color_primary_red_y),
                       QPointF(n.color_primary_green_x, n.color_primary_green_y),
                       QPointF(n.color_primary_blue_x, n.color_primary_blue_y),
                       QColorSpace::TransferFunction::SRgb);
}

QColorSpace colorSpaceOf(const heif_image_handle* handle) {
    switch (heif_image_handle_get_color_profile_type(handle)) {
        case heif_color_profile_type_prof:
        case heif_color_profile_type_rICC: {
            QByteArray icc(
                static_cast<qsizetype>(heif_image_handle_get_raw_color_profile_size(handle)),
                Qt::Uninitialized);
            check(heif_image_handle_get_raw_color_profile(handle, icc.data()));
            return QColorSpace::fromIccProfile(icc);
        }
        case heif_color_profile_type_nclx: {
            heif_color_profile_nclx* nclx = nullptr;
            check(heif_image_handle_get_nclx_color_profile(handle, &nclx));
            const std::unique_ptr<heif_color_profile_nclx, NclxFree> owned(nclx);
            return fromNclx(*nclx);
        }
        default:
            return {};
    }
}

void releaseImage(void* image) { heif_image_release(static_cast<heif_image*>(image)); }

}  // namespace

HeifHeader readHeifHeader(const std::string& path) {
    const Opened o = openHeif(path);
    HeifHeader h;
    h.width = heif_image_handle_get_width(o.handle.get());
    h.height = heif_image_handle_get_height(o.handle.get());
    h.colorSpace = colorSpaceOf(o.handle.get());
    return h;
}

QImage decodeHeif(const std::string& path) {
    const Opened o = openHeif(path);
    const int w = heif_image_handle_get_width(o.handle.get());
    const int h = heif_image_handle_get_height(o.handle.get());
    if (static_cast<std::int64_t>(w) * h > kMaxPixels) throw Failure("too many pixels");
    const bool alpha = heif_image_handle_has_alpha_channel(o.handle.get()) != 0;
    heif_image* decoded = nullptr;
    check(heif_decode_image(o.handle.get(), &decoded, heif_colorspace_RGB,
                            heif_chroma_interleaved_RGBA, nullptr));
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(decoded, heif_channel_interleaved, &stride);
    // The decoded picture is wrapped, not copied: at 48 million pixels it
    // alone is 192 MB. Four bytes a pixel, a format Qt scales as it is:
    // from three, it would make a converted copy of the whole first.
    QImage image(plane, heif_image_get_width(decoded, heif_channel_interleaved),
                 heif_image_get_height(decoded, heif_channel_interleaved), stride,
                 alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888, releaseImage, decoded);
    if (image.isNull()) {
        heif_image_release(decoded);
        throw Failure("out of memory");
    }
    image.setColorSpace(colorSpaceOf(o.handle.get()));
    return image;
}

}  // namespace velmora::pictures
