// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The two windows as a user reads them: every help line and caption whole,
// and every text readable on the fixed backgrounds, on a light or a dark
// desktop theme.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <cmath>
#include <functional>

#include "test_wizard_support.h"
#include "ui/Application.h"
#include "ui/TForm1.h"
#include "ui/WizardHelpTexts.h"

namespace velmora::ui::test {
namespace {

QString describe(const QWidget* w) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(w)) text = box->title();
    const QString name = w->objectName().isEmpty()
                             ? QString::fromLatin1(w->metaObject()->className())
                             : w->objectName();
    return text.isEmpty() ? name : name + QStringLiteral(" \"") + text + QLatin1Char('"');
}

// Relative luminance and contrast ratio as the web content guidelines define them.
double luminance(const QColor& colour) {
    auto channel = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Large text (24 px, or 18.7 px bold) needs 3:1, all other text 4.5:1.
double requiredContrast(const QWidget* w) {
    const QFontInfo font(w->font());
    const bool large = font.pixelSize() >= 24 || (font.bold() && font.pixelSize() >= 19);
    return large ? 3.0 : 4.5;
}

// The colour that shows behind a control that draws no background of its own.
QColor shownBehind(const QWidget* w, QPalette::ColorGroup group) {
    const QWidget* a = w->parentWidget();
    while (a != nullptr && !a->autoFillBackground() && !a->isWindow()) a = a->parentWidget();
    if (a == nullptr) a = w;
    return a->palette().color(group, a->backgroundRole());
}

QString groupName(QPalette::ColorGroup group) {
    switch (group) {
        case QPalette::Active:
            return QStringLiteral("active");
        case QPalette::Inactive:
            return QStringLiteral("inactive");
        default:
            return QStringLiteral("disabled");
    }
}

bool drawsNoBackground(const QWidget* w) {
    if (const auto* tool = qobject_cast<const QToolButton*>(w)) return tool->autoRaise();
    return qobject_cast<const QLabel*>(w) != nullptr ||
           qobject_cast<const QTabBar*>(w) != nullptr ||
           (qobject_cast<const QAbstractButton*>(w) != nullptr &&
            qobject_cast<const QPushButton*>(w) == nullptr);
}

bool showsSelection(const QWidget* w) {
    return qobject_cast<const QAbstractItemView*>(w) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(w) != nullptr ||
           qobject_cast<const QLineEdit*>(w) != nullptr;
}

// Every shown control of `window`, each text colour on each background it
// stands on, in the active, inactive and disabled colours.
QStringList unreadable(const QWidget& window) {
    QStringList found;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        const QPalette& p = w->palette();
        const double needed = requiredContrast(w);
        for (const QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            const QColor text = p.color(group, w->foregroundRole());
            std::vector<std::pair<QColor, QColor>> pairs{
                {text, p.color(group, w->backgroundRole())}};
            if (drawsNoBackground(w)) pairs.emplace_back(text, shownBehind(w, group));
            if (showsSelection(w)) {
                pairs.emplace_back(p.color(group, QPalette::HighlightedText),
                                   p.color(group, QPalette::Highlight));
            }
            for (const auto& [fore, back] : pairs) {
                const double ratio = contrast(fore, back);
                if (ratio < needed) {
                    found << QStringLiteral("%1: %2 on %3 is %4:1 (%5)")
                                 .arg(describe(w), fore.name(), back.name())
                                 .arg(ratio, 0, 'f', 2)
                                 .arg(groupName(group));
                }
            }
        }
    }
    found.removeDuplicates();
    return found;
}

// A field's icon button draws no caption and no frame, only its icon, at the
// small icon size of the field's style. It must show that icon whole, inside
// the field.
QStringList cutIcon(const QWidget& button, const QLineEdit& field) {
    const int icon = field.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &field);
    QStringList found;
    if (icon > button.width() || icon > button.height()) {
        found << QStringLiteral("%1 in %2: icon of %3 in %4 x %5")
                     .arg(describe(&button), field.objectName())
                     .arg(icon)
                     .arg(button.width())
                     .arg(button.height());
    }
    if (!field.rect().contains(button.geometry())) {
        found << QStringLiteral("%1 in %2: beyond the field")
                     .arg(describe(&button), field.objectName());
    }
    return found;
}

