// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The values of PageSettings by the names of the controls that show them, one
// table for each kind, each marking the values the page is written from: the
// window's bindings (ui/Bindings.h) hold the same members in the same order,
// which the compiler checks, and tests walk them. Every entry takes its name
// from its member's own spelling, so no entry can carry one control's name
// and reach another's value.
//
// Not in the tables: the choices of two (hgb/hgf, html/htm), the heading
// size buttons and the alignment toggles, each a value of a kind of its own,
// and the lists (wizard/Lists.h).
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
    /// Whether the generator writes the page from it; the others are the
    /// file's name and what the editing operations take into a list.
    bool onPage;
};

using TextField = Field<std::string>;
using TickField = Field<bool>;
using SpinEditField = Field<SpinField>;

// clang-format off
// NOLINTBEGIN(bugprone-macro-parentheses): a member's name, not an expression
#define VELMORA_FIELD(member) {#member, &PageSettings::member, true}
#define VELMORA_INPUT(member) {#member, &PageSettings::member, false}
// NOLINTEND(bugprone-macro-parentheses)
// clang-format on

// Each table in the order of the window's pages.

inline constexpr std::array<TextField, 27> kTextFields{{
    VELMORA_FIELD(Edit1),  VELMORA_FIELD(Edit14), VELMORA_FIELD(Edit15), VELMORA_FIELD(Edit16),
    VELMORA_FIELD(Edit17), VELMORA_FIELD(Edit18), VELMORA_FIELD(Edit26), VELMORA_FIELD(Edit27),
    VELMORA_INPUT(Edit19), VELMORA_FIELD(Edit2),  VELMORA_FIELD(Edit5),  VELMORA_FIELD(Edit20),
    VELMORA_FIELD(Edit21), VELMORA_FIELD(Edit8),  VELMORA_FIELD(Edit9),  VELMORA_INPUT(Edit3),
    VELMORA_INPUT(Edit4),  VELMORA_FIELD(Edit6),  VELMORA_FIELD(Edit7),  VELMORA_INPUT(Edit12),
    VELMORA_FIELD(Edit24), VELMORA_FIELD(Edit25), VELMORA_INPUT(Edit13), VELMORA_INPUT(Edit22),
    VELMORA_INPUT(Edit23), VELMORA_INPUT(Edit10), VELMORA_INPUT(Edit11),
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

#undef VELMORA_FIELD
#undef VELMORA_INPUT

/// The fields that name a picture: background, heading picture, corner
/// picture, dot, link background, picture in the text, next picture.
inline constexpr std::array<Member<std::string>, 7> kPictureFields{
    &PageSettings::Edit1, &PageSettings::Edit8,  &PageSettings::Edit9,  &PageSettings::Edit6,
    &PageSettings::Edit7, &PageSettings::Edit13, &PageSettings::Edit10,
};

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
              detail::allDistinct(kSpinFields));

}  // namespace velmora
