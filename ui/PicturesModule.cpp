// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PicturesModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "settings/Failure.h"

namespace velmora::ui {
namespace {

QString& chosenPicturesFile() {
    static QString file;
    return file;
}

plugin::PicturesPlugin* loadedPictures = nullptr;

[[noreturn]] void cannotLoadPictures(const QString& file, const QString& why) {
    throw Failure(QStringLiteral("Velmora kann keine Bilder prüfen: das Modul %1 lässt sich "
                                 "nicht laden (%2)")
                      .arg(QDir::toNativeSeparators(file), why)
                      .toStdString());
}

}  // namespace

QString picturesModuleFile() {
    if (!chosenPicturesFile().isEmpty()) return chosenPicturesFile();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(VELMORA_MODULE_FROM_PROGRAM "/pictures.so"));
}

void usePicturesModuleFile(const QString& file) { chosenPicturesFile() = file; }

plugin::PicturesPlugin& picturesModule() {
    if (loadedPictures != nullptr) return *loadedPictures;
    const QString file = picturesModuleFile();
    // Never unloaded: a copy may still be made on a worker thread when the
    // window that asked for it is gone.
    QLibrary library(file);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!library.load()) cannotLoadPictures(file, library.errorString());
    const auto factory =
        reinterpret_cast<plugin::PicturesFactory>(library.resolve(plugin::kPicturesFactoryName));
    if (factory == nullptr) cannotLoadPictures(file, library.errorString());
    plugin::PicturesPlugin* plugin = factory(plugin::kPicturesPluginVersion);
    if (plugin == nullptr) {
        cannotLoadPictures(file, QStringLiteral("es gehört zu einer anderen Version von Velmora"));
    }
    loadedPictures = plugin;
    return *loadedPictures;
}

plugin::PicturesPlugin* installedPicturesModule() {
    if (!QFileInfo::exists(picturesModuleFile())) return nullptr;
    return &picturesModule();
}

}  // namespace velmora::ui
