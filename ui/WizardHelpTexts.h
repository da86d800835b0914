#pragma once

#include <QStringList>

namespace velmora::ui {

QStringList memo1Lines();  // "Allgemeine Einstellungen"
QStringList memo2Lines();  // "Überschrift"
QStringList memo3Lines();  // "Links"
QStringList memo5Lines();  // "Text"
QStringList memo4Lines();  // "Bilder"

}  // namespace velmora::ui
