// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <functional>

class QCloseEvent;
class QSessionManager;

namespace velmora::ui {

class Publishing;
class TForm3;

/// The start window and the program's main window: "Start" shows the wizard,
/// "Ende" or closing this window ends the program, wizard open or not, after
/// a question when that would lose values not yet saved or stop a publish.
/// Ctrl+O, or a page dropped on it, opens a page in the wizard.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    /// The wizard that "Start" shows; it is created after this window.
    void setWizard(TForm3* wizard) noexcept { wizard_ = wizard; }
    /// Publishing, whose transfer ending the program would stop.
    void setPublishing(Publishing* publishing) noexcept { publishing_ = publishing; }

    void SpeedButton2Click();
    void SpeedButton3Click();

    /// The file dialog "Seite öffnen" in the page's folder; the page chosen
    /// opens in the wizard.
    void openPageDialog();

    /// Whether the program may end now. Each thing that ending would lose is
    /// asked for in turn, and "Nein" to any keeps the program; with nothing
    /// to lose it may end at once. `mayAsk` is called, once, only when there
    /// is something to ask: without leave to ask the program ends as it
    /// always did. The one place that decides, for "Ende", the close box and
    /// the end of the desktop session.
    [[nodiscard]] bool mayEnd(const std::function<bool()>& mayAsk);

    /// The desktop session ends: mayEnd, with the session manager's leave to
    /// ask. Once the program has agreed, the close that follows (the session
    /// manager's quit closes every window) asks nothing again. False: the
    /// logout is to be cancelled.
    [[nodiscard]] bool endSession(const std::function<bool()>& mayAsk);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void commitData(QSessionManager& manager);
    void createLabels();
    void createButtons();

    TForm3* wizard_ = nullptr;
    Publishing* publishing_ = nullptr;
    // The desktop session is ending and the program agreed: the close that
    // follows asks nothing again.
    bool sessionEnds_ = false;
};

}  // namespace velmora::ui
