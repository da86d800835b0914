// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What is said of a picture before the page is published, and how a size
// is written: in German, with a decimal comma.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/Values.h"

namespace velmora::pictures {

/// Pictures above this many bytes keep visitors waiting.
inline constexpr std::uint64_t kLargeBytes = 1'000'000;

/// "800 Bytes", "240 kB", "5,1 MB" (1 kB = 1000 bytes, as file managers count).
[[nodiscard]] std::string sizeText(std::uint64_t bytes);

/// "urlaub.jpg ist 5,1 MB groß: Besucher warten lange darauf."
[[nodiscard]] std::string largeNote(const std::string& name, std::uint64_t bytes);
/// "urlaub.jpg verrät, wo es aufgenommen wurde (GPS-Position)."
[[nodiscard]] std::string positionNote(const std::string& name);
/// "urlaub.heic zeigen die meisten Browser nicht."
[[nodiscard]] std::string formatNote(const std::string& name);

/// The question before a copy is made for the wizard: "urlaub.jpg ist 4032 ×
/// 3024 Pixel und 5,1 MB groß. Für die Seite eine Kopie mit 1200 × 900
/// Pixeln ohne GPS-Position anlegen (etwa 240 kB)?", for HEIC and TIFF with
/// the browsers that do not show them.
[[nodiscard]] std::string copyQuestion(const Facts& facts, const Plan& plan,
                                       const std::string& name);

/// Those of the three that hold for a picture with these facts, named `name`
/// as the page names it, in that order.
[[nodiscard]] std::vector<std::string> notesFor(const Facts& facts, const std::string& name);

}  // namespace velmora::pictures
