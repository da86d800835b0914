// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Copies of pictures made for the web, one after the other on a thread of
// their own: the one a picture field asks for, and those that "Kopien anlegen
// und veröffentlichen" makes of the pictures that should not go up as they
// are, while the dialog shows which one is being made.
#pragma once

#include <QString>
#include <QThread>
#include <atomic>
#include <string>
#include <vector>

#include "pictures/Values.h"

namespace velmora::plugin {
class PicturesPlugin;
}

namespace velmora::ui {

/// A picture to copy: as the page names it (for the dialog's line), its
/// absolute file, and the place it is made for.
struct CopyOrder {
    std::string name;
    std::string file;
    pictures::Place place = pictures::Place::PictureRow;
};

class PictureCopies : public QThread {
    Q_OBJECT
public:
    PictureCopies(plugin::PicturesPlugin& pictures, std::vector<CopyOrder> orders,
                  std::string pageFolder, QObject* parent = nullptr);
    /// Stops after the copy being made and waits.
    ~PictureCopies() override;
    PictureCopies(const PictureCopies&) = delete;
    PictureCopies& operator=(const PictureCopies&) = delete;

    /// From any thread: no copy after the one being made, which stops
    /// between its steps with nothing left behind.
    void cancel() noexcept { cancel_ = true; }
    /// Whether cancel() was called, even after the last copy became whole.
    [[nodiscard]] bool cancelled() const noexcept { return cancel_; }

    [[nodiscard]] const std::vector<CopyOrder>& orders() const noexcept { return orders_; }
    /// Once finished: how each order ended, in order; those after a failure
    /// or a cancel were not started and are missing.
    [[nodiscard]] const std::vector<pictures::Made>& made() const noexcept { return made_; }

signals:
    /// Order `index` is being made.
    void copying(int index);

protected:
    void run() override;

private:
    plugin::PicturesPlugin& pictures_;
    std::vector<CopyOrder> orders_;
    std::string pageFolder_;
    std::atomic<bool> cancel_ = false;
    std::vector<pictures::Made> made_;
};

/// What the user reads when a copy of `file` failed: the pictures library's
/// message, or, where memory ran out before it could give one, the file's
/// name.
[[nodiscard]] QString failureText(const pictures::Made& made, const std::string& file);

}  // namespace velmora::ui
