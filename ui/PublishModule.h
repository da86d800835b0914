// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The publishing module (plugin/), loaded when the user first publishes and
// never unloaded: libcurl and QtKeychain come into the process with it, and
// only then.
#pragma once

#include <QString>

#include "plugin/PublishPlugin.h"

namespace velmora::ui {

/// The module's file: at the installed path from the program's folder,
/// which the build tree keeps too.
[[nodiscard]] QString publishModuleFile();

/// Tests, whose programs lie elsewhere, name the module they built.
void usePublishModuleFile(const QString& file);

/// The module's plugin, loaded and its transfers set up on first use. A
/// module that is missing or does not fit throws Failure naming its file.
[[nodiscard]] plugin::PublishPlugin& publishModule();

/// Releases the transfers' global state at the program's end, when the
/// module was loaded; after every transfer thread has ended.
void finishPublishModule() noexcept;

}  // namespace velmora::ui
