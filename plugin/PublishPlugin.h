// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the program asks of the publishing module: the one door between the
// windows and everything that loads libcurl or QtKeychain. The program
// includes only this header and the plain values that cross the door
// (publish/Values.h), and loads the module (publish.so) on first use, so a
// run that never publishes never maps either library.
//
//   program ──QLibrary──▶ velmora_publish_plugin(kPluginVersion) ──▶ PublishPlugin
//   dialog ──▶ pageFiles, keyNeedsPassphrase, checkConnection, publish (worker thread),
//              keyring (UI thread)
//
// Nothing is thrown across the boundary: every failure comes back as a
// value, with the message the publish library gave it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "publish/Values.h"

namespace velmora::plugin {

/// Raised with every change of this header or of publish/Values.h: a module
/// of another build is refused instead of called through a vtable of another
/// shape, or handed values of another layout.
inline constexpr int kPluginVersion = 5;

/// The module's one exported function: the module's plugin, or nullptr when
/// it was built for another `version`.
inline constexpr const char* kFactoryName = "velmora_publish_plugin";

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

    /// publish::keyNeedsPassphrase of the absolute `keyFile`: whether to ask
    /// for its passphrase before a login; false where the file cannot be read.
    [[nodiscard]] virtual bool keyNeedsPassphrase(const std::string& keyFile) noexcept = 0;

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
