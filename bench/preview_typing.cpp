// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Typing in the wizard with the real preview beside it, offscreen: keys
// into the heading, from each key event to the first grab of the preview's
// view that shows the change.
//   - 200 keys, 10 a second: median at most 100 ms, slowest at most 300 ms;
//   - 200 keys, 50 a second: the last state shown within 300 ms of the last key;
//   - the wizard's longest pause in its event loop (a 1 ms timer's longest
//     gap) while it types, at most 50 ms, with a page of 45,000 lines too;
//   - the helper stopped (SIGSTOP) while 200 keys are typed into that page:
//     the wizard's pauses as before and its memory within 64 MiB of before.
// A grab travels the pipe and is written as BMP, so the figures hold its
// cost (a few milliseconds) too.
//
//   QT_QPA_PLATFORM=offscreen build/bench/preview_typing
//
// Exits 1 when a goal is missed.
#include <signal.h>

#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "generator/PageGenerator.h"
#include "test_wizard_support.h"
#include "ui/Application.h"
#include "ui/Preview.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") return status >> value ? value : 0;
        status.ignore(4096, '\n');
    }
    return 0;
}

// The longest gap between ticks of a 1 ms timer: how long the event loop
// was held.
class PauseMeter : public QObject {
public:
    PauseMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this,
                [this] { longest_ = std::max(longest_, clock_.restart()); });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        timer_.start(1);
    }
    qint64 longest() const { return longest_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

class Bench {
public:
    Bench() : shell_(dir_.filePath(QStringLiteral("seite"))) {
        // the default page's pictures, so that no picture is missing: a
        // browser's icon for one comes a frame after the rest
        const QDir folder(shell_.Form3.pageFolder());
        QDir().mkpath(folder.path());
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        for (const char* name :
             {"hintergrund.jpg", "bild.jpg", "eckbild.jpg", "dot.jpg", "lbg.jpg"})
            picture.save(folder.filePath(QString::fromLatin1(name)));
        QSignalSpy drawn(&shell_.preview, &Preview::drawn);
        shell_.Form1.show();
        if (!QTest::qWaitForWindowExposed(&shell_.Form1)) std::exit(2);
        control<QAbstractButton>(shell_.Form1, "SpeedButton2")->click();
        if (!QTest::qWaitForWindowExposed(&shell_.Form3)) std::exit(2);
        if (!shell_.preview.isOpen()) shell_.preview.toggle();
        clickTab(shell_.Form3, 1);
        heading_ = control<QLineEdit>(shell_.Form3, "Edit5");
        heading_->setFocus();
        if (drawn.isEmpty() && !drawn.wait(60000)) std::exit(2);
        QTest::qWait(1000);
    }

    Preview& preview() { return shell_.preview; }
    TForm3& wizard() { return shell_.Form3; }
    QLineEdit* heading() { return heading_; }

    QImage frame() {
        const QString file = dir_.filePath(QStringLiteral("grab.bmp"));
        QSignalSpy grabbed(&shell_.preview, &Preview::grabbed);
        shell_.preview.grab(file);
        return grabbed.wait(5000) ? QImage(file) : QImage();
    }
    // Milliseconds from `since` until a frame differs from `before`.
    qint64 untilChanged(const QImage& before, const QElapsedTimer& since) {
        while (since.elapsed() < 5000) {
            if (frame() != before) return since.elapsed();
        }
        return since.elapsed();
    }
    // a letter, then a Backspace: the heading stays short enough to show whole
    void key(int i) {
        if (i % 2 == 1)
            QTest::keyClick(heading_, Qt::Key_Backspace);
        else
            QTest::keyClick(heading_, static_cast<char>('a' + i / 2 % 26));
    }

private:
    QTemporaryDir dir_;
    Shell shell_;
    QLineEdit* heading_ = nullptr;
};

qint64 median(std::vector<qint64> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bench bench;
    PauseMeter pauses;
    bool met = true;

    pauses.start();
    std::vector<qint64> latencies;
    for (int i = 0; i < 200; ++i) {
        const QImage before = bench.frame();
        QElapsedTimer since;
        since.start();
        bench.key(i);
        latencies.push_back(bench.untilChanged(before, since));
        QTest::qWait(static_cast<int>(std::max<qint64>(0, 100 - since.elapsed())));
    }
    const qint64 slowest = *std::max_element(latencies.begin(), latencies.end());
    std::printf(
        "200 keys at 10/s: key to frame median %lld ms, slowest %lld ms; "
        "longest pause %lld ms\n",
        static_cast<long long>(median(latencies)), static_cast<long long>(slowest),
        static_cast<long long>(pauses.longest()));
    met = met && median(latencies) <= 100 && slowest <= 300 && pauses.longest() <= 50;

    pauses.start();
    QElapsedTimer sinceLast;
    for (int i = 0; i < 200; ++i) {
        bench.key(i);
        sinceLast.start();
        QTest::qWait(20);
    }
    const qint64 typingPause = pauses.longest();
    // the last state: the frame once nothing changes any more
    std::vector<std::pair<qint64, QImage>> frames;
    while (sinceLast.elapsed() < 1500) frames.emplace_back(sinceLast.elapsed(), bench.frame());
    const auto first = std::find_if(frames.begin(), frames.end(), [&](const auto& f) {
        return f.second == frames.back().second;
    });
    std::printf(
        "200 keys at 50/s: the last state shown %lld ms after the last key; "
        "longest pause %lld ms\n",
        static_cast<long long>(first->first), static_cast<long long>(typingPause));
    met = met && first->first <= 300 && typingPause <= 50;

    // a page of 45,000 lines: a picture with that many breaks after it
    clickTab(bench.wizard(), 4);
    typeInto(control<QLineEdit>(bench.wizard(), "Edit10"), QStringLiteral("bild.jpg"));
    control<QAbstractButton>(bench.wizard(), "SpeedButton3")->click();
    typeInto(control<QWidget>(bench.wizard(), "SpinEdit3"), QStringLiteral("45000"));
    QTest::qWait(3000);
    clickTab(bench.wizard(), 1);
    bench.heading()->setFocus();
    pauses.start();
    for (int i = 0; i < 50; ++i) {
        bench.key(i);
        QTest::qWait(100);
    }
    const auto lines =
        static_cast<unsigned long long>(velmora::pageLineCount(bench.wizard().settings()));
    std::printf("50 keys at 10/s on a page of %llu lines: longest pause %lld ms\n", lines,
                static_cast<long long>(pauses.longest()));
    met = met && lines > 45000;
    met = met && pauses.longest() <= 50;

    const auto helper = static_cast<pid_t>(bench.preview().helperId());
    const long before = residentKiB();
    ::kill(helper, SIGSTOP);
    pauses.start();
    for (int i = 0; i < 200; ++i) {
        bench.key(i);
        QTest::qWait(20);
    }
    const long grown = residentKiB() - before;
    std::printf(
        "helper stopped, 200 keys on that page: longest pause %lld ms, "
        "the wizard's memory %+ld KiB\n",
        static_cast<long long>(pauses.longest()), grown);
    ::kill(helper, SIGCONT);
    met = met && pauses.longest() <= 50 && grown <= 64L * 1024;
    return met ? 0 : 1;
}
