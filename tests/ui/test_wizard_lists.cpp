// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The three editable lists driven as a user drives them: a click into the
// list (which gives it the focus), the flat delete button, and the delete
// button again. After a deletion nothing is selected, on the window and in
// the settings, whatever has the focus, so a second delete removes nothing.
#include <QListWidget>

#include "test_wizard_support.h"

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
};

const ListUnderTest kLinks{
    Links, "ListBox2", "SpeedButton5", "Edit3", &PageSettings::ListBox2, &PageSettings::ListBox5};
const ListUnderTest kLines{Text,   "ListBox1", "SpeedButton7", "Edit12", &PageSettings::ListBox1,
                           nullptr};
const ListUnderTest kPictures{Pictures,
                              "ListBox3",
                              "SpeedButton4",
                              "Edit10",
                              &PageSettings::ListBox3,
                              &PageSettings::ListBox6};

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

    // The list shows exactly the settings' rows, nothing selected and no
    // current row, and the partner list still pairs up with it.
    void verifyRowsAndNoSelection(const ListUnderTest& l, const QStringList& expected,
                                  const QStringList& expectedPartner) {
        QCoreApplication::processEvents();  // whatever the view had pending
        QListWidget* shown = list(l.shown);
        const PageSettings& s = w_->settings();
        QCOMPARE(rows(shown), expected);
        QCOMPARE(entries(s.*l.held), expected);
        QCOMPARE((s.*l.held).selected, -1);
        QVERIFY2(shown->selectedItems().isEmpty(),
                 qPrintable(QStringLiteral("row %1 shown selected").arg(shown->currentRow())));
        QCOMPARE(shown->currentRow(), -1);
        if (l.heldPartner != nullptr) {
            QCOMPARE(entries(s.*l.heldPartner), expectedPartner);
        }
    }

    void deleteAndCheck(const ListUnderTest& l, const QStringList& expected,
                        const QStringList& expectedPartner) {
        VELMORA_CLICK(button(l.deleteButton));
        verifyRowsAndNoSelection(l, expected, expectedPartner);
    }

private slots:
    void init() {
        w_ = shownWizard();
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
        QListWidget* shown = list(l.shown);

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
        // keyboard, remove nothing
        for (int click = 1; click <= 3; ++click) {
            if (click == 3) shown->setFocus(Qt::TabFocusReason);
            deleteAndCheck(l, expected, expectedPartner);
            if (QTest::currentTestFailed()) return;
        }
    }

    void deleteAllLeavesNothingSelected() {
        fill(kLines, 3);
        clickRow(list("ListBox1"), 2);
        VELMORA_CLICK(button("SpeedButton8"));
        verifyRowsAndNoSelection(kLines, {}, {});
        if (QTest::currentTestFailed()) return;
        fill(kLines, 2);
        verifyRowsAndNoSelection(kLines, numbered("s", 2), {});
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
        ScratchDirectory dir;
        for (const ListUnderTest* each : {&kLinks, &kLines, &kPictures}) fill(*each, 4);
        clickTab(*w_, l.page);
        clickRow(list(l.shown), 1);  // the focus stays in the list through the finish
        VELMORA_CLICK(button("SpeedButton9"));
        QVERIFY(!w_->isVisible());
        w_->show();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QCOMPARE(list(l.shown)->currentRow(), 3);
        QCOMPARE((w_->settings().*l.held).selected, 3);

        for (int click = 1; click <= 2; ++click) {
            deleteAndCheck(l, numbered("s", 3), numbered("p", 3));
            if (QTest::currentTestFailed()) return;
        }
    }
};

QTEST_MAIN(WizardListsTest)
#include "test_wizard_lists.moc"
