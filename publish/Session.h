// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// One connection to the user's web space for a whole publish, over libcurl:
// one easy handle, driven through a multi handle so that the wait for the
// server can be ended from outside (Guard.h). Each step names its folder
// relative to the publish folder, and fails with Errors.h's messages.
// Only the publish uses this.
#pragma once

#include <curl/curl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "publish/CertificateCheck.h"
#include "publish/Guard.h"
#include "publish/HostKeys.h"
#include "publish/Listing.h"
#include "publish/RemoteFolder.h"
#include "publish/Values.h"

namespace velmora::publish {

/// What an upload reads: a local file, opened by its absolute path, or bytes.
class Source {
public:
    explicit Source(std::string_view bytes) : bytes_(bytes) {}
    /// Throws Failure "<path> kann nicht gelesen werden: <reason>".
    explicit Source(const std::string& path);
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    ~Source();

    /// libcurl's read callback.
    static std::size_t read(char* buffer, std::size_t size, std::size_t count, void* self);

private:
    int fd_ = -1;
    std::string_view bytes_;
};

class Session {
public:
    /// Sets up the connection; it is made by the first step.
    Session(const Connection& connection, Progress& progress);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    /// Says goodbye to the server, for at most a second.
    ~Session();

    [[nodiscard]] bool sftp() const noexcept { return c_.protocol == Protocol::Sftp; }

    /// The folder `dir` as the server lists it; nothing when it is not there.
    [[nodiscard]] std::optional<Listing> list(const std::string& dir);
    /// Sends `size` bytes of `source` to `name` in `dir`, making the folders.
    /// A failed upload leaves nothing under `name`.
    void upload(const std::string& dir, const std::string& name, Source& source,
                std::uint64_t size);
    /// Tells `report` the bytes of the current upload as they go.
    void reportUploads(std::function<void(std::uint64_t)> report) { uploaded_ = std::move(report); }
    /// SFTP: notes the free space in `dir`, for a write that fails later.
    void measureFreeSpace(const std::string& dir);

    /// Renames `from` over `to` in `dir` in one step. False, with nothing
    /// changed, where the server will not rename onto an existing file
    /// (OpenSSH's plain rename, the only one libcurl sends); `exists`: the
    /// listing showed `to`. Any other failure throws.
    [[nodiscard]] bool renameOver(const std::string& dir, const std::string& from,
                                  const std::string& to, bool exists);
    /// Deletes `to` in `dir`, then renames `from` to it. In between, the
    /// old file is gone and the new one waits complete under `from`.
    void deleteThenRename(const std::string& dir, const std::string& from, const std::string& to);
    /// Deletes `name` in `dir`.
    void remove(const std::string& dir, const std::string& name);
    /// Deletes `names` in `dir`, each as far as it goes, and says nothing of
    /// what failed.
    void removeQuietly(const std::string& dir, const std::vector<std::string>& names);

    /// `name` in `dir` as the user names it, in German quotation marks.
    [[nodiscard]] std::string shown(const std::string& dir, const std::string& name) const {
        return remote_.shown(dir, name);
    }

private:
    struct HostKeyState {
        enum class Outcome { None, Unknown, Changed, NotSaved } outcome = Outcome::None;
        hostkeys::Key key;
        std::string error;
    };

    void configure();
    void configureSftp();
    void configureFtp();
    template <typename T>
    void set(CURLoption option, T value) {
        checkOption(option, curl_easy_setopt(easy_, option, value));
    }
    // Throws where libcurl refused an option.
    void checkOption(CURLoption option, CURLcode result) const;
    void prepare(const std::string& urlPath);
    CURLcode commands(const std::string& dir, const std::vector<std::string>& list);
    std::optional<std::uint64_t> freeSpace(const std::string& dir);
    CURLcode run();
    void check(CURLcode result, const std::string& dir);
    // The message for a failed step in `dir`; an unknown host key is thrown
    // as such, for the question.
    [[nodiscard]] std::string describe(CURLcode result, const std::string& dir);
    [[nodiscard]] std::string identityMessage(const std::string& text) const;
    [[nodiscard]] std::string serverText(CURLcode result) const;

    static curl_socket_t onOpenSocket(void* self, curlsocktype purpose, curl_sockaddr* address);
    static int onCloseSocket(void* self, curl_socket_t fd);
    static int onProgress(void* self, curl_off_t downTotal, curl_off_t down, curl_off_t upTotal,
                          curl_off_t up);
    static int onDebug(CURL* easy, curl_infotype type, char* data, std::size_t size, void* self);
    static int onHostKey(CURL* easy, const curl_khkey* known, const curl_khkey* found,
                         curl_khmatch match, void* self);

    const Connection& c_;
    Progress& progress_;
    RemoteFolder remote_;
    std::string base_;  // scheme, host and port
    int port_ = 0;
    std::string hostEntry_;  // as known-hosts files name the host
    CertificateCheck certificates_;
    HostKeyState hostKey_;
    Guard guard_;
    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;

    // of the current step
    std::array<char, CURL_ERROR_SIZE> errors_{};
    std::string lastReply_;
    std::vector<int> replies_;  // the FTP server's reply codes
    std::string headers_;
    std::string discarded_;
    curl_off_t lastUp_ = -1;
    curl_off_t lastDown_ = -1;

    std::function<void(std::uint64_t)> uploaded_;
    bool connected_ = false;  // the one connection has been made
    bool refused_ = false;    // libcurl wanted a second one
    std::optional<std::uint64_t> freeAtStart_;
    std::uint64_t staged_ = 0;  // bytes sent under temporary names
};

}  // namespace velmora::publish
