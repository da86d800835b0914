// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The wizard's side of the preview, against a stand-in for the preview
// program (preview_standin) on a screen of 1920 × 1080: F12 opens and closes
// it, it opens by itself where there is room unless the user closed it, it
// follows every change with the newest page and never an older one after a
// newer, the wizard never waits for it, and a preview that ended is said so
// and comes back with F12.
#include <signal.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "test_wizard_support.h"
#include "ui/Application.h"
#include "ui/Preview.h"
#include "wizard/Preview.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bytesOf(const velmora::PageSettings& s) {
    velmora::CodeList lines;
    velmora::writePage(s, lines);
    return QByteArray::fromStdString(velmora::composeFileBytes(lines.lines()));
}

// Each line of the stand-in's log, and the sequence numbers of its pages.
QStringList logLines(const QString& log) {
    return QString::fromUtf8(readFile(log)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<qulonglong> pagesIn(const QStringList& lines) {
    QList<qulonglong> pages;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("page ")) || line.startsWith(QLatin1String("too-big ")))
            pages << line.section(QLatin1Char(' '), 1, 1).toULongLong();
    }
    return pages;
}

// The preview program's process, found by its parent: the wizard.
QList<qint64> standIns() {
    QList<qint64> found;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
        if (stat.contains("(preview_standin)") &&
            stat.split(' ').value(3).toLongLong() == QCoreApplication::applicationPid())
            found << pid.toLongLong();
    }
    return found;
}

}  // namespace

class WizardPreviewTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScratchDirectory> dir_;
    std::unique_ptr<Shell> shell_;
    QString log_;
    QString page_;

    TForm3& wizard() { return shell_->Form3; }
    QStringList log() const { return logLines(log_); }
    void pressF12(QWidget* window) { QTest::keyClick(window, Qt::Key_F12); }
    void start() {
        shell_->Form1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shell_->Form1));
        VELMORA_CLICK(control<QAbstractButton>(shell_->Form1, "SpeedButton2"));
        QVERIFY(QTest::qWaitForWindowActive(&wizard()));
    }
    // The page the stand-in was given last is the one the settings write.
    void verifyNewestShown() { QTRY_COMPARE(readFile(page_), bytesOf(wizard().settings())); }

