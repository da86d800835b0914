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
    Despite despite = Despite::Publish;
    if (!files.problems.empty() || !notes.lines.empty())
        despite = publishDespite(files.problems, notes.lines, !orders.empty());
    if (despite == Despite::Stop) return;
    saveServerSettings(page_, settings());
    sendEverything_ = everything_->isChecked();
    if (despite == Despite::Copy) return makeCopies(std::move(c), orders);
    start(Transfer::Kind::Publish, std::move(c), std::move(files.files));
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
