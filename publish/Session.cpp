// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/Session.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <utility>

#include "publish/Failures.h"
#include "settings/Failure.h"

namespace velmora::publish {
namespace {

constexpr long kConnectSeconds = 20;
constexpr long kStallSeconds = 30;
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

template <typename T>
void Session::set(CURLoption option, T value) {
    if (curl_easy_setopt(easy_, option, value) != CURLE_OK) {
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

// ---------------------------------------------------------------- steps

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
