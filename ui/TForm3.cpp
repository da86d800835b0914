// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/TForm3.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStringList>
#include <QTabWidget>
#include <QToolButton>

#include "ui/Controls.h"
#include "ui/ErrorHandler.h"
#include "ui/ListBinding.h"
#include "ui/PageDrop.h"
#include "ui/SpinEdit.h"
#include "ui/WizardStyle.h"

namespace velmora::ui {
namespace {

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

// The shows below set a control with its signals held: what the settings
// already hold must not come back to them as if the user had changed it.
void showText(QLineEdit* edit, const std::string& value) {
    if (edit->text() == qs(value)) return;
    const QSignalBlocker quiet(edit);
    edit->setText(qs(value));
}

void showSpin(SpinEdit* spin, const SpinField& field) {
    const QSignalBlocker quiet(spin);
    spin->setTypedText(qs(field.text));
}

// The button it unchecks is held too.
void checkQuietly(QAbstractButton* button) {
    const QButtonGroup* group = button->group();
    const QList<QAbstractButton*> members =
        group != nullptr ? group->buttons() : QList<QAbstractButton*>{button};
    std::vector<QSignalBlocker> quiet;
    quiet.reserve(static_cast<std::size_t>(members.size()));
    for (QAbstractButton* member : members) quiet.emplace_back(member);
    button->setChecked(true);
}

}  // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form3"));
    setUpFixedWindow(this, QStringLiteral("Assistent"), {763, 433}, {77, 66});
    setPalette(windowPalette());
    setFont(wizardFont());

    buildWizardUi(this, ui_);
    bindControls();
    connectOperations();
    showSettings();
    ui_.Memo5->installEventFilter(this);
    const auto pictureFields = ui_.pictureFields();
    acceptPageDrops(
        this, [this](const QString& file) { openPage(file, this); },
        QList<QWidget*>(pictureFields.begin(), pictureFields.end()));
}

// The controls go first: their signals write into the settings.
TForm3::~TForm3() { delete ui_.PageControl1; }

// Each binding takes the user's changes into the settings and registers how
// the settings are shown, so one list serves both ways.
void TForm3::bindTick(QCheckBox* box, bool& value) {
    connect(box, &QCheckBox::toggled, this, [&value](bool on) { value = on; });
    shows_.emplace_back([box, &value] {
        const QSignalBlocker quiet(box);
        box->setChecked(value);
    });
}

// A choice of two radio buttons held as "the first is selected". Checking
// one unchecks the other, which a checked radio button cannot do itself.
void TForm3::bindChoice(QRadioButton* first, QRadioButton* second, bool& firstSelected) {
    connect(first, &QRadioButton::toggled, this, [&firstSelected](bool on) { firstSelected = on; });
    shows_.emplace_back(
        [first, second, &firstSelected] { checkQuietly(firstSelected ? first : second); });
}

void TForm3::bindText(QLineEdit* edit, std::string& value) {
    connect(edit, &QLineEdit::textChanged, this,
            [&value](const QString& text) { value = text.toStdString(); });
    shows_.emplace_back([edit, &value] { showText(edit, value); });
}

void TForm3::bindSpin(SpinEdit* spin, SpinField& field) {
    connect(spin, &SpinEdit::changed, this,
            [&field](const QString& text) { field.text = text.toStdString(); });
    shows_.emplace_back([spin, &field] { showSpin(spin, field); });
}

void TForm3::bindControls() {
    PageSettings& s = settings_;
    const WizardUi& u = ui_;
    bindChoice(u.hgb, u.hgf, s.hgb);
    bindChoice(u.html, u.htm, s.html);
    for (auto [box, value] : {std::pair{u.CSS, &s.CSS},
                              {u.fett, &s.fett},
                              {u.eck, &s.eck},
                              {u.Dots, &s.Dots},
                              {u.lh, &s.lh},
                              {u.strecken, &s.strecken},
                              {u.zentrieren, &s.zentrieren}}) {
        bindTick(box, *value);
    }
    for (auto [edit, value] :
         {std::pair{u.Edit1, &s.Edit1}, {u.Edit14, &s.Edit14}, {u.Edit15, &s.Edit15},
          {u.Edit16, &s.Edit16},        {u.Edit17, &s.Edit17}, {u.Edit18, &s.Edit18},
          {u.Edit26, &s.Edit26},        {u.Edit27, &s.Edit27}, {u.Edit19, &s.Edit19},
          {u.Edit2, &s.Edit2},          {u.Edit5, &s.Edit5},   {u.Edit20, &s.Edit20},
          {u.Edit21, &s.Edit21},        {u.Edit8, &s.Edit8},   {u.Edit9, &s.Edit9},
          {u.Edit3, &s.Edit3},          {u.Edit4, &s.Edit4},   {u.Edit6, &s.Edit6},
          {u.Edit7, &s.Edit7},          {u.Edit12, &s.Edit12}, {u.Edit24, &s.Edit24},
          {u.Edit25, &s.Edit25},        {u.Edit13, &s.Edit13}, {u.Edit22, &s.Edit22},
          {u.Edit23, &s.Edit23},        {u.Edit10, &s.Edit10}, {u.Edit11, &s.Edit11}}) {
        bindText(edit, *value);
    }
    for (auto [spin, field] : {std::pair{u.SpinEdit1, &s.SpinEdit1},
                               {u.SpinEdit2, &s.SpinEdit2},
                               {u.SpinEdit4, &s.SpinEdit4},
                               {u.SpinEdit5, &s.SpinEdit5},
                               {u.SpinEdit6, &s.SpinEdit6}}) {
        bindSpin(spin, *field);
    }
    bindSpinEdit3();
    // The user selects; the operations change the rows one by one, and a
    // page opened brings all rows anew.
    links_ = std::make_unique<ListBinding>(u.ListBox2, s.ListBox2, &s.ListBox5);
    lines_ = std::make_unique<ListBinding>(u.ListBox1, s.ListBox1, nullptr);
    pictures_ = std::make_unique<ListBinding>(u.ListBox3, s.ListBox3, &s.ListBox6);
    for (const ListBinding* list : {links_.get(), lines_.get(), pictures_.get()})
        shows_.emplace_back([list] { list->showAll(); });
    bindHeadingSize();
}

