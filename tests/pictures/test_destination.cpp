// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where a copy is written: a folder made when needed, a temporary file that
// never stays behind, and a name that no file has.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "Photos.h"
#include "pictures/Destination.h"
#include "settings/Failure.h"

namespace velmora::pictures {
namespace {

namespace fs = std::filesystem;
using test::bytesOf;
using test::writeBytes;

class Destination : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = test::scratchFolder();
        ASSERT_FALSE(root_.empty());
    }
    void TearDown() override { fs::remove_all(root_); }
    // The names in `folder`, sorted.
    static std::string listing(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename());
        std::string out;
        for (const std::string& n : names) out += n + " ";
        return out;
    }
    fs::path root_;
};

TEST_F(Destination, NamesTheCopyAfterTheOriginalAndNumbersItPastTakenNames) {
    EXPECT_EQ(candidateName("urlaub", "jpg", 1), "urlaub.jpg");
    EXPECT_EQ(candidateName("urlaub", "jpg", 2), "urlaub-2.jpg");
    const fs::path bilder = root_ / "bilder";
    {
        PendingFile first(bilder);  // the folder is made
        writeBytes(first.path(), "first");
        EXPECT_EQ(first.place("urlaub", "jpg"), "urlaub.jpg");
    }
    writeBytes(bilder / "urlaub-2.jpg", "taken");
    writeBytes(bilder / "urlaub-3.webp", "other extension");
    {
        PendingFile second(bilder);
        writeBytes(second.path(), "second");
        EXPECT_EQ(second.place("urlaub", "jpg"), "urlaub-3.jpg");
    }
    EXPECT_EQ(bytesOf(bilder / "urlaub.jpg"), "first");
    EXPECT_EQ(bytesOf(bilder / "urlaub-2.jpg"), "taken");
    EXPECT_EQ(bytesOf(bilder / "urlaub-3.jpg"), "second");
    EXPECT_EQ(listing(bilder), "urlaub-2.jpg urlaub-3.jpg urlaub-3.webp urlaub.jpg ");
}

TEST_F(Destination, NeverReplacesALinkOrAFolderOfThatName) {
    const fs::path bilder = root_ / "bilder";
    fs::create_directories(bilder / "foto.png");
    fs::create_symlink("nirgends.png", bilder / "foto-2.png");
    PendingFile pending(bilder);
    writeBytes(pending.path(), "new");
    EXPECT_EQ(pending.place("foto", "png"), "foto-3.png");
    EXPECT_TRUE(fs::is_directory(bilder / "foto.png"));
    EXPECT_TRUE(fs::is_symlink(bilder / "foto-2.png"));
}

TEST_F(Destination, LeavesNothingBehindWhenNotPlacedAndGetsTheUsualMode) {
    const fs::path bilder = root_ / "bilder";
    fs::path temporary;
    {
        PendingFile pending(bilder);
        temporary = pending.path();
        EXPECT_EQ(temporary.parent_path(), bilder);  // renamed within one file system
        writeBytes(temporary, "half");
    }
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_EQ(listing(bilder), "");

    const mode_t before = umask(022);
    PendingFile pending(bilder);
    umask(before);
    struct stat st = {};
    ASSERT_EQ(stat(pending.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777,
              0644U);  // readable by the web server's copy, not only by its owner
}

TEST_F(Destination, FailsNamingTheFolderWhenBilderIsAFile) {
    writeBytes(root_ / "bilder", "a file");
    try {
        PendingFile pending(root_ / "bilder");
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_NE(std::string(f.what()).find((root_ / "bilder").string()), std::string::npos)
            << f.what();
    }
    EXPECT_EQ(bytesOf(root_ / "bilder"), "a file");
}

}  // namespace
}  // namespace velmora::pictures
