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

}  // namespace velmora