private slots:
    void initTestCase() { Preview::useProgramFile(QStringLiteral(VELMORA_STANDIN)); }
    void init() {
        // a user who never closed the preview
        QFile::remove(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                          .filePath(QStringLiteral("velmora/vorschau.conf")));
        dir_ = std::make_unique<ScratchDirectory>();
        log_ = dir_->filePath(QStringLiteral("standin.log"));
        page_ = dir_->filePath(QStringLiteral("standin.page"));
        qputenv("VELMORA_STANDIN_LOG", QFile::encodeName(log_));
        qputenv("VELMORA_STANDIN_PAGE", QFile::encodeName(page_));
        qunsetenv("VELMORA_STANDIN_DRAW_MS");
        qunsetenv("VELMORA_STANDIN_KEEP");
        shell_ = std::make_unique<Shell>(dir_->filePath(QStringLiteral("seite")));
        QVERIFY(QDir().mkpath(wizard().pageFolder()));
    }
    void cleanup() {
        shell_.reset();
        QTRY_VERIFY(standIns().isEmpty());  // no preview outlives the wizard
        dir_.reset();
    }

    void placedBesideTheWizardNeverOverIt_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("wizard");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("place");  // (-1, -1): no room
        const QRect wide(0, 0, 1920, 1080);
        const QRect wizard(77, 66, 763, 460);
        QTest::newRow("right") << wide << wizard << QSize(640, 560) << QPoint(848, 66);
        QTest::newRow("right, raised to fit")
            << wide << QRect(77, 700, 763, 300) << QSize(640, 560) << QPoint(848, 520);
        QTest::newRow("left") << wide << QRect(1100, 66, 763, 460) << QSize(640, 560)
                              << QPoint(452, 66);
        QTest::newRow("below") << QRect(0, 0, 900, 1080) << wizard << QSize(640, 500)
                               << QPoint(77, 534);
        QTest::newRow("no room") << QRect(0, 0, 1024, 768) << wizard << QSize(640, 560)
                                 << QPoint(-1, -1);
        QTest::newRow("a second screen's area")
            << QRect(1920, 0, 1280, 1024) << QRect(2000, 100, 763, 460) << QSize(400, 400)
            << QPoint(2771, 100);
    }
    void placedBesideTheWizardNeverOverIt() {
        QFETCH(QRect, screen);
        QFETCH(QRect, wizard);
        QFETCH(QSize, size);
        QFETCH(QPoint, place);
        const std::optional<QPoint> at = placeBeside(wizard, size, screen);
        QCOMPARE(at.value_or(QPoint(-1, -1)), place);
        if (at) {
            QVERIFY(screen.contains(QRect(*at, size)));
            QVERIFY(!QRect(*at, size).intersects(wizard));
        }
    }

    // It opens by itself, without the focus, when the wizard shows on a
    // screen with room; F12 closes it, and it stays closed at the next start.
    void opensByItselfUntilTheUserClosesIt() {
        start();
        QTRY_VERIFY(log().contains(QLatin1String("eof")) || !pagesIn(log()).isEmpty());
        QVERIFY2(log().first().startsWith(QLatin1String("show ")), qPrintable(log().join('|')));
        QVERIFY(log().first().contains(QLatin1String("focus=0")));
        QVERIFY(log().first().contains(QLatin1String("at=")));
        QCOMPARE(QApplication::activeWindow(), &wizard());
        verifyNewestShown();
        QVERIFY(shell_->preview.isOpen());
        pressF12(&wizard());
        QTRY_VERIFY(log().contains(QLatin1String("eof")));
        QTRY_VERIFY(standIns().isEmpty());
        QVERIFY(!shell_->preview.isOpen());

        shell_.reset();
        QFile::remove(log_);
        shell_ = std::make_unique<Shell>(dir_->filePath(QStringLiteral("seite")));
        start();
        QTest::qWait(200);  // long enough for a start it would make
        QCOMPARE(log(), QStringList());
        pressF12(&wizard());  // asked for, it comes, with the focus
        QTRY_VERIFY(!pagesIn(log()).isEmpty());
        QVERIFY(log().first().contains(QLatin1String("focus=1")));
    }

    // Every change reaches it as the newest page, once the page before was
    // taken; it never gets an older page after a newer, and never more pages
    // than changes.
    void followsEveryChangeWithTheNewestPage() {
        qputenv("VELMORA_STANDIN_DRAW_MS", "40");
        start();
        QTRY_VERIFY(!pagesIn(log()).isEmpty());
        QSignalSpy drawn(&shell_->preview, &Preview::drawn);
        clickTab(wizard(), Heading);
        auto* title = control<QLineEdit>(wizard(), "Edit2");
        title->setFocus();
        for (int i = 0; i < 30; ++i) QTest::keyClick(title, Qt::Key_A);
        clickTab(wizard(), Links);
        VELMORA_CLICK(control<QAbstractButton>(wizard(), "SpeedButton2"));
        QTest::keyClick(&wizard(), Qt::Key_Z, Qt::ControlModifier);
        verifyNewestShown();
        const QList<qulonglong> pages = pagesIn(log());
        QVERIFY2(std::is_sorted(pages.begin(), pages.end()) &&
                     std::adjacent_find(pages.begin(), pages.end()) == pages.end(),
                 qPrintable(log().join('|')));
        QVERIFY(pages.size() <= 1 + 30 + 2);
        // drawn after it was read: the newest page's report may trail the file
        QTRY_COMPARE(drawn.isEmpty() ? 0ULL : drawn.last().first().toULongLong(), pages.last());
    }

    // A preview that no longer reads: the wizard goes on as fast as ever,
    // keeps only the newest page, and the preview gets it once it reads again.
    void aStuckPreviewNeverHoldsTheWizard() {
        start();
        QTRY_VERIFY(!pagesIn(log()).isEmpty());
        QTRY_COMPARE(standIns().size(), 1);
        const qint64 pid = standIns().first();
        QCOMPARE(::kill(static_cast<pid_t>(pid), SIGSTOP), 0);
        clickTab(wizard(), Text);
        auto* line = control<QLineEdit>(wizard(), "Edit12");
        QElapsedTimer clock;
        qint64 longest = 0;
        for (int i = 0; i < 300; ++i) {
            typeInto(line,
                     QStringLiteral("Zeile %1 mit etwas mehr Text, damit die Seite wächst").arg(i));
            clock.start();
            VELMORA_CLICK(control<QAbstractButton>(wizard(), "Button1"));
            QCoreApplication::processEvents();
            longest = std::max(longest, clock.elapsed());
        }
        qInfo("longest add with the preview stopped: %lld ms", longest);
        // A write that waited for the stopped reader would wait as long as it
        // stays stopped; the bound only needs to lie far below the test's time
        // and above what a busy machine takes for an add.
        QVERIFY2(longest < 1000, qPrintable(QString::number(longest)));
        QCOMPARE(::kill(static_cast<pid_t>(pid), SIGCONT), 0);
        verifyNewestShown();
        QVERIFY(pagesIn(log()).size() < 50);  // not one for each of the 300 lines
    }

    // Killed, it is said so where it stood; F12 starts it again.
    void anEndedPreviewIsSaidSoAndComesBack() {
        start();
        QTRY_COMPARE(standIns().size(), 1);
        QSignalSpy ended(&shell_->preview, &Preview::ended);
        QCOMPARE(::kill(static_cast<pid_t>(standIns().first()), SIGKILL), 0);
        QTRY_COMPARE(ended.size(), 1);
        QWidget* note = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String("VorschauBeendet") && w->isVisible()) note = w;
        }
        QVERIFY(note != nullptr);
        QCOMPARE(note->windowTitle(), QStringLiteral("Vorschau"));
        QCOMPARE(note->findChild<QLabel*>()->text(), QStringLiteral("Die Vorschau wurde beendet."));
        QVERIFY(wizard().isVisible());
        typeInto(control<QLineEdit>(wizard(), "Edit2"), QStringLiteral("weiter"));
        QFile::remove(log_);
        pressF12(&wizard());
        QTRY_COMPARE(standIns().size(), 1);
        verifyNewestShown();
        QVERIFY(log().first().contains(QLatin1String("focus=1")));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != QLatin1String("VorschauBeendet"));
    }

    // It hides with the wizard (a finish) and comes back with it; closed in
    // its own window, it gives the focus back and stays closed.
    void hidesWithTheWizardAndClosesFromItsOwnWindow() {
        qputenv("VELMORA_STANDIN_KEEP", "size=500,400;at=1000,100;mode=Handy");
        start();
        QTRY_VERIFY(!pagesIn(log()).isEmpty());
        VELMORA_CLICK(control<QAbstractButton>(wizard(), "SpeedButton9"));
        QTRY_VERIFY(log().contains(QLatin1String("hide")));
        VELMORA_CLICK(control<QAbstractButton>(shell_->Form1, "SpeedButton2"));
        QTRY_COMPARE(log().filter(QLatin1String("show ")).size(), 2);
        // what it reported the user left is what it is shown with
        const QString second = log().filter(QLatin1String("show ")).last();
        QVERIFY2(second.contains(QLatin1String("size=500,400")) &&
                     second.contains(QLatin1String("mode=Handy")) &&
                     second.contains(QLatin1String("at=1000,100")),
                 qPrintable(second));
        QCOMPARE(::kill(static_cast<pid_t>(standIns().first()), SIGUSR1), 0);
        QTRY_VERIFY(log().contains(QLatin1String("user-closed")));
        QTRY_VERIFY(standIns().isEmpty());
        QVERIFY(!shell_->preview.isOpen());
        VELMORA_CLICK(control<QAbstractButton>(wizard(), "SpeedButton9"));
        VELMORA_CLICK(control<QAbstractButton>(shell_->Form1, "SpeedButton2"));
        QTest::qWait(200);
        QVERIFY(standIns().isEmpty());
    }

    // A page past the preview's bound is its note, not a page; without the
    // program, F12 says which package brings it, and a start says nothing.
    void aPageTooBigAndNoProgram() {
        start();
        QTRY_VERIFY(!pagesIn(log()).isEmpty());
        clickTab(wizard(), Pictures);
        typeInto(control<QLineEdit>(wizard(), "Edit10"), QStringLiteral("bild.jpg"));
        VELMORA_CLICK(control<QAbstractButton>(wizard(), "SpeedButton3"));
        typeInto(control<QWidget>(wizard(), "SpinEdit3"), QStringLiteral("300000"));
        QTRY_VERIFY(log().last().startsWith(QLatin1String("too-big ")));
        shell_.reset();

        Preview::useProgramFile(QStringLiteral("/nonexistent/velmora-vorschau"));
        shell_ = std::make_unique<Shell>(dir_->filePath(QStringLiteral("seite")));
        BoxAnswerer boxes;
        start();
        QTest::qWait(200);
        QCOMPARE(boxes.seen.size(), 0);
        pressF12(&shell_->Form1);
        QTRY_COMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen.front().text,
                 QStringLiteral("Die Vorschau ist nicht installiert (Paket velmora-preview)."));
        Preview::useProgramFile(QStringLiteral(VELMORA_STANDIN));
    }
};

int main(int argc, char** argv) {
    // a screen with room beside the wizard, and a configuration of its own
    QTemporaryDir scratch;
    QFile screens(scratch.filePath(QStringLiteral("screens.json")));
    if (!screens.open(QIODevice::WriteOnly)) return 2;
    screens.write(R"({"screens": [{"name": "gross", "x": 0, "y": 0, "width": 1920,
        "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screens.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("config"))));
    Application app(argc, argv);
    WizardPreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard_preview.moc"
