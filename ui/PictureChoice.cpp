// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PictureChoice.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QStyle>

#include "ui/ErrorHandler.h"
#include "ui/FileDrop.h"
#include "wizard/RelativeName.h"

namespace velmora::ui {
namespace {

// Replaces the text as typing over a selection does: the field reports a
// typed edit, and Undo brings the old text back.
void enterName(QLineEdit* field, const QString& file, const QString& pageFolder) {
    const std::string name = relativeName(file.toStdString(), pageFolder.toStdString());
    field->selectAll();
    field->insert(QString::fromStdString(name));
}

// The folder of the name the field holds, where that folder exists; else the
// page's folder, where the page is written and from which names are made.
QString startFolder(const QLineEdit* field, const QString& pageFolder) {
    const QFileInfo folder(QDir(pageFolder).filePath(QFileInfo(field->text()).path()));
    return folder.isDir() ? folder.absoluteFilePath() : pageFolder;
}

// The desktop's own dialog where it has one.
void choosePicture(QLineEdit* field, const QString& pageFolder) {
    const QString file = QFileDialog::getOpenFileName(
        field->window(), QStringLiteral("Bild auswählen"), startFolder(field, pageFolder),
        QStringLiteral("Bilder (*.png *.jpg *.jpeg *.gif *.webp *.svg *.bmp *.ico);;"
                       "Alle Dateien (*)"));
    if (!file.isEmpty()) enterName(field, file, pageFolder);
}

}  // namespace

void offerPictureChoice(QLineEdit* field, std::function<QString()> folder) {
    // The desktop's "open" icon, Qt's own where the icon theme has none.
    const QIcon icon = QIcon::fromTheme(QStringLiteral("document-open"),
                                        field->style()->standardIcon(QStyle::SP_DirOpenIcon));
    QAction* choose = field->addAction(icon, QLineEdit::TrailingPosition);
    choose->setText(QStringLiteral("Bild auswählen"));
    choose->setToolTip(QStringLiteral("Bild auswählen … (Strg+O)"));
    choose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    choose->setShortcutContext(Qt::WidgetShortcut);
    // The dialog opens once the click or key has been handled: a screen reader
    // that pressed the icon gets its answer then, not when the dialog closes.
    QObject::connect(
        choose, &QAction::triggered, field,
        [field, folder] { guarded(field->window(), [&] { choosePicture(field, folder()); }); },
        Qt::QueuedConnection);
    field->installEventFilter(new FileDrop(field, [field, folder](const QString& file) {
        guarded(field->window(), [&] { enterName(field, file, folder()); });
    }));
}

}  // namespace velmora::ui
