// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The notification after a finish on a desktop of stand-ins: a private
// session bus (the caller runs this under dbus-run-session) on which this
// test serves the notification service and the file manager itself, and a
// browser and a file manager in scratch XDG folders that xdg-open starts and
// that write down what they were given. The application object is the
// program's own, so the icon and the desktop entry are what it sets.
//
// Run by ctest as page_notice (everything) and page_notice_no_browser (PATH
// without xdg-open, only browserThatCannotStartSaysSo).
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "test_wizard_support.h"
#include "ui/Application.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");
const QString kNotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kFileManager = QStringLiteral("org.freedesktop.FileManager1");
const QString kFolder = QStringLiteral("Tom & Jerry <1>");
const QString kPage = QStringLiteral("Grüße an alle.html");

// Far below D-Bus's own 25 s for an unanswered call, far above a finish.
constexpr qint64 kHideLimitMs = 2000;

struct Notified {
    QString app;
    uint replaces;
    QString icon, summary, body;
    QStringList actions;
    QVariantMap hints;
    int timeout;
};

// The notification service as the desktop's: each Notify is written down and
// given an id, which a replacement keeps. Held, it answers nothing until
// answerHeld().
class StandInNotifications : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList capabilities;
    bool holding = false;
    int capabilityCalls = 0;
    QList<Notified> notified;
    QList<uint> ids;

    void reset() {
        capabilities = QStringList{QStringLiteral("actions"), QStringLiteral("body"),
                                   QStringLiteral("body-markup")};
        holding = false;
        capabilityCalls = 0;
        notified.clear();
        ids.clear();
        held_.clear();
    }
    void answerHeld(const QDBusConnection& bus) {
        for (const auto& [call, answer] : std::as_const(held_)) bus.send(call.createReply(answer));
        held_.clear();
    }

public slots:  // NOLINT(readability-redundant-access-specifiers)
    QStringList GetCapabilities() {
        ++capabilityCalls;
        hold(capabilities);
        return capabilities;
    }
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout) {
        const uint id = replaces != 0 ? replaces : ++lastId_;
        notified << Notified{app, replaces, icon, summary, body, actions, hints, timeout};
        ids << id;
        hold(QVariant::fromValue(id));
        return id;
    }
    void CloseNotification(uint /*id*/) {}
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion) {
        vendor = QStringLiteral("Velmora tests");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("stand-in");
    }

private:
    void hold(const QVariant& answer) {
        if (!holding) return;
        setDelayedReply(true);
        held_ << std::pair{message(), answer};
    }

    uint lastId_ = 0;
    QList<std::pair<QDBusMessage, QVariant>> held_;
};

// org.freedesktop.FileManager1 as GNOME's and KDE's file managers offer it.
class StandInFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QList<QStringList> shown;

public slots:  // NOLINT(readability-redundant-access-specifiers)
    void ShowItems(const QStringList& uris, const QString& /*startupId*/) { shown << uris; }
    void ShowFolders(const QStringList& uris, const QString& /*startupId*/) { shown << uris; }
};

