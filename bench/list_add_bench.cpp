// Adding entries through the wizard's own add buttons, clicked as a user
// clicks them, with one pass of the event loop after every add: milliseconds
// per 500 adds, four times in a row, next to a bare list of the same size with
// uniform item sizes, measured in the same run. The cost of an add must not grow with the
// list (the fourth 500 within 1.3 times the first) and must stay within twice
// the bare list's.
//
//   build/bench/list_add_bench [REPETITIONS]
//
// Runs offscreen unless a platform is named; exits 1 when a goal is missed.
// The time is the process's CPU time, so that other programs on a busy
// machine do not count; Qt's helper threads for large fills are counted.
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
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
constexpr double kBareLimit = 2.0;

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

// A bare list of the size of the list it stands next to: the text lines' list
// is taller, and Qt fills areas of 96 pixel rows and more on several threads.
Rounds bareList(QSize size) {
    QListWidget list;
    list.setUniformItemSizes(true);
    list.resize(size);
    list.show();
    (void)QTest::qWaitForWindowExposed(&list);
    return measure([&list] { list.addItem(QStringLiteral("Link")); });
}

// A fresh wizard on `page`, `button` clicked with the mouse for every add.
Rounds wizardList(QWidget* (*page)(const velmora::ui::TForm3&), const char* button,
                  const std::function<void(velmora::ui::TForm3&)>& prepare = {}) {
    velmora::ui::TForm3 wizard;
    wizard.FormCreate();
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

bool report(const char* name, const Rounds& ms, const Rounds& bare) {
    const double growth = ms.back() / ms.front();
    double worst = 0;
    for (std::size_t i = 0; i < ms.size(); ++i) worst = std::max(worst, ms[i] / bare[i]);
    std::printf("%-28s", name);
    for (const double round : ms) std::printf(" %8.1f", round);
    std::printf("   growth %.2fx   to its bare list %.2fx\n", growth, worst);
    return growth <= kGrowthLimit && worst <= kBareLimit;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    velmora::ui::Application app(argc, argv);

    // Each measurement is made several times over, in turns, and the median
    // of each round is kept: a busy machine slows single rounds at random.
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const QSize small(233, 73);  // "Link:" and "Bild:"
    const QSize tall(217, 121);  // the text lines
    std::array<std::vector<Rounds>, 5> runs;
    for (int r = 0; r < repetitions; ++r) {
        runs[0].push_back(bareList(small));
        runs[1].push_back(bareList(tall));
        runs[2].push_back(
            wizardList([](const auto& w) { return child(w, "TabSheet3"); }, "SpeedButton2"));
        runs[3].push_back(
            wizardList([](const auto& w) { return child(w, "TabSheet4"); }, "SpeedButton6"));
        runs[4].push_back(wizardList([](const auto& w) { return child(w, "TabSheet5"); },
                                     "SpeedButton3",
                                     [](velmora::ui::TForm3& w) {
                                         w.findChild<QLineEdit*>(QStringLiteral("Edit10"))
                                             ->setText(QStringLiteral("urlaub.jpg"));
                                     }));
    }
    const Rounds bareSmall = median(runs[0]);
    const Rounds bareTall = median(runs[1]);
    const Rounds links = median(runs[2]);
    const Rounds lines = median(runs[3]);
    const Rounds pictures = median(runs[4]);

    std::printf("CPU milliseconds per %d adds, one event pass after each add, median of %d\n",
                kAddsPerRound, repetitions);
    std::printf("%-28s", "");
    for (int r = 0; r < kRounds; ++r) {
        std::printf(" %4d-%-4d", r * kAddsPerRound + 1, (r + 1) * kAddsPerRound);
    }
    std::printf("\n");
    report("bare list 233 x 73", bareSmall, bareSmall);
    report("bare list 217 x 121", bareTall, bareTall);
    bool ok = report("links (Neuer Link)", links, bareSmall);
    ok = report("text lines (Zeilenumbruch)", lines, bareTall) && ok;
    ok = report("pictures (Neues Bild)", pictures, bareSmall) && ok;
    std::printf("%s: growth within %.1fx, within %.1fx of the bare list\n", ok ? "met" : "MISSED",
                kGrowthLimit, kBareLimit);
    return ok ? 0 : 1;
}
