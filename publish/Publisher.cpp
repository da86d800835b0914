// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/Publisher.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "publish/HostKeys.h"

namespace velmora::publish {
namespace {

using Clock = std::chrono::steady_clock;

constexpr long kConnectSeconds = 20;
constexpr long kStallSeconds = 30;
// The temporary name of a file on the server: NAME.velmora-tmp-ID, beside it.
constexpr std::string_view kTemporaryMark = ".velmora-tmp-";
constexpr std::size_t kIdLength = 12;  // hex digits
// Files go live in batches: sent under their temporary names, their sizes on
// the server checked with one listing per folder, then renamed. A batch keeps
// what a break loses small, and the listings few.
constexpr std::size_t kBatchFiles = 64;
constexpr std::uint64_t kBatchBytes = std::uint64_t{16} * 1024 * 1024;
// A folder listing larger than this is no listing of a web space.
constexpr std::size_t kMaxListing = std::size_t{64} * 1024 * 1024;

int tlsStateIndex = -1;

// ---------------------------------------------------------------- names

bool isUnreserved(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

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

std::string folderOf(const std::string& relative) {
    const std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string nameOf(const std::string& relative) { return relative.substr(relative.rfind('/') + 1); }

std::string newTemporaryId() {
    std::random_device random;
    std::string id;
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < kIdLength; ++i) id += kHex[random() % 16];
    return id;
}

// Whether `name` is a temporary file of a publish other than the one with
// `id`: NAME.velmora-tmp- and an id. A name with a line break is none of
// ours, and as an FTP command it would end the line early.
bool isLeftover(std::string_view name, std::string_view id) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string_view::npos || mark == 0) return false;
    const std::string_view tail = name.substr(mark + kTemporaryMark.size());
    return tail.size() == kIdLength && tail != id &&
           tail.find_first_not_of("0123456789abcdef") == std::string_view::npos &&
           name.find_first_of("\r\n") == std::string_view::npos;
}

// ---------------------------------------------------------------- listings

struct Entry {
    std::uint64_t size = 0;
    bool folder = false;
    bool link = false;  // to a file or a folder: the listing does not say
};
using Listing = std::map<std::string, Entry>;

// Long-format lines as `ls -l` writes them, which both vsftpd's LIST and
// OpenSSH's SFTP server give: "-rw-r--r-- 1 user group 1234 Jan 1 12:00 name".
// The month finds the size in front of it, so a line without a group reads
// too.
Listing parseListing(std::string_view text) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    Listing listing;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || (line[0] != '-' && line[0] != 'd' && line[0] != 'l')) continue;
        // fields and where each starts
        std::vector<std::pair<std::string_view, std::size_t>> fields;
        std::size_t i = 0;
        while (i < line.size() && fields.size() < 12) {
            while (i < line.size() && line[i] == ' ') ++i;
            const std::size_t start = i;
            while (i < line.size() && line[i] != ' ') ++i;
            if (i > start) fields.emplace_back(line.substr(start, i - start), start);
        }
        for (std::size_t m = 2; m + 3 < fields.size(); ++m) {
            if (std::find(kMonths.begin(), kMonths.end(), fields[m].first) == kMonths.end()) {
                continue;
            }
            Entry entry;
            const std::string_view size = fields[m - 1].first;
            if (std::from_chars(size.data(), size.data() + size.size(), entry.size).ec !=
                std::errc()) {
                break;
            }
            // the name: after the year or time and one blank
            const std::size_t after = fields[m + 2].second + fields[m + 2].first.size() + 1;
            if (after > line.size()) break;
            std::string_view name = line.substr(after);
            entry.folder = line[0] == 'd';
            entry.link = line[0] == 'l';
            if (line[0] == 'l') name = name.substr(0, name.find(" -> "));
            if (!name.empty() && name != "." && name != "..") listing[std::string(name)] = entry;
            break;
        }
    }
    return listing;
}

// ---------------------------------------------------------------- TLS

// What OpenSSL's check of the server's certificate found, kept for the
// message: the reason and the names the certificate is for.
struct TlsState {
    long error = X509_V_OK;
    std::string names;
};

std::string certificateNames(X509* certificate) {
    std::vector<std::string> names;
    auto* alternatives = static_cast<GENERAL_NAMES*>(
        X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    for (int i = 0; alternatives != nullptr && i < sk_GENERAL_NAME_num(alternatives); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(alternatives, i);
        if (name->type == GEN_DNS) {
            const ASN1_STRING* dns = name->d.dNSName;
            names.emplace_back(reinterpret_cast<const char*>(ASN1_STRING_get0_data(dns)),
                               static_cast<std::size_t>(ASN1_STRING_length(dns)));
        } else if (name->type == GEN_IPADD) {
            const ASN1_OCTET_STRING* ip = name->d.iPAddress;
            const unsigned char* b = ASN1_STRING_get0_data(ip);
            if (ASN1_STRING_length(ip) == 4) {
                names.push_back(std::to_string(b[0]) + "." + std::to_string(b[1]) + "." +
                                std::to_string(b[2]) + "." + std::to_string(b[3]));
            }
        }
    }
    GENERAL_NAMES_free(alternatives);
    const X509_NAME* subject = X509_get_subject_name(certificate);
    const int cn = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    if (cn >= 0) {
        const ASN1_STRING* data = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, cn));
        std::string common(reinterpret_cast<const char*>(ASN1_STRING_get0_data(data)),
                           static_cast<std::size_t>(ASN1_STRING_length(data)));
        if (std::find(names.begin(), names.end(), common) == names.end()) {
            names.push_back(std::move(common));
        }
    }
    std::string all;
    for (const std::string& n : names) all += (all.empty() ? "" : ", ") + n;
    return all;
}

