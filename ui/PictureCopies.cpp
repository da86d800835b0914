// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PictureCopies.h"

#include <QFileInfo>
#include <utility>

#include "plugin/PicturesPlugin.h"

namespace velmora::ui {

PictureCopies::PictureCopies(plugin::PicturesPlugin& pictures, std::vector<CopyOrder> orders,
                             std::string pageFolder, QObject* parent)
    : QThread(parent),
      pictures_(pictures),
      orders_(std::move(orders)),
      pageFolder_(std::move(pageFolder)) {}

PictureCopies::~PictureCopies() {
    cancel();
    wait();
}

void PictureCopies::run() {
    for (std::size_t i = 0; i < orders_.size(); ++i) {
        if (cancel_) return;
        emit copying(static_cast<int>(i));
        made_.push_back(
            pictures_.makeCopy(orders_[i].file, pageFolder_, orders_[i].place, cancel_));
        if (made_.back().kind != pictures::Made::Kind::Done) return;
    }
}

QString failureText(const pictures::Made& made, const std::string& file) {
    if (!made.message.empty()) return QString::fromStdString(made.message);
    return QFileInfo(QString::fromStdString(file)).fileName() +
           QStringLiteral(" lässt sich nicht kopieren.");
}

}  // namespace velmora::ui
