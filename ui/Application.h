// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up: the application object with its title, icon and font faces, and
// the two windows in the order the program creates them.
//
//   main ──▶ Application (title, icon, fonts) ──▶ command line ──▶ Shell (Form1, then Form3
//   hidden, publishing) ──▶ start (a page, the dialog, or a page to publish) ──▶ event loop
#pragma once

#include <QApplication>
#include <QIcon>
#include <QString>

#include "ui/CommandLine.h"
#include "ui/Preview.h"
#include "ui/Publishing.h"
#include "ui/TForm1.h"
#include "ui/TForm3.h"

namespace velmora::ui {

/// The 32 × 32 picture of a web page in a browser window.
[[nodiscard]] QIcon applicationIcon();

/// Close faces for the window fonts the platform may lack.
void installFontSubstitutions();

/// Whether Qt will find a screen to show the windows on; without one Qt
/// aborts with a backtrace instead of a sentence a user can act on.
[[nodiscard]] bool displayAvailable(int argc, const char* const* argv);

/// The application object. A failure that escapes an event handler is shown
/// by the general error handler instead of crossing the event loop. This is
/// the last resort: unwinding through the toolkit's own frames can leave them
/// half done, so every handler goes through guarded() first.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    /// Releases what publishing set up, when the user published: after the
    /// windows, whose transfers have ended with them.
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    bool notify(QObject* receiver, QEvent* event) override;
};

/// The folder the program was started in, which the page lives in until a
/// page is opened: read once, at the start.
[[nodiscard]] QString startFolder();

/// The two windows, each created once and kept until the program ends: the
/// start window first, then the wizard, hidden, its page in `folder`;
/// publishing, reached with Strg+P in either and from the notification; and
/// the preview, reached with F12 in either and from their context menus.
struct Shell {
    explicit Shell(const QString& folder);

    /// Shows the start window and, once the event loop runs, what the
    /// command line asks for: the wizard with a page in front of it, the
    /// dialog to choose one, or a page and the dialog to publish it.
    void start(const CommandLine& line);

    TForm1 Form1;
    TForm3 Form3;
    Publishing publishing;
    Preview preview;
};

}  // namespace velmora::ui
