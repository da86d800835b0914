// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Lets a test make one chosen allocation of the code under test fail, so that
// the paths taken when memory runs out can be run and checked. The whole test
// program's operator new goes through this; it is a plain malloc until armed.
#pragma once

#include <cstddef>

namespace velmora::testing {

/// While alive, the allocation numbered `n` (0 for the next one) throws
/// std::bad_alloc; every other allocation succeeds.
class FailAllocation {
public:
    explicit FailAllocation(std::size_t n) noexcept;
    FailAllocation(const FailAllocation&) = delete;
    FailAllocation& operator=(const FailAllocation&) = delete;
    ~FailAllocation();

    /// Whether the chosen allocation was reached and refused.
    [[nodiscard]] static bool fired() noexcept;
};

/// While alive, remembers the size of the largest allocation made.
class LargestAllocation {
public:
    LargestAllocation() noexcept;
    LargestAllocation(const LargestAllocation&) = delete;
    LargestAllocation& operator=(const LargestAllocation&) = delete;
    ~LargestAllocation();

    [[nodiscard]] static std::size_t bytes() noexcept;
};

}  // namespace velmora::testing
