// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzzing of the page reader: no input may crash it, hang it or leak, and
// whatever it takes for a page must be one. The settings it read write a
// page that reads back to the same settings; where the input is in the form
// the generator writes (plain ASCII, CR LF), that page is the input itself,
// byte for byte. The seeds are pages the generator wrote, so most inputs are
// pages with a small change.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "generator/OutputFile.h"
#include "generator/PageReader.h"
#include "settings/Failure.h"

namespace {

std::string written(const velmora::PageSettings& s) {
    velmora::CodeList lines;
    velmora::writePage(s, lines);
    return velmora::composeFileBytes(lines.lines());
}

// Plain ASCII without a line feed that lacks its carriage return.
bool inGeneratorsForm(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
    }
    return true;
}

[[noreturn]] void fail(const char* what, std::string_view input) {
    std::fprintf(stderr, "%s for the input of %zu bytes:\n%.*s\n", what, input.size(),
                 static_cast<int>(input.size()), input.data());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    velmora::ReadPage read;
    try {
        read = velmora::readPage(input, "index.html");
    } catch (const velmora::Failure&) {
        return 0;  // refused: no page
    }
    const std::string page = written(read.settings);
    if (velmora::composeFileBytes(read.lines.lines()) != page)
        fail("the lines read are not the page", input);
    if (inGeneratorsForm(input) && page != input)
        fail("a page read does not write back to its bytes", input);
    try {
        if (!(velmora::readPage(page, "index.html").settings == read.settings))
            fail("the page written reads back to other settings", input);
    } catch (const velmora::Failure&) {
        fail("the page written is refused", input);
    }
    return 0;
}
