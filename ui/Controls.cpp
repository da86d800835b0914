// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QTextDocument>
#include <QToolButton>
#include <set>

#include "ui/Keys.h"
#include "ui/SpinEdit.h"
#include "ui/WizardStyle.h"

namespace velmora::ui {
namespace {

constexpr int kLabelAbove = 16;  // a field's label stands this far above it
constexpr int kEditHeight = 21;
constexpr int kSpinHeight = 22;

// The shown lists and help texts take the window's colour and no border line.
void blendIn(QAbstractScrollArea* area) {
    QPalette p = area->palette();
    p.setColor(QPalette::Base, kWindowColour);
    area->setPalette(p);
    area->setFrameShape(QFrame::NoFrame);
}

// The view lays out all rows again after each add. With the rows a fixed step
// apart it places each without looking the row up, which keeps an add cheap
// however long the list grows. The step is the height of a row, so the rows
// stand as they would without it: measured on a row of a model of its own,
// which stays with the view until the list's own model takes its place.
void stepRowsByTheirHeight(QListView* list) {
    list->setModel(new QStringListModel({QString()}, list));
    list->setGridSize({1, list->sizeHintForRow(0)});
    list->setModel(nullptr);
}

// A flat button that the keyboard reaches. It is a Tab stop, but a click
// never moves the focus to it, so a mouse user sees the window as before.
// Space presses it, as it presses every button; Return and Enter press it too,
// and go no further, so the page's own use of Return does not run as well.
// Its focus frame, the style's own, shows only once the keyboard has moved
// the focus, whatever the style would do.
class FlatButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const auto held = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (isEnter(event) && !(event->modifiers() & held)) {
            click();
            event->accept();
            return;
        }
        QToolButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent* /*event*/) override {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        if (!option.state.testFlag(QStyle::State_KeyboardFocusChange))
            option.state &= ~QStyle::State_HasFocus;
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
    }
};

// The classes of the fixed windows. Qt reads a plain QWidget window as a
// client area ("filler"), whose title a screen reader does not announce when
// the window is activated; these read as windows.
std::set<const QMetaObject*>& windowClasses() {
    static std::set<const QMetaObject*> classes;
    return classes;
}

QAccessibleInterface* readAsWindow(const QString& key, QObject* object) {
    auto* window = qobject_cast<QWidget*>(object);
    if (window == nullptr || windowClasses().count(window->metaObject()) == 0 ||
        key != QLatin1String(window->metaObject()->className())) {
        return nullptr;
    }
    return new QAccessibleWidget(window, QAccessible::Window);
}

}  // namespace

// Called from a window's constructor, before anything asks how the window
// reads: metaObject() then is already the window's own class.
void setUpFixedWindow(QWidget* window, const QString& title, QSize size, QPoint at) {
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    static const bool readerKnowsWindows = [] {
        QAccessible::installFactory(readAsWindow);
        return true;
    }();
    (void)readerKnowsWindows;
    windowClasses().insert(window->metaObject());
    window->setWindowTitle(title);
    window->setFixedSize(size);
    window->move(at);
}

QFont pixelFont(const QString& face, int pixels, bool bold, bool italic) {
    QFont f(face);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QString nameFromLabel(const QString& caption) {
    return caption.endsWith(QLatin1Char(':')) ? caption.chopped(1) : caption;
}

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QToolButton* addFlatButton(QWidget* parent, const char* name, const QString& caption,
                           const QRect& geometry) {
    QToolButton* button = named(new FlatButton(parent), name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setGeometry(geometry);
    return button;
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& geometry) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setGeometry(geometry);
    return button;
}

QLineEdit* addEdit(QWidget* parent, int x, int y, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(x, y, width, kEditHeight);
    return edit;
}

QLineEdit* addEdit(QWidget* parent, const QString& label, int x, int y, int width) {
    addLabel(parent, label, x, y - kLabelAbove);
    QLineEdit* edit = addEdit(parent, x, y, width);
    edit->setAccessibleName(nameFromLabel(label));
    return edit;
}

SpinEdit* addSpin(QWidget* parent, const QString& label, int x, int y, int width) {
    addLabel(parent, label, x, y - kLabelAbove);
    auto* spin = new SpinEdit(parent);
    spin->setGeometry(x, y, width, kSpinHeight);
    spin->setAccessibleName(nameFromLabel(label));
    return spin;
}

void setUpList(QListView* list, const QRect& geometry) {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row has the list's one font and line height. Measuring one row
    // instead of all keeps an add from laying out every row again.
    list->setUniformItemSizes(true);
    // A row wider than the list is cut off at its right edge, as on a page of
    // plain lines.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    list->setGeometry(geometry);
    blendIn(list);
    stepRowsByTheirHeight(list);
}

QPlainTextEdit* addHelpText(QWidget* page, const char* name, const QStringList& lines) {
    auto* memo = named(new QPlainTextEdit(page), name);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    memo->setReadOnly(true);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo->setFocusPolicy(Qt::StrongFocus);
    memo->setTabChangesFocus(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setWordWrapMode(QTextOption::WordWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // 209 less the bar and a pixel on each side leaves 193 for the lines.
    memo->verticalScrollBar()->setStyle(helpScrollBarStyle());
    memo->document()->setDocumentMargin(1);
    memo->setGeometry(546, 0, 209, 365);
    memo->setAccessibleName(QStringLiteral("Hilfe"));
    blendIn(memo);
    return memo;
}

}  // namespace velmora::ui
