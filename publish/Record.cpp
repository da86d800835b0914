// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/Record.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "publish/LocalFiles.h"
#include "settings/Failure.h"

namespace velmora::publish {
namespace {

constexpr std::string_view kHeader = "velmora-record 1";
constexpr std::string_view kPlace = "place ";

[[noreturn]] void unreadable(const std::string& path, int error) {
    throw Failure(path + " kann nicht gelesen werden: " + std::generic_category().message(error));
}

[[noreturn]] void unsaved(const std::string& path, int error) {
    throw Failure("Die Liste der hochgeladenen Dateien kann nicht gespeichert werden: " + path +
                  ": " + std::generic_category().message(error));
}

// Names are kept one a line: a line end, and the escape itself, as %XX.
std::string escaped(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == '%' || c == '\n' || c == '\r') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto u = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[u >> 4U];
            out += kHex[u & 0xFU];
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescaped(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned value = 0;
        if (s[i] == '%' && i + 2 < s.size() &&
            std::from_chars(s.data() + i + 1, s.data() + i + 3, value, 16).ptr ==
                s.data() + i + 3) {
            out += static_cast<char>(value);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool isSha256(std::string_view s) {
    return s.size() == 64 && s.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) close(fd);
    }
};

}  // namespace

Record::Record(std::string path) : path_(std::move(path)) {}

Record Record::load(const std::string& path) {
    Record record(path);
    int error = 0;
    const std::string text = readFile(path, error);
    if (error == ENOENT) return record;
    if (error != 0) unreadable(path, error);
    std::string_view rest = text;
    const auto nextLine = [&rest]() {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        return line;
    };
    if (nextLine() != kHeader) return record;
    std::map<std::string, SentFile>* place = nullptr;
    while (!rest.empty()) {
        const std::string_view line = nextLine();
        if (line.starts_with(kPlace)) {
            place = &record.places_[unescaped(line.substr(kPlace.size()))];
            continue;
        }
        // "<sha256> <size> <path>"
        const std::size_t space = line.find(' ');
        if (place == nullptr || space == std::string_view::npos) continue;
        SentFile sent;
        sent.sha256 = line.substr(0, space);
        const char* sizeStart = line.data() + space + 1;
        const auto [end, parsed] = std::from_chars(sizeStart, line.data() + line.size(), sent.size);
        if (!isSha256(sent.sha256) || parsed != std::errc() || end == sizeStart ||
            end >= line.data() + line.size() || *end != ' ') {
            continue;
        }
        const std::string_view relative =
            line.substr(static_cast<std::size_t>(end + 1 - line.data()));
        if (!relative.empty()) (*place)[unescaped(relative)] = std::move(sent);
    }
    return record;
}

void Record::save() const {
    std::string text(kHeader);
    text += '\n';
    for (const auto& [place, files] : places_) {
        text += std::string(kPlace) + escaped(place) + '\n';
        for (const auto& [relative, sent] : files) {
            text += sent.sha256 + ' ' + std::to_string(sent.size) + ' ' + escaped(relative) + '\n';
        }
    }
    if (const int error = replaceFile(path_, text); error != 0) unsaved(path_, error);
}

std::string Record::place(const Connection& c) {
    const char* scheme = c.protocol == Protocol::Sftp     ? "sftp"
                         : c.protocol == Protocol::FtpTls ? "ftps"
                                                          : "ftp";
    std::string folder = c.folder;
    while (folder.size() > 1 && folder.ends_with('/')) folder.pop_back();
    return std::string(scheme) + "://" + c.user + "@" + c.host + ":" + std::to_string(c.port) +
           (folder.starts_with('/') ? "" : "/~/") + folder;
}

const SentFile* Record::find(const std::string& place, const std::string& relativePath) const {
    const auto p = places_.find(place);
    if (p == places_.end()) return nullptr;
    const auto f = p->second.find(relativePath);
    return f == p->second.end() ? nullptr : &f->second;
}

void Record::put(const std::string& place, const std::string& relativePath, SentFile sent) {
    places_[place][relativePath] = std::move(sent);
}

std::string fileSha256(const std::string& path, std::uint64_t& size) {
    const Fd file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) unreadable(path, errno);
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
        throw Failure(path + " kann nicht gelesen werden: SHA-256");
    }
    std::vector<unsigned char> buffer(1 << 17);
    size = 0;
    for (;;) {
        const ssize_t n = read(file.fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) unreadable(path, errno);
        if (n == 0) break;
        EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(n));
        size += static_cast<std::uint64_t>(n);
    }
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_DigestFinal_ex(context.get(), digest.data(), &length);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4U];
        hex += kHex[digest[i] & 0xFU];
    }
    return hex;
}

}  // namespace velmora::publish
