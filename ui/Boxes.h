// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Every message box of the program is built here: the error box, the
// question "Ja" or "Nein", and the few boxes with answers of their own. Each
// stands over the whole application, titled with the application title, its
// text shown as typed, with a default and an Escape answer of its own.
#pragma once

#include <QMessageBox>
#include <QString>
#include <utility>
#include <vector>

class QWidget;

namespace velmora::ui {

struct BoxButton {
    /// A button of its own: `text` in `buttonRole`.
    BoxButton(QString text, QMessageBox::ButtonRole buttonRole)
        : caption(std::move(text)), role(buttonRole) {}
    /// One of Qt's own, which the style may draw with an icon, captioned
    /// `text` unless that is empty.
    BoxButton(QMessageBox::StandardButton which, QString text = {})
        : caption(std::move(text)), standard(which) {}

    QString caption;
    QMessageBox::ButtonRole role = QMessageBox::InvalidRole;
    QMessageBox::StandardButton standard = QMessageBox::NoButton;
};

/// For a box's default or Escape answer: Qt's choice, as for the one button
/// of the error box.
inline constexpr int kQtChooses = -1;

/// Shows the box over `parent` and waits for the answer: the index into
/// `buttons` of the button chosen, or -1 when the box closed without one.
/// `defaultButton` and `escapeButton` are indices into `buttons` too.
int showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
            const std::vector<BoxButton>& buttons, int defaultButton = kQtChooses,
            int escapeButton = kQtChooses);

}  // namespace velmora::ui
