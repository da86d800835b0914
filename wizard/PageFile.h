// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page file the wizard works on: the finish writes it, opening reads one
// back. Both need to know the same two things: which files this run has
// opened or written (those may be replaced without a question), and which
// page was last written or opened (values that would write another one are
// not saved yet).
//
//   open:   path ──readPageFile, readPage──▶ OpenedPage ──open──▶ settings, working directory
//   finish: settings ──SpeedButton9Click──▶ CodeList ──▶ file
#pragma once

#include <set>
#include <string>
#include <vector>

#include "generator/PageGenerator.h"
#include "generator/PageReader.h"
#include "settings/PageSettings.h"

namespace velmora {

/// Edit19 followed by ".html" or ".htm".
[[nodiscard]] std::string outputFileName(const PageSettings& s);

/// What a written page leaves in the settings: the last link in Edit3/Edit4,
/// and the last link, text line and picture selected.
void selectLastEntries(PageSettings& s);

/// The finish itself: writePage, selectLastEntries, then the output file. On
/// failure `out` keeps the lines written so far.
void SpeedButton9Click(PageSettings& s, CodeList& out);

/// A page read from a file, not yet taken into the wizard.
struct OpenedPage {
    std::string path;  // as given, relative to the working directory it was read from
    ReadPage page;
};

class PageFile {
public:
    /// A fresh wizard holds the defaults' page, which counts as written.
    PageFile();

    /// Whether the finish must ask before it writes: the file it would write
    /// exists, this run has neither opened nor written it, and it is no page
    /// Velmora wrote, so it may be the user's own.
    [[nodiscard]] bool wouldReplaceForeignFile(const PageSettings& s) const;

    /// The finish (SpeedButton9Click); the page it wrote is then the last one.
    void finish(PageSettings& s, CodeList& out);

    /// Whether `s` would write another page than the last one written or
    /// opened.
    [[nodiscard]] bool holdsUnsaved(const PageSettings& s) const;

    /// The real path of the page last written or opened; empty before the
    /// first. What publishing takes to the server.
    [[nodiscard]] const std::string& lastPath() const noexcept { return lastPath_; }

    /// Reads the page at `path`. Changes nothing; a file that is no page, or
    /// cannot be read, throws Failure.
    [[nodiscard]] static OpenedPage read(const std::string& path);

    /// Takes a page read into the wizard, as the finish that wrote it left
    /// the wizard: its folder becomes the working directory, Edit19 and
    /// html/htm name its file, and `out` holds its lines. When the folder
    /// cannot be entered, throws Failure and changes nothing.
    void open(OpenedPage opened, PageSettings& s, CodeList& out);

private:
    std::vector<std::string> lastPage_;
    std::string lastPath_;
    std::set<std::string> known_;  // the real paths of the files opened or written
};

}  // namespace velmora
