// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

namespace velmora::ui {

QStringList memo1Lines();  // "Allgemeine Einstellungen"
QStringList memo2Lines();  // "Überschrift"
QStringList memo3Lines();  // "Links"
QStringList memo5Lines();  // "Text"
QStringList memo4Lines();  // "Bilder"

}  // namespace velmora::ui
