// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The editing pages driven as a user drives them: the link list, the text
// lines with their keys and inserts, the picture list and the spin fields.
#include <QCheckBox>
#include <QListView>
#include <QPersistentModelIndex>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <functional>
#include <map>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "test_wizard_support.h"
#include "ui/EntryDialog.h"
#include "ui/SpinEdit.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

void pressEnter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }

// Everything the settings put into a page, read without touching the window.
std::vector<std::string> pageOf(const velmora::PageSettings& s) {
    velmora::CodeList lines;
    velmora::writePage(s, lines);
    return lines.lines();
}

}  // namespace

class WizardPagesTest : public WizardTest {
    Q_OBJECT

    void addLink(const QString& text, const QString& target) {
        typeInto(edit("Edit3"), text);
        typeInto(edit("Edit4"), target);
        VELMORA_CLICK(button("SpeedButton2"));
    }
    void addPicture(const QString& file, const QString& caption) {
        typeInto(edit("Edit10"), file);
        typeInto(edit("Edit11"), caption);
        VELMORA_CLICK(button("SpeedButton3"));
    }

    // What a user does, by name: each on a wizard that holds three links,
    // lines and pictures, none selected, on the page it is done on.
    std::map<QString, std::function<void()>> actions() {
        const auto on = [this](Page page, std::function<void()> act) {
            return [this, page, act = std::move(act)] {
                clickTab(*w_, page);
                act();
            };
        };
        const auto keyIn = [this](const char* name, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
            return [this, name, key, mods] {
                c<QWidget>(name)->setFocus();
                QTest::keyClick(c<QWidget>(name), key, mods);
            };
        };
        const auto click = [this](const char* name) {
            return [this, name] { VELMORA_CLICK(button(name)); };
        };
        const auto selected = [this](const char* list, std::function<void()> act) {
            return [this, list, act = std::move(act)] {
                clickRow(this->list(list), 1);
                act();
            };
        };
        return {
            {"a key in a field of the page", on(Heading, keyIn("Edit2", Qt::Key_X))},
            {"a key in the next line", on(Text, keyIn("Edit12", Qt::Key_X))},
            {"a tick", on(General, click("CSS"))},
            {"a radio button", on(General, click("hgf"))},
            {"the file's extension", on(General, click("htm"))},
            {"a heading size", on(Heading, click("RadioButton1"))},
            {"a spin step", on(General, keyIn("SpinEdit4", Qt::Key_Up))},
            {"a spin step the spacing count takes back",
             on(Pictures, keyIn("SpinEdit3", Qt::Key_Down))},
            {"an alignment toggle", on(Text, click("l"))},
            {"Neuer Link", on(Links, click("SpeedButton2"))},
            {"Link löschen", on(Links, selected("ListBox2", click("SpeedButton5")))},
            {"Link löschen, nothing selected", on(Links, click("SpeedButton5"))},
            {"Hinzufügen", on(Text, click("Button1"))},
            {"Zeilenumbruch", on(Text, click("SpeedButton6"))},
            {"Zeile löschen", on(Text, selected("ListBox1", click("SpeedButton7")))},
            {"Alles löschen", on(Text, click("SpeedButton8"))},
            {"a picture inserted", on(Text, click("BitBtn8"))},
            {"a link inserted", on(Text, click("BitBtn1"))},
            {"Neues Bild", on(Pictures, click("SpeedButton3"))},
            {"Bild löschen", on(Pictures, selected("ListBox3", click("SpeedButton4")))},
            {"an entry changed",
             on(Links, selected("ListBox2",
                                [this] {
                                    QTest::keyClick(list("ListBox2"), Qt::Key_F2);
                                    QTRY_VERIFY(qobject_cast<EntryDialog*>(
                                        QApplication::activeModalWidget()));
                                    QWidget* dialog = QApplication::activeModalWidget();
                                    QTRY_COMPARE(QApplication::activeWindow(), dialog);
                                    typeInto(dialog->findChild<QLineEdit*>(QStringLiteral("shown")),
                                             "neu");
                                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                                    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
                                }))},
            {"an entry moved",
             on(Links, selected("ListBox2", keyIn("ListBox2", Qt::Key_Up, Qt::AltModifier)))},
            {"a selection", on(Links, selected("ListBox2", [] {}))},
            {"another page of the tab strip", [this] { clickTab(*w_, Pictures); }},
            {"the finish", click("SpeedButton9")},
        };
    }

private slots:
    void init() {
        w_ = shownWizard(dir_->path());
        QVERIFY(w_);
    }
    void cleanup() { w_.reset(); }

