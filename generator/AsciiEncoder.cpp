// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "generator/AsciiEncoder.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

namespace velmora {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isAscii(char b) noexcept { return static_cast<unsigned char>(b) < 0x80; }

bool isContinuation(unsigned char b) noexcept { return (b & 0xC0U) == 0x80U; }

// Decodes one character at s[i] and advances i; malformed input gives U+FFFD.
char32_t decodeUtf8(std::string_view s, std::size_t& i) noexcept {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    int extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1, c = b0 & 0x1FU, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2, c = b0 & 0x0FU, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3, c = b0 & 0x07U, min = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || !isContinuation(static_cast<unsigned char>(s[i]))) return kReplacement;
        c = (c << 6U) | (static_cast<unsigned char>(s[i++]) & 0x3FU);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
    return c;
}

void appendReference(std::string& out, char32_t c) {
    char digits[8];  // U+10FFFF is 1114111, seven digits
    const auto end =
        std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(c)).ptr;
    out += "&#";
    out.append(digits, end);
    out += ';';
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
    const auto byte = [&out](std::uint32_t b) { out += static_cast<char>(b); };
    const auto v = static_cast<std::uint32_t>(c);
    if (v < 0x80) {
        byte(v);
        return;
    }
    if (v < 0x800) {
        byte(0xC0U | (v >> 6U));
    } else if (v < 0x10000) {
        byte(0xE0U | (v >> 12U));
        byte(0x80U | ((v >> 6U) & 0x3FU));
    } else {
        byte(0xF0U | (v >> 18U));
        byte(0x80U | ((v >> 12U) & 0x3FU));
        byte(0x80U | ((v >> 6U) & 0x3FU));
    }
    byte(0x80U | (v & 0x3FU));
}

namespace {

// The character of a reference "&#N;" at the start of `s` as appendReference
// writes it, with its length; 0 when `s` starts with no such reference.
std::pair<char32_t, std::size_t> referenceAt(std::string_view s) noexcept {
    if (!s.starts_with("&#") || s.size() < 3 || s[2] < '1' || s[2] > '9') return {0, 0};
    std::uint32_t v = 0;
    std::size_t i = 2;
    for (; i < s.size() && i < 10 && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + static_cast<std::uint32_t>(s[i] - '0');
    }
    const bool character = v >= 0x80 && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF);
    if (i >= s.size() || s[i] != ';' || !character) return {0, 0};
    return {static_cast<char32_t>(v), i + 1};
}

// Windows-1252 from 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void appendAsAscii(std::string& out, std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        // runs of ASCII are copied as they stand
        std::size_t j = i;
        while (j < utf8.size() && isAscii(utf8[j])) ++j;
        out.append(utf8.substr(i, j - i));
        i = j;
        if (i < utf8.size()) appendReference(out, decodeUtf8(utf8, i));
    }
}

std::string fromAscii(std::string_view ascii) {
    std::string out;
    out.reserve(ascii.size());
    std::size_t i = 0;
    while (i < ascii.size()) {
        const std::size_t amp = ascii.find("&#", i);
        if (amp == std::string_view::npos) break;
        out.append(ascii.substr(i, amp - i));
        const auto [c, length] = referenceAt(ascii.substr(amp));
        if (length == 0) {
            out += '&';
            i = amp + 1;
        } else {
            appendUtf8(out, c);
            i = amp + length;
        }
    }
    out.append(ascii.substr(std::min(i, ascii.size())));
    return out;
}

void appendWindows1252AsAscii(std::string& out, std::string_view bytes) {
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x80) {
            out += b;
        } else {
            appendReference(out, u < 0xA0 ? kWindows1252High[u - 0x80] : char32_t{u});
        }
    }
}

}  // namespace velmora
