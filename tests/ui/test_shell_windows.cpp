// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "settings/Failure.h"
#include "test_box_answerer.h"
#include "ui/Application.h"
#include "ui/ErrorHandler.h"

using velmora::ui::Shell;
using velmora::ui::TForm3;

namespace {

// Stands for a wizard that refuses to close, which must not keep the program
// alive once the start window ends it.
class RefuseClose : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close) return false;
        event->ignore();
        return true;
    }
};

// Whether every pixel on the outer edge of the widget shows the window colour.
bool edgeIsBare(QWidget* w) {
    const QImage image = w->grab().toImage();
    const QColor bare(0xFE, 0xE6, 0x9C);
    for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, 0) != bare || image.pixelColor(x, image.height() - 1) != bare)
            return false;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(0, y) != bare || image.pixelColor(image.width() - 1, y) != bare)
            return false;
    return true;
}

int visibleWizards() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TForm3*>(w) != nullptr && w->isVisible()) ++n;
    return n;
}

// Runs the program's event loop with `steps` as its first event; fails
// instead of hanging when nothing ends the loop.
int runLoop(QObject* context, const std::function<void()>& steps) {
    QTimer first;
    first.setSingleShot(true);
    QObject::connect(&first, &QTimer::timeout, context, steps);
    first.start(0);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, context, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    return QApplication::exec();
}

}  // namespace

class TestShellWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startWindowAsGiven();
    void startWindowByKeyboard();
    void controls_data();
    void controls();
    void labelsOverlap();
    void buttonsShowBorderOnlyWhenHovered();
    void wizardCreatedHidden();
    void startTwiceGivesOneWizardInFront();
    void closedWizardComesBackUnchanged();
    void startRestoresMinimisedWizard();
    void endingStopsTheLoop_data();
    void endingStopsTheLoop();
    void sessionEndAsksWhereItMay();
    void programGoesOnAfterFailure();

private:
    void click(const char* button) {
        auto* b = shell_->Form1.findChild<QToolButton*>(QLatin1String(button));
        QVERIFY(b != nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void showStartWindow() {
        shell_->Form1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shell_->Form1));
    }

    QTemporaryDir folder_;  // the page's, where nothing is written
    std::unique_ptr<Shell> shell_;
};

void TestShellWindows::init() { shell_ = std::make_unique<Shell>(folder_.path()); }

void TestShellWindows::cleanup() {
    shell_.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestShellWindows::startWindowAsGiven() {
    showStartWindow();
    velmora::ui::TForm1& form = shell_->Form1;
    QCOMPARE(form.windowTitle(), QStringLiteral("HTML Velmora 1.3 Ultrapex"));
    QCOMPARE(form.size(), QSize(377, 171));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.pos(), QPoint(266, 186));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(form.autoFillBackground());
    QCOMPARE(form.palette().color(QPalette::Window), QColor(0xFE, 0xE6, 0x9C));
    QCOMPARE(form.grab().toImage().pixelColor(2, 170), QColor(0xFE, 0xE6, 0x9C));
    QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));
    QCOMPARE(shell_->Form3.windowIcon().pixmap(32).toImage(),
             form.windowIcon().pixmap(32).toImage());
    // a screen reader announces both as windows, by their titles
    for (QWidget* window : {static_cast<QWidget*>(&form), static_cast<QWidget*>(&shell_->Form3)}) {
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(window);
        QVERIFY(read != nullptr);
        QCOMPARE(read->role(), QAccessible::Window);
        QCOMPARE(read->text(QAccessible::Name), window->windowTitle());
    }
}

// The keyboard alone: "Start" holds the focus; Tab, Shift+Tab and the arrows
// move between the two buttons; Return or Space presses the focused one.
void TestShellWindows::startWindowByKeyboard() {
    showStartWindow();
    QVERIFY(QTest::qWaitForWindowActive(&shell_->Form1));
    auto* start = shell_->Form1.findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
    auto* end = shell_->Form1.findChild<QToolButton*>(QStringLiteral("SpeedButton3"));
    QCOMPARE(QApplication::focusWidget(), start);
    const std::pair<Qt::Key, QToolButton*> steps[] = {
        {Qt::Key_Tab, end},  {Qt::Key_Tab, start},  {Qt::Key_Backtab, end}, {Qt::Key_Right, start},
        {Qt::Key_Down, end}, {Qt::Key_Left, start}, {Qt::Key_Up, end},      {Qt::Key_Up, start}};
    for (const auto& [key, focused] : steps) {
        QTest::keyClick(QApplication::focusWidget(), key,
                        key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget(), focused);
    }
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        QTest::keyClick(start, key);
        QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form3);
        QCOMPARE(visibleWizards(), 1);
        shell_->Form3.hide();
        shell_->Form1.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), start);
    }
}

