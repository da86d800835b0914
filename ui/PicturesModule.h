// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The pictures module (plugin/PicturesPlugin.cpp), loaded when a picture is
// first looked at, by a picture field or by publishing, and never unloaded:
// libheif, Exiv2 and the image plugins they bring come into the process with
// it, and only then.
#pragma once

#include <QString>

#include "plugin/PicturesPlugin.h"

namespace velmora::ui {

/// The module's file: at the installed path from the program's folder,
/// which the build tree keeps too, beside the publishing module.
[[nodiscard]] QString picturesModuleFile();

/// Tests, whose programs lie elsewhere, name the module they built.
void usePicturesModuleFile(const QString& file);

/// The module's plugin, loaded on first use. A module that is missing or
/// does not fit throws Failure naming its file. From the UI thread; the
/// plugin it gives may be called from any.
[[nodiscard]] plugin::PicturesPlugin& picturesModule();

/// The module's plugin, or nullptr where its package (velmora-pictures) is
/// not installed; throws as picturesModule() does for a module that is there
/// but does not load.
[[nodiscard]] plugin::PicturesPlugin* installedPicturesModule();

}  // namespace velmora::ui