// Captions that need more room than their control has, and icons in fields.
QStringList cutCaptions(const QWidget& window) {
    QStringList found;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (const auto* field = qobject_cast<const QLineEdit*>(w->parentWidget())) {
            found << cutIcon(*w, *field);
            continue;
        }
        int needed = 0;
        if (qobject_cast<const QLabel*>(w) != nullptr ||
            qobject_cast<const QAbstractButton*>(w) != nullptr) {
            needed = w->sizeHint().width();
        } else if (qobject_cast<const QGroupBox*>(w) != nullptr) {
            needed = w->minimumSizeHint().width();
        } else if (const auto* bar = qobject_cast<const QTabBar*>(w)) {
            // tabs size to their captions; they must all fit without scroll arrows
            for (int i = 0; i < bar->count(); ++i) {
                if (!bar->rect().contains(bar->tabRect(i)))
                    found << QStringLiteral("tab \"%1\" beyond the strip").arg(bar->tabText(i));
            }
            continue;
        } else {
            continue;
        }
        if (needed > w->width())
            found
                << QStringLiteral("%1 needs %2 in %3").arg(describe(w)).arg(needed).arg(w->width());
    }
    return found;
}

// As a dark platform theme hands it over.
QPalette darkPalette() {
    QPalette p;
    const QColor light(0xF0, 0xF0, 0xF0);
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(0x35, 0x35, 0x35)},
                                       {QPalette::WindowText, light},
                                       {QPalette::Base, QColor(0x2A, 0x2A, 0x2A)},
                                       {QPalette::AlternateBase, QColor(0x42, 0x42, 0x42)},
                                       {QPalette::Text, light},
                                       {QPalette::PlaceholderText, QColor(0x8C, 0x8C, 0x8C)},
                                       {QPalette::Button, QColor(0x3C, 0x3C, 0x3C)},
                                       {QPalette::ButtonText, light},
                                       {QPalette::Light, QColor(0x5A, 0x5A, 0x5A)},
                                       {QPalette::Midlight, QColor(0x4A, 0x4A, 0x4A)},
                                       {QPalette::Mid, QColor(0x2E, 0x2E, 0x2E)},
                                       {QPalette::Dark, QColor(0x23, 0x23, 0x23)},
                                       {QPalette::Shadow, QColor(0x14, 0x14, 0x14)},
                                       {QPalette::Highlight, QColor(0x3D, 0xAE, 0xE9)},
                                       {QPalette::HighlightedText, QColor(0xFC, 0xFC, 0xFC)},
                                       {QPalette::ToolTipBase, QColor(0x31, 0x36, 0x3B)},
                                       {QPalette::ToolTipText, light}}) {
        p.setColor(QPalette::All, role, colour);
    }
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, QColor(0x7F, 0x7F, 0x7F));
    }
    return p;
}

// Runs `check` on the start window and on each page of the wizard in turn,
// both created after the application palette of the row was set.
void onEveryPage(const QPalette& palette, const std::function<QStringList(const QWidget&)>& check,
                 QStringList& found) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    {
        TForm1 start;
        start.show();
        if (QTest::qWaitForWindowExposed(&start)) {
            for (const QString& f : check(start)) found << QStringLiteral("Form1: ") + f;
        } else {
            found << QStringLiteral("Form1 not shown");
        }
        const ScratchDirectory folder;
        const auto wizard = shownWizard(folder.path());
        if (wizard == nullptr) {
            found << QStringLiteral("Form3 not shown");
        } else {
            for (int page = General; page <= Code; ++page) {
                clickTab(*wizard, page);
                const QString name = pages(*wizard)->currentWidget()->objectName();
                for (const QString& f : check(*wizard)) found << name + QStringLiteral(": ") + f;
            }
        }
    }
    QApplication::setPalette(before);
    found.removeDuplicates();
}

