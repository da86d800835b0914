// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The wizard window "Assistent".
//
// The window owns the page settings, the lines of the last page, the page's
// file and folder and the undo history. Its controls write every change
// straight into the settings, so the settings are always what the window
// shows; the buttons, keys and list menus run the core's editing operations
// through the history, and the window then shows what each changed: one list
// row, a field, the new lines on "HTML Code". An undo or redo is shown the
// same way. A page opened replaces the settings whole and starts the history
// anew; the same bindings that take the user's changes then show every
// value. Whatever changes a value the page is written from, the window says
// so once, with pageChanged().
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "generator/PageGenerator.h"
#include "pictures/Values.h"
#include "settings/PageSettings.h"
#include "ui/PageNotice.h"
#include "ui/Utf8.h"
#include "ui/WizardUi.h"
#include "wizard/Editing.h"
#include "wizard/History.h"
#include "wizard/PageFile.h"

class QAbstractButton;

namespace velmora::ui {

class LinesModel;
class ListBinding;
class SettingsBinding;
struct ListWindow;

class TForm3 : public QWidget {
    Q_OBJECT
public:
    /// A wizard whose page lives in the absolute `folder` until a page is
    /// opened: the folder the program was started in.
    explicit TForm3(const QString& folder, QWidget* parent = nullptr);
    ~TForm3() override;

    [[nodiscard]] const PageSettings& settings() const noexcept { return settings_; }
    [[nodiscard]] const CodeList& codeList() const noexcept { return codeList_; }
    /// The page's folder, absolute: where the finish writes, from which a
    /// chosen picture is named and where the file dialogs open.
    [[nodiscard]] QString pageFolder() const { return qs(page_.folder()); }
    /// The tab strip, whose context menu offers what concerns the whole wizard.
    [[nodiscard]] QWidget* tabStrip() const;

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

    /// For publishing: the real path of the page last written or opened
    /// (empty before the first), the finish as "F E R T I G" runs it
    /// (whether it wrote the page), and the notification that announces
    /// both.
    [[nodiscard]] QString lastPage() const { return QString::fromStdString(page_.lastPath()); }
    bool writePage();
    /// Each picture the values name, and the place it is for.
    [[nodiscard]] std::map<std::string, pictures::Place> picturePlaces() const;
    /// Gives pictures new names wherever the values name them, in one step
    /// that Undo takes back.
    void renamePictures(const std::map<std::string, std::string>& names);
    [[nodiscard]] PageNotice& notice() noexcept { return notice_; }

signals:
    /// A value the page is written from changed: typed, ticked, stepped, a
    /// list operation, an undo or redo, a page opened. Once for each, after
    /// the settings hold the new values.
    void pageChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindLists();
    void connectOperations();
    void connectPageKeys();
    void turnPage(int by);
    void connectOperation(QAbstractButton* button, Step (*operation)(PageSettings&));
    /// Runs an editing operation through the history and shows what it
    /// changed; a failure is shown in the error box and changes nothing.
    void run(const std::function<Step(PageSettings&)>& operation);
    void showUpdate(const Update& update);
    void undo();
    void redo();
    /// "Link ändern", "Textzeile ändern" or "Bild ändern" for the entry
    /// selected in `list`.
    void changeEntry(const ListWindow& window);
    void showSettings();

    void Button1Click();
    void SpeedButton9Click();
    void showFinish();

    WizardUi ui_;
    PageSettings settings_;
    CodeList codeList_;
    PageFile page_;
    History history_;
    std::unique_ptr<SettingsBinding> values_;
    std::vector<ListBinding*> lists_;  // in the order of kLists, owned by their views
    LinesModel* code_ = nullptr;       // "HTML Code"
    PageNotice notice_;
};

}  // namespace velmora::ui
