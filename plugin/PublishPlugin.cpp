// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The module's side of PublishPlugin: the publish library's calls with
// every failure caught and handed back as a value, and the keyring.
#include "plugin/PublishPlugin.h"

#include <exception>
#include <new>
#include <utility>

#include "plugin/Keyring.h"
#include "publish/Errors.h"
#include "publish/KeyFile.h"
#include "publish/PageFiles.h"
#include "publish/Publisher.h"
#include "publish/Record.h"

namespace velmora::plugin {
namespace {

Outcome failed(std::string message) {
    Outcome o;
    o.kind = Outcome::Kind::Failed;
    o.message = std::move(message);
    return o;
}

// The exception being handled, as an Outcome.
Outcome currentFailure() noexcept {
    try {
        try {
            throw;
        } catch (const publish::UnknownHostKey& key) {
            Outcome o;
            o.kind = Outcome::Kind::UnknownHostKey;
            o.keyType = key.keyType();
            o.fingerprint = key.fingerprint();
            o.key = key.key();
            return o;
        } catch (const publish::Cancelled&) {
            Outcome o;
            o.kind = Outcome::Kind::Cancelled;
            return o;
        } catch (const std::bad_alloc&) {
            return failed("Out of memory");
        } catch (const std::exception& e) {
            return failed(e.what());
        } catch (...) {
            return failed("Unknown failure");
        }
    } catch (...) {
        // no memory left for the message
        return {Outcome::Kind::Failed, {}, {}, {}, {}, {}};
    }
}

class Plugin final : public PublishPlugin {
public:
    std::string initializeTransfers() noexcept override {
        try {
            publish::initializeTransfers();
            return {};
        } catch (const std::exception& e) {
            return e.what();
        } catch (...) {
            return "Unknown failure";
        }
    }

    void finishTransfers() noexcept override { publish::finishTransfers(); }

    FilesOutcome pageFiles(const std::string& pagePath) noexcept override {
        FilesOutcome out;
        try {
            publish::PageFiles page = publish::pageFiles(pagePath);
            out.files = std::move(page.files);
            for (const publish::PageProblem& p : page.problems) out.problems.push_back(p.message());
        } catch (...) {
            out.error = currentFailure().message;
        }
        return out;
    }

    bool keyNeedsPassphrase(const std::string& keyFile) noexcept override {
        try {
            return publish::keyNeedsPassphrase(keyFile);
        } catch (...) {
            return false;  // left to the login, as a file that cannot be read
        }
    }

    Outcome checkConnection(const publish::Connection& connection,
                            publish::Progress& progress) noexcept override {
        try {
            publish::checkConnection(connection, progress);
            return {};
        } catch (...) {
            return currentFailure();
        }
    }

    Outcome publish(const publish::Connection& connection,
                    const std::vector<publish::LocalFile>& files, const std::string& recordPath,
                    bool sendEverything, publish::Progress& progress) noexcept override {
        try {
            publish::Record record = publish::Record::load(recordPath);
            Outcome o;
            o.published = publish::publish(connection, files, record, sendEverything, progress);
            return o;
        } catch (...) {
            return currentFailure();
        }
    }

    bool keyringAvailable() noexcept override { return keyring_.available(); }
    void readPassword(const std::string& key, KeyringDone done) noexcept override {
        keyring_.read(key, std::move(done));
    }
    void writePassword(const std::string& key, const std::string& password,
                       KeyringDone done) noexcept override {
        keyring_.write(key, password, std::move(done));
    }
    void deletePassword(const std::string& key, KeyringDone done) noexcept override {
        keyring_.remove(key, std::move(done));
    }

private:
    Keyring keyring_;
};

}  // namespace
}  // namespace velmora::plugin

// The module is never unloaded, so the plugin lives as long as the process.
extern "C" __attribute__((visibility("default"))) velmora::plugin::PublishPlugin*
velmora_publish_plugin(int version) {
    if (version != velmora::plugin::kPluginVersion) return nullptr;
    static velmora::plugin::Plugin plugin;
    return &plugin;
}