void TestShellWindows::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");  // an empty size: sized to the text
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("italic");
    QTest::newRow("Label1") << "Label1"
                            << "HTML" << QRect(16, 0, 0, 0) << "Times New Roman" << 48 << false;
    QTest::newRow("Label2") << "Label2"
                            << "Velmora" << QRect(176, 16, 0, 0) << "System" << 48 << true;
    QTest::newRow("Label3") << "Label3"
                            << "Ultrapex " << QRect(8, 48, 0, 0) << "Latin-Wide" << 48 << true;
    QTest::newRow("SpeedButton2") << "SpeedButton2"
                                  << "Start" << QRect(128, 104, 121, 65) << "MS Sans Serif" << 24
                                  << true;
    QTest::newRow("SpeedButton3") << "SpeedButton3"
                                  << "Ende" << QRect(256, 104, 113, 65) << "MS Sans Serif" << 24
                                  << true;
}

void TestShellWindows::controls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(QString, family);
    QFETCH(int, pixels);
    QFETCH(bool, italic);
    showStartWindow();
    auto* w = shell_->Form1.findChild<QWidget*>(name);
    QVERIFY(w != nullptr);
    QCOMPARE(w->pos(), geometry.topLeft());
    QCOMPARE(w->font().family(), family);
    QCOMPARE(w->font().pixelSize(), pixels);
    QVERIFY(w->font().bold());
    QCOMPARE(w->font().italic(), italic);
    QVERIFY(!w->autoFillBackground());
    if (auto* label = qobject_cast<QLabel*>(w)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->size(), label->sizeHint());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0x00, 0x80, 0x00));
    } else {
        auto* button = qobject_cast<QToolButton*>(w);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), text);
        QCOMPARE(button->size(), geometry.size());
        QVERIFY(button->autoRaise());
        QCOMPARE(button->focusPolicy(), Qt::TabFocus);  // a Tab stop, never focused by a click
    }
}

// "HTML" reaches down into the line of "Ultrapex ".
void TestShellWindows::labelsOverlap() {
    showStartWindow();
    auto* html = shell_->Form1.findChild<QLabel*>(QStringLiteral("Label1"));
    auto* ultrapex = shell_->Form1.findChild<QLabel*>(QStringLiteral("Label3"));
    QVERIFY(html != nullptr && ultrapex != nullptr);
    QVERIFY(html->geometry().intersects(ultrapex->geometry()));
}

void TestShellWindows::buttonsShowBorderOnlyWhenHovered() {
    showStartWindow();
    for (const char* name : {"SpeedButton2", "SpeedButton3"}) {
        auto* button = shell_->Form1.findChild<QToolButton*>(QLatin1String(name));
        QVERIFY(button != nullptr);
        QTest::mouseMove(&shell_->Form1, QPoint(2, 2));
        QTRY_VERIFY(!button->underMouse());
        QVERIFY2(edgeIsBare(button), name);
        QTest::mouseMove(button, button->rect().center());
        QTRY_VERIFY(button->underMouse());
        QVERIFY2(!edgeIsBare(button), name);
    }
}

void TestShellWindows::wizardCreatedHidden() {
    showStartWindow();
    QVERIFY(!shell_->Form3.isVisible());
    QCOMPARE(shell_->Form3.settings().HeadingSize, 3);
    QVERIFY(shell_->Form3.parent() == nullptr);
}

void TestShellWindows::startTwiceGivesOneWizardInFront() {
    showStartWindow();
    click("SpeedButton2");
    QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form3);
    shell_->Form1.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form1);
    click("SpeedButton2");
    QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form3);
    QCOMPARE(visibleWizards(), 1);
    QVERIFY(!shell_->Form3.isModal());
    QVERIFY(shell_->Form1.isVisible());
}

void TestShellWindows::closedWizardComesBackUnchanged() {
    showStartWindow();
    click("SpeedButton2");
    QVERIFY(QTest::qWaitForWindowExposed(&shell_->Form3));
    const QPoint at = shell_->Form3.pos();
    QPointer<TForm3> wizard(&shell_->Form3);
    QVERIFY(shell_->Form3.close());
    QTRY_VERIFY(!shell_->Form3.isVisible());
    QVERIFY(shell_->Form1.isVisible());
    click("SpeedButton2");
    QVERIFY(wizard != nullptr);
    QTRY_VERIFY(shell_->Form3.isVisible());
    QCOMPARE(shell_->Form3.pos(), at);
    QCOMPARE(shell_->Form3.settings().HeadingSize, 3);
    QCOMPARE(visibleWizards(), 1);
}

void TestShellWindows::startRestoresMinimisedWizard() {
    showStartWindow();
    click("SpeedButton2");
    shell_->Form3.showMinimized();
    click("SpeedButton2");
    QVERIFY(!shell_->Form3.isMinimized());
    QVERIFY(shell_->Form3.isVisible());
}

