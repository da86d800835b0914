// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/Notes.h"

namespace velmora::pictures {
namespace {

// `tenths` / 10 with one decimal and a comma: "5,1".
std::string decimal(std::uint64_t tenths) {
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

}  // namespace

std::string sizeText(std::uint64_t bytes) {
    if (bytes < 1000) return std::to_string(bytes) + " Bytes";
    // rounded at the unit's half, so that 999,999 bytes are not "1000 kB"
    const std::uint64_t kB = (bytes + 500) / 1000;
    if (kB < 1000) return std::to_string(kB) + " kB";
    return decimal((bytes + 50'000) / 100'000) + " MB";
}

std::string largeNote(const std::string& name, std::uint64_t bytes) {
    return name + " ist " + sizeText(bytes) + " groß: Besucher warten lange darauf.";
}

std::string positionNote(const std::string& name) {
    return name + " verrät, wo es aufgenommen wurde (GPS-Position).";
}

std::string formatNote(const std::string& name) {
    return name + " zeigen die meisten Browser nicht.";
}

std::string copyQuestion(const Facts& facts, const Plan& plan, const std::string& name) {
    const auto times = [](int w, int h) {
        return std::to_string(w) + " \u00D7 " + std::to_string(h);
    };
    std::string text = name + " ist " + times(facts.width, facts.height) + " Pixel und " +
                       sizeText(facts.bytes) + " gro\u00DF.";
    if (plan.unshownFormat) {
        text += std::string(" Die meisten Browser zeigen ") +
                (facts.format == Format::Heic ? "HEIC" : "TIFF") + "-Bilder nicht.";
    }
    text += " F\u00FCr die Seite eine Kopie";
    if (plan.width != facts.width || plan.height != facts.height)
        text += " mit " + times(plan.width, plan.height) + " Pixeln";
    if (plan.position) text += " ohne GPS-Position";
    return text + " anlegen (etwa " + sizeText(plan.estimatedBytes) + ")?";
}

std::vector<std::string> notesFor(const Facts& facts, const std::string& name) {
    std::vector<std::string> notes;
    if (!facts.readable) return notes;
    if (facts.bytes > kLargeBytes) notes.push_back(largeNote(name, facts.bytes));
    if (facts.position) notes.push_back(positionNote(name));
    if (facts.format == Format::Heic || facts.format == Format::Tiff) {
        notes.push_back(formatNote(name));
    }
    return notes;
}

}  // namespace velmora::pictures
