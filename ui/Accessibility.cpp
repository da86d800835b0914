#include "ui/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QList>
#include <QSet>
#include <QWidget>

namespace velmora::ui {
namespace {

// Both sets forget an object as it is destroyed. A widget leaves its parent's
// set early in its destruction, before its children go: from then on Qt's own
// interface serves it, which knows not to cache a widget that is going away.
QSet<const QObject*>& hiddenWidgets() {
    static QSet<const QObject*> widgets;
    return widgets;
}

QSet<const QObject*>& parentsOfHidden() {
    static QSet<const QObject*> parents;
    return parents;
}

void rememberUntilDestroyed(QSet<const QObject*>& set, QObject* object) {
    if (set.contains(object)) return;
    set.insert(object);
    QObject::connect(object, &QObject::destroyed, object,
                     [&set](QObject* gone) { set.remove(gone); });
}

// Qt lists every child widget of a plain widget, shown or not, as an
// accessible child; this one leaves out the hidden ones.
class WidgetWithHiddenChildren : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    [[nodiscard]] int childCount() const override {
        return static_cast<int>(listedChildren().size());
    }

    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        const QList<QAccessibleInterface*> children = listedChildren();
        return index >= 0 && index < children.size() ? children.at(index) : nullptr;
    }

    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        const QList<QAccessibleInterface*> children = listedChildren();
        for (qsizetype i = 0; i < children.size(); ++i) {
            if (children.at(i) == child) return static_cast<int>(i);
        }
        return -1;
    }

private:
    [[nodiscard]] QList<QAccessibleInterface*> listedChildren() const {
        QList<QAccessibleInterface*> children;
        const int count = QAccessibleWidget::childCount();
        for (int i = 0; i < count; ++i) {
            QAccessibleInterface* c = QAccessibleWidget::child(i);
            if (c != nullptr && !hiddenWidgets().contains(c->object())) children.append(c);
        }
        return children;
    }
};

// Consulted before Qt's own factory. Qt asks once per class of the object's
// class chain, most derived first; answering at "QWidget" replaces exactly
// the interface that Qt itself would give a plain widget or a window class
// of ours.
QAccessibleInterface* accessibleFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QWidget") || !parentsOfHidden().contains(object)) {
        return nullptr;
    }
    return new WidgetWithHiddenChildren(qobject_cast<QWidget*>(object));
}

}  // namespace

QString nameFromLabel(const QString& caption) {
    return caption.endsWith(QLatin1Char(':')) ? caption.chopped(1) : caption;
}

void hideFromAssistiveTechnology(QWidget* widget) {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    rememberUntilDestroyed(hiddenWidgets(), widget);
    if (QWidget* parent = widget->parentWidget()) rememberUntilDestroyed(parentsOfHidden(), parent);
}

}  // namespace velmora::ui
