// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the program asks of the publishing module: the one door between the
// windows and everything that loads libcurl or QtKeychain. The program
// includes only this header and loads the module (publish.so) on first use,
// so a run that never publishes never maps either library.
//
//   program ──QLibrary──▶ velmora_publish_plugin(kPluginVersion) ──▶ PublishPlugin
//   dialog ──▶ pageFiles, checkConnection, publish (worker thread), keyring (UI thread)
//
// Nothing is thrown across the boundary: every failure comes back as a
// value, with the message the publish library gave it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "publish/Connection.h"
#include "publish/PageFiles.h"
#include "publish/Publisher.h"

namespace velmora::plugin {

/// Raised with every change of this header: a module of another build is
/// refused instead of called through a vtable of another shape.
inline constexpr int kPluginVersion = 1;

/// The module's one exported function: the module's plugin, or nullptr when
/// it was built for another `version`.
inline constexpr const char* kFactoryName = "velmora_publish_plugin";

/// How a connection check or a publish ended.
struct Outcome {
    enum class Kind {
        Done,
        Failed,          // `message` says why, as the publish library words it
        UnknownHostKey,  // ask about `keyType` and `fingerprint`, then again with `key`
        Cancelled,
    };
    Kind kind = Kind::Done;
    std::string message;
    std::string keyType;
    std::string fingerprint;
    std::string key;
    publish::Published published;  // a publish that is Done
};

/// The files a page takes to the server, or why they cannot be known.
struct FilesOutcome {
    std::vector<publish::LocalFile> files;  // publish::PageFiles::files
    /// What cannot arrive, each as the dialog shows it: "bild.jpg fehlt".
    std::vector<std::string> problems;
    std::string error;  // empty: the page was read
};

/// The end of a keyring job.
struct KeyringReply {
    enum class Kind { Done, NotFound, Failed };
    Kind kind = Kind::Done;
    std::string password;  // a read that is Done
    std::string error;     // Failed: the keyring's own words
};
using KeyringDone = std::function<void(const KeyringReply&)>;

class PublishPlugin {
public:
    virtual ~PublishPlugin() = default;

    /// Whether libcurl came up; an empty string or why not. Once, before
    /// the first transfer.
    [[nodiscard]] virtual std::string initializeTransfers() noexcept = 0;
    /// At the program's end, when no transfer runs any more.
    virtual void finishTransfers() noexcept = 0;

    /// publish::pageFiles of the page at the absolute `pagePath`.
    [[nodiscard]] virtual FilesOutcome pageFiles(const std::string& pagePath) noexcept = 0;

    /// publish::checkConnection. Blocks; for a worker thread.
    [[nodiscard]] virtual Outcome checkConnection(const publish::Connection& connection,
                                                  publish::Progress& progress) noexcept = 0;

    /// publish::publish with the record of what was sent kept in the file at
    /// the absolute `recordPath`. Blocks; for a worker thread.
    [[nodiscard]] virtual Outcome publish(const publish::Connection& connection,
                                          const std::vector<publish::LocalFile>& files,
                                          const std::string& recordPath, bool sendEverything,
                                          publish::Progress& progress) noexcept = 0;

    /// Whether the desktop has a keyring to keep a password in (the Secret
    /// Service or KWallet on the session bus). Asks the bus; UI thread.
    [[nodiscard]] virtual bool keyringAvailable() noexcept = 0;
    /// The keyring jobs run from the UI thread's event loop and call `done`
    /// there, once. The password lives only in the keyring: no fallback file.
    virtual void readPassword(const std::string& key, KeyringDone done) noexcept = 0;
    virtual void writePassword(const std::string& key, const std::string& password,
                               KeyringDone done) noexcept = 0;
    virtual void deletePassword(const std::string& key, KeyringDone done) noexcept = 0;
};

using PluginFactory = PublishPlugin* (*)(int version);

}  // namespace velmora::plugin
