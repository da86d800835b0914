// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace velmora::testing {
namespace {

bool armed = false;
bool hasFired = false;
std::size_t countdown = 0;
bool watching = false;
std::size_t largest = 0;

bool refuseThisOne() noexcept {
    if (!armed) return false;
    if (countdown-- != 0) return false;
    armed = false;  // only the one allocation fails
    hasFired = true;
    return true;
}

void note(std::size_t size) noexcept {
    if (watching && size > largest) largest = size;
}

void* allocate(std::size_t size) {
    note(size);
    if (refuseThisOne()) throw std::bad_alloc();
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void* allocateNoThrow(std::size_t size) noexcept {
    note(size);
    if (refuseThisOne()) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

FailAllocation::FailAllocation(std::size_t n) noexcept {
    countdown = n;
    hasFired = false;
    armed = true;
}

FailAllocation::~FailAllocation() { armed = false; }

bool FailAllocation::fired() noexcept { return hasFired; }

LargestAllocation::LargestAllocation() noexcept {
    largest = 0;
    watching = true;
}

LargestAllocation::~LargestAllocation() { watching = false; }

std::size_t LargestAllocation::bytes() noexcept { return largest; }

}  // namespace velmora::testing

// Every form of the global operator new and delete is replaced, so that
// memory from malloc always goes back through free.
void* operator new(std::size_t size) { return velmora::testing::allocate(size); }
void* operator new[](std::size_t size) { return velmora::testing::allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return velmora::testing::allocateNoThrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return velmora::testing::allocateNoThrow(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
