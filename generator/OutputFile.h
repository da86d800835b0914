#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// Appends a UTF-8 text as Windows-1252 bytes; a character that Windows-1252
/// cannot hold becomes a decimal character reference such as "&#321;".
void appendWindows1252(std::string& out, std::string_view utf8);

/// The bytes of the output file: every line in Windows-1252, each followed by
/// CR LF, the last one included.
[[nodiscard]] std::string composeFileBytes(const std::vector<std::string>& lines);

/// Replaces the file `name` (relative to the working directory) by `bytes`.
/// The old file stays untouched until every byte is written and flushed.
/// Throws Failure "Cannot create file <name>" or "Stream write error".
void writeOutputFile(const std::string& name, std::string_view bytes);

}  // namespace velmora
