// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three editable lists driven as a user drives them: a click into the
// list (which gives it the focus), the flat delete button, and the delete
// button again. After a deletion nothing is selected, on the window and in
// the settings, whatever has the focus, so a second delete removes nothing.
// An entry changed in place and moved, by its keys, its menu and a
// double-click; every operation undone and redone on the window.
#include <QAction>
#include <QDialogButtonBox>
#include <QImage>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <array>
#include <tuple>

#include "test_wizard_support.h"
#include "ui/EntryDialog.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

using velmora::PageSettings;
using velmora::StringList;
// named, as clang-format 14 and 19 write `StringList PageSettings::*x` apart
using HeldList = StringList PageSettings::*;

// One of the three lists with what belongs to it on its page.
struct ListUnderTest {
    int page;
    const char* shown;
    const char* deleteButton;
    const char* field;  // a text field on the same page to move the focus to
    HeldList held;
    HeldList heldPartner;  // nullptr for the text lines
    const char* dialog;    // the title of the dialog that changes an entry
};

const ListUnderTest kLinks{Links,
                           "ListBox2",
                           "SpeedButton5",
                           "Edit3",
                           &PageSettings::ListBox2,
                           &PageSettings::ListBox5,
                           "Link ändern"};
const ListUnderTest kLines{
    Text,    "ListBox1",        "SpeedButton7", "Edit12", &PageSettings::ListBox1,
    nullptr, "Textzeile ändern"};
const ListUnderTest kPictures{Pictures,
                              "ListBox3",
                              "SpeedButton4",
                              "Edit10",
                              &PageSettings::ListBox3,
                              &PageSettings::ListBox6,
                              "Bild ändern"};

const ListUnderTest& listNamed(const QString& name) {
    if (name == QLatin1String("links")) return kLinks;
    if (name == QLatin1String("lines")) return kLines;
    return kPictures;
}

// Row i reads "s<i>" in the shown list and "p<i>" in the partner list.
QStringList numbered(const char* prefix, int count) {
    QStringList result;
    for (int i = 0; i < count; ++i)
        result << QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i);
    return result;
}

void clickInto(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

// The menu a list shows, by the keys that walk it: Down until `entry` is
// active, then Return.
bool chooseFromMenu(const QString& entry) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return false;
    for (int i = 0; i < menu->actions().size(); ++i) {
        QTest::keyClick(menu, Qt::Key_Down);
        if (menu->activeAction() != nullptr && menu->activeAction()->text() == entry) {
            QTest::keyClick(menu, Qt::Key_Return);
            return true;
        }
    }
    return false;
}

QStringList menuEntries() {
    QStringList texts;
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (const QAction* action : menu->actions()) texts << action->text();
    }
    return texts;
}

// What the window shows of the three lists and what the settings hold.
struct Shown {
    PageSettings settings;
    QList<QStringList> rows;
    QList<int> selected;  // the view's selected row, -1 for none
    QString edit12;
};

}  // namespace

class WizardListsTest : public WizardTest {
    Q_OBJECT

    void type(const char* field, const QString& text) { typeInto(c<QWidget>(field), text); }

    // Adds rows s0 … s<count-1> (with partners p0 …) through the page's own fields and buttons.
    void fill(const ListUnderTest& l, int count) {
        clickTab(*w_, l.page);
        for (int i = 0; i < count; ++i) {
            const QString shown = QStringLiteral("s%1").arg(i);
            const QString partner = QStringLiteral("p%1").arg(i);
            if (l.page == Links) {
                type("Edit3", shown);
                type("Edit4", partner);
                VELMORA_CLICK(button("SpeedButton2"));
            } else if (l.page == Pictures) {
                type("Edit10", shown);
                type("Edit11", partner);
                VELMORA_CLICK(button("SpeedButton3"));
            } else {
                type("Edit12", shown);
                VELMORA_CLICK(button("Button1"));
            }
        }
    }

