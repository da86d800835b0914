// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

/// A failure that ends the current operation. Its message is the system's
/// exact text, without the full stop that the error handler adds.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kListInsertError = "Unable to insert a line";

}  // namespace velmora
