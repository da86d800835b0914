// What a screen reader is told about the controls: names for fields whose
// label it cannot tie to them, and controls that it must never see.
#pragma once

#include <QString>

class QWidget;

namespace velmora::ui {

/// A label's caption as a field's accessible name: without its colon, which a
/// screen reader would read aloud.
[[nodiscard]] QString nameFromLabel(const QString& caption);

/// Takes `widget` out of the tree that assistive technology walks. For
/// controls that exist for the program's own bookkeeping, or lie where no one
/// can ever see them: a screen reader would announce them as if they could be
/// used.
void hideFromAssistiveTechnology(QWidget* widget);

}  // namespace velmora::ui