// "Ende", Return on it, or the close box: the program ends at once, also when
// the wizard would refuse to close; with values not yet saved it asks first,
// and "Nein" or Escape keeps it.
void TestShellWindows::endingStopsTheLoop_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("wizardRefusesClose");
    QTest::addColumn<QString>("answer");  // empty: nothing unsaved, no question
    QTest::addColumn<bool>("ends");
    for (const char* way : {"Ende", "Return on Ende", "close box"}) {
        QTest::addRow("%s", way) << way << false << QString() << true;
        QTest::addRow("%s, wizard refuses to close", way) << way << true << QString() << true;
        for (const char* answer : {"Ja", "Nein", "Escape"}) {
            QTest::addRow("%s, unsaved, %s", way, answer)
                << way << false << answer << (answer == QLatin1String("Ja"));
        }
    }
}

void TestShellWindows::endingStopsTheLoop() {
    QFETCH(QString, way);
    QFETCH(bool, wizardRefusesClose);
    QFETCH(QString, answer);
    QFETCH(bool, ends);
    showStartWindow();
    RefuseClose refuse;
    if (wizardRefusesClose) shell_->Form3.installEventFilter(&refuse);
    BoxAnswerer boxes;
    if (!answer.isEmpty()) boxes.answers = {answer};
    const int code = runLoop(&shell_->Form1, [&] {
        click("SpeedButton2");
        QVERIFY(shell_->Form3.isVisible());
        if (!answer.isEmpty())
            shell_->Form3.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText("Ungespeichert");
        if (way == QLatin1String("close box")) {
            shell_->Form1.close();
        } else if (way == QLatin1String("Ende")) {
            click("SpeedButton3");
        } else {
            auto* end = shell_->Form1.findChild<QToolButton*>(QStringLiteral("SpeedButton3"));
            end->setFocus();
            QTest::keyClick(end, Qt::Key_Return);
        }
        if (shell_->Form1.isVisible()) QCoreApplication::exit(7);  // kept
    });
    QCOMPARE(code, ends ? 0 : 7);
    QCOMPARE(shell_->Form1.isVisible(), !ends);
    if (answer.isEmpty()) {
        QCOMPARE(boxes.seen.size(), 0);
        return;
    }
    QCOMPARE(boxes.seen.size(), 1);
    const SeenBox& box = boxes.seen.front();
    QCOMPARE(box.text, QStringLiteral("Die Eingaben im Assistenten sind noch nicht gespeichert. "
                                      "Trotzdem beenden?"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.buttons, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
    QCOMPARE(box.defaultButton, QStringLiteral("Nein"));
}

// At the end of the desktop session the same question, where the session
// manager lets the program ask; where it does not, the program ends as it
// always did. Nothing unsaved: no leave to ask is even sought.
void TestShellWindows::sessionEndAsksWhereItMay() {
    showStartWindow();
    int asked = 0;
    const auto mayAsk = [&asked](bool leave) {
        return [&asked, leave] {
            ++asked;
            return leave;
        };
    };
    BoxAnswerer boxes;
    QVERIFY(shell_->Form1.mayEnd(mayAsk(true)));
    QCOMPARE(asked, 0);
    shell_->Form3.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText("Ungespeichert");
    QVERIFY(shell_->Form1.mayEnd(mayAsk(false)));
    QCOMPARE(asked, 1);
    QCOMPARE(boxes.seen.size(), 0);
    boxes.answers = {QStringLiteral("Nein"), QStringLiteral("Ja")};
    QVERIFY(!shell_->Form1.endSession(mayAsk(true)));
    QVERIFY(shell_->Form1.isVisible());
    QVERIFY(shell_->Form1.endSession(mayAsk(true)));
    QCOMPARE(asked, 3);
    QCOMPARE(boxes.seen.size(), 2);
    // the session manager's quit then closes the windows without a question
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(qApp, &quit);
    QVERIFY(!shell_->Form1.isVisible());
    QCOMPARE(boxes.seen.size(), 2);
}

// A failing handler shows its box; after OK the loop still runs and takes
// the next clicks.
void TestShellWindows::programGoesOnAfterFailure() {
    showStartWindow();
    BoxAnswerer answerer;
    bool finished = true;
    const int code = runLoop(&shell_->Form1, [&] {
        finished = velmora::ui::guarded(
            &shell_->Form1, [] { throw velmora::Failure("Cannot create file seite.html"); });
        click("SpeedButton2");
        QVERIFY(shell_->Form3.isVisible());
        click("SpeedButton3");
    });
    QCOMPARE(code, 0);
    QVERIFY(!finished);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.front().text, QStringLiteral("Cannot create file seite.html."));
    QCOMPARE(answerer.seen.front().title, QApplication::applicationName());
}

int main(int argc, char** argv) {
    velmora::ui::Application app(argc, argv);
    TestShellWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shell_windows.moc"
