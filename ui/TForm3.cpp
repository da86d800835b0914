// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/TForm3.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

#include "ui/Bindings.h"
#include "ui/Controls.h"
#include "ui/EntryDialog.h"
#include "ui/ErrorHandler.h"
#include "ui/Keys.h"
#include "ui/LinesModel.h"
#include "ui/ListBinding.h"
#include "ui/PageDrop.h"
#include "ui/PictureChoice.h"
#include "ui/SettingsBinding.h"
#include "ui/SpinEdit.h"
#include "ui/UndoKeys.h"
#include "ui/WizardStyle.h"
#include "wizard/PagePictures.h"

namespace velmora::ui {

TForm3::TForm3(const QString& folder, QWidget* parent)
    : QWidget(parent), page_(QFile::encodeName(folder).toStdString()) {
    setObjectName(QStringLiteral("Form3"));
    setUpFixedWindow(this, QStringLiteral("Assistent"), {763, 433}, {77, 66});
    setPalette(windowPalette());
    setFont(wizardFont());

    buildWizardUi(this, ui_);
    values_ = std::make_unique<SettingsBinding>(ui_, settings_, [this](bool onPage) {
        if (onPage) emit pageChanged();
    });
    bindLists();
    code_ = new LinesModel(codeList_.lines(), this);
    ui_.ListBox4->setModel(code_);
    const auto pictureFields = ui_.pictureFields();
    for (std::size_t i = 0; i < pictureFields.size(); ++i) {
        offerPictureChoice(pictureFields[i], std::bind_front(&TForm3::pageFolder, this),
                           kPicturePlaces[i]);
    }
    connectOperations();
    connectPageKeys();
    showSettings();
    ui_.Memo5->installEventFilter(this);
    routeUndoKeys(this, std::bind_front(&TForm3::undo, this), std::bind_front(&TForm3::redo, this));
    acceptPageDrops(
        this, [this](const QString& file) { openPage(file, this); },
        QList<QWidget*>(pictureFields.begin(), pictureFields.end()));
}

QWidget* TForm3::tabStrip() const { return ui_.PageControl1->tabBar(); }

// The controls go first: their signals write into the settings.
TForm3::~TForm3() { delete ui_.PageControl1; }

// The user selects; the operations change the rows one by one, and a page
// opened brings all rows anew.
void TForm3::bindLists() {
    for (const ListWindow& window : kListWindows) {
        const ListField& list = *window.field;
        ListActions actions;
        actions.change = [this, &window] { changeEntry(window); };
        actions.move = [this, &list](int by) {
            run([&list, by](PageSettings& s) { return moveSelected(s, list, by); });
        };
        actions.drag = [this, &list](int from, int to) {
            run([&list, from, to](PageSettings& s) { return Step::move(s, list, from, to); });
        };
        lists_.push_back(new ListBinding(window, ui_, settings_, std::move(actions)));
    }
}

void TForm3::connectOperations() {
    const WizardUi& u = ui_;
    using Button = std::pair<QAbstractButton*, Step (*)(PageSettings&)>;
    for (auto [button, operation] :
         {Button{u.SpeedButton2, velmora::SpeedButton2Click},
          Button{u.SpeedButton5, velmora::SpeedButton5Click},
          Button{u.SpeedButton6, velmora::SpeedButton6Click},
          Button{u.SpeedButton7, velmora::SpeedButton7Click},
          Button{u.SpeedButton8, velmora::SpeedButton8Click},
          Button{u.BitBtn8, velmora::BitBtn8Click}, Button{u.BitBtn1, velmora::BitBtn1Click},
          Button{u.SpeedButton3, velmora::SpeedButton3Click},
          Button{u.SpeedButton4, velmora::SpeedButton4Click}}) {
        connectOperation(button, operation);
    }
    connect(u.Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(u.SpeedButton9, &QToolButton::clicked, this, &TForm3::SpeedButton9Click);
    // The finish from anywhere in the wizard: a key of its own, which the
    // page's Return never sees.
    auto* finish = new QShortcut(this);
    finish->setKeys(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    connect(finish, &QShortcut::activated, u.SpeedButton9, &QAbstractButton::click);
    for (auto [toggle, alignment] : {std::pair{ui_.l, Alignment::Left},
                                     {ui_.m, Alignment::Middle},
                                     {ui_.r, Alignment::Right}}) {
        connect(toggle, &QToolButton::clicked, this, [this, pressed = alignment] {
            pressToggle(settings_, pressed);
            values_->showToggles();
        });
    }
}

// Ctrl+Tab and Ctrl+Shift+Tab are the wizard's own, so that they change the
// page wherever the focus is: the tab strip takes them only from within the
// pages, and the finish stands outside them.
void TForm3::connectPageKeys() {
    for (const auto& [keys, by] :
         {std::pair{QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Tab)}, +1},
          {QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
           -1}}) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, this, [this, by = by] { turnPage(by); });
    }
}

