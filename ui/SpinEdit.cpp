// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/SpinEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QProxyStyle>
#include <cstdint>

#include "settings/PageSettings.h"
#include "ui/Keys.h"
#include "ui/WizardStyle.h"

namespace velmora::ui {
namespace {

// Holding an arrow repeats the step after 400 ms, then every 100 ms; the
// platform style's own timings differ.
class SpinRepeatStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_SpinBox_ClickAutoRepeatThreshold) return 400;
        if (hint == SH_SpinBox_ClickAutoRepeatRate) return 100;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A typed character, as opposed to a control key or a shortcut such as Ctrl+V.
bool isTypedCharacter(const QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = e->text();
    return !text.isEmpty() && text.front().isPrint();
}

bool isAllowedCharacter(const QString& text) {
    const QString decimalPoint = QLocale().decimalPoint();
    for (const QChar c : text) {
        const bool ok = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
                        c == QLatin1Char('-') || decimalPoint == c;
        if (!ok) return false;
    }
    return true;
}

}  // namespace

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setStyle(applicationStyle<SpinRepeatStyle>());
    setButtonSymbols(UpDownArrows);
    setCorrectionMode(CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::changed);
}

QString SpinEdit::typedText() const { return lineEdit()->text(); }

void SpinEdit::setTypedText(const QString& text) { lineEdit()->setText(text); }

void SpinEdit::stepBy(int steps) {
    if (steps == 0) return;
    // one at a time, also for the wheel and Ctrl, which Qt would multiply
    const std::int64_t next =
        std::int64_t{spinValue(typedText().toStdString())} + (steps > 0 ? 1 : -1);
    // wraps around like the 32-bit integer it is
    setTypedText(QString::number(static_cast<std::int32_t>(static_cast<std::uint32_t>(next))));
}

QSize SpinEdit::sizeHint() const { return {121, 22}; }

QSize SpinEdit::minimumSizeHint() const { return {40, 22}; }

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event) || (isTypedCharacter(event) && !isAllowedCharacter(event->text()))) {
        QApplication::beep();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        event->ignore();  // only the arrows step
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

}  // namespace velmora::ui
