// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Setup.h"

#include <QImageReader>
#include <mutex>

#include "pictures/Metadata.h"
#include "pictures/Values.h"

namespace velmora::pictures {

void setUp() {
    static std::once_flag once;
    std::call_once(once, [] {
        initializeMetadata();
        // Qt refuses to allocate more than 256 MiB for a picture by default;
        // the largest we read, decoded in full, takes 4 bytes a pixel.
        constexpr std::int64_t kMiB = std::int64_t{1024} * 1024;
        QImageReader::setAllocationLimit(static_cast<int>(kMaxPixels * 4 / kMiB + 1));
    });
}

}  // namespace velmora::pictures
