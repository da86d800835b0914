// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/Editing.h"

#include <new>
#include <utility>

#include "settings/Failure.h"

namespace velmora {
namespace {

// Copying a field's text can run out of memory before the list is touched;
// the user is told the list's message either way.
template <class F>
ListChange inserting(F&& f) {
    try {
        return std::forward<F>(f)();
    } catch (const std::bad_alloc&) {
        throw Failure(kListInsertError);
    }
}

ListChange appendTo(StringList& list, const std::string& entry) {
    return inserting([&] {
        list.append(entry);
        return ListChange{ListChange::Kind::Appended, list.count() - 1};
    });
}

// Both lists get room first, so the pair is added whole or not at all.
ListChange appendPair(StringList& shown, StringList& hidden, const std::string& a,
                      const std::string& b) {
    return inserting([&] {
        std::string first = a;
        std::string second = b;
        shown.reserveOne();
        hidden.reserveOne();
        shown.items.push_back(std::move(first));
        hidden.items.push_back(std::move(second));
        return ListChange{ListChange::Kind::Appended, shown.count() - 1};
    });
}

ListChange removeSelected(StringList& shown, StringList* hidden) {
    if (!shown.hasSelection()) return {};
    const int i = shown.selected;
    shown.remove(i);
    if (hidden != nullptr) hidden->remove(i);
    return {ListChange::Kind::Removed, i};
}

std::string pictureLine(const std::string& file, Alignment a) {
    switch (a) {
        case Alignment::Left:
            return "<img src=\"" + file + "\" align=\"left\">";
        case Alignment::Middle:
            return "<center><img src=\"" + file + "\"></center>";
        case Alignment::Right:
            return "<img src=\"" + file + "\" align=\"right\">";
        case Alignment::None:
            break;
    }
    return "<img src=\"" + file + "\">";
}

}  // namespace

ListChange SpeedButton2Click(PageSettings& s) {
    return appendPair(s.ListBox2, s.ListBox5, s.Edit3, s.Edit4);
}

ListChange SpeedButton5Click(PageSettings& s) { return removeSelected(s.ListBox2, &s.ListBox5); }

ListChange Button1Click(PageSettings& s) {
    const ListChange change = appendTo(s.ListBox1, s.Edit12);
    s.Edit12.clear();  // only once the line is stored
    return change;
}

ListChange SpeedButton6Click(PageSettings& s) { return appendTo(s.ListBox1, "<br>"); }

ListChange SpeedButton7Click(PageSettings& s) { return removeSelected(s.ListBox1, nullptr); }

ListChange SpeedButton8Click(PageSettings& s) {
    s.ListBox1.clear();
    return {ListChange::Kind::Cleared, -1};
}

ListChange BitBtn8Click(PageSettings& s) {
    return inserting([&] { return appendTo(s.ListBox1, pictureLine(s.Edit13, s.alignment)); });
}

ListChange BitBtn1Click(PageSettings& s) {
    return inserting(
        [&] { return appendTo(s.ListBox1, "<a href=\"" + s.Edit23 + "\">" + s.Edit22 + "</a>"); });
}

void pressToggle(PageSettings& s, Alignment pressed) noexcept {
    s.alignment = s.alignment == pressed ? Alignment::None : pressed;
}

ListChange SpeedButton3Click(PageSettings& s) {
    return appendPair(s.ListBox3, s.ListBox6, s.Edit10, s.Edit11);
}

ListChange SpeedButton4Click(PageSettings& s) { return removeSelected(s.ListBox3, &s.ListBox6); }

bool SpinEdit3Change(PageSettings& s) {
    if (s.SpinEdit3.value() >= 0) return false;
    s.SpinEdit3.setValue(0);
    return true;
}

}  // namespace velmora
