// Colours, the default face and the page frame shared by the wizard's controls.
#pragma once

#include <QApplication>
#include <QColor>
#include <QString>

class QStyle;

namespace velmora::ui {

inline const QColor kWindowColour{0xFE, 0xE6, 0x9C};
inline const QString kFontFace = QStringLiteral("MS Sans Serif");
inline constexpr int kFontPixels = 11;

/// One shared instance of a proxy style, destroyed with the application after
/// every window that uses it.
template <class Style>
QStyle* applicationStyle() {
    static auto* style = [] {
        auto* s = new Style;
        s->setParent(qApp);
        return s;
    }();
    return style;
}

/// For the page control and the group box: a frame of 4 pixels and tabs 24
/// pixels high, so that each page offers 755 × 365 pixels inside the 763 × 393
/// control; a group box caption that sits in the frame's top line.
QStyle* wizardFrameStyle();

}  // namespace velmora::ui
