// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Choosing the picture that a field names. The icon at the field's right end,
// or Ctrl+O in the field, opens the file dialog; a file dropped on the field
// counts as chosen. The field then holds the file's name relative to the
// page's folder, entered as typing enters it, so the settings get it the way
// they get typed text. Cancelling the dialog changes nothing.
#pragma once

#include <QString>
#include <functional>

class QLineEdit;

namespace velmora::ui {

/// `folder` gives the page's folder, absolute, whenever a picture is chosen.
void offerPictureChoice(QLineEdit* field, std::function<QString()> folder);

}  // namespace velmora::ui
