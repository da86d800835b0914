// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Differential fuzzing of the spin value reading: every input is read by
// velmora::spinValue and by the reference below, which follows the reading
// rules on its own terms (std::from_chars instead of a digit loop), so that a
// shared misreading of the rules is unlikely to hide in both.
//
// Each input is tried twice: as raw bytes, and rebuilt into something close to
// a number (blanks, a prefix, digits, rarely a stray character), because raw
// bytes almost never form a valid number near the 32-bit limits.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

#include "settings/PageSettings.h"

namespace {

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

bool isHexDigit(char c) {
    return isDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

template <class Pred>
bool allOf(std::string_view s, Pred p) {
    for (char c : s) {
        if (!p(c)) return false;
    }
    return true;
}

// The digits as an unsigned number, or nothing when they overflow 64 bits.
bool parseUnsigned(std::string_view digits, int base, std::uint64_t& out) {
    const char* first = digits.data();
    const char* end = first + digits.size();
    const auto [ptr, ec] = std::from_chars(first, end, out, base);
    return ec == std::errc{} && ptr == end;
}

std::int32_t referenceHex(std::string_view digits) {
    std::uint64_t v = 0;
    if (digits.empty() || !allOf(digits, isHexDigit) || !parseUnsigned(digits, 16, v)) return 0;
    if (v > 0xFFFFFFFFULL) return 0;
    // the 32 bits are the result, so FFFFFFFF is -1
    const auto bits = static_cast<std::uint32_t>(v);
    return bits >= 0x80000000U ? -static_cast<std::int32_t>(~bits) - 1
                               : static_cast<std::int32_t>(bits);
}

std::int32_t referenceDecimal(std::string_view s) {
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s = s.substr(1);
    }
    std::uint64_t v = 0;
    if (s.empty() || !allOf(s, isDecimalDigit) || !parseUnsigned(s, 10, v)) return 0;
    if (negative)
        return v <= 2147483648ULL ? static_cast<std::int32_t>(-static_cast<std::int64_t>(v)) : 0;
    return v <= 2147483647ULL ? static_cast<std::int32_t>(v) : 0;
}

std::int32_t reference(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return 0;
    const std::string_view s = text.substr(start);
    if (s[0] == '$' || s[0] == 'x' || s[0] == 'X') return referenceHex(s.substr(1));
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        return referenceHex(s.substr(2));
    }
    return referenceDecimal(s);
}

std::string nearlyANumber(const std::uint8_t* data, std::size_t size) {
    static constexpr std::string_view kPrefixes[] = {"", "+", "-", "$", "x", "X", "0x", "0X"};
    static constexpr std::string_view kDigits = "0123456789abcdefABCDEF";
    static constexpr std::string_view kStray = " ,-+.xg\t";
    std::string out;
    if (size == 0) return out;
    out.append(data[0] & 3U, ' ');
    out += kPrefixes[(data[0] >> 2U) & 7U];
    for (std::size_t i = 1; i < size; ++i) {
        const std::uint8_t b = data[i];
        out += b >= 0xF8 ? kStray[b & 7U] : kDigits[b % (b >= 0x80 ? 10U : kDigits.size())];
    }
    return out;
}

void compare(std::string_view text) {
    const std::int32_t got = velmora::spinValue(text);
    const std::int32_t want = reference(text);
    if (got != want) {
        std::fprintf(stderr, "spin value mismatch for \"%.*s\": read %d, reference %d\n",
                     static_cast<int>(text.size()), text.data(), got, want);
        std::abort();
    }
    // What a step writes back into the field must read as the same number.
    velmora::SpinField field;
    field.setValue(got);
    if (field.value() != got) {
        std::fprintf(stderr, "spin field does not read back %d (text \"%s\")\n", got,
                     field.text.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    compare(std::string_view(reinterpret_cast<const char*>(data), size));
    compare(nearlyANumber(data, size));
    return 0;
}
