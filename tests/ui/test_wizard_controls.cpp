// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The wizard's controls: each one under its name, of its kind, on its page;
// the fixed sizes; the help texts; the Tab order of every page.
#include <QCheckBox>
#include <QGroupBox>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>

#include "settings/Fields.h"
#include "test_wizard_support.h"
#include "ui/Bindings.h"
#include "ui/SpinEdit.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

struct Expected {
    const char* name;
    const QMetaObject* kind;
    const char* page;  // nullptr: on the window itself
};

const QMetaObject* kLine = &QLineEdit::staticMetaObject;
const QMetaObject* kSpin = &SpinEdit::staticMetaObject;
const QMetaObject* kTick = &QCheckBox::staticMetaObject;
const QMetaObject* kRadio = &QRadioButton::staticMetaObject;
const QMetaObject* kList = &QListView::staticMetaObject;
const QMetaObject* kHelp = &QPlainTextEdit::staticMetaObject;
const QMetaObject* kFlat = &QToolButton::staticMetaObject;
const QMetaObject* kPush = &QPushButton::staticMetaObject;

const Expected kControls[] = {
    {"PageControl1", &QTabWidget::staticMetaObject, nullptr},
    {"SpeedButton9", kFlat, nullptr},
    {"Memo1", kHelp, "TabSheet1"},
    {"hgb", kRadio, "TabSheet1"},
    {"hgf", kRadio, "TabSheet1"},
    {"Edit1", kLine, "TabSheet1"},
    {"Edit14", kLine, "TabSheet1"},
    {"GroupBox1", &QGroupBox::staticMetaObject, "TabSheet1"},
    {"Edit19", kLine, "GroupBox1"},
    {"html", kRadio, "GroupBox1"},
    {"htm", kRadio, "GroupBox1"},
    {"CSS", kTick, "TabSheet1"},
    {"Edit15", kLine, "TabSheet1"},
    {"Edit16", kLine, "TabSheet1"},
    {"Edit17", kLine, "TabSheet1"},
    {"Edit18", kLine, "TabSheet1"},
    {"fett", kTick, "TabSheet1"},
    {"SpinEdit4", kSpin, "TabSheet1"},
    {"SpinEdit5", kSpin, "TabSheet1"},
    {"Edit26", kLine, "TabSheet1"},
    {"Edit27", kLine, "TabSheet1"},
    {"Memo2", kHelp, "TabSheet2"},
    {"Edit2", kLine, "TabSheet2"},
    {"Edit5", kLine, "TabSheet2"},
    {"RadioButton1", kRadio, "TabSheet2"},
    {"RadioButton2", kRadio, "TabSheet2"},
    {"RadioButton3", kRadio, "TabSheet2"},
    {"RadioButton4", kRadio, "TabSheet2"},
    {"RadioButton5", kRadio, "TabSheet2"},
    {"RadioButton6", kRadio, "TabSheet2"},
    {"Edit20", kLine, "TabSheet2"},
    {"Edit21", kLine, "TabSheet2"},
    {"Edit8", kLine, "TabSheet2"},
    {"eck", kTick, "TabSheet2"},
    {"Edit9", kLine, "TabSheet2"},
    {"SpinEdit1", kSpin, "TabSheet2"},
    {"Memo3", kHelp, "TabSheet3"},
    {"ListBox2", kList, "TabSheet3"},
    {"SpeedButton2", kFlat, "TabSheet3"},
    {"SpeedButton5", kFlat, "TabSheet3"},
    {"Edit3", kLine, "TabSheet3"},
    {"Edit4", kLine, "TabSheet3"},
    {"Dots", kTick, "TabSheet3"},
    {"Edit6", kLine, "TabSheet3"},
    {"lh", kTick, "TabSheet3"},
    {"Edit7", kLine, "TabSheet3"},
    {"SpinEdit2", kSpin, "TabSheet3"},
    {"SpinEdit6", kSpin, "TabSheet3"},
    {"strecken", kTick, "TabSheet3"},
    {"zentrieren", kTick, "TabSheet3"},
    {"Memo5", kHelp, "TabSheet4"},
    {"Button1", kPush, "TabSheet4"},
    {"SpeedButton6", kFlat, "TabSheet4"},
    {"Edit12", kLine, "TabSheet4"},
    {"ListBox1", kList, "TabSheet4"},
    {"Edit24", kLine, "TabSheet4"},
    {"SpeedButton7", kFlat, "TabSheet4"},
    {"SpeedButton8", kFlat, "TabSheet4"},
    {"Edit25", kLine, "TabSheet4"},
    {"Edit13", kLine, "TabSheet4"},
    {"l", kFlat, "TabSheet4"},
    {"m", kFlat, "TabSheet4"},
    {"r", kFlat, "TabSheet4"},
    {"BitBtn8", kPush, "TabSheet4"},
    {"Edit22", kLine, "TabSheet4"},
    {"Edit23", kLine, "TabSheet4"},
    {"BitBtn1", kPush, "TabSheet4"},
    {"Memo4", kHelp, "TabSheet5"},
    {"ListBox3", kList, "TabSheet5"},
    {"SpeedButton3", kFlat, "TabSheet5"},
    {"SpeedButton4", kFlat, "TabSheet5"},
    {"Edit10", kLine, "TabSheet5"},
    {"Edit11", kLine, "TabSheet5"},
    {"SpinEdit3", kSpin, "TabSheet5"},
    {"ListBox4", kList, "TabSheet7"},
};

