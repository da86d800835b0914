// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A whole page made with the keyboard alone, from the start window to the
// finish. Every key goes to the widget that has the focus, as a keyboard's
// keys do, and no mouse event is sent: what Tab does not reach, the test
// cannot press. The page written is compared byte for byte. It runs on the
// offscreen platform, whose keys follow the Windows scheme, and on X11 under
// a window manager, whose keys follow X11's.
#include <QSpinBox>
#include <QToolButton>

#include "test_wizard_support.h"
#include "ui/Application.h"
#include "ui/SpinEdit.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

// The control that holds the focus, by its name: a spin field rather than its
// inner line, the tab strip as "(tabs)".
QString focusName() {
    QWidget* f = QApplication::focusWidget();
    if (f == nullptr) return QStringLiteral("(none)");
    if (auto* spin = qobject_cast<SpinEdit*>(f->parentWidget())) return spin->objectName();
    if (qobject_cast<QTabBar*>(f) != nullptr) return QStringLiteral("(tabs)");
    return f->objectName();
}

}  // namespace

class WizardKeyboardTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScratchDirectory> dir_;
    std::unique_ptr<Shell> shell_;

    // One key, to whatever has the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY2(focus != nullptr, "no widget has the focus");
        QTest::keyClick(focus, key, modifiers);
    }

    // Typed text, umlauts included, to whatever has the focus.
    static void type(const QString& text) {
        for (const QChar c : text) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY2(focus != nullptr, "no widget has the focus");
            QTest::sendKeyEvent(QTest::Press, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Tab (or Shift+Tab) until `name` has the focus; a whole round of the
    // page without it fails. A text field reached by Tab has its text
    // selected, so typing replaces it.
    static void tabTo(const char* name, bool backwards = false) {
        QStringList passed;
        for (int i = 0; i < 40 && focusName() != QLatin1String(name); ++i) {
            passed << focusName();
            if (backwards) {
                press(Qt::Key_Backtab, Qt::ShiftModifier);
            } else {
                press(Qt::Key_Tab);
            }
        }
        QVERIFY2(focusName() == QLatin1String(name),
                 qPrintable(QStringLiteral("Tab does not reach %1, only %2")
                                .arg(QLatin1String(name), passed.join(QLatin1Char(' ')))));
    }

    // The next page, by Ctrl+Tab from wherever the focus is on this one.
    void nextPage(int expected) {
        press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages(shell_->Form3)->currentIndex(), expected);
    }

    [[nodiscard]] const velmora::PageSettings& settings() const { return shell_->Form3.settings(); }

private slots:
    void init() {
        dir_ = std::make_unique<ScratchDirectory>();
        shell_ = std::make_unique<Shell>();
        shell_->start(readCommandLine({QStringLiteral("Velmora")}));
        QVERIFY(QTest::qWaitForWindowActive(&shell_->Form1));
    }
    void cleanup() {
        shell_.reset();
        dir_.reset();
    }

    void wholePageByKeys() {
        // "Start" holds the focus: Return opens the wizard
        QCOMPARE(focusName(), QStringLiteral("SpeedButton2"));
        press(Qt::Key_Return);
        QVERIFY(QTest::qWaitForWindowActive(&shell_->Form3));

        // "Allgemeine Einstellungen": a background colour
        tabTo("hgb");
        press(Qt::Key_Down);  // the radio group's other button
        QVERIFY(!settings().hgb);
        tabTo("Edit14");
        type(QStringLiteral("#FFEECC"));

        // "Überschrift": the heading
        nextPage(Heading);
        tabTo("Edit5");
        type(QStringLiteral("Grüße"));

        // "Links": three links, one deleted again
        nextPage(Links);
        for (const auto& [text, target] :
             {std::pair{"Home", "index.html"}, {"Alt", "alt.html"}, {"Kontakt", "kontakt.html"}}) {
            tabTo("Edit3", true);
            type(QString::fromLatin1(text));
            tabTo("Edit4");
            type(QString::fromLatin1(target));
            tabTo("SpeedButton2");
            press(Qt::Key_Space);
        }
        QCOMPARE(entries(settings().ListBox2), (QStringList{"Home", "Alt", "Kontakt"}));
        tabTo("ListBox2");
        press(Qt::Key_Down);  // from the first row, where the focus came in, to the second
        QCOMPARE(settings().ListBox2.selected, 1);
        tabTo("SpeedButton5");
        press(Qt::Key_Return);
        QCOMPARE(entries(settings().ListBox2), (QStringList{"Home", "Kontakt"}));
        QCOMPARE(entries(settings().ListBox5), (QStringList{"index.html", "kontakt.html"}));

        // "Text": two lines by Return, "Alles löschen", the two lines again
        nextPage(Text);
        tabTo("Edit12");
        for (const char* line : {"Hallo", "Welt"}) {
            type(QString::fromLatin1(line));
            press(Qt::Key_Return);  // "Hinzufügen"
        }
        QCOMPARE(entries(settings().ListBox1), (QStringList{"Hallo", "Welt"}));
        tabTo("SpeedButton8");
        press(Qt::Key_Space);  // "Alles löschen", not "Hinzufügen"
        QCOMPARE(settings().ListBox1.count(), 0);
        tabTo("Edit12", true);
        for (const char* line : {"Hallo", "Welt"}) {
            type(QString::fromLatin1(line));
            press(Qt::Key_Return);
        }

        // "Bilder": a picture with its caption
        nextPage(Pictures);
        tabTo("Edit10");
        type(QStringLiteral("sonne.jpg"));
        tabTo("Edit11");
        type(QStringLiteral("Sonne"));
        tabTo("SpeedButton3");
        press(Qt::Key_Return);
        QCOMPARE(entries(settings().ListBox3), QStringList{QStringLiteral("sonne.jpg")});

        // the finish from where the focus is
        press(Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!shell_->Form3.isVisible());
        QCOMPARE(
            dir_->read(QStringLiteral("index.html")),
            crlf({"<html>",
                  "<head><title>Neue Seite</title>",
                  "</head>",
                  "<body bgcolor=\"#FFEECC\" topmargin=\"0\" leftmargin=\"0\">",
                  "<table cellspacing=\"0\" cellpadding=\"0\" height=\"50%\" width=\"50%\">",
                  "<tr>",
                  "<th height=\"0\">",
                  "</th>",
                  "<td><b>",
                  "<font size=\"5\" color=\"#000000\" face=\"Arial\">Gr&#252;&#223;e</font></b>",
                  "<img src=\"bild.jpg\" align=\"middle\">",
                  "</td>",
                  "</tr>",
                  "<tr>",
                  "<td height=\"0\" width=\"0\"><a href=\"index.html\">Home</a></td>",
                  "<td valign=\"top\" rowspan=\"3\">",
                  "<font color=\"#000000\" face=\"Arial\">",
                  " &nbsp; Hallo",
                  " &nbsp; Welt",
                  "</font>",
                  "</td>",
                  "</tr>",
                  "<tr>",
                  "<td height=\"0\" width=\"0\"><a href=\"kontakt.html\">Kontakt</a></td>",
                  "</tr>",
                  "<tr><td height=\"100%\">&nbsp;</td></tr>",
                  "<tr>",
                  "<th>",
                  "<br>",
                  "<img src=\"sonne.jpg\">Sonne",
                  "</th>",
                  "</tr>",
                  "</table>",
                  "</body>",
                  "</html>"}));
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    WizardKeyboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard_keyboard.moc"
