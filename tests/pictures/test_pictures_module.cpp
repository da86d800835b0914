// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's side of the pictures module: loaded on first use, through
// the door alone, and only then are libheif and Exiv2 in the process.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/Failure.h"
#include "ui/PicturesModule.h"

namespace velmora::ui {
namespace {

namespace fs = std::filesystem;

std::string maps() {
    std::ifstream in("/proc/self/maps");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool mapped(const char* library) { return maps().find(library) != std::string::npos; }

TEST(PicturesModule, LoadsOnFirstUseAndBringsLibheifAndExiv2OnlyThen) {
    EXPECT_FALSE(mapped("libheif"));
    EXPECT_FALSE(mapped("libexiv2"));
    const fs::path root =
        fs::temp_directory_path() / ("velmora-module-" + std::to_string(getpid()));
    fs::create_directories(root / "seite");
    const fs::path garbage = root / "pictures.so";
    std::ofstream(garbage) << "kein Modul";
    for (const std::string& file :
         {std::string("/nonexistent/velmora/pictures.so"), garbage.string()}) {
        usePicturesModuleFile(QString::fromStdString(file));
        try {
            static_cast<void>(picturesModule());
            ADD_FAILURE() << "no failure for " << file;
        } catch (const Failure& failure) {
            EXPECT_EQ(std::string(failure.what())
                          .rfind("Velmora kann keine Bilder prüfen: das Modul " + file +
                                     " lässt sich nicht laden (",
                                 0),
                      0U)
                << failure.what();
        }
    }

    usePicturesModuleFile(QStringLiteral(VELMORA_PICTURES_MODULE));
    plugin::PicturesPlugin& pictures = picturesModule();
    EXPECT_EQ(&picturesModule(), &pictures);  // loaded once
    EXPECT_TRUE(mapped("libheif"));
    EXPECT_TRUE(mapped("libexiv2"));

    const fs::path photo = root / "foto.png";
    ASSERT_TRUE(
        QImage(1600, 1200, QImage::Format_RGB32).save(QString::fromStdString(photo.string())));
    const pictures::Facts facts = pictures.facts(photo.string());
    EXPECT_TRUE(facts.readable);
    EXPECT_EQ(facts.format, pictures::Format::Png);
    const pictures::Plan plan = pictures.plan(facts, pictures::Place::Heading);
    EXPECT_TRUE(plan.wanted);
    EXPECT_EQ(plan.width, 800);
    const std::atomic<bool> cancel{false};
    const pictures::Made made = pictures.makeCopy(photo.string(), (root / "seite").string(),
                                                  pictures::Place::Heading, cancel);
    EXPECT_EQ(made.kind, pictures::Made::Kind::Done) << made.message;
    EXPECT_EQ(made.relativePath, "bilder/foto.png");
    EXPECT_EQ(QImage(QString::fromStdString((root / "seite/bilder/foto.png").string())).width(),
              800);
    EXPECT_TRUE(pictures.notes(facts, "foto.png").empty());
    fs::remove_all(root);
}

}  // namespace
}  // namespace velmora::ui
