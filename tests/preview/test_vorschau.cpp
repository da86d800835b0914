// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The preview program itself, driven over its pipe as the wizard drives it:
// it draws the newest page in place and never an older one after a newer,
// draws as headless Chromium draws the written file, lets no request leave
// the machine, runs none of the page's scripts, does not navigate, and ends
// with its pipe.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "wizard/Preview.h"

using velmora::preview::Message;

namespace {

// The helper, as the wizard starts it, and what it answered.
class Helper {
public:
    explicit Helper(const QStringList& environment = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& pair : environment)
            env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(VELMORA_VORSCHAU), {});
    }
    ~Helper() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(10000)) process_.kill();
        process_.waitForFinished();
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    void send(const std::string& name, const std::string& payload) {
        const std::string bytes = velmora::preview::encode({name, payload});
        process_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    void page(std::uint64_t sequence, const QString& folder, const QByteArray& html) {
        send("page",
             std::to_string(sequence) + '\n' + folder.toStdString() + '\n' + html.toStdString());
    }
    // The payload of the next message NAME; what came before it is kept.
    std::optional<std::string> next(const std::string& name, int ms = 60000) {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
                if (it->name != name) continue;
                std::string payload = it->payload;
                waiting_.erase(it);
                return payload;
            }
            if (clock.elapsed() > ms || process_.state() == QProcess::NotRunning) return {};
            process_.waitForReadyRead(50);
            const QByteArray bytes = process_.readAllStandardOutput();
            reader_.feed(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            while (auto message = reader_.next()) {
                answered_.push_back(*message);
                waiting_.push_back(*message);
            }
        }
    }
    QImage grab(const QString& file) {
        send("grab", file.toStdString());
        return next("grabbed") ? QImage(file) : QImage();
    }
    const std::vector<Message>& answered() const { return answered_; }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    velmora::preview::Reader reader_;
    std::vector<Message> answered_;
    std::vector<Message> waiting_;
};

QByteArray filled(const char* colour, const QByteArray& body = {}) {
    return "<html><body bgcolor=\"" + QByteArray(colour) + "\">" + body + "</body></html>";
}

QRgb middle(const QImage& image) { return image.pixel(image.width() / 2, image.height() / 2); }

// Shown at a view of exactly `size`: the window's bar takes what it takes.
QImage shownAt(Helper& helper, QSize size, const QString& file) {
    helper.send("show", "size=" + std::to_string(size.width()) + ',' +
                            std::to_string(size.height()) + "\nfocus=0\nmode=fenster");
    const QImage first = helper.grab(file);
    const int bar = size.height() - first.height();
    helper.send("show", "size=" + std::to_string(size.width()) + ',' +
                            std::to_string(size.height() + bar) + "\nfocus=0");
    QTest::qWait(300);  // the resize's frame
    return helper.grab(file);
}

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
        QTemporaryDir profile;
        QProcess browser;
        browser.start(
            QStringLiteral("chromium"),
            {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
             QStringLiteral("--disable-gpu"), QStringLiteral("--hide-scrollbars"),
             QStringLiteral("--no-first-run"), QStringLiteral("--no-proxy-server"),
             QStringLiteral("--user-data-dir=") + profile.path(),
             QStringLiteral("--window-size=800,600"), QStringLiteral("--screenshot=") + chromium,
             QUrl::fromLocalFile(page.fileName()).toString()});
        QVERIFY(browser.waitForFinished(60000));
        Helper helper;
        helper.page(1, folder, bytes);
        QVERIFY(helper.next("drawn"));
        const QImage shown = shownAt(helper, {800, 600}, file(name + QStringLiteral(".png")));
        QCOMPARE(shown.size(), QSize(800, 600));
        QProcess compare;
        compare.start(QStringLiteral("compare"),
                      {QStringLiteral("-metric"), QStringLiteral("AE"), QStringLiteral("-fuzz"),
                       QStringLiteral("5%"), file(name + QStringLiteral(".png")), chromium,
                       QStringLiteral("null:")});
        QVERIFY(compare.waitForFinished(60000));
        const double differing = compare.readAllStandardError().trimmed().toDouble();
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
    // browser (a stand-in xdg-open that notes it) and the preview stays too.
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
        helper.send("show", "size=500,400\nat=0,0\nfocus=1");
        QVERIFY(helper.next("drawn"));
        QTest::qWait(1000);  // shown, placed and drawn
        const QImage before = helper.grab(file(QStringLiteral("vorher.png")));
        QProcess::execute(QStringLiteral("sh"),
                          {QStringLiteral("-c"),
                           QStringLiteral("id=$(xdotool search --name '^Vorschau$' | head -1) && "
                                          "xdotool mousemove --window $id 60 %1 click 1")
                               .arg(400 - before.height() + 60)});
        QTest::qWait(1000);
        QCOMPARE(helper.grab(file(QStringLiteral("lokal.png"))), before);
        QProcess::execute(QStringLiteral("sh"),
                          {QStringLiteral("-c"),
                           QStringLiteral("id=$(xdotool search --name '^Vorschau$' | head -1) && "
                                          "xdotool mousemove --window $id 60 %1 click 1")
                               .arg(400 - before.height() + 180)});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(noted), 10000);
        QFile opened(noted);
        QVERIFY(opened.open(QIODevice::ReadOnly));
        QCOMPARE(opened.readAll().trimmed(), QByteArray("http://127.0.0.1:9/netz.html"));
        QCOMPARE(helper.grab(file(QStringLiteral("netz.png"))), before);
    }

    // The wizard gone, its pipe closed: the helper and its engine's
    // processes end.
    void endsWithItsPipe() {
        Helper helper;
        helper.page(1, dir_.path(), filled("#FFFFFF"));
        QVERIFY(helper.next("drawn"));
        const qint64 pid = helper.process().processId();
        helper.process().closeWriteChannel();
        QVERIFY(helper.process().waitForFinished(10000));
        QCOMPARE(helper.process().exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(
            !QProcess::execute(QStringLiteral("pgrep"),
                               {QStringLiteral("-P"), QString::number(pid)}) == 0,
            10000);
    }
};

QTEST_MAIN(VorschauTest)
#include "test_vorschau.moc"
