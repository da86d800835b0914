// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The plan of a publish: what goes up, under which temporary names, in what
// order it goes live, and what is left to tidy. The connection itself is
// Session's.
#include "publish/Publisher.h"

#include <curl/curl.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "publish/CertificateCheck.h"
#include "publish/Listing.h"
#include "publish/Session.h"

namespace velmora::publish {
namespace {

// The temporary name of a file on the server: NAME.velmora-tmp-ID, beside it
// and no dot-name, which vsftpd and others hide from listings.
constexpr std::string_view kTemporaryMark = ".velmora-tmp-";
constexpr std::size_t kIdLength = 12;  // hex digits
// Files go live in batches: sent under their temporary names, their sizes on
// the server checked with one listing per folder, then renamed. A batch keeps
// what a break loses small, and the listings few.
constexpr std::size_t kBatchFiles = 64;
constexpr std::uint64_t kBatchBytes = std::uint64_t{16} * 1024 * 1024;

// ---------------------------------------------------------------- names

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

std::string temporaryName(const std::string& name, const std::string& id) {
    return name + std::string(kTemporaryMark) + id;
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

// ---------------------------------------------------------------- what goes up

struct Item {
    const LocalFile* file = nullptr;
    std::string dir;
    std::string name;
    std::uint64_t size = 0;
    std::string sha256;
    bool exists = false;  // on the server, under its own name
};

// The files with their contents' sizes and hashes, read before anything is
// sent: what goes up is what the record takes.
std::vector<Item> itemsOf(const std::vector<LocalFile>& files, const Progress& progress) {
    std::vector<Item> items;
    items.reserve(files.size());
    for (const LocalFile& file : files) {
        if (file.relativePath.find_first_of("\r\n") != std::string::npos) {
            throw Failure(std::string(kTransferFailed) + ": " + file.relativePath +
                          ": ein Name mit Zeilenumbruch kann nicht übertragen werden");
        }
        if (progress.cancel) throw Cancelled();
        Item item;
        item.file = &file;
        item.dir = folderOf(file.relativePath);
        item.name = nameOf(file.relativePath);
        item.sha256 = fileSha256(file.localPath, item.size);
        items.push_back(std::move(item));
    }
    return items;
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

using Listings = std::map<std::string, std::optional<Listing>>;

// The listing of every folder that holds items; a folder that is not there
// yet has none. A file where a folder goes is named before anything is sent:
// libcurl would try to make the folder, fail, and blame the rights.
Listings survey(Session& session, const std::vector<Item>& items) {
    Listings listings;
    listings[""] = session.list("");
    if (listings[""]) session.measureFreeSpace("");
    for (const std::string& dir : foldersOf(items)) {
        const std::optional<Listing>& parent = listings[folderOf(dir)];
        const auto entry = parent ? parent->find(nameOf(dir)) : Listing::const_iterator();
        const bool there = parent && entry != parent->end();
        if (there && !entry->second.folder && !entry->second.link) {
            throw Failure(std::string(kTransferFailed) + ": " + session.shown(dir, {}) +
                          " ist auf dem Server eine Datei, kein Ordner");
        }
        listings[dir] = there ? session.list(dir) : std::nullopt;
    }
    return listings;
}

// The items to send, in their order: each whose content differs from what
// the record says was put there, whose size on the server differs, or that
// the server lacks; or all of them. Marks what exists on the server.
std::vector<Item*> choose(std::vector<Item>& items, const Listings& listings, const Record& record,
                          const std::string& place, bool sendEverything, const Session& session) {
    std::vector<Item*> sending;
    for (Item& item : items) {
        const std::optional<Listing>& listing = listings.at(item.dir);
        const auto entry = listing ? listing->find(item.name) : Listing::const_iterator();
        item.exists = listing && entry != listing->end();
        // found before anything is sent, where the rename would fail
        if (item.exists && entry->second.folder) {
            throw Failure(std::string(kTransferFailed) + ": " + session.shown(item.dir, item.name) +
                          " ist auf dem Server ein Ordner, keine Datei");
        }
        const SentFile* sent = record.find(place, item.file->relativePath);
        const bool same = item.exists && entry->second.size == item.size && sent != nullptr &&
                          *sent == SentFile{item.size, item.sha256};
        if (sendEverything || !same) sending.push_back(&item);
    }
    return sending;
}

// The next batch of `sending` from `start` on, at least one file.
std::vector<Item*> nextBatch(const std::vector<Item*>& sending, std::size_t& start) {
    std::vector<Item*> batch;
    std::uint64_t bytes = 0;
    while (start < sending.size() && batch.size() < kBatchFiles &&
           (batch.empty() || bytes + sending[start]->size <= kBatchBytes)) {
        bytes += sending[start]->size;
        batch.push_back(sending[start++]);
    }
    return batch;
}

// ---------------------------------------------------------------- going live

// A publish under way: the session, its temporary id, what waits under a
// temporary name, and the bytes for the progress.
class Transfer {
public:
    Transfer(Session& session, Progress& progress, std::uint64_t total)
        : session_(session), progress_(progress), total_(total) {
        session_.reportUploads([this](std::uint64_t current) {
            if (progress_.bytes) progress_.bytes(done_ + current, total_);
        });
    }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;
    ~Transfer() { session_.reportUploads(nullptr); }

    [[nodiscard]] const std::string& id() const noexcept { return id_; }

    void send(const Item& item) {
        if (progress_.file) progress_.file(item.file->relativePath);
        Source source(item.file->localPath);
        const std::string temporary = temporaryName(item.name, id_);
        staged_[item.dir].push_back(temporary);
        session_.upload(item.dir, temporary, source, item.size);
        done_ += item.size;
    }

    // Sizes on the server of the temporary files of `batch`: all complete.
    void verify(const std::vector<Item*>& batch) {
        std::map<std::string, Listing> listings;
        for (const Item* item : batch) {
            if (!listings.contains(item->dir)) {
                listings[item->dir] = session_.list(item->dir).value_or(Listing());
            }
            const Listing& listing = listings[item->dir];
            const auto entry = listing.find(temporaryName(item->name, id_));
            const std::uint64_t arrived = entry == listing.end() ? 0 : entry->second.size;
            if (entry == listing.end() || arrived != item->size) {
                throw Failure(std::string(kTransferFailed) + ": " + item->file->relativePath +
                              " ist auf dem Server " + std::to_string(arrived) + " statt " +
                              std::to_string(item->size) + " Bytes groß");
            }
        }
    }

    // Puts the sent file in place of the old one. Returns whether the old
    // one had to be deleted first.
    bool putInPlace(const Item& item) {
        const std::string temporary = temporaryName(item.name, id_);
        const bool atOnce = session_.renameOver(item.dir, temporary, item.name, item.exists);
        // From here on the old file may go first. Should the rename after it
        // fail, the complete new file stays under its temporary name for the
        // next publish to finish.
        std::erase(staged_[item.dir], temporary);
        if (!atOnce) session_.deleteThenRename(item.dir, temporary, item.name);
        return !atOnce;
    }

    // After a failure: what this publish sent but did not put in place goes,
    // where the connection still stands; else the next publish removes it.
    void removeStaged() noexcept {
        try {
            for (const auto& [dir, names] : staged_) session_.removeQuietly(dir, names);
        } catch (...) {  // NOLINT(bugprone-empty-catch): the first failure says more
        }
    }

private:
    Session& session_;
    Progress& progress_;
    const std::string id_ = newTemporaryId();
    std::map<std::string, std::vector<std::string>> staged_;  // by folder
    const std::uint64_t total_;
    std::uint64_t done_ = 0;
};

// Temporary files that earlier publishes left in the folders listed.
void removeLeftovers(Session& session, const Listings& listings, const std::string& id) {
    for (const auto& [dir, listing] : listings) {
        if (!listing) continue;
        std::vector<std::string> leftovers;
        for (const auto& [name, entry] : *listing) {
            if (!entry.folder && isLeftover(name, id)) leftovers.push_back(name);
        }
        session.removeQuietly(dir, leftovers);
    }
}

Published publishItems(Session& session, std::vector<Item>& items, Record& record,
                       const std::string& place, bool sendEverything, Progress& progress) {
    const Listings listings = survey(session, items);
    const std::vector<Item*> sending =
        choose(items, listings, record, place, sendEverything, session);
    std::uint64_t total = 0;
    for (const Item* item : sending) total += item->size;
    Transfer transfer(session, progress, total);
    Published published;
    try {
        for (std::size_t start = 0; start < sending.size();) {
            const std::vector<Item*> batch = nextBatch(sending, start);
            for (const Item* item : batch) transfer.send(*item);
            transfer.verify(batch);
            for (const Item* item : batch) {
                if (transfer.putInPlace(*item)) ++published.deletedFirst;
                record.put(place, item->file->relativePath, {item->size, item->sha256});
                published.sent.push_back(item->file->relativePath);
                published.bytes += item->size;
            }
        }
        removeLeftovers(session, listings, transfer.id());
    } catch (...) {
        if (!progress.cancel) transfer.removeStaged();
        throw;
    }
    return published;
}

}  // namespace

void initializeTransfers() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            throw std::runtime_error("curl_global_init failed");
        }
        initializeCertificateChecks();
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
        throw Failure(std::string(kTransferFailed) +
                      ": die Probedatei ist nicht vollständig angekommen");
    }
    if (!session.renameOver("", second, probe, true)) session.deleteThenRename("", second, probe);
    session.remove("", probe);
}

Published publish(const Connection& connection, const std::vector<LocalFile>& files, Record& record,
                  bool sendEverything, Progress& progress) {
    initializeTransfers();
    std::vector<Item> items = itemsOf(files, progress);
    Session session(connection, progress);
    try {
        Published published = publishItems(session, items, record, Record::place(connection),
                                           sendEverything, progress);
        record.save();
        return published;
    } catch (...) {
        try {
            record.save();
        } catch (const Failure&) {  // NOLINT(bugprone-empty-catch): the first failure says more
        }
        throw;
    }
}

}  // namespace velmora::publish
