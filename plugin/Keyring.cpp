// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "plugin/Keyring.h"

#include <qt6keychain/keychain.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLibrary>
#include <QStringList>
#include <functional>

namespace velmora::plugin {
namespace {

// How the entries are listed in the keyring (its "server" attribute).
const QString kService = QStringLiteral("Velmora");

const QString kSecretService = QStringLiteral("org.freedesktop.secrets");

KeyringReply failure(const std::string& error) { return {KeyringReply::Kind::Failed, {}, error}; }

// Calls `done` and keeps whatever it throws inside: this runs from Qt's
// event loop.
void answer(const KeyringDone& done, const KeyringReply& reply) noexcept {
    try {
        done(reply);
    } catch (...) {
        // The program's own handlers report their failures; this one would
        // have crossed the event loop.
        qWarning("Velmora: a keyring reply's handler failed");
    }
}

// Starts a job of the kind Job for `key`, after `prepare` (a write takes
// its password there); `done` hears how it ended, with `read` taking the
// password from a read.
template <typename Job, typename Read>
void start(const std::string& key, const std::function<void(Job&)>& prepare, KeyringDone done,
           Read read) noexcept {
    Job* job = nullptr;
    try {
        job = new Job(kService);
        if (prepare) prepare(*job);
        job->setAutoDelete(true);
        job->setInsecureFallback(false);
        job->setKey(QString::fromStdString(key));
        QObject::connect(job, &QKeychain::Job::finished, job,
                         [job, done = std::move(done), read](QKeychain::Job*) {
                             KeyringReply reply;
                             try {
                                 switch (job->error()) {
                                     case QKeychain::NoError:
                                         reply.password = read(*job);
                                         break;
                                     case QKeychain::EntryNotFound:
                                         reply.kind = KeyringReply::Kind::NotFound;
                                         break;
                                     default:
                                         reply = failure(job->errorString().toStdString());
                                 }
                             } catch (...) {
                                 reply = failure("Out of memory");
                             }
                             answer(done, reply);
                         });
        job->start();
    } catch (...) {
        delete job;
        answer(done, failure("Out of memory"));
    }
}

std::string nothing(const QKeychain::Job&) { return {}; }

}  // namespace

bool Keyring::available() const noexcept {
    try {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || bus.interface() == nullptr) return false;
        QDBusConnectionInterface& names = *bus.interface();
        const QStringList wallets{QStringLiteral("org.kde.kwalletd6"),
                                  QStringLiteral("org.kde.kwalletd5")};
        // QtKeychain reaches the Secret Service through libsecret, which
        // Debian 12's QtKeychain loads only when it is first needed.
        static const bool libsecret = QLibrary(QStringLiteral("secret-1"), 0).load();
        QStringList wanted = wallets;
        if (libsecret) wanted << kSecretService;
        for (const QString& name : wanted) {
            if (names.isServiceRegistered(name).value()) return true;
        }
        const QStringList startable = names.activatableServiceNames().value();
        for (const QString& name : wanted) {
            if (startable.contains(name)) return true;
        }
    } catch (...) {
        return false;  // whatever failed, there is no keyring to use
    }
    return false;
}

void Keyring::read(const std::string& key, KeyringDone done) const noexcept {
    start<QKeychain::ReadPasswordJob>(key, {}, std::move(done), [](const QKeychain::Job& j) {
        return static_cast<const QKeychain::ReadPasswordJob&>(j).textData().toStdString();
    });
}

void Keyring::write(const std::string& key, const std::string& password,
                    KeyringDone done) const noexcept {
    start<QKeychain::WritePasswordJob>(
        key,
        [&password](QKeychain::WritePasswordJob& job) {
            job.setTextData(QString::fromStdString(password));
        },
        std::move(done), nothing);
}

void Keyring::remove(const std::string& key, KeyringDone done) const noexcept {
    start<QKeychain::DeletePasswordJob>(key, {}, std::move(done), nothing);
}

}  // namespace velmora::plugin
