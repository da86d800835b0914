// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/SettingsBinding.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <utility>

#include "ui/Bindings.h"
#include "ui/SpinEdit.h"
#include "ui/Utf8.h"
#include "wizard/Editing.h"

namespace velmora::ui {
namespace {

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

template <class Table, class Value>
const auto& bindingOf(const Table& table, Member<Value> value) {
    for (const auto& binding : table) {
        if (binding.value == value) return binding;
    }
    return table.front();  // every member of the core's tables is bound
}

}  // namespace

SettingsBinding::SettingsBinding(const WizardUi& ui, PageSettings& settings, Changed changed)
    : ui_(ui), settings_(settings), changed_(std::move(changed)) {
    bindTexts();
    bindTicks();
    bindSpins();
    bindChoices();
    shows_.emplace_back([this] { showToggles(); });
}

void SettingsBinding::bindTexts() {
    for (std::size_t i = 0; i < kTextBindings.size(); ++i) {
        const auto& binding = kTextBindings[i];
        std::string& value = settings_.*binding.value;
        QObject::connect(ui_.*binding.control, &QLineEdit::textChanged, ui_.*binding.control,
                         [this, &value, onPage = kTextFields[i].onPage](const QString& text) {
                             value = text.toStdString();
                             changed_(onPage);
                         });
        shows_.emplace_back([this, member = binding.value] { showText(member); });
    }
}

void SettingsBinding::bindTicks() {
    for (std::size_t i = 0; i < kTickBindings.size(); ++i) {
        QCheckBox* box = ui_.*kTickBindings[i].control;
        bool& value = settings_.*kTickBindings[i].value;
        QObject::connect(box, &QCheckBox::toggled, box,
                         [this, &value, onPage = kTickFields[i].onPage](bool on) {
                             value = on;
                             changed_(onPage);
                         });
        shows_.emplace_back([box, &value] {
            const QSignalBlocker quiet(box);
            box->setChecked(value);
        });
    }
}

// SpinEdit3Change keeps the spacing count at 0 or more before anyone hears
// of the change.
void SettingsBinding::bindSpins() {
    for (std::size_t i = 0; i < kSpinBindings.size(); ++i) {
        const auto& binding = kSpinBindings[i];
        SpinField& value = settings_.*binding.value;
        QObject::connect(
            ui_.*binding.control, &SpinEdit::changed, ui_.*binding.control,
            [this, &value, member = binding.value,
             onPage = kSpinFields[i].onPage](const QString& text) {
                value.text = text.toStdString();
                if (member == &PageSettings::SpinEdit3 && velmora::SpinEdit3Change(settings_)) {
                    showSpin(member);
                }
                changed_(onPage);
            });
        shows_.emplace_back([this, member = binding.value] { showSpin(member); });
    }
}

// A choice of two radio buttons is held as "the first is selected"; checking
// one unchecks the other, which a checked radio button cannot do itself, so
// the first one's signal tells of both. RadioButton1Click … RadioButton6Click:
// the heading size of the button checked.
void SettingsBinding::bindChoices() {
    for (auto [first, second, value, onPage] :
         {std::tuple{ui_.hgb, ui_.hgf, &PageSettings::hgb, true},
          {ui_.html, ui_.htm, &PageSettings::html, false}}) {
        bool& firstSelected = settings_.*value;
        QObject::connect(first, &QRadioButton::toggled, first,
                         [this, &firstSelected, onPage = onPage](bool on) {
                             firstSelected = on;
                             changed_(onPage);
                         });
        shows_.emplace_back([first = first, second = second, &firstSelected] {
            checkQuietly(firstSelected ? first : second);
        });
    }
    const auto sizes = ui_.sizeButtons();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        QObject::connect(sizes[i], &QRadioButton::toggled, sizes[i],
                         [this, size = static_cast<int>(i) + 1](bool on) {
                             if (!on) return;
                             settings_.HeadingSize = size;
                             changed_(true);
                         });
    }
    shows_.emplace_back([this, sizes] {
        checkQuietly(sizes[static_cast<std::size_t>(settings_.HeadingSize - 1)]);
    });
}

void SettingsBinding::showAll() const {
    for (const auto& show : shows_) show();
}

void SettingsBinding::showText(Member<std::string> field) const {
    QLineEdit* edit = ui_.*bindingOf(kTextBindings, field).control;
    const QString value = qs(settings_.*field);
    if (edit->text() == value) return;
    const QSignalBlocker quiet(edit);
    edit->setText(value);
}

void SettingsBinding::showSpin(Member<SpinField> field) const {
    SpinEdit* spin = ui_.*bindingOf(kSpinBindings, field).control;
    const QSignalBlocker quiet(spin);
    spin->setTypedText(qs((settings_.*field).text));
}

void SettingsBinding::showToggles() const {
    for (auto [toggle, alignment] : {std::pair{ui_.l, Alignment::Left},
                                     {ui_.m, Alignment::Middle},
                                     {ui_.r, Alignment::Right}}) {
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(settings_.alignment == alignment);
    }
}

}  // namespace velmora::ui
