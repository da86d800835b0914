// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Publishing over SFTP against OpenSSH's own client, side by side, to a sshd
// on loopback that the benchmark starts: a page with 200 pictures of 100 KB
// goes up through Velmora's publish and through `sftp -b` with a batch that
// puts each file under a temporary name and renames it, directly and through
// a line that adds 30 ms to each round trip. Goals: Velmora within 1.5 times
// sftp's time on both lines; a publish with nothing changed under 1 s on
// loopback; the memory of a publish flat with the file's size (a 10 MB and a
// 200 MB file, each publish in a child process of its own).
//
//   build/bench/publish_bench [REPETITIONS] [--loopback]
//
// --loopback leaves out the line with the delay, which takes a minute a run.
// Exits 1 when a goal is missed. Times are wall-clock seconds, the median of
// the repetitions, Velmora and sftp taking turns.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "LineProxy.h"
#include "Servers.h"
#include "Site.h"
#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "publish/PageFiles.h"
#include "publish/Publisher.h"
#include "publish/Record.h"

namespace {

using namespace velmora::publish;
using namespace velmora::publish::testing;
using Clock = std::chrono::steady_clock;

constexpr int kPictures = 200;
constexpr std::size_t kPictureBytes = std::size_t{100} * 1024;

double seconds(const std::function<void()>& f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The page and its pictures in `dir`.
void writeSite(const fs::path& dir) {
    velmora::PageSettings s;
    s.ListBox2.items.push_back("Start");
    s.ListBox5.items.push_back("index.html");
    Files files;
    for (int i = 0; i < kPictures; ++i) {
        const std::string name = "bilder/bild" + std::to_string(i) + ".jpg";
        s.ListBox3.items.push_back(name);
        s.ListBox6.items.push_back("Bild " + std::to_string(i));
        files[name] = randomBytes(kPictureBytes, static_cast<std::uint32_t>(i));
    }
    velmora::CodeList lines;
    velmora::writePage(s, lines);
    files["index.html"] = velmora::composeFileBytes(lines.lines());
    writeFiles(dir, files);
}

struct Bench {
    TempDir dir;
    fs::path site = dir.path() / "site";
    fs::path config = dir.path() / "config";
    SshServer ssh{(fs::create_directories(dir.path() / "ssh"), dir.path() / "ssh")};
    std::vector<LocalFile> files;
    std::string knownHosts = (config / "known_hosts").string();
    int round = 0;

    Bench() {
        fs::create_directories(config);
        writeSite(site);
        files = pageFiles((site / "index.html").string()).files;
        std::ofstream(knownHosts) << "[127.0.0.1]:* " << ssh.hostKeyType() << " " << ssh.hostKey()
                                  << "\n";
    }

    Connection connection(int port, const std::string& folder) const {
        Connection c;
        c.host = "127.0.0.1";
        c.port = port;
        c.user = ssh.user();
        c.keyFile = ssh.clientKey();
        c.knownHostsFile = knownHosts;
        c.folder = folder;
        return c;
    }

    // Velmora's publish into a fresh folder; its record stays for the next.
    double velmora(int port) {
        const Connection c = connection(port, "velmora" + std::to_string(++round));
        Record record((config / ("record" + std::to_string(round))).string());
        Progress progress;
        return seconds([&] { (void)publish(c, files, record, false, progress); });
    }

    // OpenSSH's client with the batch a careful user would write.
    double sftp(int port) {
        const std::string folder = "sftp" + std::to_string(++round);
        const fs::path batch = config / "batch";
        std::ofstream out(batch);
        out << "mkdir " << folder << "\nmkdir " << folder << "/bilder\n";
        for (const LocalFile& f : files) {
            const std::string remote = folder + "/" + f.relativePath;
            out << "put " << f.localPath << " " << remote << ".tmp\n"
                << "rename " << remote << ".tmp " << remote << "\n";
        }
        out.close();
        return seconds([&] {
            (void)run({"sftp", "-q", "-b", batch.string(), "-i", ssh.clientKey(), "-P",
                       std::to_string(port), "-o", "UserKnownHostsFile=" + knownHosts, "-o",
                       "StrictHostKeyChecking=yes", "-o", "BatchMode=yes",
                       ssh.user() + "@127.0.0.1"});
        });
    }
};

// Peak memory (KiB) of a child process that publishes one file of `bytes`.
long publishPeakKiB(Bench& bench, std::size_t bytes) {
    const fs::path big = bench.dir.path() / ("gross" + std::to_string(bytes));
    {
        std::ofstream out(big, std::ios::binary);
        const std::string block = randomBytes(1 << 20, 3);
        for (std::size_t done = 0; done < bytes; done += block.size()) out << block;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        const Connection c = bench.connection(bench.ssh.port(), "gross" + std::to_string(bytes));
        Record record((bench.config / ("gross-record" + std::to_string(bytes))).string());
        Progress progress;
        (void)publish(c, {{"gross.bin", big.string()}}, record, false, progress);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::_Exit(static_cast<int>(usage.ru_maxrss / 1024));  // MiB fit an exit status
    }
    int status = 0;
    waitpid(pid, &status, 0);
    fs::remove(big);
    return WIFEXITED(status) ? WEXITSTATUS(status) * 1024L : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const bool delayedLine = argc <= 2 || std::string(argv[2]) != "--loopback";
    initializeTransfers();
    bool ok = true;
    {
        Bench bench;
        std::printf("%d pictures of %zu KB and the page over SFTP; median of %d\n", kPictures,
                    kPictureBytes / 1024, repetitions);
        std::printf("%-34s %9s %9s %7s\n", "line", "Velmora", "sftp -b", "ratio");
        for (const int delayMs : {0, 15}) {
            if (delayMs > 0 && !delayedLine) continue;
            LineProxy line(bench.ssh.port());
            line.delay(std::chrono::milliseconds(delayMs));
            const int port = delayMs == 0 ? bench.ssh.port() : line.port();
            std::vector<double> ours;
            std::vector<double> theirs;
            for (int r = 0; r < repetitions; ++r) {
                ours.push_back(bench.velmora(port));
                theirs.push_back(bench.sftp(port));
            }
            const double ratio = median(ours) / median(theirs);
            std::printf("%-34s %8.2fs %8.2fs %6.2fx\n",
                        delayMs == 0 ? "loopback" : "loopback + 30 ms per round trip", median(ours),
                        median(theirs), ratio);
            ok = ok && ratio <= 1.5;
        }
        // nothing changed: the record of the last loopback publish
        std::vector<double> unchanged;
        unchanged.reserve(static_cast<std::size_t>(repetitions));
        const Connection c = bench.connection(bench.ssh.port(), "unveraendert");
        Record record((bench.config / "unveraendert").string());
        Progress progress;
        (void)publish(c, bench.files, record, false, progress);
        for (int r = 0; r < repetitions; ++r) {
            unchanged.push_back(seconds([&] {
                if (!publish(c, bench.files, record, false, progress).sent.empty()) std::abort();
            }));
        }
        std::printf("%-34s %8.2fs   (goal under 1 s)\n", "nothing changed, loopback",
                    median(unchanged));
        ok = ok && median(unchanged) < 1.0;
        const long small = publishPeakKiB(bench, std::size_t{10} << 20);
        const long large = publishPeakKiB(bench, std::size_t{200} << 20);
        std::printf("%-34s %6ld MiB with 10 MB, %ld MiB with 200 MB\n", "peak memory of a publish",
                    small / 1024, large / 1024);
        ok = ok && small > 0 && large > 0 && large <= small + 8L * 1024;
    }
    finishTransfers();
    std::printf("%s\n", ok ? "all goals met" : "a goal was missed");
    return ok ? 0 : 1;
}
