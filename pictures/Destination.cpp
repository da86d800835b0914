// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Destination.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include "settings/Failure.h"

namespace velmora::pictures {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void cannot(const std::string& what, int error) {
    throw Failure(what + ": " + std::strerror(error));
}

void syncPath(const fs::path& path, const std::string& what) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) cannot(what, errno);
    const int failed = ::fsync(fd) != 0 ? errno : 0;
    ::close(fd);
    // a folder's fsync is refused by some file systems; the file's counts
    if (failed != 0 && failed != EINVAL) cannot(what, failed);
}

enum class Put { Done, Taken, Unsupported };

// One try at `to`: renameat2 refuses to replace; where the file system
// cannot do that, a hard link can.
Put putAt(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return Put::Done;
    }
    if (errno == EEXIST) return Put::Taken;
    if (errno != EINVAL && errno != ENOSYS) cannot("Die Kopie lässt sich nicht ablegen", errno);
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return Put::Done;
    }
    if (errno == EEXIST) return Put::Taken;
    return Put::Unsupported;
}

// A file system with neither (FAT): look, then rename; a file made in
// between by another program would be lost, so this is the last resort.
Put putLooking(const fs::path& from, const fs::path& to) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(to, error))) return Put::Taken;
    if (::rename(from.c_str(), to.c_str()) != 0) {
        cannot("Die Kopie lässt sich nicht ablegen", errno);
    }
    return Put::Done;
}

}  // namespace

std::string candidateName(const std::string& stem, const std::string& extension, int n) {
    std::string name = stem;
    if (n > 1) name += '-' + std::to_string(n);
    return name + '.' + extension;
}

PendingFile::PendingFile(const fs::path& folder) : folder_(folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        throw Failure("Der Ordner " + folder.string() +
                      " lässt sich nicht anlegen: " + error.message());
    }
    // not mkstemp, whose file only its owner could read: the copy gets the
    // mode the user's umask gives a new file, as any saved file does
    std::random_device random;
    for (int tries = 0; tries < 100; ++tries) {
        const fs::path candidate = folder / (".velmora-" + std::to_string(random()) + ".tmp");
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            path_ = candidate;
            return;
        }
        if (errno != EEXIST) break;
    }
    cannot("In " + folder.string() + " lässt sich keine Datei anlegen", errno);
}

PendingFile::~PendingFile() {
    if (!placed_) ::unlink(path_.c_str());
}

std::string PendingFile::place(const std::string& stem, const std::string& extension) {
    syncPath(path_, "Die Kopie lässt sich nicht schreiben");
    constexpr int kTries = 10'000;
    bool looking = false;
    for (int n = 1; n <= kTries; ++n) {
        std::string name = candidateName(stem, extension, n);
        const fs::path to = folder_ / name;
        Put put = looking ? putLooking(path_, to) : putAt(path_, to);
        if (put == Put::Unsupported) {
            looking = true;
            put = putLooking(path_, to);
        }
        if (put == Put::Done) {
            placed_ = true;
            syncPath(folder_, "Der Ordner " + folder_.string() + " lässt sich nicht schreiben");
            return name;
        }
    }
    throw Failure("In " + folder_.string() + " ist kein Name für die Kopie frei");
}

}  // namespace velmora::pictures
