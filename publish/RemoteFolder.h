// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The folder a publish goes into on the server, and the paths below it in
// each form libcurl takes them: in a URL, and quoted in an SFTP command.
// Only the publish uses this; it is apart so that the escaping can be read
// on its own.
#pragma once

#include <string>

namespace velmora::publish {

class RemoteFolder {
public:
    /// `folder` as Connection::folder gives it: below the folder the login
    /// lands in unless it starts with '/'; empty, that folder itself.
    RemoteFolder(const std::string& folder, bool sftp);

    /// The URL's path of `name` in `dir` (relative to this folder), for
    /// after the scheme, host and port; of `dir` itself without a name.
    [[nodiscard]] std::string url(const std::string& dir, const std::string& name) const;
    /// The URL's path of `dir` as a folder.
    [[nodiscard]] std::string folderUrl(const std::string& dir) const;
    /// `name` in `dir` as an argument of an SFTP quote command.
    [[nodiscard]] std::string quoted(const std::string& dir, const std::string& name) const;
    /// `name` in `dir` as the user names it, in German quotation marks.
    [[nodiscard]] std::string shown(const std::string& dir, const std::string& name) const;

private:
    [[nodiscard]] std::string below(const std::string& dir, const std::string& name) const;

    std::string folder_;  // without a '/' at either end
    bool absolute_ = false;
    bool sftp_ = false;
};

}  // namespace velmora::publish
