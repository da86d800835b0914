// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Transfer.h"

#include <utility>

namespace velmora::ui {
namespace {

// libcurl reports the bytes many times a millisecond on loopback; the
// window hears of them at most this often, and of the last byte always.
constexpr qint64 kReportEveryMs = 50;

}  // namespace

Transfer::Transfer(plugin::PublishPlugin& plugin, Kind kind, publish::Connection connection,
                   std::vector<publish::LocalFile> files, std::string recordPath,
                   bool sendEverything, QObject* parent)
    : QThread(parent),
      plugin_(plugin),
      kind_(kind),
      connection_(std::move(connection)),
      files_(std::move(files)),
      recordPath_(std::move(recordPath)),
      sendEverything_(sendEverything) {
    progress_.bytes = [this](std::uint64_t done, std::uint64_t total) {
        if (done < total && sinceReport_.isValid() && sinceReport_.elapsed() < kReportEveryMs)
            return;
        sinceReport_.start();
        emit bytesSent(done, total);
    };
    progress_.file = [this](const std::string& relativePath) {
        emit fileStarted(QString::fromStdString(relativePath));
    };
    connect(this, &QThread::finished, this, &Transfer::ended);
}

Transfer::~Transfer() {
    cancel();
    wait();
}

void Transfer::run() {
    outcome_ = kind_ == Kind::Check
                   ? plugin_.checkConnection(connection_, progress_)
                   : plugin_.publish(connection_, files_, recordPath_, sendEverything_, progress_);
}

}  // namespace velmora::ui