int verifyCallback(int ok, X509_STORE_CTX* store) {
    auto* ssl =
        static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* state =
        ssl == nullptr
            ? nullptr
            : static_cast<TlsState*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), tlsStateIndex));
    if (state != nullptr) {
        if (X509* server = X509_STORE_CTX_get0_cert(store)) state->names = certificateNames(server);
        if (ok == 0 && state->error == X509_V_OK) state->error = X509_STORE_CTX_get_error(store);
    }
    return ok;
}

std::string certificateReason(long error) {
    switch (error) {
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
            return "Keine bekannte Zertifizierungsstelle hat es ausgestellt";
        case X509_V_ERR_CERT_HAS_EXPIRED:
            return "Es ist abgelaufen";
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return "Es gilt noch nicht";
        case X509_V_ERR_CERT_REVOKED:
            return "Es wurde widerrufen";
        default:
            return X509_verify_cert_error_string(error);
    }
}

// ---------------------------------------------------------------- SSH host keys

struct HostKeyState {
    enum class Outcome { None, Unknown, Changed, NotSaved } outcome = Outcome::None;
    hostkeys::Key key;
    std::string error;
};

// ---------------------------------------------------------------- uploads

// What an upload reads: a local file, opened by its absolute path, or bytes.
class Source {
public:
    explicit Source(std::string_view bytes) : bytes_(bytes) {}
    explicit Source(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) {
            throw Failure(path +
                          " kann nicht gelesen werden: " + std::generic_category().message(errno));
        }
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    ~Source() {
        if (fd_ >= 0) close(fd_);
    }

