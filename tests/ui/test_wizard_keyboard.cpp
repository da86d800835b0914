// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A whole page made with the keyboard alone, from the start window to the
// finish. Every key goes to the widget that has the focus, as a keyboard's
// keys do, and no mouse event is sent: what Tab does not reach, the test
// cannot press. The page written is compared byte for byte. It runs on the
// offscreen platform, whose keys follow the Windows scheme, and on X11 under
// a window manager, whose keys follow X11's.
#include <QToolButton>
#include <algorithm>

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

    // Up or Down in the list that has the focus until the entry `text` is
    // selected.
    static void selectRow(const velmora::StringList& held, const char* text) {
        const auto target = std::find(held.items.begin(), held.items.end(), text);
        QVERIFY2(target != held.items.end(), text);
        const int row = static_cast<int>(target - held.items.begin());
        for (int i = 0; i < 10 && held.selected != row; ++i)
            press(held.selected > row ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(held.selected, row);
    }

    // The dialog that F2 opened, once it has the focus.
    static QWidget* dialogInFront(const char* title) {
        const auto inFront = [title] {
            QWidget* modal = QApplication::activeModalWidget();
            return modal != nullptr && modal->windowTitle() == QString::fromUtf8(title) &&
                   QApplication::activeWindow() == modal;
        };
        return QTest::qWaitFor(inFront) ? QApplication::activeModalWidget() : nullptr;
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
        shell_ = std::make_unique<Shell>(dir_->path());
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

        // "Links": four links; one deleted, one changed in place, one moved
        // and the move undone
        nextPage(Links);
        for (const auto& [text, target] : {std::pair{"Home", "index.html"},
                                           {"Weg", "weg.html"},
                                           {"Blgo", "blgo.html"},
                                           {"Kontakt", "kontakt.html"}}) {
            tabTo("Edit3", true);
            type(QString::fromLatin1(text));
            tabTo("Edit4");
            type(QString::fromLatin1(target));
            tabTo("SpeedButton2");
            press(Qt::Key_Space);
        }
        QCOMPARE(entries(settings().ListBox2), (QStringList{"Home", "Weg", "Blgo", "Kontakt"}));
        tabTo("ListBox2");
        selectRow(settings().ListBox2, "Weg");
        tabTo("SpeedButton5");
        press(Qt::Key_Return);
        QCOMPARE(entries(settings().ListBox2), (QStringList{"Home", "Blgo", "Kontakt"}));
        QCOMPARE(entries(settings().ListBox5),
                 (QStringList{"index.html", "blgo.html", "kontakt.html"}));

        tabTo("ListBox2", true);
        selectRow(settings().ListBox2, "Blgo");
        press(Qt::Key_F2);
        QVERIFY(dialogInFront("Link ändern") != nullptr);
        type(QStringLiteral("Blog"));  // over the text, which is selected
        press(Qt::Key_Tab);
        type(QStringLiteral("blog.html"));
        press(Qt::Key_Return);  // "OK"
        QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form3);
        QCOMPARE(entries(settings().ListBox2), (QStringList{"Home", "Blog", "Kontakt"}));
        QCOMPARE(entries(settings().ListBox5),
                 (QStringList{"index.html", "blog.html", "kontakt.html"}));
        QCOMPARE(focusName(), QStringLiteral("ListBox2"));

        selectRow(settings().ListBox2, "Kontakt");
        press(Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(entries(settings().ListBox2), (QStringList{"Home", "Kontakt", "Blog"}));
        QCOMPARE(entries(settings().ListBox5),
                 (QStringList{"index.html", "kontakt.html", "blog.html"}));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(entries(settings().ListBox2), (QStringList{"Home", "Blog", "Kontakt"}));
        QCOMPARE(entries(settings().ListBox5),
                 (QStringList{"index.html", "blog.html", "kontakt.html"}));
        QCOMPARE(settings().ListBox2.selected, 2);

        // "Text": two lines by Return, "Alles löschen" and Strg+Z; a third
        // line taken back by Strg+Z in the field it emptied
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
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(entries(settings().ListBox1), (QStringList{"Hallo", "Welt"}));
        tabTo("Edit12", true);
        type(QStringLiteral("Dritte"));
        press(Qt::Key_Return);
        QCOMPARE(entries(settings().ListBox1), (QStringList{"Hallo", "Welt", "Dritte"}));
        QCOMPARE(control<QLineEdit>(shell_->Form3, "Edit12")->text(), QString());
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(entries(settings().ListBox1), (QStringList{"Hallo", "Welt"}));
        QCOMPARE(control<QLineEdit>(shell_->Form3, "Edit12")->text(), QStringLiteral("Dritte"));

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
                  "<td valign=\"top\" rowspan=\"4\">",
                  "<font color=\"#000000\" face=\"Arial\">",
                  " &nbsp; Hallo",
                  " &nbsp; Welt",
                  "</font>",
                  "</td>",
                  "</tr>",
                  "<tr>",
                  "<td height=\"0\" width=\"0\"><a href=\"blog.html\">Blog</a></td>",
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

    // Ctrl+Tab and Ctrl+Shift+Tab change the page wherever the focus is in
    // the wizard: on the finish, which stands outside the pages, and there
    // again after a finish by Space when "Start" shows the wizard again.
    void pageKeysFromTheFinish() {
        press(Qt::Key_Return);  // "Start"
        QVERIFY(QTest::qWaitForWindowActive(&shell_->Form3));
        tabTo("SpeedButton9");
        nextPage(Heading);
        QCOMPARE(focusName(), QStringLiteral("SpeedButton9"));
        press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages(shell_->Form3)->currentIndex(), int(General));
        nextPage(Heading);
        press(Qt::Key_Space);  // the finish
        QVERIFY(!shell_->Form3.isVisible());
        shell_->Form1.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form1);
        press(Qt::Key_Return);  // "Start"
        QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form3);
        QCOMPARE(focusName(), QStringLiteral("SpeedButton9"));
        nextPage(Links);
        press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages(shell_->Form3)->currentIndex(), int(Heading));
    }

    // Strg+Z goes where the focus decides: to a text field while it has
    // typing to undo, then to the wizard's last list change. The redo keys
    // likewise, but Strg+Y is a text field's own only where the key scheme
    // makes it a redo key (the offscreen platform's Windows scheme); under
    // X11 it redoes the list change wherever the focus is. A finish keeps the
    // history; opening a page starts it anew.
    void undoGoesWhereTheFocusDecides() {
        const velmora::StringList& links = settings().ListBox2;
        press(Qt::Key_Return);  // "Start"
        QVERIFY(QTest::qWaitForWindowActive(&shell_->Form3));
        nextPage(Heading);
        nextPage(Links);
        auto* edit3 = control<QLineEdit>(shell_->Form3, "Edit3");
        tabTo("Edit3");
        type(QStringLiteral("Neu"));
        tabTo("SpeedButton2");
        press(Qt::Key_Space);
        tabTo("Edit3", true);
        QCOMPARE(links.count(), 1);
        for (int i = 0; i < 10 && edit3->isUndoAvailable(); ++i) {
            press(Qt::Key_Z, Qt::ControlModifier);  // the typing first
            QCOMPARE(links.count(), 1);
        }
        QCOMPARE(edit3->text(), QStringLiteral("Link"));
        press(Qt::Key_Z, Qt::ControlModifier);  // then the link
        QCOMPARE(links.count(), 0);
        QCOMPARE(edit3->text(), QStringLiteral("Link"));
        for (int i = 0; i < 10 && edit3->isRedoAvailable(); ++i) {
            press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(links.count(), 0);
        }
        QCOMPARE(edit3->text(), QStringLiteral("Neu"));
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(entries(links), QStringList{QStringLiteral("Neu")});

        // Strg+Y with typing to redo in the field and a list change to redo
        press(Qt::Key_Z, Qt::ControlModifier);  // the typing, to be redone
        QVERIFY(edit3->isRedoAvailable());
        tabTo("ListBox2");
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(links.count(), 0);
        tabTo("Edit3", true);
        const QString typed = edit3->text();
        press(Qt::Key_Y, Qt::ControlModifier);
        const bool fieldsRedo = QKeySequence::keyBindings(QKeySequence::Redo)
                                    .contains(QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(edit3->text() != typed, fieldsRedo);
        QCOMPARE(links.count(), fieldsRedo ? 0 : 1);
        if (fieldsRedo) {
            tabTo("ListBox2");
            press(Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(links.count(), 1);
        }

        // the finish keeps the history
        press(Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!shell_->Form3.isVisible());
        shell_->Form1.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form1);
        press(Qt::Key_Return);  // "Start"
        QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form3);
        tabTo("ListBox2");
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(links.count(), 0);
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(links.count(), 1);

        // opening a page starts it anew
        shell_->Form3.openPage(dir_->filePath(QStringLiteral("index.html")), &shell_->Form3);
        QTRY_COMPARE(QApplication::activeWindow(), &shell_->Form3);
        const velmora::PageSettings opened = settings();
        tabTo("ListBox2");
        press(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(settings() == opened);
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    WizardKeyboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard_keyboard.moc"
