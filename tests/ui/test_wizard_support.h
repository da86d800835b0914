// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the wizard tests share: reaching controls by name, clicking what a
// user can reach, answering the error box (test_box_answerer.h) and the file
// dialog, dropping files, and a scratch folder for the page.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <utility>

#include "test_box_answerer.h"
#include "ui/PicturesModule.h"
#include "ui/TForm3.h"

namespace velmora::ui::test {

/// The wizard's pages in the order of their tabs.
enum Page { General, Heading, Links, Text, Pictures, Code };

/// The rows a list view shows.
inline QStringList rows(const QAbstractItemView* list) {
    QStringList result;
    const QAbstractItemModel* model = list->model();
    for (int i = 0; i < model->rowCount(); ++i) result << model->index(i, 0).data().toString();
    return result;
}

/// How many rows a list view shows.
inline int count(const QAbstractItemView* list) { return list->model()->rowCount(); }

/// The row the keys of a list view go on from; -1 for none.
inline int currentRow(const QAbstractItemView* list) { return list->currentIndex().row(); }

/// Whether a list view shows row `row` selected.
inline bool isSelected(const QAbstractItemView* list, int row) {
    return list->selectionModel()->isRowSelected(row, {});
}

/// The rows a list view shows selected.
inline QList<int> selectedRows(const QAbstractItemView* view) {
    QList<int> result;
    for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
        result << index.row();
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

/// Where row `row` of `list` stands in its viewport.
inline QPoint rowCentre(const QAbstractItemView* list, int row) {
    return list->visualRect(list->model()->index(row, 0)).center();
}

/// Clicks a row where a user would: inside the list, which takes the focus.
inline void clickRow(QAbstractItemView* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
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

/// A fresh, empty folder for the page, which the wizard is given.
class ScratchDirectory {
public:
    ScratchDirectory() = default;
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }
    [[nodiscard]] QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    [[nodiscard]] QByteArray read(const QString& name) const {
        QFile f(dir_.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};

/// A test class over one wizard, whose page lives in a scratch folder of its
/// own, and which reaches its controls by name.
class WizardTest : public QObject {
protected:
    std::unique_ptr<ScratchDirectory> dir_ = std::make_unique<ScratchDirectory>();
    std::unique_ptr<TForm3> w_;

    template <typename W>
    W* c(const char* name) {
        return control<W>(*w_, name);
    }
    QListView* list(const char* name) { return c<QListView>(name); }
    QLineEdit* edit(const char* name) { return c<QLineEdit>(name); }
    QAbstractButton* button(const char* name) { return c<QAbstractButton>(name); }
};

/// Joins lines into file contents, each followed by CR LF.
inline QByteArray crlf(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + "\r\n";
    return bytes;
}

// Answers the next file dialog as a user would: types the path of `file` as
// its name and presses "Öffnen", or presses "Abbrechen" when `file` is empty.
// Keeps what the dialog showed. A dialog that the button leaves open is
// closed, so that the test fails instead of waiting.
class DialogAnswer {
public:
    explicit DialogAnswer(QString file) : file_(std::move(file)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr) answer(dialog);
        });
        timer_.start();
    }
    [[nodiscard]] bool answered() const { return answered_; }

    QString title;
    QStringList filters;
    QString folder;

private:
    void answer(QFileDialog* dialog) {
        timer_.stop();
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        folder = dialog->directory().canonicalPath();
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (file_.isEmpty()) {
            buttons->button(QDialogButtonBox::Cancel)->click();
        } else {
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file_);
            buttons->button(QDialogButtonBox::Open)->click();
        }
        answered_ = !dialog->isVisible();
        if (!answered_) dialog->reject();
    }

    QString file_;
    QTimer timer_;
    bool answered_ = false;
};

// A drag from a file manager or a browser, entered, moved and dropped at `at`.
inline bool drop(QWidget* field, const QMimeData& data, QPoint at) {
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &move);
    QDropEvent dropped(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &dropped);
    return enter.isAccepted() && move.isAccepted() && dropped.isAccepted();
}

/// A wizard as the program creates it, its page in `folder`, shown as
/// "Start" shows it.
inline std::unique_ptr<TForm3> shownWizard(const QString& folder) {
    // The pictures these tests name are stand-ins, which the pictures module
    // would find unreadable; its copies are tested with real photos.
    usePicturesModuleFile(QStringLiteral("/nonexistent/pictures.so"));
    auto w = std::make_unique<TForm3>(folder);
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
    return w;
}

}  // namespace velmora::ui::test
