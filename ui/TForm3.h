// The wizard window "Assistent".
//
// The window owns the page settings and the lines of the last page. Its
// controls write every change straight into the settings, so the settings are
// always what the window shows; the buttons run the core's editing operations
// and the finish on the settings, and the window then shows what those
// changed: one list row, a cleared field, the new lines on "HTML Code".
#pragma once

#include <QWidget>
#include <initializer_list>
#include <string>

#include "generator/PageGenerator.h"
#include "settings/PageSettings.h"
#include "ui/WizardUi.h"
#include "wizard/Editing.h"

class QAbstractButton;
class QLineEdit;
class QListWidget;

namespace velmora::ui {

class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    /// Sets HeadingSize to its default; run once after creation.
    void FormCreate();

    [[nodiscard]] const PageSettings& settings() const noexcept { return settings_; }
    [[nodiscard]] const CodeList& codeList() const noexcept { return codeList_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A shown list widget, or a never-shown partner, with the list it mirrors.
    struct ListView {
        QListWidget* widget;
        const StringList& list;
    };
    using Operation = ListChange (*)(PageSettings&);

    void bindControls();
    void bindText(QLineEdit* edit, std::string& value);
    void bindHeadingSize();
    void bindSpinEdit3();
    void connectOperations();
    void connectOperation(QAbstractButton* button, Operation operation,
                          std::initializer_list<ListView> views);
    void connectToggles();

    void runOperation(Operation operation, std::initializer_list<ListView> views);
    void Button1Click();
    void SpinEdit3Change();
    void SpeedButton9Click();
    void showFinish();
    void showToggles();

    void RadioButton1Click() { settings_.HeadingSize = 1; }
    void RadioButton2Click() { settings_.HeadingSize = 2; }
    void RadioButton3Click() { settings_.HeadingSize = 3; }
    void RadioButton4Click() { settings_.HeadingSize = 4; }
    void RadioButton5Click() { settings_.HeadingSize = 5; }
    void RadioButton6Click() { settings_.HeadingSize = 6; }

    WizardUi ui_;
    PageSettings settings_;
    CodeList codeList_;
};

}  // namespace velmora::ui
