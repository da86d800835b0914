// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt's own texts, started as the program starts: German whatever language the
// environment names. ctest runs this under LANG=C and LANG=en_US.UTF-8.
#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "ui/Application.h"
#include "ui/SpinEdit.h"

using velmora::ui::Shell;

namespace {

struct MenuEntry {
    QString text;      // without the mnemonic's "&"
    QString shortcut;  // as the menu shows it after the tab, may be empty
};

QList<MenuEntry> entries(const QMenu& menu) {
    QList<MenuEntry> result;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        const QString text = action->text();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        result.append({QString(text.left(tab)).remove(QLatin1Char('&')),
                       tab < 0 ? QString() : text.mid(tab + 1)});
    }
    return result;
}

QStringList texts(const QList<MenuEntry>& menu) {
    QStringList result;
    for (const MenuEntry& e : menu) result << e.text;
    return result;
}

// The field menu's entries from Qt's German catalogue, in Qt's order.
const QStringList kGermanFieldMenu{
    QStringLiteral("Rückgängig"),     QStringLiteral("Wiederherstellen"),
    QStringLiteral("Ausschneiden"),   QStringLiteral("Kopieren"),
    QStringLiteral("Einfügen"),       QStringLiteral("Löschen"),
    QStringLiteral("Alles auswählen")};

const QStringList kEnglish{
    QStringLiteral("Undo"),       QStringLiteral("Redo"),    QStringLiteral("Cut"),
    QStringLiteral("Copy"),       QStringLiteral("Paste"),   QStringLiteral("Delete"),
    QStringLiteral("Select All"), QStringLiteral("Step up"), QStringLiteral("Step down")};

// The menu a spin field pops up for the context menu key: Qt builds it inside
// its event handler and runs it modally, so it is read while it is open.
// Empty when no menu opened.
QList<MenuEntry> openedSpinMenu(QWidget* spin) {
    QList<MenuEntry> seen;
    QTimer reader;
    reader.setInterval(10);
    QObject::connect(&reader, &QTimer::timeout, spin, [&seen, &reader] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        seen = entries(*menu);
        reader.stop();
        menu->close();
    });
    reader.start();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            spin->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(spin, &event);
    return seen;
}

}  // namespace

class TestShellLanguage : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;  // the page's, where nothing is written
    std::unique_ptr<Shell> shell_;

private slots:
    void init() { shell_ = std::make_unique<Shell>(folder_.path()); }
    void cleanup() { shell_.reset(); }

    void environmentAsksForAnotherLanguage();
    void fieldMenuIsGerman();
    void spinFieldMenuIsGerman();
    void tabScrollButtonsAreGerman();
};

// Otherwise German could come from the environment and not from the program.
void TestShellLanguage::environmentAsksForAnotherLanguage() {
    const QString lang = qEnvironmentVariable("LANG");
    QVERIFY2(!lang.isEmpty(), "run with LANG set");
    QCOMPARE(QLocale::system().name(), lang.section(QLatin1Char('.'), 0, 0));
    QVERIFY(QLocale::system().language() != QLocale::German);
}

void TestShellLanguage::fieldMenuIsGerman() {
    auto* edit = shell_->Form3.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    QVERIFY(edit != nullptr);
    const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    const QList<MenuEntry> shown = entries(*menu);
    QCOMPARE(texts(shown), kGermanFieldMenu);
    for (const MenuEntry& e : shown) {
        QVERIFY2(e.shortcut.isEmpty() || e.shortcut.startsWith(QStringLiteral("Strg+")),
                 qPrintable(e.shortcut));
    }
}

void TestShellLanguage::spinFieldMenuIsGerman() {
    shell_->Form3.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shell_->Form3));
    auto* spin = shell_->Form3.findChild<velmora::ui::SpinEdit*>(QStringLiteral("SpinEdit4"));
    QVERIFY(spin != nullptr);
    const QStringList shown = texts(openedSpinMenu(spin));
    const QStringList germanSpinMenu =
        kGermanFieldMenu +
        QStringList{QStringLiteral("Inkrementieren"), QStringLiteral("Dekrementieren")};
    QCOMPARE(shown, germanSpinMenu);
    for (const QString& english : kEnglish) QVERIFY2(!shown.contains(english), qPrintable(english));
}

void TestShellLanguage::tabScrollButtonsAreGerman() {
    const QTabBar* tabs =
        shell_->Form3.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->tabBar();
    QStringList names;
    for (const QToolButton* b : tabs->findChildren<QToolButton*>()) names << b->accessibleName();
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("Nach links scrollen"),
                                 QStringLiteral("Nach rechts scrollen")}));
}

int main(int argc, char** argv) {
    velmora::ui::Application app(argc, argv);
    TestShellLanguage test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shell_language.moc"
