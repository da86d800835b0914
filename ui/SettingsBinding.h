// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page settings and the wizard's controls that hold them: the text
// fields, tick boxes and spin fields of the binding tables (Bindings.h), the
// two choices of two, the heading size and the alignment toggles. Each
// binding takes the user's changes into the settings and knows how to show
// the settings in its control, so one place serves both ways. A show holds
// the control's signals: what the settings already hold must not come back
// to them as if the user had changed it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "settings/Fields.h"
#include "settings/PageSettings.h"
#include "ui/WizardUi.h"

namespace velmora::ui {

class SettingsBinding {
public:
    /// Called once for each change the user makes in a control, after the
    /// settings hold it; `onPage` says whether the page is written from the
    /// value.
    using Changed = std::function<void(bool onPage)>;

    /// Binds every control of `ui` to `settings`.
    SettingsBinding(const WizardUi& ui, PageSettings& settings, Changed changed);

    /// Every value, as the settings hold it.
    void showAll() const;
    void showText(Member<std::string> field) const;
    void showSpin(Member<SpinField> field) const;
    void showToggles() const;

private:
    void bindTexts();
    void bindTicks();
    void bindSpins();
    void bindChoices();

    const WizardUi& ui_;
    PageSettings& settings_;
    Changed changed_;
    std::vector<std::function<void()>> shows_;
};

}  // namespace velmora::ui
