// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page file the wizard works on: the finish writes it, opening reads one
// back. Both need to know the same three things: the page's folder, which
// files this run has opened or written (those may be replaced without a
// question), and which page was last written or opened (values that would
// write another one are not saved yet).
//
// The page's folder is the one place that says where the page lives: the
// finish writes into it, a chosen picture is named from it, the file
// dialogs open in it, publishing and the preview take it from here. It is
// the folder the program was started in until a page is opened, and then
// that page's; a finish never moves it. The process's working directory
// follows it, for whatever the user starts from the program, but nothing
// reads the working directory to learn where the page lives.
//
//   open:   path ──readPageFile, readPage──▶ OpenedPage ──open──▶ settings, folder
//   finish: settings ──SpeedButton9Click──▶ CodeList ──▶ file in the folder
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

/// The finish itself: writePage, selectLastEntries, then the output file in
/// the absolute `folder`. On failure `out` keeps the lines written so far.
void SpeedButton9Click(PageSettings& s, CodeList& out, const std::string& folder);

/// A page read from a file, not yet taken into the wizard.
struct OpenedPage {
    std::string path;  // absolute
    ReadPage page;
};

class PageFile {
public:
    /// A fresh wizard in the absolute `folder` holds the defaults' page,
    /// which counts as written.
    explicit PageFile(std::string folder);

    /// The folder the program was started in: the page's folder until a
    /// page is opened. The program reads it once, at its start.
    [[nodiscard]] static std::string startFolder();

    /// The page's folder, absolute.
    [[nodiscard]] const std::string& folder() const noexcept { return folder_; }
    /// The absolute path of the file the finish writes.
    [[nodiscard]] std::string outputPath(const PageSettings& s) const;

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

    /// Reads the page at `path`, relative to the page's folder unless it is
    /// absolute. Changes nothing; a file that is no page, or cannot be read,
    /// throws Failure.
    [[nodiscard]] OpenedPage read(const std::string& path) const;

    /// Takes a page read into the wizard, as the finish that wrote it left
    /// the wizard: its folder becomes the page's folder (and the working
    /// directory), Edit19 and html/htm name its file, and `out` holds its
    /// lines. When the folder cannot be entered, throws Failure and changes
    /// nothing.
    void open(OpenedPage opened, PageSettings& s, CodeList& out);

private:
    std::string folder_;
    std::vector<std::string> lastPage_;
    std::string lastPath_;
    std::set<std::string> known_;  // the real paths of the files opened or written
};

}  // namespace velmora
