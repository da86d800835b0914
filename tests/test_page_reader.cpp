// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading pages back: random pages come back as the settings that wrote
// them and write the same bytes again; files that are no page are refused
// with the line where they part from one.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "RandomPage.h"
#include "generator/AsciiEncoder.h"
#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "generator/PageReader.h"
#include "settings/Failure.h"
#include "settings/Fields.h"
#include "wizard/Lists.h"

namespace velmora {
namespace {

std::string bytesOf(const PageSettings& s) {
    CodeList out;
    writePage(s, out);
    return composeFileBytes(out.lines());
}

// The message a refused file gives, or "" when it is read.
std::string refusal(const std::string& bytes) {
    try {
        static_cast<void>(readPage(bytes, "index.html"));
        return "";
    } catch (const Failure& e) {
        return e.what();
    }
}

std::string notAPage(int line) {
    return "index.html ist keine Seite, die Velmora geschrieben hat (Zeile " +
           std::to_string(line) + ")";
}

// What the page carries of `s`, read back: each text as the page writes it
// and the reader reads it (a reference typed as text comes back as its
// character), each spin field as its value; every value the page does not
// carry at its default, no entry selected.
PageSettings carried(const PageSettings& s) {
    const PageSettings d;
    PageSettings r = s;
    const auto asRead = [](std::string& text) {
        std::string ascii;
        appendAsAscii(ascii, text);
        text = fromAscii(ascii);
    };
    for (const TextField& f : kTextFields) asRead(r.*f.member);
    for (const ListField* list : kLists) {
        for (auto member : {list->shown, list->paired}) {
            if (member == nullptr) continue;
            for (std::string& entry : (r.*member).items) asRead(entry);
            (r.*member).selected = -1;
        }
    }
    for (const SpinEditField& f : kSpinFields) (r.*f.member).setValue((r.*f.member).value());
    r.SpinEdit3.setValue(std::max(r.SpinEdit3.value(), 0));
    // never on the page
    for (auto field : {&PageSettings::Edit3, &PageSettings::Edit4, &PageSettings::Edit12,
                       &PageSettings::Edit13, &PageSettings::Edit22, &PageSettings::Edit23,
                       &PageSettings::Edit10, &PageSettings::Edit11, &PageSettings::Edit19}) {
        r.*field = d.*field;
    }
    r.html = d.html;
    r.alignment = d.alignment;
    // on the page only where it is used
    (r.hgb ? r.Edit14 : r.Edit1) = r.hgb ? d.Edit14 : d.Edit1;
    if (!r.CSS) {
        r.fett = d.fett;
        r.Edit15 = d.Edit15, r.Edit16 = d.Edit16, r.Edit17 = d.Edit17, r.Edit18 = d.Edit18;
    }
    if (!r.eck) r.Edit9 = d.Edit9;
    if (r.ListBox2.items.empty()) {
        r.SpinEdit2 = d.SpinEdit2, r.SpinEdit6 = d.SpinEdit6;
        r.lh = d.lh, r.Dots = d.Dots, r.zentrieren = d.zentrieren;
    }
    if (!r.Dots) r.Edit6 = d.Edit6;
    if (!r.lh && !r.strecken) r.Edit7 = d.Edit7;
    if (r.ListBox1.items.empty()) r.Edit24 = d.Edit24, r.Edit25 = d.Edit25;
    if (r.ListBox3.items.empty()) r.SpinEdit3 = d.SpinEdit3;
    return r;
}

TEST(PageReader, RandomPagesComeBackAndWriteTheSameBytes) {
    RandomPage pages(20261209);
    for (int i = 0; i < 2000; ++i) {
        const PageSettings s = pages.next();
        const std::string bytes = bytesOf(s);
        SCOPED_TRACE("page " + std::to_string(i) + ":\n" + bytes);
        ReadPage read;
        ASSERT_NO_THROW(read = readPage(bytes, "index.html")) << refusal(bytes);
        ASSERT_EQ(bytesOf(read.settings), bytes);
        ASSERT_EQ(composeFileBytes(read.lines.lines()), bytes);
        ASSERT_TRUE(read.settings == carried(s));
    }
}

// Where a value holds the text that follows it in its line, two readings
// write the same line; the reader takes the first place the text appears.
TEST(PageReader, AmbiguousValuesWriteTheSameBytes) {
    PageSettings s;
    s.Edit27 = R"(10%" width="20)";
    s.Edit20 = R"(red" face="Arial)";
    s.ListBox2.items = {R"(a">b)"};
    s.ListBox5.items = {R"(x">y)"};
    s.ListBox3.items = {R"(p">q.jpg)"};
    s.ListBox6.items = {""};
    const std::string bytes = bytesOf(s);
    const ReadPage read = readPage(bytes, "index.html");
    EXPECT_EQ(bytesOf(read.settings), bytes);
    EXPECT_EQ(read.settings.Edit27, "10");
    EXPECT_EQ(read.settings.Edit26, R"(20%" width="50)");
    EXPECT_EQ(read.settings.Edit20, "red");
    EXPECT_EQ(read.settings.Edit21, R"(Arial" face="Arial)");
}

TEST(PageReader, CharactersAndLineEnds) {
    PageSettings s;
    s.Edit2 = "Grüße € Ł";
    const std::string written = bytesOf(s);
    EXPECT_EQ(readPage(written, "index.html").settings.Edit2, "Grüße € Ł");

    std::string cp1252 = written;
    cp1252.replace(cp1252.find("Gr&#252;&#223;e &#8364; &#321;"), 30,
                   "Gr\xFC\xDF"
                   "e \x80 &#321;");
    EXPECT_EQ(readPage(cp1252, "index.html").settings.Edit2, "Grüße € Ł");

    std::string lfAlone;
    std::copy_if(written.begin(), written.end(), std::back_inserter(lfAlone),
                 [](char c) { return c != '\r'; });
    const ReadPage fromLf = readPage(lfAlone, "index.html");
    EXPECT_EQ(bytesOf(fromLf.settings), written);

    // only what the encoder writes becomes a character
    s.Edit2 = "&#65; &amp; &#0228; &#55296; &#1114112; &#x41;";
    EXPECT_EQ(readPage(bytesOf(s), "index.html").settings.Edit2, s.Edit2);
}

TEST(PageReader, EveryFormOfTheLinkBarAndThePictureCell) {
    struct Case {
        int links, lines, pictures;
    };
    for (const Case c : {Case{0, 0, 0}, {0, 2, 0}, {1, 0, 1}, {1, 3, 2}, {12, 1, 0}, {2, 0, 5}}) {
        for (int ticks = 0; ticks < 16; ++ticks) {
            PageSettings s;
            s.zentrieren = (ticks & 1) != 0, s.Dots = (ticks & 2) != 0;
            s.lh = (ticks & 4) != 0, s.strecken = (ticks & 8) != 0;
            s.Edit7 = "lbg-eigen.jpg";
            s.SpinEdit3.setValue(ticks % 3);
            for (int i = 0; i < c.links; ++i) {
                s.ListBox2.items.push_back("L" + std::to_string(i));
                s.ListBox5.items.push_back("z" + std::to_string(i) + ".html");
            }
            for (int i = 0; i < c.lines; ++i)
                s.ListBox1.items.push_back("Zeile " + std::to_string(i));
            for (int i = 0; i < c.pictures; ++i) {
                s.ListBox3.items.push_back("b" + std::to_string(i) + ".jpg");
                s.ListBox6.items.push_back(i % 2 == 0 ? "" : "Text");
            }
            SCOPED_TRACE(bytesOf(s));
            ASSERT_TRUE(readPage(bytesOf(s), "index.html").settings == carried(s));
        }
    }
}

// A page with every part, and where in it a change shows.
std::string fullPage() {
    PageSettings s;
    s.CSS = true, s.eck = true;
    s.ListBox2.items = {"Home", "Kontakt"};
    s.ListBox5.items = {"index.html", "kontakt.html"};
    s.ListBox1.items = {"Willkommen"};
    s.ListBox3.items = {"a.jpg"};
    s.ListBox6.items = {"A"};
    return bytesOf(s);
}

std::string withLine(std::string page, int line, const std::string& replacement) {
    std::size_t at = 0;
    for (int i = 1; i < line; ++i) at = page.find("\r\n", at) + 2;
    return page.replace(at, page.find("\r\n", at) - at, replacement);
}

std::string cutAfter(const std::string& page, std::size_t lines) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines; ++i) at = page.find("\r\n", at) + 2;
    return page.substr(0, at);
}

