// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The spin field as a user meets it: what typing may enter, what pasting and
// the arrows do, that Enter is refused, and the timing of a held arrow.
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>

#include "ui/SpinEdit.h"

using velmora::ui::SpinEdit;

namespace {

// Counts the keys that reach the spin field's parent.
class KeyWitness : public QWidget {
public:
    int enters = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) ++enters;
        QWidget::keyPressEvent(e);
    }
};

QPoint arrowCentre(const SpinEdit& spin, QStyle::SubControl arrow) {
    QStyleOptionSpinBox opt;
    opt.initFrom(&spin);
    opt.rect = spin.rect();
    opt.subControls = QStyle::SC_All;
    opt.buttonSymbols = QAbstractSpinBox::UpDownArrows;
    opt.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    opt.frame = true;
    return spin.style()->subControlRect(QStyle::CC_SpinBox, &opt, arrow, &spin).center();
}

void paste(SpinEdit& spin, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(&spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&spin, Qt::Key_V, Qt::ControlModifier);
}

}  // namespace

class SpinEditTest : public QObject {
    Q_OBJECT
    std::unique_ptr<KeyWitness> window_;
    SpinEdit* spin_ = nullptr;

private slots:
    void init() {
        window_ = std::make_unique<KeyWitness>();
        window_->resize(200, 60);
        spin_ = new SpinEdit(window_.get());
        spin_->setGeometry(10, 10, 121, 22);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        spin_->setFocus();
    }
    void cleanup() {
        window_.reset();
        QLocale::setDefault(QLocale::c());
    }

