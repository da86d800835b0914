// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The servers a test process shares, started on first use, and a test's own
// site, configuration and folder on the server.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "LineProxy.h"
#include "Servers.h"
#include "Site.h"
#include "publish/Publisher.h"
#include "publish/Record.h"
#include "publish/Values.h"

namespace velmora::publish::testing {

[[nodiscard]] SshServer& sshServer();
[[nodiscard]] FtpServer& ftpServer();
[[nodiscard]] FtpServer& plainFtpServer();
[[nodiscard]] const TestAuthority& testAuthority();

/// Takes libcurl's global state up once and down at the process's end.
class TransfersEnvironment : public ::testing::Environment {
public:
    void SetUp() override { initializeTransfers(); }
    void TearDown() override { finishTransfers(); }
};

[[nodiscard]] std::string protocolName(const ::testing::TestParamInfo<Protocol>& info);

class PublishTest : public ::testing::TestWithParam<Protocol> {
protected:
    void SetUp() override;

    /// The folder this test publishes to, as the server holds it.
    [[nodiscard]] fs::path serverFolder() const;
    /// Writes the site's files, replacing the old ones.
    void writeSite(const Files& files) const { writeFiles(site_, files); }
    /// Publishes the site, with a record kept in the configuration folder.
    Published publishSite(bool sendEverything = false);
    /// The known-hosts line that trusts the test's sshd on any port.
    [[nodiscard]] static std::string trustedHostLine();

    TempDir local_;
    fs::path site_;
    fs::path config_;
    Connection connection_;
    Progress progress_;
};

}  // namespace velmora::publish::testing