// A flat button at rest is drawn in the colour of what it stands on.
QStringList flatButtonsOffColour(const QWidget& window) {
    QStringList found;
    for (QToolButton* flat : window.findChildren<QToolButton*>()) {
        if (!flat->isVisible() || !flat->autoRaise() || flat->isChecked() || flat->underMouse())
            continue;
        const QColor page = flat->parentWidget()->palette().color(QPalette::Window);
        const QColor corner = flat->grab().toImage().pixelColor(1, 1);
        if (corner != page)
            found << QStringLiteral("%1 %2 on %3").arg(flat->text(), corner.name(), page.name());
    }
    return found;
}

}  // namespace

class TestLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }
    void helpLinesStayWhole_data();
    void helpLinesStayWhole();
    void captionsFit();
    void textIsReadable_data();
    void textIsReadable();
    void flatButtonsShowThePage_data() { textIsReadable_data(); }
    void flatButtonsShowThePage();
};

void TestLook::helpLinesStayWhole_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("Memo1") << int(General) << "Memo1" << memo1Lines();
    QTest::newRow("Memo2") << int(Heading) << "Memo2" << memo2Lines();
    QTest::newRow("Memo3") << int(Links) << "Memo3" << memo3Lines();
    QTest::newRow("Memo5") << int(Text) << "Memo5" << memo5Lines();
    QTest::newRow("Memo4") << int(Pictures) << "Memo4" << memo4Lines();
}

// Each written line is one block; shown at the form's width, each block is one line.
void TestLook::helpLinesStayWhole() {
    QFETCH(int, page);
    QFETCH(QString, memo);
    QFETCH(QStringList, written);
    const ScratchDirectory folder;
    const auto w = shownWizard(folder.path());
    QVERIFY(w != nullptr);
    clickTab(*w, page);
    auto* help = w->findChild<QPlainTextEdit*>(memo);
    QVERIFY(help != nullptr && help->isVisible());
    QCOMPARE(help->geometry(), QRect(546, 0, 209, 365));
    QVERIFY(help->verticalScrollBar()->isVisible());
    QCOMPARE(help->document()->blockCount(), written.size());
    // the text lays its blocks out in steps after the page shows
    auto laidOut = [help] {
        for (QTextBlock b = help->document()->begin(); b.isValid(); b = b.next()) {
            if (b.layout()->lineCount() == 0) return false;
        }
        return true;
    };
    QTRY_VERIFY(laidOut());
    QStringList wrapped;
    for (QTextBlock b = help->document()->begin(); b.isValid(); b = b.next()) {
        const int lines = b.layout()->lineCount();
        if (lines != 1) wrapped << QStringLiteral("%1 lines: %2").arg(lines).arg(b.text());
    }
    QVERIFY2(wrapped.isEmpty(), qPrintable(wrapped.join(QLatin1Char('\n'))));
}

void TestLook::captionsFit() {
    QStringList cut;
    onEveryPage(QApplication::palette(), cutCaptions, cut);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void TestLook::textIsReadable_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light theme") << QApplication::palette();
    QTest::newRow("dark theme") << darkPalette();
}

void TestLook::textIsReadable() {
    QFETCH(QPalette, palette);
    QStringList unread;
    onEveryPage(palette, unreadable, unread);
    QVERIFY2(unread.isEmpty(), qPrintable(unread.join(QLatin1Char('\n'))));
}

void TestLook::flatButtonsShowThePage() {
    QFETCH(QPalette, palette);
    QStringList off;
    onEveryPage(palette, flatButtonsOffColour, off);
    QVERIFY2(off.isEmpty(), qPrintable(off.join(QLatin1Char('\n'))));
}

}  // namespace velmora::ui::test

QTEST_MAIN(velmora::ui::test::TestLook)
#include "test_look.moc"
