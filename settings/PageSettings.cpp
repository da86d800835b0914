// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/PageSettings.h"

#include <new>

#include "settings/Failure.h"

namespace velmora {
namespace {

int hexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hexadecimal: the 32 bits of the result, so "$FFFFFFFF" is -1.
std::int32_t readHex(std::string_view digits) noexcept {
    if (digits.empty()) return 0;
    std::uint32_t v = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0 || (v >> 28U) != 0) return 0;  // not a digit, or past 32 bits
        v = (v << 4U) | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(v);
}

std::int32_t readDecimal(std::string_view s) noexcept {
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
        if (v > limit) return 0;
    }
    return static_cast<std::int32_t>(negative ? -v : v);
}

}  // namespace

std::int32_t spinValue(std::string_view typedText) noexcept {
    std::string_view s = typedText;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    if (s.starts_with('$') || s.starts_with('x') || s.starts_with('X')) return readHex(s.substr(1));
    if (s.starts_with("0x") || s.starts_with("0X")) return readHex(s.substr(2));
    return readDecimal(s);
}

void StringList::reserveOne() {
    if (items.size() < items.capacity()) return;
    try {
        items.reserve(items.empty() ? 8 : items.size() * 2);
    } catch (const std::bad_alloc&) {
        throw Failure(kListInsertError);
    } catch (const std::length_error&) {
        throw Failure(kListInsertError);
    }
}

}  // namespace velmora
