// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PublishModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include "settings/Failure.h"

namespace velmora::ui {
namespace {

QString& chosenFile() {
    static QString file;
    return file;
}

plugin::PublishPlugin* loaded = nullptr;

[[noreturn]] void cannotLoad(const QString& file, const QString& why) {
    throw Failure(QStringLiteral("Velmora kann nicht veröffentlichen: das Modul %1 lässt sich "
                                 "nicht laden (%2)")
                      .arg(QDir::toNativeSeparators(file), why)
                      .toStdString());
}

}  // namespace

QString publishModuleFile() {
    if (!chosenFile().isEmpty()) return chosenFile();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(VELMORA_MODULE_FROM_PROGRAM "/publish.so"));
}

void usePublishModuleFile(const QString& file) { chosenFile() = file; }

plugin::PublishPlugin& publishModule() {
    if (loaded != nullptr) return *loaded;
    const QString file = publishModuleFile();
    // Never unloaded: a transfer's thread, or libcurl's own resolver thread,
    // may still run code of it, and the keyring's jobs end later still.
    QLibrary library(file);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!library.load()) cannotLoad(file, library.errorString());
    const auto factory =
        reinterpret_cast<plugin::PluginFactory>(library.resolve(plugin::kFactoryName));
    if (factory == nullptr) cannotLoad(file, library.errorString());
    plugin::PublishPlugin* plugin = factory(plugin::kPluginVersion);
    if (plugin == nullptr) {
        cannotLoad(file, QStringLiteral("es gehört zu einer anderen Version von Velmora"));
    }
    const std::string failed = plugin->initializeTransfers();
    if (!failed.empty()) cannotLoad(file, QString::fromStdString(failed));
    loaded = plugin;
    return *loaded;
}

void finishPublishModule() noexcept {
    if (loaded != nullptr) loaded->finishTransfers();
    loaded = nullptr;
}

}  // namespace velmora::ui
