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
// or from another working directory is the same file. The finish replaces
// what a link at the name points to, so links count by their target too.
std::string realPath(const std::string& name) {
    std::error_code error;
    const fs::path absolute = fs::absolute(name, error);
    if (error) return name;
    const fs::path real = fs::weakly_canonical(absolute, error);
    return (error ? absolute.lexically_normal() : real).string();
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

void SpeedButton9Click(PageSettings& s, CodeList& out) {
    writePage(s, out);
    selectLastEntries(s);
    writeOutputFile(outputFileName(s), composeFileBytes(out.lines()));
}

PageFile::PageFile() : lastPage_(linesOf(PageSettings{})) {}

bool PageFile::wouldReplaceForeignFile(const PageSettings& s) const {
    const std::string name = outputFileName(s);
    std::error_code error;
    if (!fs::is_regular_file(name, error) || known_.contains(realPath(name))) return false;
    try {
        static_cast<void>(readPage(readPageFile(name, name), name));
        return false;
    } catch (const std::exception&) {
        return true;  // unreadable, too large or another page: the user's own
    }
}

void PageFile::finish(PageSettings& s, CodeList& out) {
    SpeedButton9Click(s, out);
    lastPage_ = out.lines();
    lastPath_ = realPath(outputFileName(s));
    known_.insert(lastPath_);
}

bool PageFile::holdsUnsaved(const PageSettings& s) const {
    try {
        return linesOf(s) != lastPage_;
    } catch (const Failure&) {
        return true;  // a page too large to write was never written
    }
}

OpenedPage PageFile::read(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    ReadPage page = readPage(readPageFile(path, name), name);
    return {path, std::move(page)};
}

void PageFile::open(OpenedPage opened, PageSettings& s, CodeList& out) {
    const fs::path file(opened.path);
    std::string real = realPath(opened.path);
    if (file.has_parent_path()) {
        std::error_code error;
        fs::current_path(file.parent_path(), error);
        if (error) {
            throw Failure("Der Ordner " + file.parent_path().string() +
                          " kann nicht geöffnet werden: " + error.message());
        }
    }
    s = std::move(opened.page.settings);
    nameTheFile(file.filename().string(), s);
    selectLastEntries(s);
    out = std::move(opened.page.lines);
    lastPage_ = out.lines();
    lastPath_ = real;
    known_.insert(std::move(real));
}

}  // namespace velmora
