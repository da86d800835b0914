// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace velmora::publish::testing {
namespace {

constexpr uid_t kNobody = 65534;

struct ServerUser {
    uid_t uid;
    gid_t gid;
    std::string name;
};

ServerUser serverUser() {
    const uid_t uid = isRoot() ? kNobody : getuid();
    const passwd* entry = getpwuid(uid);
    if (entry == nullptr) throw std::runtime_error("no user " + std::to_string(uid));
    return {uid, entry->pw_gid, entry->pw_name};
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// Waits until the server takes connections on `port`.
void waitForPort(int port, const fs::path& log) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool up = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(s);
        if (up) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    throw std::runtime_error("server on port " + std::to_string(port) +
                             " did not start: " + readText(log));
}

}  // namespace

bool isRoot() { return geteuid() == 0; }

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "velmora-publish-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    fs::permissions(path_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
}

TempDir::~TempDir() {
    std::error_code ignored;
    // a folder a test made read-only is emptied too
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, ignored);
}

void giveToServers(const fs::path& path) {
    if (!isRoot()) return;
    const ServerUser user = serverUser();
    const auto give = [&user](const fs::path& p) {
        if (lchown(p.c_str(), user.uid, user.gid) != 0) {
            throw std::runtime_error("chown " + p.string() + " failed");
        }
    };
    give(path);
    if (fs::is_directory(path)) {
        for (const auto& entry : fs::recursive_directory_iterator(path)) give(entry.path());
    }
}

std::string run(const std::vector<std::string>& argv, bool asServers) {
    const ServerUser user = serverUser();
    const bool drop = asServers && isRoot();
    std::array<int, 2> pipe{};
    if (pipe2(pipe.data(), O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipe[1], 1);
        dup2(pipe[1], 2);
        const int none = open("/dev/null", O_RDONLY);
        dup2(none, 0);
        if (drop &&
            (setgroups(0, nullptr) != 0 || setgid(user.gid) != 0 || setuid(user.uid) != 0)) {
            _exit(125);
        }
        execvp(args[0], args.data());
        _exit(127);
    }
    close(pipe[1]);
    std::string out;
    std::array<char, 4096> buffer{};
    for (ssize_t n; (n = read(pipe[0], buffer.data(), buffer.size())) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        out.append(buffer.data(), static_cast<std::size_t>(n));
    }
    close(pipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(argv[0] + " failed: " + out);
    }
    return out;
}

int freePort() {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(s);
        throw std::runtime_error("no free port");
    }
    close(s);
    return ntohs(address.sin_port);
}

Server::Server(const std::vector<std::string>& argv, const fs::path& workdir, const fs::path& log,
               int port) {
    const ServerUser user = serverUser();
    const bool drop = isRoot();
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        dup2(out, 1);
        dup2(out, 2);
        const int none = open("/dev/null", O_RDONLY);
        dup2(none, 0);
        if (chdir(workdir.c_str()) != 0) _exit(126);
        if (drop &&
            (setgroups(0, nullptr) != 0 || setgid(user.gid) != 0 || setuid(user.uid) != 0)) {
            _exit(125);
        }
        // A test that dies takes its server along (set after the change of
        // user, which clears it).
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(124);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out);
    if (pid_ < 0) throw std::runtime_error("fork failed");
    try {
        waitForPort(port, log);
    } catch (...) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        throw;
    }
}

