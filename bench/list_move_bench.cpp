// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Moving and undoing in the wizard window, on a page of 2,000 links opened in
// it: a link selected at random in "Link:", then Alt+Up or Alt+Down, 2,000
// times, then Strg+Z 2,000 times, each key sent to the list with one pass of
// the event loop after it, so that the window shows every change. CPU
// microseconds per operation of the first and of the last 100 of each 2,000.
// The cost of an operation must not grow with the history or with where in
// the list it lands: the last 100 within 1.5 times the first.
//
//   build/bench/list_move_bench [REPETITIONS]
//
// Exits 1 when a goal is missed. CTest runs it offscreen; by hand, name a
// platform (QT_QPA_PLATFORM=offscreen) where there is no display. The time is
// the process's CPU time, so that other programs on a busy machine do not
// count.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "ui/Application.h"
#include "ui/TForm3.h"

namespace {

constexpr int kLinks = 2000;
constexpr int kOperations = 2000;
constexpr int kBlock = 100;
constexpr double kGrowthLimit = 1.5;

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
        for (int i = block * kBlock; i < (block + 1) * kBlock; ++i) {
            operation(i);
            QCoreApplication::processEvents();
        }
        const double perOperation = (cpuMicroseconds() - start) / kBlock;
        if (block == 0) ends.first = perOperation;
        ends.last = perOperation;
    }
    return ends;
}

// A page of 2,000 links, as the finish writes it.
QString writeLinks(const QDir& folder) {
    velmora::PageSettings s;
    for (int i = 0; i < kLinks; ++i) {
        s.ListBox2.items.push_back("Link " + std::to_string(i));
        s.ListBox5.items.push_back("seite" + std::to_string(i) + ".html");
    }
    velmora::CodeList lines;
    velmora::writePage(s, lines);
    QFile file(folder.filePath(QStringLiteral("links.html")));
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    file.write(QByteArray::fromStdString(velmora::composeFileBytes(lines.lines())));
    return file.fileName();
}

struct Run {
    Ends moves;
    Ends undos;
};

Run measure(const QString& page, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<int> chosen(kOperations);
    for (int& c : chosen) c = std::uniform_int_distribution<int>(1, kLinks - 2)(random);

    velmora::ui::TForm3 wizard(QFileInfo(page).path());
    wizard.openPage(page, &wizard);
    (void)QTest::qWaitForWindowExposed(&wizard);
    auto* list = wizard.findChild<QListView*>(QStringLiteral("ListBox2"));
    if (list->model()->rowCount() != kLinks) std::abort();
    wizard.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
        ->setCurrentWidget(wizard.findChild<QWidget*>(QStringLiteral("TabSheet3")));
    list->setFocus();

    Run run;
    run.moves = timed([&](int i) {
        list->setCurrentIndex(list->model()->index(chosen[static_cast<std::size_t>(i)], 0));
        QTest::keyClick(list, i % 2 == 0 ? Qt::Key_Down : Qt::Key_Up, Qt::AltModifier);
    });
    run.undos = timed([&](int) { QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier); });
    // every move undone: the links stand as they were opened
    for (int i = 0; i < kLinks; ++i) {
        if (list->model()->index(i, 0).data().toString() != QStringLiteral("Link %1").arg(i))
            std::abort();
    }
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
    std::printf("%-24s %10.1f %10.1f   growth %.2fx\n", name, ends.first, ends.last, growth);
    return growth <= kGrowthLimit;
}

}  // namespace

int main(int argc, char** argv) {
    velmora::ui::Application app(argc, argv);
    QTemporaryDir folder;
    const QString page = writeLinks(QDir(folder.path()));

    // Each measurement is made several times over and the median of each
    // block is kept: a busy machine slows single blocks at random.
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::array<std::vector<Ends>, 2> runs;
    for (int r = 0; r < repetitions; ++r) {
        const Run run = measure(page, static_cast<unsigned>(r));
        runs[0].push_back(run.moves);
        runs[1].push_back(run.undos);
    }
    std::printf(
        "CPU microseconds per key on %d links in the wizard, one event pass after "
        "each, median of %d\n",
        kLinks, repetitions);
    std::printf("%-24s %10s %10s\n", "", "first 100", "last 100");
    bool ok = report("moves (Alt+Up/Down)", median(runs[0]));
    ok = report("undos (Strg+Z)", median(runs[1])) && ok;
    std::printf("%s: growth within %.1fx\n", ok ? "met" : "MISSED", kGrowthLimit);
    return ok ? 0 : 1;
}
