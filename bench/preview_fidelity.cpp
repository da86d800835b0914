// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The preview against headless Chromium over random pages, made as the
// reader's round trips make them: each page's file in Chromium at 800 × 600
// and the same bytes in the preview at "Fenster" with a view of 800 × 600;
// the pixels that differ by more than 5 %, the worst page named (kept with
// KEEP=1 in the folder it names). Both draw scroll bars, each of its own
// Chromium; a long page's thumb differs between them.
//
//   QT_QPA_PLATFORM=offscreen build/bench/preview_fidelity [PAGES]
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "RandomPage.h"
#include "Vorschau.h"
#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"

using velmora::preview::test::Helper;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 50;
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("KEEP"));
    velmora::RandomPage random(20261211);
    Helper helper;
    double worst = -1;
    int worstPage = 0;
    double sum = 0;
    for (int i = 1; i <= pages; ++i) {
        velmora::CodeList lines;
        velmora::writePage(random.next(), lines);
        const std::string bytes = velmora::composeFileBytes(lines.lines());
        const QString file = dir.filePath(QStringLiteral("seite%1.html").arg(i));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly)) return 2;
        out.write(bytes.data(), static_cast<qint64>(bytes.size()));
        out.close();
        const QString chromium = dir.filePath(QStringLiteral("chromium%1.png").arg(i));
        if (!velmora::preview::test::screenshot(file, chromium)) return 2;
        helper.page(static_cast<std::uint64_t>(i), dir.path(), QByteArray::fromStdString(bytes));
        if (!helper.next("drawn")) return 2;
        const QString shown = dir.filePath(QStringLiteral("vorschau%1.png").arg(i));
        if (velmora::preview::test::shownAt(helper, {800, 600}, shown).size() != QSize(800, 600))
            return 2;
        const double differing = velmora::preview::test::differingPixels(shown, chromium);
        sum += differing;
        if (differing > worst) worst = differing, worstPage = i;
    }
    std::printf(
        "%d random pages: %.0f of 480000 pixels differ on average; the worst, page %d, "
        "%.0f (%.2f %%)\n",
        pages, sum / pages, worstPage, worst, worst / 4800);
    return 0;
}