// The control that holds the focus: a spin field, not its inner line edit.
QString focusName() {
    QWidget* f = QApplication::focusWidget();
    if (f == nullptr) return QStringLiteral("(none)");
    if (auto* spin = qobject_cast<SpinEdit*>(f->parentWidget())) return spin->objectName();
    if (qobject_cast<QTabBar*>(f) != nullptr) return QStringLiteral("(tabs)");
    return f->objectName();
}

// Whether `table` binds a control named `name`.
template <class Table>
bool binds(const Table& table, const QString& name) {
    return std::any_of(table.begin(), table.end(), [&name](const auto& binding) {
        return QLatin1String(binding.name.data(), qsizetype(binding.name.size())) == name;
    });
}

}  // namespace

class WizardControlsTest : public QObject {
    Q_OBJECT
    ScratchDirectory dir_;
    std::unique_ptr<TForm3> w_;

private slots:
    void init() {
        w_ = shownWizard(dir_.path());
        QVERIFY(w_);
    }
    void cleanup() { w_.reset(); }

    void everyControlExistsWithItsKindOnItsPage() {
        for (const Expected& e : kControls) {
            QWidget* widget = control<QWidget>(*w_, e.name);
            QVERIFY2(widget != nullptr, e.name);
            QVERIFY2(widget->metaObject()->inherits(e.kind), e.name);
            if (e.page != nullptr) {
                QVERIFY2(control<QWidget>(*w_, e.page)->isAncestorOf(widget), e.name);
            }
        }
        QStringList views;
        for (const QListView* view : w_->findChildren<QListView*>()) views << view->objectName();
        views.sort();
        QCOMPARE(views, (QStringList{"ListBox1", "ListBox2", "ListBox3", "ListBox4"}));
    }

    // Every text field, tick box and spin field of the window is in the
    // binding tables, under its own kind, and every entry of the core's
    // tables names one of them: a control missing there would never reach
    // the settings.
    void everyFieldIsInTheFieldTable() {
        QStringList missing;
        for (const QLineEdit* e : w_->findChildren<QLineEdit*>()) {
            if (qobject_cast<SpinEdit*>(e->parentWidget()) != nullptr) continue;  // its inner line
            if (!binds(kTextBindings, e->objectName())) missing << e->objectName();
        }
        for (const QCheckBox* box : w_->findChildren<QCheckBox*>()) {
            if (!binds(kTickBindings, box->objectName())) missing << box->objectName();
        }
        for (const SpinEdit* spin : w_->findChildren<SpinEdit*>()) {
            if (!binds(kSpinBindings, spin->objectName())) missing << spin->objectName();
        }
        QCOMPARE(missing, QStringList());
        const auto named = [](std::string_view name) {
            return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        };
        for (const velmora::TextField& f : velmora::kTextFields)
            QVERIFY2(control<QLineEdit>(*w_, qPrintable(named(f.name))) != nullptr, f.name.data());
        for (const velmora::TickField& f : velmora::kTickFields)
            QVERIFY2(control<QCheckBox>(*w_, qPrintable(named(f.name))) != nullptr, f.name.data());
        for (const velmora::SpinEditField& f : velmora::kSpinFields)
            QVERIFY2(control<SpinEdit>(*w_, qPrintable(named(f.name))) != nullptr, f.name.data());
    }

