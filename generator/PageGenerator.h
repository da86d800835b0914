// The finish: turns the page settings into the page's lines (CodeList) and
// saves them as the output file.
//
//   settings ──writePage──▶ CodeList ──composeFileBytes──▶ bytes ──writeOutputFile──▶ file
#pragma once

#include <string>
#include <vector>

#include "settings/PageSettings.h"

namespace velmora {

/// The lines of the last generated page, without line terminators.
class CodeList {
public:
    /// Appends a line; failing to store it gives "Unable to insert a line".
    void add(std::string line);
    void clear() noexcept { lines_.clear(); }
    [[nodiscard]] const std::vector<std::string>& lines() const noexcept { return lines_; }
    [[nodiscard]] std::size_t size() const noexcept { return lines_.size(); }

private:
    std::vector<std::string> lines_;
};

/// Empties `out` and writes every line of the page into it. Leaves the last
/// link in Edit3/Edit4 and the last link, text line and picture selected.
void writePage(PageSettings& s, CodeList& out);

/// Edit19 followed by ".html" or ".htm".
[[nodiscard]] std::string outputFileName(const PageSettings& s);

/// The whole finish: writePage, then the output file. On failure `out` keeps
/// the lines written so far.
void SpeedButton9Click(PageSettings& s, CodeList& out);

}  // namespace velmora
