// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/Guard.h"

#include <sys/socket.h>
#include <unistd.h>

namespace velmora::publish {

Guard::Guard(const std::atomic<bool>& cancel, std::chrono::seconds stall)
    : cancel_(cancel), stall_(stall), thread_([this] { watch(); }) {}

Guard::~Guard() {
    {
        const std::lock_guard lock(stopMutex_);
        stop_ = true;
    }
    stopped_.notify_one();
    thread_.join();
}

void Guard::moved() { lastMoved_ = Clock::now().time_since_epoch().count(); }

void Guard::stepBegins() {
    moved();
    inStep_ = true;
}

void Guard::stepEnds() { inStep_ = false; }

void Guard::closing() {
    moved();
    closing_ = true;
}

int Guard::openSocket(int domain, int type, int protocol) {
    const std::lock_guard lock(socketsMutex_);
    const int fd = socket(domain, type | SOCK_CLOEXEC, protocol);
    if (fd >= 0) sockets_.insert(fd);
    return fd;
}

int Guard::closeSocket(int fd) {
    const std::lock_guard lock(socketsMutex_);
    sockets_.erase(fd);
    return close(fd);
}

void Guard::watch() {
    std::unique_lock lock(stopMutex_);
    while (!stopped_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stop_; })) {
        const Clock::duration idle(Clock::now().time_since_epoch().count() - lastMoved_);
        if (verdict_ == Verdict::None && cancel_) {
            verdict_ = Verdict::Cancelled;
            cut();
        } else if (verdict_ == Verdict::None && inStep_ && idle > stall_) {
            verdict_ = Verdict::Stalled;
            cut();
        } else if (closing_ && idle > std::chrono::seconds(1)) {
            cut();
        }
    }
}

void Guard::cut() {
    const std::lock_guard lock(socketsMutex_);
    for (const int fd : sockets_) shutdown(fd, SHUT_RDWR);
}

}  // namespace velmora::publish