    static std::size_t read(char* buffer, std::size_t size, std::size_t count, void* self) {
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

private:
    int fd_ = -1;
    std::string_view bytes_;
};

std::size_t appendText(char* data, std::size_t size, std::size_t count, void* text) {
    auto* out = static_cast<std::string*>(text);
    const std::size_t n = size * count;
    if (out->size() + n > kMaxListing) return 0;
    out->append(data, n);
    return n;
}

// ---------------------------------------------------------------- the session

// One easy handle and so one connection to the server for a whole publish,
// driven through a multi handle, with a guard thread that ends any wait when
// the user cancels or the server stops answering.
class Session {
public:
    Session(const Connection& connection, Progress& progress)
        : c_(connection), progress_(progress) {
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
        watch_ = std::thread([this] { watch(); });
    }

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ~Session() {
        // Saying goodbye to a server that no longer answers takes at most a
        // second.
        touch();
        closing_ = true;
        curl_easy_cleanup(easy_);
        curl_multi_cleanup(multi_);
        {
            const std::lock_guard lock(watchMutex_);
            stop_ = true;
        }
        watchCv_.notify_one();
        watch_.join();
        X509_STORE_free(authorities_);
    }

private:
    void configure() {
        std::string folder = c_.folder;
        while (folder.size() > 1 && folder.ends_with('/')) folder.pop_back();
        if (folder == "/") folder.clear(), absolute_ = true;
        if (folder.starts_with('/')) absolute_ = true, folder.erase(0, 1);
        folder_ = folder;
        const bool sftp = c_.protocol == Protocol::Sftp;
        port_ = c_.port > 0 ? c_.port : defaultPort(c_.protocol);
        const int port = port_;
        const std::string host =
            c_.host.find(':') != std::string::npos ? "[" + c_.host + "]" : c_.host;
        base_ = (sftp ? "sftp://" : "ftp://") + host + ":" + std::to_string(port);
        hostEntry_ = hostkeys::hostEntry(c_.host, port);

        set(CURLOPT_NOSIGNAL, 1L);
        set(CURLOPT_OPENSOCKETFUNCTION, &Session::onOpenSocket);
        set(CURLOPT_OPENSOCKETDATA, this);
        set(CURLOPT_CLOSESOCKETFUNCTION, &Session::onCloseSocket);
        set(CURLOPT_CLOSESOCKETDATA, this);
        set(CURLOPT_PROTOCOLS_STR, sftp ? "sftp" : "ftp");
        set(CURLOPT_ERRORBUFFER, errors_.data());
        set(CURLOPT_USERNAME, c_.user.c_str());
        set(CURLOPT_PASSWORD, c_.password.c_str());
        set(CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
        set(CURLOPT_LOW_SPEED_LIMIT, 1L);
        set(CURLOPT_LOW_SPEED_TIME, kStallSeconds);
        set(CURLOPT_NOPROGRESS, 0L);
        set(CURLOPT_XFERINFOFUNCTION, &Session::onProgress);
        set(CURLOPT_XFERINFODATA, this);
        set(CURLOPT_VERBOSE, 1L);
        set(CURLOPT_DEBUGFUNCTION, &Session::onDebug);
        set(CURLOPT_DEBUGDATA, this);
        set(CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
        if (sftp) {
            // Without a key file only the password is offered: libcurl would
            // otherwise look for keys in HOME and in the working directory.
            long methods = CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
            if (!c_.keyFile.empty()) {
                methods |= CURLSSH_AUTH_PUBLICKEY;
                set(CURLOPT_SSH_PRIVATE_KEYFILE, c_.keyFile.c_str());
                set(CURLOPT_KEYPASSWD, c_.keyPassphrase.c_str());
            }
            set(CURLOPT_SSH_AUTH_TYPES, methods);
            // libcurl calls the key function only with a known-hosts file,
            // but pins the key exchange to the type of the first key that
            // file holds for the host: a server that now shows a key of
            // another type would fail the exchange instead of being asked
            // about. So it reads an empty file, and onHostKey checks both
            // files itself; Velmora writes accepted keys itself too.
            set(CURLOPT_SSH_KNOWNHOSTS, "/dev/null");
            set(CURLOPT_SSH_KEYFUNCTION, &Session::onHostKey);
            set(CURLOPT_SSH_KEYDATA, this);
            set(CURLOPT_NEW_FILE_PERMS, 0644L);
            set(CURLOPT_NEW_DIRECTORY_PERMS, 0755L);
        } else {
            set(CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
            // libcurl 7.88 holds every data connection back for about its
            // happy-eyeballs delay (200 ms unless told otherwise) before it
            // connects it: a second and more for a page with pictures.
            set(CURLOPT_HAPPY_EYEBALLS_TIMEOUT_MS, 50L);
            if (c_.protocol == Protocol::FtpTls) {
                set(CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
                // Uploads under TLS 1.3 may arrive empty or hang at their end
                // (curl issues 13556 and 17130).
                long versions = CURL_SSLVERSION_TLSv1_2;
                versions |= CURL_SSLVERSION_MAX_TLSv1_2;
                set(CURLOPT_SSLVERSION, versions);
                set(CURLOPT_SSL_VERIFYPEER, 1L);
                set(CURLOPT_SSL_VERIFYHOST, 2L);
                set(CURLOPT_SSL_CTX_FUNCTION, &Session::onTlsContext);
                set(CURLOPT_SSL_CTX_DATA, this);
                // The system's authorities, as libcurl would take them, go
                // into one store for the whole publish: libcurl would read
                // the whole list anew for every data connection (40 ms each).
                const char* file = nullptr;
                const char* path = nullptr;
                curl_easy_getinfo(easy_, CURLINFO_CAINFO, &file);
                curl_easy_getinfo(easy_, CURLINFO_CAPATH, &path);
                systemAuthorities_ = file != nullptr ? file : "";
                systemAuthorityFolder_ = path != nullptr ? path : "";
                set(CURLOPT_CAINFO, static_cast<const char*>(nullptr));
                set(CURLOPT_CAPATH, static_cast<const char*>(nullptr));
            } else {
                set(CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
            }
        }
    }

public:
    [[nodiscard]] bool sftp() const { return c_.protocol == Protocol::Sftp; }

    /// The folder `dir` (relative to the publish folder) as the server lists
    /// it; nothing when it does not exist.
    std::optional<Listing> list(const std::string& dir) {
        std::string text;
        prepare(folderUrl(dir));
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

    /// Sends `source` to `name` in `dir`, making the folders.
    void upload(const std::string& dir, const std::string& name, Source& source,
                std::uint64_t size) {
        prepare(url(dir, name));
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
        std::string message = failureMessage(result, dir);
        // OpenSSH reports a full disk only as a general failure. libcurl
        // closes the connection after a failed write, and then the space
        // measured at the start has to answer.
        if (sftp() && result != CURLE_ABORTED_BY_CALLBACK && !message.starts_with(kServerFull)) {
            const std::optional<std::uint64_t> free = freeSpace(dir);
            if (free ? *free < size : (freeAtStart_ && staged_ + size > *freeAtStart_)) {
                message = std::string(kServerFull) + ": " + text;
            }
        }
        removeQuietly(dir, {name});
        fail(message);
    }

    /// Tells `report` the bytes of the current upload as they go.
    void reportUploads(std::function<void(std::uint64_t)> report) { uploaded_ = std::move(report); }

    /// SFTP: notes the free space in `dir` for a write that fails later.
    void measureFreeSpace(const std::string& dir) {
        if (sftp()) freeAtStart_ = freeSpace(dir);
    }

    /// Renames `from` over `to` in `dir`. Returns whether the old file had to
    /// be deleted first.
    bool replace(const std::string& dir, const std::string& from, const std::string& to,
                 bool exists) {
        if (sftp()) {
            // OpenSSH's plain rename refuses an existing file; libcurl sends
            // nothing else.
            if (!exists && commands(dir, {"rename " + quoted(dir, from) + " " + quoted(dir, to)}) ==
                               CURLE_OK) {
                return false;
            }
            check(commands(dir, {"*rm " + quoted(dir, to),
                                 "rename " + quoted(dir, from) + " " + quoted(dir, to)}),
                  dir);
            return true;
        }
        const CURLcode result = commands(dir, {"RNFR " + from, "RNTO " + to});
        if (result == CURLE_OK) return false;
        // A server that will not rename over a file: it took RNFR (350)
        // and refused RNTO. Any other failure keeps the old file.
        const bool renameRefused =
            result == CURLE_QUOTE_ERROR &&
            std::find(replies_.begin(), replies_.end(), 350) != replies_.end();
        if (!exists || !renameRefused) check(result, dir);
        check(commands(dir, {"DELE " + to, "RNFR " + from, "RNTO " + to}), dir);
        return true;
    }

    /// Deletes `names` in `dir`, each as far as it goes.
    void removeQuietly(const std::string& dir, const std::vector<std::string>& names) {
        std::vector<std::string> list;
        list.reserve(names.size());
        for (const std::string& name : names) {
            list.push_back(sftp() ? "*rm " + quoted(dir, name) : "*DELE " + name);
        }
        if (!list.empty()) (void)commands(dir, list);
    }

    /// Deletes `name` in `dir`.
    void remove(const std::string& dir, const std::string& name) {
        check(commands(dir, {sftp() ? "rm " + quoted(dir, name) : "DELE " + name}), dir);
    }

    [[noreturn]] void fail(const std::string& message) { throw Failure(message); }

    /// The server's path of `name` in `dir` as the user gave the folder, quoted.
    [[nodiscard]] std::string shown(const std::string& dir, const std::string& name) const {
        return std::string("„") + (absolute_ ? "/" : "") + joined({folder_, dir, name}) + "“";
    }

private:
    template <typename T>
    void set(CURLoption option, T value) {
        if (curl_easy_setopt(easy_, option, value) != CURLE_OK) {
            throw Failure(std::string(kTransferFailed) + ": libcurl kann Option " +
                          std::to_string(option) + " nicht");
        }
    }

    // The server's path of `name` in `dir`, or of `dir` itself.
    [[nodiscard]] std::string path(const std::string& dir, const std::string& name) const {
        const std::string below = joined({folder_, dir, name});
        if (absolute_) return "/" + below;
        return sftp() ? joined({"/~", below}) : below;
    }

    [[nodiscard]] std::string url(const std::string& dir, const std::string& name) const {
        const std::string p = path(dir, name);
        if (sftp()) return base_ + percentEncoded(p);
        // FTP: relative to the login folder; "%2F" starts at the root.
        return base_ + (absolute_ ? "/%2F" : "/") + percentEncoded(absolute_ ? p.substr(1) : p);
    }

    // A folder's URL ends in '/'. The login folder's is the bare "/" after
    // the port: libcurl reads a second '/' in FTP as a CWD to the server's
    // root.
    [[nodiscard]] std::string folderUrl(const std::string& dir) const {
        std::string u = url(dir, {});
        if (!u.ends_with('/')) u += '/';
        return u;
    }

    // An SFTP quote command's argument, quoted with '\' escapes. libcurl
    // reads "/~/" as the login folder only in a name without quotes, but
    // OpenSSH's server starts in that folder: a relative name is below it.
    [[nodiscard]] std::string quoted(const std::string& dir, const std::string& name) const {
        const std::string below = joined({folder_, dir, name});
        std::string out = "\"";
        for (const char c : absolute_ ? "/" + below : below.empty() ? "." : below) {
            if (c == '"' || c == '\\' || c == '\'') out += '\\';
            out += c;
        }
        return out + "\"";
    }

    void prepare(const std::string& target) {
        set(CURLOPT_URL, target.c_str());
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
    // (empty) transfer; FTP's after libcurl has entered the folder. A
    // leading '*' lets a command fail.
    CURLcode commands(const std::string& dir, const std::vector<std::string>& list) {
        curl_slist* raw = nullptr;
        for (const std::string& command : list) {
            curl_slist* next = curl_slist_append(raw, command.c_str());
            if (next == nullptr) {
                curl_slist_free_all(raw);
                throw std::bad_alloc();
            }
            raw = next;
        }
        const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> owned(
            raw, &curl_slist_free_all);
        prepare(folderUrl(dir));
        set(CURLOPT_NOBODY, 1L);
        set(sftp() ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE, owned.get());
        return run();
    }

    std::optional<std::uint64_t> freeSpace(const std::string& dir) {
        const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> command(
            curl_slist_append(nullptr, ("statvfs " + quoted(dir, {})).c_str()),
            &curl_slist_free_all);
        prepare(folderUrl(dir));
        set(CURLOPT_NOBODY, 1L);
        set(CURLOPT_QUOTE, command.get());
        if (run() != CURLE_OK) return std::nullopt;
        const auto field = [this](std::string_view name) -> std::optional<std::uint64_t> {
            const std::size_t at = headers_.find(std::string(name) + ": ");
            if (at == std::string::npos) return std::nullopt;
            const char* start = headers_.data() + at + name.size() + 2;
            std::uint64_t value = 0;
            if (std::from_chars(start, headers_.data() + headers_.size(), value).ec !=
                std::errc()) {
                return std::nullopt;
            }
            return value;
        };
        const auto available = field("f_bavail");
        const auto blockSize = field("f_frsize");
        if (!available || !blockSize) return std::nullopt;
        return *available * *blockSize;
    }

    CURLcode run() {
        if (progress_.cancel) throw Cancelled();
        errors_[0] = '\0';
        lastReply_.clear();
        replies_.clear();
        lastUp_ = lastDown_ = -1;
        touch();
        running_ = true;
        curl_multi_add_handle(multi_, easy_);
        CURLcode result = CURLE_OK;
        for (bool done = false; !done && verdict_ == Verdict::None && !progress_.cancel;) {
            int running = 0;
            const CURLMcode step = curl_multi_perform(multi_, &running);
            int queued = 0;
            while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
                if (message->msg == CURLMSG_DONE) {
                    result = message->data.result;
                    done = true;
                }
            }
            if (step != CURLM_OK) {
                result = CURLE_FAILED_INIT;
                done = true;
            }
            if (!done) curl_multi_poll(multi_, nullptr, 0, 100, nullptr);
        }
        curl_multi_remove_handle(multi_, easy_);
        running_ = false;
        connected_ = true;
        if (progress_.cancel || verdict_ == Verdict::Cancelled) throw Cancelled();
        if (verdict_ == Verdict::Stalled) {
            fail(std::string(kTimeout) + ": der Server antwortet seit " +
                 std::to_string(kStallSeconds) + " Sekunden nicht mehr");
        }
        return result;
    }

    // What the server said last, or else libcurl's text for it.
    std::string serverText(CURLcode result) const {
        std::string text = errors_.data();
        if (text.empty()) text = curl_easy_strerror(result);
        if (!lastReply_.empty() && text.find(lastReply_) == std::string::npos) {
            text = lastReply_ + " (" + text + ")";
        }
        return withheldIfSecret(text);
    }

    // A server may echo the password. Starring it out in place would let
    // the words around it tell a short one ("*** Login incorrect"), and
    // leaving a short one in would show it: the server's whole text goes.
    std::string withheldIfSecret(std::string text) const {
        for (const std::string* secret : {&c_.password, &c_.keyPassphrase}) {
            if (!secret->empty() && text.find(*secret) != std::string::npos) {
                return "(Antwort des Servers ausgelassen: sie enthält das Passwort)";
            }
        }
        return text;
    }

    void check(CURLcode result, const std::string& dir) {
        if (result != CURLE_OK) fail(failureMessage(result, dir));
    }

    // What went wrong, in the words of the table of causes, then the
    // server's. An unknown host key is thrown as such.
    std::string failureMessage(CURLcode result, const std::string& dir) {
        if (refused_) {
            return std::string(kTransferFailed) + ": Die Verbindung zum Server ist abgebrochen";
        }
        const std::string text = serverText(result);
        long reply = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &reply);
        const std::string where = shown(dir, {});
        switch (result) {
            case CURLE_COULDNT_RESOLVE_HOST:
                return std::string(kHostNotFound) + ": " + c_.host + " (" + text + ")";
            case CURLE_COULDNT_CONNECT:
                return std::string(kConnectionRefused) + ": " + text;
            case CURLE_OPERATION_TIMEDOUT:
            case CURLE_FTP_ACCEPT_TIMEOUT:
                return std::string(kTimeout) + ": " + text;
            case CURLE_LOGIN_DENIED:
                return std::string(kLoginRefused) + ": " + text;
            case CURLE_PEER_FAILED_VERIFICATION:
            case CURLE_SSL_CACERT_BADFILE:
            case CURLE_SSL_ISSUER_ERROR:
                return sftp() ? hostKeyMessage(text) : certificateMessage(text);
            case CURLE_REMOTE_DISK_FULL:
                return std::string(kServerFull) + ": " + text;
            case CURLE_REMOTE_ACCESS_DENIED:
                return std::string(kNoWritePermission) + " " + where + ": " + text;
            default:
                break;
        }
        if (!sftp() && (reply == 452 || reply == 552))
            return std::string(kServerFull) + ": " + text;
        if (!sftp() && (reply == 550 || reply == 553) && result == CURLE_UPLOAD_FAILED) {
            return std::string(kNoWritePermission) + " " + where + ": " + text;
        }
        return std::string(kTransferFailed) + ": " + text;
    }

    std::string hostKeyMessage(const std::string& text) const {
        switch (hostKey_.outcome) {
            case HostKeyState::Outcome::Unknown:
                throw UnknownHostKey(hostKey_.key.type, hostKey_.key.fingerprint,
                                     hostKey_.key.base64);
            case HostKeyState::Outcome::Changed:
                return std::string(kHostKeyChanged) +
                       ". Jemand könnte die Verbindung abfangen, oder der Anbieter hat den Server "
                       "neu eingerichtet. Es wurde nichts gesendet. Der Server zeigt jetzt den "
                       "Schlüssel " +
                       hostKey_.key.type + " " + hostKey_.key.fingerprint + ".";
            case HostKeyState::Outcome::NotSaved:
                return std::string(kTransferFailed) + ": " + hostKey_.error;
            case HostKeyState::Outcome::None:
                break;
        }
        return std::string(kTransferFailed) + ": " + text;
    }

    std::string certificateMessage(const std::string& text) const {
        // A certificate whose chain holds, but that is for other names, is
        // refused by libcurl after OpenSSL's check.
        const std::string reason = tls_.error != X509_V_OK
                                       ? certificateReason(tls_.error)
                                       : "Es ist nicht für " + c_.host + " ausgestellt";
        return std::string(kUntrustedCertificate) + ": " + reason + ". Ausgestellt für: " +
               (tls_.names.empty() ? "(keine Namen)" : withheldIfSecret(tls_.names)) + " (" + text +
               ")";
    }

    // libcurl opens a new connection where the old one broke; a publish
    // stops there instead: one connection serves it. FTP's data connections
    // go to other ports.
    static curl_socket_t onOpenSocket(void* self, curlsocktype /*purpose*/,
                                      curl_sockaddr* address) {
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
        const std::lock_guard lock(s->socketsMutex_);
        const curl_socket_t fd =
            socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
        if (fd != CURL_SOCKET_BAD) s->sockets_.insert(fd);
        return fd;
    }

    static int onCloseSocket(void* self, curl_socket_t fd) {
        auto* s = static_cast<Session*>(self);
        const std::lock_guard lock(s->socketsMutex_);
        s->sockets_.erase(fd);
        return close(fd);
    }

    // The guard beside libcurl: libcurl waits inside some steps (for an FTP
    // server's last reply, for an SFTP handle to close) without looking at
    // "Abbrechen". Shutting its sockets down ends any such wait at once.
    void watch() {
        std::unique_lock lock(watchMutex_);
        while (!watchCv_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stop_; })) {
            const auto now = Clock::now().time_since_epoch().count();
            const auto idle = std::chrono::steady_clock::duration(now - activity_.load());
            if (progress_.cancel && verdict_ == Verdict::None) {
                verdict_ = Verdict::Cancelled;
                cutConnections();
            } else if (running_ && verdict_ == Verdict::None &&
                       idle > std::chrono::seconds(kStallSeconds)) {
                verdict_ = Verdict::Stalled;
                cutConnections();
            } else if (closing_ && idle > std::chrono::seconds(1)) {
                cutConnections();
            }
        }
    }

    void cutConnections() {
        const std::lock_guard lock(socketsMutex_);
        for (const curl_socket_t fd : sockets_) shutdown(fd, SHUT_RDWR);
    }

    void touch() { activity_ = Clock::now().time_since_epoch().count(); }

    static int onProgress(void* self, curl_off_t /*downTotal*/, curl_off_t down,
                          curl_off_t /*upTotal*/, curl_off_t up) {
        auto* s = static_cast<Session*>(self);
        if (up != s->lastUp_ || down != s->lastDown_) {
            s->lastUp_ = up;
            s->lastDown_ = down;
            s->touch();
            if (s->uploaded_) s->uploaded_(static_cast<std::uint64_t>(up));
        }
        return s->progress_.cancel ? 1 : 0;
    }

    static int onDebug(CURL* /*easy*/, curl_infotype type, char* data, std::size_t size,
                       void* self) {
        // Only what the server says: the commands sent hold the password.
        if (type == CURLINFO_HEADER_IN) {
            auto* s = static_cast<Session*>(self);
            std::string_view line(data, size);
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
                line.remove_suffix(1);
            }
            if (line.empty()) return 0;
            s->lastReply_ = std::string(line.substr(0, 500));
            const auto digit = [&line](std::size_t i) { return line[i] >= '0' && line[i] <= '9'; };
            if (line.size() > 3 && line[3] == ' ' && digit(0) && digit(1) && digit(2)) {
                s->replies_.push_back((line[0] - '0') * 100 + (line[1] - '0') * 10 +
                                      (line[2] - '0'));
            }
        }
        return 0;
    }

    static int onHostKey(CURL* /*easy*/, const curl_khkey* /*known*/, const curl_khkey* found,
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

    static CURLcode onTlsContext(CURL* /*easy*/, void* context, void* self) {
        auto* s = static_cast<Session*>(self);
        auto* ctx = static_cast<SSL_CTX*>(context);
        if (s->authorities_ == nullptr) {
            X509_STORE* store = X509_STORE_new();
            if (store == nullptr) return CURLE_OUT_OF_MEMORY;
            s->authorities_ = store;
            // as libcurl builds its own store
            X509_STORE_set_flags(store, X509_V_FLAG_PARTIAL_CHAIN | X509_V_FLAG_TRUSTED_FIRST);
            const bool file = !s->systemAuthorities_.empty() &&
                              X509_STORE_load_file(store, s->systemAuthorities_.c_str()) == 1;
            const bool folder = !s->systemAuthorityFolder_.empty() &&
                                X509_STORE_load_path(store, s->systemAuthorityFolder_.c_str()) == 1;
            if (!file && !folder) return CURLE_SSL_CACERT_BADFILE;
            if (!s->c_.extraAuthority.empty() &&
                X509_STORE_load_file(store, s->c_.extraAuthority.c_str()) != 1) {
                return CURLE_SSL_CACERT_BADFILE;
            }
        }
        SSL_CTX_set1_cert_store(ctx, s->authorities_);
        SSL_CTX_set_ex_data(ctx, tlsStateIndex, &s->tls_);
        SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, &verifyCallback);
        return CURLE_OK;
    }

private:
    const Connection& c_;
    Progress& progress_;
    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    std::string base_;
    std::string folder_;
    bool absolute_ = false;
    std::string hostEntry_;
    std::array<char, CURL_ERROR_SIZE> errors_{};
    std::string lastReply_;
    std::vector<int> replies_;  // the FTP server's reply codes in this step
    std::string headers_;
    std::string discarded_;
    std::function<void(std::uint64_t)> uploaded_;
    curl_off_t lastUp_ = -1;
    curl_off_t lastDown_ = -1;
    enum class Verdict { None, Cancelled, Stalled };
    std::atomic<Verdict> verdict_{Verdict::None};
    std::atomic<Clock::rep> activity_{0};  // when bytes last moved
    std::atomic<bool> running_{false};     // a step is under way
    std::atomic<bool> closing_{false};
    std::mutex socketsMutex_;
    std::set<curl_socket_t> sockets_;
    std::mutex watchMutex_;
    std::condition_variable watchCv_;
    bool stop_ = false;
    std::thread watch_;  // last: started when everything above is there
    int port_ = 0;
    bool connected_ = false;  // the one connection has been made
    bool refused_ = false;    // libcurl wanted a second one
    std::optional<std::uint64_t> freeAtStart_;
    std::uint64_t staged_ = 0;  // bytes sent under temporary names
    TlsState tls_;
    std::string systemAuthorities_;
    std::string systemAuthorityFolder_;
    X509_STORE* authorities_ = nullptr;  // built on the first TLS connection
    HostKeyState hostKey_;
};

// ---------------------------------------------------------------- publishing

struct Item {
    const LocalFile* file = nullptr;
    std::string dir;
    std::string name;
    std::uint64_t size = 0;
    std::string sha256;
    bool exists = false;  // on the server, under its own name
};

void requireSendable(const std::string& relative) {
    if (relative.find_first_of("\r\n") != std::string::npos) {
        throw Failure(std::string(kTransferFailed) + ": " + relative +
                      ": ein Name mit Zeilenumbruch kann nicht übertragen werden");
    }
}

// The folders below the publish folder that hold `items`, each after its
// parent.
std::vector<std::string> foldersOf(const std::vector<Item>& items) {
    std::set<std::string> folders;
    for (const Item& item : items) {
        for (std::size_t slash = item.dir.find('/'); slash != std::string::npos;
             slash = item.dir.find('/', slash + 1)) {
            folders.insert(item.dir.substr(0, slash));
        }
        if (!item.dir.empty()) folders.insert(item.dir);
    }
    std::vector<std::string> ordered(folders.begin(), folders.end());
    std::sort(ordered.begin(), ordered.end(), [](const std::string& a, const std::string& b) {
        const auto depth = [](const std::string& s) { return std::count(s.begin(), s.end(), '/'); };
        return depth(a) != depth(b) ? depth(a) < depth(b) : a < b;
    });
    return ordered;
}

// The listing of every folder that holds items; a folder that is not there
// yet has none.
std::map<std::string, std::optional<Listing>> survey(Session& session,
                                                     const std::vector<Item>& items) {
    std::map<std::string, std::optional<Listing>> listings;
    listings[""] = session.list("");
    if (listings[""]) session.measureFreeSpace("");
    for (const std::string& dir : foldersOf(items)) {
        const std::optional<Listing>& parent = listings[folderOf(dir)];
        const auto entry = parent ? parent->find(nameOf(dir)) : Listing::const_iterator();
        const bool there = parent && entry != parent->end();
        // libcurl would try to make the folder, fail, and blame the rights
        if (there && !entry->second.folder && !entry->second.link) {
            session.fail(std::string(kTransferFailed) + ": " + session.shown(dir, {}) +
                         " ist auf dem Server eine Datei, kein Ordner");
        }
        listings[dir] = there ? session.list(dir) : std::nullopt;
    }
    return listings;
}

std::string temporaryName(const std::string& name, const std::string& id) {
    return name + std::string(kTemporaryMark) + id;
}

// Sizes on the server of the temporary files of `batch`, all of them complete.
void verify(Session& session, const std::vector<Item*>& batch, const std::string& id) {
    std::map<std::string, Listing> listings;
    for (const Item* item : batch) {
        if (!listings.contains(item->dir))
            listings[item->dir] = session.list(item->dir).value_or(Listing());
        const Listing& listing = listings[item->dir];
        const auto entry = listing.find(temporaryName(item->name, id));
        const std::uint64_t arrived = entry == listing.end() ? 0 : entry->second.size;
        if (entry == listing.end() || arrived != item->size) {
            session.removeQuietly(item->dir, {temporaryName(item->name, id)});
            session.fail(std::string(kTransferFailed) + ": " + item->file->relativePath +
                         " ist auf dem Server " + std::to_string(arrived) + " statt " +
                         std::to_string(item->size) + " Bytes groß");
        }
    }
}

}  // namespace

UnknownHostKey::UnknownHostKey(std::string keyType, std::string fingerprint, std::string key)
    : Failure("Der Server ist noch unbekannt. Sein Schlüssel: " + keyType + " " + fingerprint),
      keyType_(std::move(keyType)),
      fingerprint_(std::move(fingerprint)),
      key_(std::move(key)) {}

Cancelled::Cancelled() : Failure("Abgebrochen") {}

void initializeTransfers() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            throw std::runtime_error("curl_global_init failed");
        }
        tlsStateIndex = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    });
}