    void pagesInTabOrder() {
        const QStringList expected = {
            QStringLiteral("TabSheet1"), QStringLiteral("Allgemeine Einstellungen"),
            QStringLiteral("TabSheet2"), QStringLiteral("Überschrift"),
            QStringLiteral("TabSheet3"), QStringLiteral("Links"),
            QStringLiteral("TabSheet4"), QStringLiteral("Text"),
            QStringLiteral("TabSheet5"), QStringLiteral("Bilder"),
            QStringLiteral("TabSheet7"), QStringLiteral("HTML Code")};
        QStringList actual;
        QTabWidget* tabs = pages(*w_);
        for (int i = 0; i < tabs->count(); ++i) {
            actual << tabs->widget(i)->objectName() << tabs->tabText(i);
        }
        QCOMPARE(actual, expected);
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void windowAndPagesKeepTheirSizes() {
        QCOMPARE(w_->windowTitle(), QStringLiteral("Assistent"));
        QCOMPARE(w_->size(), QSize(763, 433));
        QCOMPARE(w_->minimumSize(), w_->maximumSize());
        QVERIFY(!(w_->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w_->windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(pages(*w_)->size(), QSize(763, 393));
        for (int i = 0; i < 6; ++i) {
            clickTab(*w_, i);
            QCOMPARE(pages(*w_)->currentIndex(), i);
            QCOMPARE(pages(*w_)->currentWidget()->size(), QSize(755, 365));
            QVERIFY(control<QWidget>(*w_, "SpeedButton9")->isVisible());
        }
        QCOMPARE(control<QWidget>(*w_, "ListBox4")->size(), QSize(755, 365));
    }

    void helpTextsHoldTheirLines_data() {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("line");
        QTest::newRow("Memo1 empty line") << "Memo1" << 37 << 10 << QString();
        QTest::newRow("Memo1 two blanks")
            << "Memo1" << 37 << 15 << QStringLiteral("\"bg.jpg\", dann  brauchen Sie nur");
        QTest::newRow("Memo1 indented")
            << "Memo1" << 37 << 8 << QStringLiteral("  dargestellt werden.");
        QTest::newRow("Memo2 last") << "Memo2" << 25 << 24 << QStringLiteral("Position.");
        QTest::newRow("Memo3 trailing blank")
            << "Memo3" << 34 << 13 << QStringLiteral("Kontrollkästchen \"Dots\" markieren ");
        QTest::newRow("Memo5 indented")
            << "Memo5" << 27 << 25 << QStringLiteral("               empfiehlt es sich nicht, die");
        QTest::newRow("Memo4 trailing blank")
            << "Memo4" << 6 << 4 << QStringLiteral("fläche \"Neues Bild\". ");
    }
    void helpTextsHoldTheirLines() {
        QFETCH(QString, memo);
        QFETCH(int, count);
        QFETCH(int, index);
        QFETCH(QString, line);
        auto* text = control<QPlainTextEdit>(*w_, memo.toLatin1().constData());
        const QStringList lines = text->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), count);
        QCOMPARE(lines.at(index), line);
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text->wordWrapMode(), QTextOption::WordWrap);
    }

    void helpTextRefusesTyping() {
        auto* memo = control<QPlainTextEdit>(*w_, "Memo1");
        const QString before = memo->toPlainText();
        memo->setFocus();
        QTest::keyClicks(memo, QStringLiteral("xyz"));
        QTest::keyClick(memo, Qt::Key_Backspace);
        QCOMPARE(memo->toPlainText(), before);
    }

