// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QSet>
#include <QTest>
#include <functional>
#include <new>
#include <stdexcept>
#include <utility>

#include "settings/Failure.h"
#include "test_box_answerer.h"
#include "ui/Application.h"
#include "ui/ErrorHandler.h"

using Handler = std::function<void()>;
Q_DECLARE_METATYPE(Handler)

namespace {

// An object whose own event handler fails, bypassing any guard.
class FailingObject : public QObject {
public:
    int events = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        if (++events == 1) throw velmora::Failure("Stream write error");
        return true;
    }
};

int distinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

// Pixels only: a PNG also carries a colour space, which QImage's == compares.
bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

}  // namespace

class TestShellApp : public QObject {
    Q_OBJECT
private slots:
    void titleRule_data();
    void titleRule();
    void titleComesFromProgramFile();
    void fullStop_data();
    void fullStop();
    void errorBox_data();
    void errorBox();
    void handlerThatSucceedsShowsNoBox();
    void failureInEventHandlerIsShownAndProgramGoesOn();
    void iconIsTheDrawnPicture();
    void fontFaces_data();
    void fontFaces();
    void wideFaceIsWide();
    void display_data();
    void display();
};

void TestShellApp::titleRule_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("extension") << "Demo.EXE"
                               << "Demo";
    QTest::newRow("cut at first dot") << "MY.PROG.EXE"
                                      << "My";
    QTest::newRow("no dot") << "noext"
                            << "noext";
    QTest::newRow("dots in directory") << "/opt/a.b/velmora"
                                       << "velmora";
    QTest::newRow("first char kept") << "/usr/bin/vELMORA"
                                     << "velmora";
    QTest::newRow("umlauts") << "ÜBER.EXE"
                             << "Über";
    QTest::newRow("the installed program") << "/usr/bin/Velmora"
                                           << "Velmora";
    QTest::newRow("dot first") << "/x/.hidden"
                               << "";
}

void TestShellApp::titleRule() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(velmora::ui::applicationTitle(path), title);
}

// Qt's own default would be "ShellAPP"; the rule lowers all but the first.
void TestShellApp::titleComesFromProgramFile() {
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Shellapp"));
    QCOMPARE(QApplication::applicationDisplayName(), QStringLiteral("Shellapp"));
}

void TestShellApp::fullStop_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "x"
                            << "x.";
    QTest::newRow("digit") << "Fehler 7"
                           << "Fehler 7.";
    QTest::newRow("slash lies above") << "a/"
                                      << "a/.";
    QTest::newRow("umlaut") << "Größe"
                            << "Größe.";
    QTest::newRow("full stop") << "x."
                               << "x.";
    QTest::newRow("parenthesis") << "x)"
                                 << "x)";
    QTest::newRow("minus lies below") << "x-"
                                      << "x-";
    QTest::newRow("blank") << "x "
                           << "x ";
    QTest::newRow("empty") << ""
                           << "";
}

void TestShellApp::fullStop() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(velmora::ui::withFullStop(message), shown);
}

void TestShellApp::errorBox_data() {
    QTest::addColumn<Handler>("handler");
    QTest::addColumn<QString>("text");
    QTest::newRow("file") << Handler([] { throw velmora::Failure("Cannot create file a.html"); })
                          << "Cannot create file a.html.";
    QTest::newRow("list") << Handler([] { throw velmora::Failure(velmora::kListInsertError); })
                          << "Unable to insert a line.";
    QTest::newRow("memory") << Handler([] { throw std::bad_alloc(); }) << "Out of memory.";
    QTest::newRow("std") << Handler([] { throw std::runtime_error("Stream write error"); })
                         << "Stream write error.";
    QTest::newRow("unknown") << Handler([] { throw 42; }) << "Unknown failure.";
    QTest::newRow("umlaut") << Handler([] { throw velmora::Failure("Cannot create file ä.htm"); })
                            << "Cannot create file ä.htm.";
    QTest::newRow("markup") << Handler([] {
        throw velmora::Failure("Cannot create file <b>.html");
    }) << "Cannot create file <b>.html.";
}

