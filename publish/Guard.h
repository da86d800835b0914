// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The guard beside libcurl: a thread of its own that ends any wait of a
// publish when the user cancels or nothing has moved for too long. libcurl
// waits inside some steps (for an FTP server's last reply, for an SFTP
// handle to close) without looking at "Abbrechen" or at its own timeouts;
// shutting its sockets down ends such a wait at once. The sockets are opened
// and closed through the guard, so that it never shuts down a number that
// has gone to another file.
//
// The publish's thread calls everything but the destructor's wait; the
// guard's thread only reads the clock and the flags, and cuts.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace velmora::publish {

class Guard {
public:
    enum class Verdict { None, Cancelled, Stalled };

    /// Watches `cancel` and cuts when a step has seen no progress for
    /// `stall`.
    Guard(const std::atomic<bool>& cancel, std::chrono::seconds stall);
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    /// Stops the guard's thread.
    ~Guard();

    /// Bytes moved: the wait for progress starts again.
    void moved();
    /// A step of libcurl's begins or ends; only a step can stall.
    void stepBegins();
    void stepEnds();
    /// The connection is being closed: after a second without progress the
    /// guard cuts, so that a server that no longer answers holds nobody up.
    void closing();
    /// Why the guard cut, if it did. Once set, it stays.
    [[nodiscard]] Verdict verdict() const noexcept { return verdict_; }

    /// socket(2) and close(2) for libcurl, with the guard keeping count.
    [[nodiscard]] int openSocket(int domain, int type, int protocol);
    int closeSocket(int fd);

private:
    void watch();
    void cut();

    const std::atomic<bool>& cancel_;
    const std::chrono::seconds stall_;
    using Clock = std::chrono::steady_clock;
    std::atomic<Clock::rep> lastMoved_{Clock::now().time_since_epoch().count()};
    std::atomic<bool> inStep_{false};
    std::atomic<bool> closing_{false};
    std::atomic<Verdict> verdict_{Verdict::None};
    std::mutex socketsMutex_;
    std::set<int> sockets_;
    std::mutex stopMutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
    std::thread thread_;  // last: started when everything above is there
};

}  // namespace velmora::publish