    void initialValuesShow() {
        QCOMPARE(control<QLineEdit>(*w_, "Edit1")->text(), QStringLiteral("hintergrund.jpg"));
        QCOMPARE(control<QLineEdit>(*w_, "Edit19")->text(), QStringLiteral("index"));
        QCOMPARE(control<QLineEdit>(*w_, "Edit4")->text(), QStringLiteral("verweisziel.html"));
        QCOMPARE(control<QLineEdit>(*w_, "Edit12")->text(), QString());
        QCOMPARE(control<SpinEdit>(*w_, "SpinEdit3")->typedText(), QStringLiteral("1"));
        QCOMPARE(control<SpinEdit>(*w_, "SpinEdit4")->typedText(), QStringLiteral("0"));
        QVERIFY(control<QRadioButton>(*w_, "hgb")->isChecked());
        QVERIFY(control<QRadioButton>(*w_, "html")->isChecked());
        QVERIFY(control<QRadioButton>(*w_, "RadioButton3")->isChecked());
        QVERIFY(control<QCheckBox>(*w_, "fett")->isChecked());
        QVERIFY(!control<QCheckBox>(*w_, "CSS")->isChecked());
        for (const char* t : {"l", "m", "r"}) QVERIFY(!control<QToolButton>(*w_, t)->isChecked());
        QCOMPARE(w_->settings().HeadingSize, 3);
    }

    // The keyboard reaches every flat button, a click none: a mouse user's
    // focus stays where it was.
    void flatButtonsAreTabStopsThatAClickDoesNotFocus() {
        for (const Expected& e : kControls) {
            if (e.kind != kFlat) continue;
            QCOMPARE(control<QWidget>(*w_, e.name)->focusPolicy(), Qt::TabFocus);
        }
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        clickTab(*w_, Links);
        auto* field = control<QLineEdit>(*w_, "Edit3");
        field->setFocus();
        QTest::mouseClick(control<QWidget>(*w_, "SpeedButton2"), Qt::LeftButton);
        QCOMPARE(w_->settings().ListBox2.count(), 1);
        QCOMPARE(QApplication::focusWidget(), field);
    }

    void tabOrderOfEveryPage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("order");
        auto names = [](const char* list) {
            return QString::fromLatin1(list).split(QLatin1Char(' '));
        };
        // every page ends on the finish
        QTest::newRow("Allgemeine Einstellungen")
            << 0
            << names(
                   "Edit1 Memo1 hgb Edit14 Edit15 Edit16 Edit17 Edit18 fett CSS html Edit19 "
                   "SpinEdit4 SpinEdit5 Edit26 Edit27 SpeedButton9");
        QTest::newRow("Überschrift") << 1
                                     << names(
                                            "Memo2 RadioButton3 Edit2 Edit5 Edit8 eck Edit9 "
                                            "SpinEdit1 Edit20 Edit21 SpeedButton9");
        QTest::newRow("Links") << 2
                               << names(
                                      "Memo3 Edit3 Dots Edit4 SpeedButton2 ListBox2 SpeedButton5 "
                                      "Edit6 Edit7 lh SpinEdit2 SpinEdit6 strecken zentrieren "
                                      "SpeedButton9");
        QTest::newRow("Text") << 3
                              << names(
                                     "Memo5 Edit12 Button1 SpeedButton6 ListBox1 SpeedButton7 "
                                     "SpeedButton8 Edit13 l m r BitBtn8 Edit22 Edit23 BitBtn1 "
                                     "Edit24 Edit25 SpeedButton9");
        QTest::newRow("Bilder") << 4
                                << names(
                                       "Edit10 ListBox3 SpeedButton4 Edit11 SpeedButton3 Memo4 "
                                       "SpinEdit3 SpeedButton9");
        QTest::newRow("HTML Code") << 5 << names("ListBox4 SpeedButton9");
    }
    void tabOrderOfEveryPage() {
        QFETCH(int, page);
        QFETCH(QStringList, order);
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        clickTab(*w_, page);
        pages(*w_)->tabBar()->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(focusName(), QStringLiteral("(tabs)"));
        QStringList visited;
        for (qsizetype i = 0; i <= order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusName();
        }
        QCOMPARE(visited, order + QStringList{QStringLiteral("(tabs)")});
        QStringList back;
        for (qsizetype i = 0; i <= order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back.prepend(focusName());
        }
        QCOMPARE(back, QStringList{QStringLiteral("(tabs)")} + order);
    }
};

QTEST_MAIN(WizardControlsTest)
#include "test_wizard_controls.moc"
