// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <stdlib.h>  // mkdtemp

#include <filesystem>
#include <fstream>
#include <string>

#include "wizard/RelativeName.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// A page folder "seite" with pictures in and below it, a folder beside it,
// and links to both from several places.
class RelativeName : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        for (const char* folder : {"seite/bilder", "aussen", "tief"}) {
            fs::create_directories(root_ / folder);
        }
        for (const char* file : {"seite/dot.gif", "seite/bilder/sonne.png",
                                 "seite/bilder/Blüte am Meer.jpg", "aussen/ferne.png"}) {
            std::ofstream(root_ / file) << "GIF89a";
        }
        fs::create_directory_symlink("seite/bilder", root_ / "zu-bildern");
        fs::create_directory_symlink("../aussen", root_ / "seite/extern");
        fs::create_directory_symlink("../seite", root_ / "tief/zur-seite");
        fs::create_symlink("bilder/sonne.png", root_ / "seite/logo.png");
    }
    void TearDown() override { fs::remove_all(root_); }

    [[nodiscard]] std::string at(const char* part) const { return (root_ / part).string(); }

    fs::path root_;
};

TEST_F(RelativeName, NamesTheFileFromTheWorkingDirectory) {
    struct Case {
        const char* what;
        const char* folder;  // the working directory
        const char* file;    // as the dialog or a drop hands it over
        const char* name;
    };
    const Case cases[] = {
        {"beside", "seite", "seite/dot.gif", "dot.gif"},
        {"in a sub-folder", "seite", "seite/bilder/sonne.png", "bilder/sonne.png"},
        {"outside", "seite", "aussen/ferne.png", "../aussen/ferne.png"},
        {"above", "seite/bilder", "seite/dot.gif", "../dot.gif"},
        {"umlaut and blanks", "seite", "seite/bilder/Blüte am Meer.jpg",
         "bilder/Blüte am Meer.jpg"},
        {"through a linked folder", "seite", "zu-bildern/sonne.png", "bilder/sonne.png"},
        {"through a link in the working directory to a folder outside", "seite",
         "seite/extern/ferne.png", "../aussen/ferne.png"},
        {"from a working directory reached through a link", "tief/zur-seite", "aussen/ferne.png",
         "../aussen/ferne.png"},
        {"a folder up from a linked folder", "seite", "zu-bildern/../dot.gif", "dot.gif"},
        {"a file that is a link keeps its own name", "seite", "seite/logo.png", "logo.png"},
        {"in a folder that does not exist", "seite", "neu/bild.png", "../neu/bild.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(relativeName(at(c.file), at(c.folder)), c.name);
    }
}

}  // namespace
}  // namespace velmora
