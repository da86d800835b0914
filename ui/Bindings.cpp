// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Bindings.h"

#include <QCheckBox>
#include <QLineEdit>

#include "ui/EntryListView.h"
#include "ui/SpinEdit.h"

namespace velmora::ui {
namespace {

template <class Entry, std::size_t N>
void nameAll(const WizardUi& ui, const std::array<Entry, N>& table) {
    for (const Entry& entry : table) {
        (ui.*entry.control)
            ->setObjectName(QString::fromLatin1(entry.name.data(), qsizetype(entry.name.size())));
    }
}

}  // namespace

const ListWindow& windowOf(const ListField& list) noexcept {
    for (const ListWindow& window : kListWindows) {
        if (window.field == &list) return window;
    }
    return kListWindows.front();  // every ListField is one of kLists
}

void nameBoundControls(const WizardUi& ui) {
    nameAll(ui, kTextBindings);
    nameAll(ui, kTickBindings);
    nameAll(ui, kSpinBindings);
    for (const ListWindow& list : kListWindows) {
        (ui.*list.view)
            ->setObjectName(QString::fromLatin1(list.name.data(), qsizetype(list.name.size())));
    }
}

}  // namespace velmora::ui
