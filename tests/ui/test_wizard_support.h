// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the wizard tests share: reaching controls by name, clicking what a
// user can reach, answering the error box (test_box_answerer.h), and a scratch working directory.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "test_box_answerer.h"
#include "ui/TForm3.h"

namespace velmora::ui::test {

/// The wizard's pages in the order of their tabs.
enum Page { General, Heading, Links, Text, Pictures, Code };

/// The rows a list widget shows.
inline QStringList rows(const QListWidget* list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i) result << list->item(i)->text();
    return result;
}

/// The entries a list of the settings holds.
inline QStringList entries(const StringList& list) {
    QStringList result;
    for (const std::string& s : list.items) result << QString::fromStdString(s);
    return result;
}

template <typename W>
W* control(const QWidget& window, const char* name) {
    return window.findChild<W*>(QString::fromLatin1(name));
}

/// Clicks a row where a user would: inside the list, which takes the focus.
inline void clickRow(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

inline QTabWidget* pages(const QWidget& w) { return control<QTabWidget>(w, "PageControl1"); }

/// Clicks the tab of page `index` as a user would, on the tab strip.
inline void clickTab(const QWidget& w, int index) {
    QTabBar* bar = pages(w)->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

/// A click that only lands when the user could see the control.
#define VELMORA_CLICK(widget)                                                          \
    do {                                                                               \
        QVERIFY2((widget)->isVisible(),                                                \
                 qPrintable((widget)->objectName() + QStringLiteral(" not visible"))); \
        QTest::mouseClick((widget), Qt::LeftButton);                                   \
    } while (false)

/// Replaces a field's text by typing, umlauts included.
inline void typeInto(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

/// A test class over one wizard, which reaches its controls by name.
class WizardTest : public QObject {
protected:
    std::unique_ptr<TForm3> w_;

    template <typename W>
    W* c(const char* name) {
        return control<W>(*w_, name);
    }
    QListWidget* list(const char* name) { return c<QListWidget>(name); }
    QLineEdit* edit(const char* name) { return c<QLineEdit>(name); }
    QAbstractButton* button(const char* name) { return c<QAbstractButton>(name); }
};

/// Runs the test in a fresh, empty working directory.
class ScratchDirectory {
public:
    ScratchDirectory() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScratchDirectory() { QDir::setCurrent(previous_); }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    [[nodiscard]] QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    [[nodiscard]] QByteArray read(const QString& name) const {
        QFile f(QDir(dir_.path()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QString previous_;
    QTemporaryDir dir_;
};

/// Joins lines into file contents, each followed by CR LF.
inline QByteArray crlf(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + "\r\n";
    return bytes;
}

/// A wizard as the program creates it, shown as "Start" shows it.
inline std::unique_ptr<TForm3> shownWizard() {
    auto w = std::make_unique<TForm3>();
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
    return w;
}

}  // namespace velmora::ui::test
