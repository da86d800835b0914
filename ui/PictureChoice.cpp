// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PictureChoice.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QMimeData>
#include <QStyle>
#include <QUrl>

#include "ui/ErrorHandler.h"
#include "wizard/RelativeName.h"

namespace velmora::ui {
namespace {

// Replaces the text as typing over a selection does: the field reports a
// typed edit, and Undo brings the old text back.
void enterName(QLineEdit* field, const QString& file) {
    const std::string name = relativeName(file.toStdString(), QDir::currentPath().toStdString());
    field->selectAll();
    field->insert(QString::fromStdString(name));
}

// The folder of the name the field holds, where that folder exists; else the
// working directory, where the page is written and from which names are made.
QString startFolder(const QLineEdit* field) {
    const QFileInfo folder(QDir::current().filePath(QFileInfo(field->text()).path()));
    return folder.isDir() ? folder.absoluteFilePath() : QDir::currentPath();
}

// The desktop's own dialog where it has one.
void choosePicture(QLineEdit* field) {
    const QString file = QFileDialog::getOpenFileName(
        field->window(), QStringLiteral("Bild auswählen"), startFolder(field),
        QStringLiteral("Bilder (*.png *.jpg *.jpeg *.gif *.webp *.svg *.bmp *.ico);;"
                       "Alle Dateien (*)"));
    if (!file.isEmpty()) enterName(field, file);
}

// The first file of a drop when it lies on this machine and may be copied:
// only its name is taken, the file stays where it is. Anything else, a web
// address too, is left to the field, which inserts it as text.
QString droppedFile(const QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return {};
    if (!event->possibleActions().testFlag(Qt::CopyAction)) return {};
    return urls.first().toLocalFile();
}

class FileDrop : public QObject {
public:
    explicit FileDrop(QLineEdit* field) : QObject(field), field_(field) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
            return QObject::eventFilter(watched, event);
        }
        auto* drop = static_cast<QDropEvent*>(event);  // the base of all three
        const QString file = droppedFile(drop);
        if (file.isEmpty()) return QObject::eventFilter(watched, event);
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (type == QEvent::Drop) guarded(field_->window(), [&] { enterName(field_, file); });
        return true;
    }

private:
    QLineEdit* field_;
};

}  // namespace

void offerPictureChoice(QLineEdit* field) {
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
        [field] { guarded(field->window(), [field] { choosePicture(field); }); },
        Qt::QueuedConnection);
    field->installEventFilter(new FileDrop(field));
}

}  // namespace velmora::ui
