// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The module's side of PicturesPlugin: the pictures library's calls, each of
// which hands every failure back as a value.
#include "plugin/PicturesPlugin.h"

#include <exception>

#include "pictures/Copy.h"
#include "pictures/Facts.h"
#include "pictures/Notes.h"
#include "pictures/Plan.h"

namespace velmora::plugin {
namespace {

class Plugin final : public PicturesPlugin {
public:
    pictures::Facts facts(const std::string& file) noexcept override {
        try {
            return pictures::readFacts(file);
        } catch (...) {
            pictures::Facts f;  // out of memory
            return f;
        }
    }

    pictures::Plan plan(const pictures::Facts& facts, pictures::Place place) noexcept override {
        return pictures::planCopy(facts, place);
    }

    pictures::Made makeCopy(const std::string& file, const std::string& pageFolder,
                            pictures::Place place,
                            const std::atomic<bool>& cancel) noexcept override {
        return pictures::makeCopy(file, pageFolder, place, cancel);
    }

    std::string question(const pictures::Facts& facts, const pictures::Plan& plan,
                         const std::string& name) noexcept override {
        try {
            return pictures::copyQuestion(facts, plan, name);
        } catch (...) {
            return {};  // out of memory
        }
    }

    std::vector<std::string> notes(const pictures::Facts& facts,
                                   const std::string& name) noexcept override {
        try {
            return pictures::notesFor(facts, name);
        } catch (...) {
            return {};  // out of memory
        }
    }
};

}  // namespace
}  // namespace velmora::plugin

// The module is never unloaded, so the plugin lives as long as the process.
extern "C" __attribute__((visibility("default"))) velmora::plugin::PicturesPlugin*
velmora_pictures_plugin(int version) {
    if (version != velmora::plugin::kPicturesPluginVersion) return nullptr;
    static velmora::plugin::Plugin plugin;
    return &plugin;
}
