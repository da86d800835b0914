// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A file dragged from a file manager onto a control. Only the first file of a
// drag counts, and only when it lies on this machine and may be copied: its
// name is taken, the file stays where it is. Anything else, a text or a web
// address, is left to the control under the pointer.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace velmora::ui {

/// An event filter that accepts such a drag on the controls it is installed
/// on and hands the file's path to `take` when it is dropped.
class FileDrop : public QObject {
public:
    FileDrop(QObject* parent, std::function<void(const QString&)> take);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> take_;
};

}  // namespace velmora::ui
