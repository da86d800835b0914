// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The values of PageSettings by the object names of the controls that show
// them, one table for each kind: the window binds its controls from them,
// tests walk them, and the undo history names the field it gives back. Every
// entry takes its name from its member's own spelling, so no entry can carry
// one control's name and reach another's value.
//
// Not in the tables: the choices of two (hgb/hgf, html/htm), the heading
// size buttons and the alignment toggles, each a value of a kind of its own.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/PageSettings.h"

namespace velmora {

/// Where PageSettings holds a value of type T.
template <class T>
using Member = T PageSettings::*;

/// A value of PageSettings and the name of the control that shows it.
template <class T>
struct Field {
    std::string_view name;  // the control's object name, e.g. "Edit19"
    Member<T> member;
};

using TextField = Field<std::string>;
using TickField = Field<bool>;
using SpinEditField = Field<SpinField>;

/// A shown list and the never-shown list that pairs with it.
struct ListField {
    std::string_view name;  // the shown list's object name, e.g. "ListBox2"
    Member<StringList> shown;
    Member<StringList> paired;  // nullptr for the text lines, which have no pair
};

// clang-format off
// NOLINTBEGIN(bugprone-macro-parentheses): a member's name, not an expression
#define VELMORA_FIELD(member) {#member, &PageSettings::member}
#define VELMORA_LIST(shown, paired) {#shown, &PageSettings::shown, paired}
// NOLINTEND(bugprone-macro-parentheses)
// clang-format on

// Each table in the order of the window's pages.

inline constexpr std::array<TextField, 27> kTextFields{{
    VELMORA_FIELD(Edit1),  VELMORA_FIELD(Edit14), VELMORA_FIELD(Edit15), VELMORA_FIELD(Edit16),
    VELMORA_FIELD(Edit17), VELMORA_FIELD(Edit18), VELMORA_FIELD(Edit26), VELMORA_FIELD(Edit27),
    VELMORA_FIELD(Edit19), VELMORA_FIELD(Edit2),  VELMORA_FIELD(Edit5),  VELMORA_FIELD(Edit20),
    VELMORA_FIELD(Edit21), VELMORA_FIELD(Edit8),  VELMORA_FIELD(Edit9),  VELMORA_FIELD(Edit3),
    VELMORA_FIELD(Edit4),  VELMORA_FIELD(Edit6),  VELMORA_FIELD(Edit7),  VELMORA_FIELD(Edit12),
    VELMORA_FIELD(Edit24), VELMORA_FIELD(Edit25), VELMORA_FIELD(Edit13), VELMORA_FIELD(Edit22),
    VELMORA_FIELD(Edit23), VELMORA_FIELD(Edit10), VELMORA_FIELD(Edit11),
}};

inline constexpr std::array<TickField, 7> kTickFields{{
    VELMORA_FIELD(CSS),
    VELMORA_FIELD(fett),
    VELMORA_FIELD(eck),
    VELMORA_FIELD(Dots),
    VELMORA_FIELD(lh),
    VELMORA_FIELD(strecken),
    VELMORA_FIELD(zentrieren),
}};

inline constexpr std::array<SpinEditField, 6> kSpinFields{{
    VELMORA_FIELD(SpinEdit4),
    VELMORA_FIELD(SpinEdit5),
    VELMORA_FIELD(SpinEdit1),
    VELMORA_FIELD(SpinEdit2),
    VELMORA_FIELD(SpinEdit6),
    VELMORA_FIELD(SpinEdit3),
}};

inline constexpr std::array<ListField, 3> kListFields{{
    VELMORA_LIST(ListBox2, &PageSettings::ListBox5),  // the links: texts and targets
    VELMORA_LIST(ListBox1, nullptr),                  // the text lines
    VELMORA_LIST(ListBox3, &PageSettings::ListBox6),  // the pictures: files and captions
}};

#undef VELMORA_FIELD
#undef VELMORA_LIST

/// The entry of `table` named `name`; nullptr when there is none.
template <class Entry, std::size_t N>
[[nodiscard]] constexpr const Entry* fieldNamed(const std::array<Entry, N>& table,
                                                std::string_view name) noexcept {
    for (const Entry& entry : table) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

namespace detail {

// An entry missing from its array's size is an empty one, and an entry
// written twice leaves another control unbound.
template <class Entry, std::size_t N>
constexpr bool allDistinct(const std::array<Entry, N>& table) noexcept {
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i].name.empty()) return false;
        for (std::size_t j = i + 1; j < N; ++j) {
            if (table[i].name == table[j].name) return false;
        }
    }
    return true;
}

}  // namespace detail

static_assert(detail::allDistinct(kTextFields) && detail::allDistinct(kTickFields) &&
              detail::allDistinct(kSpinFields) && detail::allDistinct(kListFields));

}  // namespace velmora