    // The list shows exactly the settings' rows and nothing selected, its
    // keys going on from row `current` (-1: none), and the partner list still
    // pairs up with it.
    void verifyRowsAndNoSelection(const ListUnderTest& l, const QStringList& expected,
                                  const QStringList& expectedPartner, int current) {
        QCoreApplication::processEvents();  // whatever the view had pending
        QListView* shown = list(l.shown);
        const PageSettings& s = w_->settings();
        QCOMPARE(rows(shown), expected);
        QCOMPARE(entries(s.*l.held), expected);
        QCOMPARE((s.*l.held).selected, -1);
        QVERIFY2(selectedRows(shown).isEmpty(),
                 qPrintable(QStringLiteral("row %1 shown selected").arg(currentRow(shown))));
        QCOMPARE(currentRow(shown), current);
        if (l.heldPartner != nullptr) {
            QCOMPARE(entries(s.*l.heldPartner), expectedPartner);
        }
    }

    void deleteAndCheck(const ListUnderTest& l, const QStringList& expected,
                        const QStringList& expectedPartner, int current) {
        VELMORA_CLICK(button(l.deleteButton));
        verifyRowsAndNoSelection(l, expected, expectedPartner, current);
    }

    // The shown rows and the pair's entries, each row as "shown/partner".
    QStringList pairs(const ListUnderTest& l) {
        const PageSettings& s = w_->settings();
        QStringList result;
        for (int i = 0; i < (s.*l.held).count(); ++i) {
            QString row = entries(s.*l.held).at(i);
            if (l.heldPartner != nullptr) row += "/" + entries(s.*l.heldPartner).at(i);
            result << row;
        }
        return result;
    }

    Shown shown() {
        Shown now{w_->settings(), {}, {}, edit("Edit12")->text()};
        for (const char* name : {"ListBox2", "ListBox1", "ListBox3"}) {
            QListView* view = list(name);
            now.rows << rows(view);
            const QList<int> selected = selectedRows(view);
            now.selected << (selected.isEmpty() ? -1 : selected.first());
        }
        return now;
    }

    // The window shows what the settings hold, and both are `expected`.
    void verifyShown(const Shown& expected, const char* when) {
        const Shown now = shown();
        QVERIFY2(now.settings == expected.settings, when);
        QCOMPARE(now.rows, expected.rows);
        QCOMPARE(now.selected, expected.selected);
        QCOMPARE(now.edit12, QString::fromStdString(now.settings.Edit12));
        const PageSettings& s = now.settings;
        QCOMPARE(now.rows, (QList<QStringList>{entries(s.ListBox2), entries(s.ListBox1),
                                               entries(s.ListBox3)}));
        QCOMPARE(now.selected,
                 (QList<int>{s.ListBox2.selected, s.ListBox1.selected, s.ListBox3.selected}));
    }

    // Opens the dialog that changes the selected entry: by F2, a double-click
    // or the list's menu.
    EntryDialog* openChange(const ListUnderTest& l, const QString& way) {
        QListView* view = list(l.shown);
        if (way == QLatin1String("F2")) {
            QTest::keyClick(view, Qt::Key_F2);
        } else if (way == QLatin1String("double-click")) {
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                               rowCentre(view, currentRow(view)));
        } else {
            QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
            if (!chooseFromMenu(QStringLiteral("Ändern …"))) return nullptr;
        }
        const auto open = [] {
            return qobject_cast<EntryDialog*>(QApplication::activeModalWidget());
        };
        // active once the activation queued on its showing is delivered
        const bool active = QTest::qWaitFor(
            [&] { return open() != nullptr && QApplication::activeWindow() == open(); });
        return active ? open() : nullptr;
    }

