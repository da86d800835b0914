// Colours, the default face and the page frame shared by the wizard's controls.
#pragma once

#include <QColor>
#include <QString>

class QStyle;

namespace velmora::ui {

inline const QColor kWindowColour{0xFE, 0xE6, 0x9C};
inline const QString kFontFace = QStringLiteral("MS Sans Serif");
inline constexpr int kFontPixels = 11;

/// For the page control and the group box: a frame of 4 pixels and tabs 24
/// pixels high, so that each page offers 755 × 365 pixels inside the 763 × 393
/// control; a group box caption that sits in the frame's top line.
QStyle* wizardFrameStyle();

}  // namespace velmora::ui
