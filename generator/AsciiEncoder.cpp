// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "generator/AsciiEncoder.h"

#include <charconv>
#include <cstdint>

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

}  // namespace velmora