    void typing_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits") << "C"
                                << "120"
                                << "120";
        QTest::newRow("signs") << "C"
                               << "+-3"
                               << "+-3";
        QTest::newRow("letters refused") << "C"
                                         << "1a2b"
                                         << "12";
        QTest::newRow("hex prefix refused") << "C"
                                            << "$x1F"
                                            << "1";
        QTest::newRow("blank refused") << "C"
                                       << " 7 "
                                       << "7";
        QTest::newRow("comma refused in C") << "C"
                                            << "1,5"
                                            << "15";
        QTest::newRow("point in C") << "C"
                                    << "1.5"
                                    << "1.5";
        QTest::newRow("comma in German") << "de_DE"
                                         << "1,5"
                                         << "1,5";
        QTest::newRow("point refused in German") << "de_DE"
                                                 << "1.5"
                                                 << "15";
    }
    void typing() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        spin_->setTypedText(QString());
        QTest::keyClicks(spin_, typed);
        QCOMPARE(spin_->typedText(), shown);
    }

    void refusedLetterLeavesTextAndSignalsNothing() {
        spin_->setTypedText(QStringLiteral("42"));
        QSignalSpy changes(spin_, &SpinEdit::changed);
        QTest::keyClick(spin_, Qt::Key_Q);
        QCOMPARE(spin_->typedText(), QStringLiteral("42"));
        QCOMPARE(changes.count(), 0);
    }

    void enterIsRefusedAndGoesNoFurther() {
        spin_->setTypedText(QStringLiteral("5"));
        QSignalSpy changes(spin_, &SpinEdit::changed);
        QTest::keyClick(spin_, Qt::Key_Return);
        QTest::keyClick(spin_, Qt::Key_Enter);
        QCOMPARE(spin_->typedText(), QStringLiteral("5"));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(window_->enters, 0);
    }

    void pastedTextStaysAndStepsFromZero() {
        paste(*spin_, QStringLiteral("abc"));
        QCOMPARE(spin_->typedText(), QStringLiteral("abc"));
        QTest::mouseClick(spin_, Qt::LeftButton, {}, arrowCentre(*spin_, QStyle::SC_SpinBoxUp));
        QCOMPARE(spin_->typedText(), QStringLiteral("1"));
    }

    void textIsNotReformattedWhenFocusLeaves() {
        auto* other = new QLineEdit(window_.get());
        other->show();
        paste(*spin_, QStringLiteral(" 7"));
        spin_->setFocus();
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(spin_->typedText(), QStringLiteral(" 7"));
    }

    void stepping_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown");
        QTest::newRow("up from 0") << "0" << int(Qt::Key_Up) << "1";
        QTest::newRow("down from 0, no bound") << "0" << int(Qt::Key_Down) << "-1";
        QTest::newRow("empty steps from 0") << "" << int(Qt::Key_Up) << "1";
        QTest::newRow("invalid steps from 0") << "7 " << int(Qt::Key_Down) << "-1";
        QTest::newRow("leading blank read") << " 7" << int(Qt::Key_Up) << "8";
        QTest::newRow("hex written back decimal") << "$1F" << int(Qt::Key_Up) << "32";
        QTest::newRow("leading zeros dropped") << "007" << int(Qt::Key_Down) << "6";
        QTest::newRow("past the top wraps") << "2147483647" << int(Qt::Key_Up) << "-2147483648";
        QTest::newRow("page keys do not step") << "3" << int(Qt::Key_PageUp) << "3";
    }
    void stepping() {
        QFETCH(QString, start);
        QFETCH(int, key);
        QFETCH(QString, shown);
        spin_->setTypedText(start);
        QTest::keyClick(spin_, static_cast<Qt::Key>(key));
        QCOMPARE(spin_->typedText(), shown);
    }

    void ctrlArrowStillStepsByOne() {
        spin_->setTypedText(QStringLiteral("5"));
        QTest::keyClick(spin_, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(spin_->typedText(), QStringLiteral("6"));
    }

    void downArrowButtonSteps() {
        spin_->setTypedText(QStringLiteral("0"));
        QTest::mouseClick(spin_, Qt::LeftButton, {}, arrowCentre(*spin_, QStyle::SC_SpinBoxDown));
        QCOMPARE(spin_->typedText(), QStringLiteral("-1"));
    }

    void everyChangeSignals() {
        QSignalSpy changes(spin_, &SpinEdit::changed);
        spin_->setTypedText(QStringLiteral("3"));
        QTest::keyClick(spin_, Qt::Key_4);
        QTest::keyClick(spin_, Qt::Key_Up);
        paste(*spin_, QStringLiteral("x"));
        QStringList texts;
        for (const QList<QVariant>& args : changes) texts << args.at(0).toString();
        QCOMPARE(texts, (QStringList{"3", "34", "35", "x"}));
    }

    // First repeat after 400 ms, then every 100 ms. Timers never fire early by
    // more than the coarse 5 %, so the lower bounds hold on every run; a busy
    // machine may fire them late, so the upper bounds need only one good run of
    // three (Qt's own 500 ms and 150 ms never pass them).
    void heldArrowRepeats() {
        bool prompt = false;
        for (int run = 0; run < 3 && !prompt; ++run) {
            QList<qint64> times;
            holdUpArrow(times);
            if (QTest::currentTestFailed()) return;
            const qint64 first = times[1] - times[0];
            QVERIFY2(first >= 370, qPrintable(QString::number(first)));
            // A late timer is followed by a short gap, so the repeats are
            // judged by their mean rather than by each gap.
            const qint64 repeats = times.size() - 2;
            const qint64 mean = (times.last() - times[1]) / repeats;
            QVERIFY2(mean >= 90, qPrintable(QString::number(mean)));
            prompt = first < 470 && mean < 140;
        }
        QVERIFY2(prompt, "the held arrow repeats no faster than the platform's default");
    }

private:
    // The moments of the steps while the up arrow is held for six of them.
    void holdUpArrow(QList<qint64>& times) {
        spin_->setTypedText(QStringLiteral("0"));
        QElapsedTimer clock;
        QMetaObject::Connection c =
            connect(spin_, &SpinEdit::changed, this, [&] { times << clock.elapsed(); });
        const QPoint up = arrowCentre(*spin_, QStyle::SC_SpinBoxUp);
        clock.start();
        QTest::mousePress(spin_, Qt::LeftButton, {}, up);
        QTRY_VERIFY_WITH_TIMEOUT(times.size() >= 6, 5000);
        QTest::mouseRelease(spin_, Qt::LeftButton, {}, up);
        disconnect(c);
        QCOMPARE(spin_->typedText().toInt(), static_cast<int>(times.size()));
    }
};

QTEST_MAIN(SpinEditTest)
#include "test_spinedit.moc"
