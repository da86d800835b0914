// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The output file: its bytes, and the one place that writes a file (a page is
// read back in PageReader.cpp; PageFile.cpp looks files up and enters their
// folder). The page is written to a new file beside the target and moved over
// it only when every byte is on disk, so a failed finish never leaves a
// damaged page or a stray file behind. The one exception is a writable page in
// a folder that takes no new file: it is rewritten in place, the only way to
// replace it.
#include "generator/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>
#include <utility>

#include "generator/AsciiEncoder.h"
#include "settings/Failure.h"

namespace velmora {
namespace {

constexpr const char* kWriteError = "Stream write error";

[[noreturn]] void cannotCreate(const std::string& name) {
    throw Failure("Cannot create file " + name);
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Follows symbolic links at the target name, so that the page they point to
// is replaced and the link itself stays.
std::string resolveLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st = {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return path;
        target.resize(static_cast<std::size_t>(n));
        if (target.starts_with('/')) {
            path = std::move(target);
        } else {
            std::string resolved = directoryOf(path);
            resolved += '/';
            resolved += target;
            path = std::move(resolved);
        }
    }
    return path;
}

mode_t modeForNewFile() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

class TempFile {
public:
    explicit TempFile(const std::string& dir) : path_(dir + "/.velmora-XXXXXX") {
        fd_ = mkstemp(path_.data());
        if (fd_ < 0) error_ = errno;
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (fd_ >= 0) close(fd_);
        if (!kept_) unlink(path_.c_str());
    }

    [[nodiscard]] bool ok() const noexcept { return fd_ >= 0; }
    /// The file could not be made because the folder may not be written to.
    [[nodiscard]] bool refused() const noexcept { return error_ == EACCES || error_ == EPERM; }
    [[nodiscard]] int fd() const noexcept { return fd_; }
    [[nodiscard]] const std::string& path() const noexcept { return path_; }
    bool closeFile() noexcept {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }
    void keep() noexcept { kept_ = true; }

private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
    bool kept_ = false;
};

// A write may be cut short; go on until every byte is written or the system
// reports an error (a full disk, a file size limit).
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Not atomic: a failure part way leaves the page cut short.
void rewriteInPlace(const std::string& target, const std::string& name, std::string_view bytes) {
    const int fd = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) cannotCreate(name);
    const bool written = writeAll(fd, bytes) && fsync(fd) == 0;
    if (close(fd) != 0 || !written) throw Failure(kWriteError);
}

}  // namespace

std::string composeFileBytes(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) total += line.size() + 2;
    std::string bytes;
    bytes.reserve(total);  // exact for ASCII text; a reference is longer than its UTF-8
    for (const std::string& line : lines) {
        appendAsAscii(bytes, line);
        bytes += "\r\n";
    }
    return bytes;
}

void writeOutputFile(const std::string& folder, const std::string& name, std::string_view bytes) {
    const std::string target = resolveLinks(name.starts_with('/') ? name : folder + '/' + name);
    struct stat old = {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists &&
        (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0)) {
        cannotCreate(name);
    }

    TempFile temp(directoryOf(target));
    if (!temp.ok()) {
        // the checks above found the page a regular file that we may write
        if (!exists || !temp.refused()) cannotCreate(name);
        rewriteInPlace(target, name, bytes);
        return;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : modeForNewFile();
    if (fchmod(temp.fd(), mode) != 0) cannotCreate(name);
    if (exists && (old.st_uid != geteuid() || old.st_gid != getegid())) {
        // A user may not give a file away; refused, the new page stays ours.
        [[maybe_unused]] const int refused = fchown(temp.fd(), old.st_uid, old.st_gid);
    }

    if (!writeAll(temp.fd(), bytes) || fsync(temp.fd()) != 0 || !temp.closeFile()) {
        throw Failure(kWriteError);
    }
    if (rename(temp.path().c_str(), target.c_str()) != 0) cannotCreate(name);
    temp.keep();
}

}  // namespace velmora
