// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/RemoteFolder.h"

#include <initializer_list>
#include <string_view>

namespace velmora::publish {
namespace {

bool isUnreserved(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Everything but letters, digits, "-._~" and '/' as %XX: libcurl decodes
// each part of the path again, so '#', '?', '%', blanks and umlauts arrive
// as they are.
std::string percentEncoded(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        if (isUnreserved(c) || c == '/') {
            out += c;
        } else {
            const auto u = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[u >> 4U];
            out += kHex[u & 0xFU];
        }
    }
    return out;
}

std::string joined(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const std::string_view part : parts) {
        if (part.empty()) continue;
        if (!out.empty() && !out.ends_with('/')) out += '/';
        out += part;
    }
    return out;
}

}  // namespace

RemoteFolder::RemoteFolder(const std::string& folder, bool sftp) : folder_(folder), sftp_(sftp) {
    while (folder_.ends_with('/')) folder_.pop_back();
    absolute_ = folder.starts_with('/');
    if (absolute_) folder_.erase(0, folder_.find_first_not_of('/'));
}

std::string RemoteFolder::below(const std::string& dir, const std::string& name) const {
    return joined({folder_, dir, name});
}

std::string RemoteFolder::url(const std::string& dir, const std::string& name) const {
    const std::string path = below(dir, name);
    // SFTP: "/~/" is the login folder. FTP: a path is relative to the login
    // folder, and a first part "%2F" starts at the root.
    if (absolute_) return (sftp_ ? "/" : "/%2F") + percentEncoded(path);
    return (sftp_ ? "/~/" : "/") + percentEncoded(path);
}

std::string RemoteFolder::folderUrl(const std::string& dir) const {
    // The login folder's URL path is the bare "/" in FTP: libcurl reads a
    // second '/' as a change to the server's root.
    std::string u = url(dir, {});
    if (!u.ends_with('/')) u += '/';
    return u;
}

std::string RemoteFolder::quoted(const std::string& dir, const std::string& name) const {
    // libcurl reads "/~/" as the login folder only in a name without quotes,
    // but OpenSSH's server starts in that folder: a relative name is below
    // it. Inside the quotes '\' escapes the quotes and itself.
    const std::string path = below(dir, name);
    std::string out = "\"";
    for (const char c : absolute_ ? "/" + path : path.empty() ? "." : path) {
        if (c == '"' || c == '\\' || c == '\'') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string RemoteFolder::shown(const std::string& dir, const std::string& name) const {
    return std::string("„") + (absolute_ ? "/" : "") + below(dir, name) + "“";
}

}  // namespace velmora::publish
