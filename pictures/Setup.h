// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace velmora::pictures {

/// Sets up the libraries the pictures library reads with, once, from any
/// thread; every entry point calls it.
void setUp();

}  // namespace velmora::pictures
