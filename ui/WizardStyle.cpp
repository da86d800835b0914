#include "ui/WizardStyle.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

namespace velmora::ui {
namespace {

constexpr int kFrame = 4;
constexpr int kTabStrip = 24;
constexpr int kCaptionLeft = 8;

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

}  // namespace

QStyle* wizardFrameStyle() { return applicationStyle<FrameStyle>(); }

}  // namespace velmora::ui
