// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Boxes.h"

#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <cstddef>

namespace velmora::ui {
namespace {

QPushButton* addTo(QMessageBox& box, const BoxButton& button) {
    if (button.standard == QMessageBox::NoButton) return box.addButton(button.caption, button.role);
    QPushButton* added = box.addButton(button.standard);
    if (!button.caption.isEmpty()) added->setText(button.caption);
    return added;
}

}  // namespace

int showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
            const std::vector<BoxButton>& buttons, int defaultButton, int escapeButton) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::NoButton, parent);
    // A file name typed by the user may hold markup; show it as typed.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    std::vector<QPushButton*> added;
    added.reserve(buttons.size());
    for (const BoxButton& button : buttons) added.push_back(addTo(box, button));
    if (defaultButton != kQtChooses)
        box.setDefaultButton(added.at(static_cast<std::size_t>(defaultButton)));
    if (escapeButton != kQtChooses)
        box.setEscapeButton(added.at(static_cast<std::size_t>(escapeButton)));
    box.exec();
    const auto chosen = std::find(added.begin(), added.end(), box.clickedButton());
    return chosen == added.end() ? -1 : static_cast<int>(chosen - added.begin());
}

}  // namespace velmora::ui
