// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a page needs on the server: the page and every local file its lines
// name, each under the same relative name, and the names that cannot arrive.
//
//   page ──pageFiles──▶ files in upload order (page last) + problems
#pragma once

#include <string>
#include <vector>

#include "publish/Values.h"

namespace velmora::publish {

/// A name in a page that cannot arrive as the page names it.
struct PageProblem {
    enum class Kind {
        Missing,  // "bild.jpg fehlt"
        Outside,  // "../Bilder/urlaub.jpg liegt außerhalb des Ordners der Seite"
    };
    Kind kind;
    /// As the browser reads it: references decoded, query and fragment gone;
    /// for a name in a linked page, relative to the published page's folder.
    std::string name;

    /// The line the dialog shows for it.
    [[nodiscard]] std::string message() const;
};

struct PageFiles {
    /// Upload order: each file before every page that names it, the page
    /// itself last. Each file once.
    std::vector<LocalFile> files;
    /// In the order the pages name them, each name once.
    std::vector<PageProblem> problems;
};

/// The files the page at the absolute `pagePath` names in `src`, `background`
/// and `href`, read as a browser reads them: character references decoded
/// ("&#228;", "&#x41;", "&amp;"), '\' taken as '/', "%XX" decoded, and
/// everything from '?' or '#' on dropped. A name with a scheme ("http:",
/// "mailto:", "data:", any "x:"), one starting with "//", a bare "#…" and the
/// page itself are left alone, and so is a name that leads to a folder. A
/// link to a page that Velmora wrote brings everything that page names, in
/// turn, each page once; any other file, HTML or not, is just a file.
/// A page that cannot be read throws Failure
/// "<name> kann nicht gelesen werden: <reason>".
[[nodiscard]] PageFiles pageFiles(const std::string& pagePath);

}  // namespace velmora::publish
