// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "generator/PageGenerator.h"

#include <algorithm>
#include <new>

#include "settings/Failure.h"

namespace velmora {
namespace {

std::string num(const SpinField& f) { return std::to_string(f.value()); }

void writeStyleSheet(const PageSettings& s, CodeList& out) {
    const std::string weight = s.fett ? "font-weight:bold; " : "";
    out.add("<style type=\"text/css\"><!--");
    out.add("a:link { text-decoration:none; " + weight + "color:" + s.Edit15 + "; }");
    out.add("a:visited { text-decoration:none; " + weight + "color:" + s.Edit16 + "; }");
    out.add("a:hover { text-decoration:none; " + weight + "color:" + s.Edit17 + "; }");
    out.add("a:active { text-decoration:none; " + weight + "color:" + s.Edit18 + "; }");
    out.add("--></style>");
}

std::string bodyLine(const PageSettings& s) {
    const std::string background =
        s.hgb ? "background=\"" + s.Edit1 + "\"" : "bgcolor=\"" + s.Edit14 + "\"";
    return "<body " + background + " topmargin=\"" + num(s.SpinEdit5) + "\" leftmargin=\"" +
           num(s.SpinEdit4) + "\">";
}

// 0 means none.
int fontSizeOfHeading(int headingSize) {
    const auto size = static_cast<std::size_t>(headingSize);
    return size >= 1 && size <= kHeadingFontSizes.size() ? kHeadingFontSizes[size - 1] : 0;
}

void writeHeadingRow(const PageSettings& s, CodeList& out) {
    out.add("<tr>");
    out.add("<th height=\"" + num(s.SpinEdit1) + "\">");
    out.add(s.eck ? "<img src=\"" + s.Edit9 + "\"></th>" : std::string("</th>"));
    out.add("<td><b>");
    if (const int size = fontSizeOfHeading(s.HeadingSize); size != 0) {
        out.add("<font size=\"" + std::to_string(size) + "\" color=\"" + s.Edit20 + "\" face=\"" +
                s.Edit21 + "\">" + s.Edit5 + "</font></b>");
    }
    if (!s.Edit8.empty()) out.add("<img src=\"" + s.Edit8 + "\" align=\"middle\">");
    out.add("</td>");
    out.add("</tr>");
}

// The cell's opening tag and its content, with the parts that the three tick
// boxes add; these do not depend on the link, so they are built once.
struct LinkCellFrame {
    std::string open;   // <td ...> and <center>, then the dot picture
    std::string close;  // </center> and </td>
};

LinkCellFrame linkCellFrame(const PageSettings& s) {
    LinkCellFrame f;
    f.open = "<td height=\"" + num(s.SpinEdit6) + "\"";
    if (s.lh) f.open += " background=\"" + s.Edit7 + "\"";
    f.open += " width=\"" + num(s.SpinEdit2) + "\">";
    if (s.zentrieren) f.open += "<center>";
    if (s.Dots) f.open += "<img src=\"" + s.Edit6 + "\" align=\"middle\">";
    f.close = s.zentrieren ? "</center></td>" : "</td>";
    return f;
}

std::string linkCell(const LinkCellFrame& f, const std::string& target, const std::string& text) {
    return f.open + "<a href=\"" + target + "\">" + text + "</a>" + f.close;
}

void writeTextCell(const PageSettings& s, int rowspan, CodeList& out) {
    out.add("<td valign=\"top\" rowspan=\"" + std::to_string(rowspan) + "\">");
    out.add("<font color=\"" + s.Edit24 + "\" face=\"" + s.Edit25 + "\">");
    for (const std::string& line : s.ListBox1.items) out.add(" &nbsp; " + line);
    out.add("</font>");
    out.add("</td>");
}

std::string fillerCell(const PageSettings& s) {
    return s.strecken ? "<td height=\"100%\" background=\"" + s.Edit7 + "\">&nbsp;</td>"
                      : std::string("<td height=\"100%\">&nbsp;</td>");
}

// Without links the filler cell takes the place of the first link cell, so the
// text cell keeps its place in the right column.
void writeWithoutLinks(const PageSettings& s, CodeList& out) {
    if (s.ListBox1.items.empty()) {
        out.add("<tr>" + fillerCell(s) + "</tr>");
        return;
    }
    out.add("<tr>");
    out.add(fillerCell(s));
    writeTextCell(s, 1, out);
    out.add("</tr>");
}

void writeLinkBar(const PageSettings& s, CodeList& out) {
    const auto& texts = s.ListBox2.items;
    const auto& targets = s.ListBox5.items;
    const int n = static_cast<int>(texts.size());
    if (n == 0) {
        writeWithoutLinks(s, out);
    } else {
        const LinkCellFrame frame = linkCellFrame(s);
        out.add("<tr>");
        out.add(linkCell(frame, targets[0], texts[0]));
        if (!s.ListBox1.items.empty()) writeTextCell(s, n + 1, out);
        out.add("</tr>");
        for (std::size_t i = 1; i < texts.size(); ++i) {
            out.add("<tr>");
            out.add(linkCell(frame, targets[i], texts[i]));
            out.add("</tr>");
        }
        out.add("<tr>" + fillerCell(s) + "</tr>");
    }
}

void writePictureCell(const PageSettings& s, CodeList& out) {
    const auto& files = s.ListBox3.items;
    if (files.empty()) return;
    const std::int32_t breaks = s.SpinEdit3.value();
    out.add("<tr>");
    out.add("<th>");
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::int32_t b = 0; b < breaks; ++b) out.add("<br>");
        out.add("<img src=\"" + files[i] + "\">" + s.ListBox6.items[i]);
    }
    out.add("</th>");
    out.add("</tr>");
}

}  // namespace

