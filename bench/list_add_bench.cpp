// Adding entries through the wizard's own add buttons, clicked as a user
// clicks them, with one pass of the event loop after every add: milliseconds
// per 500 adds, four times in a row, next to a bare list with uniform item
// sizes measured in the same run. The cost of an add must not grow with the
// list (the fourth 500 within 1.3 times the first) and must stay within twice
// the bare list's.
//
//   build/bench/list_add_bench
//
// Runs offscreen unless a platform is named; exits 1 when a goal is missed.
// The time is the thread's CPU time, so that other work on a busy machine
// does not count; everything the window does runs on this thread.
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <functional>

#include "ui/Application.h"
#include "ui/TForm3.h"

namespace {

constexpr int kAddsPerRound = 500;
constexpr int kRounds = 4;
constexpr double kGrowthLimit = 1.3;
constexpr double kBareLimit = 2.0;

using Rounds = std::array<double, kRounds>;

double threadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

Rounds measure(const std::function<void()>& add) {
    Rounds ms{};
    for (double& round : ms) {
        const double start = threadMilliseconds();
        for (int i = 0; i < kAddsPerRound; ++i) {
            add();
            QCoreApplication::processEvents();
        }
        round = threadMilliseconds() - start;
    }
    return ms;
}

Rounds bareList() {
    QListWidget list;
    list.setUniformItemSizes(true);
    list.resize(233, 73);
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
    std::printf("   growth %.2fx   to bare list %.2fx\n", growth, worst);
    return growth <= kGrowthLimit && worst <= kBareLimit;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    velmora::ui::Application app(argc, argv);

    const Rounds bare = bareList();
    const Rounds links =
        wizardList([](const auto& w) { return child(w, "TabSheet3"); }, "SpeedButton2");
    const Rounds lines =
        wizardList([](const auto& w) { return child(w, "TabSheet4"); }, "SpeedButton6");
    const Rounds pictures =
        wizardList([](const auto& w) { return child(w, "TabSheet5"); }, "SpeedButton3",
                   [](velmora::ui::TForm3& w) {
                       w.findChild<QLineEdit*>(QStringLiteral("Edit10"))
                           ->setText(QStringLiteral("urlaub.jpg"));
                   });

    std::printf("CPU milliseconds per %d adds, one event pass after each add\n", kAddsPerRound);
    std::printf("%-28s", "");
    for (int r = 0; r < kRounds; ++r) {
        std::printf(" %4d-%-4d", r * kAddsPerRound + 1, (r + 1) * kAddsPerRound);
    }
    std::printf("\n");
    report("bare list, uniform sizes", bare, bare);
    bool ok = report("links (Neuer Link)", links, bare);
    ok = report("text lines (Zeilenumbruch)", lines, bare) && ok;
    ok = report("pictures (Neues Bild)", pictures, bare) && ok;
    std::printf("%s: growth within %.1fx, within %.1fx of the bare list\n", ok ? "met" : "MISSED",
                kGrowthLimit, kBareLimit);
    return ok ? 0 : 1;
}
