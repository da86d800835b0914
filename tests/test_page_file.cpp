// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page file the wizard works on: opening and finishing know which files
// may be replaced and which values are not saved yet.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "generator/PageReader.h"
#include "settings/Failure.h"
#include "wizard/PageFile.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const PageSettings& s) {
    CodeList out;
    writePage(s, out);
    return composeFileBytes(out.lines());
}

class PageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = fs::absolute(pattern);
        previous_ = fs::current_path();
    }
    // Opening a page moves the working directory.
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }

    // The file `name` in the scratch folder.
    [[nodiscard]] fs::path at(const std::string& name) const { return dir_ / name; }

    static void write(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // `path` as read by a wizard in the scratch folder.
    [[nodiscard]] std::string refusalOf(const std::string& path) const {
        try {
            static_cast<void>(PageFile(dir_.string()).read(path));
            return "";
        } catch (const Failure& e) {
            return e.what();
        }
    }

    fs::path dir_;
    fs::path previous_;
};

TEST_F(PageFiles, ReadingRefusesLargeAndUnreadableFiles) {
    {
        const int fd = open(at("gross.html").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, static_cast<off_t>(kMaxPageBytes) + 1), 0);  // sparse
        close(fd);
    }
    EXPECT_EQ(refusalOf("gross.html"),
              "gross.html ist keine Seite, die Velmora geschrieben hat (größer als 256 MiB)");
    EXPECT_EQ(refusalOf("fehlt.html").rfind("fehlt.html kann nicht gelesen werden: ", 0), 0U);
    fs::create_directory(at("ordner.html"));
    EXPECT_EQ(refusalOf("ordner.html").rfind("ordner.html kann nicht gelesen werden: ", 0), 0U);
}

// Opened from another folder, a page comes back as its finish left the
// wizard, and the finish writes it back where it came from.
TEST_F(PageFiles, OpenedPageIsFinishedBackInItsFolder) {
    fs::create_directories(at("site/unter"));
    PageSettings written;
    written.Edit19 = "seite";
    written.html = false;
    written.ListBox2.items = {"A", "B"};
    written.ListBox5.items = {"a.html", "b.html"};
    written.ListBox1.items = {"x"};
    written.ListBox3.items = {"p.jpg"};
    written.ListBox6.items = {""};
    const std::string bytes = bytesOf(written);
    write(at("site/unter/seite.htm"), bytes);

    PageFile file(dir_.string());
    PageSettings s;
    CodeList out;
    file.open(file.read("site/unter/seite.htm"), s, out);
    EXPECT_EQ(fs::current_path(), dir_ / "site/unter");
    EXPECT_EQ(s.Edit19, "seite");
    EXPECT_FALSE(s.html);
    EXPECT_EQ(s.Edit3, "B");
    EXPECT_EQ(s.Edit4, "b.html");
    EXPECT_EQ(s.ListBox2.selected, 1);
    EXPECT_EQ(s.ListBox1.selected, 0);
    EXPECT_EQ(s.ListBox3.selected, 0);
    EXPECT_EQ(composeFileBytes(out.lines()), bytes);
    EXPECT_FALSE(file.holdsUnsaved(s));
    EXPECT_FALSE(file.wouldReplaceForeignFile(s));
    const fs::path page = fs::canonical(dir_) / "site/unter/seite.htm";
    EXPECT_EQ(file.lastPath(), page.string());

    file.finish(s, out);
    EXPECT_EQ(read(at("site/unter/seite.htm")), bytes);
    fs::current_path(dir_);  // publishing reads no working directory
    EXPECT_EQ(file.lastPath(), page.string());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(at("site/unter")), fs::directory_iterator()), 1);
}

TEST_F(PageFiles, NamesOfOtherExtensions) {
    const std::string bytes = bytesOf(PageSettings{});
    for (const auto& [file, edit19] : {std::pair{".html", ""},
                                       {"kopie.html.txt", "kopie.html"},
                                       {"INDEX.HTM", "INDEX"},
                                       {"ohne", "ohne"}}) {
        SCOPED_TRACE(file);
        write(at(file), bytes);
        PageFile pages(dir_.string());
        PageSettings s;
        CodeList out;
        pages.open(pages.read(at(file).string()), s, out);
        EXPECT_EQ(s.Edit19, edit19);
        EXPECT_TRUE(s.html);
    }
}

TEST_F(PageFiles, OnlyAForeignFileIsAskedFor) {
    PageFile file(dir_.string());
    PageSettings s;
    CodeList out;
    EXPECT_FALSE(file.wouldReplaceForeignFile(s));  // no index.html yet
    write(at("index.html"), "<html><body>Meine eigene Seite</body></html>\n");
    EXPECT_TRUE(file.wouldReplaceForeignFile(s));
    s.Edit19 = "andere";
    write(at("andere.html"), bytesOf(PageSettings{}));  // a page Velmora wrote
    EXPECT_FALSE(file.wouldReplaceForeignFile(s));
    s.Edit19 = "index";
    file.finish(s, out);  // answered yes
    write(at("index.html"), "<html>wieder eigen</html>\n");
    EXPECT_FALSE(file.wouldReplaceForeignFile(s));  // written in this run
    fs::create_directory(at("ordner.html"));
    s.Edit19 = "ordner";
    EXPECT_FALSE(file.wouldReplaceForeignFile(s));  // no file; the finish says why
}

TEST_F(PageFiles, UnsavedIsWhatWouldWriteAnotherPage) {
    PageFile file(dir_.string());
    PageSettings s;
    CodeList out;
    EXPECT_FALSE(file.holdsUnsaved(s));
    EXPECT_EQ(file.lastPath(), "");  // nothing to publish yet
    s.Edit3 = "nur ein Feld";        // on no page
    s.Edit19 = "anders";
    EXPECT_FALSE(file.holdsUnsaved(s));
    s.Edit2 = "Titel";
    EXPECT_TRUE(file.holdsUnsaved(s));
    file.finish(s, out);
    EXPECT_FALSE(file.holdsUnsaved(s));
    EXPECT_EQ(file.lastPath(), (fs::canonical(dir_) / "anders.html").string());
    s.SpinEdit3.setValue(2000000);  // a page too large to write
    s.ListBox3.items = {"a"};
    s.ListBox6.items = {""};
    EXPECT_TRUE(file.holdsUnsaved(s));
}

}  // namespace
}  // namespace velmora