void CodeList::add(std::string line) {
    if (lines_.size() >= kMaxLines) throw Failure(kListInsertError);
    try {
        lines_.push_back(std::move(line));
    } catch (const std::bad_alloc&) {
        throw Failure(kListInsertError);
    }
}

void CodeList::reserve(std::size_t count) {
    try {
        lines_.reserve(count);
    } catch (const std::bad_alloc&) {
        throw Failure(kListInsertError);
    }
}

// Counts what the writers below write, in 64 bits: the spacing count alone may
// ask for two billion lines per picture.
std::uint64_t pageLineCount(const PageSettings& s) noexcept {
    const std::uint64_t links = s.ListBox2.items.size();
    const std::uint64_t lines = s.ListBox1.items.size();
    const std::uint64_t pictures = s.ListBox3.items.size();
    const std::uint64_t breaks = static_cast<std::uint64_t>(std::max(s.SpinEdit3.value(), 0));
    std::uint64_t count = 5 + (s.CSS ? 6 : 0);  // <html> … <table>
    count += 6 + (fontSizeOfHeading(s.HeadingSize) != 0 ? 1 : 0) + (s.Edit8.empty() ? 0 : 1);
    const std::uint64_t textCell = lines == 0 ? 0 : lines + 4;
    if (links != 0) {
        count += 3 * links + 1 + textCell;
    } else {
        count += lines == 0 ? 1 : 3 + textCell;
    }
    if (pictures != 0) count += 4 + pictures * (breaks + 1);
    return count + 3;  // </table>, </body>, </html>
}

void writePage(const PageSettings& s, CodeList& out) {
    out.clear();
    // Found before the first line, so that nothing large is built first.
    const std::uint64_t count = pageLineCount(s);
    if (count > CodeList::kMaxLines) throw Failure(kListInsertError);
    try {
        out.reserve(static_cast<std::size_t>(count));
        out.add("<html>");
        out.add("<head><title>" + s.Edit2 + "</title>");
        if (s.CSS) writeStyleSheet(s, out);
        out.add("</head>");
        out.add(bodyLine(s));
        out.add("<table cellspacing=\"0\" cellpadding=\"0\" height=\"" + s.Edit27 + "%\" width=\"" +
                s.Edit26 + "%\">");
        writeHeadingRow(s, out);
        writeLinkBar(s, out);
        writePictureCell(s, out);
        out.add("</table>");
        out.add("</body>");
        out.add("</html>");
    } catch (const std::bad_alloc&) {
        // building a line ran out of memory before it could be stored
        throw Failure(kListInsertError);
    }
}

}  // namespace velmora
