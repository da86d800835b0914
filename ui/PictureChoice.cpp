// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PictureChoice.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <string>
#include <utility>

#include "settings/Failure.h"
#include "ui/Boxes.h"
#include "ui/ErrorHandler.h"
#include "ui/FileDrop.h"
#include "ui/PictureCopies.h"
#include "ui/PicturesModule.h"
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

// The newest copy asked for in a field; an older one that ends later
// leaves the field alone.
constexpr const char* kNewestCopy = "velmoraNewestCopy";

// One copy being made, off the user-interface thread. It belongs to the
// application, not to the field: a field that goes (a dialog closed) only
// stops it, and the application waits for it when it ends.
class CopyJob : public QObject {
public:
    CopyJob(plugin::PicturesPlugin& pictures, QLineEdit* field, QString before, QString file,
            QString pageFolder, pictures::Place place)
        : QObject(QCoreApplication::instance()),
          copies_(pictures, {{{}, file.toStdString(), place}}, pageFolder.toStdString()),
          field_(field),
          before_(std::move(before)),
          file_(std::move(file)),
          pageFolder_(std::move(pageFolder)),
          serial_(++serials_) {
        field->setProperty(kNewestCopy, serial_);
        connect(field, &QObject::destroyed, this, [this] { copies_.cancel(); });
        connect(&copies_, &QThread::finished, this, [this] {
            deliver();
            deleteLater();
        });
        copies_.start();
    }

private:
    // In the user-interface thread, once the copy is whole or failed.
    void deliver() {
        if (field_ == nullptr || field_->property(kNewestCopy).toULongLong() != serial_ ||
            copies_.made().empty())
            return;
        const pictures::Made& made = copies_.made().front();
        const bool untouched = field_->text() == before_;
        switch (made.kind) {
            case pictures::Made::Kind::Done:
                if (untouched) {
                    enterName(field_,
                              QDir(pageFolder_).filePath(QString::fromStdString(made.relativePath)),
                              pageFolder_);
                }
                break;
            case pictures::Made::Kind::Failed:
                showError(field_->window(), failureText(made, file_.toStdString()));
                if (field_ != nullptr && field_->text() == before_)
                    enterName(field_, file_, pageFolder_);
                break;
            case pictures::Made::Kind::Cancelled:
                break;
        }
    }

    PictureCopies copies_;
    QPointer<QLineEdit> field_;
    QString before_;
    QString file_;
    QString pageFolder_;
    qulonglong serial_;
    static inline qulonglong serials_ = 0;
};

enum class Answer { Copy, Original, Cancel };

// "Kopie anlegen" is the default; Escape, or closing the box, takes the
// original, or cancels where browsers would not show the original.
Answer askForCopy(QWidget* parent, const QString& question, bool unshownFormat) {
    const QString other =
        unshownFormat ? QStringLiteral("Abbrechen") : QStringLiteral("Original nehmen");
    const int chosen = showBox(parent, QMessageBox::Question, question,
                               {BoxButton(QStringLiteral("Kopie anlegen"), QMessageBox::AcceptRole),
                                BoxButton(other, QMessageBox::RejectRole)},
                               0, 1);
    if (chosen == 0) return Answer::Copy;
    return unshownFormat ? Answer::Cancel : Answer::Original;
}

// What the user answers about a picture that its place wants copied.
// The field's text when the picture was chosen is the one a copy may replace.
void askAndTake(QLineEdit* field, plugin::PicturesPlugin& pictures, const QString& file,
                const QString& pageFolder, pictures::Place place, const QString& question,
                bool unshownFormat) {
    const QString before = field->text();
    switch (askForCopy(field->window(), question, unshownFormat)) {
        case Answer::Copy:
            new CopyJob(pictures, field, before, file, pageFolder, place);
            break;
        case Answer::Original:
            enterName(field, file, pageFolder);
            break;
        case Answer::Cancel:
            break;
    }
}

// A chosen or dropped picture: as it is where its place takes it so, else
// as the user answers. A question about a dropped picture waits until the
// drop has ended, so that the file manager it came from is not kept waiting.
void takePicture(QLineEdit* field, const QString& file, const QString& pageFolder,
                 pictures::Place place, bool dropped) {
    plugin::PicturesPlugin* pictures = nullptr;
    try {
        pictures = installedPicturesModule();
    } catch (const Failure& failure) {
        showError(field->window(), QString::fromStdString(failure.what()));
    }
    if (pictures == nullptr) return enterName(field, file, pageFolder);
    const pictures::Facts facts = pictures->facts(file.toStdString());
    if (!facts.readable) {
        showError(field->window(), QString::fromStdString(facts.problem));
        return enterName(field, file, pageFolder);
    }
    const pictures::Plan plan = pictures->plan(facts, place);
    if (!plan.wanted) return enterName(field, file, pageFolder);
    const QString question = QString::fromStdString(
        pictures->question(facts, plan, QFileInfo(file).fileName().toStdString()));
    const auto ask = [field, pictures, file, pageFolder, place, question,
                      unshown = plan.unshownFormat] {
        guarded(field->window(),
                [&] { askAndTake(field, *pictures, file, pageFolder, place, question, unshown); });
    };
    if (dropped) {
        QMetaObject::invokeMethod(field, ask, Qt::QueuedConnection);
    } else {
        ask();
    }
}

// The folder of the name the field holds, where that folder exists; else the
// page's folder, where the page is written and from which names are made.
QString startFolder(const QLineEdit* field, const QString& pageFolder) {
    const QFileInfo folder(QDir(pageFolder).filePath(QFileInfo(field->text()).path()));
    return folder.isDir() ? folder.absoluteFilePath() : pageFolder;
}

// The desktop's own dialog where it has one.
void choosePicture(QLineEdit* field, const QString& pageFolder, pictures::Place place) {
    const QString file = QFileDialog::getOpenFileName(
        field->window(), QStringLiteral("Bild auswählen"), startFolder(field, pageFolder),
        QStringLiteral("Bilder (*.png *.jpg *.jpeg *.gif *.webp *.heic *.heif *.tif *.tiff *.svg "
                       "*.bmp *.ico);;Alle Dateien (*)"));
    if (!file.isEmpty()) takePicture(field, file, pageFolder, place, false);
}

}  // namespace

void offerPictureChoice(QLineEdit* field, std::function<QString()> folder, pictures::Place place) {
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
        [field, folder, place] {
            guarded(field->window(), [&] { choosePicture(field, folder(), place); });
        },
        Qt::QueuedConnection);
    field->installEventFilter(new FileDrop(field, [field, folder, place](const QString& file) {
        guarded(field->window(), [&] { takePicture(field, file, folder(), place, true); });
    }));
}

}  // namespace velmora::ui
