// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "FailingAllocation.h"
#include "generator/PageGenerator.h"
#include "settings/Failure.h"
#include "settings/Fields.h"
#include "wizard/PageFile.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

Lines generate(const PageSettings& s) {
    CodeList out;
    writePage(s, out);
    return out.lines();
}

void addLink(PageSettings& s, const std::string& text, const std::string& target) {
    s.ListBox2.items.push_back(text);
    s.ListBox5.items.push_back(target);
}

void addPicture(PageSettings& s, const std::string& file, const std::string& caption) {
    s.ListBox3.items.push_back(file);
    s.ListBox6.items.push_back(caption);
}

// The thirteen lines of a default page up to the end of the heading row.
const Lines kDefaultHead = {
    "<html>",
    "<head><title>Neue Seite</title>",
    "</head>",
    R"(<body background="hintergrund.jpg" topmargin="0" leftmargin="0">)",
    R"(<table cellspacing="0" cellpadding="0" height="50%" width="50%">)",
    "<tr>",
    R"(<th height="0">)",
    "</th>",
    "<td><b>",
    R"(<font size="5" color="#000000" face="Arial">Neue Seite</font></b>)",
    R"(<img src="bild.jpg" align="middle">)",
    "</td>",
    "</tr>",
};
const Lines kPageEnd = {"</table>", "</body>", "</html>"};
const std::string kFiller = R"(<tr><td height="100%">&nbsp;</td></tr>)";

Lines concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The lines between the heading row and "</table>".
Lines tableBody(const Lines& page) {
    const auto headingEnd = std::find(page.begin(), page.end(), "</tr>");
    const auto tableEnd = std::find(page.begin(), page.end(), "</table>");
    if (headingEnd == page.end() || tableEnd == page.end() || tableEnd < headingEnd) return {};
    return {headingEnd + 1, tableEnd};
}

// The lines after the filler row and before "</table>".
Lines pictureRow(const Lines& page) {
    const Lines body = tableBody(page);
    const auto filler = std::find_if(body.begin(), body.end(), [](const std::string& l) {
        return l.starts_with(R"(<tr><td height="100%")");
    });
    if (filler == body.end()) return {"no filler row"};
    return {filler + 1, body.end()};
}

