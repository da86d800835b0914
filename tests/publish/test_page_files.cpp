// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Which files a page takes to the server, read from pages Velmora wrote and
// from hand-written ones, in a fresh temporary folder; nothing here reads
// the working directory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "publish/PageFiles.h"
#include "publish/Record.h"
#include "settings/Failure.h"
#include "settings/PageSettings.h"

namespace velmora::publish {
namespace {

namespace fs = std::filesystem;

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "velmora-pages-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() { fs::remove_all(path_); }

    void write(const std::string& relative, const std::string& bytes) const {
        fs::create_directories((path_ / relative).parent_path());
        std::ofstream(path_ / relative, std::ios::binary) << bytes;
    }
    void writePage(const std::string& relative, const PageSettings& s) const {
        CodeList lines;
        velmora::writePage(s, lines);
        write(relative, composeFileBytes(lines.lines()));
    }
    [[nodiscard]] std::string operator/(const std::string& relative) const {
        return (path_ / relative).string();
    }

private:
    fs::path path_;
};

PageSettings pageLinking(const std::vector<std::pair<std::string, std::string>>& links) {
    PageSettings s;
    s.Edit8.clear();  // no heading picture
    s.hgb = false;    // a colour, no background picture
    for (const auto& [text, target] : links) {
        s.ListBox2.items.push_back(text);
        s.ListBox5.items.push_back(target);
    }
    return s;
}

std::vector<std::string> relativePaths(const PageFiles& files) {
    std::vector<std::string> paths;
    paths.reserve(files.files.size());
    for (const LocalFile& f : files.files) paths.push_back(f.relativePath);
    return paths;
}

std::vector<std::string> messages(const PageFiles& files) {
    std::vector<std::string> lines;
    lines.reserve(files.problems.size());
    for (const PageProblem& p : files.problems) lines.push_back(p.message());
    return lines;
}

// One page of every kind of name: the names as a browser reads them, the
// pages Velmora wrote that links lead to (each with what it names, a cycle
// among them), and a hand-written page that is just a file.
TEST(PageFiles, NamesAsTheBrowserReadsThem) {
    const Folder site;
    PageSettings s = pageLinking({
        {"Web", "http://example.org/bild.jpg"},
        {"Sicher", "https://example.org/"},
        {"Post", "mailto:ich@example.org"},
        {"Telefon", "tel:+49301234"},
        {"Datei", "ftp://example.org/x.zip"},
        {"Eigenes", "x-schema:bild.jpg"},
        {"Netz", "//cdn.example.org/bild.jpg"},
        {"Oben", "#oben"},
        {"Hier", "index.html#unten"},
        {"Zwei", "seite2.html"},
        {"Drei", "unterseite/seite3.html?von=start"},
        {"Hand", "handgeschrieben.html"},
        {"Lies", "Lies%20mich.txt"},
        {"Ordner", "ordner/"},
        {"Zwei nochmal", "./seite2.html"},
    });
    s.hgb = true;
    s.Edit1 = "hintergrund.jpg";
    s.Edit8 = "bild.jpg?v=2";
    s.ListBox1.items.push_back("<IMG SRC='inline.gif' alt=x>");
    s.ListBox1.items.push_back("<a href=ohne-anf&#252;hrung.html>x</a>");
    s.ListBox1.items.push_back("<img src=\"data:image/png;base64,AAAA\">");
    s.ListBox1.items.push_back("<!-- <img src=\"kommentar.jpg\"> -->");
    s.ListBox1.items.push_back("<style>td { background: url(stil.jpg) }</style>");
    for (const char* picture :
         {"bilder/M\xC3\xBCll.jpg", "bilder/../foto.jpg#gross", "../Bilder/urlaub.jpg",
          "/etc/hosts", "bilder\\backslash.jpg", "fehlt/auch.jpg"}) {
        s.ListBox3.items.push_back(picture);
        s.ListBox6.items.push_back("");
    }
    site.writePage("index.html", s);
    site.write("hintergrund.jpg", "h");
    site.write("inline.gif", "i");
    site.write("ohne-anf\xC3\xBChrung.html", "<html>hand");
    site.write("bilder/M\xC3\xBCll.jpg", "m");
    site.write("foto.jpg", "f");
    site.write("bilder/backslash.jpg", "b");
    site.write("Lies mich.txt", "l");
    site.write("kommentar.jpg", "k");
    site.write("stil.jpg", "s");
    fs::create_directories(site / "ordner");
    // a page of Velmora's with a picture of its own, linking back (a cycle)
    PageSettings two = pageLinking({{"Start", "index.html"}, {"Drei", "unterseite/seite3.html"}});
    two.ListBox3.items.push_back("zwei.jpg");
    two.ListBox6.items.push_back("");
    site.writePage("seite2.html", two);
    site.write("zwei.jpg", "2");
    // one in a folder below, naming its pictures from there
    PageSettings three =
        pageLinking({{"Zur\xC3\xBC"
                      "ck",
                      "../seite2.html"}});
    three.hgb = true;
    three.Edit1 = "../hintergrund.jpg";
    three.ListBox3.items.push_back("drei.jpg");
    three.ListBox6.items.push_back("");
    three.ListBox3.items.push_back("../../draussen.jpg");
    three.ListBox6.items.push_back("");
    site.writePage("unterseite/seite3.html", three);
    site.write("unterseite/drei.jpg", "3");
    // hand-written HTML: what it names does not go up
    site.write("handgeschrieben.html", "<html><img src=\"nicht-mit.jpg\"></html>");
    site.write("nicht-mit.jpg", "n");

    const PageFiles files = pageFiles(site / "index.html");
    EXPECT_EQ(relativePaths(files),
              (std::vector<std::string>{
                  "hintergrund.jpg", "inline.gif", "ohne-anf\xC3\xBChrung.html",
                  "unterseite/drei.jpg", "unterseite/seite3.html", "zwei.jpg", "seite2.html",
                  "handgeschrieben.html", "Lies mich.txt", "bilder/M\xC3\xBCll.jpg", "foto.jpg",
                  "bilder/backslash.jpg", "index.html"}));
    for (const LocalFile& f : files.files) EXPECT_EQ(f.localPath, site / f.relativePath);
    std::vector<std::string> pictures;  // named by src or background, in any page
    for (const LocalFile& f : files.files) {
        if (f.picture) pictures.push_back(f.relativePath);
    }
    EXPECT_EQ(pictures, (std::vector<std::string>{
                            "hintergrund.jpg", "inline.gif", "unterseite/drei.jpg", "zwei.jpg",
                            "bilder/M\xC3\xBCll.jpg", "foto.jpg", "bilder/backslash.jpg"}));
    const std::string outside = " liegt au\u00DFerhalb des Ordners der Seite";
    EXPECT_EQ(messages(files),
              (std::vector<std::string>{"bild.jpg fehlt", "../draussen.jpg" + outside,
                                        "../Bilder/urlaub.jpg" + outside, "/etc/hosts" + outside,
                                        "fehlt/auch.jpg fehlt"}));
}

// The names a page carries in its bytes: references in decimal and hex, the
// named ones a browser decodes, and Windows-1252 bytes of an older page.
TEST(PageFiles, ReferencesAndBytesDecoded) {
    const Folder site;
    site.write("seite.html",
               "<html><body background=\"&#x4D;&#252;ll.jpg\">"
               "<img src=\"a&amp;b.jpg\"><img src=\"Gr\xF6\xDF\x65.jpg\">"
               "<img src=\"&#8364;.jpg\"></body></html>");
    site.write("M\xC3\xBCll.jpg", "");
    site.write("a&b.jpg", "");
    site.write("Gr\u00F6\u00DFe.jpg", "");
    site.write("\xE2\x82\xAC.jpg", "");
    EXPECT_EQ(relativePaths(pageFiles(site / "seite.html")),
              (std::vector<std::string>{"M\xC3\xBCll.jpg", "a&b.jpg", "Gr\u00F6\u00DFe.jpg",
                                        "\xE2\x82\xAC.jpg", "seite.html"}));
}

TEST(PageFiles, UnreadablePageFails) {
    const Folder site;
    try {
        (void)pageFiles(site / "fehlt.html");
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "fehlt.html kann nicht gelesen werden: No such file or directory");
    }
}

