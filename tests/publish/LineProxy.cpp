// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LineProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <condition_variable>
#include <deque>
#include <stdexcept>
#include <string>
#include <utility>

namespace velmora::publish::testing {

using Clock = std::chrono::steady_clock;

struct LineProxy::Link {
    int client = -1;
    int server = -1;
    std::int64_t cut = -1;  // bytes from the client after which both sides close
    bool record = false;
    std::atomic<bool> closed{false};

    void close() {
        if (closed.exchange(true)) return;
        shutdown(client, SHUT_RDWR);
        shutdown(server, SHUT_RDWR);
    }
    ~Link() {
        ::close(client);
        ::close(server);
    }
};

namespace {

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool sendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

LineProxy::LineProxy(int serverPort) : serverPort_(serverPort) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 64) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("proxy cannot listen");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

LineProxy::~LineProxy() {
    stopping_ = true;
    shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    {
        const std::lock_guard lock(mutex_);
        for (const auto& link : links_) link->close();
    }
    for (std::thread& t : threads_) t.join();
    close(listener_);
}

void LineProxy::cutAfter(std::uint64_t bytes) {
    const std::lock_guard lock(mutex_);
    cut_ = static_cast<std::int64_t>(bytes);
}

void LineProxy::delay(std::chrono::milliseconds each) { delayMs_ = each.count(); }

void LineProxy::stall(bool stalled) { stalled_ = stalled; }

std::size_t LineProxy::connections() {
    const std::lock_guard lock(mutex_);
    return links_.size();
}

std::vector<std::uint64_t> LineProxy::takeBoundaries() {
    const std::lock_guard lock(mutex_);
    recording_ = true;
    serverBytes_.clear();
    return std::exchange(boundaries_, {});
}

std::string LineProxy::takeServerBytes() {
    const std::lock_guard lock(mutex_);
    recording_ = true;
    boundaries_.clear();
    return std::exchange(serverBytes_, {});
}

void LineProxy::acceptLoop() {
    for (;;) {
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (stopping_) return;
            continue;
        }
        const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in address = loopback(serverPort_);
        if (connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            close(client);
            close(server);
            continue;
        }
        const int one = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        auto link = std::make_shared<Link>();
        link->client = client;
        link->server = server;
        const std::lock_guard lock(mutex_);
        link->cut = std::exchange(cut_, -1);
        link->record = std::exchange(recording_, false);
        links_.push_back(link);
        threads_.emplace_back([this, link] { pump(link, true); });
        threads_.emplace_back([this, link] { pump(link, false); });
    }
}

void LineProxy::pump(const std::shared_ptr<Link>& link, bool fromClient) {
    const int from = fromClient ? link->client : link->server;
    const int to = fromClient ? link->server : link->client;
    // With a delay, a writer sends each piece when its time has come, so
    // that the line keeps its throughput and only the round trips grow.
    std::mutex queueMutex;
    std::condition_variable queued;
    std::deque<std::pair<Clock::time_point, std::string>> queue;
    bool ended = false;
    std::thread writer([&] {
        std::unique_lock lock(queueMutex);
        for (;;) {
            queued.wait(lock, [&] { return ended || !queue.empty(); });
            if (queue.empty()) return;
            auto [due, data] = std::move(queue.front());
            queue.pop_front();
            lock.unlock();
            std::this_thread::sleep_until(due);
            const bool sent = sendAll(to, data.data(), data.size());
            lock.lock();
            if (!sent) {
                link->close();
                return;
            }
        }
    });
    std::uint64_t total = 0;
    std::array<char, 65536> buffer{};
    while (!link->closed) {
        pollfd p{from, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        ssize_t n = recv(from, buffer.data(), buffer.size(), 0);
        if (n <= 0) break;
        while (stalled_ && !link->closed && !stopping_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        bool last = false;
        if (fromClient && link->cut >= 0) {
            const auto room = static_cast<std::uint64_t>(link->cut) - total;
            if (static_cast<std::uint64_t>(n) >= room) {
                n = static_cast<ssize_t>(room);
                last = true;
            }
        }
        total += static_cast<std::uint64_t>(n);
        if (link->record) {
            const std::lock_guard lock(mutex_);
            if (fromClient) {
                boundaries_.push_back(total);
            } else if (serverBytes_.size() < std::size_t{256} * 1024) {
                serverBytes_.append(buffer.data(), static_cast<std::size_t>(n));
            }
        }
        {
            const std::lock_guard lock(queueMutex);
            queue.emplace_back(Clock::now() + std::chrono::milliseconds(delayMs_.load()),
                               std::string(buffer.data(), static_cast<std::size_t>(n)));
        }
        queued.notify_one();
        if (last) break;
    }
    {
        const std::lock_guard lock(queueMutex);
        ended = true;
    }
    queued.notify_one();
    writer.join();
    if (fromClient && link->cut >= 0) {
        link->close();
    } else {
        // the other direction may still have data on its way
        shutdown(to, SHUT_WR);
        if (!fromClient) link->close();
    }
}

}  // namespace velmora::publish::testing