    // The wizard says "the page changed" once for whatever changes a value
    // the page is written from, after the settings hold it, and never for
    // what writes nothing into the page.
    void pageChangedOncePerChange_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("expected");
        for (const auto& [action, count] : std::initializer_list<std::pair<const char*, int>>{
                 {"a key in a field of the page", 1},
                 {"a key in the next line", 0},
                 {"a tick", 1},
                 {"a radio button", 1},
                 {"the file's extension", 0},
                 {"a heading size", 1},
                 {"a spin step", 1},
                 {"a spin step the spacing count takes back", 1},
                 {"an alignment toggle", 0},
                 {"Neuer Link", 1},
                 {"Link löschen", 1},
                 {"Link löschen, nothing selected", 0},
                 {"Hinzufügen", 1},
                 {"Zeilenumbruch", 1},
                 {"Zeile löschen", 1},
                 {"Alles löschen", 1},
                 {"a picture inserted", 1},
                 {"a link inserted", 1},
                 {"Neues Bild", 1},
                 {"Bild löschen", 1},
                 {"an entry changed", 1},
                 {"an entry moved", 1},
                 {"a selection", 0},
                 {"another page of the tab strip", 0},
                 {"the finish", 0}}) {
            QTest::newRow(action) << QString::fromUtf8(action) << count;
        }
    }
    void pageChangedOncePerChange() {
        QFETCH(QString, action);
        QFETCH(int, expected);
        clickTab(*w_, Links);
        for (const char* text : {"A", "B", "C"}) addLink(QString::fromLatin1(text), "x.html");
        clickTab(*w_, Text);
        for (int i = 0; i < 3; ++i) VELMORA_CLICK(button("SpeedButton6"));
        clickTab(*w_, Pictures);
        for (const char* file : {"a.jpg", "b.jpg", "c.jpg"}) addPicture(file, "");
        typeInto(c<QWidget>("SpinEdit3"), QStringLiteral("0"));
        clickTab(*w_, General);
        QSignalSpy changed(w_.get(), &TForm3::pageChanged);
        velmora::PageSettings heard;
        connect(w_.get(), &TForm3::pageChanged, this, [&] { heard = w_->settings(); });
        actions().at(action)();
        QCOMPARE(changed.size(), expected);
        // heard once the settings held what the action left
        if (expected > 0) QVERIFY(heard == w_->settings());
    }

    // Undo, redo and opening a page each say so once.
    void pageChangedByUndoRedoAndOpening() {
        clickTab(*w_, Links);
        addLink(QStringLiteral("A"), QStringLiteral("a.html"));
        QSignalSpy changed(w_.get(), &TForm3::pageChanged);
        list("ListBox2")->setFocus();
        QTest::keyClick(list("ListBox2"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(w_->settings().ListBox2.count(), 0);
        QTest::keyClick(list("ListBox2"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(w_->settings().ListBox2.count(), 1);
        QTest::keyClick(list("ListBox2"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(changed.size(), 2);  // nothing left to redo

        velmora::PageSettings other;
        other.Edit2 = "Geöffnet";
        velmora::CodeList lines;
        velmora::writePage(other, lines);
        QFile page(dir_->filePath(QStringLiteral("offen.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write(QByteArray::fromStdString(velmora::composeFileBytes(lines.lines())));
        page.close();
        BoxAnswerer boxes;
        boxes.answers = {QStringLiteral("Ja")};  // the link is not saved
        w_->openPage(page.fileName(), w_.get());
        QCOMPARE(changed.size(), 3);
        QCOMPARE(w_->settings().Edit2, std::string("Geöffnet"));
    }

    void linksAreAddedAndDeletedInPairs() {
        clickTab(*w_, Links);
        addLink(QStringLiteral("A"), QStringLiteral("a.html"));
        addLink(QStringLiteral("B"), QStringLiteral("b.html"));
        addLink(QStringLiteral("C"), QStringLiteral("c.html"));
        QCOMPARE(entries(w_->settings().ListBox5), (QStringList{"a.html", "b.html", "c.html"}));
        clickRow(list("ListBox2"), 1);
        QCOMPARE(w_->settings().ListBox2.selected, 1);
        VELMORA_CLICK(button("SpeedButton5"));
        QCOMPARE(rows(list("ListBox2")), (QStringList{"A", "C"}));
        QCOMPARE(entries(w_->settings().ListBox5), (QStringList{"a.html", "c.html"}));
        QVERIFY(selectedRows(list("ListBox2")).isEmpty());
        QCOMPARE(w_->settings().ListBox2.selected, -1);
        VELMORA_CLICK(button("SpeedButton5"));  // nothing selected: nothing deleted
        QCOMPARE(rows(list("ListBox2")), (QStringList{"A", "C"}));
    }

    void addingKeepsTheRowsAndTheSelection() {
        clickTab(*w_, Links);
        VELMORA_CLICK(button("SpeedButton2"));
        const QPersistentModelIndex first = list("ListBox2")->model()->index(0, 0);
        clickRow(list("ListBox2"), 0);
        VELMORA_CLICK(button("SpeedButton2"));
        QCOMPARE(count(list("ListBox2")), 2);
        QCOMPARE(first.row(), 0);  // the old row was not rebuilt, which would lose it
        QVERIFY(isSelected(list("ListBox2"), 0));
        QCOMPARE(w_->settings().ListBox2.selected, 0);
        QCOMPARE(rows(list("ListBox2")), (QStringList{"Link", "Link"}));
    }

    void enterInEdit12AddsTheLineAndClearsIt() {
        clickTab(*w_, Text);
        typeInto(edit("Edit12"), QStringLiteral("Grüße aus Köln"));
        pressEnter(edit("Edit12"));
        QCOMPARE(rows(list("ListBox1")), QStringList{QStringLiteral("Grüße aus Köln")});
        QCOMPARE(edit("Edit12")->text(), QString());
        pressEnter(edit("Edit12"));
        QCOMPARE(rows(list("ListBox1")), (QStringList{QStringLiteral("Grüße aus Köln"), ""}));
        QCOMPARE(entries(w_->settings().ListBox1), rows(list("ListBox1")));
    }

    void enterOnTheTextPageRunsHinzufuegen_data() {
        QTest::addColumn<QString>("focus");
        for (const char* name :
             {"Edit12", "Edit13", "Edit22", "Edit23", "Edit24", "Edit25", "ListBox1", "Button1"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void enterOnTheTextPageRunsHinzufuegen() {
        QFETCH(QString, focus);
        clickTab(*w_, Text);
        typeInto(edit("Edit13"), QStringLiteral("bild.gif"));
        typeInto(edit("Edit12"), QStringLiteral("Zeile"));
        QWidget* target = c<QWidget>(focus.toLatin1().constData());
        target->setFocus();
        pressEnter(target);
        QCOMPARE(rows(list("ListBox1")), QStringList{QStringLiteral("Zeile")});
        QCOMPARE(edit("Edit12")->text(), QString());
        QCOMPARE(edit("Edit13")->text(), QStringLiteral("bild.gif"));
    }

    void enterOnTheTabStripOfTheTextPageRunsHinzufuegen() {
        clickTab(*w_, Text);
        typeInto(edit("Edit12"), QStringLiteral("Zeile"));
        pressEnter(pages(*w_)->tabBar());
        QCOMPARE(rows(list("ListBox1")), QStringList{QStringLiteral("Zeile")});
    }

    // The buttons that take the focus run themselves on Return, and the
    // flat ones on Space too, instead of "Hinzufügen".
    void enterOnAButtonRunsThatButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("lines");
        const QStringList two = {QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("picture") << "BitBtn8" << int(Qt::Key_Return)
                                 << (two + QStringList{"<img src=\"bild.gif\">"});
        QTest::newRow("link") << "BitBtn1" << int(Qt::Key_Return)
                              << (two + QStringList{"<a href=\"seite.html\">Link</a>"});
        for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Space)}) {
            const char* name = key == Qt::Key_Space ? "Space" : "Return";
            QTest::addRow("Zeilenumbruch, %s", name)
                << "SpeedButton6" << key << (two + QStringList{"<br>"});
            QTest::addRow("Zeile löschen, %s", name)
                << "SpeedButton7" << key << QStringList{QStringLiteral("b")};
            QTest::addRow("Alles löschen, %s", name) << "SpeedButton8" << key << QStringList{};
        }
    }
    void enterOnAButtonRunsThatButton() {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(QStringList, lines);
        clickTab(*w_, Text);
        for (const char* line : {"a", "b"}) {
            typeInto(edit("Edit12"), QString::fromLatin1(line));
            pressEnter(edit("Edit12"));
        }
        clickRow(list("ListBox1"), 0);
        typeInto(edit("Edit13"), QStringLiteral("bild.gif"));
        typeInto(edit("Edit12"), QStringLiteral("bleibt"));
        QWidget* target = c<QWidget>(button.toLatin1().constData());
        target->setFocus(Qt::TabFocusReason);
        QVERIFY(target->hasFocus());
        QTest::keyClick(target, static_cast<Qt::Key>(key));
        QCOMPARE(rows(list("ListBox1")), lines);
        QCOMPARE(edit("Edit12")->text(), QStringLiteral("bleibt"));
    }

    void enterInTheHelpTextDoesNothing() {
        clickTab(*w_, Text);
        typeInto(edit("Edit12"), QStringLiteral("bleibt"));
        auto* memo = c<QPlainTextEdit>("Memo5");
        const QString help = memo->toPlainText();
        memo->setFocus();
        pressEnter(memo);
        QCOMPARE(count(list("ListBox1")), 0);
        QCOMPARE(edit("Edit12")->text(), QStringLiteral("bleibt"));
        QCOMPARE(memo->toPlainText(), help);
    }

    void enterOnOtherPagesChangesNothing_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Überschrift field") << int(Heading) << "Edit2";
        QTest::newRow("Überschrift size") << int(Heading) << "RadioButton3";
        QTest::newRow("Überschrift help") << int(Heading) << "Memo2";
        QTest::newRow("Überschrift spin") << int(Heading) << "SpinEdit1";
        QTest::newRow("Allgemeine tick") << int(General) << "CSS";
        QTest::newRow("Links list") << int(Links) << "ListBox2";
        QTest::newRow("Bilder field") << int(Pictures) << "Edit10";
        QTest::newRow("HTML Code") << int(Code) << "ListBox4";
    }
    void enterOnOtherPagesChangesNothing() {
        QFETCH(int, page);
        QFETCH(QString, focus);
        clickTab(*w_, Text);
        typeInto(edit("Edit12"), QStringLiteral("getippt"));
        clickTab(*w_, page);
        const auto before = pageOf(w_->settings());
        QWidget* target = c<QWidget>(focus.toLatin1().constData());
        target->setFocus();
        pressEnter(target);
        QCOMPARE(pageOf(w_->settings()), before);
        QCOMPARE(count(list("ListBox1")), 0);
        QCOMPARE(edit("Edit12")->text(), QStringLiteral("getippt"));
        QVERIFY(w_->isVisible());
        QCOMPARE(pages(*w_)->currentIndex(), page);
    }

    void alignmentToggles_data() {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QString>("down");
        QTest::addColumn<QString>("line");
        QTest::newRow("none") << ""
                              << ""
                              << "<img src=\"p.gif\">";
        QTest::newRow("l") << "l"
                           << "l"
                           << "<img src=\"p.gif\" align=\"left\">";
        QTest::newRow("m") << "m"
                           << "m"
                           << "<center><img src=\"p.gif\"></center>";
        QTest::newRow("r") << "r"
                           << "r"
                           << "<img src=\"p.gif\" align=\"right\">";
        QTest::newRow("m twice") << "mm"
                                 << ""
                                 << "<img src=\"p.gif\">";
        QTest::newRow("l then r") << "lr"
                                  << "r"
                                  << "<img src=\"p.gif\" align=\"right\">";
        // capitals: Space on the focused toggle
        QTest::newRow("Space on m twice") << "MM"
                                          << ""
                                          << "<img src=\"p.gif\">";
        QTest::newRow("l, then Space on r") << "lR"
                                            << "r"
                                            << "<img src=\"p.gif\" align=\"right\">";
    }
    // Clicked, and pressed by Space with the focus on them.
    void alignmentToggles() {
        QFETCH(QString, pressed);
        QFETCH(QString, down);
        QFETCH(QString, line);
        clickTab(*w_, Text);
        typeInto(edit("Edit13"), QStringLiteral("p.gif"));
        for (const QChar t : pressed) {
            QAbstractButton* toggle = button(qPrintable(QString(t.toLower())));
            if (t.isUpper()) {
                toggle->setFocus(Qt::TabFocusReason);
                QTest::keyClick(toggle, Qt::Key_Space);
            } else {
                VELMORA_CLICK(toggle);
            }
        }
        QString shownDown;
        for (const char* t : {"l", "m", "r"}) {
            if (button(t)->isChecked()) shownDown += QLatin1String(t);
        }
        QCOMPARE(shownDown, down);
        VELMORA_CLICK(button("BitBtn8"));
        VELMORA_CLICK(button("BitBtn8"));  // the toggles stay as they were
        QCOMPARE(rows(list("ListBox1")), (QStringList{line, line}));
    }

    void lineBreaksAndDeleting() {
        clickTab(*w_, Text);
        VELMORA_CLICK(button("SpeedButton6"));
        VELMORA_CLICK(button("BitBtn1"));
        VELMORA_CLICK(button("SpeedButton6"));
        QCOMPARE(rows(list("ListBox1")),
                 (QStringList{"<br>", "<a href=\"seite.html\">Link</a>", "<br>"}));
        clickRow(list("ListBox1"), 1);
        VELMORA_CLICK(button("SpeedButton7"));
        QCOMPARE(rows(list("ListBox1")), (QStringList{"<br>", "<br>"}));
        QVERIFY(selectedRows(list("ListBox1")).isEmpty());
        VELMORA_CLICK(button("SpeedButton7"));
        QCOMPARE(count(list("ListBox1")), 2);
        VELMORA_CLICK(button("SpeedButton8"));
        QCOMPARE(count(list("ListBox1")), 0);
        QVERIFY(w_->settings().ListBox1.items.empty());
    }

    void picturesAreAddedAndDeletedInPairs() {
        clickTab(*w_, Pictures);
        addPicture(QStringLiteral("a.jpg"), QStringLiteral("A"));
        addPicture(QStringLiteral("b.jpg"), QStringLiteral("B"));
        addPicture(QStringLiteral("c.jpg"), QStringLiteral("C"));
        clickRow(list("ListBox3"), 1);
        VELMORA_CLICK(button("SpeedButton4"));
        QCOMPARE(rows(list("ListBox3")), (QStringList{"a.jpg", "c.jpg"}));
        QCOMPARE(entries(w_->settings().ListBox6), (QStringList{"A", "C"}));
        QVERIFY(selectedRows(list("ListBox3")).isEmpty());
        QCOMPARE(edit("Edit10")->text(), QStringLiteral("c.jpg"));  // fields are kept
    }

    void spinFields_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("spin");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown");
        QTest::newRow("SpinEdit1 down at 0") << int(Heading) << "SpinEdit1"
                                             << "0" << int(Qt::Key_Down) << "-1";
        QTest::newRow("SpinEdit3 down at 0") << int(Pictures) << "SpinEdit3"
                                             << "0" << int(Qt::Key_Down) << "0";
        QTest::newRow("SpinEdit3 typed -3") << int(Pictures) << "SpinEdit3"
                                            << "-3" << 0 << "0";
        QTest::newRow("SpinEdit3 typed -") << int(Pictures) << "SpinEdit3"
                                           << "-" << 0 << "-";
        QTest::newRow("SpinEdit3 typed 12") << int(Pictures) << "SpinEdit3"
                                            << "12" << 0 << "12";
        QTest::newRow("SpinEdit3 letter refused") << int(Pictures) << "SpinEdit3"
                                                  << "4k" << 0 << "4";
        QTest::newRow("SpinEdit2 letter refused") << int(Links) << "SpinEdit2"
                                                  << "x" << 0 << "";
    }
    void spinFields() {
        QFETCH(int, page);
        QFETCH(QString, spin);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, shown);
        clickTab(*w_, page);
        auto* field = c<SpinEdit>(spin.toLatin1().constData());
        typeInto(field, typed);
        if (key != 0) QTest::keyClick(field, static_cast<Qt::Key>(key));
        QCOMPARE(field->typedText(), shown);
        const velmora::PageSettings& s = w_->settings();
        const velmora::SpinField& held = spin == QLatin1String("SpinEdit1")   ? s.SpinEdit1
                                         : spin == QLatin1String("SpinEdit2") ? s.SpinEdit2
                                                                              : s.SpinEdit3;
        QCOMPARE(QString::fromStdString(held.text), shown);
    }

    void sizeButtonsSetTheHeadingSize() {
        clickTab(*w_, Heading);
        for (int n : {6, 1, 4}) {
            VELMORA_CLICK(button(qPrintable(QStringLiteral("RadioButton%1").arg(n))));
            QCOMPARE(w_->settings().HeadingSize, n);
        }
    }

    void sizeGroupIsOneTabStopAtTheSelectedButton() {
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        clickTab(*w_, Heading);
        VELMORA_CLICK(button("RadioButton5"));
        c<QWidget>("Memo2")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c<QWidget>("RadioButton5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c<QWidget>("Edit2"));
    }

    void tickingCssChangesOnlyItsTick() {
        clickTab(*w_, General);
        const velmora::PageSettings before = w_->settings();
        VELMORA_CLICK(button("CSS"));
        velmora::PageSettings expected = before;
        expected.CSS = true;
        QVERIFY(c<QCheckBox>("CSS")->isChecked());
        QCOMPARE(pageOf(w_->settings()), pageOf(expected));
        QCOMPARE(count(list("ListBox4")), 0);
    }

    void choicesAndFieldsReachTheSettings() {
        clickTab(*w_, General);
        VELMORA_CLICK(button("hgf"));
        VELMORA_CLICK(button("htm"));
        VELMORA_CLICK(button("fett"));
        typeInto(edit("Edit26"), QStringLiteral("80"));
        const velmora::PageSettings& s = w_->settings();
        QVERIFY(!s.hgb);
        QVERIFY(!s.html);
        QVERIFY(!s.fett);
        QCOMPARE(s.Edit26, std::string("80"));
        VELMORA_CLICK(button("hgb"));
        QVERIFY(s.hgb);
    }
};

QTEST_MAIN(WizardPagesTest)
#include "test_wizard_pages.moc"
