// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ServerFixture.h"

#include <fstream>
#include <memory>

namespace velmora::publish::testing {
namespace {

// A server with the folder it lives in, for the whole test process.
template <typename T>
struct Shared {
    TempDir dir;
    std::unique_ptr<T> server;
};

}  // namespace

SshServer& sshServer() {
    static Shared<SshServer> shared{{}, nullptr};
    if (!shared.server) shared.server = std::make_unique<SshServer>(shared.dir.path());
    return *shared.server;
}

const TestAuthority& testAuthority() {
    static TempDir dir;
    static const TestAuthority authority(dir.path());
    return authority;
}

FtpServer& ftpServer() {
    static Shared<FtpServer> shared{{}, nullptr};
    if (!shared.server) {
        shared.server = std::make_unique<FtpServer>(shared.dir.path(), &testAuthority());
    }
    return *shared.server;
}

FtpServer& plainFtpServer() {
    static Shared<FtpServer> shared{{}, nullptr};
    if (!shared.server) shared.server = std::make_unique<FtpServer>(shared.dir.path(), nullptr);
    return *shared.server;
}

std::string protocolName(const ::testing::TestParamInfo<Protocol>& info) {
    switch (info.param) {
        case Protocol::Sftp:
            return "Sftp";
        case Protocol::FtpTls:
            return "FtpTls";
        case Protocol::Ftp:
            break;
    }
    return "Ftp";
}

void PublishTest::SetUp() {
    site_ = local_.path() / "site";
    config_ = local_.path() / "config";
    fs::create_directories(site_);
    fs::create_directories(config_);
    const std::string folder = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    connection_.protocol = GetParam();
    connection_.host = "127.0.0.1";
    connection_.folder = "www-" + folder.substr(0, folder.find('/'));
    if (GetParam() == Protocol::Sftp) {
        const SshServer& ssh = sshServer();
        connection_.port = ssh.port();
        connection_.user = ssh.user();
        connection_.keyFile = ssh.clientKey();
        connection_.knownHostsFile = (config_ / "known_hosts").string();
        std::ofstream(connection_.knownHostsFile) << trustedHostLine();
    } else {
        const bool tls = GetParam() == Protocol::FtpTls;
        connection_.port = (tls ? ftpServer() : plainFtpServer()).port();
        connection_.user = FtpServer::user();
        connection_.password = FtpServer::password();
        if (tls) connection_.extraAuthority = testAuthority().authority.string();
    }
}

fs::path PublishTest::serverFolder() const {
    switch (GetParam()) {
        case Protocol::Sftp:
            return sshServer().home() / connection_.folder;
        case Protocol::FtpTls:
            return ftpServer().root() / connection_.folder;
        case Protocol::Ftp:
            break;
    }
    return plainFtpServer().root() / connection_.folder;
}

Published PublishTest::publishSite(bool sendEverything) {
    Record record = Record::load((config_ / "record").string());
    return publish(connection_, filesOf(site_), record, sendEverything, progress_);
}

std::string PublishTest::trustedHostLine() {
    return "[127.0.0.1]:* " + sshServer().hostKeyType() + " " + sshServer().hostKey() + "\n";
}

}  // namespace velmora::publish::testing
