// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A connection check or a publish on a thread of its own, so that the
// windows answer while files go up. The thread touches no widget: it hands
// back the progress and, at its end, the outcome, each through a queued
// signal to the object that started it.
//
//   UI thread: start() ──▶ worker: plugin.publish(…) ──bytes, file──▶ (queued) progress signals
//                                                    └──outcome──▶ (queued) ended()
//   UI thread: cancel() ──▶ Progress::cancel ──▶ the worker stops within a second
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QThread>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/PublishPlugin.h"

namespace velmora::ui {

class Transfer : public QThread {
    Q_OBJECT
public:
    enum class Kind { Check, Publish };

    /// A check, or a publish of `files` with the record at `recordPath`.
    Transfer(plugin::PublishPlugin& plugin, Kind kind, publish::Connection connection,
             std::vector<publish::LocalFile> files, std::string recordPath, bool sendEverything,
             QObject* parent = nullptr);
    /// Cancels and waits for the thread: none outlives its transfer.
    ~Transfer() override;
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    [[nodiscard]] Kind kind() const noexcept { return kind_; }
    [[nodiscard]] const publish::Connection& connection() const noexcept { return connection_; }
    [[nodiscard]] const std::vector<publish::LocalFile>& files() const noexcept { return files_; }
    /// How it ended; read it once ended() has come.
    [[nodiscard]] const plugin::Outcome& outcome() const noexcept { return outcome_; }

    /// "Abbrechen": from the UI thread, at any time.
    void cancel() noexcept { progress_.cancel = true; }

signals:
    void bytesSent(quint64 done, quint64 total);
    void fileStarted(const QString& relativePath);
    /// The thread has ended; outcome() says how.
    void ended();

protected:
    void run() override;

private:
    plugin::PublishPlugin& plugin_;
    Kind kind_;
    publish::Connection connection_;
    std::vector<publish::LocalFile> files_;
    std::string recordPath_;
    bool sendEverything_;
    publish::Progress progress_;
    plugin::Outcome outcome_;
    // The worker's own: how long since it last reported the bytes.
    QElapsedTimer sinceReport_;
};

}  // namespace velmora::ui
