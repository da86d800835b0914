// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Colours, the default face and the page frame shared by the windows' controls.
#pragma once

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class QStyle;

namespace velmora::ui {

inline const QColor kWindowColour{0xFE, 0xE6, 0x9C};
/// The start window's lettering, the finish button's caption and the tick on
/// the insert buttons.
inline const QColor kGreen{0x00, 0x80, 0x00};
inline const QString kFontFace = QStringLiteral("MS Sans Serif");
inline constexpr int kFontPixels = 11;

/// The wizard's text font: kFontFace at kFontPixels, set so that every help
/// line and caption fits the width the window's form gives it.
[[nodiscard]] QFont wizardFont();

/// Every colour of both windows. The backgrounds are fixed, so the colours
/// drawn on them are fixed too: the classic light colours, whatever the
/// desktop's theme hands over.
[[nodiscard]] QPalette windowPalette();

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

/// For the help texts' scroll bars: the same width under every platform
/// style, because the width left for the help lines depends on it.
QStyle* helpScrollBarStyle();

}  // namespace velmora::ui
