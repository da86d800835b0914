// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A line between the client and a test server on loopback that can break:
// it forwards every connection to the server, and can close both sides after
// a number of bytes from the client, hold every packet back for a while (a
// slow line), or stop forwarding altogether (a server that no longer
// answers).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora::publish::testing {

class LineProxy {
public:
    explicit LineProxy(int serverPort);
    LineProxy(const LineProxy&) = delete;
    LineProxy& operator=(const LineProxy&) = delete;
    ~LineProxy();

    [[nodiscard]] int port() const noexcept { return port_; }

    /// The next connection is closed, both sides, once `bytes` have gone from
    /// the client to the server; later ones are not cut.
    void cutAfter(std::uint64_t bytes);
    /// Every piece of data waits this long in each direction.
    void delay(std::chrono::milliseconds each);
    /// Nothing is forwarded any more, and nothing is closed; or, with false,
    /// everything again.
    void stall(bool stalled = true);

    /// The connections made through the line so far.
    [[nodiscard]] std::size_t connections();

    /// Where the pieces the client sent on the first connection since the
    /// last call ended, counted from its start: the places a cut falls
    /// between two commands.
    [[nodiscard]] std::vector<std::uint64_t> takeBoundaries();
    /// What the server sent on that connection, as far as its first 256 KB.
    [[nodiscard]] std::string takeServerBytes();

private:
    struct Link;
    void acceptLoop();
    void pump(const std::shared_ptr<Link>& link, bool fromClient);

    int listener_ = -1;
    int port_ = 0;
    int serverPort_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> stalled_{false};
    std::atomic<std::int64_t> delayMs_{0};
    std::mutex mutex_;
    std::int64_t cut_ = -1;
    bool recording_ = true;
    std::vector<std::uint64_t> boundaries_;
    std::string serverBytes_;
    std::vector<std::shared_ptr<Link>> links_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};

}  // namespace velmora::publish::testing
