// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The copy of a phone's photo for the picture row (1200 px): a 12-million-
// pixel JPEG in at most 300 ms, a 48-million-pixel one in at most 800 ms,
// each with the process's peak at most 100 MiB above its level before; a
// 12-million-pixel HEIC in at most 1 s. A 48-million-pixel HEIC is measured
// too, without a goal: libheif decodes it whole. Each case runs in a process
// of its own, once to load what it needs, then once for its peak memory
// (VmHWM after clear_refs, less VmRSS before) and REPETITIONS times for its
// time, the median wall-clock milliseconds.
//
//   build/bench/pictures_bench [REPETITIONS [CASES]]
//
// CASES picks the cases whose name holds it ("HEIC", "48 MP").
// The photos are made first (heif-enc takes a while). Exits 1 when a goal
// is missed.
#include <sys/wait.h>
#include <unistd.h>

#include <QImageWriter>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Photos.h"
#include "pictures/Copy.h"

namespace {

namespace fs = std::filesystem;
using velmora::pictures::Made;
using velmora::pictures::Place;

struct Case {
    std::string name;
    bool heic = false;
    int width = 0;
    int height = 0;
    double maxMs = 0;     // 0: no goal
    long maxPeakKiB = 0;  // 0: no goal
    fs::path photo;
};

struct Measured {
    double ms = 0;
    long peakKiB = 0;
    long long bytes = 0;
    int width = 0, height = 0;
    bool done = false;
};

long statusKiB(const char* field) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
    }
    return -1;
}

Made copyOnce(const fs::path& photo, const fs::path& page) {
    fs::remove_all(page / "bilder");
    const std::atomic<bool> cancel{false};
    return velmora::pictures::makeCopy(photo.string(), page.string(), Place::PictureRow, cancel);
}

// In the child: warm up, the peak, then the times.
Measured measure(const Case& c, const fs::path& page, int repetitions) {
    Measured m;
    Made made = copyOnce(c.photo, page);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = statusKiB("VmRSS:");
    made = copyOnce(c.photo, page);
    m.peakKiB = statusKiB("VmHWM:") - before;
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        made = copyOnce(c.photo, page);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    m.ms = times[times.size() / 2];
    m.done = made.kind == Made::Kind::Done;
    m.bytes = static_cast<long long>(made.bytes);
    m.width = made.width;
    m.height = made.height;
    return m;
}

Measured inChild(const Case& c, const fs::path& page, int repetitions) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const Measured m = measure(c, page, repetitions);
        const ssize_t written = write(pipeEnds[1], &m, sizeof m);
        _exit(written == sizeof m ? 0 : 1);
    }
    close(pipeEnds[1]);
    Measured m;
    const ssize_t got = read(pipeEnds[0], &m, sizeof m);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got == sizeof m ? m : Measured{};
}

fs::path jpeg(const fs::path& folder, int width, int height, const std::string& name) {
    fs::path file = folder / name;
    QImageWriter writer(QString::fromStdString(file.string()));
    writer.setQuality(92);  // as phones save
    writer.write(velmora::pictures::test::viewedPattern(width, height));
    return file;
}

fs::path heic(const fs::path& folder, int width, int height, const std::string& name) {
    const fs::path png = folder / (name + ".png");
    velmora::pictures::test::viewedPattern(width, height)
        .save(QString::fromStdString(png.string()));
    fs::path file = folder / name;
    velmora::pictures::test::run("heif-enc -q 80 -o '" + file.string() + "' '" + png.string() +
                                 "' >/dev/null");
    fs::remove(png);
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path root = velmora::pictures::test::scratchFolder();
    const fs::path page = root / "seite";
    fs::create_directories(page);
    constexpr long kMiB = 1024;
    const std::string picked = argc > 2 ? argv[2] : "";
    std::vector<Case> cases = {
        {"JPEG 4032 x 3024 (12 MP)", false, 4032, 3024, 300, 100 * kMiB, {}},
        {"JPEG 8064 x 6048 (48 MP)", false, 8064, 6048, 800, 100 * kMiB, {}},
        {"HEIC 4032 x 3024 (12 MP)", true, 4032, 3024, 1000, 0, {}},
        {"HEIC 8064 x 6048 (48 MP)", true, 8064, 6048, 0, 0, {}},
    };
    std::erase_if(cases, [&](const Case& c) { return c.name.find(picked) == std::string::npos; });
    for (Case& c : cases) {
        const std::string file = std::to_string(c.width) + (c.heic ? ".heic" : ".jpg");
        c.photo =
            c.heic ? heic(root, c.width, c.height, file) : jpeg(root, c.width, c.height, file);
    }
    bool met = true;
    for (const Case& c : cases) {
        const Measured m = inChild(c, page, repetitions);
        const bool ok = m.done && (c.maxMs == 0 || m.ms <= c.maxMs) &&
                        (c.maxPeakKiB == 0 || m.peakKiB <= c.maxPeakKiB);
        met = met && ok;
        std::printf(
            "%-26s -> %d x %d: %lld of %lld bytes, %.0f ms (goal %s), peak +%ld MiB (goal %s) %s\n",
            c.name.c_str(), m.width, m.height, m.bytes,
            static_cast<long long>(fs::exists(c.photo) ? fs::file_size(c.photo) : 0), m.ms,
            c.maxMs == 0 ? "none" : (std::to_string(static_cast<int>(c.maxMs)) + " ms").c_str(),
            m.peakKiB / kMiB,
            c.maxPeakKiB == 0 ? "none" : (std::to_string(c.maxPeakKiB / kMiB) + " MiB").c_str(),
            ok ? "ok" : "MISSED");
    }
    fs::remove_all(root);
    return met ? 0 : 1;
}
