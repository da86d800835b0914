#include <array>
#include <cstdint>

#include "generator/OutputFile.h"

namespace velmora {
namespace {

// The characters that Windows-1252 puts at 0x80 … 0x9F; 0 where it has none.
constexpr std::array<char32_t, 32> kHighBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int windows1252Byte(char32_t c) noexcept {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
        if (kHighBlock[i] == c && c != 0) return static_cast<int>(0x80 + i);
    }
    return -1;
}

constexpr char32_t kReplacement = 0xFFFD;

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

}  // namespace

void appendWindows1252(std::string& out, std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            // runs of ASCII are copied as they stand
            std::size_t j = i;
            while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) < 0x80) ++j;
            out.append(utf8.substr(i, j - i));
            i = j;
            continue;
        }
        const char32_t c = decodeUtf8(utf8, i);
        if (const int b = windows1252Byte(c); b >= 0) {
            out.push_back(static_cast<char>(b));
        } else {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ';';
        }
    }
}

std::string composeFileBytes(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) total += line.size() + 2;
    std::string bytes;
    bytes.reserve(total);  // Windows-1252 is never longer than UTF-8, except references
    for (const std::string& line : lines) {
        appendWindows1252(bytes, line);
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace velmora
