// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the program asks of the pictures module: the one door between the
// windows (the wizard's picture fields, publishing's list) and everything
// that loads libheif, Exiv2 and Qt's image plugins. The program includes only
// this header and the plain values that cross the door (pictures/Values.h),
// and loads the module (pictures.so) on first use, so a run that never looks
// at a picture maps none of them.
//
//   program ──QLibrary──▶ velmora_pictures_plugin(kPicturesPluginVersion) ──▶ PicturesPlugin
//   field ──▶ facts, plan (UI thread: headers only), makeCopy (worker thread)
//   publishing ──▶ facts, notes
//
// Nothing is thrown across the boundary: every failure comes back as a
// value, with the message the pictures library gave it.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "pictures/Values.h"

namespace velmora::plugin {

/// Raised with every change of this header or of pictures/Values.h.
inline constexpr int kPicturesPluginVersion = 2;

/// The module's one exported function: the module's plugin, or nullptr when
/// it was built for another `version`.
inline constexpr const char* kPicturesFactoryName = "velmora_pictures_plugin";

class PicturesPlugin {
public:
    virtual ~PicturesPlugin() = default;

    /// What the absolute `file` is. Reads its header and metadata, never its
    /// pixels: fast enough for the UI thread.
    [[nodiscard]] virtual pictures::Facts facts(const std::string& file) noexcept = 0;

    /// Whether `place` wants a copy of a picture with these facts, and the
    /// copy's size.
    [[nodiscard]] virtual pictures::Plan plan(const pictures::Facts& facts,
                                              pictures::Place place) noexcept = 0;

    /// Makes the copy that `place` wants of the absolute `file` in bilder/
    /// below the absolute `pageFolder`, never replacing a file and never
    /// touching the original. Blocks, for a worker thread; `cancel`, set from
    /// any thread, stops it between its steps with nothing left behind.
    [[nodiscard]] virtual pictures::Made makeCopy(const std::string& file,
                                                  const std::string& pageFolder,
                                                  pictures::Place place,
                                                  const std::atomic<bool>& cancel) noexcept = 0;

    /// The question the wizard asks before it makes the copy of `plan`, of
    /// the picture `name`.
    [[nodiscard]] virtual std::string question(const pictures::Facts& facts,
                                               const pictures::Plan& plan,
                                               const std::string& name) noexcept = 0;

    /// What publishing says of a picture the page names as `name`: too many
    /// bytes, a position, a format browsers do not show; each a sentence.
    [[nodiscard]] virtual std::vector<std::string> notes(const pictures::Facts& facts,
                                                         const std::string& name) noexcept = 0;
};

using PicturesFactory = PicturesPlugin* (*)(int version);

}  // namespace velmora::plugin