std::size_t countOf(const Lines& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

// ---------------------------------------------------------------- page frame

TEST(PageFrame, DefaultSettingsWriteTheThirteenHeadLinesAndAnEmptyTable) {
    PageSettings s;
    EXPECT_EQ(generate(s), concat({kDefaultHead, {kFiller}, kPageEnd}));
}

TEST(PageFrame, StyleSheetInBothFormsStandsBetweenTitleAndHeadEnd) {
    struct Case {
        bool fett;
        Lines sheet;
    };
    const Case cases[] = {
        {true,
         {R"(<style type="text/css"><!--)",
          "a:link { text-decoration:none; font-weight:bold; color:#111111; }",
          "a:visited { text-decoration:none; font-weight:bold; color:#222222; }",
          "a:hover { text-decoration:none; font-weight:bold; color:#333333; }",
          "a:active { text-decoration:none; font-weight:bold; color:#444444; }", "--></style>"}},
        {false,
         {R"(<style type="text/css"><!--)", "a:link { text-decoration:none; color:#111111; }",
          "a:visited { text-decoration:none; color:#222222; }",
          "a:hover { text-decoration:none; color:#333333; }",
          "a:active { text-decoration:none; color:#444444; }", "--></style>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fett ? "fett" : "not fett");
        PageSettings s;
        s.CSS = true;
        s.fett = c.fett;
        s.Edit15 = "#111111";
        s.Edit16 = "#222222";
        s.Edit17 = "#333333";
        s.Edit18 = "#444444";
        const Lines page = generate(s);
        ASSERT_EQ(page.size(), kDefaultHead.size() + 6 + 1 + kPageEnd.size());
        EXPECT_EQ(page[1], "<head><title>Neue Seite</title>");
        EXPECT_EQ(Lines(page.begin() + 2, page.begin() + 8), c.sheet);
        EXPECT_EQ(page[8], "</head>");
    }
}

TEST(PageFrame, StyleSheetWithDefaultColoursIsBold) {
    PageSettings s;
    s.CSS = true;
    EXPECT_EQ(generate(s)[3], "a:link { text-decoration:none; font-weight:bold; color:#000000; }");
}

TEST(PageFrame, BodyLineReadsBackgroundAndMarginsAsSpinValues) {
    struct Case {
        bool hgb;
        const char* horizontal;  // SpinEdit4
        const char* vertical;    // SpinEdit5
        const char* body;
    };
    const Case cases[] = {
        {true, "0", "0", R"(<body background="wand.png" topmargin="0" leftmargin="0">)"},
        {false, "5", "10", R"(<body bgcolor="#C0FFEE" topmargin="10" leftmargin="5">)"},
        {true, "5", "10", R"(<body background="wand.png" topmargin="10" leftmargin="5">)"},
        {true, "abc", "-4", R"(<body background="wand.png" topmargin="-4" leftmargin="0">)"},
        {false, "-4", "abc", R"(<body bgcolor="#C0FFEE" topmargin="0" leftmargin="-4">)"},
        {true, " 7", "$10", R"(<body background="wand.png" topmargin="16" leftmargin="7">)"},
        {false, "7 ", "", R"(<body bgcolor="#C0FFEE" topmargin="0" leftmargin="0">)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        PageSettings s;
        s.hgb = c.hgb;
        s.Edit1 = "wand.png";
        s.Edit14 = "#C0FFEE";
        s.SpinEdit4.text = c.horizontal;
        s.SpinEdit5.text = c.vertical;
        EXPECT_EQ(generate(s)[3], c.body);
        EXPECT_EQ(s.SpinEdit4.text, c.horizontal);  // the typed text is never reformatted
    }
}

TEST(PageFrame, TableLineWritesHeightThenWidthAsTyped) {
    struct Case {
        const char* width;   // Edit26
        const char* height;  // Edit27
        const char* line;
    };
    const Case cases[] = {
        {"80", "100", R"(<table cellspacing="0" cellpadding="0" height="100%" width="80%">)"},
        {"breit", "", R"(<table cellspacing="0" cellpadding="0" height="%" width="breit%">)"},
    };
    for (const Case& c : cases) {
        PageSettings s;
        s.Edit26 = c.width;
        s.Edit27 = c.height;
        EXPECT_EQ(generate(s)[4], c.line);
    }
}

TEST(PageFrame, AllSixHeadingSizesAndHeadingSizeIsLeftAlone) {
    const char* fontSizes[] = {"3", "4", "5", "6", "8", "10"};
    for (int size = 1; size <= 6; ++size) {
        SCOPED_TRACE("HeadingSize " + std::to_string(size));
        PageSettings s;
        s.HeadingSize = size;
        s.Edit20 = "#AA0000";
        s.Edit21 = "Verdana";
        s.Edit5 = "Willkommen";
        addPicture(s, "a.jpg", "");  // the picture cell must not touch it either
        const std::string expected = std::string(R"(<font size=")") + fontSizes[size - 1] +
                                     R"(" color="#AA0000" face="Verdana">Willkommen</font></b>)";
        EXPECT_EQ(generate(s)[9], expected);
        EXPECT_EQ(s.HeadingSize, size);
        EXPECT_EQ(generate(s)[9], expected);  // a second finish writes the same heading
    }
}

TEST(PageFrame, HeadingSizeOutsideOneToSixWritesNoHeadingLine) {
    for (int size : {0, 7}) {
        PageSettings s;
        s.HeadingSize = size;
        const Lines page = generate(s);
        EXPECT_EQ(page[8], "<td><b>");
        EXPECT_EQ(page[9], R"(<img src="bild.jpg" align="middle">)");
        EXPECT_EQ(page.size(), kDefaultHead.size() - 1 + 1 + kPageEnd.size());
    }
}

TEST(PageFrame, EmptyHeadingPictureIsLeftOutButBlanksAreWritten) {
    PageSettings s;
    s.Edit8 = "";
    Lines page = generate(s);
    EXPECT_EQ(page[9], R"(<font size="5" color="#000000" face="Arial">Neue Seite</font></b>)");
    EXPECT_EQ(page[10], "</td>");

    s.Edit8 = " ";
    page = generate(s);
    EXPECT_EQ(page[10], R"(<img src=" " align="middle">)");
    EXPECT_EQ(page[11], "</td>");
}

TEST(PageFrame, CornerCellHoldsTheCornerPictureOnlyWhenTicked) {
    PageSettings s;
    s.SpinEdit1.text = "12";
    s.Edit9 = "ecke.png";
    Lines page = generate(s);
    EXPECT_EQ(page[6], R"(<th height="12">)");
    EXPECT_EQ(page[7], "</th>");

    s.eck = true;
    page = generate(s);
    EXPECT_EQ(page[7], R"(<img src="ecke.png"></th>)");
    EXPECT_EQ(page[8], "<td><b>");

    PageSettings defaults;
    defaults.eck = true;
    EXPECT_EQ(generate(defaults)[7], R"(<img src="eckbild.jpg"></th>)");
}

TEST(PageFrame, ValuesWithQuotesAndMarkupGoInUnchanged) {
    PageSettings s;
    s.Edit2 = R"(<i>"Meine" & Seite</i>)";
    s.Edit5 = "  A<b>B</b>  ";
    s.Edit8 = R"(x" onload="y)";
    const Lines page = generate(s);
    EXPECT_EQ(page[1], R"(<head><title><i>"Meine" & Seite</i></title>)");
    EXPECT_EQ(page[9], R"(<font size="5" color="#000000" face="Arial">  A<b>B</b>  </font></b>)");
    EXPECT_EQ(page[10], R"(<img src="x" onload="y" align="middle">)");
}

TEST(PageFrame, ASecondFinishReplacesTheLinesOfTheFirst) {
    PageSettings s;
    addLink(s, "Home", "index.html");
    s.ListBox1.items = {"Hallo"};
    addPicture(s, "a.jpg", "A");
    CodeList out;
    writePage(s, out);
    const Lines first = out.lines();
    writePage(s, out);
    EXPECT_EQ(out.lines(), first);
    EXPECT_EQ(out.lines().front(), "<html>");
    EXPECT_EQ(countOf(out.lines(), "<html>"), 1U);
}

// ------------------------------------------------------------------ link bar

TEST(LinkBar, TwoLinksAndOneTextLineGiveTheTwelveLineExample) {
    PageSettings s;
    addLink(s, "Home", "index.html");
    addLink(s, "Kontakt", "kontakt.html");
    s.ListBox1.items = {"Willkommen"};
    s.SpinEdit2.text = "120";
    const Lines expected = {
        "<tr>",
        R"(<td height="0" width="120"><a href="index.html">Home</a></td>)",
        R"(<td valign="top" rowspan="3">)",
        R"(<font color="#000000" face="Arial">)",
        " &nbsp; Willkommen",
        "</font>",
        "</td>",
        "</tr>",
        "<tr>",
        R"(<td height="0" width="120"><a href="kontakt.html">Kontakt</a></td>)",
        "</tr>",
        kFiller,
    };
    const Lines page = generate(s);
    EXPECT_EQ(tableBody(page), expected);
    EXPECT_EQ(page, concat({kDefaultHead, expected, kPageEnd}));
}

std::string substitute(std::string t, const std::string& target, const std::string& text) {
    t.replace(t.find("«target»"), std::string("«target»").size(), target);
    t.replace(t.find("«text»"), std::string("«text»").size(), text);
    return t;
}

TEST(LinkBar, AllEightLinkCellForms) {
    struct Case {
        bool zentrieren, dots, lh;
        const char* cell;
    };
    const Case cases[] = {
        {true, true, true,
         R"(<td height="25" background="hg.gif" width="140"><center><img src="punkt.gif" align="middle"><a href="«target»">«text»</a></center></td>)"},
        {true, true, false,
         R"(<td height="25" width="140"><center><img src="punkt.gif" align="middle"><a href="«target»">«text»</a></center></td>)"},
        {true, false, true,
         R"(<td height="25" background="hg.gif" width="140"><center><a href="«target»">«text»</a></center></td>)"},
        {true, false, false,
         R"(<td height="25" width="140"><center><a href="«target»">«text»</a></center></td>)"},
        {false, true, true,
         R"(<td height="25" background="hg.gif" width="140"><img src="punkt.gif" align="middle"><a href="«target»">«text»</a></td>)"},
        {false, true, false,
         R"(<td height="25" width="140"><img src="punkt.gif" align="middle"><a href="«target»">«text»</a></td>)"},
        {false, false, true,
         R"(<td height="25" background="hg.gif" width="140"><a href="«target»">«text»</a></td>)"},
        {false, false, false, R"(<td height="25" width="140"><a href="«target»">«text»</a></td>)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        PageSettings s;
        s.zentrieren = c.zentrieren;
        s.Dots = c.dots;
        s.lh = c.lh;
        s.SpinEdit6.text = "25";
        s.SpinEdit2.text = "140";
        s.Edit6 = "punkt.gif";
        s.Edit7 = "hg.gif";
        addLink(s, "Ziel", "ziel.html");
        addLink(s, "Zwei", "zwei.html");
        addLink(s, "Drei", "drei.html");
        const Lines body = tableBody(generate(s));
        ASSERT_EQ(body.size(), 10U);
        // the same form for the first, a middle and the last link
        EXPECT_EQ(body[1], substitute(c.cell, "ziel.html", "Ziel"));
        EXPECT_EQ(body[4], substitute(c.cell, "zwei.html", "Zwei"));
        EXPECT_EQ(body[7], substitute(c.cell, "drei.html", "Drei"));
    }
}

TEST(LinkBar, CellHeightAndWidthAreSpinValues) {
    struct Case {
        const char* height;  // SpinEdit6
        const char* width;   // SpinEdit2
        const char* cell;
    };
    const Case cases[] = {
        {"3", "007", R"(<td height="3" width="7"><a href="t">x</a></td>)"},
        {"", "-3", R"(<td height="0" width="-3"><a href="t">x</a></td>)"},
        {"-3", "", R"(<td height="-3" width="0"><a href="t">x</a></td>)"},
        {"abc", "0x10", R"(<td height="0" width="16"><a href="t">x</a></td>)"},
    };
    for (const Case& c : cases) {
        PageSettings s;
        s.SpinEdit6.text = c.height;
        s.SpinEdit2.text = c.width;
        addLink(s, "x", "t");
        EXPECT_EQ(tableBody(generate(s))[1], c.cell);
    }
}

TEST(LinkBar, LineCountsFollowLinksAndTextLines) {
    struct Case {
        int links, textLines;
        std::size_t lines;
    };
    const Case cases[] = {{1, 0, 4}, {1, 3, 11}, {3, 0, 10}, {2, 1, 12}, {12, 4, 45}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.links) + " links, " + std::to_string(c.textLines) +
                     " text lines");
        PageSettings s;
        // append, not "L" + std::string: GCC 12 at -O3 warns falsely (-Wrestrict) on that
        for (int i = 0; i < c.links; ++i)
            addLink(s, std::string("L").append(std::to_string(i)), "t");
        for (int i = 0; i < c.textLines; ++i) s.ListBox1.items.push_back("z");
        EXPECT_EQ(tableBody(generate(s)).size(), c.lines);
    }
}

TEST(LinkBar, OneLinkWithThreeTextLinesSpansTwoRows) {
    PageSettings s;
    addLink(s, "Home", "index.html");
    s.ListBox1.items = {"eins", "zwei", "drei"};
    const Lines expected = {
        "<tr>",
        R"(<td height="0" width="0"><a href="index.html">Home</a></td>)",
        R"(<td valign="top" rowspan="2">)",
        R"(<font color="#000000" face="Arial">)",
        " &nbsp; eins",
        " &nbsp; zwei",
        " &nbsp; drei",
        "</font>",
        "</td>",
        "</tr>",
        kFiller,
    };
    EXPECT_EQ(tableBody(generate(s)), expected);
}

TEST(LinkBar, OneLinkWithoutTextIsWrittenOnce) {
    PageSettings s;
    addLink(s, "Home", "index.html");
    const Lines expected = {
        "<tr>",
        R"(<td height="0" width="0"><a href="index.html">Home</a></td>)",
        "</tr>",
        kFiller,
    };
    EXPECT_EQ(tableBody(generate(s)), expected);
}

TEST(LinkBar, TwelveLinksSpanThirteenRowsInListOrder) {
    PageSettings s;
    for (int i = 0; i < 12; ++i) {
        addLink(s, std::string("L").append(std::to_string(i)), std::to_string(i) + ".html");
    }
    s.ListBox1.items = {"a", "b"};
    const Lines body = tableBody(generate(s));
    ASSERT_EQ(body.size(), 3U * 12 + 2 + 5);
    EXPECT_EQ(body[0], "<tr>");
    EXPECT_EQ(body[1], R"(<td height="0" width="0"><a href="0.html">L0</a></td>)");
    EXPECT_EQ(body[2], R"(<td valign="top" rowspan="13">)");
    EXPECT_EQ(body[8], "</tr>");
    for (int i = 1; i < 12; ++i) {
        SCOPED_TRACE("link " + std::to_string(i));
        const std::size_t row = 9 + 3 * static_cast<std::size_t>(i - 1);
        const std::string cell = R"(<td height="0" width="0"><a href=")" + std::to_string(i) +
                                 R"(.html">L)" + std::to_string(i) + "</a></td>";
        EXPECT_EQ(body[row], "<tr>");
        EXPECT_EQ(body[row + 1], cell);
        EXPECT_EQ(body[row + 2], "</tr>");
        EXPECT_EQ(countOf(body, cell), 1U);
    }
    EXPECT_EQ(body.back(), kFiller);
}

TEST(LinkBar, SeveralLinksWithoutTextWriteNoTextCell) {
    PageSettings s;
    addLink(s, "A", "a");
    addLink(s, "B", "b");
    addLink(s, "C", "c");
    for (const std::string& line : tableBody(generate(s))) {
        EXPECT_EQ(line.find("valign"), std::string::npos) << line;
        EXPECT_EQ(line.find("<font color="), std::string::npos) << line;
    }
}

TEST(LinkBar, SamePairAddedTwiceStandsInTwoRows) {
    PageSettings s;
    addLink(s, "Home", "index.html");
    addLink(s, "Home", "index.html");
    EXPECT_EQ(countOf(tableBody(generate(s)),
                      R"(<td height="0" width="0"><a href="index.html">Home</a></td>)"),
              2U);
}

TEST(LinkBar, FillerRowCarriesTheBackgroundOnlyWithStrecken) {
    struct Case {
        bool strecken, lh;
        const char* filler;
        const char* cell;
    };
    const Case cases[] = {
        {false, false, R"(<tr><td height="100%">&nbsp;</td></tr>)",
         R"(<td height="0" width="0"><a href="t">x</a></td>)"},
        {true, false, R"(<tr><td height="100%" background="hg.gif">&nbsp;</td></tr>)",
         R"(<td height="0" width="0"><a href="t">x</a></td>)"},
        {false, true, R"(<tr><td height="100%">&nbsp;</td></tr>)",
         R"(<td height="0" background="hg.gif" width="0"><a href="t">x</a></td>)"},
        {true, true, R"(<tr><td height="100%" background="hg.gif">&nbsp;</td></tr>)",
         R"(<td height="0" background="hg.gif" width="0"><a href="t">x</a></td>)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filler);
        PageSettings s;
        s.strecken = c.strecken;
        s.lh = c.lh;
        s.Edit7 = "hg.gif";
        addLink(s, "x", "t");
        const Lines body = tableBody(generate(s));
        ASSERT_EQ(body.size(), 4U);
        EXPECT_EQ(body[1], c.cell);
        EXPECT_EQ(body[3], c.filler);
    }
}

TEST(LinkBar, DotsWithAnEmptyPictureStillWriteTheImage) {
    PageSettings s;
    s.Dots = true;
    s.Edit6 = "";
    addLink(s, "x", "t");
    EXPECT_EQ(tableBody(generate(s))[1],
              R"(<td height="0" width="0"><img src="" align="middle"><a href="t">x</a></td>)");
}

TEST(LinkBar, TextCellUsesTheTextColourAndFontAndWritesLinesAsStored) {
    PageSettings s;
    addLink(s, R"(<b>"Start"</b>)", R"(a"b.html)");
    s.Edit24 = "#00FF00";
    s.Edit25 = "Courier";
    s.Edit20 = "#FF0000";  // the heading's colour and font belong to the heading only
    s.Edit21 = "Times";
    s.ListBox1.items = {"", R"(<img src="x.jpg" align="left">)", "  zwei  "};
    const Lines body = tableBody(generate(s));
    ASSERT_EQ(body.size(), 3U + 3 + 5);
    EXPECT_EQ(body[1], R"(<td height="0" width="0"><a href="a"b.html"><b>"Start"</b></a></td>)");
    EXPECT_EQ(body[3], R"(<font color="#00FF00" face="Courier">)");
    EXPECT_EQ(body[4], " &nbsp; ");
    EXPECT_EQ(body[5], R"( &nbsp; <img src="x.jpg" align="left">)");
    EXPECT_EQ(body[6], " &nbsp;   zwei  ");
}

// ---------------------------------------------------------- empty link list

TEST(EmptyLinkList, WithoutTextLinesOnlyTheFillerRowIsWritten) {
    PageSettings s;
    s.strecken = true;
    s.Edit7 = "hg.gif";
    EXPECT_EQ(tableBody(generate(s)),
              Lines{R"(<tr><td height="100%" background="hg.gif">&nbsp;</td></tr>)"});
}

TEST(EmptyLinkList, TextCellKeepsItsPlaceBesideTheFillerCell) {
    for (bool strecken : {false, true}) {
        SCOPED_TRACE(strecken ? "strecken" : "not strecken");
        PageSettings s;
        s.strecken = strecken;
        s.Edit7 = "hg.gif";
        s.ListBox1.items = {"Hallo", "Welt"};
        const Lines expected = {
            "<tr>",
            strecken ? R"(<td height="100%" background="hg.gif">&nbsp;</td>)"
                     : R"(<td height="100%">&nbsp;</td>)",
            R"(<td valign="top" rowspan="1">)",
            R"(<font color="#000000" face="Arial">)",
            " &nbsp; Hallo",
            " &nbsp; Welt",
            "</font>",
            "</td>",
            "</tr>",
        };
        const Lines page = generate(s);
        EXPECT_EQ(page, concat({kDefaultHead, expected, kPageEnd}));
        selectLastEntries(s);
        EXPECT_EQ(s.ListBox1.selected, 1);
    }
}

TEST(EmptyLinkList, LeavesTheLinkFieldsAndSelectionAsTheyWere) {
    PageSettings s;
    s.Edit3 = "getippt";
    s.Edit4 = "getippt.html";
    addPicture(s, "a.jpg", "A");
    CodeList out;
    EXPECT_NO_THROW(writePage(s, out)) << "the page is written without link rows";
    selectLastEntries(s);
    EXPECT_EQ(s.Edit3, "getippt");
    EXPECT_EQ(s.Edit4, "getippt.html");
    EXPECT_EQ(s.ListBox2.selected, -1);
    EXPECT_TRUE(s.ListBox2.items.empty());
    EXPECT_TRUE(s.ListBox5.items.empty());
    EXPECT_EQ(pictureRow(out.lines()),
              (Lines{"<tr>", "<th>", "<br>", R"(<img src="a.jpg">A)", "</th>", "</tr>"}));
}

// ------------------------------------------------------------- side effects

TEST(FinishSideEffects, LastLinkFillsTheLinkFieldsAndIsSelected) {
    PageSettings s;
    addLink(s, "A", "a.html");
    addLink(s, "B", "b.html");
    addLink(s, "C", "c.html");
    s.ListBox2.selected = 0;
    s.Edit3 = "neu";  // typed but never added: not on the page, and replaced
    s.Edit4 = "neu.html";
    const Lines page = generate(s);
    selectLastEntries(s);
    EXPECT_EQ(s.Edit3, "C");
    EXPECT_EQ(s.Edit4, "c.html");
    EXPECT_EQ(s.ListBox2.selected, 2);
    EXPECT_EQ(s.ListBox2.items, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(s.ListBox5.items, (std::vector<std::string>{"a.html", "b.html", "c.html"}));
    for (const std::string& line : page) EXPECT_EQ(line.find("neu"), std::string::npos) << line;
}

TEST(FinishSideEffects, LastTextLineAndLastPictureAreSelected) {
    PageSettings s;
    addLink(s, "A", "a.html");
    s.ListBox1.items = {"x", "y", "z"};
    s.ListBox1.selected = 0;
    addPicture(s, "1.jpg", "eins");
    addPicture(s, "2.jpg", "zwei");
    selectLastEntries(s);
    EXPECT_EQ(s.ListBox1.selected, 2);
    EXPECT_EQ(s.ListBox3.selected, 1);
    EXPECT_EQ(s.ListBox1.items, (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(s.ListBox3.items, (std::vector<std::string>{"1.jpg", "2.jpg"}));
    EXPECT_EQ(s.ListBox6.items, (std::vector<std::string>{"eins", "zwei"}));
}

TEST(FinishSideEffects, OtherValuesAreUnchanged) {
    PageSettings s;
    addLink(s, "A", "a.html");
    s.SpinEdit3.text = "-2";
    s.SpinEdit2.text = " 7";
    s.HeadingSize = 6;
    s.Edit12 = "halb getippt";
    s.alignment = Alignment::Right;
    generate(s);
    EXPECT_EQ(s.SpinEdit3.text, "-2");
    EXPECT_EQ(s.SpinEdit2.text, " 7");
    EXPECT_EQ(s.HeadingSize, 6);
    EXPECT_EQ(s.Edit12, "halb getippt");
    EXPECT_EQ(s.alignment, Alignment::Right);
}

// -------------------------------------------------------- values on the page

// Changes each value of `table` in turn with `change`: the lines written for
// at least one of `pages` change exactly when the value is marked onPage.
template <class T, std::size_t N, class Change>
void expectChangesThePageExactlyWhenOnPage(const std::array<Field<T>, N>& table,
                                           const std::vector<PageSettings>& pages, Change change) {
    for (const Field<T>& f : table) {
        bool changed = false;
        for (const PageSettings& page : pages) {
            PageSettings s = page;
            change(s.*f.member);
            changed = changed || generate(s) != generate(page);
        }
        EXPECT_EQ(changed, f.onPage) << f.name;
    }
}

// The window says "the page changed" from the marks in the tables: each value
// marked onPage changes the page, and no other value does. The pages have
// every part that shows a value: links, a text line, a picture, the style
// sheet, the dots, the link background and the corner picture, once on a
// background picture and once on a background colour.
TEST(ValuesOnThePage, EachMarkedValueChangesThePageAndNoOtherDoes) {
    std::vector<PageSettings> pages;
    for (const bool hgb : {true, false}) {
        PageSettings s;
        addLink(s, "A", "a.html");
        addLink(s, "B", "b.html");
        s.ListBox1.items = {"Zeile"};
        addPicture(s, "p.jpg", "P");
        s.CSS = true;
        s.Dots = true;
        s.lh = true;
        s.eck = true;
        s.hgb = hgb;
        pages.push_back(s);
    }
    expectChangesThePageExactlyWhenOnPage(kTextFields, pages,
                                          [](std::string& text) { text += "-anders"; });
    expectChangesThePageExactlyWhenOnPage(kTickFields, pages, [](bool& tick) { tick = !tick; });
    expectChangesThePageExactlyWhenOnPage(kSpinFields, pages,
                                          [](SpinField& spin) { spin.setValue(spin.value() + 2); });
}

// ------------------------------------------------------------- picture cell

TEST(PictureCell, TwoPicturesWithSpacingTwoGiveTheTenLineExample) {
    PageSettings s;
    addLink(s, "Home", "index.html");
    addPicture(s, "urlaub.jpg", "Am Meer");
    addPicture(s, "haus.gif", "");
    s.SpinEdit3.text = "2";
    const Lines expected = {
        "<tr>",
        "<th>",
        "<br>",
        "<br>",
        R"(<img src="urlaub.jpg">Am Meer)",
        "<br>",
        "<br>",
        R"(<img src="haus.gif">)",
        "</th>",
        "</tr>",
    };
    const Lines page = generate(s);
    EXPECT_EQ(pictureRow(page), expected);
    EXPECT_EQ(Lines(page.end() - 3, page.end()), kPageEnd);
}

TEST(PictureCell, EmptyPictureListWritesNoRow) {
    PageSettings s;
    addLink(s, "Home", "index.html");
    s.SpinEdit3.text = "3";
    const Lines page = generate(s);
    EXPECT_EQ(pictureRow(page), Lines{});
    EXPECT_EQ(countOf(page, "<th>"), 0U);
    EXPECT_EQ(countOf(page, "<br>"), 0U);
}

TEST(PictureCell, OnePictureWithTheDefaultSpacing) {
    PageSettings s;
    addPicture(s, "a.jpg", "A");
    EXPECT_EQ(pictureRow(generate(s)),
              (Lines{"<tr>", "<th>", "<br>", R"(<img src="a.jpg">A)", "</th>", "</tr>"}));
}

TEST(PictureCell, SpacingCountIsTheSpinValue) {
    struct Case {
        const char* typed;
        std::size_t breaksBeforeEach;
    };
    const Case cases[] = {{"0", 0}, {"5", 5}, {"abc", 0}, {"-2", 0}, {"$2", 2}, {" 1", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("SpinEdit3 \"") + c.typed + "\"");
        PageSettings s;
        addPicture(s, "a.jpg", "A");
        addPicture(s, "b.jpg", "B");
        addPicture(s, "c.jpg", "C");
        s.SpinEdit3.text = c.typed;
        Lines expected = {"<tr>", "<th>"};
        for (const char* picture :
             {R"(<img src="a.jpg">A)", R"(<img src="b.jpg">B)", R"(<img src="c.jpg">C)"}) {
            expected.insert(expected.end(), c.breaksBeforeEach, "<br>");
            expected.emplace_back(picture);
        }
        expected.insert(expected.end(), {"</th>", "</tr>"});
        const Lines row = pictureRow(generate(s));
        EXPECT_EQ(row, expected);
        EXPECT_EQ(countOf(row, "<br>"), 3 * c.breaksBeforeEach);
        EXPECT_EQ(row[row.size() - 3], R"(<img src="c.jpg">C)") << "no breaks after the last";
    }
}

TEST(PictureCell, EmptyFileNameAndCaptionAreWrittenAsStored) {
    PageSettings s;
    s.SpinEdit3.text = "0";
    addPicture(s, "", "nur Text");
    addPicture(s, "b.jpg", "");
    addPicture(s, R"(q".jpg)", "<i>kursiv</i>");
    EXPECT_EQ(pictureRow(generate(s)),
              (Lines{"<tr>", "<th>", R"(<img src="">nur Text)", R"(<img src="b.jpg">)",
                     R"(<img src="q".jpg"><i>kursiv</i>)", "</th>", "</tr>"}));
}

// ---------------------------------------------------------- running out of memory

// Refuses each allocation of one finish in turn: every refusal must end the
// finish with the list's message and leave a true beginning of the page.
TEST(PageGenerator, ARefusedAllocationLeavesTheLinesWrittenSoFar) {
    PageSettings s;
    s.CSS = true;
    addLink(s, "Home", "index.html");
    addLink(s, "Kontakt", "kontakt.html");
    s.ListBox1.items = {"Hallo"};
    addPicture(s, "a.jpg", "A");
    const Lines full = generate(s);

    bool completed = false;
    std::size_t refusals = 0;
    for (std::size_t n = 0; n < 10000 && !completed; ++n) {
        CodeList out;
        std::string message;
        {
            const velmora::testing::FailAllocation refuse(n);
            try {
                writePage(s, out);
            } catch (const Failure& f) {
                message = f.what();
            }
            completed = !velmora::testing::FailAllocation::fired();
            if (!completed) ++refusals;
        }
        if (completed) break;
        SCOPED_TRACE("allocation " + std::to_string(n));
        EXPECT_EQ(message, kListInsertError);
        const Lines& got = out.lines();
        ASSERT_LT(got.size(), full.size());
        EXPECT_TRUE(std::equal(got.begin(), got.end(), full.begin()));
    }
    EXPECT_TRUE(completed);
    EXPECT_GT(refusals, 0U) << "no allocation was refused";
}

// ---------------------------------------------------------------- page size

// Every combination of the parts whose presence changes the number of lines.
TEST(PageSize, TheCountIsTheNumberOfLinesWritten) {
    for (const std::size_t links : {0U, 1U, 3U}) {
        for (const std::size_t lines : {0U, 2U}) {
            for (const std::size_t pictures : {0U, 2U}) {
                for (const char* breaks : {"-2", "0", "3", "abc"}) {
                    for (const int variant : {0, 1, 2, 3}) {
                        PageSettings s;
                        for (std::size_t i = 0; i < links; ++i) addLink(s, "L", "l.html");
                        s.ListBox1.items.assign(lines, "Zeile");
                        for (std::size_t i = 0; i < pictures; ++i) addPicture(s, "p.jpg", "P");
                        s.SpinEdit3.text = breaks;
                        s.CSS = (variant & 1) != 0;
                        if ((variant & 2) != 0) s.Edit8.clear();
                        s.HeadingSize = variant == 3 ? 0 : 3;
                        const std::uint64_t counted = pageLineCount(s);
                        EXPECT_EQ(generate(s).size(), counted)
                            << links << " links, " << lines << " lines, " << pictures
                            << " pictures, spacing " << breaks << ", variant " << variant;
                    }
                }
            }
        }
    }
}

// A page with a link, a text line and one picture whose spacing count makes
// it `extra` lines longer than the bound allows.
PageSettings pageBeyondTheBound(std::int64_t extra) {
    PageSettings s;
    addLink(s, "Home", "index.html");
    s.ListBox1.items = {"Hallo"};
    addPicture(s, "a.jpg", "A");
    s.SpinEdit3.setValue(0);
    const auto base = static_cast<std::int64_t>(pageLineCount(s));
    const auto limit = static_cast<std::int64_t>(CodeList::kMaxLines);
    s.SpinEdit3.setValue(static_cast<std::int32_t>(limit - base + extra));
    return s;
}

TEST(PageSize, APageOfExactlyTheBoundIsWritten) {
    PageSettings s = pageBeyondTheBound(0);
    CodeList out;
    writePage(s, out);
    EXPECT_EQ(out.size(), CodeList::kMaxLines);
    EXPECT_EQ(out.lines().back(), "</html>");
}

// The whole finish: the refusal comes before the finish selects anything.
TEST(PageSize, OneLineMoreIsRefusedBeforeAnythingIsWrittenOrChanged) {
    for (const char* spacing : {"", "2147483647"}) {
        PageSettings s = pageBeyondTheBound(1);
        if (*spacing != '\0') s.SpinEdit3.text = spacing;
        s.Edit3 = "getippt";
        CodeList out;
        out.add("from the page before");
        std::string message;
        {
            const velmora::testing::LargestAllocation watch;
            try {
                SpeedButton9Click(s, out, "/nonexistent");  // refused before any folder
            } catch (const Failure& f) {
                message = f.what();
            }
            EXPECT_LT(velmora::testing::LargestAllocation::bytes(), 4096U) << spacing;
        }
        EXPECT_EQ(message, kListInsertError) << spacing;
        EXPECT_EQ(out.size(), 0U);
        EXPECT_EQ(s.Edit3, "getippt");  // the finish's side effects did not happen
        EXPECT_EQ(s.ListBox2.selected, -1);
        EXPECT_EQ(s.ListBox1.selected, -1);
        EXPECT_EQ(s.ListBox3.selected, -1);
    }
}

TEST(PageSize, CountsBeyondThirtyTwoBitsDoNotWrapAround) {
    PageSettings s;
    s.SpinEdit3.text = "2147483647";
    for (int i = 0; i < 4; ++i) addPicture(s, "p.jpg", "");
    // the thirteen head lines, the filler row, the picture cell, the page end
    EXPECT_EQ(pageLineCount(s), 13ULL + 1ULL + 4ULL + 4ULL * 2147483648ULL + 3ULL);
}

TEST(PageSize, CodeListRefusesALineBeyondTheBound) {
    CodeList out;
    out.reserve(CodeList::kMaxLines);
    for (std::uint64_t i = 0; i < CodeList::kMaxLines; ++i) out.add("<br>");
    try {
        out.add("<br>");
        ADD_FAILURE() << "a line beyond the bound was taken";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), kListInsertError);
    }
    EXPECT_EQ(out.size(), CodeList::kMaxLines);
}

}  // namespace
}  // namespace velmora
