// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QCloseEvent;

namespace velmora::ui {

class TForm3;

/// The start window and the program's main window: "Start" shows the wizard,
/// "Ende" or closing this window ends the program, wizard open or not.
/// Ctrl+O, or a page dropped on it, opens a page in the wizard.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    /// The wizard that "Start" shows; it is created after this window.
    void setWizard(TForm3* wizard) noexcept { wizard_ = wizard; }

    void SpeedButton2Click();
    void SpeedButton3Click();

    /// The file dialog "Seite öffnen" in the working directory; the page
    /// chosen opens in the wizard.
    void openPageDialog();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createLabels();
    void createButtons();

    TForm3* wizard_ = nullptr;
};

}  // namespace velmora::ui