Server::~Server() {
    kill(-pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

SshServer::SshServer(const fs::path& dir)
    : dir_(dir), home_(dir / "home"), user_(serverUser().name) {
    fs::create_directories(home_);
    run({"ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", (dir / "host_key").string()});
    run({"ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", clientKey()});
    fs::copy_file(dir / "client_key.pub", dir / "authorized_keys");
    std::istringstream publicKey(readText(dir / "host_key.pub"));
    publicKey >> hostKeyType_ >> hostKey_;
    std::istringstream listed(
        run({"ssh-keygen", "-l", "-E", "sha256", "-f", (dir / "host_key.pub").string()}));
    std::string bits;
    listed >> bits >> fingerprint_;
    port_ = freePort();
    const std::string sftp = "internal-sftp -d " + home_.string();
    std::string config = "Port " + std::to_string(port_) +
                         "\nListenAddress 127.0.0.1\n"
                         "HostKey " +
                         (dir / "host_key").string() + "\nAuthorizedKeysFile " +
                         (dir / "authorized_keys").string() + "\nPidFile " +
                         (dir / "sshd.pid").string() +
                         // nobody's account counts as locked without PAM
                         "\nUsePAM " + (isRoot() ? "yes" : "no") +
                         "\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                         "PrintMotd no\n"
                         "StrictModes no\nLogLevel ERROR\nMaxStartups 100\n"
                         "Subsystem sftp " +
                         sftp + "\nForceCommand " + sftp + "\n";
    writeText(dir / "sshd_config", config);
    // OpenSSH 9.8 and later hold back a client that drops its connections,
    // which is what the cut tests do hundreds of times.
    const std::string penalties = "PerSourcePenalties no\n";
    writeText(dir / "probe_config", config + penalties);
    giveToServers(dir);
    bool knowsPenalties = true;
    try {
        run({"/usr/sbin/sshd", "-t", "-f", (dir / "probe_config").string()}, true);
    } catch (const std::runtime_error&) {
        knowsPenalties = false;  // an older sshd
    }
    if (knowsPenalties) {
        writeText(dir / "sshd_config", config + penalties);
        giveToServers(dir / "sshd_config");
    }
    const passwd* account = getpwnam(user_.c_str());
    if (account == nullptr || access(account->pw_shell, X_OK) != 0) {
        throw std::runtime_error("sshd refuses " + user_ + ": its shell " +
                                 (account ? account->pw_shell : "?") + " is missing");
    }
    fs::permissions(dir / "client_key", fs::perms::owner_read | fs::perms::owner_write);
    if (isRoot()) {
        // the client's key stays the test's own
        if (chown(clientKey().c_str(), 0, 0) != 0) throw std::runtime_error("chown failed");
    }
    process_.emplace(std::vector<std::string>{"/usr/sbin/sshd", "-D", "-e", "-f",
                                              (dir / "sshd_config").string()},
                     dir, dir / "sshd.log", port_);
}

void SshServer::authorize(const fs::path& publicKeyFile) const {
    std::ofstream(dir_ / "authorized_keys", std::ios::app) << readText(publicKeyFile);
}

TestAuthority::TestAuthority(const fs::path& dir)
    : authority(dir / "authority.crt"), certificate(dir / "server.crt"), key(dir / "server.key") {
    const std::string ec = "ec:" + (dir / "curve.pem").string();
    run({"openssl", "ecparam", "-name", "prime256v1", "-out", (dir / "curve.pem").string()});
    run({"openssl", "req", "-x509", "-newkey", ec, "-nodes", "-keyout",
         (dir / "authority.key").string(), "-out", authority.string(), "-days", "30", "-subj",
         "/CN=Velmora Test Authority"});
    run({"openssl", "req", "-newkey", ec, "-nodes", "-keyout", key.string(), "-out",
         (dir / "server.csr").string(), "-subj", "/CN=localhost"});
    writeText(dir / "server.ext", "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
    run({"openssl", "x509", "-req", "-in", (dir / "server.csr").string(), "-CA", authority.string(),
         "-CAkey", (dir / "authority.key").string(), "-CAcreateserial", "-out",
         certificate.string(), "-days", "30", "-extfile", (dir / "server.ext").string()});
}

FtpServer::FtpServer(const fs::path& dir, const TestAuthority* authority) : root_(dir / "root") {
    fs::create_directories(root_);
    fs::create_directories(dir / "empty");
    port_ = freePort();
    writeText(dir / "passwords", password() + "\n");
    std::string config =
        "listen=YES\nlisten_address=127.0.0.1\nlisten_port=" + std::to_string(port_) +
        "\nbackground=NO\nrun_as_launching_user=YES\nseccomp_sandbox=NO\n"
        "anonymous_enable=YES\nlocal_enable=NO\nwrite_enable=YES\n"
        "anon_upload_enable=YES\nanon_mkdir_write_enable=YES\n"
        "anon_other_write_enable=YES\nanon_umask=022\n"
        "secure_email_list_enable=YES\nemail_password_file=" +
        (dir / "passwords").string() +
        "\npasv_address=127.0.0.1\nsecure_chroot_dir=" + (dir / "empty").string() +
        "\nxferlog_enable=NO\ndelay_failed_login=0\n";
    if (authority != nullptr) {
        config +=
            "ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_logins_ssl=YES\n"
            "force_anon_data_ssl=YES\nssl_ciphers=HIGH\nrsa_cert_file=" +
            authority->certificate.string() + "\nrsa_private_key_file=" + authority->key.string() +
            "\n";
        fs::permissions(authority->key, fs::perms::owner_read | fs::perms::owner_write);
        giveToServers(authority->certificate);
        giveToServers(authority->key);
    }
    writeText(dir / "vsftpd.conf", config);
    giveToServers(dir);
    // Without root vsftpd serves the folder it was started in.
    process_.emplace(std::vector<std::string>{"/usr/sbin/vsftpd", (dir / "vsftpd.conf").string()},
                     root_, dir / "vsftpd.log", port_);
}

}  // namespace velmora::publish::testing
