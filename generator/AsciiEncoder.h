// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// Appends a UTF-8 text as plain ASCII: ASCII bytes as they stand, every
/// character from U+0080 up as a decimal character reference such as "&#228;",
/// and malformed UTF-8 as "&#65533;".
void appendAsAscii(std::string& out, std::string_view utf8);

/// The inverse of appendAsAscii: every reference "&#N;" that it writes (N of
/// 128 or more, in decimal without leading zeros, naming a character) becomes
/// that character in UTF-8; everything else, "&#65;" and "&amp;" included,
/// stays as it stands.
[[nodiscard]] std::string fromAscii(std::string_view ascii);

/// Appends the character `c` (a code point, not a surrogate) in UTF-8.
void appendUtf8(std::string& out, char32_t c);

/// Appends single-byte text in Windows-1252 as appendAsAscii would write it:
/// ASCII as it stands, every byte from 0x80 up as the reference of its
/// character; the five bytes that code page leaves free stand for U+0081,
/// U+008D, U+008F, U+0090 and U+009D.
void appendWindows1252AsAscii(std::string& out, std::string_view bytes);

}  // namespace velmora
