// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where publishing starts, and how a running publish meets the program's end.
//
//   Strg+P (both windows), the notification's "Veröffentlichen", --publish
//     ──▶ publish(from): values not saved, or no page yet?
//           "Erst die Seite schreiben?" ──Ja──▶ the finish
//     ──▶ the dialog "Seite veröffentlichen" for the page last written or opened,
//         which may have the wizard rename pictures to copies and write the page
//   "Ende" (TForm1::mayEnd) ──▶ busy()? "Trotzdem beenden?" ──Ja──▶ stop(): cancel, wait ≤ 1 s
//
// The dialog, and with it the publishing module, comes into being on first
// use.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "pictures/Values.h"

class QWidget;

namespace velmora::ui {

class PageNotice;
class PublishDialog;

class Publishing : public QObject {
    Q_OBJECT
public:
    /// What publishing asks of the wizard.
    struct Wizard {
        /// The real path of the page last written or opened; empty before.
        std::function<QString()> lastPage;
        /// Whether the wizard holds values that would write another page.
        std::function<bool()> holdsUnsaved;
        /// The finish, as "F E R T I G" runs it; whether the page was written.
        std::function<bool()> writePage;
        /// Each picture the wizard's values name, and the place it is for.
        std::function<std::map<std::string, pictures::Place>()> picturePlaces;
        /// Gives pictures new names, in one step that Undo takes back.
        std::function<void(const std::map<std::string, std::string>& names)> renamePictures;
    };

    /// `notice` announces a publish.
    Publishing(Wizard wizard, PageNotice& notice, QObject* parent = nullptr);
    /// Ends a running transfer with the dialog.
    ~Publishing() override;
    Publishing(const Publishing&) = delete;
    Publishing& operator=(const Publishing&) = delete;

    /// Strg+P in `window` publishes.
    void reachFrom(QWidget* window);

    /// Opens the dialog for the page last written or opened, asking first to
    /// write the page when the wizard's values are not saved or no page was
    /// written yet. Boxes stand over `from`.
    void publish(QWidget* from);

    /// Whether files are going up (or a connection check runs).
    [[nodiscard]] bool busy() const noexcept;
    /// Cancels the transfer and waits for it at most a second.
    void stop();

    /// The dialog, once it was opened.
    [[nodiscard]] PublishDialog* dialog() const noexcept { return dialog_.get(); }

private:
    enum class First { Write, PublishLast, Stop };
    [[nodiscard]] static First askWriteFirst(QWidget* from, bool written);

    Wizard wizard_;
    PageNotice& notice_;
    std::unique_ptr<PublishDialog> dialog_;
};

}  // namespace velmora::ui
