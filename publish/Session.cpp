// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/Session.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "publish/Errors.h"
#include "publish/Failures.h"
#include "settings/Failure.h"

namespace velmora::publish {
namespace {

constexpr long kConnectSeconds = 20;
constexpr long kStallSeconds = 30;

}  // namespace

// ---------------------------------------------------------------- setting up

Session::Session(const Connection& connection, Progress& progress)
    : c_(connection),
      progress_(progress),
      remote_(connection.folder, connection.protocol == Protocol::Sftp),
      certificates_(connection.extraAuthority),
      guard_(progress.cancel, std::chrono::seconds(kStallSeconds)) {
    if (c_.host.empty()) throw Failure(std::string(kHostNotFound) + ": kein Server angegeben");
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
    try {
        if (easy_ == nullptr || multi_ == nullptr) throw std::bad_alloc();
        configure();
    } catch (...) {
        curl_easy_cleanup(easy_);
        curl_multi_cleanup(multi_);
        throw;
    }
}

Session::~Session() {
    guard_.closing();
    curl_easy_cleanup(easy_);
    curl_multi_cleanup(multi_);
}

void Session::checkOption(CURLoption option, CURLcode result) const {
    if (result != CURLE_OK) {
        throw Failure(std::string(kTransferFailed) + ": libcurl kann Option " +
                      std::to_string(option) + " nicht");
    }
}

void Session::configure() {
    port_ = c_.port > 0 ? c_.port : defaultPort(c_.protocol);
    const std::string host = c_.host.find(':') != std::string::npos ? "[" + c_.host + "]" : c_.host;
    base_ = (sftp() ? "sftp://" : "ftp://") + host + ":" + std::to_string(port_);
    hostEntry_ = hostkeys::hostEntry(c_.host, port_);

    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_OPENSOCKETFUNCTION, &Session::onOpenSocket);
    set(CURLOPT_OPENSOCKETDATA, this);
    set(CURLOPT_CLOSESOCKETFUNCTION, &Session::onCloseSocket);
    set(CURLOPT_CLOSESOCKETDATA, this);
    set(CURLOPT_PROTOCOLS_STR, sftp() ? "sftp" : "ftp");
    set(CURLOPT_ERRORBUFFER, errors_.data());
    set(CURLOPT_USERNAME, c_.user.c_str());
    set(CURLOPT_PASSWORD, c_.password.c_str());
    set(CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    set(CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    set(CURLOPT_NOPROGRESS, 0L);
    set(CURLOPT_XFERINFOFUNCTION, &Session::onProgress);
    set(CURLOPT_XFERINFODATA, this);
    // Through onDebug, which keeps only what the server says.
    set(CURLOPT_VERBOSE, 1L);
    set(CURLOPT_DEBUGFUNCTION, &Session::onDebug);
    set(CURLOPT_DEBUGDATA, this);
    set(CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    if (sftp()) {
        configureSftp();
    } else {
        configureFtp();
    }
}

void Session::configureSftp() {
    // Without a key file only the password is offered: libcurl would
    // otherwise look for keys in HOME and in the working directory.
    long methods = CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
    if (!c_.keyFile.empty()) {
        methods |= CURLSSH_AUTH_PUBLICKEY;
        set(CURLOPT_SSH_PRIVATE_KEYFILE, c_.keyFile.c_str());
        set(CURLOPT_KEYPASSWD, c_.keyPassphrase.c_str());
    }
    set(CURLOPT_SSH_AUTH_TYPES, methods);
    // libcurl calls the key function only with a known-hosts file, but pins
    // the key exchange to the type of the first key that file holds for the
    // host: a server that now shows a key of another type would fail the
    // exchange instead of being asked about. So it reads an empty file, and
    // onHostKey checks both files itself; Velmora writes accepted keys
    // itself too.
    set(CURLOPT_SSH_KNOWNHOSTS, "/dev/null");
    set(CURLOPT_SSH_KEYFUNCTION, &Session::onHostKey);
    set(CURLOPT_SSH_KEYDATA, this);
    set(CURLOPT_NEW_FILE_PERMS, 0644L);
    set(CURLOPT_NEW_DIRECTORY_PERMS, 0755L);
}

void Session::configureFtp() {
    set(CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
    // libcurl 7.88 holds every data connection back for about its
    // happy-eyeballs delay (200 ms unless told otherwise) before it connects
    // it: a second and more for a page with pictures.
    set(CURLOPT_HAPPY_EYEBALLS_TIMEOUT_MS, 50L);
    if (c_.protocol == Protocol::Ftp) {
        set(CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
    } else if (const CURLcode result = certificates_.install(easy_); result != CURLE_OK) {
        throw Failure(std::string(kTransferFailed) + ": " + curl_easy_strerror(result));
    }
}

// ---------------------------------------------------------------- one step

// One step of libcurl's, to its end, "Abbrechen", or the guard's cut.
CURLcode Session::run() {
    if (progress_.cancel) throw Cancelled();
    errors_[0] = '\0';
    lastReply_.clear();
    replies_.clear();
    lastUp_ = lastDown_ = -1;
    guard_.stepBegins();
    CURLcode result = CURLE_OK;
    bool done = curl_multi_add_handle(multi_, easy_) != CURLM_OK;
    if (done) result = CURLE_FAILED_INIT;
    while (!done && guard_.verdict() == Guard::Verdict::None && !progress_.cancel) {
        int running = 0;
        if (curl_multi_perform(multi_, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            done = true;
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                done = true;
            }
        }
        if (!done) curl_multi_poll(multi_, nullptr, 0, 100, nullptr);
    }
    curl_multi_remove_handle(multi_, easy_);
    guard_.stepEnds();
    connected_ = true;
    if (progress_.cancel || guard_.verdict() == Guard::Verdict::Cancelled) throw Cancelled();
    if (guard_.verdict() == Guard::Verdict::Stalled) throw Failure(stalledMessage(kStallSeconds));
    return result;
}

// ---------------------------------------------------------------- failures

void Session::check(CURLcode result, const std::string& dir) {
    if (result != CURLE_OK) throw Failure(describe(result, dir));
}

std::string Session::describe(CURLcode result, const std::string& dir) {
    if (refused_) return connectionLostMessage();
    const std::string text = serverText(result);
    if (isIdentityFailure(result)) return identityMessage(text);
    long reply = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &reply);
    return failureMessage({result, reply, sftp(), c_.host, shown(dir, {}), text});
}

// An unknown host key is thrown as such, for the question.
std::string Session::identityMessage(const std::string& text) const {
    if (!sftp()) {
        return certificateMessage(
            certificates_.reason(c_.host),
            withheldIfSecret(certificates_.names(), {&c_.password, &c_.keyPassphrase}), text);
    }
    switch (hostKey_.outcome) {
        case HostKeyState::Outcome::Unknown:
            throw UnknownHostKey(hostKey_.key.type, hostKey_.key.fingerprint, hostKey_.key.base64);
        case HostKeyState::Outcome::Changed:
            return hostKeyChangedMessage(hostKey_.key.type, hostKey_.key.fingerprint);
        case HostKeyState::Outcome::NotSaved:
            return std::string(kTransferFailed) + ": " + hostKey_.error;
        case HostKeyState::Outcome::None:
            break;
    }
    return std::string(kTransferFailed) + ": " + text;
}

// What the server said last, or else libcurl's text for it.
std::string Session::serverText(CURLcode result) const {
    std::string text = errors_.data();
    if (text.empty()) text = curl_easy_strerror(result);
    if (!lastReply_.empty() && text.find(lastReply_) == std::string::npos) {
        text = lastReply_ + " (" + text + ")";
    }
    return withheldIfSecret(text, {&c_.password, &c_.keyPassphrase});
}

// ---------------------------------------------------------------- libcurl's callbacks

// libcurl opens a new connection where the old one broke; a publish stops
// there instead: one connection serves it. FTP's data connections go to
// other ports.
curl_socket_t Session::onOpenSocket(void* self, curlsocktype /*purpose*/, curl_sockaddr* address) {
    auto* s = static_cast<Session*>(self);
    sockaddr_storage peer{};
    std::memcpy(&peer, &address->addr, std::min<std::size_t>(address->addrlen, sizeof peer));
    const int port = peer.ss_family == AF_INET6
                         ? ntohs(reinterpret_cast<const sockaddr_in6*>(&peer)->sin6_port)
                         : ntohs(reinterpret_cast<const sockaddr_in*>(&peer)->sin_port);
    if (s->connected_ && port == s->port_) {
        s->refused_ = true;
        return CURL_SOCKET_BAD;
    }
    return s->guard_.openSocket(address->family, address->socktype, address->protocol);
}

int Session::onCloseSocket(void* self, curl_socket_t fd) {
    return static_cast<Session*>(self)->guard_.closeSocket(fd);
}

int Session::onProgress(void* self, curl_off_t /*downTotal*/, curl_off_t down,
                        curl_off_t /*upTotal*/, curl_off_t up) {
    auto* s = static_cast<Session*>(self);
    if (up != s->lastUp_ || down != s->lastDown_) {
        s->lastUp_ = up;
        s->lastDown_ = down;
        s->guard_.moved();
        if (s->uploaded_) s->uploaded_(static_cast<std::uint64_t>(up));
    }
    return s->progress_.cancel ? 1 : 0;
}

// Keeps the server's last line and FTP's reply codes. Only what the server
// says: the commands sent hold the password.
int Session::onDebug(CURL* /*easy*/, curl_infotype type, char* data, std::size_t size, void* self) {
    if (type != CURLINFO_HEADER_IN) return 0;
    auto* s = static_cast<Session*>(self);
    std::string_view line(data, size);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.empty()) return 0;
    s->lastReply_ = std::string(line.substr(0, 500));
    const auto digit = [&line](std::size_t i) { return line[i] >= '0' && line[i] <= '9'; };
    if (line.size() > 3 && line[3] == ' ' && digit(0) && digit(1) && digit(2)) {
        s->replies_.push_back((line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0'));
    }
    return 0;
}

// The transfer cannot wait for the user inside the connect: an unknown key
// is refused, and handed out by identityMessage for the question.
int Session::onHostKey(CURL* /*easy*/, const curl_khkey* /*known*/, const curl_khkey* found,
                       curl_khmatch /*match*/, void* self) {
    auto* s = static_cast<Session*>(self);
    const std::size_t length =
        found->len > 0 ? found->len : std::char_traits<char>::length(found->key);
    s->hostKey_.key = hostkeys::fromBlob(std::string_view(found->key, length));
    std::vector<std::string> files;
    if (!s->c_.knownHostsFile.empty()) files.push_back(s->c_.knownHostsFile);
    if (!s->c_.userKnownHostsFile.empty()) files.push_back(s->c_.userKnownHostsFile);
    switch (hostkeys::check(files, s->hostEntry_, s->hostKey_.key)) {
        case hostkeys::Verdict::Known:
            return CURLKHSTAT_FINE;
        case hostkeys::Verdict::Changed:
            s->hostKey_.outcome = HostKeyState::Outcome::Changed;
            return CURLKHSTAT_REJECT;
        case hostkeys::Verdict::Unknown:
            break;
    }
    if (s->c_.acceptedHostKey.empty() || s->c_.acceptedHostKey != s->hostKey_.key.base64) {
        s->hostKey_.outcome = HostKeyState::Outcome::Unknown;
        return CURLKHSTAT_REJECT;
    }
    if (!s->c_.knownHostsFile.empty()) {
        s->hostKey_.error = hostkeys::add(s->c_.knownHostsFile, s->hostEntry_, s->hostKey_.key);
        if (!s->hostKey_.error.empty()) {
            s->hostKey_.outcome = HostKeyState::Outcome::NotSaved;
            return CURLKHSTAT_REJECT;
        }
    }
    return CURLKHSTAT_FINE;
}

}  // namespace velmora::publish