// Scratch home and XDG folders with a stand-in browser for text/html and a
// stand-in file manager for folders, each a script that appends what it was
// given, one argument a line, to its log. Made before the application
// object, so that Qt reads the environment as a desktop session sets it.
class StandInDesktop {
public:
    StandInDesktop() {
        const QDir root(dir_.path());
        for (const char* sub : {"home", "data/applications", "config", "runtime"})
            root.mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(
            root.filePath(QStringLiteral("runtime")),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        for (const char* name : {"browser", "files"}) {
            const QString tool = root.filePath(QString::fromLatin1(name));
            write(tool, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$0.log\"\n");
            QFile::setPermissions(
                tool, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            write(root.filePath(QStringLiteral("data/applications/standin-%1.desktop")
                                    .arg(QString::fromLatin1(name))),
                  "[Desktop Entry]\nType=Application\nName=Stand-in\nExec=" + tool.toUtf8() +
                      " %u\n");
        }
        write(root.filePath(QStringLiteral("config/mimeapps.list")),
              "[Default Applications]\ntext/html=standin-browser.desktop\n"
              "x-scheme-handler/https=standin-browser.desktop\n"
              "inode/directory=standin-files.desktop\n");
        qputenv("HOME", root.filePath(QStringLiteral("home")).toUtf8());
        qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", root.filePath(QStringLiteral("runtime")).toUtf8());
        // With BROWSER set, xdg-open hands over a copy of the page; a desktop
        // of its own would take another way than the MIME default.
        for (const char* name : {"BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                                 "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            qunsetenv(name);
    }

    [[nodiscard]] QString home() const { return dir_.filePath(QStringLiteral("home")); }
    /// The files the stand-in was asked to open. xdg-open hands over a
    /// file:// URL as a path (xdg-utils 1.1, Debian 12) or as the URL itself
    /// (1.2, Debian 13); a URL that is not well formed stays as it came.
    [[nodiscard]] QStringList opened(const char* tool) const {
        QFile log(dir_.filePath(QString::fromLatin1(tool) + QStringLiteral(".log")));
        if (!log.open(QIODevice::ReadOnly)) return {};
        QStringList files;
        for (const QString& arg :
             QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QUrl url(arg, QUrl::StrictMode);
            files << (arg.startsWith(QLatin1String("file://")) && url.isValid() ? url.toLocalFile()
                                                                                : arg);
        }
        return files;
    }
    void forget() {
        for (const char* tool : {"browser", "files"})
            QFile::remove(dir_.filePath(QString::fromLatin1(tool) + QStringLiteral(".log")));
    }

private:
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    }

    QTemporaryDir dir_;
};

}  // namespace

class PageNoticeTest : public WizardTest {
    Q_OBJECT
public:
    explicit PageNoticeTest(StandInDesktop& desktop) : desktop_(desktop) {}

private:
    StandInDesktop& desktop_;
    QDBusConnection desktopBus_ =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("standin"));
    StandInNotifications notifications_;
    StandInFileManager fileManager_;
    QString folder_;  // the working directory, where the page goes

    void serve(const QString& service, bool on) {
        if (on) {
            QVERIFY(desktopBus_.registerService(service));
        } else if (desktopBus_.interface()->isServiceRegistered(service)) {
            QVERIFY(desktopBus_.unregisterService(service));
        }
    }
    void signal(const char* name, uint id, const QVariant& detail) {
        QDBusMessage s = QDBusMessage::createSignal(kNotificationsPath, kNotifications,
                                                    QString::fromLatin1(name));
        s << id << detail;
        QVERIFY(desktopBus_.send(s));
    }
    /// A finish that must hide the wizard; returns how long it took until
    /// the event loop was free again, with whatever the finish left to it.
    qint64 finish() {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(button("SpeedButton9"), Qt::LeftButton);
        [&] { QVERIFY2(!w_->isVisible(), "the finish did not hide the wizard"); }();
        settle();
        return clock.elapsed();
    }
    /// Waits until the event loop has run what was posted to it so far.
    void settle() {
        bool free = false;
        QTimer::singleShot(0, this, [&free] { free = true; });
        QTRY_VERIFY_WITH_TIMEOUT(free, 30000);
    }
    void showAgain() {
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void nameThePage(const QString& name) {
        clickTab(*w_, General);
        typeInto(edit("Edit19"), name);
    }
    QString page() const { return QDir(folder_).filePath(kPage); }

    // A wizard whose page lives in `folder`, with a link and the page's name.
    void showWizardIn(const QString& folder) {
        w_ = shownWizard(folder);
        QVERIFY(w_);
        clickTab(*w_, Links);
        VELMORA_CLICK(button("SpeedButton2"));
        nameThePage(QStringLiteral("Grüße an alle"));
    }

private slots:
    void initTestCase() {
        QVERIFY(desktopBus_.isConnected());
        QVERIFY(desktopBus_.registerObject(kNotificationsPath, &notifications_,
                                           QDBusConnection::ExportAllSlots));
        QVERIFY(desktopBus_.registerObject(QStringLiteral("/org/freedesktop/FileManager1"),
                                           &fileManager_, QDBusConnection::ExportAllSlots));
        folder_ = QDir(desktop_.home()).filePath(kFolder);
        QVERIFY(QDir().mkpath(folder_));
    }
    void init() {
        notifications_.reset();
        fileManager_.shown.clear();
        desktop_.forget();
        serve(kNotifications, true);
        serve(kFileManager, true);
        QFile::remove(page());
        showWizardIn(folder_);
    }
    void cleanup() { w_.reset(); }

    void notificationAfterFinish_data() {
        QTest::addColumn<bool>("markup");
        QTest::addColumn<QString>("body");
        QTest::newRow("server reads markup")
            << true << QStringLiteral("~/Tom &amp; Jerry &lt;1&gt;/Grüße an alle.html");
        QTest::newRow("server shows plain text")
            << false << QStringLiteral("~/Tom & Jerry <1>/Grüße an alle.html");
    }
    void notificationAfterFinish() {
        QFETCH(bool, markup);
        QFETCH(QString, body);
        if (!markup) notifications_.capabilities.removeAll(QStringLiteral("body-markup"));
        finish();
        QVERIFY(QFile::exists(page()));
        QTRY_COMPARE(notifications_.notified.size(), 1);
        const Notified& n = notifications_.notified.front();
        QCOMPARE(n.app, QStringLiteral("Velmora"));
        QCOMPARE(n.icon, QStringLiteral("invalid.velmora.velmora"));
        QCOMPARE(n.summary, QStringLiteral("Seite gespeichert"));
        QCOMPARE(n.body, body);
        QCOMPARE(n.hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("invalid.velmora.velmora"));
        // Keys and labels alternate; "default" is the click on the
        // notification, which opens the browser as its button does.
        QCOMPARE(n.actions.size() % 2, 0);
        QStringList labels;
        for (qsizetype i = 0; i < n.actions.size(); i += 2) {
            if (n.actions.at(i) == QLatin1String("default")) {
                QCOMPARE(n.actions.at(i + 1), QStringLiteral("Im Browser ansehen"));
            } else {
                labels << n.actions.at(i + 1);
            }
        }
        QVERIFY(n.actions.contains(QStringLiteral("default")));
        QCOMPARE(labels,
                 (QStringList{QStringLiteral("Im Browser ansehen"), QStringLiteral("Ordner öffnen"),
                              QStringLiteral("Veröffentlichen")}));
        QCOMPARE(n.replaces, 0u);
    }

    void pageOutsideHomeHasItsFullPath() {
        QTemporaryDir elsewhere;
        showWizardIn(elsewhere.path());
        finish();
        QTRY_COMPARE(notifications_.notified.size(), 1);
        QCOMPARE(notifications_.notified.front().body,
                 QDir(elsewhere.path()).filePath(kPage).toHtmlEscaped());
    }

    void laterFinishesReplaceTheNotification() {
        finish();
        QTRY_COMPARE(notifications_.notified.size(), 1);
        const uint first = notifications_.ids.front();
        showAgain();
        finish();
        QTRY_COMPARE(notifications_.notified.size(), 2);
        QCOMPARE(notifications_.notified.at(1).replaces, first);
        // Two finishes before the first is sent: the later page is what the
        // notification shows, still in place of the first.
        showAgain();
        finish();
        showAgain();
        nameThePage(QStringLiteral("zweite"));
        finish();
        QTRY_VERIFY(notifications_.notified.last().body.endsWith(QLatin1String("/zweite.html")));
        for (const Notified& n : notifications_.notified.mid(1)) QCOMPARE(n.replaces, first);
        // Once the user has closed it, a finish shows a new one.
        signal("NotificationClosed", first, QVariant::fromValue(2u));
        const qsizetype before = notifications_.notified.size();
        showAgain();
        finish();
        QTRY_COMPARE(notifications_.notified.size(), before + 1);
        QCOMPARE(notifications_.notified.last().replaces, 0u);
    }

    void failedFinishShowsNone() {
        nameThePage(QStringLiteral("fehlt/seite"));
        {
            BoxAnswerer boxes;
            QTest::mouseClick(button("SpeedButton9"), Qt::LeftButton);
            QTRY_COMPARE(boxes.seen.size(), 1);
        }
        QVERIFY(w_->isVisible());
        settle();
        // The next finish's notification is the first the service gets.
        nameThePage(QStringLiteral("Grüße an alle"));
        finish();
        QTRY_VERIFY(!notifications_.notified.isEmpty());
        QVERIFY(notifications_.notified.front().body.endsWith(QLatin1Char('/') + kPage));
    }

    void actionsReachTheDesktop_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("fileManagerOnBus");
        QTest::addColumn<QString>("tool");
        QTest::newRow("click on the notification")
            << QStringLiteral("default") << true << "browser";
        QTest::newRow("Im Browser ansehen") << QString() << true << "browser";
        QTest::newRow("Ordner öffnen, file manager on the bus") << QString() << true << "bus";
        QTest::newRow("Ordner öffnen, no file manager on the bus") << QString() << false << "files";
    }
    void actionsReachTheDesktop() {
        QFETCH(QString, key);
        QFETCH(bool, fileManagerOnBus);
        QFETCH(QString, tool);
        serve(kFileManager, fileManagerOnBus);
        finish();
        QTRY_COMPARE(notifications_.notified.size(), 1);
        const uint id = notifications_.ids.front();
        if (key.isEmpty()) {
            const QStringList& actions = notifications_.notified.front().actions;
            const QString label = tool == QLatin1String("browser")
                                      ? QStringLiteral("Im Browser ansehen")
                                      : QStringLiteral("Ordner öffnen");
            for (qsizetype i = 0; i + 1 < actions.size(); i += 2) {
                if (actions.at(i + 1) == label && actions.at(i) != QLatin1String("default"))
                    key = actions.at(i);
            }
            QVERIFY2(!key.isEmpty(), qPrintable(QStringLiteral("no button ") + label));
        }
        // Another program's notification: not ours to act on. Its file
        // manager call would go over the bus long before xdg-open has started
        // the browser.
        signal("ActionInvoked", id + 1, QStringLiteral("folder"));
        signal("ActionInvoked", id, key);
        signal("NotificationClosed", id, QVariant::fromValue(2u));
        if (tool == QLatin1String("browser")) {
            QTRY_COMPARE_WITH_TIMEOUT(desktop_.opened("browser"), QStringList{page()}, 10000);
            QVERIFY(fileManager_.shown.isEmpty());
        } else if (tool == QLatin1String("bus")) {
            QTRY_COMPARE(fileManager_.shown.size(), 1);
            QCOMPARE(fileManager_.shown.front().size(), 1);
            const QString uri = fileManager_.shown.front().front();
            QVERIFY2(!uri.contains(QLatin1Char(' ')), qPrintable(uri));
            QCOMPARE(QUrl(uri, QUrl::StrictMode).toLocalFile(), page());
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(desktop_.opened("files"), QStringList{folder_}, 10000);
            QVERIFY(desktop_.opened("browser").isEmpty());
        }
        QVERIFY(!w_->isVisible());
    }

    // After a publish: where the page went, and the web address, which the
    // notification opens in the browser; without one, nothing to open.
    void notificationAfterPublish() {
        PageNotice notice;
        notice.pagePublished(QStringLiteral("index.html auf example.org im Ordner <www>"),
                             QStringLiteral("https://www.example.org/urlaub/"));
        QTRY_COMPARE(notifications_.notified.size(), 1);
        const Notified& n = notifications_.notified.front();
        QCOMPARE(n.summary, QStringLiteral("Seite veröffentlicht"));
        QCOMPARE(n.body, QStringLiteral("index.html auf example.org im Ordner &lt;www&gt;\n"
                                        "https://www.example.org/urlaub/"));
        QCOMPARE(n.actions,
                 (QStringList{QStringLiteral("default"), QStringLiteral("Im Browser ansehen"),
                              QStringLiteral("browser"), QStringLiteral("Im Browser ansehen")}));
        signal("ActionInvoked", notifications_.ids.front(), QStringLiteral("browser"));
        QTRY_COMPARE_WITH_TIMEOUT(desktop_.opened("browser"),
                                  QStringList{QStringLiteral("https://www.example.org/urlaub/")},
                                  10000);
        // The next publish replaces it; without an address it offers nothing.
        notice.pagePublished(QStringLiteral("index.html auf example.org"), QString());
        QTRY_COMPARE(notifications_.notified.size(), 2);
        QCOMPARE(notifications_.notified.at(1).replaces, notifications_.ids.front());
        QCOMPARE(notifications_.notified.at(1).actions, QStringList());
    }

    void noServiceFinishesAsToday() {
        serve(kNotifications, false);
        QStringList messages;
        static QStringList* sink = nullptr;
        sink = &messages;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { *sink << text; });
        BoxAnswerer boxes;
        QVERIFY(finish() < kHideLimitMs);
        QFile written(page());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("<html>\r\n"));
        QCOMPARE(w_->codeList().size(), std::size_t{20});
        // The service comes back; the finish after it is the first it hears
        // of, and whatever the first finish met has happened by then.
        serve(kNotifications, true);
        showAgain();
        finish();
        QTRY_COMPARE(notifications_.notified.size(), 1);
        qInstallMessageHandler(previous);
        QCOMPARE(notifications_.notified.front().replaces, 0u);
        QCOMPARE(messages, QStringList());
        QCOMPARE(boxes.seen.size(), 0);
    }

    void silentServiceDoesNotDelayTheHide() {
        notifications_.holding = true;
        QVERIFY(finish() < kHideLimitMs);
        QVERIFY(QFile::exists(page()));
        QTRY_COMPARE(notifications_.capabilityCalls, 1);
        showAgain();
        QVERIFY(finish() < kHideLimitMs);
        QVERIFY(notifications_.notified.isEmpty());
        // When it answers at last, the notification comes, once.
        notifications_.holding = false;
        notifications_.answerHeld(desktopBus_);
        QTRY_COMPARE(notifications_.notified.size(), 2);
        QCOMPARE(notifications_.notified.at(1).replaces, notifications_.ids.front());
    }

    // Run with a PATH that lacks xdg-open (ctest's page_notice_no_browser):
    // Qt finds no browser to start.
    void browserThatCannotStartSaysSo() {
        if (!QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
            QSKIP("needs a PATH without xdg-open; ctest runs it so as page_notice_no_browser");
        serve(kFileManager, false);
        finish();
        const QByteArray before = [&] {
            QFile f(page());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QTRY_COMPARE(notifications_.notified.size(), 1);
        const uint id = notifications_.ids.front();
        BoxAnswerer boxes;
        signal("ActionInvoked", id, QStringLiteral("default"));
        QTRY_COMPARE(boxes.seen.size(), 1);
        QCOMPARE(
            boxes.seen.front().text,
            QStringLiteral("Der Browser ließ sich nicht starten, um ~/Tom & Jerry <1>/Grüße an "
                           "alle.html zu zeigen."));
        QCOMPARE(boxes.seen.front().icon, QMessageBox::Critical);
        QCOMPARE(boxes.seen.front().format, Qt::PlainText);
        signal("ActionInvoked", id, QStringLiteral("folder"));
        QTRY_COMPARE(boxes.seen.size(), 2);
        QCOMPARE(boxes.seen.at(1).text,
                 QStringLiteral("Der Dateimanager ließ sich nicht starten, um den Ordner ~/Tom & "
                                "Jerry <1> zu zeigen."));
        QVERIFY(!w_->isVisible());
        QFile f(page());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(notifications_.notified.size(), 1);
    }
};

int main(int argc, char* argv[]) {
    StandInDesktop desktop;
    Application app(argc, argv);
    PageNoticeTest test(desktop);
    return QTest::qExec(&test, argc, argv);
}

#include "test_page_notice.moc"
