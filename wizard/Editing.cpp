// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/Editing.h"

#include <new>
#include <string>
#include <utility>

#include "settings/Failure.h"

namespace velmora {
namespace {

// Copying a field's text can run out of memory before the list is touched;
// the user is told the list's message either way.
template <class F>
Step inserting(F&& f) {
    try {
        return std::forward<F>(f)();
    } catch (const std::bad_alloc&) {
        throw Failure(kListInsertError);
    }
}

Step appendLine(PageSettings& s, const std::string& line, Member<std::string> emptied = nullptr) {
    return inserting([&] { return Step::append(s, kLines, {line, {}}, emptied); });
}

// Both lists get room first, so the pair is added whole or not at all.
Step appendPair(PageSettings& s, const ListField& list, const std::string& shown,
                const std::string& paired) {
    return inserting([&] { return Step::append(s, list, {shown, paired}); });
}

Step removeSelected(PageSettings& s, const ListField& list) {
    return Step::remove(s, list, (s.*list.shown).selected);
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

Step SpeedButton2Click(PageSettings& s) { return appendPair(s, kLinks, s.Edit3, s.Edit4); }

Step SpeedButton5Click(PageSettings& s) { return removeSelected(s, kLinks); }

// Edit12 is emptied only once the line is stored.
Step Button1Click(PageSettings& s) { return appendLine(s, s.Edit12, &PageSettings::Edit12); }

Step SpeedButton6Click(PageSettings& s) { return appendLine(s, "<br>"); }

Step SpeedButton7Click(PageSettings& s) { return removeSelected(s, kLines); }

Step SpeedButton8Click(PageSettings& s) { return Step::clear(s, kLines); }

Step BitBtn8Click(PageSettings& s) {
    return inserting([&] { return appendLine(s, pictureLine(s.Edit13, s.alignment)); });
}

Step BitBtn1Click(PageSettings& s) {
    return inserting(
        [&] { return appendLine(s, "<a href=\"" + s.Edit23 + "\">" + s.Edit22 + "</a>"); });
}

void pressToggle(PageSettings& s, Alignment pressed) noexcept {
    s.alignment = s.alignment == pressed ? Alignment::None : pressed;
}

Step SpeedButton3Click(PageSettings& s) { return appendPair(s, kPictures, s.Edit10, s.Edit11); }

Step SpeedButton4Click(PageSettings& s) { return removeSelected(s, kPictures); }

bool SpinEdit3Change(PageSettings& s) {
    if (s.SpinEdit3.value() >= 0) return false;
    s.SpinEdit3.setValue(0);
    return true;
}

Step changeSelected(PageSettings& s, const ListField& list, Entry entry) {
    return Step::replace(s, list, (s.*list.shown).selected, std::move(entry));
}

Step moveSelected(PageSettings& s, const ListField& list, int by) {
    const StringList& shown = s.*list.shown;
    if (!shown.hasSelection()) return {};
    const long long to = static_cast<long long>(shown.selected) + by;
    if (to < 0 || to >= shown.count()) return {};
    return Step::move(s, list, shown.selected, static_cast<int>(to));
}

}  // namespace velmora