void TForm3::bindHeadingSize() {
    const auto buttons = ui_.sizeButtons();
    shows_.emplace_back([this, buttons] {
        checkQuietly(buttons[static_cast<std::size_t>(settings_.HeadingSize - 1)]);
    });
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const int size = static_cast<int>(i) + 1;
        connect(buttons[i], &QRadioButton::toggled, this, [this, size](bool on) {
            if (on) RadioButtonClick(size);
        });
    }
}

void TForm3::bindSpinEdit3() {
    shows_.emplace_back([this] { showSpin(ui_.SpinEdit3, settings_.SpinEdit3); });
    connect(ui_.SpinEdit3, &SpinEdit::changed, this, [this](const QString& text) {
        settings_.SpinEdit3.text = text.toStdString();
        SpinEdit3Change();
    });
}

void TForm3::connectOperations() {
    const WizardUi& u = ui_;
    connectOperation(u.SpeedButton2, velmora::SpeedButton2Click, *links_);
    connectOperation(u.SpeedButton5, velmora::SpeedButton5Click, *links_);
    connectOperation(u.SpeedButton6, velmora::SpeedButton6Click, *lines_);
    connectOperation(u.SpeedButton7, velmora::SpeedButton7Click, *lines_);
    connectOperation(u.SpeedButton8, velmora::SpeedButton8Click, *lines_);
    connectOperation(u.BitBtn8, velmora::BitBtn8Click, *lines_);
    connectOperation(u.BitBtn1, velmora::BitBtn1Click, *lines_);
    connectOperation(u.SpeedButton3, velmora::SpeedButton3Click, *pictures_);
    connectOperation(u.SpeedButton4, velmora::SpeedButton4Click, *pictures_);
    connect(u.Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(u.SpeedButton9, &QToolButton::clicked, this, &TForm3::SpeedButton9Click);
    // The finish from anywhere in the wizard: a key of its own, which the
    // page's Return never sees.
    auto* finish = new QShortcut(this);
    finish->setKeys(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    connect(finish, &QShortcut::activated, u.SpeedButton9, &QAbstractButton::click);
    connectToggles();
}

void TForm3::connectOperation(QAbstractButton* button, Operation operation,
                              const ListBinding& list) {
    connect(button, &QAbstractButton::clicked, this, [this, operation, &list] {
        guarded(this, [&] { list.show(operation(settings_).change()); });
    });
}

void TForm3::connectToggles() {
    for (auto [toggle, alignment] : {std::pair{ui_.l, Alignment::Left},
                                     {ui_.m, Alignment::Middle},
                                     {ui_.r, Alignment::Right}}) {
        connect(toggle, &QToolButton::clicked, this, [this, pressed = alignment] {
            pressToggle(settings_, pressed);
            showToggles();
        });
    }
    shows_.emplace_back([this] { showToggles(); });
}

void TForm3::showToggles() {
    for (auto [toggle, alignment] : {std::pair{ui_.l, Alignment::Left},
                                     {ui_.m, Alignment::Middle},
                                     {ui_.r, Alignment::Right}}) {
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(settings_.alignment == alignment);
    }
}

void TForm3::Button1Click() {
    guarded(this, [this] {
        lines_->show(velmora::Button1Click(settings_).change());
        showText(ui_.Edit12, settings_.Edit12);
    });
}

void TForm3::SpinEdit3Change() {
    guarded(this, [this] {
        if (velmora::SpinEdit3Change(settings_)) showSpin(ui_.SpinEdit3, settings_.SpinEdit3);
    });
}

// A file of the page's name that this run has neither opened nor written,
// and that is no page Velmora wrote, may be the user's own: it is replaced
// only when the user says so.
void TForm3::SpeedButton9Click() {
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
            notice_.pageSaved(QFileInfo(qs(velmora::outputFileName(settings_))).absoluteFilePath());
        });
    }
}

void TForm3::openPage(const QString& path, QWidget* from) {
    guarded(from, [&] {
        OpenedPage opened = PageFile::read(QFile::encodeName(path).toStdString());
        if (page_.holdsUnsaved(settings_) &&
            !askYesNo(from, QStringLiteral("Die Eingaben im Assistenten sind noch nicht "
                                           "gespeichert. Trotzdem die Seite öffnen?"))) {
            return;
        }
        page_.open(std::move(opened), settings_, codeList_);
        showSettings();
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
    for (const auto& show : shows_) show();
    showFinish();
}

// "HTML Code" gets the new lines in place of the old; the link fields and the
// selections show what the finish left in the settings.
void TForm3::showFinish() {
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(codeList_.size()));
    for (const std::string& line : codeList_.lines()) rows << qs(line);
    ui_.ListBox4->clear();
    ui_.ListBox4->addItems(rows);
    showText(ui_.Edit3, settings_.Edit3);
    showText(ui_.Edit4, settings_.Edit4);
    for (const ListBinding* list : {links_.get(), lines_.get(), pictures_.get()})
        list->showSelection();
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
