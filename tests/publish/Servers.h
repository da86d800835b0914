// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Real servers on loopback for the publishing tests, started by the tests
// themselves: OpenSSH's sshd (key login) for SFTP and vsftpd with explicit
// TLS, whose certificate comes from an authority only the test trusts. Both
// run as an unprivileged user: the test's own, or nobody when the test runs
// as root, because root passes every permission check and a folder without
// write permission would not refuse it.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora::publish::testing {

namespace fs = std::filesystem;

/// A fresh folder under the system's temporary folder, removed with all it
/// holds. When the servers run as another user, it is theirs.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    [[nodiscard]] const fs::path& path() const noexcept { return path_; }

private:
    fs::path path_;
};

/// Whether the test runs as root.
[[nodiscard]] bool isRoot();

/// Gives `path` (and, for a folder, what it holds) to the servers' user.
void giveToServers(const fs::path& path);

/// Runs a program to its end, with nothing on its input, and returns what it
/// printed; a failure throws with its output. `asServers`: as the servers'
/// user.
std::string run(const std::vector<std::string>& argv, bool asServers = false);

/// A port on 127.0.0.1 that nothing listens on now.
[[nodiscard]] int freePort();

/// A server process in a process group of its own, ended with the group.
class Server {
public:
    Server(const std::vector<std::string>& argv, const fs::path& workdir, const fs::path& log,
           int port);
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server();

private:
    pid_t pid_ = -1;
};

/// OpenSSH's sshd on 127.0.0.1, logging in one user with a key; its SFTP
/// starts in home().
class SshServer {
public:
    explicit SshServer(const fs::path& dir);
    [[nodiscard]] int port() const noexcept { return port_; }
    [[nodiscard]] const fs::path& home() const noexcept { return home_; }
    [[nodiscard]] const std::string& user() const noexcept { return user_; }
    /// The private key that logs in.
    [[nodiscard]] std::string clientKey() const { return (dir_ / "client_key").string(); }
    /// The host key's type and base64, as in a known-hosts line.
    [[nodiscard]] const std::string& hostKeyType() const noexcept { return hostKeyType_; }
    [[nodiscard]] const std::string& hostKey() const noexcept { return hostKey_; }
    /// As `ssh-keygen -l -E sha256` prints it.
    [[nodiscard]] const std::string& fingerprint() const noexcept { return fingerprint_; }
    /// Lets the key at `publicKeyFile` log in too.
    void authorize(const fs::path& publicKeyFile) const;

private:
    fs::path dir_;
    fs::path home_;
    std::string user_;
    int port_ = 0;
    std::string hostKeyType_;
    std::string hostKey_;
    std::string fingerprint_;
    std::optional<Server> process_;
};

/// A certificate authority of the test's own and a server certificate it
/// signed for localhost and 127.0.0.1.
struct TestAuthority {
    explicit TestAuthority(const fs::path& dir);
    fs::path authority;  // the authority's certificate
    fs::path certificate;
    fs::path key;
};

/// vsftpd on 127.0.0.1, with explicit TLS required for login and data when
/// given an authority's certificate, else plain. It serves root() to the
/// user "anonymous", whose password must be password().
class FtpServer {
public:
    FtpServer(const fs::path& dir, const TestAuthority* authority);
    [[nodiscard]] int port() const noexcept { return port_; }
    [[nodiscard]] const fs::path& root() const noexcept { return root_; }
    [[nodiscard]] static std::string user() { return "anonymous"; }
    [[nodiscard]] static std::string password() { return "Geheim-4711"; }

private:
    fs::path root_;
    int port_ = 0;
    std::optional<Server> process_;
};

}  // namespace velmora::publish::testing
