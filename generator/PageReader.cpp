// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The reader works in two steps. First it walks the page along the lines the
// generator writes and takes every value out of them. Then it writes the
// page of those values with the generator itself and compares: only a file
// that comes out byte for byte as it went in is a page. So the reader never
// guesses, and it needs to know no rule of the generator's beyond where the
// values stand.
//
// Both steps work on the file as the generator would write it: plain ASCII
// with CR LF. A page that passed through an editor or a text-mode transfer
// (LF alone, or Windows-1252 bytes) is first turned back into that form.
#include "generator/PageReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "generator/AsciiEncoder.h"
#include "generator/OutputFile.h"
#include "generator/PageCursor.h"
#include "settings/Failure.h"

namespace velmora {
namespace {

using reader::Cursor;
using reader::kEol;
using reader::NotAPage;

std::string text(std::string_view ascii) { return fromAscii(ascii); }

void readStyleSheet(Cursor& c, PageSettings& s) {
    s.CSS = true;
    s.fett = c.startsWith("a:link { text-decoration:none; font-weight:bold; ");
    const std::string_view weight = s.fett ? "font-weight:bold; " : "";
    for (auto [selector, colour] : {std::pair{"a:link", &s.Edit15},
                                    {"a:visited", &s.Edit16},
                                    {"a:hover", &s.Edit17},
                                    {"a:active", &s.Edit18}}) {
        c.expect(selector);
        c.expect(" { text-decoration:none; ");
        c.expect(weight);
        c.expect("color:");
        *colour = text(c.upTo("; }\r\n"));
    }
    c.line("--></style>");
}

void readHead(Cursor& c, PageSettings& s) {
    c.line("<html>");
    c.expect("<head><title>");
    s.Edit2 = text(c.upTo("</title>\r\n"));
    if (c.take("<style type=\"text/css\"><!--\r\n")) readStyleSheet(c, s);
    c.line("</head>");
}

void readBodyAndTable(Cursor& c, PageSettings& s) {
    c.expect("<body ");
    s.hgb = c.take("background=\"");
    if (!s.hgb) c.expect("bgcolor=\"");
    (s.hgb ? s.Edit1 : s.Edit14) = text(c.upTo("\" topmargin=\""));
    s.SpinEdit5.text = c.number();
    c.expect("\" leftmargin=\"");
    s.SpinEdit4.text = c.number();
    c.line("\">");
    c.expect("<table cellspacing=\"0\" cellpadding=\"0\" height=\"");
    s.Edit27 = text(c.upTo("%\" width=\""));
    s.Edit26 = text(c.upTo("%\">\r\n"));
}

// The heading size whose font size the generator writes as `size`.
int headingSizeOfFont(std::string_view size) {
    for (std::size_t i = 0; i < kHeadingFontSizes.size(); ++i) {
        if (size == std::to_string(kHeadingFontSizes[i])) return static_cast<int>(i) + 1;
    }
    return 0;
}

void readHeadingRow(Cursor& c, PageSettings& s) {
    c.line("<tr>");
    c.expect("<th height=\"");
    s.SpinEdit1.text = c.number();
    c.line("\">");
    s.eck = c.take("<img src=\"");
    if (s.eck) {
        s.Edit9 = text(c.upTo("\"></th>\r\n"));
    } else {
        c.line("</th>");
    }
    c.line("<td><b>");
    c.expect("<font size=\"");
    const std::size_t sizeAt = c.at();
    s.HeadingSize = headingSizeOfFont(c.number());
    if (s.HeadingSize == 0) throw NotAPage{sizeAt};
    c.expect("\" color=\"");
    s.Edit20 = text(c.upTo("\" face=\""));
    s.Edit21 = text(c.upTo("\">"));
    s.Edit5 = text(c.upTo("</font></b>\r\n"));
    s.Edit8.clear();  // no line: no heading picture
    if (c.take("<img src=\"")) s.Edit8 = text(c.upTo("\" align=\"middle\">\r\n"));
    c.line("</td>");
    c.line("</tr>");
}

// One link cell: what the tick boxes make of it, and its link.
struct LinkCell {
    std::string height, width, background, dot;
    bool lh = false, zentrieren = false, Dots = false;
    std::string target, text;
};

LinkCell readLinkCell(Cursor& c) {
    LinkCell cell;
    c.expect("<td height=\"");
    cell.height = c.number();
    cell.lh = c.take("\" background=\"");
    if (cell.lh) {
        cell.background = text(c.upTo("\" width=\""));
    } else {
        c.expect("\" width=\"");
    }
    cell.width = c.number();
    c.expect("\">");
    cell.zentrieren = c.take("<center>");
    cell.Dots = c.take("<img src=\"");
    if (cell.Dots) cell.dot = text(c.upTo("\" align=\"middle\">"));
    c.expect("<a href=\"");
    cell.target = text(c.upTo("\">"));
    cell.text = text(c.upTo(cell.zentrieren ? "</a></center></td>\r\n" : "</a></td>\r\n"));
    return cell;
}

// The first cell sets what every cell shares; the comparison finds a later
// cell that differs.
void takeFirstLinkCell(const LinkCell& cell, PageSettings& s) {
    s.SpinEdit6.text = cell.height;
    s.SpinEdit2.text = cell.width;
    s.lh = cell.lh;
    if (s.lh) s.Edit7 = cell.background;
    s.zentrieren = cell.zentrieren;
    s.Dots = cell.Dots;
    if (s.Dots) s.Edit6 = cell.dot;
}

void addLink(PageSettings& s, LinkCell&& cell) {
    s.ListBox2.items.push_back(std::move(cell.text));
    s.ListBox5.items.push_back(std::move(cell.target));
}

// The filler cell, without what follows it on its line. With the link
// background on both the links and the filler, both must name one picture.
void readFillerCell(Cursor& c, PageSettings& s) {
    c.expect("<td height=\"100%\"");
    s.strecken = c.take(" background=\"");
    if (s.strecken) {
        const std::size_t valueAt = c.at();
        std::string picture = text(c.upTo("\">&nbsp;</td>"));
        if (s.lh && picture != s.Edit7) throw NotAPage{valueAt};
        s.Edit7 = std::move(picture);
    } else {
        c.expect(">&nbsp;</td>");
    }
}

void readTextCell(Cursor& c, PageSettings& s) {
    c.expect("<td valign=\"top\" rowspan=\"");
    c.number();  // the link count, which the comparison checks
    c.line("\">");
    c.expect("<font color=\"");
    s.Edit24 = text(c.upTo("\" face=\""));
    s.Edit25 = text(c.upTo("\">\r\n"));
    while (c.take(" &nbsp; ")) {
        s.ListBox1.items.push_back(text(c.restOfLine({" &nbsp; ", "</font>\r\n"})));
    }
    c.line("</font>");
    c.line("</td>");
}

void readLinkBar(Cursor& c, PageSettings& s) {
    if (c.startsWith("<tr><td height=\"100%\"")) {  // no link and no text
        c.expect("<tr>");
        readFillerCell(c, s);
        c.line("</tr>");
        return;
    }
    c.line("<tr>");
    if (c.startsWith("<td height=\"100%\"")) {  // text without links
        readFillerCell(c, s);
        c.expect(kEol);
        readTextCell(c, s);
        c.line("</tr>");
        return;
    }
    LinkCell first = readLinkCell(c);
    takeFirstLinkCell(first, s);
    addLink(s, std::move(first));
    if (c.startsWith("<td valign=\"top\" rowspan=\"")) readTextCell(c, s);
    c.line("</tr>");
    while (c.take("<tr>\r\n")) {
        addLink(s, readLinkCell(c));
        c.line("</tr>");
    }
    c.expect("<tr>");
    readFillerCell(c, s);
    c.line("</tr>");
}

// The spacing count is the number of breaks before the first picture; as
// many stand before every other one, which tells where a caption that holds
// a line end of its own ends.
void readPictureCell(Cursor& c, PageSettings& s) {
    if (!c.take("<tr>\r\n")) return;
    c.line("<th>");
    int breaks = 0;
    std::string nextPicture;
    while (c.take("<br>\r\n")) {
        ++breaks;
        nextPicture += "<br>\r\n";
    }
    s.SpinEdit3.setValue(breaks);
    nextPicture += "<img src=\"";
    while (c.take("<img src=\"")) {
        s.ListBox3.items.push_back(text(c.upTo("\">")));
        s.ListBox6.items.push_back(text(c.restOfLine({nextPicture, "</th>\r\n"})));
        if (c.startsWith(nextPicture)) {
            for (int i = 0; i < breaks; ++i) c.expect("<br>\r\n");
        }
    }
    c.line("</th>");
    c.line("</tr>");
}

PageSettings walk(Cursor& c) {
    PageSettings s;
    readHead(c, s);
    readBodyAndTable(c, s);
    readHeadingRow(c, s);
    readLinkBar(c, s);
    readPictureCell(c, s);
    c.line("</table>");
    c.line("</body>");
    c.line("</html>");
    if (!c.atEnd()) c.fail();
    return s;
}

// The file as the generator would have written it: CR LF where it has LF
// alone (all its lines, when its first line ends so), and the references of
// Windows-1252 characters where it has bytes from 0x80 up. A page Velmora
// wrote is that already and is not copied.
std::string_view asWritten(std::string_view bytes, std::string& copy) {
    const std::size_t lf = bytes.find('\n');
    const bool lfAlone = lf != std::string_view::npos && (lf == 0 || bytes[lf - 1] != '\r');
    const bool high = std::any_of(bytes.begin(), bytes.end(),
                                  [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    if (!lfAlone && !high) return bytes;
    copy.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t end =
            lfAlone ? std::min(bytes.find('\n', i), bytes.size()) : bytes.size();
        appendWindows1252AsAscii(copy, bytes.substr(i, end - i));
        if (end < bytes.size()) copy += kEol;
        i = end + 1;
    }
    return copy;
}

std::size_t lineAt(std::string_view text, std::size_t offset) {
    const std::string_view before = text.substr(0, std::min(offset, text.size()));
    return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

std::string notAPageMessage(const std::string& name, const std::string& where) {
    return name + " ist keine Seite, die Velmora geschrieben hat (" + where + ")";
}

[[noreturn]] void tooLarge(const std::string& name) {
    throw Failure(notAPageMessage(name, "größer als 256 MiB"));
}

[[noreturn]] void unreadable(const std::string& name, int error) {
    throw Failure(name + " kann nicht gelesen werden: " + std::strerror(error));
}

// Where the bytes the settings write part from `written`; npos where they
// are the same.
std::size_t firstDifference(const PageSettings& s, CodeList& lines, std::string_view written,
                            std::size_t limit) {
    try {
        writePage(s, lines);
    } catch (const Failure&) {
        return limit;  // more lines than any page has
    }
    const std::string again = composeFileBytes(lines.lines());
    const auto [a, b] = std::mismatch(written.begin(), written.end(), again.begin(), again.end());
    if (a == written.end() && b == again.end()) return std::string_view::npos;
    return static_cast<std::size_t>(a - written.begin());
}

}  // namespace

ReadPage readPage(std::string_view bytes, const std::string& name) {
    std::string copy;
    const std::string_view written = asWritten(bytes, copy);
    if (written.size() > kMaxPageBytes) tooLarge(name);
    ReadPage page;
    Cursor c(written);
    std::size_t wrong = std::string_view::npos;
    try {
        page.settings = walk(c);
        wrong = firstDifference(page.settings, page.lines, written, c.at());
    } catch (const NotAPage& e) {
        wrong = e.at;
    }
    if (wrong == std::string_view::npos) return page;
    const std::size_t line = lineAt(written, std::min(wrong, c.firstLongValue()));
    throw Failure(notAPageMessage(name, "Zeile " + std::to_string(line)));
}

std::string readPageFile(const std::string& path, const std::string& name) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) unreadable(name, errno);
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat st = {};
    if (fstat(fd, &st) != 0) unreadable(name, errno);
    if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > kMaxPageBytes) {
        tooLarge(name);
    }
    // A file that grows while it is read, or one without a size (a pipe),
    // is cut off one byte past the bound, which is enough to refuse it.
    std::string bytes;
    bytes.resize(S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : 65536);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(std::min(bytes.size() * 2, kMaxPageBytes + 1));
        const ssize_t n = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) unreadable(name, errno);
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
        if (filled > kMaxPageBytes) tooLarge(name);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace velmora
