// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whether a private key is kept under a passphrase, for keys that ssh-keygen
// makes here in OpenSSH's own format and as PEM, and for names that hold no
// key to read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Servers.h"
#include "publish/KeyFile.h"

namespace velmora::publish::testing {
namespace {

TEST(KeyFile, NeedsPassphrase) {
    const TempDir dir;
    struct Row {
        const char* name;
        std::vector<std::string> keygen;  // ssh-keygen's options; none: no file is made
        bool needsPassphrase;
    };
    const std::vector<Row> rows = {
        {"openssh", {"-t", "ed25519", "-N", ""}, false},
        {"openssh-cipher", {"-t", "ed25519", "-N", "Geheim 1"}, true},
        {"pem", {"-t", "ecdsa", "-m", "PEM", "-N", ""}, false},
        {"pem-encrypted", {"-t", "ecdsa", "-m", "PEM", "-N", "Geheim 1"}, true},
        {"missing", {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = (dir.path() / row.name).string();
        if (!row.keygen.empty()) {
            std::vector<std::string> argv{"ssh-keygen", "-q", "-f", file};
            argv.insert(argv.end(), row.keygen.begin(), row.keygen.end());
            run(argv);
        }
        EXPECT_EQ(keyNeedsPassphrase(file), row.needsPassphrase);
    }
    EXPECT_FALSE(keyNeedsPassphrase(dir.path().string()));  // a folder
}

}  // namespace
}  // namespace velmora::publish::testing
