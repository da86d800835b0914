// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/PageFile.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

#include "generator/OutputFile.h"
#include "settings/Failure.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// The last entry of a list, selected; an empty list keeps its selection.
void selectLast(StringList& list) {
    if (!list.items.empty()) list.selected = list.count() - 1;
}

// A file by its real place, so that a name reached through a linked folder
// is the same file. The finish replaces what a link at the name points to,
// so links count by their target too.
std::string realPath(const fs::path& absolute) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(absolute, error);
    return (error ? absolute.lexically_normal() : real).string();
}

// The one place that moves the working directory, after the page's folder.
void enterFolder(const fs::path& folder, const fs::path& asGiven) {
    std::error_code error;
    fs::current_path(folder, error);
    if (error) {
        throw Failure("Der Ordner " + asGiven.string() +
                      " kann nicht geöffnet werden: " + error.message());
    }
}

std::vector<std::string> linesOf(const PageSettings& s) {
    CodeList lines;
    writePage(s, lines);
    return lines.lines();
}

// Edit19 and html/htm for the file `name`, so that the finish writes it
// again. A name of another extension keeps all but that extension, and the
// finish writes a page beside it.
void nameTheFile(const std::string& name, PageSettings& s) {
    s.html = !name.ends_with(".htm");
    if (name.ends_with(".html") || name.ends_with(".htm")) {
        s.Edit19 = name.substr(0, name.rfind('.'));
        return;
    }
    const std::size_t dot = name.rfind('.');
    s.Edit19 = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

std::string outputFileName(const PageSettings& s) { return s.Edit19 + (s.html ? ".html" : ".htm"); }

void selectLastEntries(PageSettings& s) {
    if (!s.ListBox2.items.empty()) {
        s.Edit3 = s.ListBox2.items.back();
        s.Edit4 = s.ListBox5.items.back();
    }
    selectLast(s.ListBox2);
    selectLast(s.ListBox1);
    selectLast(s.ListBox3);
}

void SpeedButton9Click(PageSettings& s, CodeList& out, const std::string& folder) {
    writePage(s, out);
    selectLastEntries(s);
    writeOutputFile(folder, outputFileName(s), composeFileBytes(out.lines()));
}

PageFile::PageFile(std::string folder)
    : folder_(std::move(folder)), lastPage_(linesOf(PageSettings{})) {}

std::string PageFile::startFolder() {
    std::error_code error;
    const fs::path here = fs::current_path(error);
    return error ? std::string("/") : here.string();
}

std::string PageFile::outputPath(const PageSettings& s) const {
    return (fs::path(folder_) / outputFileName(s)).lexically_normal().string();
}

bool PageFile::wouldReplaceForeignFile(const PageSettings& s) const {
    const std::string name = outputFileName(s);
    const std::string path = outputPath(s);
    std::error_code error;
    if (!fs::is_regular_file(path, error) || known_.contains(realPath(path))) return false;
    try {
        static_cast<void>(readPage(readPageFile(path, name), name));
        return false;
    } catch (const std::exception&) {
        return true;  // unreadable, too large or another page: the user's own
    }
}

void PageFile::finish(PageSettings& s, CodeList& out) {
    SpeedButton9Click(s, out, folder_);
    lastPage_ = out.lines();
    lastPath_ = realPath(outputPath(s));
    known_.insert(lastPath_);
}

bool PageFile::holdsUnsaved(const PageSettings& s) const {
    try {
        return linesOf(s) != lastPage_;
    } catch (const Failure&) {
        return true;  // a page too large to write was never written
    }
}

OpenedPage PageFile::read(const std::string& path) const {
    const std::string absolute = (fs::path(folder_) / path).lexically_normal().string();
    const std::string name = fs::path(path).filename().string();
    ReadPage page = readPage(readPageFile(absolute, name), name);
    return {absolute, std::move(page)};
}

void PageFile::open(OpenedPage opened, PageSettings& s, CodeList& out) {
    const fs::path file(opened.path);
    std::string real = realPath(file);
    std::string folder = realPath(file.parent_path());
    enterFolder(folder, file.parent_path());
    folder_ = std::move(folder);
    s = std::move(opened.page.settings);
    nameTheFile(file.filename().string(), s);
    selectLastEntries(s);
    out = std::move(opened.page.lines);
    lastPage_ = out.lines();
    lastPath_ = real;
    known_.insert(std::move(real));
}

}  // namespace velmora
