// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page settings and the wizard's controls that hold them: the text
// fields, tick boxes and spin fields of the core's field table, the two
// choices of two, the heading size and the alignment toggles. Each binding
// takes the user's changes into the settings and knows how to show the
// settings in its control, so one place serves both ways. A show holds the
// control's signals: what the settings already hold must not come back to
// them as if the user had changed it.
#pragma once

#include <functional>
#include <vector>

#include "settings/Fields.h"
#include "settings/PageSettings.h"
#include "ui/WizardUi.h"

class QWidget;

namespace velmora::ui {

class SettingsBinding {
public:
    /// Binds every control of `ui` in `window` to `settings`. A name of the
    /// field table that no control of the window bears throws
    /// std::logic_error.
    SettingsBinding(QWidget* window, const WizardUi& ui, PageSettings& settings);

    /// Every value, as the settings hold it.
    void showAll() const;
    void showText(const TextField& field) const;
    void showSpin(const SpinEditField& field) const;
    void showToggles() const;

private:
    template <class W>
    W* control(std::string_view name) const;

    QWidget* window_;
    const WizardUi& ui_;
    PageSettings& settings_;
    std::vector<std::function<void()>> shows_;
};

}  // namespace velmora::ui
