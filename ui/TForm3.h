// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The wizard window "Assistent".
//
// The window owns the page settings and the lines of the last page. Its
// controls write every change straight into the settings, so the settings are
// always what the window shows; the buttons run the core's editing operations
// and the finish on the settings, and the window then shows what those
// changed: one list row, a cleared field, the new lines on "HTML Code". A
// page opened replaces the settings whole; the same bindings that take the
// user's changes then show every value.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "generator/PageGenerator.h"
#include "settings/PageSettings.h"
#include "ui/PageNotice.h"
#include "ui/WizardUi.h"
#include "wizard/Editing.h"
#include "wizard/PageFile.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QListWidget;

namespace velmora::ui {

class ListBinding;
class SpinEdit;

class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    [[nodiscard]] const PageSettings& settings() const noexcept { return settings_; }
    [[nodiscard]] const CodeList& codeList() const noexcept { return codeList_; }

    /// Opens the page at `path` and shows the wizard in front with its
    /// values. Asks first when the wizard holds values not yet saved; a file
    /// that is no page is shown in the error box and changes nothing. Boxes
    /// stand over `from`, the window the user asked in.
    void openPage(const QString& path, QWidget* from);

    /// Shows the wizard in front of the other windows.
    void bringToFront();

    /// Whether the wizard holds values that would write another page than
    /// the last one written or opened.
    [[nodiscard]] bool holdsUnsaved() const { return page_.holdsUnsaved(settings_); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Operation = Step (*)(PageSettings&);

    void bindControls();
    void bindTick(QCheckBox* box, bool& value);
    void bindChoice(QRadioButton* first, QRadioButton* second, bool& firstSelected);
    void bindText(QLineEdit* edit, std::string& value);
    void bindSpin(SpinEdit* spin, SpinField& field);
    void bindHeadingSize();
    void bindSpinEdit3();
    void showSettings();
    void connectOperations();
    void connectOperation(QAbstractButton* button, Operation operation, const ListBinding& list);
    void connectToggles();

    void Button1Click();
    void SpinEdit3Change();
    void SpeedButton9Click();
    void showFinish();
    void showToggles();
    /// RadioButton1 … RadioButton6: the heading size of the button clicked.
    void RadioButtonClick(int size) { settings_.HeadingSize = size; }

    WizardUi ui_;
    PageSettings settings_;
    CodeList codeList_;
    PageFile page_;
    // Each binding's way from the settings to its control.
    std::vector<std::function<void()>> shows_;
    std::unique_ptr<ListBinding> links_;
    std::unique_ptr<ListBinding> lines_;
    std::unique_ptr<ListBinding> pictures_;
    PageNotice notice_;
};

}  // namespace velmora::ui