TEST(PageReader, FilesThatAreNoPage) {
    const std::string page = fullPage();  // 40 lines
    std::string mixed = page;
    mixed.erase(mixed.find("\r\n<tr>\r\n"), 1);  // line 11 ends in LF alone
    std::string lfThenCrLf;
    std::copy_if(page.begin(), page.end(), std::back_inserter(lfThenCrLf),
                 [](char c) { return c != '\r'; });
    lfThenCrLf.insert(lfThenCrLf.find("\n<th height"), "\r");
    const struct {
        const char* what;
        std::string bytes;
        int line;
    } cases[] = {
        {"empty", "", 1},
        {"a line end only", "\r\n", 1},
        {"cut after a line", cutAfter(page, 20), 21},
        {"cut in a line", cutAfter(page, 20) + "<tr", 21},
        {"the last line end missing", page.substr(0, page.size() - 2), 40},
        {"a line after the end", page + "<!-- -->\r\n", 41},
        {"a changed line", withLine(page, 13, R"(<th height="0" class="x">)"), 13},
        {"a heading size the generator has not",
         withLine(page, 16, R"(<font size="7" color="#000000" face="Arial">Neue Seite</font></b>)"),
         16},
        {"a spin value written otherwise",
         withLine(page, 10, R"(<body background="hintergrund.jpg" topmargin="00" leftmargin="0">)"),
         10},
        {"a second link cell of another form",
         withLine(page, 29, R"(<td height="0" width="9"><a href="kontakt.html">Kontakt</a></td>)"),
         29},
        {"a wrong rowspan", withLine(page, 22, R"(<td valign="top" rowspan="2">)"), 22},
        {"a foreign page", "<!DOCTYPE html>\r\n<html>\r\n<head><title>Meine Seite</title>\r\n", 1},
        {"a foreign page in Velmora's form",
         withLine(page, 2, "<head><title>x</title><meta charset=\"utf-8\">"), 2},
        {"binary data", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 1},
        {"LF and CR LF mixed", mixed, 11},
        {"LF, then CR LF", lfThenCrLf, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(refusal(c.bytes), notAPage(c.line));
    }
}

}  // namespace
}  // namespace velmora
