// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Pages far larger than anyone tested, finished in the real window. Each case
// runs in a child process of this program whose address space is limited, so
// that a page that grows without bound fails the case instead of exhausting
// the machine. The child measures its own peak memory.
#include <sys/resource.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <cstdlib>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "test_wizard_support.h"
#include "ui/Application.h"
#include "ui/SpinEdit.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

constexpr rlim_t kAddressSpace = rlim_t{4} << 30;
constexpr long kPeakLimitKiB = 1L << 20;  // 1 GiB
const char* const kChildVariable = "VELMORA_LIMITS_CHILD";

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

}  // namespace

// The cases themselves, run in the child.
class WizardLimitsChild : public WizardTest {
    Q_OBJECT

    void addPicture() {
        clickTab(*w_, Pictures);
        typeInto(c<QWidget>("Edit10"), QStringLiteral("bild.jpg"));
        VELMORA_CLICK(c<QToolButton>("SpeedButton3"));
    }

    // The spacing count pasted as a user pastes it.
    void pasteSpacing(const QString& spacing) {
        auto* spin = c<SpinEdit>("SpinEdit3");
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(spacing);
        QTest::keyClick(spin, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(spin->typedText(), spacing);
    }

    // The spacing count that makes the page `extra` lines longer than the bound.
    QString spacingBeyondTheBound(qint64 extra) {
        velmora::PageSettings s = w_->settings();
        s.SpinEdit3.setValue(0);
        const auto base = static_cast<qint64>(velmora::pageLineCount(s));
        return QString::number(static_cast<qint64>(velmora::CodeList::kMaxLines) - base + extra);
    }

    void finishIsRefused(const QString& spacing) {
        // a page Velmora wrote, which the finish replaces without a question
        velmora::CodeList lines;
        velmora::writePage(velmora::PageSettings{}, lines);
        const QByteArray oldPage =
            QByteArray::fromStdString(velmora::composeFileBytes(lines.lines()));
        QFile old(dir_->filePath(QStringLiteral("index.html")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(oldPage);
        old.close();

        BoxAnswerer boxes;
        QElapsedTimer timer;
        timer.start();
        VELMORA_CLICK(c<QToolButton>("SpeedButton9"));
        QTRY_COMPARE(boxes.seen.size(), 1);
        const qint64 ms = timer.elapsed();
        qInfo("box after %lld ms, peak memory %ld KiB", ms, peakKiB());
        QCOMPARE(boxes.seen.front().text, QStringLiteral("Unable to insert a line."));
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QVERIFY(w_->isVisible());
        QCOMPARE(dir_->read(QStringLiteral("index.html")), oldPage);
        QCOMPARE(dir_->entries(), QStringList{QStringLiteral("index.html")});
        QCOMPARE(QString::fromStdString(w_->settings().SpinEdit3.text), spacing);
        QCOMPARE(w_->settings().ListBox3.count(), 1);
        QCOMPARE(w_->settings().ListBox3.selected, -1);
        QCOMPARE(count(list("ListBox4")), static_cast<int>(w_->codeList().size()));
        QVERIFY2(peakKiB() < kPeakLimitKiB, qPrintable(QString::number(peakKiB())));
    }

private slots:
    void init() {
        dir_ = std::make_unique<ScratchDirectory>();
        w_ = shownWizard(dir_->path());
        QVERIFY(w_);
    }
    void cleanup() {
        w_.reset();
        dir_.reset();
    }

    void twoBillionBreaksAreRefusedAtOnce() {
        addPicture();
        pasteSpacing(QStringLiteral("2147483647"));
        finishIsRefused(QStringLiteral("2147483647"));
        // a sane count afterwards makes the page
        pasteSpacing(QStringLiteral("2"));
        VELMORA_CLICK(c<QToolButton>("SpeedButton9"));
        QVERIFY(!w_->isVisible());
        QCOMPARE(dir_->read(QStringLiteral("index.html")).count("<br>\r\n"), 2);
    }

    void aPageOfExactlyTheBoundIsMadeAndShown() {
        addPicture();
        pasteSpacing(spacingBeyondTheBound(0));
        QElapsedTimer timer;
        timer.start();
        VELMORA_CLICK(c<QToolButton>("SpeedButton9"));
        QVERIFY(!w_->isVisible());
        const auto rows = static_cast<int>(velmora::CodeList::kMaxLines);
        QCOMPARE(count(list("ListBox4")), rows);
        QCOMPARE(dir_->read(QStringLiteral("index.html")).count("\r\n"), rows);
        // the rows of "HTML Code" drawn too
        clickTab(*w_, Code);
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
        QListView* code = list("ListBox4");
        code->scrollToBottom();
        QCoreApplication::processEvents();
        // the last line stands in the view, where it is drawn
        const QModelIndex last = code->model()->index(rows - 1, 0);
        QVERIFY(code->viewport()->rect().contains(code->visualRect(last)));
        QCOMPARE(code->indexAt(code->visualRect(last).center()), last);
        qInfo("page of %d lines made and shown in %lld ms, peak memory %ld KiB", rows,
              timer.elapsed(), peakKiB());
        QVERIFY2(peakKiB() < kPeakLimitKiB, qPrintable(QString::number(peakKiB())));
    }

    void oneLineMoreIsRefused() {
        addPicture();
        const QString spacing = spacingBeyondTheBound(1);
        pasteSpacing(spacing);
        finishIsRefused(spacing);
    }
};

// Starts each case in a child under the address-space limit.
class WizardLimitsTest : public QObject {
    Q_OBJECT

    static void runInChild(const char* testCase) {
        if (kAddressSanitizer) {
            QSKIP(
                "AddressSanitizer reserves terabytes of address space, so the child "
                "cannot start under an address-space limit");
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(testCase)});
        QVERIFY(child.waitForStarted());
        QVERIFY2(child.waitForFinished(90000), "the child did not end within 90 s");
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }

private slots:
    void twoBillionBreaksAreRefusedAtOnce() { runInChild("twoBillionBreaksAreRefusedAtOnce"); }
    void aPageOfExactlyTheBoundIsMadeAndShown() {
        runInChild("aPageOfExactlyTheBoundIsMadeAndShown");
    }
    void oneLineMoreIsRefused() { runInChild("oneLineMoreIsRefused"); }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(kChildVariable)) {
        const rlimit limit{kAddressSpace, kAddressSpace};
        if (setrlimit(RLIMIT_AS, &limit) != 0) return 2;
        Application app(argc, argv);
        WizardLimitsChild cases;
        return QTest::qExec(&cases, argc, argv);
    }
    QCoreApplication app(argc, argv);
    WizardLimitsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard_limits.moc"
