// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The copies as a visitor sees them: headless Chromium shows the HEIC's
// copy, which it cannot show of the HEIC itself, and the turned photo's copy
// upright, with no orientation tag left to turn it by.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CopyFixture.h"
#include "Photos.h"
#include "pictures/Copy.h"

namespace velmora::pictures {
namespace {

class InTheBrowser : public Copies {
protected:
    // An 800 × 600 screenshot of a page that shows `src` at its top left.
    QImage shown(const std::string& src) {
        const fs::path html = page_ / "seite.html";
        std::ofstream(html) << "<html><body style=\"margin:0;background:#888\"><img src=\"" << src
                            << "\"></body></html>";
        const fs::path shot = root_ / "shot.png";
        fs::remove(shot);
        const std::string chromium =
            "chromium --headless --no-sandbox --disable-gpu --disable-background-networking "
            "--disable-component-update --disable-sync --no-first-run --user-data-dir='" +
            (root_ / "profile").string() + "' --window-size=800,600 --screenshot='" +
            shot.string() + "' 'file://" + html.string() + "' >/dev/null 2>&1";
        EXPECT_EQ(run(chromium), 0);
        return read(shot);
    }
};

TEST_F(InTheBrowser, ShowsTheHeicsCopyAndTheTurnedPhotoUpright) {
    const fs::path viewed = saved(test::viewedPattern(800, 600), "viewed.png");
    const fs::path heic = fotos_ / "urlaub.heic";
    ASSERT_EQ(run("heif-enc -q 80 -o '" + heic.string() + "' '" + viewed.string() + "' >/dev/null"),
              0);
    fs::copy_file(heic, page_ / "urlaub.heic");
    // the check can fail: the HEIC itself shows as nothing
    EXPECT_FALSE(test::upright(shown("urlaub.heic")));
    const Made heicCopy = copyFor(original(heic), Place::Heading);
    EXPECT_TRUE(test::upright(shown(heicCopy.relativePath)));

    // encoded anew: turned in its pixels, no tag left that Chromium turns it by
    const fs::path turned = original(photo(1600, 1200, 6, kTags));
    const Made photoCopy = copyFor(turned, Place::Heading);
    ASSERT_EQ(photoCopy.relativePath, "bilder/foto.jpg");
    EXPECT_FALSE(holds(exiftoolTags(page_ / photoCopy.relativePath), "Orientation"));
    EXPECT_TRUE(test::upright(shown(photoCopy.relativePath)));

    // only its position stripped: turned by the tag it keeps
    const fs::path located = original(photo(800, 600, 6, kTags, 92, "ort.jpg"));
    const Made stripped = copyFor(located, Place::Heading);
    ASSERT_TRUE(stripped.pixelsKept);
    EXPECT_TRUE(test::upright(shown(stripped.relativePath)));
}

}  // namespace
}  // namespace velmora::pictures
