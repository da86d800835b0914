// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/HostKeys.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <system_error>

#include "publish/LocalFiles.h"

namespace velmora::publish::hostkeys {
namespace {

std::string base64(std::string_view bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(bytes.data()),
                                  static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(std::max(n, 0)));
    return out;
}

// The bytes of `text` in base64, or nothing when it is none.
std::string unbase64(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) return {};
    std::string out(text.size() / 4 * 3, '\0');
    const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(text.data()),
                                  static_cast<int>(text.size()));
    if (n < 0) return {};
    out.resize(static_cast<std::size_t>(n));
    // EVP_DecodeBlock counts the padding as zero bytes.
    for (std::size_t k = text.size(); k > 0 && text[k - 1] == '='; --k) out.pop_back();
    return out;
}

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return s;
}

// OpenSSH's pattern match: '*' any run, '?' any one character.
bool wildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool hashedMatch(std::string_view field, const std::string& entry) {
    // |1|base64(salt)|base64(HMAC-SHA1(salt, host))
    const std::size_t bar = field.find('|', 3);
    if (bar == std::string_view::npos) return false;
    const std::string salt = unbase64(field.substr(3, bar - 3));
    const std::string hash = unbase64(field.substr(bar + 1));
    std::array<unsigned char, EVP_MAX_MD_SIZE> mac{};
    unsigned int length = 0;
    if (salt.empty() || HMAC(EVP_sha1(), salt.data(), static_cast<int>(salt.size()),
                             reinterpret_cast<const unsigned char*>(entry.data()), entry.size(),
                             mac.data(), &length) == nullptr) {
        return false;
    }
    return hash.size() == length && std::memcmp(hash.data(), mac.data(), length) == 0;
}

bool hostsMatch(std::string_view field, const std::string& entry) {
    if (field.starts_with("|1|")) return hashedMatch(field, entry);
    bool matched = false;
    std::size_t start = 0;
    while (start <= field.size()) {
        const std::size_t comma = std::min(field.find(',', start), field.size());
        std::string_view pattern = field.substr(start, comma - start);
        start = comma + 1;
        const bool negated = pattern.starts_with('!');
        if (negated) pattern.remove_prefix(1);
        if (wildcardMatch(lowered(std::string(pattern)), entry)) {
            if (negated) return false;
            matched = true;
        }
    }
    return matched;
}

}  // namespace

Key fromBlob(std::string_view blob) {
    Key key;
    if (blob.size() >= 4) {
        const auto b = [&blob](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(blob[i]));
        };
        const std::uint32_t length = (b(0) << 24U) | (b(1) << 16U) | (b(2) << 8U) | b(3);
        if (length <= blob.size() - 4) key.type = std::string(blob.substr(4, length));
    }
    key.base64 = base64(blob);
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_Digest(blob.data(), blob.size(), digest.data(), &length, EVP_sha256(), nullptr);
    std::string fingerprint =
        base64(std::string_view(reinterpret_cast<const char*>(digest.data()), length));
    while (fingerprint.ends_with('=')) fingerprint.pop_back();
    key.fingerprint = "SHA256:" + fingerprint;
    return key;
}

std::string hostEntry(const std::string& host, int port) {
    return port == 22 ? lowered(host) : "[" + lowered(host) + "]:" + std::to_string(port);
}

Verdict check(const std::vector<std::string>& paths, const std::string& entry, const Key& key) {
    bool known = false;
    bool other = false;
    bool revoked = false;
    for (const std::string& path : paths) {
        int error = 0;
        std::istringstream file(readFile(path, error));
        std::string line;
        while (std::getline(file, line)) {
            std::istringstream fields(line);
            std::string hosts;
            std::string type;
            std::string base64Key;
            fields >> hosts;
            std::string marker;
            if (hosts.starts_with('@')) {
                marker = hosts;
                fields >> hosts;
            }
            fields >> type >> base64Key;
            if (hosts.empty() || hosts.starts_with('#') || type != key.type ||
                marker == "@cert-authority" || !hostsMatch(hosts, entry)) {
                continue;
            }
            if (marker == "@revoked") {
                revoked = revoked || base64Key == key.base64;
            } else if (base64Key == key.base64) {
                known = true;
            } else {
                other = true;
            }
        }
    }
    if (revoked) return Verdict::Changed;
    if (known) return Verdict::Known;
    return other ? Verdict::Changed : Verdict::Unknown;
}

std::string add(const std::string& path, const std::string& entry, const Key& key) {
    int error = 0;
    std::string text = readFile(path, error);
    if (error == 0 || error == ENOENT) {
        if (!text.empty() && !text.ends_with('\n')) text += '\n';
        text += entry + ' ' + key.type + ' ' + key.base64 + '\n';
        error = replaceFile(path, text);
    }
    if (error == 0) return {};
    return path + " kann nicht geschrieben werden: " + std::generic_category().message(error);
}

}  // namespace velmora::publish::hostkeys
