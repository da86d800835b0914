// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/PublishDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <utility>

#include "settings/Failure.h"
#include "ui/Boxes.h"
#include "ui/ErrorHandler.h"
#include "ui/PageNotice.h"
#include "ui/PictureCopies.h"
#include "ui/PicturesModule.h"
#include "ui/PublishSettings.h"
#include "ui/Utf8.h"

namespace velmora::ui {
namespace {

using publish::Protocol;

QString dataSize(quint64 bytes) {
    return QLocale(QLocale::German, QLocale::Germany)
        .formattedDataSize(static_cast<qint64>(bytes), 1, QLocale::DataSizeSIFormat);
}

// The server as a user names it: with its port when that is not the
// protocol's own.
QString serverName(const publish::Connection& c) {
    const QString host = qs(c.host);
    return c.port == publish::defaultPort(c.protocol)
               ? host
               : QStringLiteral("%1 (Port %2)").arg(host, QString::number(c.port));
}

// What should not go up as it is: each picture the page shows that is large,
// tells where it was taken, or that browsers do not show. Without the
// pictures module, or with one that does not load, there is nothing to say:
// the wizard has said so when a picture was chosen.
struct PictureNotes {
    std::vector<std::string> lines;
    // those the lines name, with their facts
    std::vector<std::pair<publish::LocalFile, pictures::Facts>> pictures;
};

PictureNotes pictureNotes(const std::vector<publish::LocalFile>& files) {
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

}  // namespace

PublishDialog::~PublishDialog() = default;

void PublishDialog::showFor(const QString& pagePath) {
    const QFileInfo info(pagePath);
    const QString real =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    if (busy() || (isVisible() && real == page_)) {
        raise();
        activateWindow();
        return;
    }
    page_ = real;
    pageLabel_->setText(QStringLiteral("Seite: ") + readablePath(page_));
    stored_ = loadServerSettings(page_);
    keyring_ = plugin_.keyringAvailable();
    fill(stored_.value_or(ServerSettings{}));
    remember_->setEnabled(keyring_);
    keyringNote_->setVisible(!keyring_);
    everything_->setChecked(false);
    status_->clear();
    readRememberedPassword();
    show();
    raise();
    activateWindow();
}

void PublishDialog::readRememberedPassword() {
    if (!keyring_ || !stored_ || !stored_->rememberPassword) return;
    const QString key = keyringKey(*stored_);
    plugin_.readPassword(
        key.toStdString(), [self = QPointer(this), key](const plugin::KeyringReply& reply) {
            guarded(self, [&] {
                // The dialog may have gone, or moved on to another server.
                if (self == nullptr || reply.kind != plugin::KeyringReply::Kind::Done ||
                    keyringKey(self->settings()) != key || !self->password_->text().isEmpty())
                    return;
                self->password_->setText(qs(reply.password));
            });
        });
}

void PublishDialog::rememberPassword(const ServerSettings& s, const QString& password) {
    if (!keyring_) return;
    const QString key = keyringKey(s);
    if (s.rememberPassword && !password.isEmpty()) {
        plugin_.writePassword(
            key.toStdString(), password.toStdString(),
            [self = QPointer(this)](const plugin::KeyringReply& reply) {
                if (self == nullptr || reply.kind != plugin::KeyringReply::Kind::Failed) return;
                guarded(self, [&] {
                    self->status_->setText(self->status_->text() +
                                           QStringLiteral("\nDas Passwort ließ sich nicht im "
                                                          "Schlüsselbund speichern: ") +
                                           qs(reply.error));
                });
            });
    } else if (!s.rememberPassword && stored_ && stored_->rememberPassword &&
               keyringKey(*stored_) == key) {
        plugin_.deletePassword(key.toStdString(), [](const plugin::KeyringReply&) {});
    }
    stored_ = s;
}

publish::Connection PublishDialog::connection() const {
    const ServerSettings s = settings();
    publish::Connection c;
    c.protocol = s.protocol;
    c.host = s.host.toStdString();
    if (c.host.empty()) throw Failure("Es ist kein Server angegeben");
    c.port = s.port;
    c.user = s.user.toStdString();
    if (c.user.empty()) throw Failure("Es ist kein Benutzer angegeben");
    c.password = password_->text().toStdString();
    if (c.protocol == Protocol::Sftp) c.keyFile = absoluteKeyFile(s.keyFile).toStdString();
    c.folder = s.folder.toStdString();
    c.knownHostsFile = knownHostsFile().toStdString();
    c.userKnownHostsFile = userKnownHostsFile().toStdString();
    return c;
}

bool PublishDialog::askPassphrase(publish::Connection& c) {
    const QString file = qs(c.keyFile);
    if (file.isEmpty() || !plugin_.keyNeedsPassphrase(c.keyFile)) return true;
    if (file != passphraseFor_ || passphrase_.isEmpty()) {
        bool given = false;
        const QString passphrase = QInputDialog::getText(
            this, QStringLiteral("Passphrase"),
            QStringLiteral("Die Schlüsseldatei %1 ist mit einer Passphrase geschützt.\nPassphrase:")
                .arg(readablePath(file)),
            QLineEdit::Password, QString(), &given);
        if (!given) return false;
        passphraseFor_ = file;
        passphrase_ = passphrase;
    }
    c.keyPassphrase = passphrase_.toStdString();
    return true;
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

void PublishDialog::checkClicked() {
    publish::Connection c = connection();
    if (!askPassphrase(c)) return;
    saveServerSettings(page_, settings());
    start(Transfer::Kind::Check, std::move(c), {});
}

void PublishDialog::publishClicked() {
    publish::Connection c = connection();
    if (!askPassphrase(c)) return;
    plugin::FilesOutcome files = plugin_.pageFiles(page_.toStdString());
    if (!files.error.empty()) throw Failure(files.error);
    const PictureNotes notes = pictureNotes(files.files);
    const std::vector<CopyOrder> orders = copyOrders(notes.pictures);
    if (!files.problems.empty() || !notes.lines.empty()) {
        switch (publishDespite(files.problems, notes.lines, !orders.empty())) {
            case Despite::Publish:
                break;
            case Despite::Copy:
                saveServerSettings(page_, settings());
                sendEverything_ = everything_->isChecked();
                makeCopies(std::move(c), orders);
                return;
            case Despite::Stop:
                return;
        }
    }
    saveServerSettings(page_, settings());
    sendEverything_ = everything_->isChecked();
    start(Transfer::Kind::Publish, std::move(c), std::move(files.files));
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
    const int count = static_cast<int>(orders.size());
    copies_ = std::make_unique<PictureCopies>(picturesModule(), std::move(orders),
                                              QFileInfo(page_).path().toStdString());
    connect(copies_.get(), &PictureCopies::copying, this,
            [this, count](int index) { guarded(this, [&] { showCopying(index, count); }); });
    connect(copies_.get(), &QThread::finished, this,
            [this] { guarded(this, [this] { copiesEnded(); }); });
    status_->clear();
    showBusy(true);
    copies_->start();
}

void PublishDialog::showCopying(int index, int count) {
    if (copies_ == nullptr) return;
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

void PublishDialog::start(Transfer::Kind kind, publish::Connection c,
                          std::vector<publish::LocalFile> files) {
    transfer_ = std::make_unique<Transfer>(plugin_, kind, std::move(c), std::move(files),
                                           recordFile().toStdString(), sendEverything_);
    connect(transfer_.get(), &Transfer::bytesSent, this, &PublishDialog::showBytes);
    connect(transfer_.get(), &Transfer::fileStarted, file_,
            [this](const QString& file) { file_->setText(file); });
    connect(transfer_.get(), &Transfer::ended, this,
            [this] { guarded(this, [this] { transferEnded(); }); });
    status_->clear();
    file_->setText(QStringLiteral("Verbindung zu %1 …").arg(serverName(transfer_->connection())));
    showBytes(0, 0);
    showBusy(true);
    transfer_->start();
}

void PublishDialog::transferEnded() {
    if (transfer_ == nullptr) return;
    // Deleted from the event loop: this runs inside the transfer's own signal.
    std::unique_ptr<Transfer, void (*)(Transfer*)> t(transfer_.release(),
                                                     [](Transfer* done) { done->deleteLater(); });
    t->wait();
    showBusy(false);
    const plugin::Outcome& o = t->outcome();
    switch (o.kind) {
        case plugin::Outcome::Kind::Done:
            succeeded(*t);
            break;
        case plugin::Outcome::Kind::Cancelled:
            status_->setText(QStringLiteral(
                "Abgebrochen. Auf dem Server ist jede Datei ganz, die alte oder die neue."));
            break;
        case plugin::Outcome::Kind::UnknownHostKey: {
            const QString question =
                QStringLiteral(
                    "Velmora kennt den Server %1 noch nicht. Er weist sich mit diesem Schlüssel "
                    "aus:\n\n%2 %3\n\nVergleichen Sie den Fingerabdruck mit dem, den Ihr Anbieter "
                    "nennt. Dem Server vertrauen?")
                    .arg(serverName(t->connection()), qs(o.keyType), qs(o.fingerprint));
            if (!askYesNo(this, question)) {
                status_->setText(
                    QStringLiteral("Nicht verbunden: dem Server wurde nicht vertraut."));
                break;
            }
            publish::Connection again = t->connection();
            again.acceptedHostKey = o.key;
            start(t->kind(), std::move(again), t->files());
            break;
        }
        case plugin::Outcome::Kind::Failed:
            // a wrong passphrase is asked for again
            passphrase_.clear();
            status_->setText(t->kind() == Transfer::Kind::Check
                                 ? QStringLiteral("Die Prüfung ist fehlgeschlagen.")
                                 : QStringLiteral("Nicht veröffentlicht."));
            showError(this, qs(o.message));
            break;
    }
}

void PublishDialog::succeeded(const Transfer& t) {
    if (t.kind() == Transfer::Kind::Check) {
        status_->setText(
            QStringLiteral("Die Verbindung ist in Ordnung: Anmelden, Schreiben, Ersetzen und "
                           "Löschen im Ordner gelingen."));
    } else {
        const publish::Published& done = t.outcome().published;
        status_->setText(
            done.sent.empty()
                ? QStringLiteral("Seite veröffentlicht. Es war schon alles auf dem Server.")
                : QStringLiteral("Seite veröffentlicht: %1 %2 gesendet, %3.")
                      .arg(QString::number(done.sent.size()),
                           done.sent.size() == 1 ? QStringLiteral("Datei")
                                                 : QStringLiteral("Dateien"),
                           dataSize(done.bytes)));
        const publish::Connection& c = t.connection();
        QString where = QStringLiteral("%1 auf %2").arg(QFileInfo(page_).fileName(), serverName(c));
        if (!c.folder.empty()) where += QStringLiteral(" im Ordner %1").arg(qs(c.folder));
        emit published(where, webAddress_->text().trimmed());
    }
    rememberPassword(settings(), password_->text());
}

void PublishDialog::showBusy(bool busy) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{fields_, everything_, check_, publish_, close_})
        w->setEnabled(!busy);
    progress_->setVisible(busy);
    cancel_->setEnabled(busy);
    if (busy) cancel_->setFocus();
}

void PublishDialog::showBytes(quint64 done, quint64 total) {
    bytes_->setValue(total == 0 ? 0 : static_cast<int>(done * 1000 / total));
    bytes_->setFormat(QStringLiteral("%1 von %2").arg(dataSize(done), dataSize(total)));
}

bool PublishDialog::cancelAndWait(int ms) {
    if (copies_ != nullptr) {
        copies_->cancel();
        return copies_->wait(QDeadlineTimer(ms));
    }
    if (transfer_ == nullptr) return true;
    transfer_->cancel();
    return transfer_->wait(QDeadlineTimer(ms));
}

// While files go up the dialog stays: "Abbrechen" stops them.
void PublishDialog::closeEvent(QCloseEvent* event) {
    if (busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PublishDialog::reject() {
    if (!busy()) QDialog::reject();
}

}  // namespace velmora::ui