private slots:
    void init() {
        w_ = shownWizard(dir_->path());
        QVERIFY(w_);
        // a click gives the list the focus only in the active window
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    }
    void cleanup() { w_.reset(); }

    void deleteThenDeleteAgain_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("focusInField");
        for (const char* which : {"links", "lines", "pictures"}) {
            for (const bool field : {false, true}) {
                const char* focus = field ? "field" : "list";
                for (int row = 0; row < 4; ++row) {
                    QTest::addRow("%s, row %d of 4, focus in %s", which, row, focus)
                        << QString::fromLatin1(which) << 4 << row << field;
                }
                QTest::addRow("%s, only row, focus in %s", which, focus)
                    << QString::fromLatin1(which) << 1 << 0 << field;
            }
        }
    }
    void deleteThenDeleteAgain() {
        QFETCH(QString, which);
        QFETCH(int, count);
        QFETCH(int, row);
        QFETCH(bool, focusInField);
        const ListUnderTest& l = listNamed(which);
        fill(l, count);
        QListView* shown = list(l.shown);

        clickRow(shown, row);
        QVERIFY(shown->hasFocus());
        QCOMPARE((w_->settings().*l.held).selected, row);
        if (focusInField) {
            auto* field = c<QWidget>(l.field);
            clickInto(field);
            QVERIFY(field->hasFocus());
        }

        QStringList expected = numbered("s", count);
        QStringList expectedPartner = numbered("p", count);
        expected.removeAt(row);
        expectedPartner.removeAt(row);
        // the second click, and a third after the focus came back by the
        // keyboard, remove nothing; the keys stand where the entry stood
        for (int click = 1; click <= 3; ++click) {
            if (click == 3) shown->setFocus(Qt::TabFocusReason);
            deleteAndCheck(l, expected, expectedPartner, std::min(row, count - 2));
            if (QTest::currentTestFailed()) return;
        }
    }

    // After a delete nothing is selected, but the keys go on from where the
    // entry stood: the entry after it, or the new last one. A key selects
    // the entry it lands on, the one it starts from included.
    void keyAfterDelete_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("selected");  // of the three rows left
        const std::pair<Qt::Key, std::array<int, 3>> keys[] = {{Qt::Key_Down, {1, 2, 2}},
                                                               {Qt::Key_Up, {0, 0, 1}},
                                                               {Qt::Key_End, {2, 2, 2}},
                                                               {Qt::Key_Home, {0, 0, 0}},
                                                               {Qt::Key_Space, {0, 1, 2}}};
        for (const char* which : {"links", "lines", "pictures"}) {
            for (const auto& [key, selected] : keys) {
                for (std::size_t i = 0; i < 3; ++i) {
                    const int row = std::array{0, 1, 3}[i];
                    QTest::addRow("%s, row %d of 4 deleted, %s", which, row,
                                  qPrintable(QKeySequence(key).toString()))
                        << QString::fromLatin1(which) << row << int(key) << selected[i];
                }
            }
        }
    }
    void keyAfterDelete() {
        QFETCH(QString, which);
        QFETCH(int, row);
        QFETCH(int, key);
        QFETCH(int, selected);
        const ListUnderTest& l = listNamed(which);
        fill(l, 4);
        clickRow(list(l.shown), row);
        VELMORA_CLICK(button(l.deleteButton));
        QCOMPARE((w_->settings().*l.held).selected, -1);
        QVERIFY(list(l.shown)->hasFocus());
        QTest::keyClick(list(l.shown), Qt::Key(key));
        QStringList left = numbered("s", 4);
        left.removeAt(row);
        const StringList& held = w_->settings().*l.held;
        QCOMPARE(held.selected, selected);
        QCOMPARE(QString::fromStdString(held.items[std::size_t(selected)]), left[selected]);
        QCOMPARE(selectedRows(list(l.shown)), QList<int>{selected});
    }

    // After a delete the keys stand on a row, but only a keyboard user sees
    // it framed: to a user who clicks, the list looks as with no row current.
    void aRowIsFramedAfterADeleteOnlyForTheKeyboard() {
        fill(kLinks, 3);
        QListView* view = list("ListBox2");
        clickRow(view, 1);
        VELMORA_CLICK(button("SpeedButton5"));
        QVERIFY(view->hasFocus());
        QCOMPARE(currentRow(view), 1);
        const QImage afterDelete = view->grab().toImage();
        view->selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        const QImage noneCurrent = view->grab().toImage();
        QVERIFY(afterDelete == noneCurrent);
        w_->setAttribute(Qt::WA_KeyboardFocusChange);
        view->selectionModel()->setCurrentIndex(view->model()->index(1, 0),
                                                QItemSelectionModel::NoUpdate);
        QVERIFY(view->grab().toImage() != noneCurrent);
    }

    void deleteAllLeavesNothingSelected() {
        fill(kLines, 3);
        clickRow(list("ListBox1"), 2);
        VELMORA_CLICK(button("SpeedButton8"));
        verifyRowsAndNoSelection(kLines, {}, {}, -1);
        if (QTest::currentTestFailed()) return;
        fill(kLines, 2);
        verifyRowsAndNoSelection(kLines, numbered("s", 2), {}, -1);
    }

    // The finish selects the last entry of each list: one delete removes it,
    // the next removes nothing.
    void deleteAfterAFinish_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("links") << "links";
        QTest::newRow("lines") << "lines";
        QTest::newRow("pictures") << "pictures";
    }
    void deleteAfterAFinish() {
        QFETCH(QString, which);
        const ListUnderTest& l = listNamed(which);
        for (const ListUnderTest* each : {&kLinks, &kLines, &kPictures}) fill(*each, 4);
        clickTab(*w_, l.page);
        clickRow(list(l.shown), 1);  // the focus stays in the list through the finish
        VELMORA_CLICK(button("SpeedButton9"));
        QVERIFY(!w_->isVisible());
        w_->show();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QCOMPARE(currentRow(list(l.shown)), 3);
        QCOMPARE((w_->settings().*l.held).selected, 3);

        for (int click = 1; click <= 2; ++click) {
            deleteAndCheck(l, numbered("s", 3), numbered("p", 3), 2);
            if (QTest::currentTestFailed()) return;
        }
    }

    // F2, a double-click or "Ändern …" shows the selected entry in its
    // dialog; "OK" or Return changes it in place, in both lists of a pair,
    // and it stays selected; "Abbrechen" or Escape changes nothing. A click
    // on a row only selects it: the link fields keep their texts.
    void changeInPlace_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("answer");
        for (const char* which : {"links", "lines", "pictures"}) {
            for (const auto& [way, answer] : {std::pair{"F2", "Return"},
                                              {"double-click", "OK"},
                                              {"menu", "Escape"},
                                              {"F2", "Abbrechen"}}) {
                const QString name =
                    QStringLiteral("%1, %2, %3")
                        .arg(QLatin1String(which), QLatin1String(way), QLatin1String(answer));
                QTest::newRow(qPrintable(name)) << which << way << answer;
            }
        }
    }
    void changeInPlace() {
        QFETCH(QString, which);
        QFETCH(QString, way);
        QFETCH(QString, answer);
        const ListUnderTest& l = listNamed(which);
        fill(l, 3);
        const QString fieldsBefore = edit("Edit3")->text() + edit("Edit4")->text();
        clickRow(list(l.shown), 1);
        QCOMPARE(edit("Edit3")->text() + edit("Edit4")->text(), fieldsBefore);
        const QStringList before = pairs(l);

        QPointer<EntryDialog> dialog = openChange(l, way);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QString::fromUtf8(l.dialog));
        auto* shownField = dialog->findChild<QLineEdit*>(QStringLiteral("shown"));
        auto* partnerField = dialog->findChild<QLineEdit*>(QStringLiteral("paired"));
        QCOMPARE(shownField->text(), QStringLiteral("s1"));
        // the picture field chooses its picture as the page's picture fields do
        QStringList choosers;
        for (const QAction* action : shownField->actions()) choosers << action->text();
        QCOMPARE(choosers, l.page == Pictures ? QStringList{QStringLiteral("Bild auswählen")}
                                              : QStringList{});
        QCOMPARE(partnerField != nullptr, l.heldPartner != nullptr);
        if (partnerField != nullptr) {
            QCOMPARE(partnerField->text(), QStringLiteral("p1"));
            typeInto(partnerField, QStringLiteral("neu-p"));
        }
        typeInto(shownField, QStringLiteral("neu"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (answer == QLatin1String("OK")) {
            buttons->button(QDialogButtonBox::Ok)->click();
        } else if (answer == QLatin1String("Abbrechen")) {
            buttons->button(QDialogButtonBox::Cancel)->click();
        } else {
            QTest::keyClick(QApplication::focusWidget(),
                            answer == QLatin1String("Return") ? Qt::Key_Return : Qt::Key_Escape);
        }
        QTRY_VERIFY(dialog == nullptr);
        QStringList expected = before;
        if (answer == QLatin1String("OK") || answer == QLatin1String("Return"))
            expected[1] = l.heldPartner != nullptr ? "neu/neu-p" : "neu";
        QCOMPARE(pairs(l), expected);
        QCOMPARE(rows(list(l.shown)), entries(w_->settings().*l.held));
        QCOMPARE((w_->settings().*l.held).selected, 1);
        QVERIFY(isSelected(list(l.shown), 1));
    }

    // Alt+Up and Alt+Down, or "Nach oben" and "Nach unten" in the list's
    // menu, move the selected entry one place with its pair's entry, and the
    // selection with it; at the top nothing moves.
    void moveOnePlace_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<bool>("byMenu");
        for (const char* which : {"links", "lines", "pictures"}) {
            QTest::addRow("%s, Alt+arrows", which) << which << false;
            QTest::addRow("%s, menu", which) << which << true;
        }
    }
    void moveOnePlace() {
        QFETCH(QString, which);
        QFETCH(bool, byMenu);
        const ListUnderTest& l = listNamed(which);
        fill(l, 4);
        clickRow(list(l.shown), 1);
        const bool pair = l.heldPartner != nullptr;
        const auto move = [&](Qt::Key key) {
            if (!byMenu) {
                QTest::keyClick(list(l.shown), key, Qt::AltModifier);
                return;
            }
            QTest::keyClick(list(l.shown), Qt::Key_F10, Qt::ShiftModifier);
            QCOMPARE(menuEntries(),
                     (QStringList{"Ändern …", "Nach oben", "Nach unten", "Löschen"}));
            const QString entry = key == Qt::Key_Up ? "Nach oben" : "Nach unten";
            if ((w_->settings().*l.held).selected == 0 && key == Qt::Key_Up) {
                // greyed at the top, so the keys pass it by
                QVERIFY(!chooseFromMenu(entry));
                QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
                return;
            }
            QVERIFY(chooseFromMenu(entry));
        };
        const auto row = [pair](int i) {
            return pair ? QStringLiteral("s%1/p%1").arg(i) : QStringLiteral("s%1").arg(i);
        };
        for (const auto& [key, order, at] : {std::tuple{Qt::Key_Down, QList<int>{0, 2, 1, 3}, 2},
                                             {Qt::Key_Up, QList<int>{0, 1, 2, 3}, 1},
                                             {Qt::Key_Up, QList<int>{1, 0, 2, 3}, 0},
                                             {Qt::Key_Up, QList<int>{1, 0, 2, 3}, 0}}) {
            move(key);
            QStringList expected;
            for (const int i : order) expected << row(i);
            QCOMPARE(pairs(l), expected);
            QCOMPARE(rows(list(l.shown)), entries(w_->settings().*l.held));
            QCOMPARE((w_->settings().*l.held).selected, at);
            QVERIFY(isSelected(list(l.shown), at));
        }
    }

    // Every operation on a list, undone by Strg+Z with the focus in the
    // list, and redone by Strg+Umschalt+Z: the rows and selections on the
    // window and in the settings, Edit12 too, are as they were before the
    // operation, and then as they were after it.
    void everyOperationUndoneAndRedone_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("operation");  // a button, or "change", "move"
        const std::pair<const char*, std::vector<const char*>> all[] = {
            {"links", {"SpeedButton2", "SpeedButton5", "change", "move"}},
            {"lines",
             {"Button1", "SpeedButton6", "SpeedButton7", "SpeedButton8", "BitBtn8", "BitBtn1",
              "change", "move"}},
            {"pictures", {"SpeedButton3", "SpeedButton4", "change", "move"}}};
        for (const auto& [which, operations] : all) {
            for (const char* operation : operations)
                QTest::addRow("%s, %s", which, operation) << which << operation;
        }
    }
    void everyOperationUndoneAndRedone() {
        QFETCH(QString, which);
        QFETCH(QString, operation);
        const ListUnderTest& l = listNamed(which);
        for (const ListUnderTest* each : {&kLinks, &kLines, &kPictures}) fill(*each, 3);
        clickTab(*w_, l.page);
        type("Edit12", QStringLiteral("getippt"));
        clickRow(list(l.shown), 1);
        const Shown before = shown();
        if (operation == QLatin1String("change")) {
            QPointer<EntryDialog> dialog = openChange(l, QStringLiteral("F2"));
            QVERIFY(dialog != nullptr);
            typeInto(dialog->findChild<QLineEdit*>(QStringLiteral("shown")), "neu");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_VERIFY(dialog == nullptr);
        } else if (operation == QLatin1String("move")) {
            QTest::keyClick(list(l.shown), Qt::Key_Up, Qt::AltModifier);
        } else {
            VELMORA_CLICK(button(operation.toLatin1().constData()));
        }
        const Shown after = shown();
        QVERIFY(!(after.settings == before.settings));
        QTRY_COMPARE(QApplication::activeWindow(), w_.get());
        list(l.shown)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        verifyShown(before, "undone");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                        Qt::ControlModifier | Qt::ShiftModifier);
        verifyShown(after, "redone");
    }
};

QTEST_MAIN(WizardListsTest)
#include "test_wizard_lists.moc"
