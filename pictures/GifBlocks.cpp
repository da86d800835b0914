// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/GifBlocks.h"

#include <cstddef>

#include "settings/Failure.h"

namespace velmora::pictures {
namespace {

constexpr unsigned char kExtension = 0x21;
constexpr unsigned char kImage = 0x2C;
constexpr unsigned char kTrailer = 0x3B;
constexpr unsigned char kApplication = 0xFF;
constexpr unsigned char kComment = 0xFE;

class Blocks {
public:
    explicit Blocks(std::string_view gif) : gif_(gif) {}

    [[nodiscard]] unsigned char byte(std::size_t at) const {
        if (at >= gif_.size()) throw Failure("GIF: unexpected end");
        return static_cast<unsigned char>(gif_[at]);
    }
    // The size of a colour table that `packed` announces, 0 without one.
    [[nodiscard]] static std::size_t tableSize(unsigned char packed) {
        return (packed & 0x80) != 0 ? 3U << ((packed & 0x07) + 1) : 0;
    }
    // Past the sub-blocks that start at `at`, their terminator included.
    [[nodiscard]] std::size_t pastSubBlocks(std::size_t at) const {
        while (byte(at) != 0) at += 1 + byte(at);
        return at + 1;
    }
    [[nodiscard]] std::string_view slice(std::size_t from, std::size_t to) const {
        if (to > gif_.size()) throw Failure("GIF: unexpected end");
        return gif_.substr(from, to - from);
    }

private:
    std::string_view gif_;
};

// Application blocks that play or colour the picture: the loop count and
// the ICC profile.
bool draws(std::string_view applicationId) {
    return applicationId == "NETSCAPE2.0" || applicationId == "ANIMEXTS1.0" ||
           applicationId == "ICCRGBG1012";
}

// Calls `visit(at, end, label, applicationId)` for each block after the
// header and the global colour table; label 0 for a frame.
template <class Visit>
std::size_t walk(const Blocks& b, Visit visit) {
    std::size_t at = 13 + Blocks::tableSize(b.byte(10));
    for (;;) {
        const unsigned char kind = b.byte(at);
        if (kind == kTrailer) return at;
        if (kind == kImage) {
            const std::size_t data = at + 10 + Blocks::tableSize(b.byte(at + 9)) + 1;
            const std::size_t end = b.pastSubBlocks(data);
            visit(at, end, 0, std::string_view());
            at = end;
        } else if (kind == kExtension) {
            const unsigned char label = b.byte(at + 1);
            const std::size_t end = b.pastSubBlocks(at + 2);
            const bool named = label == kApplication && b.byte(at + 2) == 11;
            visit(at, end, label, named ? b.slice(at + 3, at + 14) : std::string_view());
            at = end;
        } else {
            throw Failure("GIF: unknown block");
        }
    }
}

}  // namespace

GifMetadata gifMetadata(std::string_view gif) {
    const Blocks b(gif);
    GifMetadata m;
    walk(b, [&](std::size_t at, std::size_t end, unsigned char label, std::string_view id) {
        if (label == kComment) m.comment = true;
        if (id != "XMP DataXMP") return;
        // the packet is stored raw, its bytes doubling as sub-block lengths,
        // and ends at its closing processing instruction
        const std::string_view raw = b.slice(at + 14, end);
        const std::size_t close = raw.find("<?xpacket end=");
        const std::size_t past = close == std::string_view::npos ? close : raw.find("?>", close);
        m.xmp = std::string(raw.substr(0, past == std::string_view::npos ? 0 : past + 2));
    });
    return m;
}

std::string gifWithoutMetadata(std::string_view gif) {
    const Blocks b(gif);
    std::string out(b.slice(0, 13 + Blocks::tableSize(b.byte(10))));
    walk(b, [&](std::size_t at, std::size_t end, unsigned char label, std::string_view id) {
        const bool dropped = label == kComment || (label == kApplication && !draws(id));
        if (!dropped) out += b.slice(at, end);
    });
    out += static_cast<char>(kTrailer);
    return out;
}

}  // namespace velmora::pictures
