// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program on a desktop session, started as app/main.cpp starts it: the
// display check, the application object, both windows, the start window
// shown and the event loop, on the platform Qt chooses by itself. From the
// loop it does what a user does, "Start" and then the finish, and checks the
// platform Qt took, both windows shown at their sizes and the wizard hidden
// by the finish. The page stays in the working directory for the caller.
//
//   desktop_session PLATFORM    e.g. "wayland"; exit status 0 when all held
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cstdio>

#include "ui/Application.h"

namespace {

using velmora::ui::Shell;

// Every window step must be done well within the caller's own time limit.
constexpr int kStepMs = 15000;

bool fail(const QString& what) {
    std::fprintf(stderr, "FAIL: %s\n", qPrintable(what));
    return false;
}

QString sizeText(QSize s) { return QStringLiteral("%1×%2").arg(s.width()).arg(s.height()); }

// Shown by the compositor, and as large as the program made it, both as the
// widget and as the platform window sees it.
bool shownAtSize(QWidget& window, QSize size) {
    const QString name = window.objectName();
    if (!QTest::qWaitForWindowExposed(&window, kStepMs))
        return fail(name + QStringLiteral(" was not shown"));
    const QSize platform = window.windowHandle()->geometry().size();
    if (window.size() != size || platform != size)
        return fail(QStringLiteral("%1 is %2 (platform window %3), not %4")
                        .arg(name, sizeText(window.size()), sizeText(platform), sizeText(size)));
    std::printf("%s shown at %s\n", qPrintable(name), qPrintable(sizeText(size)));
    return true;
}

bool click(QWidget& window, const char* button) {
    auto* b = window.findChild<QToolButton*>(QLatin1String(button));
    if (b == nullptr) return fail(QStringLiteral("no %1 in %2").arg(button, window.objectName()));
    QTest::mouseClick(b, Qt::LeftButton);
    return true;
}

bool userSession(Shell& shell, const QString& platform) {
    const QString chosen = QGuiApplication::platformName();
    if (chosen != platform)
        return fail(
            QStringLiteral("Qt runs on the platform \"%1\", not \"%2\"").arg(chosen, platform));
    std::printf("platform: %s\n", qPrintable(chosen));
    if (!shownAtSize(shell.Form1, {377, 171}) || !click(shell.Form1, "SpeedButton2")) return false;
    if (!shownAtSize(shell.Form3, {763, 433}) || !click(shell.Form3, "SpeedButton9")) return false;
    if (!QTest::qWaitFor([&] { return !shell.Form3.isVisible(); }, kStepMs))
        return fail(QStringLiteral("the finish did not hide the wizard"));
    const QFileInfo page(QDir(shell.Form3.pageFolder()), QStringLiteral("index.html"));
    if (!page.exists()) return fail(QStringLiteral("the finish wrote no index.html"));
    std::printf("page written: %lld bytes\n", static_cast<long long>(page.size()));
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: desktop_session PLATFORM\n", stderr);
        return 2;
    }
    const QString platform = QString::fromLocal8Bit(argv[1]);
    if (!velmora::ui::displayAvailable(argc, argv)) {
        std::fputs("FAIL: the program finds no display\n", stderr);
        return 1;
    }
    velmora::ui::Application app(argc, argv);
    Shell shell(velmora::ui::startFolder());
    shell.Form1.show();
    QTimer::singleShot(0, &app, [&] { QApplication::exit(userSession(shell, platform) ? 0 : 1); });
    return QApplication::exec();
}