// As the tab strip turns its pages: round from the last to the first, and
// the focus to the strip where it was on the page turned away.
void TForm3::turnPage(int by) {
    QTabWidget* pages = ui_.PageControl1;
    pages->setCurrentIndex((pages->currentIndex() + by + pages->count()) % pages->count());
    if (QApplication::focusWidget() == nullptr) pages->tabBar()->setFocus();
}

void TForm3::connectOperation(QAbstractButton* button, Step (*operation)(PageSettings&)) {
    connect(button, &QAbstractButton::clicked, this, [this, operation] { run(operation); });
}

void TForm3::run(const std::function<Step(PageSettings&)>& operation) {
    guarded(this, [&] { showUpdate(history_.run(settings_, operation)); });
}

void TForm3::undo() {
    guarded(this, [this] { showUpdate(history_.undo(settings_)); });
}

void TForm3::redo() {
    guarded(this, [this] { showUpdate(history_.redo(settings_)); });
}

void TForm3::showUpdate(const Update& update) {
    if (!update.changedSomething()) return;
    if (update.several) showSettings();
    for (ListBinding* list : lists_) {
        if (&list->field() == update.list) list->show(update.change);
    }
    if (update.field != nullptr) values_->showText(update.field);
    emit pageChanged();
}

// The dialog does not wait: it is modal to the whole program, so nothing
// changes the selection while it is open, and "OK" changes the entry then
// selected.
void TForm3::changeEntry(const ListWindow& window) {
    const ListField& list = *window.field;
    const StringList& shown = settings_.*list.shown;
    if (!shown.hasSelection()) return;
    const auto row = static_cast<std::size_t>(shown.selected);
    const Entry entry{shown.items[row],
                      list.paired != nullptr ? (settings_.*list.paired).items[row] : std::string()};
    EntryDialog* dialog =
        EntryDialog::forEntry(this, window, entry, [this] { return pageFolder(); });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    connect(dialog, &QDialog::accepted, this, [this, &list, dialog] {
        run([&list, changed = dialog->entry()](PageSettings& s) {
            return changeSelected(s, list, changed);
        });
    });
    // back to the list, where the keys go on, whatever the platform
    // activates when the dialog closes
    connect(dialog, &QDialog::finished, this, &QWidget::activateWindow);
    dialog->show();
}

// The history gives Edit12 back when the line is undone.
void TForm3::Button1Click() { run(velmora::Button1Click); }

// A file of the page's name that this run has neither opened nor written,
// and that is no page Velmora wrote, may be the user's own: it is replaced
// only when the user says so.
void TForm3::SpeedButton9Click() { writePage(); }

std::map<std::string, pictures::Place> TForm3::picturePlaces() const {
    return velmora::picturePlaces(settings_);
}

void TForm3::renamePictures(const std::map<std::string, std::string>& names) {
    run([&names](PageSettings& s) { return Step::rename(s, names); });
}

bool TForm3::writePage() {
    bool declined = false;
    const bool saved = guarded(this, [this, &declined] {
        if (page_.wouldReplaceForeignFile(settings_) &&
            !askYesNo(this, qs(outputFileName(settings_)) +
                                QStringLiteral(" ist keine Seite, die Velmora geschrieben hat. "
                                               "Trotzdem ersetzen?"))) {
            declined = true;
            return;
        }
        try {
            page_.finish(settings_, codeList_);
        } catch (...) {
            showFinish();  // the lines and side effects stand before the box shows
            throw;
        }
        showFinish();
    });
    if (saved && !declined) {
        hide();
        guarded(this, [this] {
            notice_.pageSaved(QFile::decodeName(page_.outputPath(settings_).c_str()));
        });
    }
    return saved && !declined;
}

void TForm3::openPage(const QString& path, QWidget* from) {
    guarded(from, [&] {
        OpenedPage opened = page_.read(QFile::encodeName(path).toStdString());
        if (page_.holdsUnsaved(settings_) &&
            !askYesNo(from, QStringLiteral("Die Eingaben im Assistenten sind noch nicht "
                                           "gespeichert. Trotzdem die Seite öffnen?"))) {
            return;
        }
        page_.open(std::move(opened), settings_, codeList_);
        history_.clear();  // its steps name rows of the lists just replaced
        showSettings();
        emit pageChanged();
        bringToFront();
    });
}

void TForm3::bringToFront() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TForm3::showSettings() {
    values_->showAll();
    for (ListBinding* list : lists_) list->showAll();
    showFinish();
}

// "HTML Code" reads the new lines in place of the old; the link fields and
// the selections show what the finish left in the settings.
void TForm3::showFinish() {
    code_->reset();
    values_->showText(&PageSettings::Edit3);
    values_->showText(&PageSettings::Edit4);
    for (ListBinding* list : lists_) list->showSelection();
}

// On "Text" Enter runs "Hinzufügen" wherever it started; the insert buttons
// click themselves and the help text swallows it. Elsewhere it does nothing.
void TForm3::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event) && ui_.PageControl1->currentWidget() == ui_.TabSheet4) {
        Button1Click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.Memo5 && event->type() == QEvent::KeyPress &&
        isEnter(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmora::ui
