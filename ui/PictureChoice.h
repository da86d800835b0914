// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Choosing the picture that a field names. The icon at the field's right end,
// or Ctrl+O in the field, opens the file dialog; a file dropped on the field
// counts as chosen. The field then holds the file's name relative to the
// page's folder, entered as typing enters it, so the settings get it the way
// they get typed text. Cancelling the dialog changes nothing.
//
// A picture too big for its place, in a format browsers do not show, or
// telling where it was taken is asked about first: a copy fit for the place
// is made in bilder/ on a worker thread, and the field takes the copy's name
// once it is whole, unless the user changed the field meanwhile. Without the
// pictures module every picture is taken as it is.
#pragma once

#include <QString>
#include <functional>

#include "pictures/Values.h"

class QLineEdit;

namespace velmora::ui {

/// `folder` gives the page's folder, absolute, whenever a picture is chosen;
/// `place` is where the page shows the field's picture.
void offerPictureChoice(QLineEdit* field, std::function<QString()> folder, pictures::Place place);

}  // namespace velmora::ui
