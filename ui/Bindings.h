// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Which control of the wizard shows which value of the settings, checked by
// the compiler: each entry pairs a control of WizardUi with its member of
// PageSettings, both spelt by the one token that also names the control, so
// a control that is misspelt, missing or of another kind fails the build.
// The tables hold the same members, in the same order, as the core's
// (settings/Fields.h), and for each list the window's half beside the core's
// (wizard/Lists.h). The bindings (SettingsBinding, ListBinding), the entry
// dialog and the tests all read them; nothing looks a control up by name.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "settings/Fields.h"
#include "settings/PageSettings.h"
#include "ui/WizardUi.h"
#include "wizard/Lists.h"

namespace velmora::ui {

/// A member of the wizard's controls, as Member names one of the settings.
template <class T>
using UiMember = T WizardUi::*;

/// A control of the wizard and the value of the settings it shows.
template <class Control, class Value>
struct Binding {
    std::string_view name;  // the control's object name: its member's own
    UiMember<Control*> control;
    Member<Value> value;
};

// clang-format off
// NOLINTBEGIN(bugprone-macro-parentheses): a member's name, not an expression
/// An entry of a binding table: the control and the value of one name.
#define VELMORA_BIND(member) {#member, &WizardUi::member, &PageSettings::member}
// NOLINTEND(bugprone-macro-parentheses)
// clang-format on

inline constexpr std::array<Binding<QLineEdit, std::string>, 27> kTextBindings{{
    VELMORA_BIND(Edit1),  VELMORA_BIND(Edit14), VELMORA_BIND(Edit15), VELMORA_BIND(Edit16),
    VELMORA_BIND(Edit17), VELMORA_BIND(Edit18), VELMORA_BIND(Edit26), VELMORA_BIND(Edit27),
    VELMORA_BIND(Edit19), VELMORA_BIND(Edit2),  VELMORA_BIND(Edit5),  VELMORA_BIND(Edit20),
    VELMORA_BIND(Edit21), VELMORA_BIND(Edit8),  VELMORA_BIND(Edit9),  VELMORA_BIND(Edit3),
    VELMORA_BIND(Edit4),  VELMORA_BIND(Edit6),  VELMORA_BIND(Edit7),  VELMORA_BIND(Edit12),
    VELMORA_BIND(Edit24), VELMORA_BIND(Edit25), VELMORA_BIND(Edit13), VELMORA_BIND(Edit22),
    VELMORA_BIND(Edit23), VELMORA_BIND(Edit10), VELMORA_BIND(Edit11),
}};

inline constexpr std::array<Binding<QCheckBox, bool>, 7> kTickBindings{{
    VELMORA_BIND(CSS),
    VELMORA_BIND(fett),
    VELMORA_BIND(eck),
    VELMORA_BIND(Dots),
    VELMORA_BIND(lh),
    VELMORA_BIND(strecken),
    VELMORA_BIND(zentrieren),
}};

inline constexpr std::array<Binding<SpinEdit, SpinField>, 6> kSpinBindings{{
    VELMORA_BIND(SpinEdit4),
    VELMORA_BIND(SpinEdit5),
    VELMORA_BIND(SpinEdit1),
    VELMORA_BIND(SpinEdit2),
    VELMORA_BIND(SpinEdit6),
    VELMORA_BIND(SpinEdit3),
}};

/// The window's half of a list: its view, the delete button of its page,
/// and the dialog that changes an entry in place ("Link ändern", …).
struct ListWindow {
    std::string_view name;  // the view's object name
    UiMember<EntryListView*> view;
    UiMember<QToolButton*> remove;
    const ListField* field;
    const char* title;        // of the dialog, UTF-8
    const char* shownLabel;   // of the field for the shown entry
    const char* pairedLabel;  // of the field for its pair; nullptr without one
    bool picture;             // the shown entry names a picture
};

// clang-format off
// NOLINTBEGIN(bugprone-macro-parentheses): a member's name, not an expression
#define VELMORA_LIST(view, remove) #view, &WizardUi::view, &WizardUi::remove
// NOLINTEND(bugprone-macro-parentheses)
// clang-format on

/// In the order of kLists.
inline constexpr std::array<ListWindow, 3> kListWindows{{
    {VELMORA_LIST(ListBox2, SpeedButton5), &kLinks, "Link \u00e4ndern",
     "Verweistext:", "Verweisziel:", false},
    {VELMORA_LIST(ListBox1, SpeedButton7), &kLines, "Textzeile \u00e4ndern", "Textzeile:", nullptr,
     false},
    {VELMORA_LIST(ListBox3, SpeedButton4), &kPictures, "Bild \u00e4ndern",
     "Bild:", "Bildtext:", true},
}};

#undef VELMORA_LIST

/// The window's half of `list`.
[[nodiscard]] const ListWindow& windowOf(const ListField& list) noexcept;

/// Gives every bound control and list view its object name, by which
/// readers and tests find it.
void nameBoundControls(const WizardUi& ui);

namespace detail {

template <class Bound, class Field, std::size_t N>
constexpr bool sameMembers(const std::array<Bound, N>& bindings,
                           const std::array<Field, N>& fields) noexcept {
    for (std::size_t i = 0; i < N; ++i) {
        if (bindings[i].value != fields[i].member || bindings[i].name != fields[i].name)
            return false;
    }
    return true;
}

constexpr bool inListOrder() noexcept {
    for (std::size_t i = 0; i < kLists.size(); ++i) {
        if (kListWindows[i].field != kLists[i]) return false;
    }
    return true;
}

}  // namespace detail

static_assert(detail::sameMembers(kTextBindings, kTextFields) &&
                  detail::sameMembers(kTickBindings, kTickFields) &&
                  detail::sameMembers(kSpinBindings, kSpinFields),
              "the window binds every value of the core's tables, in their order");
static_assert(detail::inListOrder(), "the lists' window halves in the order of kLists");

}  // namespace velmora::ui
