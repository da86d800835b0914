// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The spin field: a line of typed text with up and down stepping. The typed
// text is what the page settings keep; the number is only worked out from it
// when stepping, so the text is never reformatted.
#pragma once

#include <QAbstractSpinBox>
#include <QString>

namespace velmora::ui {

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    [[nodiscard]] QString typedText() const;
    void setTypedText(const QString& text);

    /// Adds 1 to the spin value, or subtracts 1 for negative `steps`, without
    /// bounds, and writes the result back in decimal.
    void stepBy(int steps) override;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    /// After every change of the text, the program's own included.
    void changed(const QString& text);

protected:
    [[nodiscard]] StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace velmora::ui
