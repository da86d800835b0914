#include "ui/WizardStyle.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleOption>

namespace velmora::ui {
namespace {

constexpr int kFrame = 4;
constexpr int kTabStrip = 24;

class PageStyle : public QProxyStyle {
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
};

}  // namespace

QStyle* wizardPageStyle() {
    static auto* style = [] {
        auto* s = new PageStyle;
        s->setParent(qApp);  // destroyed with the application, after every window
        return s;
    }();
    return style;
}

}  // namespace velmora::ui
