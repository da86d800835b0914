// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Moving, changing and undoing in the core alone, on a list of 2,000 links:
// microseconds per operation of the first and the last 100 of 2,000 moves
// (a link chosen at random, then Alt+Up or Alt+Down), of the 2,000 undos of
// those moves, and of 2,000 changes in place. Each is recorded in the
// history, which grows to 2,000 steps and back. The cost of an operation must
// not grow with the list or the history: the last 100 within 1.5 times the
// first.
//
//   build/bench/history_bench [REPETITIONS]
//
// The history's steps take memory that is new to the process at first, and
// the kernel's first touch of each new page (one for every 20 steps or so)
// counts as the process's time: the moves after the 500th pay it, the first
// 100 live in memory the process had touched already. That cost belongs to
// the memory, not to the length of anything, so it is shown apart ("new
// memory") and the goal holds for runs in memory the allocator keeps.
//
// Exits 1 when a goal is missed. The time is the process's CPU time, so that
// other programs on a busy machine do not count.
#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "wizard/Editing.h"
#include "wizard/History.h"
#include "wizard/Lists.h"

namespace {

using velmora::PageSettings;

constexpr int kLinks = 2000;
constexpr int kOperations = 2000;
constexpr int kBlock = 100;
constexpr double kGrowthLimit = 1.5;

const velmora::ListField& links = velmora::kLinks;

double cpuMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Microseconds per operation of the first and of the last block.
struct Ends {
    double first = 0;
    double last = 0;
};

Ends timed(const std::function<void(int)>& operation) {
    Ends ends;
    for (int block = 0; block < kOperations / kBlock; ++block) {
        const double start = cpuMicroseconds();
        for (int i = block * kBlock; i < (block + 1) * kBlock; ++i) operation(i);
        const double perOperation = (cpuMicroseconds() - start) / kBlock;
        if (block == 0) ends.first = perOperation;
        ends.last = perOperation;
    }
    return ends;
}

PageSettings twoThousandLinks() {
    PageSettings s;
    for (int i = 0; i < kLinks; ++i) {
        s.ListBox2.items.push_back("Link " + std::to_string(i));
        s.ListBox5.items.push_back("seite" + std::to_string(i) + ".html");
    }
    return s;
}

struct Run {
    Ends moves;
    Ends undos;
    Ends changes;
};

Run measure(unsigned seed) {
    std::mt19937 random(seed);
    std::vector<int> chosen(kOperations);
    for (int& c : chosen) c = std::uniform_int_distribution<int>(1, kLinks - 2)(random);
    std::vector<velmora::Entry> entries(kOperations);
    for (int i = 0; i < kOperations; ++i) {
        entries[static_cast<std::size_t>(i)] = {"Neu " + std::to_string(i),
                                                "neu" + std::to_string(i) + ".html"};
    }

    Run run;
    PageSettings s = twoThousandLinks();
    velmora::History history;
    run.moves = timed([&](int i) {
        s.ListBox2.selected = chosen[static_cast<std::size_t>(i)];
        history.run(s, [by = i % 2 == 0 ? 1 : -1](PageSettings& t) {
            return velmora::moveSelected(t, links, by);
        });
    });
    run.undos = timed([&](int) { history.undo(s); });
    run.changes = timed([&](int i) {
        s.ListBox2.selected = chosen[static_cast<std::size_t>(i)];
        history.run(s, [&entries, i](PageSettings& t) {
            return velmora::changeSelected(t, links,
                                           std::move(entries[static_cast<std::size_t>(i)]));
        });
    });
    if (history.canRedo() || s.ListBox2.count() != kLinks) std::abort();
    return run;
}

Ends median(std::vector<Ends> runs) {
    const auto middle = [&runs](auto end) {
        std::vector<double> times;
        times.reserve(runs.size());
        for (const Ends& e : runs) times.push_back(e.*end);
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    return {middle(&Ends::first), middle(&Ends::last)};
}

bool report(const char* name, const Ends& ends) {
    const double growth = ends.last / ends.first;
    std::printf("%-24s %10.3f %10.3f   growth %.2fx\n", name, ends.first, ends.last, growth);
    return growth <= kGrowthLimit;
}

std::array<Ends, 3> medianOf(int repetitions) {
    std::array<std::vector<Ends>, 3> runs;
    for (int r = 0; r < repetitions; ++r) {
        const Run run = measure(static_cast<unsigned>(r));
        runs[0].push_back(run.moves);
        runs[1].push_back(run.undos);
        runs[2].push_back(run.changes);
    }
    return {median(runs[0]), median(runs[1]), median(runs[2])};
}

bool reportAll(const char* memory, const std::array<Ends, 3>& ends) {
    std::printf("%s\n", memory);
    bool ok = report("  moves (Alt+Up/Down)", ends[0]);
    ok = report("  undos of the moves", ends[1]) && ok;
    return report("  changes in place", ends[2]) && ok;
}

}  // namespace

int main(int argc, char** argv) {
    // Each measurement is made several times over and the median of each
    // block is kept: a busy machine slows single blocks at random.
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 51;
    std::printf("CPU microseconds per operation on %d links, median of %d\n", kLinks, repetitions);
    std::printf("%-24s %10s %10s\n", "", "first 100", "last 100");

    // By default the allocator gives a history this long back to the system
    // when it goes, and each repetition gets new memory.
    const std::array<Ends, 3> fresh = medianOf(repetitions);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    static_cast<void>(measure(0));  // touches the memory the runs then reuse
    const std::array<Ends, 3> kept = medianOf(repetitions);

    static_cast<void>(reportAll("new memory (not a goal)", fresh));
    const bool ok = reportAll("memory kept", kept);
    std::printf("%s: growth within %.1fx\n", ok ? "met" : "MISSED", kGrowthLimit);
    return ok ? 0 : 1;
}