void TestShellApp::errorBox() {
    QFETCH(Handler, handler);
    QFETCH(QString, text);
    QWidget parent;
    BoxAnswerer answerer;
    QVERIFY(!velmora::ui::guarded(&parent, handler));
    QCOMPARE(answerer.seen.size(), 1);
    const SeenBox& box = answerer.seen.front();
    QCOMPARE(box.text, text);
    QCOMPARE(box.title, QStringLiteral("Shellapp"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(box.format, Qt::PlainText);
    QCOMPARE(box.modality, Qt::ApplicationModal);
}

void TestShellApp::handlerThatSucceedsShowsNoBox() {
    BoxAnswerer answerer;
    bool ran = false;
    QVERIFY(velmora::ui::guarded(nullptr, [&ran] { ran = true; }));
    QVERIFY(ran);
    QCoreApplication::processEvents();
    QVERIFY(answerer.seen.isEmpty());
}

void TestShellApp::failureInEventHandlerIsShownAndProgramGoesOn() {
    FailingObject object;
    BoxAnswerer answerer;
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QTRY_COMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.front().text, QStringLiteral("Stream write error."));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QTRY_COMPARE(object.events, 2);
    QCOMPARE(answerer.seen.size(), 1);
}

void TestShellApp::iconIsTheDrawnPicture() {
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    const QImage shown = icon.pixmap(QSize(32, 32)).toImage();
    QCOMPARE(shown.size(), QSize(32, 32));
    QVERIFY(distinctColours(shown) <= 16);
    const QImage drawn(QStringLiteral(VELMORA_SOURCE_DIR "/ui/resources/velmora.xpm"));
    QVERIFY(!drawn.isNull());
    QVERIFY(samePixels(shown, drawn));
    const QImage installed(QStringLiteral(VELMORA_SOURCE_DIR "/ui/resources/velmora.png"));
    QVERIFY(samePixels(installed, drawn));
}

void TestShellApp::fontFaces_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("faces");
    QTest::newRow("Times New Roman")
        << "Times New Roman" << QStringList{"Times New Roman", "Liberation Serif"};
    QTest::newRow("MS Sans Serif")
        << "MS Sans Serif" << QStringList{"MS Sans Serif", "Liberation Sans", "DejaVu Sans"};
    QTest::newRow("System") << "System" << QStringList{"Liberation Sans", "DejaVu Sans"};
    QTest::newRow("Latin-Wide") << "Latin-Wide"
                                << QStringList{"Latin-Wide", "DejaVu Serif", "DejaVu Sans"};
}

// The face actually drawn, not only that a substitution was entered.
void TestShellApp::fontFaces() {
    QFETCH(QString, family);
    QFETCH(QStringList, faces);
    QFont font(family);
    font.setPixelSize(48);
    font.setBold(true);
    const QFontInfo info(font);
    QVERIFY2(faces.contains(info.family()), qPrintable(info.family()));
    QCOMPARE(info.pixelSize(), 48);
    QVERIFY(info.bold());
}

void TestShellApp::wideFaceIsWide() {
    QFont wide(QStringLiteral("Latin-Wide"));
    QFont plain(QStringLiteral("Liberation Sans"));
    for (QFont* f : {&wide, &plain}) {
        f->setPixelSize(48);
        f->setBold(true);
    }
    const QString text = QStringLiteral("Ultrapex ");
    QVERIFY(QFontMetrics(wide).horizontalAdvance(text) >
            QFontMetrics(plain).horizontalAdvance(text) * 11 / 10);
}

void TestShellApp::display_data() {
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("platformArgument");
    QTest::addColumn<bool>("available");
    QTest::newRow("nothing") << QByteArray() << QByteArray() << false << false;
    QTest::newRow("X") << QByteArray("DISPLAY") << QByteArray(":0") << false << true;
    QTest::newRow("empty X") << QByteArray("DISPLAY") << QByteArray("") << false << false;
    QTest::newRow("Wayland") << QByteArray("WAYLAND_DISPLAY") << QByteArray("wayland-0") << false
                             << true;
    QTest::newRow("Qt platform") << QByteArray("QT_QPA_PLATFORM") << QByteArray("offscreen")
                                 << false << true;
    QTest::newRow("argument") << QByteArray() << QByteArray() << true << true;
}

void TestShellApp::display() {
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, value);
    QFETCH(bool, platformArgument);
    QFETCH(bool, available);
    const QList<QByteArray> names{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    QList<std::pair<bool, QByteArray>> saved;
    for (const QByteArray& name : names) {
        saved.append({qEnvironmentVariableIsSet(name.constData()), qgetenv(name.constData())});
        qunsetenv(name.constData());
    }
    if (!variable.isEmpty()) qputenv(variable.constData(), value);
    const char* args[] = {"velmora", platformArgument ? "-platform" : "-reverse", "offscreen"};
    const bool result = velmora::ui::displayAvailable(3, args);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (saved[i].first)
            qputenv(names[i].constData(), saved[i].second);
        else
            qunsetenv(names[i].constData());
    }
    QCOMPARE(result, available);
}

int main(int argc, char** argv) {
    velmora::ui::Application app(argc, argv);
    TestShellApp test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shell_app.moc"