void finishTransfers() { curl_global_cleanup(); }

void checkConnection(const Connection& connection, Progress& progress) {
    initializeTransfers();
    Session session(connection, progress);
    const std::string id = newTemporaryId();
    const std::string probe = temporaryName("velmora-probe", id);
    const std::string second = temporaryName(probe, id);
    const std::string_view first = "Velmora prüft die Verbindung.\n";
    const std::string_view replacement = "Velmora prüft, ob Dateien ersetzt werden können.\n";
    (void)session.list("");
    Source a(first);
    session.upload("", probe, a, first.size());
    Source b(replacement);
    session.upload("", second, b, replacement.size());
    const Listing listing = session.list("").value_or(Listing());
    const auto sizeOf = [&listing](const std::string& name) {
        const auto entry = listing.find(name);
        return entry == listing.end() ? std::uint64_t{0} : entry->second.size;
    };
    if (sizeOf(probe) != first.size() || sizeOf(second) != replacement.size()) {
        session.removeQuietly("", {probe, second});
        session.fail(std::string(kTransferFailed) +
                     ": die Probedatei ist nicht vollständig angekommen");
    }
    (void)session.replace("", second, probe, true);
    session.remove("", probe);
}

Published publish(const Connection& connection, const std::vector<LocalFile>& files, Record& record,
                  bool sendEverything, Progress& progress) {
    initializeTransfers();
    const std::string place = Record::place(connection);
    std::vector<Item> items;
    items.reserve(files.size());
    for (const LocalFile& file : files) {
        requireSendable(file.relativePath);
        if (progress.cancel) throw Cancelled();
        Item item;
        item.file = &file;
        item.dir = folderOf(file.relativePath);
        item.name = nameOf(file.relativePath);
        item.sha256 = fileSha256(file.localPath, item.size);
        items.push_back(std::move(item));
    }
    Published published;
    // what the session reports progress with, living longer than it
    std::uint64_t total = 0;
    std::uint64_t done = 0;
    std::uint64_t current = 0;
    Session session(connection, progress);
    // sent under their temporary names, not yet renamed: dir and name
    std::map<std::string, std::vector<std::string>> staged;
    try {
        const auto listings = survey(session, items);
        const std::string id = newTemporaryId();
        std::vector<Item*> sending;
        for (Item& item : items) {
            const std::optional<Listing>& listing = listings.at(item.dir);
            const auto entry = listing ? listing->find(item.name) : Listing::const_iterator();
            item.exists = listing && entry != listing->end();
            // found before anything is sent, where the rename would fail
            if (item.exists && entry->second.folder) {
                session.fail(std::string(kTransferFailed) + ": " +
                             session.shown(item.dir, item.name) +
                             " ist auf dem Server ein Ordner, keine Datei");
            }
            const SentFile* sent = record.find(place, item.file->relativePath);
            const bool same = item.exists && entry->second.size == item.size && sent != nullptr &&
                              *sent == SentFile{item.size, item.sha256};
            if (sendEverything || !same) {
                sending.push_back(&item);
                total += item.size;
            }
        }
        session.reportUploads([&](std::uint64_t sent) {
            current = sent;
            if (progress.bytes) progress.bytes(done + current, total);
        });
        for (std::size_t start = 0; start < sending.size();) {
            std::vector<Item*> batch;
            std::uint64_t bytes = 0;
            while (start < sending.size() && batch.size() < kBatchFiles &&
                   (batch.empty() || bytes + sending[start]->size <= kBatchBytes)) {
                bytes += sending[start]->size;
                batch.push_back(sending[start++]);
            }
            for (Item* item : batch) {
                if (progress.file) progress.file(item->file->relativePath);
                Source source(item->file->localPath);
                current = 0;
                const std::string temporary = temporaryName(item->name, id);
                staged[item->dir].push_back(temporary);
                session.upload(item->dir, temporary, source, item->size);
                done += item->size;
                current = 0;
                published.bytes += item->size;
            }
            verify(session, batch, id);
            for (Item* item : batch) {
                const std::string temporary = temporaryName(item->name, id);
                // The replacement may delete the old file first. Should the
                // rename after it fail, the complete new file has to stay
                // under its temporary name for the next publish to finish.
                std::erase(staged[item->dir], temporary);
                if (session.replace(item->dir, temporary, item->name, item->exists)) {
                    ++published.deletedFirst;
                }
                record.put(place, item->file->relativePath, {item->size, item->sha256});
                published.sent.push_back(item->file->relativePath);
            }
        }
        for (const auto& [dir, listing] : listings) {
            if (!listing) continue;
            std::vector<std::string> leftovers;
            for (const auto& [name, entry] : *listing) {
                if (!entry.folder && isLeftover(name, id)) leftovers.push_back(name);
            }
            session.removeQuietly(dir, leftovers);
        }
    } catch (...) {
        // What this publish sent but did not rename goes, where the
        // connection still stands; else the next publish removes it.
        if (!progress.cancel) {
            try {
                for (const auto& [dir, names] : staged) session.removeQuietly(dir, names);
            } catch (...) {  // NOLINT(bugprone-empty-catch): the first failure says more
            }
        }
        try {
            record.save();
        } catch (const Failure&) {  // NOLINT(bugprone-empty-catch): the first failure says more
        }
        throw;
    }
    record.save();
    return published;
}

}  // namespace velmora::publish
