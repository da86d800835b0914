// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where a copy goes: a file written under a temporary name in its folder and
// put in place, when whole, under a name no other file has. A file is never
// replaced, not even one that appears meanwhile.
#pragma once

#include <filesystem>
#include <string>

namespace velmora::pictures {

class PendingFile {
public:
    /// A new empty file in `folder`, which is made when needed. Throws
    /// Failure when neither can be made.
    explicit PendingFile(const std::filesystem::path& folder);
    /// Removes the file unless it was put in place.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    /// Where to write it meanwhile.
    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

    /// Flushes it to the disk and gives it the first free name of
    /// "STEM.EXT", "STEM-2.EXT", "STEM-3.EXT", …, returned. Throws Failure.
    std::string place(const std::string& stem, const std::string& extension);

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
    bool placed_ = false;
};

/// The file name of the `n`th candidate: "urlaub.jpg", "urlaub-2.jpg", ….
[[nodiscard]] std::string candidateName(const std::string& stem, const std::string& extension,
                                        int n);

}  // namespace velmora::pictures