// The record keeps names that a line-based file could mistake, and per place.
TEST(PublishRecord, SavedAndLoadedAgain) {
    const Folder config;
    Record record(config / "neu/record");
    const SentFile a{3, std::string(64, 'a')};
    const SentFile b{12345678901, std::string(64, 'b')};
    record.put("sftp://u@h:22/~/www", "bilder/mit Leerzeichen %41.jpg", a);
    record.put("sftp://u@h:22/~/www", "index.html", b);
    record.put("ftps://u@h:21//srv", "index.html", a);
    record.save();
    const Record loaded = Record::load(config / "neu/record");
    ASSERT_NE(loaded.find("sftp://u@h:22/~/www", "bilder/mit Leerzeichen %41.jpg"), nullptr);
    EXPECT_EQ(*loaded.find("sftp://u@h:22/~/www", "bilder/mit Leerzeichen %41.jpg"), a);
    ASSERT_NE(loaded.find("sftp://u@h:22/~/www", "index.html"), nullptr);
    EXPECT_EQ(*loaded.find("sftp://u@h:22/~/www", "index.html"), b);
    EXPECT_EQ(*loaded.find("ftps://u@h:21//srv", "index.html"), a);
    EXPECT_EQ(loaded.find("ftps://u@h:21//srv", "bilder/mit Leerzeichen %41.jpg"), nullptr);
    EXPECT_EQ(Record::load(config / "keiner").find("sftp://u@h:22/~/www", "index.html"), nullptr);
    EXPECT_FALSE(fs::exists(config / "neu/record.velmora-tmp"));
}

}  // namespace
}  // namespace velmora::publish
