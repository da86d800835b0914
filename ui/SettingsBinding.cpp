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
#include <stdexcept>
#include <string>

#include "ui/SpinEdit.h"
#include "ui/Utf8.h"

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

// A choice of two radio buttons held as "the first is selected". Checking
// one unchecks the other, which a checked radio button cannot do itself.
std::function<void()> bindChoice(QRadioButton* first, QRadioButton* second, bool& firstSelected) {
    QObject::connect(first, &QRadioButton::toggled, first,
                     [&firstSelected](bool on) { firstSelected = on; });
    return [first, second, &firstSelected] { checkQuietly(firstSelected ? first : second); };
}

}  // namespace

template <class W>
W* SettingsBinding::control(std::string_view name) const {
    auto* found = window_->findChild<W*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    if (found == nullptr) throw std::logic_error("no control named " + std::string(name));
    return found;
}

SettingsBinding::SettingsBinding(QWidget* window, const WizardUi& ui, PageSettings& settings)
    : window_(window), ui_(ui), settings_(settings) {
    for (const TextField& field : kTextFields) {
        std::string& value = settings.*field.member;
        QObject::connect(control<QLineEdit>(field.name), &QLineEdit::textChanged, window,
                         [&value](const QString& text) { value = text.toStdString(); });
        shows_.emplace_back([this, &field] { showText(field); });
    }
    for (const TickField& field : kTickFields) {
        auto* box = control<QCheckBox>(field.name);
        bool& value = settings.*field.member;
        QObject::connect(box, &QCheckBox::toggled, window, [&value](bool on) { value = on; });
        shows_.emplace_back([box, &value] {
            const QSignalBlocker quiet(box);
            box->setChecked(value);
        });
    }
    for (const SpinEditField& field : kSpinFields) {
        SpinField& value = settings.*field.member;
        QObject::connect(control<SpinEdit>(field.name), &SpinEdit::changed, window,
                         [&value](const QString& text) { value.text = text.toStdString(); });
        shows_.emplace_back([this, &field] { showSpin(field); });
    }
    shows_.push_back(bindChoice(ui.hgb, ui.hgf, settings.hgb));
    shows_.push_back(bindChoice(ui.html, ui.htm, settings.html));
    // RadioButton1Click … RadioButton6Click: the heading size of the button
    const auto sizes = ui.sizeButtons();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        QObject::connect(sizes[i], &QRadioButton::toggled, window,
                         [&settings, size = static_cast<int>(i) + 1](bool on) {
                             if (on) settings.HeadingSize = size;
                         });
    }
    shows_.emplace_back([this, sizes] {
        checkQuietly(sizes[static_cast<std::size_t>(settings_.HeadingSize - 1)]);
    });
    shows_.emplace_back([this] { showToggles(); });
}

void SettingsBinding::showAll() const {
    for (const auto& show : shows_) show();
}

void SettingsBinding::showText(const TextField& field) const {
    auto* edit = control<QLineEdit>(field.name);
    const QString value = qs(settings_.*field.member);
    if (edit->text() == value) return;
    const QSignalBlocker quiet(edit);
    edit->setText(value);
}

void SettingsBinding::showSpin(const SpinEditField& field) const {
    auto* spin = control<SpinEdit>(field.name);
    const QSignalBlocker quiet(spin);
    spin->setTypedText(qs((settings_.*field.member).text));
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
