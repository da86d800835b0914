// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/RelativeName.h"

#include <filesystem>
#include <system_error>

namespace velmora {
namespace {

namespace fs = std::filesystem;

// The folder's real path, links resolved, as far as it exists. A folder that
// cannot be read still has a name, so it is then taken as written.
fs::path realFolder(const fs::path& folder) {
    std::error_code error;
    fs::path real = fs::weakly_canonical(folder, error);
    return error ? folder.lexically_normal() : real;
}

}  // namespace

std::string relativeName(const std::string& file, const std::string& folder) {
    const fs::path chosen(file);
    const fs::path real = realFolder(chosen.parent_path()) / chosen.filename();
    return real.lexically_relative(realFolder(folder)).generic_string();
}

}  // namespace velmora
