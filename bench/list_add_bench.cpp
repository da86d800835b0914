// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Adding entries through the wizard's own add buttons, clicked as a user
// clicks them, with one pass of the event loop after every add: milliseconds
// per 500 adds, four times in a row. The cost of an add must not grow with the
// list: the fourth 500 within 1.3 times the first.
//
//   build/bench/list_add_bench [REPETITIONS]
//
// Exits 1 when a goal is missed. CTest runs it offscreen; by hand, name a
// platform (QT_QPA_PLATFORM=offscreen) where there is no display.
// The time is the process's CPU time, so that other programs on a busy
// machine do not count; Qt's helper threads for large fills are counted.
#include <QCoreApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

#include "ui/Application.h"
#include "ui/TForm3.h"

namespace {

constexpr int kAddsPerRound = 500;
constexpr int kRounds = 4;
constexpr double kGrowthLimit = 1.3;

using Rounds = std::array<double, kRounds>;

double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

Rounds measure(const std::function<void()>& add) {
    Rounds ms{};
    for (double& round : ms) {
        const double start = cpuMilliseconds();
        for (int i = 0; i < kAddsPerRound; ++i) {
            add();
            QCoreApplication::processEvents();
        }
        round = cpuMilliseconds() - start;
    }
    return ms;
}

Rounds median(const std::vector<Rounds>& runs) {
    Rounds result{};
    for (std::size_t round = 0; round < result.size(); ++round) {
        std::vector<double> times;
        times.reserve(runs.size());
        for (const Rounds& run : runs) times.push_back(run[round]);
        std::sort(times.begin(), times.end());
        result[round] = times[times.size() / 2];
    }
    return result;
}

// A fresh wizard on `page`, `button` clicked with the mouse for every add.
Rounds wizardList(QWidget* (*page)(const velmora::ui::TForm3&), const char* button,
                  const std::function<void(velmora::ui::TForm3&)>& prepare = {}) {
    const QTemporaryDir folder;  // the page's, where nothing is written
    velmora::ui::TForm3 wizard(folder.path());
    wizard.show();
    (void)QTest::qWaitForWindowExposed(&wizard);
    auto* pages = wizard.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    pages->setCurrentWidget(page(wizard));
    if (prepare) prepare(wizard);
    auto* add = wizard.findChild<QToolButton*>(QString::fromLatin1(button));
    return measure([add] { QTest::mouseClick(add, Qt::LeftButton); });
}

QWidget* child(const velmora::ui::TForm3& w, const char* name) {
    return w.findChild<QWidget*>(QString::fromLatin1(name));
}

bool report(const char* name, const Rounds& ms) {
    const double growth = ms.back() / ms.front();
    std::printf("%-28s", name);
    for (const double round : ms) std::printf(" %8.1f", round);
    std::printf("   growth %.2fx\n", growth);
    return growth <= kGrowthLimit;
}

}  // namespace

int main(int argc, char** argv) {
    velmora::ui::Application app(argc, argv);

    // Each measurement is made several times over, in turns, and the median
    // of each round is kept: a busy machine slows single rounds at random.
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    std::array<std::vector<Rounds>, 3> runs;
    for (int r = 0; r < repetitions; ++r) {
        runs[0].push_back(
            wizardList([](const auto& w) { return child(w, "TabSheet3"); }, "SpeedButton2"));
        runs[1].push_back(
            wizardList([](const auto& w) { return child(w, "TabSheet4"); }, "SpeedButton6"));
        runs[2].push_back(wizardList([](const auto& w) { return child(w, "TabSheet5"); },
                                     "SpeedButton3",
                                     [](velmora::ui::TForm3& w) {
                                         w.findChild<QLineEdit*>(QStringLiteral("Edit10"))
                                             ->setText(QStringLiteral("urlaub.jpg"));
                                     }));
    }

    std::printf("CPU milliseconds per %d adds, one event pass after each add, median of %d\n",
                kAddsPerRound, repetitions);
    std::printf("%-28s", "");
    for (int r = 0; r < kRounds; ++r) {
        std::printf(" %4d-%-4d", r * kAddsPerRound + 1, (r + 1) * kAddsPerRound);
    }
    std::printf("\n");
    bool ok = report("links (Neuer Link)", median(runs[0]));
    ok = report("text lines (Zeilenumbruch)", median(runs[1])) && ok;
    ok = report("pictures (Neues Bild)", median(runs[2])) && ok;
    std::printf("%s: growth within %.1fx\n", ok ? "met" : "MISSED", kGrowthLimit);
    return ok ? 0 : 1;
}
