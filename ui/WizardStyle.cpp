// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/WizardStyle.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <utility>

namespace velmora::ui {
namespace {

constexpr int kFrame = 4;
constexpr int kTabStrip = 24;
constexpr int kCaptionLeft = 8;
constexpr int kHelpScrollBar = 14;

// Pages of 755 × 365 inside the page control, and group boxes whose caption
// sits in the frame's top line, so that the controls' fixed positions hold.
class FrameStyle : public QProxyStyle {
public:
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override {
        if (element == SE_TabWidgetTabContents) {
            return option->rect.adjusted(kFrame, kTabStrip, -kFrame, -kFrame);
        }
        if (element == SE_TabWidgetTabPane) {
            return option->rect.adjusted(0, kTabStrip - kFrame + 2, 0, 0);
        }
        return QProxyStyle::subElementRect(element, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr) {
            return QProxyStyle::subControlRect(control, option, sub, widget);
        }
        const int height = option->fontMetrics.height();
        switch (sub) {
            case SC_GroupBoxLabel:
                return {kCaptionLeft, 0, option->fontMetrics.horizontalAdvance(box->text) + 4,
                        height};
            case SC_GroupBoxFrame:
                return option->rect.adjusted(0, height / 2, 0, 0);
            case SC_GroupBoxContents:
                return option->rect.adjusted(2, height, -2, -2);
            default:
                return QProxyStyle::subControlRect(control, option, sub, widget);
        }
    }

    // An etched line all round; the platform style would move it below the caption.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameGroupBox) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect r = option->rect.adjusted(0, 0, -2, -2);
        painter->save();
        painter->setPen(option->palette.color(QPalette::Mid));
        painter->drawRect(r);
        painter->setPen(option->palette.color(QPalette::Light));
        painter->drawRect(r.translated(1, 1));
        painter->restore();
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        // the frame first, then the caption on a clean patch of its top line
        QStyleOptionGroupBox part = *box;
        part.subControls = SC_GroupBoxFrame;
        QProxyStyle::drawComplexControl(control, &part, painter, widget);
        const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);
        painter->fillRect(label, option->palette.window());
        part.subControls = SC_GroupBoxLabel;
        QProxyStyle::drawComplexControl(control, &part, painter, widget);
    }
};

class HelpScrollBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ScrollBarExtent) return kHelpScrollBar;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

QFont wizardFont() {
    QFont font(kFontFace);
    font.setPixelSize(kFontPixels);
    // The stand-in face runs wider than the original. A fifth of a pixel less
    // per letter keeps the widest help line within the 193 pixels its help
    // text leaves (190.7) and the longest tick box caption within its 273
    // pixels (271). The hinting is fixed because a desktop that asks for full
    // hinting would round every letter and change those widths.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.2);
    return font;
}

QPalette windowPalette() {
    const QColor black(0x00, 0x00, 0x00);
    const QColor white(0xFF, 0xFF, 0xFF);
    QPalette palette;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, kWindowColour},
                                       {QPalette::WindowText, black},
                                       {QPalette::Base, white},
                                       {QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7)},
                                       {QPalette::Text, black},
                                       {QPalette::PlaceholderText, QColor(0x66, 0x66, 0x66)},
                                       {QPalette::Button, QColor(0xEF, 0xEF, 0xEF)},
                                       {QPalette::ButtonText, black},
                                       {QPalette::BrightText, white},
                                       {QPalette::Light, white},
                                       {QPalette::Midlight, QColor(0xCA, 0xCA, 0xCA)},
                                       {QPalette::Mid, QColor(0xB8, 0xB8, 0xB8)},
                                       {QPalette::Dark, QColor(0x9F, 0x9F, 0x9F)},
                                       {QPalette::Shadow, QColor(0x76, 0x76, 0x76)},
                                       {QPalette::Highlight, QColor(0x00, 0x00, 0x80)},
                                       {QPalette::HighlightedText, white},
                                       {QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xDC)},
                                       {QPalette::ToolTipText, black},
                                       {QPalette::Link, QColor(0x00, 0x00, 0xFF)},
                                       {QPalette::LinkVisited, QColor(0x80, 0x00, 0x80)}}) {
        palette.setColor(QPalette::All, role, colour);
    }
    // Grey enough to tell from enabled text, dark enough to read on the
    // yellow and on white.
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, QColor(0x66, 0x66, 0x66));
    }
    return palette;
}

QStyle* wizardFrameStyle() { return applicationStyle<FrameStyle>(); }

QStyle* helpScrollBarStyle() { return applicationStyle<HelpScrollBarStyle>(); }

}  // namespace velmora::ui
