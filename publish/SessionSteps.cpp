// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a publish does on the server, each in one step of the session's
// connection: list a folder, upload, rename, delete, measure free space.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>
#include <new>
#include <system_error>

#include "publish/Errors.h"
#include "publish/Failures.h"
#include "publish/Session.h"
#include "settings/Failure.h"

namespace velmora::publish {
namespace {

// A folder listing larger than this is no listing of a web space.
constexpr std::size_t kMaxListing = std::size_t{64} * 1024 * 1024;

std::size_t appendText(char* data, std::size_t size, std::size_t count, void* text) {
    auto* out = static_cast<std::string*>(text);
    const std::size_t n = size * count;
    if (out->size() + n > kMaxListing) return 0;
    out->append(data, n);
    return n;
}

using SList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

SList slistOf(const std::vector<std::string>& lines) {
    SList list(nullptr, &curl_slist_free_all);
    for (const std::string& line : lines) {
        // the head it returns is the list given, or the first node
        curl_slist* head = curl_slist_append(list.get(), line.c_str());
        if (head == nullptr) throw std::bad_alloc();
        if (list == nullptr) list.reset(head);
    }
    return list;
}

// A number from statvfs's lines ("f_bavail: 1234").
std::optional<std::uint64_t> statvfsField(const std::string& lines, std::string_view name) {
    const std::size_t at = lines.find(std::string(name) + ": ");
    if (at == std::string::npos) return std::nullopt;
    const char* start = lines.data() + at + name.size() + 2;
    std::uint64_t value = 0;
    if (std::from_chars(start, lines.data() + lines.size(), value).ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

Source::Source(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) {
        throw Failure(path +
                      " kann nicht gelesen werden: " + std::generic_category().message(errno));
    }
}

Source::~Source() {
    if (fd_ >= 0) close(fd_);
}

std::size_t Source::read(char* buffer, std::size_t size, std::size_t count, void* self) {
    auto* source = static_cast<Source*>(self);
    const std::size_t wanted = size * count;
    if (source->fd_ < 0) {
        const std::size_t n = std::min(wanted, source->bytes_.size());
        source->bytes_.copy(buffer, n);
        source->bytes_.remove_prefix(n);
        return n;
    }
    for (;;) {
        const ssize_t n = ::read(source->fd_, buffer, wanted);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) return CURL_READFUNC_ABORT;
    }
}

std::optional<Listing> Session::list(const std::string& dir) {
    std::string text;
    prepare(remote_.folderUrl(dir));
    set(CURLOPT_WRITEFUNCTION, &appendText);
    set(CURLOPT_WRITEDATA, &text);
    const CURLcode result = run();
    // A folder that is not there: SFTP says so; FTP cannot enter it.
    if (result == CURLE_REMOTE_FILE_NOT_FOUND ||
        (result == CURLE_REMOTE_ACCESS_DENIED && !sftp())) {
        return std::nullopt;
    }
    check(result, dir);
    return parseListing(text);
}

void Session::upload(const std::string& dir, const std::string& name, Source& source,
                     std::uint64_t size) {
    prepare(remote_.url(dir, name));
    set(CURLOPT_UPLOAD, 1L);
    set(CURLOPT_READFUNCTION, &Source::read);
    set(CURLOPT_READDATA, &source);
    set(CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    const CURLcode result = run();
    if (result == CURLE_OK) {
        staged_ += size;
        return;
    }
    const std::string text = serverText(result);
    std::string message = describe(result, dir);
    // OpenSSH reports a full disk only as a general failure. libcurl closes
    // the connection after a failed write, and then the space measured at
    // the start has to answer.
    if (sftp() && result != CURLE_ABORTED_BY_CALLBACK && !message.starts_with(kServerFull)) {
        const std::optional<std::uint64_t> free = freeSpace(dir);
        if (free ? *free < size : (freeAtStart_ && staged_ + size > *freeAtStart_)) {
            message = std::string(kServerFull) + ": " + text;
        }
    }
    removeQuietly(dir, {name});
    throw Failure(message);
}

void Session::measureFreeSpace(const std::string& dir) {
    if (sftp()) freeAtStart_ = freeSpace(dir);
}

bool Session::renameOver(const std::string& dir, const std::string& from, const std::string& to,
                         bool exists) {
    if (sftp()) {
        if (exists) return false;
        const std::string rename =
            "rename " + remote_.quoted(dir, from) + " " + remote_.quoted(dir, to);
        // OpenSSH refuses it where `to` turned up after the listing.
        return commands(dir, {rename}) == CURLE_OK;
    }
    const CURLcode result = commands(dir, {"RNFR " + from, "RNTO " + to});
    if (result == CURLE_OK) return true;
    // A server that will not rename over a file took RNFR (350) and refused
    // RNTO. Any other refusal is a failure; the old file stays either way.
    const bool refusedOver = exists && result == CURLE_QUOTE_ERROR &&
                             std::find(replies_.begin(), replies_.end(), 350) != replies_.end();
    if (!refusedOver) check(result, dir);
    return false;
}

void Session::deleteThenRename(const std::string& dir, const std::string& from,
                               const std::string& to) {
    if (sftp()) {
        const std::string target = remote_.quoted(dir, to);
        const std::string rename = "rename " + remote_.quoted(dir, from) + " " + target;
        check(commands(dir, {"*rm " + target, rename}), dir);
    } else {
        check(commands(dir, {"DELE " + to, "RNFR " + from, "RNTO " + to}), dir);
    }
}

void Session::remove(const std::string& dir, const std::string& name) {
    check(commands(dir, {sftp() ? "rm " + remote_.quoted(dir, name) : "DELE " + name}), dir);
}

void Session::removeQuietly(const std::string& dir, const std::vector<std::string>& names) {
    std::vector<std::string> list;
    list.reserve(names.size());
    for (const std::string& name : names) {
        list.push_back(sftp() ? "*rm " + remote_.quoted(dir, name) : "*DELE " + name);
    }
    if (!list.empty()) (void)commands(dir, list);
}

void Session::prepare(const std::string& urlPath) {
    set(CURLOPT_URL, (base_ + urlPath).c_str());
    set(CURLOPT_UPLOAD, 0L);
    set(CURLOPT_NOBODY, 0L);
    set(CURLOPT_QUOTE, static_cast<curl_slist*>(nullptr));
    set(CURLOPT_POSTQUOTE, static_cast<curl_slist*>(nullptr));
    set(CURLOPT_WRITEFUNCTION, &appendText);
    set(CURLOPT_WRITEDATA, &discarded_);
    set(CURLOPT_HEADERFUNCTION, &appendText);
    set(CURLOPT_HEADERDATA, &headers_);
    headers_.clear();
    discarded_.clear();
}

// Commands in `dir`: SFTP's quote commands with whole paths, before the
// (empty) transfer; FTP's after libcurl has entered the folder. A leading
// '*' lets a command fail.
CURLcode Session::commands(const std::string& dir, const std::vector<std::string>& list) {
    const SList owned = slistOf(list);
    prepare(remote_.folderUrl(dir));
    set(CURLOPT_NOBODY, 1L);
    set(sftp() ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE, owned.get());
    return run();
}

std::optional<std::uint64_t> Session::freeSpace(const std::string& dir) {
    const SList command = slistOf({"statvfs " + remote_.quoted(dir, {})});
    prepare(remote_.folderUrl(dir));
    set(CURLOPT_NOBODY, 1L);
    set(CURLOPT_QUOTE, command.get());
    if (run() != CURLE_OK) return std::nullopt;
    const auto available = statvfsField(headers_, "f_bavail");
    const auto blockSize = statvfsField(headers_, "f_frsize");
    if (!available || !blockSize) return std::nullopt;
    return *available * *blockSize;
}

}  // namespace velmora::publish
