// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page generator: turns the page settings into the page's lines
// (CodeList), which the output file holds (generator/OutputFile.h).
//
//   settings ──writePage──▶ CodeList ──composeFileBytes──▶ bytes ──writeOutputFile──▶ file
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/PageSettings.h"

namespace velmora {

/// The lines of the last generated page, without line terminators.
class CodeList {
public:
    /// The most lines the list takes. Memory is overcommitted here, so a page
    /// of billions of lines (a spacing count of two billion) would not fail to
    /// allocate: it would grow until the system ends the program and
    /// everything the user typed is lost. A page typed by hand has a few
    /// hundred lines; one of a million "<br>" lines, shown on "HTML Code" as
    /// well, brings the whole program to about 310 MiB, well under 1 GiB.
    static constexpr std::uint64_t kMaxLines = 1'000'000;

    /// Appends a line; a line beyond kMaxLines, or failing to store it, gives
    /// "Unable to insert a line".
    void add(std::string line);
    void clear() noexcept { lines_.clear(); }
    /// Makes room for `count` lines at once.
    void reserve(std::size_t count);
    [[nodiscard]] const std::vector<std::string>& lines() const noexcept { return lines_; }
    [[nodiscard]] std::size_t size() const noexcept { return lines_.size(); }

private:
    std::vector<std::string> lines_;
};

/// The font size each heading size 1 to 6 writes the heading in; the reader
/// takes it back.
inline constexpr std::array<int, 6> kHeadingFontSizes{3, 4, 5, 6, 8, 10};

/// The number of lines writePage writes for `s`, counted without building
/// any of them.
[[nodiscard]] std::uint64_t pageLineCount(const PageSettings& s) noexcept;

/// Empties `out` and writes every line of the page into it. A page of more
/// than CodeList::kMaxLines lines gives "Unable to insert a line" before any
/// line is written.
void writePage(const PageSettings& s, CodeList& out);

}  // namespace velmora
