// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line: a page to open, the dialog to open one, a page to open
// and publish, and the German answers to --help and --version.
//
//   Velmora [--dialog] [SEITE]
//   Velmora --publish SEITE
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora::ui {

struct CommandLine {
    QString page;          // a page to open at start, or empty
    bool dialog = false;   // the dialog "Seite öffnen" at start
    bool publish = false;  // `page`, then the dialog "Seite veröffentlichen"
    /// Set when the program ends at once with this status: after --help or
    /// --version (0, `message` for standard output) or after a command line
    /// it cannot follow (2, `message` for standard error).
    std::optional<int> exitCode;
    QString message;
};

/// The program file's name without directory and without everything from its
/// first "."; the first character as it is, the others in lower case: the
/// application's title, and how the command line's answers name it.
[[nodiscard]] QString applicationTitle(const QString& programPath);

/// Reads `arguments`, the program's path first and Qt's own options taken
/// out.
[[nodiscard]] CommandLine readCommandLine(const QStringList& arguments);

}  // namespace velmora::ui
