#pragma once

#include <QWidget>

#include "generator/PageGenerator.h"
#include "settings/PageSettings.h"

namespace velmora::ui {

/// The wizard window "Assistent". It owns the page settings and the lines of
/// the last generated page for the whole run.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    /// Sets HeadingSize to its default; run once after creation.
    void FormCreate();

    [[nodiscard]] const PageSettings& settings() const noexcept { return settings_; }
    [[nodiscard]] const CodeList& codeList() const noexcept { return codeList_; }

private:
    PageSettings settings_;
    CodeList codeList_;
};

}  // namespace velmora::ui
