// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The dialog's part that looks at the page's pictures before they go up:
// what it says of them, and the copies it makes in their place.
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QStringList>
#include <utility>

#include "settings/Failure.h"
#include "ui/Boxes.h"
#include "ui/ErrorHandler.h"
#include "ui/PictureCopies.h"
#include "ui/PicturesModule.h"
#include "ui/PublishDialog.h"
#include "ui/Utf8.h"

namespace velmora::ui {

// What should not go up as it is: each picture the page shows that is large,
// tells where it was taken, or that browsers do not show. Without the
// pictures module, or with one that does not load, there is nothing to say:
// the wizard has said so when a picture was chosen.
PublishDialog::PictureNotes PublishDialog::pictureNotes(
    const std::vector<publish::LocalFile>& files) {
    PictureNotes notes;
    plugin::PicturesPlugin* pictures = nullptr;
    try {
        pictures = installedPicturesModule();
    } catch (const Failure&) {
        return notes;
    }
    if (pictures == nullptr) return notes;
    for (const publish::LocalFile& file : files) {
        if (!file.picture) continue;
        const pictures::Facts facts = pictures->facts(file.localPath);
        if (!facts.readable) continue;
        std::vector<std::string> lines = pictures->notes(facts, file.relativePath);
        if (lines.empty()) continue;
        for (std::string& line : lines) notes.lines.push_back(std::move(line));
        notes.pictures.emplace_back(file, facts);
    }
    return notes;
}

// A name that cannot arrive leaves the rest to go; a picture that should
// not go up as it is can go all the same, or as a copy.
PublishDialog::Despite PublishDialog::publishDespite(const std::vector<std::string>& problems,
                                                     const std::vector<std::string>& notes,
                                                     bool copies) {
    QStringList lines;
    for (const auto* list : {&problems, &notes}) {
        for (const std::string& line : *list) lines << QStringLiteral("• ") + qs(line);
    }
    QString heading = QStringLiteral("Nicht alles, was die Seite nennt, kann auf den Server:");
    QString last = QStringLiteral("Der Rest lässt sich trotzdem veröffentlichen.");
    if (problems.empty()) {
        heading = QStringLiteral("Nicht alles, was die Seite nennt, sollte so auf den Server:");
        last = QStringLiteral("Veröffentlichen lässt sich trotzdem alles.");
    } else if (!notes.empty()) {
        heading =
            QStringLiteral("Nicht alles, was die Seite nennt, kann oder sollte so auf den Server:");
    }
    std::vector<BoxButton> buttons{
        {QStringLiteral("Trotzdem veröffentlichen"), QMessageBox::AcceptRole}};
    if (copies) {
        buttons.emplace_back(QStringLiteral("Kopien anlegen und veröffentlichen"),
                             QMessageBox::AcceptRole);
    }
    buttons.emplace_back(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    const int stop = static_cast<int>(buttons.size()) - 1;
    const int chosen = showBox(this, QMessageBox::Warning,
                               heading + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n')) +
                                   QStringLiteral("\n\n") + last,
                               buttons, stop, stop);
    if (chosen == 0) return Despite::Publish;
    return copies && chosen == 1 ? Despite::Copy : Despite::Stop;
}

// Only where the wizard holds the page as written: a finish then writes the
// copies' names and nothing the user has not yet chosen to write. A picture
// its place takes as it is (large in bytes, but within its bound) keeps its
// name.
std::vector<CopyOrder> PublishDialog::copyOrders(
    const std::vector<std::pair<publish::LocalFile, pictures::Facts>>& noted) const {
    std::vector<CopyOrder> orders;
    if (noted.empty() || !wizard_.holds || !wizard_.holds(page_)) return orders;
    plugin::PicturesPlugin& pictures = picturesModule();
    const std::map<std::string, pictures::Place> places = wizard_.places();
    for (const auto& [file, facts] : noted) {
        const auto place = places.find(file.relativePath);
        if (place != places.end() && pictures.plan(facts, place->second).wanted)
            orders.push_back({file.relativePath, file.localPath, place->second});
    }
    return orders;
}

void PublishDialog::makeCopies(publish::Connection c, std::vector<CopyOrder> orders) {
    afterCopies_ = std::move(c);
    copies_ = std::make_unique<PictureCopies>(picturesModule(), std::move(orders),
                                              QFileInfo(page_).path().toStdString());
    connect(copies_.get(), &PictureCopies::copying, this,
            [this](int index) { guarded(this, [&] { showCopying(index); }); });
    connect(copies_.get(), &QThread::finished, this,
            [this] { guarded(this, [this] { copiesEnded(); }); });
    status_->clear();
    showBusy(true);
    copies_->start();
}

void PublishDialog::showCopying(int index) {
    if (copies_ == nullptr) return;
    const auto count = static_cast<int>(copies_->orders().size());
    const std::string& name = copies_->orders()[static_cast<std::size_t>(index)].name;
    file_->setText(QStringLiteral("Kopie von %1 …").arg(qs(name)));
    bytes_->setValue(index * 1000 / count);
    bytes_->setFormat(QStringLiteral("Bild %1 von %2").arg(index + 1).arg(count));
}

// Every copy whole: the wizard takes their names in one step and writes the
// page, which then goes up naming the copies, not the originals.
void PublishDialog::copiesEnded() {
    if (copies_ == nullptr) return;
    std::unique_ptr<PictureCopies, void (*)(PictureCopies*)> done(
        copies_.release(), [](PictureCopies* copies) { copies->deleteLater(); });
    done->wait();
    showBusy(false);
    // a cancel that came as the last copy became whole still stops
    if (done->cancelled()) {
        status_->setText(
            QStringLiteral("Abgebrochen. Die Seite nennt weiter die Originale; "
                           "fertige Kopien liegen im Ordner bilder."));
        return;
    }
    std::map<std::string, std::string> names;
    for (std::size_t i = 0; i < done->made().size(); ++i) {
        const pictures::Made& made = done->made()[i];
        if (made.kind != pictures::Made::Kind::Done) {
            status_->setText(QStringLiteral("Nicht veröffentlicht."));
            showError(this, failureText(made, done->orders()[i].file));
            return;
        }
        names[done->orders()[i].name] = made.relativePath;
    }
    // the wizard answered meanwhile: a finish now would write more than names
    if (!wizard_.holds(page_)) {
        status_->setText(QStringLiteral(
            "Nicht veröffentlicht: die Eingaben im Assistenten haben sich inzwischen geändert. "
            "Die Kopien liegen im Ordner bilder."));
        return;
    }
    if (!wizard_.renameAndWrite(names)) {
        status_->setText(QStringLiteral("Nicht veröffentlicht."));
        return;
    }
    plugin::FilesOutcome files = plugin_.pageFiles(page_.toStdString());
    if (!files.error.empty()) throw Failure(files.error);
    // A name the page spells otherwise than the wizard's own (with a query,
    // "./" or "%20") still names the original: the user decides again.
    const PictureNotes left = pictureNotes(files.files);
    if (!left.lines.empty() &&
        publishDespite(files.problems, left.lines, false) != Despite::Publish) {
        status_->setText(QStringLiteral("Nicht veröffentlicht."));
        return;
    }
    start(Transfer::Kind::Publish, std::move(afterCopies_), std::move(files.files));
}

}  // namespace velmora::ui
