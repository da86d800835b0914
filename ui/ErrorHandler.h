// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The general error handler: every handler that a user event runs goes
// through guarded(), so no exception ever crosses Qt's event loop. Beside it
// the program's question before something is lost, "Ja" or "Nein". Both
// boxes are built as every other is, by showBox (Boxes.h).
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace velmora::ui {

/// The message as the error box shows it: a "." is appended when the last
/// character lies above "." in the character set.
[[nodiscard]] QString withFullStop(const QString& message);

/// Shows the error box: the message with its full stop, the application
/// title, an error icon and one "OK" button.
void showError(QWidget* parent, const QString& message);

/// Asks `question` with "Ja" and "Nein", "Nein" the default, titled with the
/// application title; true for "Ja".
[[nodiscard]] bool askYesNo(QWidget* parent, const QString& question);

/// Runs a handler; a failure shows the error box and the program goes on.
/// Returns whether the handler ran to its end.
bool guarded(QWidget* parent, const std::function<void()>& handler);

/// Shows the exception being handled in the error box. Call it only from
/// inside a catch block.
void reportCurrentFailure(QWidget* parent) noexcept;

}  // namespace velmora::ui
