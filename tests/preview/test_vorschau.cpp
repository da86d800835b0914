// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The preview program itself, driven over its pipe as the wizard drives it:
// it draws the newest page in place and never an older one after a newer,
// draws as headless Chromium draws the written file, lets no request leave
// the machine, runs none of the page's scripts, does not navigate, and ends
// with its pipe.
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "Vorschau.h"
#include "wizard/Preview.h"

using velmora::preview::test::differingPixels;
using velmora::preview::test::Helper;
using velmora::preview::test::screenshot;
using velmora::preview::test::shownAt;

namespace {

QByteArray filled(const char* colour, const QByteArray& body = {}) {
    return "<html><body bgcolor=\"" + QByteArray(colour) + "\">" + body + "</body></html>";
}

// The processes whose parent is one of `parents`.
QList<qint64> childrenOf(const QList<qint64>& parents) {
    QList<qint64> found;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        // after the name in parentheses: the state, then the parent
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (parents.contains(fields.value(1).toLongLong())) found << pid.toLongLong();
    }
    return found;
}

QRgb middle(const QImage& image) { return image.pixel(image.width() / 2, image.height() / 2); }

}  // namespace

class VorschauTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString file(const QString& name) const { return dir_.filePath(name); }

private slots:
    // Pages sent faster than drawn: each answer names a newer page than the
    // one before, the last is always drawn, and it is what the view shows.
    void drawsTheNewestPageInPlace() {
        Helper helper;
        helper.send("show", "size=400,300\nfocus=0");
        helper.page(1, dir_.path(), filled("#FF0000"));
        QCOMPARE(helper.next("drawn"), std::optional<std::string>("1"));
        // "drawn" says the engine has the page; its frame follows
        QTRY_COMPARE_WITH_TIMEOUT(middle(helper.grab(file("eins.png"))), qRgb(255, 0, 0), 5000);
        for (std::uint64_t i = 2; i <= 40; ++i)
            helper.page(i, dir_.path(), filled(i == 40 ? "#00FF00" : "#0000FF"));
        std::uint64_t last = 1;
        while (last != 40) {
            const auto drawn = helper.next("drawn");
            QVERIFY2(drawn.has_value(), "the newest page was never drawn");
            const std::uint64_t sequence = std::stoull(drawn.value_or("0"));
            QVERIFY2(sequence > last, "an older page was drawn after a newer one");
            last = sequence;
        }
        QTRY_COMPARE_WITH_TIMEOUT(middle(helper.grab(file("neu.png"))), qRgb(0, 255, 0), 5000);
    }

    // The default page and one with every element, against headless
    // Chromium's screenshot of the same bytes written to a file, at 800 × 600.
    void drawsAsChromiumDrawsTheFile_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("default page") << QStringLiteral("standard");
        QTest::newRow("every element") << QStringLiteral("bilder");
    }
    void drawsAsChromiumDrawsTheFile() {
        QFETCH(QString, name);
        const QString folder = QStringLiteral(VELMORA_BROWSER_PAGES);
        QFile page(folder + QLatin1Char('/') + name + QStringLiteral(".html"));
        QVERIFY2(page.open(QIODevice::ReadOnly), "make_pages wrote no such page");
        const QByteArray bytes = page.readAll();
        const QString chromium = file(name + QStringLiteral("-chromium.png"));
        QVERIFY(screenshot(page.fileName(), chromium));
        Helper helper;
        helper.page(1, folder, bytes);
        QVERIFY(helper.next("drawn"));
        const QImage shown = shownAt(helper, {800, 600}, file(name + QStringLiteral(".png")));
        QCOMPARE(shown.size(), QSize(800, 600));
        const double differing = differingPixels(file(name + QStringLiteral(".png")), chromium);
        qInfo("%s: %.0f of 480000 pixels differ by more than 5 %%", qPrintable(name), differing);
        QVERIFY2(differing <= 4800, "over 1 % of the pixels differ from Chromium's");
    }

    // A page that names pictures, a background, a style sheet, a frame and
    // a refresh on a server, and holds a script: the server sees nothing, the
    // script does not run, and the preview stays on the page.
    void letsNothingLeaveAndRunsNothing() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        int requests = 0;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                ++requests;
                socket->close();
            }
        });
        const QByteArray at = "http://127.0.0.1:" + QByteArray::number(server.serverPort());
        const QByteArray body = "<img src=\"" + at + "/bild.jpg\"><img src=\"https://127.0.0.1:" +
                                QByteArray::number(server.serverPort()) +
                                "/bild.jpg\">"
                                "<table background=\"" +
                                at +
                                "/grund.jpg\"><tr><td>x</td></tr></table>"
                                "<link rel=\"stylesheet\" href=\"" +
                                at +
                                "/stil.css\">"
                                "<div style=\"background: url(" +
                                at +
                                "/css.jpg)\">y</div>"
                                "<iframe src=\"" +
                                at +
                                "/rahmen.html\"></iframe>"
                                "<meta http-equiv=\"refresh\" content=\"0; url=" +
                                at +
                                "/weiter.html\">"
                                "<script>document.body.style.background = '#FF0000';</script>";
        Helper helper;
        helper.send("show", "size=400,300\nfocus=0");
        helper.page(1, dir_.path(), filled("#00FF00", body));
        QVERIFY(helper.next("drawn"));
        helper.page(2, dir_.path(), filled("#0000FF", body));  // written in place
        QVERIFY(helper.next("drawn"));
        QTest::qWait(1500);  // time for a refresh or a late request
        QCOMPARE(requests, 0);
        const QImage shown = helper.grab(file("sicher.png"));
        QCOMPARE(shown.pixel(shown.width() - 5, shown.height() - 5), qRgb(0, 0, 255));
    }

    // Clicks on links, under an X server (vorschau_clicks): a local page
    // leaves the preview where it is, a web address goes to the desktop's
    // browser (a stand-in xdg-open that notes it) and the preview stays too;
    // a page scrolled down stays so when written anew; Escape closes it.
    void aClickLeavesItWhereItIs() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server: the test vorschau_clicks runs it on one");
        const QString noted = file(QStringLiteral("geoeffnet.txt"));
        QFile opener(file(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\necho \"$1\" >> " + noted.toUtf8() + "\n");
        opener.close();
        opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
        Helper helper({QStringLiteral("PATH=") + dir_.path() + QLatin1Char(':') +
                       qEnvironmentVariable("PATH")});
        const QByteArray links =
            "<a href=\"seite2.html\" style=\"font-size:100px\">Weiter</a><br>"
            "<a href=\"http://127.0.0.1:9/netz.html\" target=\"_blank\" "
            "style=\"font-size:100px\">Netz</a>";
        helper.page(1, dir_.path(), filled("#00FF00", links));
        helper.send("show", "size=500,600\nat=0,0\nfocus=1");
        QVERIFY(helper.next("drawn"));
        QTest::qWait(1000);  // shown, placed and drawn
        const QImage before = helper.grab(file(QStringLiteral("vorher.png")));
        // the preview's window, by xdotool; y from the top of its view
        const int bar = 600 - before.height();
        const auto inWindow = [](const QString& action) {
            QProcess::execute(QStringLiteral("sh"),
                              {QStringLiteral("-c"),
                               QStringLiteral("xdotool %1 --window "
                                              "$(xdotool search --name '^Vorschau$' | head -1) %2")
                                   .arg(action.section(QLatin1Char(' '), 0, 0),
                                        action.section(QLatin1Char(' '), 1))});
        };
        inWindow(QStringLiteral("mousemove 60 %1 click 1").arg(bar + 60));
        QTest::qWait(1000);
        QCOMPARE(helper.grab(file(QStringLiteral("lokal.png"))), before);
        inWindow(QStringLiteral("mousemove 60 %1 click 1").arg(bar + 180));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(noted), 10000);
        QFile opened(noted);
        QVERIFY(opened.open(QIODevice::ReadOnly));
        QCOMPARE(opened.readAll().trimmed(), QByteArray("http://127.0.0.1:9/netz.html"));
        QCOMPARE(helper.grab(file(QStringLiteral("netz.png"))), before);
        // a long page scrolled down with Page Down stays scrolled down when
        // it is written anew, as a user typing in the wizard expects
        const QByteArray tall =
            "<div style=\"height:1000px;background:#FF0000\"></div>"
            "<div style=\"height:3000px;background:#0000FF\">";
        helper.page(2, dir_.path(), filled("#FFFFFF", tall + "2</div>"));
        QVERIFY(helper.next("drawn"));
        for (int i = 0; i < 4; ++i) inWindow(QStringLiteral("key Next"));
        QTRY_COMPARE_WITH_TIMEOUT(middle(helper.grab(file(QStringLiteral("unten.png")))),
                                  qRgb(0, 0, 255), 5000);
        helper.page(3, dir_.path(), filled("#FFFFFF", tall + "3</div>"));
        QVERIFY(helper.next("drawn"));
        QTest::qWait(500);  // its frame
        QCOMPARE(middle(helper.grab(file(QStringLiteral("neu.png")))), qRgb(0, 0, 255));
        // Escape with the focus in the page: the user closed it
        inWindow(QStringLiteral("key Escape"));
        QVERIFY(helper.next("closed", 10000));
        QVERIFY(helper.process().waitForFinished(10000));
    }

    // The engine's renderer killed (as when memory runs out): the next page
    // is drawn all the same, in a new one.
    void drawsAgainAfterItsRendererEnded() {
        Helper helper;
        helper.send("show", "size=400,300\nfocus=0");
        helper.page(1, dir_.path(), filled("#FF0000"));
        QVERIFY(helper.next("drawn"));
        // the renderers are the children of the engine's zygotes
        const QList<qint64> renderers = childrenOf(childrenOf({helper.process().processId()}));
        QVERIFY2(!renderers.isEmpty(), "no renderer found");
        for (const qint64 renderer : renderers) ::kill(static_cast<pid_t>(renderer), SIGKILL);
        QTest::qWait(500);
        helper.page(2, dir_.path(), filled("#00FF00"));
        // (page 1 drawn again first, in the new renderer)
        std::optional<std::string> drawn;
        while ((drawn = helper.next("drawn", 20000)) == std::optional<std::string>("1")) {
        }
        QCOMPARE(drawn, std::optional<std::string>("2"));
        QTRY_COMPARE_WITH_TIMEOUT(middle(helper.grab(file("wieder.png"))), qRgb(0, 255, 0), 5000);
    }

    // The wizard gone, its pipe closed: the helper and its engine's
    // processes end.
    void endsWithItsPipe() {
        Helper helper;
        helper.page(1, dir_.path(), filled("#FFFFFF"));
        QVERIFY(helper.next("drawn"));
        const qint64 pid = helper.process().processId();
        const QList<qint64> engine = childrenOf({pid});
        QVERIFY2(!engine.isEmpty(), "the engine runs no process of its own");
        // two long pages on their way as the pipe closes: one being written,
        // one waiting for it
        const QByteArray lines = QByteArray("<p>Zeile</p>\r\n").repeated(40000);
        helper.page(2, dir_.path(), filled("#FFFFFF", lines));
        helper.page(3, dir_.path(), filled("#000000", lines));
        QTest::qWait(300);  // taken, and the first being written
        helper.process().closeWriteChannel();
        QVERIFY(helper.process().waitForFinished(10000));
        QCOMPARE(helper.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.process().exitCode(), 0);
        for (const qint64 child : engine)
            QTRY_VERIFY_WITH_TIMEOUT(::kill(static_cast<pid_t>(child), 0) != 0, 10000);
    }
};

QTEST_MAIN(VorschauTest)
#include "test_vorschau.moc"
