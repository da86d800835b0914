// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Opening a page in the wizard as a user does, from the file to every
// control showing it and the wizard drawn ("HTML Code" with all its rows
// included): a typical
// page (10 links, 20 text lines, 5 pictures) must open in under 5 ms, the
// longest page there is (a million lines, the spacing count at its bound)
// in under 2 s, the whole program under 1 GiB. The reading alone is shown
// beside it. Then each page as `Velmora PAGE` and a finish at once, in a
// process of its own from its start: the longest may cost at most 1 s more
// than the typical one, and its process's peak at most 200 MiB.
//
//   build/bench/open_bench [REPETITIONS]
//   build/bench/open_bench --finish PAGE   # one such process: "MS PEAK-KiB"
//
// Exits 1 when a goal is missed. CTest runs it offscreen; by hand, name a
// platform (QT_QPA_PLATFORM=offscreen) where there is no display.
// Times are wall-clock milliseconds, the median of the repetitions.
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "ui/Application.h"
#include "ui/TForm3.h"
#include "wizard/PageFile.h"

namespace {

velmora::PageSettings typicalPage() {
    velmora::PageSettings s;
    s.CSS = true;
    for (int i = 0; i < 10; ++i) {
        s.ListBox2.items.push_back("Link Nummer " + std::to_string(i));
        s.ListBox5.items.push_back("seite" + std::to_string(i) + ".html");
    }
    for (int i = 0; i < 20; ++i)
        s.ListBox1.items.push_back("Eine Zeile Text mit Umlauten, äöü, Nummer " +
                                   std::to_string(i));
    for (int i = 0; i < 5; ++i) {
        s.ListBox3.items.push_back("bild" + std::to_string(i) + ".jpg");
        s.ListBox6.items.push_back("Bildtext " + std::to_string(i));
    }
    return s;
}

// One picture whose breaks fill the page to exactly the most lines it has.
velmora::PageSettings longestPage() {
    velmora::PageSettings s;
    s.ListBox3.items = {"bild.jpg"};
    s.ListBox6.items = {""};
    s.SpinEdit3.setValue(0);
    const auto base = static_cast<std::int32_t>(velmora::pageLineCount(s));
    s.SpinEdit3.setValue(static_cast<std::int32_t>(velmora::CodeList::kMaxLines) - base);
    return s;
}

void writeTo(const QString& path, const velmora::PageSettings& s) {
    velmora::CodeList lines;
    velmora::writePage(s, lines);
    std::ofstream(path.toStdString(), std::ios::binary) << velmora::composeFileBytes(lines.lines());
}

double median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

double timed(const std::function<void()>& f, int repetitions) {
    std::vector<double> ms;
    for (int r = 0; r < repetitions; ++r) {
        QElapsedTimer timer;
        timer.start();
        f();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return median(ms);
}

// Opened in a shown wizard, each time in a fresh one (made before the clock
// starts), and drawn.
double openInWizard(const QString& path, int repetitions) {
    std::vector<double> ms;
    for (int r = 0; r < repetitions; ++r) {
        velmora::ui::TForm3 wizard(QFileInfo(path).path());
        wizard.show();
        (void)QTest::qWaitForWindowExposed(&wizard);
        ms.push_back(timed(
            [&] {
                wizard.openPage(path, &wizard);
                QCoreApplication::processEvents();
            },
            1));
    }
    return median(ms);
}

long peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// This process's peak resident memory in KiB, since its start: unlike
// getrusage's, which keeps the peak of the program it was started from.
long peakKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) return std::atol(line.c_str() + 6);
    }
    return 0;
}

// The page opened as the command line opens it, drawn, and finished: the
// time from before the wizard exists to the page written, and the peak.
int finishOnce(const QString& path, const QElapsedTimer& sinceStart) {
    velmora::ui::TForm3 wizard(QFileInfo(path).path());
    wizard.openPage(path, &wizard);
    QCoreApplication::processEvents();
    if (!wizard.writePage()) return 1;
    QCoreApplication::processEvents();
    std::printf("%.2f %ld\n", static_cast<double>(sinceStart.nsecsElapsed()) / 1e6, peakKiB());
    return 0;
}

struct Finished {
    double ms = 0;
    long peakMiB = 0;
};

// The median time and the largest peak of `repetitions` processes.
Finished finishInProcesses(const QString& path, int repetitions) {
    std::vector<double> ms;
    Finished result;
    for (int r = 0; r < repetitions; ++r) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--finish"), path});
        if (!child.waitForFinished(120000) || child.exitCode() != 0) return {1e9, 1 << 20};
        const QStringList words = QString::fromLatin1(child.readAllStandardOutput()).split(' ');
        ms.push_back(words.value(0).toDouble());
        result.peakMiB = std::max(result.peakMiB, words.value(1).toLong() / 1024);
    }
    result.ms = median(ms);
    return result;
}

bool report(const char* what, double ms, double goal) {
    std::printf("%-34s %9.2f ms   goal %6.0f ms   %s\n", what, ms, goal,
                ms < goal ? "met" : "MISSED");
    return ms < goal;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    velmora::ui::Application app(argc, argv);
    if (argc == 3 && std::string_view(argv[1]) == "--finish")
        return finishOnce(QString::fromLocal8Bit(argv[2]), sinceStart);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    QTemporaryDir dir;
    const QString typical = dir.filePath(QStringLiteral("typisch.html"));
    const QString longest = dir.filePath(QStringLiteral("lang.html"));
    writeTo(typical, typicalPage());
    writeTo(longest, longestPage());
    const velmora::PageFile page(dir.path().toStdString());

    std::printf("wall-clock milliseconds, median of %d (the longest page: of 3)\n", repetitions);
    const double readTypical = timed([&] { (void)page.read(typical.toStdString()); }, repetitions);
    std::printf("%-34s %9.2f ms\n", "typical page, read", readTypical);
    bool ok = report("typical page, opened in the wizard", openInWizard(typical, repetitions), 5);
    const double readLongest = timed([&] { (void)page.read(longest.toStdString()); }, 3);
    std::printf("%-34s %9.2f ms\n", "1,000,000 lines, read", readLongest);
    ok = report("1,000,000 lines, opened in the wizard", openInWizard(longest, 3), 2000) && ok;
    const Finished small = finishInProcesses(typical, 5);
    const Finished large = finishInProcesses(longest, 5);
    std::printf("%-34s %9.2f ms   peak %4ld MiB\n", "typical page, opened and finished", small.ms,
                small.peakMiB);
    std::printf("%-34s %9.2f ms   peak %4ld MiB\n", "1,000,000 lines, opened and finished",
                large.ms, large.peakMiB);
    ok = report("1,000,000 lines, finish: more", large.ms - small.ms, 1000) && ok;
    std::printf("%-34s %9ld MiB   goal    200 MiB   %s\n", "1,000,000 lines, finish: peak",
                large.peakMiB, large.peakMiB <= 200 ? "met" : "MISSED");
    ok = ok && large.peakMiB <= 200;
    const long peak = peakMiB();
    std::printf("%-34s %9ld MiB   goal   1024 MiB   %s\n", "peak memory", peak,
                peak < 1024 ? "met" : "MISSED");
    return ok && peak < 1024 ? 0 : 1;
}
