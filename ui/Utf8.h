// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The core's strings are UTF-8; the windows show them as QString.
#pragma once

#include <QString>
#include <string>

namespace velmora::ui {

inline QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace velmora::ui
